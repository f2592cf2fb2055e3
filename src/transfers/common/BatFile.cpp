#include "transfers/common/BatFile.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "data/FileMoves.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"
#include "platform/sys/System.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "transfers/common/FileLayout.h"
#include "transfers/common/M101B05.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>

#include <cstdio>
#include <cstring>
#include <list>
#include <unistd.h>
#include <memory>
#include <optional>

namespace BatFile {
RunValues Run;
}

using BatFile::Run;
namespace L80 = FileLayout::L80;
namespace L100B = FileLayout::L100B;
namespace L200 = FileLayout::L200;

namespace {

// NH banks' password when the account has none; the VAN merge uses it too.
const QString kNHDefaultPasswd = QStringLiteral("6385");

void plainBox(const QString& text) {
    Msg::show(QCoreApplication::applicationName(), text);
}

bool same(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), size_t(a.size())) == 0;
}

bool isAscii(QByteArrayView v) {
    for (char c : v)
        if (uchar(c) >= 0x80) return false;
    return true;
}

// Column text as the file wants it: ASCII as it is, anything else through
// the CP949 encoder.
QByteArray cp949(QByteArrayView utf8) {
    return isAscii(utf8) ? utf8.toByteArray() : Cp949::encode(QString::fromUtf8(utf8));
}

// One fixed-width record, written in place at the end of the file's buffer
// and filled with blanks; fields are put at their offsets, so a field can
// never shift the ones after it.
class Record {
public:
    Record(QByteArray& out, int width) : out_(out), base_(out.size()), width_(width) {
        out.append(width, ' ');
        out.append("\r\n", 2);
    }

    // Text: cut at the width on a character boundary, blank-padded.
    void text(int off, int width, const QString& s) { encoded(off, width, Cp949::encode(s)); }
    void text(int off, int width, QByteArrayView utf8) {
        if (isAscii(utf8))
            bytes(off, width, utf8);
        else
            encoded(off, width, Cp949::encode(QString::fromUtf8(utf8)));
    }
    // CP949 bytes, cut at a character boundary.
    void encoded(int off, int width, const QByteArray& cp) { bytes(off, width, Cp949::cutBytes(cp, width)); }
    // Number or digit text: '0'-padded on the left; a longer value keeps its
    // first characters.
    void num(int off, int width, const QString& digits) { num(off, width, QByteArrayView(digits.toLatin1())); }
    void num(int off, int width, QByteArrayView digits) {
        if (!isAscii(digits)) {
            num(off, width, QString::fromUtf8(digits));
            return;
        }
        char* p = at(off);
        const int n = std::min<int>(int(digits.size()), width);
        const int pad = width - n;
        std::memset(p, '0', size_t(pad));
        // An empty field has no data pointer to copy from.
        if (n > 0) std::memcpy(p + pad, digits.data(), size_t(n));
    }
    void num(int off, int width, qint64 v) {
        char buf[24];
        num(off, width, decimal(v, buf));
    }
    void fill(int off, int width, char c) { std::memset(at(off), c, size_t(width)); }
    // A field of the shared layout tables.
    template <class V> void text(FileLayout::Field f, const V& v) { text(f.off, f.width, v); }
    template <class V> void num(FileLayout::Field f, const V& v) { num(f.off, f.width, v); }
    // An ASCII constant.
    template <int N> void text(int off, int width, const char (&s)[N]) { bytes(off, width, QByteArrayView(s, N - 1)); }

private:
    // The decimal text of v, as "%lld" writes it, at the end of buf.
    static QByteArrayView decimal(qint64 v, char (&buf)[24]) {
        char* const end = buf + sizeof buf;
        char* p = end;
        quint64 m = v < 0 ? 0 - quint64(v) : quint64(v);
        do {
            *--p = char('0' + m % 10);
            m /= 10;
        } while (m != 0);
        if (v < 0) *--p = '-';
        return QByteArrayView(p, end - p);
    }
    char* at(int off) {
        Q_ASSERT(off <= width_);
        return out_.data() + base_ + off;
    }
    void bytes(int off, int width, QByteArrayView v) {
        Q_ASSERT(off + width <= width_);
        char* p = at(off);
        const int n = std::min<int>(int(v.size()), width);
        if (n > 0) std::memcpy(p, v.data(), size_t(n));
        std::memset(p + n, ' ', size_t(width - n));
    }
    QByteArray& out_;
    qsizetype base_;
    int width_;
};

// One row of the request, as the statement holds it: views valid until the
// next step. Only the item name is encoded, once per item.
struct Row {
    QByteArrayView BankCd, AcctNo, CustNo, ItemCd, ItemID, JuNo, SNo, Nm;
    const QByteArray* ItemNm = nullptr; // CP949
    qint64 Amt = 0;

    static QString s(QByteArrayView v) { return QString::fromUtf8(v); }
};

bool isHVBT() {
    return Run.CompyNo.startsWith(QLatin1String("HVBT"));
}

QString runYymmSeq() {
    return Run.RunKey.mid(2, 6);
}

void badAccount(const Row& r) {
    Msg::error(QStringLiteral("계좌번호오류"),
               QStringLiteral("학번 %1 %2 학생의 계좌번호 [%3]로는 은행 검증값을 계산할 수 없습니다.\r\r"
                              "계좌번호를 확인한 후 다시 파일작성을 하세요!!")
                   .arg(Row::s(r.SNo), Row::s(r.Nm), Row::s(r.AcctNo)));
}

void badPassword() {
    Msg::error(QStringLiteral("비밀번호오류"),
               QStringLiteral("모계좌의 비밀번호로는 은행 검증값을 계산할 수 없습니다.\r\r"
                              "[기본등록-은행등록]에서 비밀번호를 확인하세요!!"));
}

void badDates() {
    Msg::error(QStringLiteral("오류"), QStringLiteral("이체일자로는 은행 검증값을 계산할 수 없습니다.\r\r"
                                                      "이체일자를 확인한 후 다시 파일작성을 하세요!!"));
}

// ---- Layout80 and Layout100A

