#include "reports/ReceiptSums.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/report/Report.h"
#include "platform/sys/Clock.h"
#include "reports/YearEndTax.h"
#include "transfers/common/Rounds.h"

namespace ReceiptSums {

using YearEndTax::extraOr;
using YearEndTax::failed;

namespace {

// Builds M_SumReceipt anew from rows in one transaction.
bool rebuild(const QList<RoundRow>& rows, QString* error) {
    QList<ColumnValues> values;
    int seq = 0;
    for (const RoundRow& r : rows) {
        values << ColumnValues{{QStringLiteral("seq"), ++seq},       {QStringLiteral("CustNo"), r.custNo},
                               {QStringLiteral("Sno"), r.sNo},       {QStringLiteral("Name"), r.nm},
                               {QStringLiteral("ItemCd"), r.itemCd}, {QStringLiteral("Gcode"), r.gcode},
                               {QStringLiteral("Amt"), r.amt},       {QStringLiteral("ProcDt"), r.procDt},
                               {QStringLiteral("BankCd"), r.bankCd}, {QStringLiteral("AcctNo"), r.acctNo}};
    }
    return Database::replaceTable(Tables::MSumReceipt(), values, error);
}

QString itemName(const RoundRow& r) {
    return DMData ? DMData->FindGItemName(r.gcode, r.itemCd) : r.itemCd;
}

// The period's payments of the chosen items, bank, kind and students.
ReportWhere paymentsWhere(const ReportSelection& s, const YearEndTax::TwoGroups& groups, const QString& first,
                          const QString& last) {
    ReportWhere w;
    w.sql = QStringLiteral("WHERE t1.ExempTy = '1' and t1.Amt > COALESCE(t1.REAmt, 0)");
    YearEndTax::addGroups(w, {{groups.g1, groups.items1}, {groups.g2, groups.items2}});
    w.add(QStringLiteral("and t1.ProcDt BETWEEN ? AND ?"), {first, last});
    const QString bank = s.bank.left(2);
    if (Rounds::isBankFamily(bank))
        w.add(QStringLiteral("and t1.BankCd IN ('10', '11', '12')"));
    else if (!bank.isEmpty() && bank != QLatin1String("00"))
        w.add(QStringLiteral("and t1.BankCd = ?"), {bank});
    const QString kind = s.get(QStringLiteral("kind"));
    w.add(kind == QLatin1String("1")   ? QStringLiteral("and t1.ReplyTy = '1'")
          : kind == QLatin1String("2") ? QStringLiteral("and t1.ReplyTy = '2'")
                                       : QStringLiteral("and t1.ReplyTy <> '0'"));
    YearEndTax::addStudentRange(w, QStringLiteral("t2.SNo"), MakeSNo(s.hak1, s.ban1, s.bun1),
                                MakeSNo(s.hak2, s.ban2, s.bun2));
    return w;
}

bool readPayments(const QStringList& tables, const ReportWhere& w, QList<RoundRow>* rows, QString* error) {
    return YearEndTax::readJoined(
        tables,
        QStringLiteral(
            "t1.CustNo, t1.Gcode, t1.ItemCd, t1.Amt - COALESCE(t1.REAmt, 0), t1.ProcDt, t1.AcctNo, "
            "t2.SNo, t2.Nm, t1.BankCd"),
        w,
        [rows](const Query& q) {
            RoundRow r;
            r.custNo = q.str(0);
            r.gcode = q.str(1);
            r.itemCd = q.str(2);
            r.amt = q.num(3);
            r.procDt = q.str(4);
            r.acctNo = q.str(5);
            r.sNo = q.str(6);
            r.nm = q.str(7);
            r.bankCd = q.str(8);
            *rows << r;
        },
        error);
}

// The rows of M_SumReceipt into the listing: by student number and payer,
// then payment date, group and item.
void listWorkTable(ReportListing& l) {
    // The payer follows the student number, so two students who share a
    // number keep their rows, and their receipts, apart.
    Query q(QStringLiteral(
        "SELECT Sno, Name, Gcode, ItemCd, Amt, ProcDt, BankCd, AcctNo, CustNo FROM M_SumReceipt "
        "ORDER BY Sno, CustNo, ProcDt, Gcode, ItemCd, seq"));
    if (!q.exec()) {
        l.box = failed(q.error());
        return;
    }
    while (q.next()) {
        RoundRow r;
        r.sNo = q.str(0);
        r.nm = q.str(1);
        r.gcode = q.str(2);
        r.itemCd = q.str(3);
        r.amt = q.num(4);
        r.procDt = q.str(5);
        r.bankCd = q.str(6);
        r.acctNo = q.str(7);
        r.custNo = q.str(8);
        l.rows << QStringList{r.sNo,
                              r.nm,
                              itemName(r),
                              ReportSelect::amount(r.amt),
                              ReportSelect::dateText(r.procDt),
                              DMData ? DMData->GetBankName(r.bankCd) : r.bankCd,
                              r.acctNo};
        l.source << r;
        ++l.count;
        l.total += r.amt;
    }
}

} // namespace

QString firstDate(const ReportSelection& s) {
    const QDate d(Clock::today().year() - 1, 1, 1);
    return extraOr(s, QStringLiteral("sdt"), d.toString(QStringLiteral("yyyyMMdd"))).trimmed();
}

QString lastDate(const ReportSelection& s) {
    const QDate d(Clock::today().year() - 1, 12, 31);
    return extraOr(s, QStringLiteral("edt"), d.toString(QStringLiteral("yyyyMMdd"))).trimmed();
}

QStringList roundTables(const QString& first, const QString& last) {
    const QDate d = QDate::fromString(first, QStringLiteral("yyyyMMdd"));
    // A round of the month before may hold payments made inside the period.
    const int from =
        d.isValid() ? d.addDays(-31).toString(QStringLiteral("yyyyMM")).toInt() : first.left(6).toInt();
    const int to = last.left(6).toInt();
    QStringList out;
    for (const QString& t : Rounds::collectionTables()) {
        const int ym = t.mid(6, 6).toInt();
        if (ym >= from && ym <= to) out << t;
    }
    return out;
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    l.gcode = s.gcode;
    l.columns = {QStringLiteral("학번"),    QStringLiteral("성명"),     QStringLiteral("항목"),
                 QStringLiteral("금액"),    QStringLiteral("이체일자"), QStringLiteral("은행"),
                 QStringLiteral("계좌번호")};
    if ((l.box = ReportSelect::checkStudents(s))) return l;
    const YearEndTax::TwoGroups groups = YearEndTax::twoGroups(s);
    QString error;
    if (groups.empty()) {
        if (!rebuild({}, &error))
            l.box = failed(error);
        else
            l.box = ReportBox{Rounds::programTitle(), QStringLiteral("선택된 항목이 하나도 없습니다.."),
                              MsgIcon::None};
        return l;
    }
    const QString first = firstDate(s), last = lastDate(s);
    const ReportWhere w = paymentsWhere(s, groups, first, last);
    QList<RoundRow> rows;
    if (!readPayments(roundTables(first, last), w, &rows, &error)) {
        l.box = failed(error);
        return l;
    }
    if (!rebuild(rows, &error)) {
        l.box = failed(error);
        return l;
    }
    listWorkTable(l);
    return l;
}

QList<ReceiptSumPage> paginate(const QList<RoundRow>& rows) {
    QList<ReceiptSumPage> pages;
    qint64 total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const RoundRow& r = rows.at(i);
        const bool samePayer = i > 0 && rows.at(i - 1).custNo == r.custNo;
        if (!samePayer || pages.last().lines.size() >= kLines) {
            ReceiptSumPage p;
            p.sNo = r.sNo;
            p.nm = r.nm;
            p.acct = ReportSelect::maskedAcct(r.acctNo);
            pages << p;
            total = 0;
        }
        ReceiptSumPage& p = pages.last();
        p.lines << ReceiptSumPage::Line{itemName(r), ReportSelect::amount(r.amt),
                                        ReportSelect::dateText(r.procDt)};
        total += r.amt;
        p.totAmt = ReportSelect::amount(total);
        p.hanAmt = TDMLib::AmtToKorean(double(total));
    }
    return pages;
}

