#include "data/DMBank.h"

#include "data/DMModule.h"

TDMBankLib* DMBankLib = nullptr;

// ---- Request-file check values

namespace {

void setOk(bool* ok, bool v) {
    if (ok) *ok = v;
}

// The whole text as a non-negative number; false when empty or not digits.
bool digitsValue(const QString& s, qint64* v) {
    if (s.isEmpty() || s.size() > 18 || !TDMLib::IsAllDigits(s)) return false;
    *v = s.toLongLong();
    return true;
}

// Characters from..to (1-based, inclusive) as a number.
bool pieceValue(const QString& s, int from, int to, qint64* v) {
    return digitsValue(s.mid(from - 1, to - from + 1), v);
}

int digitAt(const QString& s, int pos1) {
    return s.at(pos1 - 1).digitValue();
}

// The first four decimals of num / den as a number, rounded half up at the
// tenth decimal; a carry out of the tenth digit reaches the first four.
qint64 fourDecimals(qint64 num, qint64 den) {
    using i128 = __int128;
    i128 n = num, d = den;
    if (n < 0) n = -n;
    if (d < 0) d = -d;
    const i128 scale = 10000000000LL;
    const i128 units = ((n % d) * scale * 2 + d) / (d * 2);
    return qint64((units / 1000000) % 10000);
}

QString zeroPadded(qint64 v, int width) {
    return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
}

} // namespace

qint64 TDMBankLib::DigitSum(const QString& s, bool* ok) {
    qint64 sum = 0;
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            setOk(ok, false);
            return 0;
        }
        sum += c.unicode() - '0';
    }
    setOk(ok, true);
    return sum;
}

qint64 TDMBankLib::NumberDigitSum(qint64 v) {
    if (v < 0) return 0; // the sign is no digit: the text's sum fails to 0
    qint64 sum = 0;
    for (; v > 0; v /= 10)
        sum += v % 10;
    return sum;
}

QString TDMBankLib::FourDecimals(qint64 num, qint64 den, bool* ok) {
    if (den == 0) {
        setOk(ok, false);
        return QStringLiteral("0000");
    }
    setOk(ok, true);
    return zeroPadded(fourDecimals(num, den), 4);
}

QString TDMBankLib::CheckValue04(qint64 Total, qint64 Count, qint64 CheckSum, const QString& Passwd,
                                 bool* ok) {
    const QString t = Passwd.trimmed();
    bool isInt = false;
    qint64 pw = t.toLongLong(&isInt);
    if (!isInt) pw = 0; // the bank's rule: a password that is not a number counts as 0
    return FourDecimals(Total + Count + CheckSum, pw + Count, ok);
}

qint64 TDMBankLib::AcctSum05(const QString& AcctNo, bool* ok) {
    qint64 a = 0, b = 0, c = 0, d = 0;
    if (AcctNo.size() < 10 || !pieceValue(AcctNo, 1, 3, &a) || !pieceValue(AcctNo, 4, 5, &b) ||
        !pieceValue(AcctNo, 6, 10, &c) || !pieceValue(AcctNo, 11, 11, &d)) {
        setOk(ok, false);
        return 0;
    }
    setOk(ok, true);
    return a + b + c + d;
}

QString TDMBankLib::CheckValue05(const QString& StartDate, const QString& EndDate, qint64 Count,
                                 qint64 CheckSum, qint64 Total, bool* ok) {
    qint64 s = 0, e = 0;
    if (!digitsValue(StartDate, &s) || !digitsValue(EndDate, &e) || e == 0) {
        setOk(ok, false);
        return QStringLiteral("0000    ");
    }
    setOk(ok, true);
    const QString q = TDMLib::PadLeftZero(QString::number((s + Total + Count + CheckSum + e) / e), 10);
    return q.mid(6, 4) + QStringLiteral("    ");
}

