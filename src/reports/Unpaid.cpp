#include "reports/Unpaid.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/report/Report.h"
#include "platform/sys/Clock.h"
#include "reports/StudentBlocks.h"
#include "shared/StdListV.h"

namespace Unpaid {

namespace {

const ReportFont kPlain{QStringLiteral("굴림"), 9};

ReportWhere unpaidWhere(const ReportSelection& s) {
    ReportWhere w;
    w.sql = QStringLiteral("WHERE ExempTy IN ('1', '2') AND ReplyTy = '0'");
    ReportSelect::addItems(w, s);
    ReportSelect::addStudents(w, s);
    return w;
}

QString dateWords(const QString& d) {
    return d.left(4) + QStringLiteral(" 년 ") + d.mid(4, 2) + QStringLiteral(" 월 ") + d.mid(6, 2) +
           QStringLiteral(" 일 ");
}

QString todayWords() {
    const QDate today = Clock::today();
    return today.toString(QStringLiteral("yyyy")) + QStringLiteral("  년  ") +
           today.toString(QStringLiteral("MM")) + QStringLiteral("  월  ") +
           today.toString(QStringLiteral("dd")) + QStringLiteral("  일");
}

// Statement k (1 top left, 2 top right, 3 and 4 below): frame, student,
// lines and footer.
void addStatement(ReportBand* band, int k, const QImage& seal) {
    const ReportFont title{QStringLiteral("굴림"), 16, true};
    const double x = (k % 2 == 1) ? 2 : 102, y = k <= 2 ? 2 : 145.5;
    const QString n = QString::number(k);
    const auto label = [&](const QString& name, double dx, double dy, double w, double h,
                           const QString& text = {}, const ReportFont& f = kPlain,
                           ReportAlign a = ReportAlign::Left) -> ReportElement& {
        return band->addLabel(name, {x + dx, y + dy, w, h}, text, f, a);
    };
    band->addFrame({x, y, 96, 139.5});
    label(QStringLiteral("title") + n, 0, 3, 96, 8, QStringLiteral("미 납 명 세 서"), title,
          ReportAlign::Center);
    label(QStringLiteral("snocap") + n, 4, 15, 20, 5, QStringLiteral("학      번 :"));
    label(QStringLiteral("QRLblSchNo") + n, 24, 15, 40, 5);
    label(QStringLiteral("nmcap") + n, 4, 21, 20, 5, QStringLiteral("이      름 :"));
    label(QStringLiteral("QRLblName") + n, 24, 21, 40, 5);
    label(QStringLiteral("QRLblacctnoName") + n, 4, 27, 20, 5, QStringLiteral("계좌번호 :"));
    label(QStringLiteral("QRLblacctno") + n, 24, 27, 40, 5);
    label(QStringLiteral("totcap") + n, 4, 33, 20, 5, QStringLiteral("총      액 :"));
    label(QStringLiteral("QRLblTotAmt") + n, 24, 33, 30, 5, {}, kPlain, ReportAlign::Right);
    label(QStringLiteral("won") + n, 55, 33, 6, 5, QStringLiteral("원"));
    const double head = 38, step = 5.8;
    band->addFrame({x + 3, y + head, 90, step * (kLines + 1)});
    band->addLine({x + 55, y + head, 0, step * (kLines + 1)});
    band->addLine({x + 3, y + head + step, 90, 0});
    label(QStringLiteral("th1_") + n, 3, head + 0.7, 52, 5, QStringLiteral("내                역"), kPlain,
          ReportAlign::Center);
    label(QStringLiteral("th2_") + n, 55, head + 0.7, 38, 5, QStringLiteral("금              액(\\)"), kPlain,
          ReportAlign::Center);
    for (int line = 1; line <= kLines; ++line) {
        const QString m = QString::number(kLines * (k - 1) + line);
        label(QStringLiteral("QRLblItem") + m, 5, head + step * line + 0.6, 49, 5);
        label(QStringLiteral("QRLblAmt") + m, 56, head + step * line + 0.6, 35, 5, {}, kPlain,
              ReportAlign::Right);
    }
    const double fy = head + step * (kLines + 1) + 3;
    label(QStringLiteral("above") + n, 4, fy, 18, 5, QStringLiteral("위 금액을"));
    label(QStringLiteral("QRLblDate") + QString::number(2 * k - 1), 22, fy, 45, 5);
    label(QStringLiteral("kkaji") + n, 67, fy, 20, 5, QStringLiteral("까지"));
    label(QStringLiteral("QRLbldesc") + n, 4, fy + 6, 88, 5);
    label(QStringLiteral("QRLblDate") + QString::number(2 * k), 4, fy + 12, 88, 5, {}, kPlain,
          ReportAlign::Center);
    label(QStringLiteral("QRLblSchName") + n, 4, fy + 18, 64, 5, {}, kPlain, ReportAlign::Right);
    band->addImage(QStringLiteral("QRImage") + n, {x + 72, y + fy + 4, 17, 15.8}, seal);
}

// Statement k of a page: its student's block, blank when the page has none.
void fillStatement(ReportBand* band, int k, const StudentBlock& b, const ReportSelection& s,
                   const QString& deadline, const QString& todayText) {
    const QString n = QString::number(k);
    const RoundRow first = b.used() ? b.rows.first() : RoundRow{};
    const bool account = !first.acctNo.isEmpty();
    band->setText(QStringLiteral("QRLblSchNo") + n, first.sNo);
    band->setText(QStringLiteral("QRLblName") + n, first.nm);
    band->setText(QStringLiteral("QRLblTotAmt") + n, b.used() ? ReportSelect::amount(b.total) : QString());
    band->find(QStringLiteral("QRLblacctnoName") + n)->enabled = b.used() && account;
    band->setText(QStringLiteral("QRLblacctno") + n,
                  account ? ReportSelect::maskedAcct(first.acctNo) : QString());
    band->setText(QStringLiteral("QRLbldesc") + n, !b.used() ? QString()
                                                   : account ? s.get(QStringLiteral("desc2"))
                                                             : s.get(QStringLiteral("desc")));
    band->setText(QStringLiteral("QRLblDate") + QString::number(2 * k - 1), b.used() ? deadline : QString());
    band->setText(QStringLiteral("QRLblDate") + QString::number(2 * k), b.used() ? todayText : QString());
    band->setText(QStringLiteral("QRLblSchName") + n,
                  b.used()
                      ? (DMData ? DMData->GetSchoolName(first.sCd) : QString()) + QStringLiteral("장 (인)")
                      : QString());
    StudentBlocks::fillLines(band, k, kLines, b);
}

} // namespace

bool rows(const ReportSelection& s, QList<RoundRow>* out, std::optional<ReportBox>* box) {
    out->clear();
    if ((*box = ReportSelect::checkSearch(s))) return false;
    QStringList tables;
    if ((*box = ReportSelect::roundTables(s, &tables))) return false;
    QString error;
    if (!ReportSelect::readRows(tables, unpaidWhere(s), out, &error)) {
        *box = ReportBox{QStringLiteral("오류"), error, MsgIcon::Error};
        return false;
    }
    StudentBlocks::sortForPrint(out);
    return true;
}

QStringList columns() {
    return {QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("항목"),
            QStringLiteral("금액")};
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    l.gcode = s.gcode;
    l.columns = columns();
    if (!rows(s, &l.source, &l.box)) return l;
    for (const RoundRow& r : l.source) {
        l.rows << QStringList{r.sNo, r.nm, StudentBlocks::itemName(r),
                              ReportSelect::amount(r.amt, 0) + QLatin1Char(' ')};
        ++l.count;
        l.total += r.amt;
    }
    return l;
}

ReportDocument printRows(const QList<RoundRow>& rows, const ReportSelection& s) {
    // TFrmP109P00: the base list report with only its detail band, as high
    // as the page, holding four statements.
    TFrmStdListV form;
    Report& r = form.QuickRep1;
    form.setTitle(QStringLiteral("미납명세서"));
    for (ReportBand* b : {form.QRBand1, form.ChildBand1, form.QRBand3, form.QRBand4})
        b->enabled = false;
    r.printIfEmpty = false;
    ReportBand* band = form.QRBand2;
    band->height = 287;
    const QImage seal = ReportSelect::seal();
    band->addLine({100, 0, 0, 287});
    band->addLine({0, 143.5, 200, 0});
    for (int k = 1; k <= 4; ++k)
        addStatement(band, k, seal);

    const QList<QList<StudentBlock>> pages = StudentBlocks::pages(rows, kLines, 4);
    const QString deadline = dateWords(s.get(QStringLiteral("deadline")));
    const QString todayText = todayWords();
    int next = 0;
    r.setNeedData([&] {
        if (next >= pages.size()) return false;
        const QList<StudentBlock>& page = pages.at(next++);
        for (int k = 1; k <= 4; ++k)
            fillStatement(band, k, page.at(k - 1), s, deadline, todayText);
        return true;
    });
    return r.layout();
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    QList<RoundRow> list;
    std::optional<ReportBox> box;
    if (!rows(s, &list, &box)) return box;
    if (list.isEmpty()) return ReportSelect::noData();
    // Footers not given are the edits as the window opens them; one given
    // blank stays blank.
    ReportSelection t = s;
    for (const QString& key : {QStringLiteral("desc"), QStringLiteral("desc2")})
        if (!t.extra.contains(key)) t.extra.insert(key, kFooter);
    *doc = printRows(list, t);
    return std::nullopt;
}

bool roundOfGroup(const QString& table, const QString& gcode) {
    if (!Database::isRoundTableName(table)) return false;
    Query q(
        QStringLiteral("SELECT Gcode FROM %1 GROUP BY Gcode ORDER BY Gcode").arg(Database::quoted(table)));
    if (!q.exec() || !q.next()) return false;
    return q.str(0) == gcode;
}

} // namespace Unpaid
