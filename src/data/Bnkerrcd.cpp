#include "data/Bnkerrcd.h"

#include "data/BankReplyTables.h"

#include <QHash>

namespace {

QString lookup(const QHash<int, QString>& table, int code) {
    auto it = table.constFind(code);
    return it != table.constEnd() ? it.value() : QStringLiteral("%1").arg(code, 4, 10, QLatin1Char('0'));
}

QHash<int, QString> byValue(const QList<std::pair<const char*, const char16_t*>>& rows) {
    QHash<int, QString> out;
    for (const auto& [code, text] : rows)
        out.insert(QString::fromLatin1(code).toInt(), QString::fromUtf16(text));
    return out;
}

} // namespace

QString BankErrTextNH(int code) {
    static const QHash<int, QString> t = byValue(BankReply::nhTwoDigit());
    return lookup(t, code);
}

QString BankErrText12(int code) {
    static const QHash<int, QString> t = [] {
        QHash<int, QString> h = byValue(BankReply::nhTwoDigit());
        h.insert(8, QStringLiteral("기타오류"));
        h.insert(88, QStringLiteral("기타오류"));
        return h;
    }();
    return lookup(t, code);
}

QString BankErrTextStd(int code) {
    static const QHash<int, QString> t = [] {
        QHash<int, QString> h = byValue(BankReply::standardFourDigit());
        h.remove(104);
        h.insert(107, QStringLiteral("주민번호상이"));
        h.insert(2001, QStringLiteral("납부자오류"));
        h.insert(2002, QStringLiteral("납부자없음"));
        h.insert(2006, QStringLiteral("기관임의해지"));
        return h;
    }();
    return lookup(t, code);
}

QString GetBankErrText(const QString& bankCd, const QString& replyCd) {
    bool okCode = false, okBank = false;
    const int code = replyCd.toInt(&okCode);
    const int bank = bankCd.toInt(&okBank);
    if (replyCd.isEmpty() || !okCode || bankCd.isEmpty() || !okBank) return replyCd;
    if (bank == 10 || bank == 11) return BankErrTextNH(code);
    if (bank == 12) return BankErrText12(code);
    return BankErrTextStd(code);
}