QString TDMBankLib::CheckValue06(qint64 Total, qint64 Count, bool* ok) {
    const QString T = TDMLib::PadLeftZero(QString::number(Total), 13);
    const QString C = TDMLib::PadLeftZero(QString::number(Count), 7);
    if (Total < 0 || Count < 0 || T.size() != 13 || C.size() != 7) {
        setOk(ok, false);
        return QStringLiteral("0000    ");
    }
    setOk(ok, true);
    auto t = [&](int i) { return digitAt(T, i); };
    auto c = [&](int i) { return digitAt(C, i); };
    const int s1 = 3 * c(1) + c(5) + 7 * t(2) + 3 * t(6) + t(10);
    const int s2 = c(2) + 7 * c(6) + 3 * t(3) + t(7) + 7 * t(11);
    const int s3 = 7 * c(3) + 3 * c(7) + t(4) + 7 * t(8) + 3 * t(12);
    // The count's first digit counts twice: the bank's formula, not a slip.
    const int s4 = 3 * c(4) + c(1) + 7 * t(5) + 3 * t(9) + t(13);
    return QString::number(s1 % 10) + QString::number(s2 % 10) + QString::number(s3 % 10) +
           QString::number(s4 % 10) + QStringLiteral("    ");
}

int TDMBankLib::RecordCheckNH(qint64 Day, qint64 Digit, qint64 Amount, qint64 Passwd) {
    if (Passwd == 0) return 0;
    return int(fourDecimals(Day + Digit + Amount, Passwd));
}

QString TDMBankLib::CheckValueNH(qint64 BankDigitSum, qint64 Count, qint64 Total, qint64 Passwd, bool* ok) {
    return FourDecimals(BankDigitSum + Total + Count, Count + Passwd, ok);
}

QString TDMBankLib::CheckValue20(qint64 AcctDigitSum, qint64 AmtDigitSum) {
    const qint64 r = AmtDigitSum == 0 ? 0 : AcctDigitSum % AmtDigitSum;
    const QString f = zeroPadded(r, 8);
    return f.right(6) + QStringLiteral("  ");
}

int TDMBankLib::RecordCheck22(const QString& StartDate, const QString& AcctNo, qint64 RecNo, qint64 Amount,
                              bool* ok) {
    bool okD = false, okA = false;
    const qint64 D = DigitSum(StartDate, &okD);
    const qint64 A = DigitSum(AcctNo, &okA);
    const qint64 M = NumberDigitSum(Amount);
    const qint64 N = NumberDigitSum(RecNo);
    const qint64 S = A + D + M + N;
    if (!okD || !okA || AcctNo.size() < 2 || S == 0 || Amount < 0) {
        setOk(ok, false);
        return 0;
    }
    setOk(ok, true);
    const qint64 m = Amount % S;
    const qint64 S2 = S + (RecNo < 0 ? -RecNo : RecNo) % 10;
    const qint64 m2 = m + digitAt(AcctNo, 1);
    // S2 and m2 written side by side, each at least three digits wide.
    qint64 shift = 1000;
    while (m2 >= shift) shift *= 10;
    const qint64 X = S2 * shift + m2 - digitAt(AcctNo, 2);
    return int(X % 10);
}

QString TDMBankLib::CheckValue22(const QString& StartDate, qint64 Total, qint64 Count, qint64 CheckSum,
                                 bool* ok) {
    bool okD = false;
    const qint64 S =
        DigitSum(StartDate, &okD) + DigitSum(QString::number(Count)) + DigitSum(QString::number(Total));
    if (!okD || S == 0 || Count < 0 || Total < 0) {
        setOk(ok, false);
        return QStringLiteral("000000  ");
    }
    setOk(ok, true);
    return TDMLib::PadRightSpace(zeroPadded(S, 3) + zeroPadded(CheckSum % S, 3), 8);
}

int TDMBankLib::RecordCheck23(const QString& AcctNo, qint64 RecNo, qint64 Amount, bool* ok) {
    qint64 a = 0, b = 0, c = 0;
    if (!pieceValue(AcctNo, 1, 3, &a) || !pieceValue(AcctNo, 4, 5, &b) || !pieceValue(AcctNo, 6, 10, &c) ||
        Amount < 0) {
        setOk(ok, false);
        return 0;
    }
    qint64 D = a + b + c + Amount;
    if (D >= 10000000000000LL) { // more than 13 digits
        setOk(ok, false);
        return 0;
    }
    setOk(ok, true);
    static const int weight[13] = {61, 53, 51, 49, 47, 43, 41, 37, 31, 29, 23, 19, 17};
    qint64 W = 0;
    for (int i = 12; i >= 0; --i, D /= 10)
        W += weight[i] * (D % 10);
    return int((W + RecNo) % 13);
}

QString TDMBankLib::CheckValue23(qint64, qint64, qint64 CheckSum) {
    return zeroPadded(CheckSum + 5, 12).right(4);
}
