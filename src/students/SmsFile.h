#pragma once
#include "shared/SmsHandOver.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The SMS composer's work without its window: templates in SMSform, the
// placeholders, and the send file send/10981098.SMS.
namespace SmsFile {

using Recipient = SmsRecipient;

inline const QString kFileName = QStringLiteral("10981098.SMS");
inline const QString kDefaultForm = QStringLiteral("납부고지서식");
inline const QString kDefaultText = QStringLiteral(">성명<님 >항목<:>금액< >익일< 이체예정입니다. >학교명<");
inline const QString kMarkers =
    QStringLiteral(">학번<\r>성명<\r>항목<\r>금액<\r>이체일<\r>학교명<\r>당일<\r>익일<");
constexpr int kRecordWidth = 202;
constexpr int kMessageBytes = 100;
// The counter turns red from here on; nothing is cut at it.
constexpr int kWarnBytes = 81;

// "03월05일".
QString dayText(const QDate& d);
// The first of the next thirty days that is not a Saturday or Sunday.
QDate nextBusinessDay(const QDate& today);

struct Days {
    QString today, next;
};
Days days(const QDate& today);

// The template with every marker replaced, CR LF pairs made single spaces.
QString applyForm(const QString& form, const Recipient& r, const QString& schoolName, const Days& d);

// One record of 200 bytes and CR LF; every field is cut at a character
// boundary and padded with spaces, so the record keeps its width.
QByteArray record(const Recipient& r, const QString& callback);

// "-" removed from a telephone number.
QString digitsOnly(const QString& tel);

// Writes the send file under a temporary name and renames it; an existing
// file is replaced. False with the reason when it could not be written.
bool write(const QString& path, const QList<Recipient>& recipients, const QString& callback,
           QString* error = nullptr);

// Templates: the folder, its names (file names less ".txt", sorted), the
// default form made when missing, reading and saving (CP949 text).
QString formDir();
void makeDefaultForm();
QStringList formNames();
QString loadForm(const QString& name, bool* ok = nullptr);
bool saveForm(const QString& name, const QString& text);

} // namespace SmsFile
