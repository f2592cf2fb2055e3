#pragma once
#include <QString>

// Bank rules: account numbers, request-file check values, reply texts.
class TDMBankLib {
public:
    TDMBankLib() = default;

    // ---- account numbers
    // True when the account number has a form the bank issues: its lengths
    // and, for banks 10, 11, 12 and 23, its check digit. The caller removes
    // separators first; a number holding anything but digits is refused.
    bool CheckAcctNo(const QString& BankCd, const QString& AcctNo) const;

    // ---- reply texts
    // A bank's reply code as words; a code the bank's set lacks reads as
    // itself.
    QString GetReplyText(const QString& bankCd, const QString& replyCd) const;

private:
    static bool CheckAcctLen12or14(const QString& AcctNo);
    static bool CheckAcctLen14or12(const QString& AcctNo);
    static bool CheckAcctLen11or12(const QString& AcctNo);
    static bool CheckDigit10(const QString& AcctNo);
    static bool CheckDigit11(const QString& AcctNo);
    static bool CheckDigit12(const QString& AcctNo);
    static bool CheckDigit23(const QString& AcctNo);
};

extern TDMBankLib* DMBankLib;