void header80(Record& h) {
    h.text(0, 1, QStringLiteral("S"));
    h.text(1, 2, Run.Kind == QLatin1String("300") ? QStringLiteral("C2") : QStringLiteral("B2"));
    h.text(3, 10, Run.CompyNo);
    h.num(L80::HeadBank, Run.BankCd);
    h.num(L80::HeadStart, Run.StartDate);
    h.num(L80::HeadEnd, Run.BankCd == QLatin1String("05") ? Run.EndDate : Run.StartDate);
    h.text(L80::HeadAcct, Run.AcctNo);
    h.text(42, 8, Run.Passwd.left(8));
    h.text(50, 1, QStringLiteral("1"));
    h.text(51, 1, QStringLiteral("1"));
    h.text(52, 1,
           Run.BankCd == QLatin1String("21")   ? QStringLiteral("1")
           : Run.BankCd == QLatin1String("27") ? QStringLiteral("0")
                                               : QStringLiteral("2"));
    h.text(57, 6, QStringLiteral("ZQVAN "));
    static const QStringList noRunKey{QStringLiteral("21"), QStringLiteral("06"), QStringLiteral("23"),
                                      QStringLiteral("03")};
    if (Run.Kind == QLatin1String("200") && !noRunKey.contains(Run.BankCd))
        h.text(L80::HeadRunKey, runYymmSeq());
}

// What the records of one run look at on every row, worked out once.
struct RunCodes {
    bool udBank = false;  // 20, 22, 24
    bool itemKind = false; // 26, 81: the item's code in the kind field
    bool hvbt = false;
    bool payerItem = false; // the payer field holds the item name too
    QByteArray day;       // the transfer day
    void prepare(bool layout100) {
        const QString& b = Run.BankCd;
        udBank = b == QLatin1String("20") || b == QLatin1String("22") || b == QLatin1String("24");
        itemKind = b == QLatin1String("26") || b == QLatin1String("81");
        hvbt = isHVBT();
        day = Run.StartDate.mid(4, 2).toLatin1();
        payerItem = b == QLatin1String("45") ||
                    (!layout100 && ((udBank && hvbt) || itemKind || b == QLatin1String("35")));
    }
};
RunCodes codes;

// A field of CP949 bytes padded with blanks to width (a longer one kept whole).
void padded(QByteArray& out, const QByteArray& v, int width) {
    out += v;
    if (v.size() < width) out.append(width - int(v.size()), ' ');
}

void payer80(Record& d, const Row& r, bool layout100) {
    (void)layout100;
    const QString& b = Run.BankCd;
    if (!codes.payerItem) {
        d.text(L80::Payer, r.CustNo);
        return;
    }
    QByteArray v;
    v.reserve(32);
    if (b == QLatin1String("45")) v += 'C';
    padded(v, cp949(r.CustNo), b == QLatin1String("45") ? 13 : 14);
    padded(v, Cp949::cutBytes(*r.ItemNm, 10), 10);
    d.encoded(L80::Payer.off, L80::Payer.width, v);
}

void data80(Record& d, const Row& r, bool layout100) {
    const bool udBank = codes.udBank;
    d.text(0, 1, "D");
    d.num(L80::Bank, r.BankCd);
    d.text(L80::Acct, r.AcctNo);
    if (udBank) {
        if (codes.hvbt)
            d.text(18, 2, "UD");
        else
            d.text(18, 2, "10");
    } else if (codes.itemKind) {
        d.text(18, 2, r.ItemID);
    } else {
        d.text(18, 2, "10");
    }
    d.num(L80::Amt, r.Amt);
    d.num(31, 2, QByteArrayView(codes.day));
    if (udBank && !r.JuNo.isEmpty())
        d.text(38, 10, QStringLiteral("999") + Row::s(r.JuNo).mid(6, 7));
    else
        d.num(38, 10, QByteArrayView("0", 1));
    payer80(d, r, layout100);
    d.text(L80::Item, r.ItemID);
    if (layout100) d.text(L80::Payer100A, r.CustNo);
}

void trailer80(Record& t) {
    t.text(0, 1, QStringLiteral("E"));
    t.num(L80::TrailAll, Run.Count + 2);
    t.num(L80::TrailCount, Run.Count);
    t.num(L80::TrailTotal, Run.Total);
    t.num(L80::TrailOkCount, 0);
    t.num(L80::TrailOkAmt, 0);
    t.num(L80::TrailFailCount, 0);
    t.num(L80::TrailFailAmt, 0);
    t.text(L80::TrailCheck, Run.CheckValue);
}

// ---- Layout100B (bank 23)

void header100B(Record& h) {
    h.text(0, 1, QStringLiteral("S"));
    h.text(1, 3, QStringLiteral("123"));
    h.text(4, 1, QStringLiteral("1"));
    h.text(5, 1, QStringLiteral("1"));
    h.text(6, 10, Run.CompyNo);
    h.num(16, 2, Run.BankCd);
    h.num(18, 8, Clock::todayText());
    h.num(L100B::HeadStart, QStringLiteral("20") + Run.StartDate);
    h.num(L100B::HeadEnd, QStringLiteral("0"));
    h.text(42, 1, QStringLiteral("1"));
    h.text(43, 8, Run.Passwd.left(8));
}

void data100B(Record& d, const Row& r) {
    d.text(0, 1, "D");
    d.num(L100B::Bank, r.BankCd);
    d.text(L100B::Acct, r.AcctNo);
    d.num(L100B::Amt, r.Amt);
    d.num(L100B::OkAmt, 0);
    d.text(L100B::RunKey, runYymmSeq());
    d.text(L100B::Item, r.ItemID);
    d.encoded(L100B::ItemNm.off, L100B::ItemNm.width, Cp949::cutBytes(*r.ItemNm, 10));
    d.text(L100B::Payer, r.CustNo);
    d.text(97, 1, "1");
}

void trailer100B(Record& t) {
    t.text(0, 1, QStringLiteral("E"));
    t.num(L100B::TrailAll, Run.Count + 2);
    t.num(L100B::TrailCount, Run.Count);
    t.num(L100B::TrailTotal, Run.Total);
    t.num(L100B::TrailOkCount, 0);
    t.num(L100B::TrailOkAmt, 0);
    t.num(45, 6, 0);
    t.num(51, 13, 0);
    t.num(L100B::TrailFailCount, 0);
    t.num(70, 13, 0);
    t.num(83, 5, 0);
    t.num(88, 5, 0);
    t.text(94, 4, Run.CheckValue);
}

