#include "data/BankReplyTables.h"
#include "data/DMBank.h"

#include <QHash>

namespace {

QHash<QString, QString> byText(std::initializer_list<const BankReply::Rows*> sets) {
    QHash<QString, QString> out;
    for (const BankReply::Rows* rows : sets)
        for (const auto& [code, text] : *rows)
            out.insert(QString::fromLatin1(code), QString::fromUtf16(text));
    return out;
}

} // namespace

// Codes compare as whole texts: "1" is not "01", "0000" is not "00".
QString TDMBankLib::GetReplyText(const QString& bankCd, const QString& replyCd) const {
    if (replyCd.isEmpty()) return {};
    static const QHash<QString, QString> nh = byText({&BankReply::nhTwoDigit(), &BankReply::nhFourDigit()});
    static const QHash<QString, QString> b12 = [] {
        QHash<QString, QString> h = byText({&BankReply::nhTwoDigit(), &BankReply::nhFourDigit()});
        h.insert(QStringLiteral("08"), QStringLiteral("기타오류"));
        return h;
    }();
    static const QHash<QString, QString> b03 = byText({&BankReply::bank03()});
    static const QHash<QString, QString> std = byText({&BankReply::standardFourDigit()});
    const QHash<QString, QString>* set = &std;
    if (bankCd == QLatin1String("10") || bankCd == QLatin1String("11"))
        set = &nh;
    else if (bankCd == QLatin1String("12"))
        set = &b12;
    else if (bankCd == QLatin1String("03"))
        set = &b03;
    return set->value(replyCd, replyCd);
}
