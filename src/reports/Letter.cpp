#include "reports/Letter.h"

#include "platform/report/Report.h"
#include "platform/sys/Clock.h"

#include <utility>

namespace Letter {

namespace {

QString dateLine(const QDate& d) {
    return d.toString(QStringLiteral("yyyy")) + QStringLiteral("  년  ") + d.toString(QStringLiteral("MM")) +
           QStringLiteral("  월  ") + d.toString(QStringLiteral("dd")) + QStringLiteral("  일");
}

QString signature() {
    return ReportSelect::schoolName() + QStringLiteral("장");
}

} // namespace

LetterFields fields(const ReportSelection& s) {
    LetterFields f{s.get(QStringLiteral("no")), s.get(QStringLiteral("title")), s.get(QStringLiteral("date")),
                   s.get(QStringLiteral("body"))};
    if (!s.extra.contains(QStringLiteral("date")))
        f.date = Clock::today().toString(QStringLiteral("yyyy-MM-dd"));
    return f;
}

QDate parseDate(const QString& text) {
    return QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
}

std::optional<ReportBox> check(const LetterFields& f) {
    if (parseDate(f.date).isValid()) return std::nullopt;
    return ReportBox{QStringLiteral("입력요망"), QStringLiteral("일자가 올바르지 않습니다."), MsgIcon::Error};
}

ReportDocument printLetter(const LetterFields& f) {
    Report r;
    r.title = QStringLiteral("가정통신문");
    r.page.left = r.page.top = r.page.right = r.page.bottom = 10;
    ReportBand* band = r.addBand(ReportBand::Detail, 277);
    const ReportFont plain{QStringLiteral("굴림"), 11};
    const ReportFont heading{QStringLiteral("굴림"), 24, true};
    const ReportFont sign{QStringLiteral("굴림"), 18, true};
    band->addLabel(QStringLiteral("QRLabel1"), {0, 8, 190, 12}, QStringLiteral("가  정  통  신  문"), heading,
                   ReportAlign::Center);
    band->addLabel(QStringLiteral("je"), {130, 28, 6, 6}, QStringLiteral("제"), plain);
    band->addLabel(QStringLiteral("QRLblSeqNo"), {136, 28, 40, 6}, {}, plain, ReportAlign::Right).text =
        f.seqNo;
    band->addLabel(QStringLiteral("ho"), {177, 28, 8, 6}, QStringLiteral("호"), plain);
    band->addLabel(QStringLiteral("subject"), {10, 40, 40, 6}, QStringLiteral("제                목 :"),
                   plain);
    band->addLabel(QStringLiteral("QRLblSubject"), {50, 40, 130, 6}, {}, plain).text = f.title;
    band->addLine({10, 47, 170, 0});
    // Values are filled in, not declared, so only the form's own texts must
    // fit. The body keeps to its area: what does not fit is not printed.
    ReportElement& body = band->addLabel(QStringLiteral("QRMemoDescript"), {10, 52, 170, 188}, {}, plain);
    body.text = f.body;
    body.wordWrap = true;
    band->addLabel(QStringLiteral("QRLblDate"), {0, 245, 190, 7}, {}, plain, ReportAlign::Center).text =
        dateLine(parseDate(f.date));
    band->addLabel(QStringLiteral("QRLblSchNm"), {0, 258, 190, 10}, {}, sign, ReportAlign::Center).text =
        signature();
    bool printed = false;
    r.setNeedData([&printed] { return !std::exchange(printed, true); });
    return r.layout();
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    const LetterFields f = fields(s);
    l.columns = {QStringLiteral("항목"), QStringLiteral("내용")};
    if ((l.box = check(f))) return l;
    l.rows = {{QStringLiteral("호수"), f.seqNo},
              {QStringLiteral("제목"), f.title},
              {QStringLiteral("일자"), dateLine(parseDate(f.date))},
              {QStringLiteral("내용"), f.body},
              {QStringLiteral("학교"), signature()}};
    l.count = l.rows.size();
    return l;
}

std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc) {
    const LetterFields f = fields(s);
    if (std::optional<ReportBox> box = check(f)) return box;
    *doc = printLetter(f);
    return std::nullopt;
}

} // namespace Letter