// ---- Per-record accumulation and trailer values of the 80/100 layouts

bool accumulate(const Row& r) {
    const QString& b = Run.BankCd;
    bool ok = true;
    if (b == QLatin1String("04")) {
        // The twelfth character; account numbers are ASCII, so bytes are
        // characters up to the first other one.
        const QByteArrayView a = r.AcctNo;
        qsizetype i = 0;
        while (i < a.size() && i < 11 && uchar(a[i]) < 0x80) ++i;
        if (i < 11) {
            const QString acct = Row::s(a);
            if (acct.size() < 12 || !acct.at(11).isDigit() || acct.at(11).unicode() > '9')
                ok = false;
            else
                Run.CheckSum += acct.at(11).digitValue();
        } else if (a.size() < 12 || a[11] < '0' || a[11] > '9') {
            ok = false;
        } else {
            Run.CheckSum += a[11] - '0';
        }
    } else if (b == QLatin1String("05")) {
        Run.CheckSum += TDMBankLib::AcctSum05(Row::s(r.AcctNo), &ok);
        if (!ok) {
            Msg::error(QStringLiteral("계좌번호오류"),
                       QStringLiteral("계좌번호가 잘못되었습니다\r\r다시 계좌번호를 확인하세요!"));
            return false;
        }
    } else if (b == QLatin1String("20")) {
        Run.AcctDigitSum += TDMBankLib::DigitSum(Row::s(r.AcctNo), &ok);
        Run.AmtDigitSum += TDMBankLib::NumberDigitSum(r.Amt);
    } else if (b == QLatin1String("22")) {
        Run.CheckSum += TDMBankLib::RecordCheck22(Run.StartDate, Row::s(r.AcctNo), Run.Count, r.Amt, &ok);
    } else if (b == QLatin1String("23")) {
        Run.CheckSum += TDMBankLib::RecordCheck23(Row::s(r.AcctNo), Run.Count, r.Amt, &ok);
    }
    if (!ok) badAccount(r);
    return ok;
}

enum class CheckResult { Ok, Failed, Cancelled };

CheckResult trailerValue(const CollectSelection& sel) {
    const QString& b = Run.BankCd;
    bool ok = true;
    if (b == QLatin1String("04")) {
        Run.CheckValue = TDMBankLib::CheckValue04(Run.Total, Run.Count, Run.CheckSum, Run.Passwd, &ok);
        if (!ok) badPassword();
    } else if (b == QLatin1String("05")) {
        Run.CheckValue =
            TDMBankLib::CheckValue05(Run.StartDate, Run.EndDate, Run.Count, Run.CheckSum, Run.Total, &ok);
        if (!ok) badDates();
    } else if (b == QLatin1String("06")) {
        Run.CheckValue = TDMBankLib::CheckValue06(Run.Total, Run.Count, &ok);
        if (!ok) badDates();
    } else if (b == QLatin1String("20")) {
        Run.CheckValue = TDMBankLib::CheckValue20(Run.AcctDigitSum, Run.AmtDigitSum);
    } else if (b == QLatin1String("22")) {
        Run.CheckValue = TDMBankLib::CheckValue22(Run.StartDate, Run.Total, Run.Count, Run.CheckSum, &ok);
        if (!ok) badDates();
    } else if (b == QLatin1String("23")) {
        // The bank hands the school a card: the user types the matrix code
        // that belongs to the management code we computed.
        const QString mgmt = TDMBankLib::CheckValue23(Run.Total, Run.Count, Run.CheckSum);
        QString matrix;
        bool confirmed = false;
        if (sel.AskMatrixCode) {
            confirmed = sel.AskMatrixCode(mgmt, &matrix);
        } else {
            auto dlg = std::make_unique<TFrmM101B05>();
            dlg->EdtBokGi1->setText(mgmt);
            confirmed = Modal::exec(dlg.get()) == QDialog::Accepted;
            matrix = dlg->EdtBokGi2->text();
        }
        if (!confirmed) return CheckResult::Cancelled;
        Run.CheckValue = matrix;
    } else {
        Run.CheckValue = QStringLiteral("    ");
    }
    return ok ? CheckResult::Ok : CheckResult::Failed;
}

bool isNHGroup(const QString& b) {
    return b == QLatin1String("10") || b == QLatin1String("11") || b == QLatin1String("12");
}

QString rowBankCondition(const QString& shown, QVariantList& binds) {
    if (isNHGroup(shown)) return QStringLiteral("and (T1.BankCd in ('11', '12', '10')) ");
    if (shown == QLatin1String("81")) return QStringLiteral("and (T1.BankCd in ('81', '25')) ");
    if (shown == QLatin1String("00")) return {};
    binds << shown;
    return QStringLiteral("and T1.BankCd = ? ");
}

} // namespace

// ---- Conditions and queries

void AddCollectBankCondition(const QString& shownBank, QString& sql, QVariantList& binds) {
    sql += rowBankCondition(shownBank, binds);
}

void AddCollectConditions(const CollectSelection& Sel, QString& sql, QVariantList& binds) {
    const QString from = MakeSNo(Sel.SHakFrom, Sel.SBanFrom, Sel.SBunFrom);
    const QString to = MakeSNo(Sel.SHakTo, Sel.SBanTo, Sel.SBunTo);
    auto bound = [&](const QString& v, const char* op) {
        if (v.isEmpty()) return;
        const QString o = QString::fromLatin1(op);
        if (v.size() == SNoLen)
            sql += QStringLiteral(" and T1.SNo %1 ? ").arg(o);
        else if (v.size() == 3)
            sql += QStringLiteral(" and substr(T1.SNo, 1, 3) %1 ? ").arg(o);
        else if (v.size() == 1)
            sql += QStringLiteral(" and substr(T1.SNo, 1, 1) %1 ? ").arg(o);
        else
            return;
        binds << v;
    };
    bound(from, ">=");
    bound(to, "<=");
    auto inList = [&](const QStringList& values, const char* column) {
        if (values.isEmpty()) return;
        QStringList marks;
        for (const QString& v : values) {
            marks << QStringLiteral("?");
            binds << v;
        }
        sql +=
            QStringLiteral(" and %1 in (%2) ").arg(QString::fromLatin1(column), marks.join(QLatin1Char(',')));
    };
    inList(Sel.ItemIds, "T1.ItemCd");
    inList(Sel.GrpNames, "T1.GrpNm");
    sql += QStringLiteral(" and T1.ExempTy <> '0' and T1.ReplyTy = '0' ");
}