ReportDocument printRows(const QList<RoundRow>& rows, const ReportSelection& s) {
    const QList<ReceiptSumPage> pages = paginate(rows);
    Report r;
    r.title = QStringLiteral("인쇄");
    r.printIfEmpty = false;
    ReportBand* band = r.addBand(ReportBand::Detail, 282);
    const ReportFont plain{QStringLiteral("굴림"), 10};
    const ReportFont small{QStringLiteral("굴림"), 8};
    const ReportFont mid{QStringLiteral("굴림"), 11, true};
    const ReportFont title{QStringLiteral("굴림"), 20, true};
    const auto label = [band](const QString& name, double x, double y, double w, double h,
                              const QString& text, const ReportFont& f, ReportAlign a = ReportAlign::Left) {
        band->addLabel(name, {x, y, w, h}, text, f, a);
    };
    label(QStringLiteral("title"), 0, 6, 200, 11, QStringLiteral("영       수       증"), title,
          ReportAlign::Center);
    const QStringList heads{QStringLiteral("제     호"), QStringLiteral("항     목"),
                            QStringLiteral("학     번"), QStringLiteral("성     명"),
                            QStringLiteral("계좌번호")};
    const QStringList names{QStringLiteral("QRLblHo1"), QStringLiteral("QRLblTotItem1"),
                            QStringLiteral("QRLblSNo1"), QStringLiteral("QRLblNm1"),
                            QStringLiteral("qrlblAcct1")};
    band->addFrame({10, 22, 180, 33});
    for (int i = 0; i < 5; ++i) {
        label(QStringLiteral("head%1").arg(i), 14, 23.5 + 6.3 * i, 25, 6, heads.at(i), plain);
        label(names.at(i), 42, 23.5 + 6.3 * i, 140, 6, QString(), plain);
    }
    label(QStringLiteral("amtcap"), 12, 59, 25, 6, QStringLiteral("금     액 : "), plain);
    label(QStringLiteral("QRLblHanAmt1"), 38, 59, 120, 6, QString(), mid);
    label(QStringLiteral("won"), 160, 59, 20, 6, QStringLiteral("원정"), plain);

    const double top = 67, lh = 5.6;
    const double cols[5] = {10, 70, 110, 145, 190};
    const QStringList th{QStringLiteral("내     역"), QStringLiteral("금     액(\\)"),
                         QStringLiteral("이 체 일 자"), QStringLiteral("비     고")};
    band->addFrame({10, top, 180, lh * (kLines + 2)});
    for (int c = 1; c < 4; ++c)
        band->addLine({cols[c], top, 0, lh * (kLines + 2)});
    for (int i = 1; i <= kLines + 1; ++i)
        band->addLine({10, top + lh * i, 180, 0});
    for (int c = 0; c < 4; ++c)
        label(QStringLiteral("th%1").arg(c), cols[c], top + 0.6, cols[c + 1] - cols[c], 4.6, th.at(c), plain,
              ReportAlign::Center);
    for (int n = 1; n <= kLines; ++n) {
        const double y = top + lh * n + 0.6;
        label(QStringLiteral("QRLblItem%1").arg(n), cols[0] + 1, y, 58, 4.6, QString(), plain);
        label(QStringLiteral("QRLblAmt%1").arg(n), cols[1], y, 38, 4.6, QString(), plain, ReportAlign::Right);
        label(QStringLiteral("QRLblDate%1").arg(n), cols[2], y, 35, 4.6, QString(), plain,
              ReportAlign::Center);
        label(QStringLiteral("QRLblBigo%1").arg(n), cols[3] + 1, y, 43, 4.6, QString(), small);
    }
    const double ty = top + lh * (kLines + 1) + 0.6;
    label(QStringLiteral("sum"), cols[0], ty, 60, 4.6, QStringLiteral("계"), plain, ReportAlign::Center);
    label(QStringLiteral("QRLblTotAmt1"), cols[1], ty, 38, 4.6, QString(), plain, ReportAlign::Right);

    const double fy = top + lh * (kLines + 2) + 5;
    const QString today = Clock::today().toString(QStringLiteral("yyyy-MM-dd"));
    label(QStringLiteral("foot1"), 12, fy, 90, 6, QStringLiteral("위 금액을 정히 영수함."), plain);
    label(QStringLiteral("foot2"), 110, fy, 78, 6, QStringLiteral("일자 : ") + today, plain,
          ReportAlign::Right);
    label(QStringLiteral("QRLblSchNm1"), 12, fy + 10, 100, 6, QString(), plain, ReportAlign::Right);
    label(QStringLiteral("officer"), 115, fy + 10, 35, 6, QStringLiteral("수입금출납원"), plain);
    band->addImage(QStringLiteral("QRImage1"), {158, fy + 4, 22, 22}, ReportSelect::seal());
    label(QStringLiteral("foot3"), 12, fy + 24, 110, 5,
          QStringLiteral("* 본 영수증은 반드시 1년간 보관하여 주십시요"), small);
    label(QStringLiteral("foot4"), 125, fy + 24, 63, 5, QStringLiteral("학  부  형    귀하"), small,
          ReportAlign::Right);

    const QString ho = s.get(QStringLiteral("ho")), totItem = s.get(QStringLiteral("totitem")),
                  bigo = s.get(QStringLiteral("bigo")), school = ReportSelect::schoolName();
    int next = 0;
    r.setNeedData([&] {
        if (next >= pages.size()) return false;
        const ReceiptSumPage& p = pages.at(next++);
        band->setText(QStringLiteral("QRLblHo1"), ho);
        band->setText(QStringLiteral("QRLblTotItem1"), totItem);
        band->setText(QStringLiteral("QRLblSNo1"), p.sNo);
        band->setText(QStringLiteral("QRLblNm1"), p.nm);
        band->setText(QStringLiteral("qrlblAcct1"), p.acct);
        band->setText(QStringLiteral("QRLblSchNm1"), school);
        band->setText(QStringLiteral("QRLblHanAmt1"), p.hanAmt);
        band->setText(QStringLiteral("QRLblTotAmt1"), p.totAmt);
        for (int n = 1; n <= kLines; ++n) {
            const ReceiptSumPage::Line line =
                n <= p.lines.size() ? p.lines.at(n - 1) : ReceiptSumPage::Line{};
            band->setText(QStringLiteral("QRLblItem%1").arg(n), line.item);
            band->setText(QStringLiteral("QRLblAmt%1").arg(n), line.amount);
            band->setText(QStringLiteral("QRLblDate%1").arg(n), line.date);
            band->setText(QStringLiteral("QRLblBigo%1").arg(n), n <= p.lines.size() ? bigo : QString());
        }
        return true;
    });
    return r.layout();
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    const ReportListing l = list(s);
    if (l.box) return l.box;
    if (l.source.isEmpty()) return ReportSelect::noData();
    *doc = printRows(l.source, s);
    return std::nullopt;
}

} // namespace ReceiptSums
