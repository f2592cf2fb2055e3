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


    // ---- Request-file check values
    //
    // Each bank recomputes these and refuses a file whose value disagrees, so
    // they are exact: "four decimals" are taken with integer arithmetic. A
    // value that cannot be computed (a non-digit where a digit is read, an
    // account too short, a zero divisor) sets *ok to false; the writer then
    // stops the file instead of writing one the bank will refuse.
    static QString CheckValue04(qint64 Total, qint64 Count, qint64 CheckSum, const QString& Passwd,
                                bool* ok = nullptr);
    static qint64 AcctSum05(const QString& AcctNo, bool* ok = nullptr);
    static QString CheckValue05(const QString& StartDate, const QString& EndDate, qint64 Count,
                                qint64 CheckSum, qint64 Total, bool* ok = nullptr);
    static QString CheckValue06(qint64 Total, qint64 Count, bool* ok = nullptr);
    static int RecordCheckNH(qint64 Day, qint64 Digit, qint64 Amount, qint64 Passwd);
    static QString CheckValueNH(qint64 BankDigitSum, qint64 Count, qint64 Total, qint64 Passwd,
                                bool* ok = nullptr);
    static QString CheckValue20(qint64 AcctDigitSum, qint64 AmtDigitSum);
    static int RecordCheck22(const QString& StartDate, const QString& AcctNo, qint64 RecNo, qint64 Amount,
                             bool* ok = nullptr);
    static QString CheckValue22(const QString& StartDate, qint64 Total, qint64 Count, qint64 CheckSum,
                                bool* ok = nullptr);
    static int RecordCheck23(const QString& AcctNo, qint64 RecNo, qint64 Amount, bool* ok = nullptr);
    static QString CheckValue23(qint64 Total, qint64 Count, qint64 CheckSum);

    // Sum of the digits of a text; false in *ok when it holds anything else
    // (an empty text sums to 0).
    static qint64 DigitSum(const QString& s, bool* ok = nullptr);
    // The same of a number's decimal digits, without text (0 when negative).
    static qint64 NumberDigitSum(qint64 v);
    // The first four of the ten decimals of |num / den|, the tenth rounded
    // half up; false in *ok when den is 0.
    static QString FourDecimals(qint64 num, qint64 den, bool* ok = nullptr);

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