BatFile::BuiltQuery pBuildCollectQuery(const QString& RunKey, const CollectSelection& Sel) {
    BatFile::BuiltQuery q;
    const QString table = QStringLiteral("H_200_") + RunKey;
    if (!Database::isRoundTableName(table)) return q;
    q.sql =
        QStringLiteral("select T1.BankCd, T1.AcctNo, T1.Amt, T1.CustNo, T1.ItemCd, T1.SNo, T1.Nm, T2.ItemNm, "
                       "T2.ItemID, '' as Ju_No from %1 T1, C_ITEM T2 ")
            .arg(Database::quoted(table));
    q.sql += QStringLiteral("where (T1.ItemCd = T2.ItemID AND T2.Gcode = ?) ");
    q.binds << Sel.Gcode;
    q.sql += QStringLiteral("and T1.Amt > 0 and T1.AcctNo <> '' ");
    q.sql += rowBankCondition(Sel.BankCd, q.binds);
    AddCollectConditions(Sel, q.sql, q.binds);
    q.sql += QStringLiteral(" order by T1.YearMon, T1.SeqNo, T1.SNo, T1.ItemCd ");
    q.ok = true;
    return q;
}

BatFile::BuiltQuery pBuildCollectQueryJuNo(const QString& RunKey, const CollectSelection& Sel) {
    BatFile::BuiltQuery q;
    const QString table = QStringLiteral("H_200_") + RunKey;
    if (!Database::isRoundTableName(table)) return q;
    q.sql =
        QStringLiteral("select T1.BankCd, T1.AcctNo, T1.Amt, T1.CustNo, T1.ItemCd, T1.SNo, T1.Nm, T2.ItemNm, "
                       "T2.ItemID, T3.Ju_No from %1 T1, C_ITEM T2, M_CUST T3 ")
            .arg(Database::quoted(table));
    q.sql += QStringLiteral("where T1.ItemCd = T2.ItemID and T3.CustNo = T1.CustNo and T2.Gcode = ? ");
    q.binds << Sel.Gcode;
    q.sql += QStringLiteral("and T1.Amt > 0 and T1.AcctNo <> '' and T1.BankCd = ? ");
    q.binds << Sel.BankCd;
    AddCollectConditions(Sel, q.sql, q.binds);
    q.sql += QStringLiteral(" order by T1.YearMon, T1.SeqNo, T1.SNo, T1.ItemCd ");
    q.ok = true;
    return q;
}

// ---- Run values

void pSetMasterAcct(const QString& Line) {
    // The line is padded by CP949 bytes, so a Hangul institution code must
    // not shift the account and the password.
    const QByteArray b = Cp949::encode(Line);
    Run.CompyNo = Cp949::mid(b, 0, 10);
    Run.AcctNo = Cp949::mid(b, 11, 15);
    Run.Passwd = Cp949::mid(b, 27, 10);
}

QString CollectAcctLine(const QString& compyNo, const QString& acctNo, const QString& passwd,
                        const QString& eduCode) {
    return TDMLib::PadRightSpace(compyNo, 10) + QLatin1Char(' ') + TDMLib::PadRightSpace(acctNo, 16) +
           TDMLib::PadRightSpace(passwd, 10) + TDMLib::PadRightSpace(eduCode, 5);
}

QString sRepCompyNo(const QString& BankCd) {
    Query q(QStringLiteral("SELECT CompyNo FROM C_ACCT WHERE BankCd = ? AND RepYn = 'Y' "));
    q.add(BankCd);
    if (q.exec() && q.next()) return q.str(0);
    return {};
}

BatFile::Layout BatFile::ChooseLayout(const QString& bankCd, const QString& startDate) {
    const int bank = bankCd.toInt();
    const int start = startDate.toInt();
    if (bank == 10 || bank == 11 || bank == 12) return Layout::L200;
    if ((bank == 45 || bank == 93) && start > 80400) return Layout::L100A;
    if (bank == 23 && start > 190600) return Layout::L100B;
    return Layout::L80;
}

QString BatFile::NHDefaultPasswd() {
    return kNHDefaultPasswd;
}

QString BatFile::NextCollectFileType(const QString& runKey) {
    Query q(QStringLiteral(
        "select Max(FileType) as FileSeq from M_SRFILE "
        " where SRType = 'S' and YearMon = ? and SeqNo = ? and substr(FileType, 1, 1) = '2' "));
    q.add(runKey.mid(2, 4)).add(runKey.mid(6, 2));
    if (!q.exec()) return {};
    const QString seq = q.next() ? q.str(0).trimmed() : QString();
    if (seq.isEmpty()) return QStringLiteral("201");
    bool ok = false;
    const int n = seq.toInt(&ok);
    // A type past 299 would no longer be a collection type.
    if (!ok || n < 200 || n >= 299) return {};
    return QString::number(n + 1);
}

// ---- The writer

