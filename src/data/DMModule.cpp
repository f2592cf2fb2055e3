#include "data/DMModule.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/System.h"
#include "platform/text/Cp949.h"

#include <QDir>

#include <cmath>

TDMLib* DMLib = nullptr;
QString SelCustNo;
int SelReplyTy = 4;
int FinalConfirm = 0;
int SNoLen = 5;

TDMLib::TDMLib() { DMLibCreate(QDir::currentPath()); }

TDMLib::TDMLib(const QString& dataRoot) { DMLibCreate(dataRoot); }

void TDMLib::DMLibCreate(const QString& dataRoot) {
    FDataDir = QDir::cleanPath(dataRoot);
    MakeDataFolders();
    FMachineId = GetMachineId(FDataDir);
}

const QStringList& TDMLib::DataFolderNames() {
    static const QStringList names{QStringLiteral("data"), QStringLiteral("databack"), QStringLiteral("send"),
                                   QStringLiteral("recv"), QStringLiteral("sback"),    QStringLiteral("rback"),
                                   QStringLiteral("gong"), QStringLiteral("ini"),      QStringLiteral("Temp"),
                                   QStringLiteral("down"), QStringLiteral("SMSform")};
    return names;
}

void TDMLib::MakeDataFolders() {
    QDir root(FDataDir);
    for (const QString& n : DataFolderNames())
        if (!root.exists(n)) root.mkdir(n); // a failure shows at the folder's first use
}

QString TDMLib::GetMachineId(const QString& path) { return System::machineId(path); }

QString TDMLib::dir(const QString& name) const { return FDataDir + QLatin1Char('/') + name + QLatin1Char('/'); }

QString TDMLib::path(const QString& relative) const { return FDataDir + QLatin1Char('/') + relative; }

QString TDMLib::PadLeftZero(const QString& s, int len) {
    const int n = len - Cp949::byteLength(s);
    return n > 0 ? QString(n, QLatin1Char('0')) + s : s;
}

QString TDMLib::PadRightSpace(const QString& s, int len) {
    const int n = len - Cp949::byteLength(s);
    return n > 0 ? s + QString(n, QLatin1Char(' ')) : s;
}

QString TDMLib::DigitsOnly(const QString& s) {
    QString out;
    for (QChar c : s)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) out += c;
    return out;
}

QString TDMLib::DigitsAndDot(const QString& s) {
    QString out;
    for (QChar c : s)
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.')) out += c;
    return out;
}

