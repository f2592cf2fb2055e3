#include "reports/Receipts.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/report/Report.h"
#include "platform/sys/Clock.h"

#include <algorithm>

namespace Receipts {

namespace {

const int kLines = 9;

ReportWhere receiptWhere(const ReportSelection& s) {
    ReportWhere w;
    w.sql = QStringLiteral("WHERE ExempTy = '1' AND Amt > 0");
    ReportSelect::addBank(w, s);
    ReportSelect::addItems(w, s);
    const QString kind = s.get(QStringLiteral("kind"));
    if (kind == QLatin1String("1"))
        w.add(QStringLiteral("and ReplyTy = '1'"));
    else if (kind == QLatin1String("2"))
        w.add(QStringLiteral("and ReplyTy = '2'"));
    else
        w.add(QStringLiteral("and ReplyTy <> '0'"));
    ReportSelect::addStudents(w, s);
    const QString date = s.get(QStringLiteral("date")).trimmed();
    if (!date.isEmpty()) w.add(QStringLiteral("and ProcDt = ?"), {date});
    w.add(QStringLiteral("and Amt > COALESCE(REAmt, 0)"));
    return w;
}

QString itemName(const RoundRow& r) {
    return DMData ? DMData->GetGItemName(r.itemCd, r.gcode) : r.itemCd;
}

const ReportFont kPlain{QStringLiteral("굴림"), 9};
const ReportFont kSmall{QStringLiteral("굴림"), 7};
const ReportFont kBold{QStringLiteral("굴림"), 16, true};
const ReportFont kMid{QStringLiteral("굴림"), 10, true};

// One of the page's four receipt blocks (k 1-4) with its top left corner;
// its labels are placed relative to that corner.
struct Block {
    ReportBand* band;
    double x, y;
    int k;
    QString n() const { return QString::number(k); }
    void label(const QString& name, double dx, double dy, double w, double h, const QString& text,
               const ReportFont& f, ReportAlign a = ReportAlign::Left) const {
        band->addLabel(name, {x + dx, y + dy, w, h}, text, f, a);
    }
};

// Frame, title, the copy's name, the payer's lines and the amount in words.
void addBlockHead(const Block& b, bool twoCopies) {
    const QString n = b.n();
    b.band->addFrame({b.x, b.y, 97.4, 137.6});
    b.label(QStringLiteral("title") + n, 0, 3, 97.4, 8, QStringLiteral("영       수       증"), kBold,
            ReportAlign::Center);
    if (twoCopies)
        b.label(QStringLiteral("copy") + n, 68, 5, 28, 5,
                b.k % 2 == 1 ? QStringLiteral("(학교보관용)") : QStringLiteral("(학부모보관용)"), kSmall,
                ReportAlign::Right);
    const QStringList heads{QStringLiteral("제     호"), QStringLiteral("항     목"),
                            QStringLiteral("학     번"), QStringLiteral("성     명"),
                            QStringLiteral("계좌번호")};
    const QStringList names{QStringLiteral("QRLblHo"), QStringLiteral("QRLblTotItem"),
                            QStringLiteral("QRLblSNo"), QStringLiteral("QRLblNm"),
                            QStringLiteral("qrlblAcct")};
    b.band->addFrame({b.x + 2, b.y + 13, 93.4, 27.5});
    for (int i = 0; i < 5; ++i) {
        b.label(QStringLiteral("head%1_%2").arg(b.k).arg(i), 4, 14 + 5.5 * i, 20, 5, heads.at(i), kPlain);
        b.label(names.at(i) + n, 26, 14 + 5.5 * i, 68, 5, QString(), kPlain);
    }
    b.label(QStringLiteral("amtcap") + n, 3, 42.5, 20, 5, QStringLiteral("금     액 : "), kPlain);
    b.label(QStringLiteral("QRLblHanAmt") + n, 22, 42.5, 60, 5, QString(), kMid);
    b.label(QStringLiteral("won") + n, 84, 42.5, 12, 5, QStringLiteral("원정"), kPlain);
}

// The table of nine lines with its heads and the total line.
void addBlockTable(const Block& b) {
    const QString n = b.n();
    const double cols[5] = {2, 30, 54, 76, 95.4};
    const QStringList tableHeads{QStringLiteral("내     역"), QStringLiteral("금     액(\\)"),
                                 QStringLiteral("이 체 일 자"), QStringLiteral("비     고")};
    b.band->addFrame({b.x + 2, b.y + 49, 93.4, 6.35 * 11});
    for (int c = 0; c < 4; ++c) {
        b.label(QStringLiteral("th%1_%2").arg(b.k).arg(c), cols[c], 49.5, cols[c + 1] - cols[c], 5,
                tableHeads.at(c), kPlain, ReportAlign::Center);
        if (c > 0) b.band->addLine({b.x + cols[c], b.y + 49, 0, 6.35 * 11});
    }
    for (int line = 0; line <= 9; ++line)
        b.band->addLine({b.x + 2, b.y + 55.35 + 6.35 * line, 93.4, 0});
    for (int line = 1; line <= kLines; ++line) {
        const QString m = QString::number(10 * (b.k - 1) + line);
        const double ly = 49 + 6.35 * line + 0.7;
        b.label(QStringLiteral("QRLblItem") + m, cols[0] + 1, ly, 27, 5, QString(), kPlain);
        b.label(QStringLiteral("QRLblAmt") + m, cols[1], ly, 23, 5, QString(), kPlain, ReportAlign::Right);
        b.label(QStringLiteral("QRLblDate") + m, cols[2], ly, 22, 5, QString(), kPlain, ReportAlign::Center);
        b.label(QStringLiteral("QRLblBigo") + m, cols[3] + 1, ly, 18, 5, QString(), kSmall);
    }
    const double ty = 49 + 6.35 * 10 + 0.7;
    b.label(QStringLiteral("sum") + n, cols[0], ty, 28, 5, QStringLiteral("계"), kPlain, ReportAlign::Center);
    b.label(QStringLiteral("QRLblTotAmt") + n, cols[1], ty, 23, 5, QString(), kPlain, ReportAlign::Right);
}

// The receipt's words, date, school, officer and seal.
void addBlockFoot(const Block& b, const QString& today, const QImage& seal) {
    const QString n = b.n();
    b.label(QStringLiteral("foot1_") + n, 4, 121, 50, 5, QStringLiteral("위 금액을 정히 영수함."), kPlain);
    b.label(QStringLiteral("foot2_") + n, 55, 121, 40, 5, QStringLiteral("일자 : ") + today, kPlain,
            ReportAlign::Right);
    b.label(QStringLiteral("QRLblSchNm") + n, 4, 127, 55, 5, QString(), kPlain, ReportAlign::Right);
    b.label(QStringLiteral("officer") + n, 60, 127, 22, 5, QStringLiteral("세입징수관"), kPlain);
    b.band->addImage(QStringLiteral("QRImage") + n, {b.x + 76, b.y + 117, 19.3, 19.3}, seal);
    b.label(QStringLiteral("foot3_") + n, 4, 132.3, 60, 4,
            QStringLiteral("* 본 영수증은 반드시 1년간 보관하여 주십시요"), kSmall);
    b.label(QStringLiteral("foot4_") + n, 62, 132.3, 33, 4, QStringLiteral("학  부  형    귀하"), kSmall,
            ReportAlign::Right);
}

void fillPage(ReportBand* band, const ReceiptPage& page) {
    for (int k = 1; k <= 4; ++k) {
        const ReceiptBlock& b = page.blocks[k - 1];
        const QString n = QString::number(k);
        band->setText(QStringLiteral("QRLblHo") + n, b.ho);
        band->setText(QStringLiteral("QRLblTotItem") + n, b.totItem);
        band->setText(QStringLiteral("QRLblSNo") + n, b.sNo);
        band->setText(QStringLiteral("QRLblNm") + n, b.nm);
        band->setText(QStringLiteral("qrlblAcct") + n, b.used ? b.acct : QString());
        band->setText(QStringLiteral("QRLblHanAmt") + n, b.hanAmt);
        band->setText(QStringLiteral("QRLblTotAmt") + n, b.totAmt);
        band->setText(QStringLiteral("QRLblSchNm") + n, b.school);
        for (int line = 1; line <= kLines; ++line) {
            const QString m = QString::number(10 * (k - 1) + line);
            const ReceiptLine l = line <= b.lines.size() ? b.lines.at(line - 1) : ReceiptLine{};
            band->setText(QStringLiteral("QRLblItem") + m, l.item);
            band->setText(QStringLiteral("QRLblAmt") + m, l.amount);
            band->setText(QStringLiteral("QRLblDate") + m, l.date);
            band->setText(QStringLiteral("QRLblBigo") + m, l.bigo);
        }
    }
}

} // namespace

bool rows(const ReportSelection& s, bool byGroup, QList<RoundRow>* out, std::optional<ReportBox>* box) {
    out->clear();
    if ((*box = ReportSelect::checkSearch(s))) return false;
    QStringList tables;
    if ((*box = ReportSelect::roundTables(s, &tables))) return false;
    QString error;
    if (!ReportSelect::readRows(tables, receiptWhere(s), out, &error)) {
        *box = ReportBox{QStringLiteral("오류"), error, MsgIcon::Error};
        return false;
    }
    std::stable_sort(out->begin(), out->end(), [byGroup](const RoundRow& a, const RoundRow& b) {
        if (a.sNo != b.sNo) return a.sNo < b.sNo;
        if (a.procDt != b.procDt) return a.procDt < b.procDt;
        if (byGroup && a.gcode != b.gcode) return a.gcode < b.gcode;
        return a.itemCd < b.itemCd;
    });
    return true;
}

QStringList columns() {
    return {QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("항목"), QStringLiteral("금액"),
            QStringLiteral("이체일자"), QStringLiteral("은행"), QStringLiteral("계좌번호")};
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    l.columns = columns();
    if (!rows(s, true, &l.source, &l.box)) return l;
    for (const RoundRow& r : l.source) {
        l.rows << QStringList{r.sNo,
                              r.nm,
                              itemName(r),
                              ReportSelect::amount(r.paid()),
                              ReportSelect::dateText(r.procDt),
                              DMData ? DMData->GetBankName(r.bankCd) : r.bankCd,
                              r.acctNo};
        ++l.count;
        l.total += r.paid();
    }
    return l;
}

QList<ReceiptPage> paginate(const QList<RoundRow>& rows, const ReportSelection& s, bool twoCopies) {
    const int blocks = twoCopies ? 2 : 4; // logical blocks a page
    const int full = blocks * kLines + 1;
    const QString school = ReportSelect::schoolName();
    QList<ReceiptPage> pages;
    qsizetype cursor = 0;
    while (cursor < rows.size()) {
        ReceiptPage page;
        qint64 totals[4] = {0, 0, 0, 0};
        int p = 0;
        QString prev;
        bool first = true;
        while (cursor < rows.size()) {
            const RoundRow& r = rows.at(cursor);
            ++p;
            // Each student starts a block of his own.
            if (!first && r.sNo != prev)
                for (int jump = kLines + 1; jump <= full; jump += kLines)
                    if (p <= jump) {
                        p = jump;
                        break;
                    }
            if (p >= full) break; // the record waits for the next page
            const int b = (p - 1) / kLines;
            const int line = (p - 1) % kLines + 1;
            QList<int> physical;
            if (twoCopies)
                physical = {2 * b, 2 * b + 1};
            else
                physical = {b};
            if (line == 1) totals[b] = 0;
            totals[b] += r.paid();
            for (int k : physical) {
                ReceiptBlock& blk = page.blocks[k];
                if (line == 1) {
                    blk.used = true;
                    blk.ho = s.get(QStringLiteral("ho"));
                    blk.totItem = s.get(QStringLiteral("totitem"));
                    blk.sNo = r.sNo;
                    blk.nm = r.nm;
                    blk.acct = ReportSelect::maskedAcct(r.acctNo);
                    blk.school = school;
                    blk.lines.clear();
                }
                blk.lines << ReceiptLine{itemName(r), ReportSelect::amount(r.paid()),
                                         ReportSelect::dateText(r.procDt), s.get(QStringLiteral("bigo"))};
                blk.totAmt = ReportSelect::amount(totals[b]);
                blk.hanAmt = TDMLib::AmtToKorean(double(totals[b]));
            }
            ++cursor;
            first = false;
            prev = r.sNo;
            if (p == full - 1) break;
        }
        pages << page;
    }
    return pages;
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    const bool twoCopies = s.get(QStringLiteral("double")) == QLatin1String("1");
    QList<RoundRow> list;
    std::optional<ReportBox> box;
    if (!rows(s, twoCopies, &list, &box)) return box;
    if (list.isEmpty()) return ReportSelect::noData();
    const QList<ReceiptPage> pages = paginate(list, s, twoCopies);

    Report r;
    r.title = QStringLiteral("영수증");
    r.printIfEmpty = false;
    ReportBand* band = r.addBand(ReportBand::Detail, 282.3);
    const QImage seal = ReportSelect::seal();
    const QString today = Clock::today().toString(QStringLiteral("yyyy-MM-dd"));
    // The two halves are divided by a line down the middle and one across.
    band->addLine({100.0, 0, 0, 282.3});
    band->addLine({0, 141.7, 200, 0});
    const double xs[4] = {0.8, 101.9, 0.8, 101.9};
    const double ys[4] = {0.8, 0.8, 142.6, 142.6};
    for (int k = 1; k <= 4; ++k) {
        const Block b{band, xs[k - 1], ys[k - 1], k};
        addBlockHead(b, twoCopies);
        addBlockTable(b);
        addBlockFoot(b, today, seal);
    }
    int next = 0;
    r.setNeedData([&] {
        if (next >= pages.size()) return false;
        fillPage(band, pages.at(next++));
        return true;
    });
    *doc = r.layout();
    return std::nullopt;
}

} // namespace Receipts