namespace {

// Every record has the layout's width and ends in CR LF, with no line break
// inside it: a break in a name would split a record in two.
bool recordsWhole(const QByteArray& content, int width) {
    if (content.size() % (width + 2) != 0) return false;
    const char* p = content.constData();
    for (qsizetype off = 0; off < content.size(); off += width + 2) {
        const QByteArrayView rec(p + off, width);
        if (rec.contains('\r') || rec.contains('\n')) return false;
        if (p[off + width] != '\r' || p[off + width + 1] != '\n') return false;
    }
    return true;
}

bool allDigits(QByteArrayView v) {
    for (char c : v)
        if (c < '0' || c > '9') return false;
    return true;
}

// Rows of the round: an upper bound of the records, for the buffer.
qint64 roundRows(const QString& runKey) {
    Query q(QStringLiteral("SELECT max(rowid) FROM %1").arg(Database::quoted(QStringLiteral("H_200_") + runKey)));
    return q.exec() && q.next() ? std::max<qint64>(0, q.num(0)) : 0;
}

bool writeAndPlace(const QByteArray& content, const QString& fileName, const RequestBooking& book) {
    const QString part = DMLib->dir(QStringLiteral("Temp")) + fileName + QStringLiteral(".part");
    const QString target = DMLib->dir(QStringLiteral("send")) + fileName;
    QFile f(part);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = f.write(content) == content.size() && f.flush() && ::fsync(f.handle()) == 0;
    f.close();
    if (!written) {
        QFile::remove(part);
        return false;
    }
    CrashPoint::hit("request-after-write");
    if (!book) {
        // rename() replaces an older file of that name in one step.
        if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
            QFile::remove(part);
            return false;
        }
        return true;
    }
    // A file of that name that is no booked request (its booking deleted
    // while the file stayed) is kept beside it under a free name, never
    // overwritten; unbooked, it is never offered for sending.
    if (QFile::exists(target) && !TDMData::IsBookedRequest(fileName) &&
        !System::moveFileNoReplace(target, System::freeFilePath(target))) {
        QFile::remove(part);
        return false;
    }
    // The booking and the move are recorded in one transaction; the file is
    // placed after the commit, and a kill in between is finished at the next
    // start. So send never holds a file without its booking.
    {
        Transaction tx;
        if (!tx.ok() || !book(fileName) || !FileMoves::record(part, target)) {
            tx.rollback();
            QFile::remove(part);
            return false;
        }
        CrashPoint::hit("request-before-commit");
        if (!tx.commit()) {
            QFile::remove(part);
            return false;
        }
    }
    CrashPoint::hit("request-after-commit");
    FileMoves::carryOut(part, target);
    return true;
}

// The request's rows, stepped from the statement one at a time. A round
// table holds one round, so its key order is student number and item.
class RowSource {
public:
    explicit RowSource(const BatFile::BuiltQuery& bq) : q_(bq.sql) {
        for (const QVariant& v : bq.binds)
            q_.add(v);
        ok_ = q_.exec();
        pending_ = ok_ && q_.next();
        ok_ = ok_ && q_.ok();
    }
    bool ok() const { return ok_; }
    bool empty() const { return !pending_; }
    bool next(Row& r) {
        if (!pending_) return false;
        r.BankCd = q_.utf8(0);
        r.AcctNo = q_.utf8(1);
        r.Amt = q_.num(2);
        r.CustNo = q_.utf8(3);
        r.ItemCd = q_.utf8(4);
        r.SNo = q_.utf8(5);
        r.Nm = q_.utf8(6);
        r.ItemNm = itemName(q_.utf8(7));
        r.ItemID = q_.utf8(8);
        r.JuNo = q_.utf8(9);
        stepAfter_ = true;
        return true;
    }
    // Moves on once the caller is done with the row handed out.
    bool advance() {
        if (stepAfter_) {
            stepAfter_ = false;
            pending_ = q_.next();
            if (!q_.ok()) ok_ = false;
        }
        return pending_;
    }

private:
    // Item names repeat on every row: each is encoded once.
    const QByteArray* itemName(QByteArrayView utf8) {
        for (const auto& [u, cp] : names_)
            if (same(u, utf8)) return &cp;
        names_.emplace_back(utf8.toByteArray(), cp949(utf8));
        return &names_.back().second;
    }
    Query q_;
    bool ok_ = false;
    bool pending_ = false;
    bool stepAfter_ = false;
    std::list<std::pair<QByteArray, QByteArray>> names_;
};

// ---- Layout200 (the NH group)

// What every record of a Layout200 file shares, worked out once.
struct Run200 {
    // The four password characters the header shows, and their number.
    QString pw;
    qint64 password = 0;
    int dayNo = 0;    // the transfer day
    QByteArray compy; // the institution code in CP949, as records take it
    // Records and amounts per payer class.
    qint64 cnt[3] = {0, 0, 0}, amt[3] = {0, 0, 0};
    qint64 bankDigitSum = 0;
    qint64 count() const { return cnt[0] + cnt[1] + cnt[2]; }
    qint64 total() const { return amt[0] + amt[1] + amt[2]; }
};

// False after a box when the password is no number.
bool prepare200(Run200& run) {
    run.pw = Run.Passwd.left(4);
    if (run.pw.trimmed().isEmpty()) run.pw = kNHDefaultPasswd;
    const QString pwTrim = run.pw.trimmed();
    if (!TDMLib::IsAllDigits(pwTrim)) {
        badPassword();
        return false;
    }
    run.password = pwTrim.toLongLong();
    run.dayNo = Run.StartDate.mid(4, 2).toInt();
    run.compy = Cp949::encode(Run.CompyNo.trimmed());
    return true;
}

void header200(Record& h, const Run200& run) {
    h.text(0, 1, QStringLiteral("S"));
    h.text(1, 3, QStringLiteral("999"));
    h.num(L200::HeadBank, Run.BankCd);
    h.text(7, 1, QStringLiteral("1"));
    h.text(8, 10, Run.CompyNo.trimmed());
    h.text(18, 1, QStringLiteral("2"));
    h.text(19, 2, QStringLiteral("21"));
    h.num(L200::HeadDate, QStringLiteral("20") + Run.StartDate);
    h.num(29, 8, Clock::todayText());
    h.text(37, 4, run.pw);
    h.text(L200::HeadAcct, Run.AcctNo.trimmed());
    h.text(57, 5, Run.EduCode);
    h.text(62, 10, Run.RepCompyNo);
    h.text(L200::HeadRunKey, runYymmSeq());
}

