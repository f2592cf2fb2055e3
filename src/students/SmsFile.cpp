#include "students/SmsFile.h"

#include "data/DMModule.h"
#include "platform/text/Cp949.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace SmsFile {

namespace {
QByteArray field(const QString& text, int width) {
    QByteArray b = Cp949::cutBytes(Cp949::encode(text), width);
    return b + QByteArray(width - int(b.size()), ' ');
}
} // namespace

QString dayText(const QDate& d) {
    return d.toString(QStringLiteral("MM")) + QStringLiteral("월") + d.toString(QStringLiteral("dd")) +
           QStringLiteral("일");
}

QDate nextBusinessDay(const QDate& today) {
    for (int i = 1; i <= 30; ++i) {
        const QDate d = today.addDays(i);
        if (d.dayOfWeek() != Qt::Saturday && d.dayOfWeek() != Qt::Sunday) return d;
    }
    return today.addDays(1);
}

Days days(const QDate& today) {
    return {dayText(today), dayText(nextBusinessDay(today))};
}

QString applyForm(const QString& form, const Recipient& r, const QString& schoolName, const Days& d) {
    QString t = form;
    t.replace(QStringLiteral(">학번<"), r.sno);
    t.replace(QStringLiteral(">성명<"), r.nm);
    t.replace(QStringLiteral(">항목<"), r.item);
    t.replace(QStringLiteral(">금액<"), r.amount + QStringLiteral("원"));
    t.replace(QStringLiteral(">이체일<"), r.date);
    t.replace(QStringLiteral(">학교명<"), schoolName);
    t.replace(QStringLiteral(">당일<"), d.today);
    t.replace(QStringLiteral(">익일<"), d.next);
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return t;
}

QString digitsOnly(const QString& tel) {
    QString t = tel;
    t.remove(QLatin1Char('-'));
    return t;
}

QByteArray record(const Recipient& r, const QString& callback) {
    return field(r.sno, 10) + field(r.nm, 20) + field(digitsOnly(callback), 20) +
           field(digitsOnly(r.tel), 20) + QByteArray(30, ' ') + field(r.msg, kMessageBytes) + "\r\n";
}

bool write(const QString& path, const QList<Recipient>& recipients, const QString& callback, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    for (const Recipient& r : recipients)
        f.write(record(r, callback));
    if (!f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

QString formDir() {
    return DMLib ? DMLib->dir(QStringLiteral("SMSform")) : QDir::currentPath() + QStringLiteral("/SMSform/");
}

void makeDefaultForm() {
    QDir().mkpath(formDir());
    if (!QFile::exists(formDir() + kDefaultForm + QStringLiteral(".txt")))
        saveForm(kDefaultForm, kDefaultText);
}

QStringList formNames() {
    QStringList names;
    const QStringList files = QDir(formDir()).entryList({QStringLiteral("*.txt"), QStringLiteral("*.TXT")},
                                                        QDir::Files, QDir::Name);
    for (const QString& f : files)
        names << f.chopped(4);
    return names;
}

QString loadForm(const QString& name, bool* ok) {
    QFile f(formDir() + name + QStringLiteral(".txt"));
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok) *ok = false;
        return {};
    }
    if (ok) *ok = true;
    return Cp949::decode(f.readAll());
}

bool saveForm(const QString& name, const QString& text) {
    QSaveFile f(formDir() + name + QStringLiteral(".txt"));
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(Cp949::encode(text));
    return f.commit();
}

} // namespace SmsFile