bool TDMLib::IsAllDigits(const QString& s) {
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

QString TDMLib::AmtToKorean(double amt, bool* ok) {
    if (ok) *ok = true;
    if (!(amt >= 0) || amt != std::floor(amt) || amt >= 1e19) {
        if (ok) *ok = false;
        return {};
    }
    static const char16_t* digitWord[] = {u"", u"일", u"이", u"삼", u"사", u"오", u"육", u"칠", u"팔", u"구"};
    static const char16_t* small[] = {u"", u"십", u"백", u"천"};
    static const char16_t* big[] = {u"", u"만", u"억", u"조", u"경"};
    const QString digits = QString::number(quint64(amt));
    if (digits == QLatin1String("0")) return {};
    // Groups of four digits from the right: 만 and above only when the group
    // holds a digit other than 0.
    QString out;
    const int len = digits.size();
    for (int i = 0; i < len; ++i) {
        const int d = digits.at(i).digitValue();
        const int n = len - 1 - i;
        if (d != 0) {
            out += QString::fromUtf16(digitWord[d]);
            out += QString::fromUtf16(small[n % 4]);
        }
        if (n % 4 == 0 && n > 0) {
            const int groupStart = std::max(0, i - 3);
            bool any = false;
            for (int k = groupStart; k <= i; ++k)
                if (digits.at(k) != QLatin1Char('0')) any = true;
            if (any) out += QString::fromUtf16(big[n / 4]);
        }
    }
    return out;
}

bool TDMLib::WriteJobLog(const QString& menuName, const QString& jobLog) {
    // One reading of the clock: a row written at midnight keeps its table,
    // date and time together.
    const QDateTime now = Clock::now();
    const QString table = QStringLiteral("L_Log_") + now.date().toString(QStringLiteral("yyyyMM"));
    if (!Database::tableExists(table) && !CreateLogTableNamed(table)) return false;
    return Database::insertRow(table, {{QStringLiteral("LogDate"), now.date().toString(QStringLiteral("yyyyMMdd"))},
                                       {QStringLiteral("LogTime"), now.time().toString(QStringLiteral("HHmmss"))},
                                       {QStringLiteral("MenuName"), menuName},
                                       {QStringLiteral("JobLog"), jobLog}});
}

// ---- plain routines

QString ZeroStr(int count) { return count > 0 ? QString(count, QLatin1Char('0')) : QString(); }

QString SpaceStr(int count) { return count > 0 ? QString(count, QLatin1Char(' ')) : QString(); }

static QString padWith(const QString& s, int len, bool atRight, QChar fill) {
    const int bytes = Cp949::byteLength(s);
    if (bytes > len) return Cp949::cutToBytes(s, len);
    const QString pad(len - bytes, fill);
    return atRight ? s + pad : pad + s;
}

QString PadZero(const QString& s, int len, bool atRight) { return padWith(s, len, atRight, QLatin1Char('0')); }

QString PadSpace(const QString& s, int len, bool atRight) { return padWith(s, len, atRight, QLatin1Char(' ')); }

QString RemoveChar(const QString& s, QChar ch) {
    QString out = s;
    out.remove(ch);
    return out;
}

QString BlankToZero(const QString& s) { return s == QLatin1String(" ") ? QStringLiteral("0") : s; }

static bool isSp(QChar c) { return c == QLatin1Char(' '); }

QString FillZero2(const QString& s) {
    if (s.trimmed().isEmpty()) return QStringLiteral("00");
    if (s.size() == 1) return QLatin1Char('0') + s;
    if (s.size() >= 2) {
        const QChar a = s.at(0), b = s.at(1);
        if (!isSp(a) && !isSp(b)) return s.left(2);
        if (isSp(a) != isSp(b)) return QLatin1Char('0') + (isSp(a) ? b : a);
    }
    return QStringLiteral("00");
}

QString FillZero3(const QString& s) {
    if (s.trimmed().isEmpty()) return QStringLiteral("000");
    if (s.size() == 1) return QStringLiteral("00") + s;
    if (s.size() == 2) {
        const QChar a = s.at(0), b = s.at(1);
        if (!isSp(a) && !isSp(b)) return QLatin1Char('0') + s;
        return QStringLiteral("00") + (isSp(a) ? b : a);
    }
    const QChar a = s.at(0), b = s.at(1), c = s.at(2);
    if (!isSp(a) && !isSp(b) && !isSp(c)) return s;
    if (isSp(a) && !isSp(b) && !isSp(c)) return QLatin1Char('0') + s.mid(1, 2);
    if (!isSp(a) && isSp(b) && !isSp(c)) return QString(a) + QLatin1Char('0') + c;
    return QLatin1Char('0') + s.left(2);
}

QString NormSNo(int mode, const QString& s) {
    if (s.trimmed().isEmpty()) return s;
    const int l = s.size();
    if ((mode != 5 && mode != 6) || (mode == 5 && l > 5) || (mode == 6 && l > 6)) return s;
    if (mode == 5 && l == 6) return s; // unreachable: kept for the table's sake
    const QString grade = BlankToZero(s.left(1));
    const QString cls = l >= 2 ? FillZero2(s.mid(1, l == 2 ? 1 : 2)) : QStringLiteral("00");
    QString num;
    if (mode == 5) {
        if (l <= 3) num = QStringLiteral("00");
        else num = FillZero2(s.mid(3, l - 3));
    } else {
        if (l <= 3) num = QStringLiteral("000");
        else num = FillZero3(s.mid(3, l - 3));
    }
    return grade + cls + num;
}

QString MakeSNo(const QString& hak, const QString& ban, const QString& bun) {
    const QString h = hak.trimmed(), b = ban.trimmed(), n = bun.trimmed();
    if (h.isEmpty() && b.isEmpty() && n.isEmpty()) return {};
    if (b.isEmpty() && n.isEmpty()) return hak;
    if (n.isEmpty()) return hak + PadZero(b, 2, false);
    return hak + PadZero(b, 2, false) + PadZero(n, SNoLen == 5 ? 2 : 3, false);
}

bool IsValidSNoInput(const QString& hak, const QString& ban, const QString& bun) {
    if (SNoLen != 5 && SNoLen != 6) return true;
    const QString b = ban.trimmed(), n = bun.trimmed();
    if (n == QLatin1String("0") || n == QLatin1String("00")) return false;
    if (SNoLen == 6 && n == QLatin1String("000")) return false;
    if (hak.isEmpty() && b.isEmpty() && n.isEmpty()) return true;
    if ((!b.isEmpty() || !n.isEmpty()) && hak.isEmpty()) return false;
    if (!n.isEmpty() && b.isEmpty()) return false;
    return true;
}

bool IsValidSNoRange(const QString& fromSNo, const QString& toSNo, bool* ok) {
    if (ok) *ok = true;
    const QString f = fromSNo.trimmed(), t = toSNo.trimmed();
    if (f.isEmpty() || t.isEmpty()) return true;
    bool okF = false, okT = false;
    const qlonglong vf = f.toLongLong(&okF), vt = t.toLongLong(&okT);
    if (!okF || !okT) {
        if (ok) *ok = false;
        return false;
    }
    return vt >= vf;
}