// One data record, counted into run. False after a box when the bank or the
// account is not all digits.
bool data200(QByteArray& out, const Row& r, Run200& run) {
    const qint64 recNo = run.count() + 1;
    // Bank and account are digits only, so their bytes are characters.
    if (!allDigits(r.BankCd) || !allDigits(r.AcctNo) || r.BankCd.isEmpty() || r.BankCd.size() > 9) {
        badAccount(r);
        return false;
    }
    int b = 0;
    for (char c : r.BankCd)
        b = b * 10 + (c - '0');
    const int len = int(r.AcctNo.size());
    // The fourteenth character of the account zero-padded to 14.
    const int lastDigit = len == 0 ? 0 : r.AcctNo[std::min(len, 14) - 1] - '0';
    const int digit = (len == 14 || len == 13 || !same(r.BankCd, "12")) ? lastDigit : 0;
    const int check = TDMBankLib::RecordCheckNH(run.dayNo, digit, r.Amt, run.password);
    run.bankDigitSum += (b >= 10 && b <= 17) ? lastDigit : b;

    Record d(out, 200);
    d.text(0, 1, "D");
    d.num(1, 7, recNo);
    d.encoded(8, 10, run.compy);
    d.text(18, 1, "1");
    d.text(19, 1, "2");
    d.num(L200::Item, r.ItemCd);
    d.num(L200::Bank, r.BankCd);
    if (len <= 14)
        d.num(L200::Acct.off, 14, r.AcctNo); // and two blanks
    else
        d.text(L200::Acct, r.AcctNo);
    d.num(L200::Amt, r.Amt);
    d.num(L200::OkAmt, 0);
    d.encoded(68, 12, *r.ItemNm);
    d.text(80, 1, "0");
    d.text(L200::Payer, r.CustNo);
    d.num(149, 4, check);

    const int cls = (b == 10 || b == 11) ? 0 : (b >= 12 && b <= 17) ? 1 : 2;
    run.cnt[cls] += 1;
    run.amt[cls] += r.Amt;
    return true;
}

void trailer200(Record& t, const Run200& run) {
    const qint64 n = run.count();
    t.text(0, 1, QStringLiteral("E"));
    t.num(L200::TrailAll, n + 2);
    t.num(L200::TrailCount, n);
    t.num(L200::TrailTotal, run.total());
    t.num(30, 7, run.cnt[0]);
    t.num(37, 15, run.amt[0]);
    t.num(52, 7, run.cnt[1]);
    t.num(59, 15, run.amt[1]);
    t.num(74, 7, run.cnt[2]);
    t.num(81, 15, run.amt[2]);
    t.text(96, 4, Run.CheckValue);
}

// Layout200 for the NH group. False after a box when a check number cannot
// be computed.
bool writeLayout200(RowSource& rows, QByteArray& out) {
    Run200 run;
    if (!prepare200(run)) return false;
    {
        Record h(out, 200);
        header200(h, run);
    }
    for (Row r; rows.next(r); rows.advance())
        if (!data200(out, r, run)) return false;
    bool ok = false;
    Run.CheckValue = TDMBankLib::CheckValueNH(run.bankDigitSum, run.count(), run.total(), run.password, &ok);
    if (!ok) {
        badPassword();
        return false;
    }
    Run.Count = run.count();
    Run.Total = run.total();
    Record t(out, 200);
    trailer200(t, run);
    return true;
}

// Layout80, Layout100A and Layout100B. Fails after a box, or with
// *cancelled when the management code was not confirmed.
bool writeLayout80Family(BatFile::Layout layout, RowSource& rows, const CollectSelection& sel,
                         QByteArray& out, bool* cancelled) {
    const bool is100B = layout == BatFile::Layout::L100B;
    const bool is100A = layout == BatFile::Layout::L100A;
    const int width = layout == BatFile::Layout::L80 ? 80 : 100;
    codes.prepare(is100A);
    {
        Record h(out, width);
        if (is100B)
            header100B(h);
        else
            header80(h);
    }
    for (Row r; rows.next(r); rows.advance()) {
        Record d(out, width);
        if (is100B)
            data100B(d, r);
        else
            data80(d, r, is100A);
        Run.Count += 1;
        Run.Total += r.Amt;
        if (!accumulate(r)) return false;
    }
    switch (trailerValue(sel)) {
    case CheckResult::Ok:
        break;
    case CheckResult::Failed:
        return false;
    case CheckResult::Cancelled:
        *cancelled = true;
        return false;
    }
    if (!rows.ok()) return false;
    if (is100A) Run.CheckValue = QString(); // banks 45 and 93 take no check value
    Record t(out, width);
    if (is100B)
        trailer100B(t);
    else
        trailer80(t);
    return true;
}

} // namespace

