#pragma once
#include <QString>

// Bank rules: account numbers, request-file check values, reply texts.
class TDMBankLib {
public:
    TDMBankLib() = default;

    // ---- reply texts
    // A bank's reply code as words; a code the bank's set lacks reads as
    // itself.
    QString GetReplyText(const QString& bankCd, const QString& replyCd) const;
};

extern TDMBankLib* DMBankLib;
