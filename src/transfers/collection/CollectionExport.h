#pragma once
#include "shared/SmsHandOver.h"

#include <QList>
#include <QString>
#include <QStringList>

// "엑셀저장" of the collection window: the listed grid rows (CollectionCol
// cells) with a summary block of counts and amounts, as one sheet.
namespace CollectionExport {

inline constexpr const char16_t* kFileName = u"집금이체자료.xlsx";

// Writes the workbook (through a temporary name); false with the reason.
bool write(const QList<QStringList>& rows, const QString& path, QString* error = nullptr);

// The student's exemption amount of the row's item (0 without one), found
// through the row's item group.
qint64 exemptAmount(const QString& custNo, const QString& itemId, const QString& gcode);

// "문자메세지": one recipient per listed row whose payer accepts SMS and has a
// mobile number, in grid order; the message is left to the composer.
QList<SmsRecipient> smsRecipients(const QList<QStringList>& rows);

} // namespace CollectionExport