bool bCreateCollectFile(const QString& StartDate, const QString& EndDate, const QString& BankCd,
                        const QString& RunKey, const QString& EduCode, const CollectSelection& Sel,
                        QString& FileName, int& Count, const RequestBooking& Book) {
    Run.StartDate = StartDate;
    Run.EndDate = EndDate;
    Run.Kind = QStringLiteral("200");
    Run.RunKey = RunKey;
    Run.EduCode = EduCode.isEmpty() ? QStringLiteral("     ") : EduCode;
    Run.BankCd = BankCd == QLatin1String("25") ? QStringLiteral("81") : BankCd;
    Run.RepCompyNo = sRepCompyNo(Run.BankCd);
    Run.Count = 0;
    Run.Total = 0;
    Run.CheckSum = 0;
    Run.AcctDigitSum = 0;
    Run.AmtDigitSum = 0;
    Run.CheckValue.clear();

    if (Run.AcctNo.trimmed().isEmpty()) {
        Msg::error(QStringLiteral("입력요망"),
                   QStringLiteral("이 항목그룹의 학교 계좌가 입력되어 있지 않습니다.\r\r"
                                  "[기본등록-은행등록]에서 은행과 계좌를 등록 하십시오."));
        return false;
    }

    const QString type = BatFile::NextCollectFileType(RunKey);
    if (type.isEmpty()) {
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("이 회차의 집금 이체파일 번호(201~299)를 모두 사용하였습니다.\r\r"
                                  "송신대기 파일을 정리한 후 다시 파일작성을 하세요!!"));
        return false;
    }
    const QString name = RunKey.mid(2, 6) + Run.BankCd + QLatin1Char('.') + type;

    static const QStringList juNoBanks{QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24")};
    const BatFile::BuiltQuery bq = juNoBanks.contains(Sel.BankCd) ? pBuildCollectQueryJuNo(RunKey, Sel)
                                                                  : pBuildCollectQuery(RunKey, Sel);
    std::optional<RowSource> rows;
    if (bq.ok) rows.emplace(bq);
    if (!rows || !rows->ok()) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("회차 자료를 읽을 수 없습니다. (%1)").arg(RunKey));
        return false;
    }
    // No qualifying row: the caller's failure box is all the clerk sees.
    if (rows->empty()) return false;

    const BatFile::Layout layout = BatFile::ChooseLayout(Run.BankCd, Run.StartDate);
    QByteArray content;
    const int width = layout == BatFile::Layout::L200 ? 202 : layout == BatFile::Layout::L80 ? 82 : 102;
    content.reserve(qsizetype(roundRows(RunKey) + 2) * width);
    bool cancelled = false;
    const bool built = layout == BatFile::Layout::L200
                           ? writeLayout200(*rows, content)
                           : writeLayout80Family(layout, *rows, Sel, content, &cancelled);
    if (!rows->ok()) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("회차 자료를 읽을 수 없습니다. (%1)").arg(RunKey));
        return false;
    }
    Run.AcctDigitSum = 0;
    Run.AmtDigitSum = 0;
    if (!built) return false;

    if (!recordsWhole(content, width - 2)) {
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("이체파일의 레코드 길이가 맞지 않습니다. 학생 또는 항목 자료에 줄바꿈 등 "
                                  "쓸 수 없는 문자가 있는지 확인하십시오.\r\r%1")
                       .arg(name));
        return false;
    }
    if (!writeAndPlace(content, name, Book)) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("이체파일을 쓸 수 없습니다.\r\r%1").arg(name));
        return false;
    }
    FileName = name;
    Count = int(Run.Count);
    return true;
}

// ---- Distribution (Layout80, "C2")

QString BatFile::NextDistribFileType(const QString& runKey) {
    Query q(QStringLiteral(
        "select Max(FileType) as FileSeq from M_SRFILE "
        " where SRType = 'S' and YearMon = ? and SeqNo = ? and substr(FileType, 1, 1) = '3' "));
    q.add(runKey.mid(2, 4)).add(runKey.mid(6, 2));
    if (!q.exec()) return {};
    const QString seq = q.next() ? q.str(0).trimmed() : QString();
    if (seq.isEmpty()) return QStringLiteral("301");
    bool ok = false;
    const int n = seq.toInt(&ok);
    if (!ok || n < 300 || n >= 399) return {};
    return QString::number(n + 1);
}

namespace {

void dataDistrib(Record& d, const DistribRow& r) {
    const bool b20 = Run.BankCd == QLatin1String("20");
    d.text(0, 1, QStringLiteral("D"));
    d.num(1, 2, r.BankCd);
    d.text(3, 15, r.AcctNo);
    d.text(18, 2, b20 ? (isHVBT() ? QStringLiteral("UD") : QStringLiteral("10")) : QStringLiteral("30"));
    d.num(20, 11, r.Amt);
    d.num(31, 2, Run.StartDate.mid(4, 2));
    d.num(38, 10, QStringLiteral("0"));
    d.text(48, 1, QStringLiteral("C"));
    d.text(49, 6, r.SNo);
    if (b20 && isHVBT()) {
        d.text(55, 7, r.Nm);
        d.text(62, 10, r.ItemNm);
    } else {
        d.text(55, 17, r.Nm);
    }
    d.num(76, 2, r.ItemCd);
}

qint64 digitSum(const QString& s) {
    qint64 n = 0;
    for (QChar c : s)
        if (c.isDigit()) n += c.digitValue();
    return n;
}

} // namespace

bool bCreateDistribFile(const QString& StartDate, const QString& EndDate, const QString& BankCd,
                        const QString& RunKey, const QList<DistribRow>& Marked, QString& FileName, int& Count,
                        QStringList* leftOut) {
    Run.StartDate = StartDate;
    Run.EndDate = EndDate;
    Run.Kind = QStringLiteral("300");
    Run.RunKey = RunKey;
    Run.BankCd = BankCd;
    Run.Count = 0;
    Run.Total = 0;
    Run.AcctDigitSum = 0;
    Run.AmtDigitSum = 0;
    Run.CheckValue.clear();

    // A row paid already is never paid twice.
    QList<DistribRow> rows;
    for (const DistribRow& r : Marked) {
        if (r.ReplyTy == QLatin1String("1")) {
            if (leftOut) *leftOut << r.SNo + QLatin1Char(' ') + r.Nm;
            continue;
        }
        rows << r;
    }
    if (rows.isEmpty()) {
        plainBox(QStringLiteral("본 회차에는 송신대상 자료가 존재하지 않습니다."));
        return false;
    }
    if (Run.AcctNo.trimmed().isEmpty()) {
        Msg::error(QStringLiteral("입력요망"),
                   QStringLiteral("이 항목그룹의 학교 계좌가 입력되어 있지 않습니다.\r\r"
                                  "[기본등록-은행등록]에서 은행과 계좌를 등록 하십시오."));
        return false;
    }
    const QString type = BatFile::NextDistribFileType(RunKey);
    if (type.isEmpty()) {
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("이 회차의 지급 이체파일 번호(301~399)를 모두 사용하였습니다."));
        return false;
    }
    const QString name = RunKey.mid(2, 6) + BankCd + QLatin1Char('.') + type;

    QByteArray content;
    content.reserve((rows.size() + 2) * 82);
    {
        Record h(content, 80);
        header80(h);
    }
    for (const DistribRow& r : rows) {
        {
            Record d(content, 80);
            dataDistrib(d, r);
        }
        Run.Count += 1;
        Run.Total += r.Amt;
        Run.AcctDigitSum += digitSum(r.AcctNo);
        Run.AmtDigitSum += digitSum(QString::number(r.Amt));
    }
    Run.CheckValue = BankCd == QLatin1String("20") ? TDMBankLib::CheckValue20(Run.AcctDigitSum, Run.AmtDigitSum)
                                                   : QStringLiteral("    ");
    {
        Record t(content, 80);
        trailer80(t);
    }
    Run.AcctDigitSum = 0;
    Run.AmtDigitSum = 0;
    if (!recordsWhole(content, 80)) {
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("이체파일의 레코드 길이가 맞지 않습니다. 학생 또는 항목 자료에 줄바꿈 등 "
                                  "쓸 수 없는 문자가 있는지 확인하십시오.\r\r%1")
                       .arg(name));
        return false;
    }
    if (!writeAndPlace(content, name, {})) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("이체파일을 쓸 수 없습니다.\r\r%1").arg(name));
        return false;
    }
    FileName = name;
    Count = int(Run.Count);
    return true;
}


