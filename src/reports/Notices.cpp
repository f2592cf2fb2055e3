#include "reports/Notices.h"

#include "data/DMMain.h"
#include "platform/report/Report.h"
#include "reports/StudentBlocks.h"
#include "transfers/common/Rounds.h"

namespace Notices {

namespace {

QString schoolOf(const RoundRow& r) {
    return (DMData ? DMData->GetSchoolName(r.sCd) : QString()) + QStringLiteral("장 (인)");
}

ReportWhere noticeWhere(const ReportSelection& s) {
    ReportWhere w;
    w.sql = QStringLiteral("WHERE ExempTy IN ('1', '2') AND Amt > 0");
    ReportSelect::addItems(w, s);
    w.add(QStringLiteral("and ReplyTy = '0'"));
    // A blank account is stored as NULL.
    w.add(cash(s) ? QStringLiteral("and COALESCE(AcctNo, '') = ''") : QStringLiteral("and AcctNo <> ''"));
    ReportSelect::addStudents(w, s);
    return w;
}

const ReportFont kPlain{QStringLiteral("굴림"), 9};
const ReportFont kSmall{QStringLiteral("굴림"), 8};
const ReportFont kTitle{QStringLiteral("굴림"), 15, true};

// One block (notice) or part (cash form) of 65.9 x 173.8 mm at x; lines are
// numbered 10 (k - 1) + 1 .. 10 k.
void addBlock(ReportBand* band, int k, double x, const QString& title, const QString& copyNote) {
    const double y = 10.6, w = 65.9;
    const QString n = QString::number(k);
    const auto label = [&](const QString& name, double dx, double dy, double lw, double h,
                           const QString& text = {}, const ReportFont& f = kPlain,
                           ReportAlign a = ReportAlign::Left) -> ReportElement& {
        return band->addLabel(name, {x + dx, y + dy, lw, h}, text, f, a);
    };
    band->addFrame({x, y, w, 173.8});
    label(QStringLiteral("title") + n, 0, 3, w, 8, title, kTitle, ReportAlign::Center);
    if (!copyNote.isEmpty())
        label(QStringLiteral("copy") + n, 0, 11, w - 2, 4, copyNote, kSmall, ReportAlign::Right);
    label(QStringLiteral("QRLblYear") + n, 2, 16, 24, 5, {}, kPlain, ReportAlign::Right);
    label(QStringLiteral("je") + n, 27, 16, 5, 5, QStringLiteral("제"));
    label(QStringLiteral("QRLblBranch") + n, 32, 16, 32, 5);
    band->addFrame({x + 2, y + 23, w - 4, 13});
    label(QStringLiteral("payer") + n, 3, 27, 11, 5, QStringLiteral("납부자"));
    band->addLine({x + 15, y + 23, 0, 13});
    label(QStringLiteral("snocap") + n, 16, 24, 12, 5, QStringLiteral("학  번"));
    label(QStringLiteral("QRLblSNo") + n, 29, 24, 34, 5);
    label(QStringLiteral("nmcap") + n, 16, 30, 12, 5, QStringLiteral("성  명"));
    label(QStringLiteral("QRLblName") + n, 29, 30, 34, 5);
    // Lines: head at 40, ten lines 7.6 mm apart, the total below them.
    const double head = 42, step = 7.4;
    band->addFrame({x + 2, y + head, w - 4, step * 12});
    band->addLine({x + 38, y + head, 0, step * 12});
    label(QStringLiteral("th1_") + n, 2, head + 1.3, 36, 5, QStringLiteral("내  역"), kPlain,
          ReportAlign::Center);
    label(QStringLiteral("th2_") + n, 38, head + 1.3, 25.9, 5, QStringLiteral("금  액"), kPlain,
          ReportAlign::Center);
    for (int line = 1; line <= 11; ++line)
        band->addLine({x + 2, y + head + step * line, w - 4, 0});
    for (int line = 1; line <= kLines; ++line) {
        const QString m = QString::number(kLines * (k - 1) + line);
        const double ly = head + step * line + 1.3;
        label(QStringLiteral("QRLblItem") + m, 3, ly, 34, 5);
        label(QStringLiteral("QRLblAmt") + m, 38, ly, 25, 5, {}, kPlain, ReportAlign::Right);
    }
    const double ty = head + step * 11 + 1.3;
    label(QStringLiteral("sum") + n, 2, ty, 36, 5, QStringLiteral("합  계"), kPlain, ReportAlign::Center);
    label(QStringLiteral("QRLblTotAmt") + n, 38, ty, 25, 5, {}, kPlain, ReportAlign::Right);
}

// The page of four notices (TFrmP110P00).
void layoutNotices(ReportBand* band, const QImage& seal) {
    const QString footers[4] = {QStringLiteral("QRLabel7"), QStringLiteral("QRLabel39"),
                                QStringLiteral("QRLabel59"), QStringLiteral("QRLabel79")};
    for (int k = 1; k <= 4; ++k) {
        const double x = 1 + 69.0 * (k - 1);
        const QString n = QString::number(k);
        addBlock(band, k, x, QStringLiteral("납 부 고 지 서"), QString());
        if (k > 1) band->addLine({x - 1.6, 0, 0, 189.2});
        // The bank and account stand on a line of their own under the payer box.
        band->addLabel(QStringLiteral("QRLblBank") + n, {x + 3, 10.6 + 36.6, 22, 4.5}, {}, kSmall);
        band->addLabel(QStringLiteral("QRLblAcctNo") + n, {x + 25, 10.6 + 36.6, 39, 4.5}, {}, kSmall);
        const double y = 10.6 + 133;
        band->addLabel(QStringLiteral("above") + n, {x + 3, y, 22, 5}, QStringLiteral("상기 금액을 "),
                       kPlain);
        band->addLabel(QStringLiteral("QRLblFromDate") + n, {x + 3, y + 6, 44, 5}, {}, kPlain);
        band->addLabel(QStringLiteral("buteo") + n, {x + 48, y + 6, 15, 5}, QStringLiteral("부터"), kPlain);
        band->addLabel(QStringLiteral("QRLblToDate") + n, {x + 3, y + 12, 44, 5}, {}, kPlain);
        band->addLabel(QStringLiteral("kkaji") + n, {x + 48, y + 12, 15, 5}, QStringLiteral("까지"), kPlain);
        band->addLabel(footers[k - 1], {x + 3, y + 18, 60, 9}, {}, kSmall).wordWrap = true;
        band->addLabel(QStringLiteral("QRLblSchName") + n, {x + 3, y + 31, 50, 5}, {}, kPlain,
                       ReportAlign::Right);
        band->addImage(QStringLiteral("QRImage") + n, {x + 44, y + 25, 19, 17.7}, seal);
    }
}

// The cash payment form of four parts for one student (TFrmP110P01).
void layoutCashForm(ReportBand* band, const QImage& seal) {
    const QString titles[4] = {QStringLiteral("납 부고 지 서"), QStringLiteral("영    수    증"),
                               QStringLiteral("영 수 필 통 지 서"), QStringLiteral("영 수 필 통 지 서")};
    const QString notes[4] = {QString(), QStringLiteral("( 학부모보관용)"), QStringLiteral("( 학교보관용)"),
                              QStringLiteral("( 은행보관용)")};
    const QString words[4] = {QString(), QStringLiteral("영수함."), QStringLiteral("영수하였음을 통지함."),
                              QStringLiteral("영수하였음을 확인함.")};
    for (int k = 1; k <= 4; ++k) {
        const double x = 1 + 69.0 * (k - 1);
        const QString n = QString::number(k);
        addBlock(band, k, x, titles[k - 1], notes[k - 1]);
        if (k > 1) band->addLine({x - 1.6, 0, 0, 189.2});
        const double y = 10.6 + 133;
        if (k == 1) {
            band->addLabel(QStringLiteral("payat"), {x + 3, y, 18, 5}, QStringLiteral("납입장소"), kPlain);
            band->addLabel(QStringLiteral("qrlblBank"), {x + 21, y, 42, 5}, {}, kPlain);
            band->addLabel(QStringLiteral("payacct"), {x + 3, y + 6, 18, 5}, QStringLiteral("계좌번호"),
                           kPlain);
            band->addLabel(QStringLiteral("qrlblAcctNo"), {x + 21, y + 6, 42, 5}, {}, kPlain);
            band->addLabel(QStringLiteral("due"), {x + 3, y + 12, 18, 5}, QStringLiteral("납입기한"), kPlain);
            band->addLabel(QStringLiteral("QRLblFromDate1"), {x + 21, y + 12, 42, 5}, {}, kPlain);
            band->addLabel(QStringLiteral("please"), {x + 3, y + 19, 60, 5},
                           QStringLiteral("위 금액을 납부하여 주십시오."), kPlain);
        } else {
            band->addLabel(QStringLiteral("above") + n, {x + 3, y, 22, 5}, QStringLiteral("상기 금액을 "),
                           kPlain);
            band->addLabel(QStringLiteral("words") + n, {x + 25, y, 38, 5}, words[k - 1], kPlain);
            if (k == 2) {
                band->addFrame({x + 3, y + 6, 60, 12});
                band->addLabel(QStringLiteral("remark"), {x + 4, y + 6.5, 10, 4}, QStringLiteral("적요"),
                               kSmall);
                band->addLabel(QStringLiteral("QRLabel20"), {x + 14, y + 6.5, 48, 11}, {}, kSmall).wordWrap =
                    true;
            }
            band->addImage(QStringLiteral("QRImage") + QString::number(k - 1), {x + 44, y + 18, 19, 17.7},
                           seal);
        }
        band->addLabel(QStringLiteral("QRLblSchName") + n, {x + 3, y + 31, 50, 5}, {}, kPlain,
                       ReportAlign::Right);
    }
}

} // namespace

bool cash(const ReportSelection& s) {
    return s.get(QStringLiteral("kind")) == QLatin1String("1");
}

QString quarterText(const ReportSelection& s) {
    if (s.quarter == 5 || s.extra.contains(QStringLiteral("bun")))
        return s.get(QStringLiteral("bun")) + QStringLiteral(" 분기");
    return Rounds::kQuarterEntries.value(s.quarter);
}

QString dateWords(const QString& d) {
    return d.left(4) + QStringLiteral(" 년 ") + d.mid(4, 2) + QStringLiteral(" 월 ") + d.mid(6, 2) +
           QStringLiteral(" 일 ");
}

QString printedAcct(const QString& acctNo, bool part) {
    if (!part) return acctNo;
    return acctNo.left(std::max<qsizetype>(0, acctNo.size() - 5)) + QStringLiteral("XXXXX");
}

bool rows(const ReportSelection& s, QList<RoundRow>* out, std::optional<ReportBox>* box) {
    out->clear();
    if (s.quarter == 5 && s.get(QStringLiteral("bun")).trimmed().isEmpty()) {
        *box = ReportBox{QStringLiteral("입력요망"), QStringLiteral("분기를 입력해주세요"), MsgIcon::Error};
        return false;
    }
    if ((*box = ReportSelect::checkSearch(s))) return false;
    QStringList tables;
    if ((*box = ReportSelect::roundTables(s, &tables))) return false;
    QString error;
    if (!ReportSelect::readRows(tables, noticeWhere(s), out, &error)) {
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
        l.rows << QStringList{r.sNo, r.nm, StudentBlocks::itemName(r), ReportSelect::amount(r.amt)};
        ++l.count;
        l.total += r.amt;
    }
    return l;
}

ReportDocument printRows(const QList<RoundRow>& rows, const ReportSelection& s) {
    const bool isCash = cash(s);
    Report r;
    r.title = QStringLiteral("납부고지서");
    r.page.landscape = true;
    r.page.left = r.page.top = r.page.right = r.page.bottom = 10;
    r.printIfEmpty = false;
    ReportBand* band = r.addBand(ReportBand::Detail, 189.2);
    const QImage seal = ReportSelect::seal();
    if (isCash)
        layoutCashForm(band, seal);
    else
        layoutNotices(band, seal);

    const QList<QList<StudentBlock>> pages = StudentBlocks::pages(rows, kLines, isCash ? 1 : 4);
    const QString year = s.get(QStringLiteral("year")) + QStringLiteral(" 년도");
    const QString quarter = quarterText(s);
    const QString from = dateWords(s.get(QStringLiteral("sdate")));
    const QString to = dateWords(s.get(QStringLiteral("edate")));
    const QString desc = s.get(QStringLiteral("desc"));
    const bool part = s.get(QStringLiteral("part")) == QLatin1String("1");
    const QString footers[4] = {QStringLiteral("QRLabel7"), QStringLiteral("QRLabel39"),
                                QStringLiteral("QRLabel59"), QStringLiteral("QRLabel79")};
    int next = 0;
    r.setNeedData([&] {
        if (next >= pages.size()) return false;
        const QList<StudentBlock>& page = pages.at(next++);
        for (int k = 1; k <= 4; ++k) {
            // The cash form shows its one student on all four parts.
            const StudentBlock& b = page.at(isCash ? 0 : k - 1);
            const QString n = QString::number(k);
            const RoundRow first = b.used() ? b.rows.first() : RoundRow{};
            const QString total = b.used() ? ReportSelect::amount(b.total) : QString();
            band->setText(QStringLiteral("QRLblYear") + n, b.used() ? year : QString());
            band->setText(QStringLiteral("QRLblBranch") + n, b.used() ? quarter : QString());
            band->setText(QStringLiteral("QRLblSNo") + n, first.sNo);
            band->setText(QStringLiteral("QRLblName") + n, first.nm);
            band->setText(QStringLiteral("QRLblTotAmt") + n, total);
            band->setText(QStringLiteral("QRLblSchName") + n, b.used() ? schoolOf(b.rows.last()) : QString());
            StudentBlocks::fillLines(band, k, kLines, b);
            if (isCash) continue;
            band->setText(QStringLiteral("QRLblBank") + n,
                          b.used() && DMData ? DMData->GetBankName(first.bankCd) : QString());
            band->setText(QStringLiteral("QRLblAcctNo") + n,
                          b.used() ? printedAcct(first.acctNo, part) : QString());
            band->setText(QStringLiteral("QRLblFromDate") + n, b.used() ? from : QString());
            band->setText(QStringLiteral("QRLblToDate") + n, b.used() ? to : QString());
            band->setText(footers[k - 1], b.used() ? desc : QString());
        }
        if (isCash) {
            band->setText(QStringLiteral("qrlblBank"), s.get(QStringLiteral("paybank")));
            band->setText(QStringLiteral("qrlblAcctNo"), s.get(QStringLiteral("payacct")));
            band->setText(QStringLiteral("QRLblFromDate1"), to);
            band->setText(QStringLiteral("QRLabel20"), desc);
        }
        return true;
    });
    return r.layout();
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    QList<RoundRow> list;
    std::optional<ReportBox> box;
    if (!rows(s, &list, &box)) return box;
    if (list.isEmpty()) return ReportSelect::noData();
    // A footer not given is the edit as the window opens it.
    ReportSelection t = s;
    if (!t.extra.contains(QStringLiteral("desc"))) t.extra.insert(QStringLiteral("desc"), kFooter);
    *doc = printRows(list, t);
    return std::nullopt;
}

} // namespace Notices