// ---- Account registration (LayoutReg100)

namespace Reg100 = FileLayout::Reg100;

QString BatFile::NextRegFileType(const QString& runKey) {
    Query q(QStringLiteral("select Max(FileType) as FileSeq from M_SRFILE "
                           " where SRType = 'G' and YearMon = ? and SeqNo = ? and substr(FileType, 1, 1) = 'R' "));
    q.add(runKey.mid(2, 4)).add(runKey.mid(6, 2));
    if (!q.exec()) return {};
    const QString seq = q.next() ? q.str(0).trimmed() : QString();
    if (seq.isEmpty()) return QStringLiteral("R01");
    bool ok = false;
    const int n = seq.mid(1, 2).toInt(&ok);
    if (!ok || n >= 99) return {};
    return QStringLiteral("R%1").arg(n + 1, 2, 10, QLatin1Char('0'));
}

QString BatFile::RegFileBank(const QString& regBank) {
    return regBank == QLatin1String("20") || regBank == QLatin1String("24") ? QStringLiteral("84") : regBank;
}

namespace {

// The consent mark of a record: banks that took it from a given day on.
const char* regConsent(const QString& bank, int todayYymmdd) {
    if (bank == QLatin1String("03")) return todayYymmdd > 80600 ? "Y" : "N";
    if (isNHGroup(bank)) return todayYymmdd > 80500 ? "Y" : "N";
    if (bank == QLatin1String("20") || bank == QLatin1String("23")) return todayYymmdd > 80413 ? "Y" : "N";
    return "Y";
}

} // namespace

bool bCreateRegFile(const QString& RunKey, const QString& RegBank, const QString& RepFacCd, QString& FileName,
                    int& Count, const RequestBooking& Book) {
    const QString table = QStringLiteral("H_R00_") + RunKey;
    if (!Database::isRoundTableName(table) || !Database::tableExists(table)) return false;
    const QString type = BatFile::NextRegFileType(RunKey);
    if (type.isEmpty()) {
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("이 회차의 계좌등록 파일 번호(R01~R99)를 모두 사용하였습니다."));
        return false;
    }
    const QString name = RunKey.mid(2, 6) + BatFile::RegFileBank(RegBank) + QLatin1Char('.') + type;
    const QDate today = Clock::today();
    const QString todayText = today.toString(QStringLiteral("yyyyMMdd"));
    const int yymmdd = today.toString(QStringLiteral("yyMMdd")).toInt();

    QByteArray content;
    {
        Record h(content, Reg100::Width);
        h.text(0, 1, "S");
        QString kind = QStringLiteral("A1");
        if (RegBank == QLatin1String("11") || RegBank == QLatin1String("12") || RegBank == QLatin1String("03"))
            kind = QStringLiteral("E1");
        else if (RegBank == QLatin1String("26"))
            kind = QStringLiteral("C9");
        else if (RegBank == QLatin1String("23"))
            kind = yymmdd > 80413 ? QStringLiteral("A1") : QStringLiteral("E1");
        h.text(Reg100::HeadKind, kind);
        h.text(Reg100::HeadCompy, RepFacCd);
        h.text(Reg100::HeadBank, RegBank == QLatin1String("26") ? QStringLiteral("88") : RegBank);
        h.num(Reg100::HeadDate, todayText);
        h.text(23, 1, "1");
        if (RegBank == QLatin1String("26")) {
            h.num(Reg100::HeadDate26, todayText);
            h.text(Reg100::HeadRepCd, DMData->GetRepCd(QStringLiteral("26")));
        } else if (RegBank != QLatin1String("05")) {
            h.text(Reg100::HeadRepCd, RepFacCd);
        }
        h.text(Reg100::HeadRunKey, RunKey);
    }
    Query q(QStringLiteral("SELECT BankCd, AcctNo, SocId, NapbuNo FROM %1 ORDER BY NapbuNo")
                .arg(Database::quoted(table)));
    if (!q.exec()) return false;
    qint64 n = 0;
    while (q.next()) {
        const QString bank = q.str(0), acct = q.str(1);
        Record d(content, Reg100::Width);
        d.text(0, 1, "D");
        d.num(Reg100::RecNo, ++n);
        d.text(Reg100::Bank, bank == QLatin1String("10") ? QStringLiteral("11") : bank);
        if (isNHGroup(bank))
            d.num(Reg100::Acct.off, 14, acct); // and two blanks
        else
            d.text(Reg100::Acct, acct);
        d.text(26, 1, "1");
        d.num(29, 6, QStringLiteral("0"));
        d.num(Reg100::ReqDate, todayText);
        d.text(Reg100::Consent.off, Reg100::Consent.width, QByteArrayView(regConsent(bank, yymmdd)));
        d.text(Reg100::SocId, q.str(2));
        d.text(Reg100::Payer, q.str(3));
        if (bank == QLatin1String("23")) d.text(Reg100::RunKey23, RunKey);
    }
    if (!q.ok()) return false;
    {
        Record t(content, Reg100::Width);
        t.text(0, 1, "E");
        t.num(Reg100::TrailAll, n + 2);
        t.num(Reg100::TrailCount, n);
        for (int off = 15; off < 50; off += 7)
            t.num(off, 7, qint64(0));
    }
    if (!recordsWhole(content, Reg100::Width)) return false;
    if (!writeAndPlace(content, name, Book)) return false;
    FileName = name;
    Count = int(n);
    return true;
}
