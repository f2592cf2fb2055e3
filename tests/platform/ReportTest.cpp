#include "platform/report/Report.h"
#include "platform/sys/Clock.h"
#include "support/PdfText.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override { Clock::set(QDateTime(QDate(2026, 3, 16), QTime(10, 20, 30))); }
    void TearDown() override { Clock::reset(); }
};

// A list report: header with the page number, detail with one field, footer.
struct ListReport {
    Report r;
    ReportBand *header, *detail, *summary, *footer;
    ListReport(int rows, double detailHeight = 10) {
        r.headerFirstPageOnly = true;
        r.footerLastPageOnly = true;
        header = r.addBand(ReportBand::PageHeader, 20);
        header->addLabel(QStringLiteral("title"), {0, 0, 200, 8}, QStringLiteral("명부"));
        header->addSysData(QStringLiteral("page"), {150, 0, 50, 5}, ReportSysData::PageNumber);
        detail = r.addBand(ReportBand::Detail, detailHeight);
        detail->addField(QStringLiteral("name"), {0, 0, 50, 5}, QStringLiteral("Nm"));
        summary = r.addBand(ReportBand::Summary, 10);
        summary->addLabel(QStringLiteral("tot"), {0, 0, 50, 5}, QStringLiteral("합계"));
        footer = r.addBand(ReportBand::PageFooter, 10);
        footer->addLabel(QStringLiteral("end"), {0, 0, 50, 5}, QStringLiteral("끝"));
        ReportRows data;
        data.columns = {QStringLiteral("Nm")};
        for (int i = 1; i <= rows; ++i)
            data.rows << QStringList{QStringLiteral("학생%1").arg(i)};
        r.setRows(data);
    }
};

} // namespace

// 287 mm of page: 20 mm header on page 1 leaves room for 26 rows of 10 mm;
// page 2 has no header and takes the other 4 rows, the summary and the footer.
TEST_F(ReportTest, DetailRunOverTwoPagesWithHeaderFirstAndFooterLast) {
    ListReport l(30);
    const ReportDocument doc = l.r.layout();
    ASSERT_EQ(doc.pages.size(), 2);
    const QStringList p1 = doc.pages[0].texts(), p2 = doc.pages[1].texts();
    EXPECT_EQ(p1.first(), QStringLiteral("명부"));
    EXPECT_EQ(p1.at(1), QStringLiteral("1"));
    EXPECT_EQ(p1.size(), 2 + 26);
    EXPECT_EQ(p1.last(), QStringLiteral("학생26"));
    EXPECT_FALSE(p1.contains(QStringLiteral("끝")));
    EXPECT_EQ(p2, (QStringList{QStringLiteral("학생27"), QStringLiteral("학생28"), QStringLiteral("학생29"),
                               QStringLiteral("학생30"), QStringLiteral("합계"), QStringLiteral("끝")}));
    // The footer sits at the bottom of the last page, the first row at the top.
    EXPECT_DOUBLE_EQ(doc.pages[1].items.last().rect.top(), 297.0 - 5 - 10);
    EXPECT_DOUBLE_EQ(doc.pages[1].items.first().rect.top(), 5.0);
}

TEST_F(ReportTest, EmptyDataPrintsTheBaseForm) {
    ListReport l(0);
    ReportDocument doc = l.r.layout();
    ASSERT_EQ(doc.pages.size(), 1);
    EXPECT_EQ(doc.pages[0].texts(), (QStringList{QStringLiteral("명부"), QStringLiteral("1"),
                                                 QStringLiteral("합계"), QStringLiteral("끝")}));
    l.r.printIfEmpty = false;
    EXPECT_TRUE(l.r.layout().pages.isEmpty());
}

// Groups on the class, each on a new page, with counters kept by the report
// through its band events, as the grade-and-class roster does.
TEST_F(ReportTest, GroupsStartNewPagesAndCountPerGroup) {
    Report r;
    ReportBand* col = r.addBand(ReportBand::ColumnHeader, 8);
    col->addLabel(QStringLiteral("cls"), {0, 0, 50, 5});
    col->beforePrint = [&](ReportBand& b) {
        b.setText(QStringLiteral("cls"), r.value(QStringLiteral("SNo")).left(3));
    };
    ReportBand* detail = r.addBand(ReportBand::Detail, 6);
    detail->addField(QStringLiteral("sno"), {0, 0, 30, 5}, QStringLiteral("SNo"));
    int count = 0;
    Report::Group& g = r.addGroup([&] { return r.value(QStringLiteral("SNo")).left(3); }, 0, 6, true);
    g.footer->addLabel(QStringLiteral("cnt"), {0, 0, 50, 5});
    ASSERT_EQ(g.header, nullptr);
    detail->beforePrint = [&](ReportBand&) {
        if (r.value(QStringLiteral("SNo")) != QStringLiteral("20102")) ++count;
    };
    g.footer->beforePrint = [&](ReportBand& b) {
        b.setText(QStringLiteral("cnt"), QString::number(count));
        count = 0;
    };
    ReportRows rows;
    rows.columns = {QStringLiteral("SNo")};
    for (const char* s : {"10101", "10102", "10103", "10201", "20101", "20102"})
        rows.rows << QStringList{QString::fromLatin1(s)};
    r.setRows(rows);
    const ReportDocument doc = r.layout();
    ASSERT_EQ(doc.pages.size(), 3);
    EXPECT_EQ(doc.pages[0].texts(), (QStringList{"101", "10101", "10102", "10103", "3"}));
    EXPECT_EQ(doc.pages[1].texts(), (QStringList{"102", "10201", "1"}));
    EXPECT_EQ(doc.pages[2].texts(), (QStringList{"201", "20101", "20102", "1"}));
}

// Need-data filling: each "more" is one page of up to four lines; a record
// of three lines that does not fit after two stays for the next page.
TEST_F(ReportTest, NeedDataLeavesARecordThatDoesNotFitForTheNextPage) {
    Report r;
    ReportBand* detail = r.addBand(ReportBand::Detail, 280);
    for (int i = 1; i <= 4; ++i)
        detail->addLabel(QStringLiteral("line%1").arg(i), {0, (i - 1) * 6.0, 100, 5});
    const QList<QStringList> records{{"가1", "가2"}, {"나1", "나2", "나3"}, {"다1"}};
    int cursor = 0, calls = 0;
    r.setNeedData([&] {
        ++calls;
        if (cursor >= records.size()) return false;
        detail->clearTexts(QStringLiteral("line"));
        int used = 0;
        while (cursor < records.size() && used + records[cursor].size() <= 4) {
            for (const QString& line : records[cursor])
                detail->setText(QStringLiteral("line%1").arg(++used), line);
            ++cursor;
        }
        return true;
    });
    const ReportDocument doc = r.layout();
    ASSERT_EQ(doc.pages.size(), 2);
    EXPECT_EQ(doc.pages[0].texts(), (QStringList{"가1", "가2", "", ""}));
    EXPECT_EQ(doc.pages[1].texts(), (QStringList{"나1", "나2", "나3", "다1"}));
    EXPECT_EQ(calls, 3);

    // No record at all: "no more" at once, the page prints without its band.
    cursor = int(records.size());
    calls = 0;
    const ReportDocument none = r.layout();
    ASSERT_EQ(none.pages.size(), 1);
    EXPECT_TRUE(none.pages[0].items.isEmpty());
    EXPECT_EQ(calls, 1);
}

TEST_F(ReportTest, TextIsCutAtItsBoxAndAutoSizeFollowsTheText) {
    Report r;
    ReportBand* b = r.addBand(ReportBand::Detail, 20);
    ReportFont f;
    f.size = 10;
    const QString name = QStringLiteral("가나다라마바사아자차카타파하");
    // Values (filled in, not declared): these may be cut.
    b->addLabel(QStringLiteral("cut"), {0, 0, 12, 5}, {}, f).text = name;
    ReportElement& wrap = b->addLabel(QStringLiteral("wrap"), {0, 6, 12, 9}, {}, f);
    wrap.text = name;
    wrap.wordWrap = true;
    b->addLabel(QStringLiteral("auto"), {100, 0, 5, 5}, name, f, ReportAlign::Right).autoSize = true;
    b->addSysData(QStringLiteral("date"), {0, 15, 40, 5}, ReportSysData::Date);
    b->addSysData(QStringLiteral("time"), {40, 15, 40, 5}, ReportSysData::Time);
    r.setNeedData([n = 0]() mutable { return n++ == 0; });
    const ReportDocument doc = r.layout();
    ASSERT_EQ(doc.pages.size(), 1);
    const QList<PageItem>& it = doc.pages[0].items;
    // Three or four syllables of 10 pt fit 12 mm; never part of one.
    const QString cut = it[0].text;
    EXPECT_TRUE(cut == name.left(3) || cut == name.left(4)) << cut.toStdString();
    const QStringList lines = it[1].text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 2); // 9 mm hold two lines of 10 pt
    EXPECT_EQ(lines[0], cut);
    EXPECT_TRUE(name.mid(cut.size()).startsWith(lines[1]));
    EXPECT_EQ(it[2].text, name);
    EXPECT_GT(it[2].rect.width(), 40);
    EXPECT_DOUBLE_EQ(it[2].rect.right(), 5 + 105.0); // right-aligned: the right edge stays
    EXPECT_EQ(it[3].text, QStringLiteral("2026-03-16"));
    EXPECT_EQ(it[4].text, QStringLiteral("10:20:30"));
    EXPECT_TRUE(doc.cutLabels().isEmpty());
}

// A fixed text of the form wider than its box is found in the document and
// in its dump, with the width it needs; a value cut at its box is not.
TEST_F(ReportTest, FixedLabelWiderThanItsBoxIsReported) {
    Report r;
    ReportBand* b = r.addBand(ReportBand::Detail, 30);
    ReportFont f;
    f.size = 10;
    b->addLabel(QStringLiteral("head"), {10, 0, 25, 5}, QStringLiteral("주민등록번호(납세번호)"), f);
    b->addLabel(QStringLiteral("fits"), {10, 6, 40, 5}, QStringLiteral("주민등록번호"), f);
    b->addLabel(QStringLiteral("value"), {10, 12, 10, 5}, {}, f).text = QStringLiteral("110000000XXXXX");
    ReportElement& wrap =
        b->addLabel(QStringLiteral("wrap"), {10, 18, 20, 5}, QStringLiteral("위 금액을 정히 영수함"), f);
    wrap.wordWrap = true;
    b->beforePrint = [](ReportBand& band) {
        band.setText(QStringLiteral("fits"), QStringLiteral("주민등록번호"));
    };
    r.setNeedData([n = 0]() mutable { return n++ == 0; });
    int checked = 0;
    const auto previous = Report::setLayoutCheck([&checked](const ReportDocument&) { ++checked; });
    const ReportDocument doc = r.layout();
    Report::setLayoutCheck(previous);
    EXPECT_EQ(checked, 1);
    const QStringList cut = doc.cutLabels();
    ASSERT_EQ(cut.size(), 2) << cut.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(cut[0].startsWith(QStringLiteral("1 cut 15.0 5.0 25.0 5.0 needs "))) << cut[0].toStdString();
    EXPECT_GT(doc.pages[0].items[0].textWidth, 30);
    EXPECT_TRUE(doc.pages[0].items[0].fixed);
    EXPECT_FALSE(doc.pages[0].items[2].fixed);
    EXPECT_TRUE(cut[1].contains(QStringLiteral("위 금액을"))) << cut[1].toStdString();
    EXPECT_TRUE(doc.dump().contains(cut[0] + QLatin1Char('\n')));
}

// What a reader copies out of the PDF is what was printed: the blanks of a
// text are blanks, never control characters, in every face of the forms.
TEST_F(ReportTest, PdfTextLayerReadsBackAsPrinted) {
    if (!PdfText::available()) GTEST_SKIP() << "no pdftotext";
    Report r;
    ReportBand* b = r.addBand(ReportBand::Detail, 200);
    const QStringList texts{QStringLiteral("1 학년 01 반"), QStringLiteral("영    수    증"),
                            QStringLiteral("2026 년 03 월 20 일"), QStringLiteral("A B-1 (인)")};
    double y = 0;
    for (const QString& family : {QStringLiteral("굴림"), QStringLiteral("굴림체")})
        for (const bool bold : {false, true})
            for (const QString& t : texts) {
                ReportFont f;
                f.family = family;
                f.bold = bold;
                f.size = 10;
                b->addLabel(QStringLiteral("l%1").arg(y), {0, y, 120, 6}, t, f);
                y += 8;
            }
    r.setNeedData([n = 0]() mutable { return n++ == 0; });
    const ReportDocument doc = r.layout();
    EXPECT_EQ(PdfText::mismatches(doc), QStringList());
    QString error;
    const QStringList read = PdfText::pages(doc, &error);
    ASSERT_EQ(read.size(), 1) << error.toStdString();
    EXPECT_TRUE(read[0].contains(QStringLiteral("1 학년 01 반"))) << read[0].toStdString();
    EXPECT_FALSE(read[0].contains(QChar(1)));
}

TEST_F(ReportTest, PdfHoldsTheHangulTextAndDumpTheItems) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
    ListReport l(3);
    l.r.page.landscape = true;
    ReportFont bold;
    bold.family = QStringLiteral("굴림체");
    bold.size = 18;
    bold.bold = bold.underline = true;
    l.header->addLabel(QStringLiteral("big"), {0, 10, 200, 9}, QStringLiteral("학생명부"), bold,
                       ReportAlign::Center);
    l.header->addLine({0, 19, 200, 0});
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QString err;
    ASSERT_TRUE(l.r.writePdf(pdf, &err)) << err.toStdString();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* s : {"학생명부", "학생1", "학생3", "합계"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral(".out.pdf.part"))));

    const QString dump = l.r.layout().dump();
    EXPECT_TRUE(dump.contains(QStringLiteral("1 text ")));
    EXPECT_TRUE(dump.contains(QStringLiteral(" 굴림체/18/bu center 학생명부\n"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("1 line 5.0 24.0 200.0 0.0\n"))) << dump.toStdString();

    // A folder that does not exist: refused, nothing left behind.
    EXPECT_FALSE(l.r.writePdf(dir.filePath(QStringLiteral("no/such/out.pdf")), &err));
}

namespace {

// What a sink is sent: the reports begun and the texts of each page.
struct SeenPages final : ReportPageSink {
    int reports = 0;
    QList<QStringList> pages;
    void begin(const QString&, const PageSetup&) override { ++reports; }
    void page(const ReportPage& page) override { pages << page.texts(); }
};

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A PDF less what differs between two writings of one document: the moment
// and the document's identifiers.
QString pdfContent(const QString& file) {
    static const QRegularExpression varying(QStringLiteral(
        R"(D:\d{14}[^)]*|\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[^<]*|[0-9a-fA-F]{8}-[0-9a-fA-F-]{27}|<[0-9a-fA-F]{32}>)"));
    return QString::fromLatin1(bytesOf(file)).replace(varying, QStringLiteral("#"));
}

} // namespace

// Laid out into a sink, a page leaves the engine as soon as the next one
// starts: the report holds no more than the page it is filling.
TEST_F(ReportTest, EachPageIsSentWhenTheNextStarts) {
    Report r;
    ReportBand* detail = r.addBand(ReportBand::Detail, 280);
    detail->addLabel(QStringLiteral("n"), {0, 0, 50, 5});
    SeenPages seen;
    QList<int> sentWhenAsked;
    int n = 0;
    r.setNeedData([&] {
        sentWhenAsked << int(seen.pages.size());
        if (n == 3) return false;
        detail->setText(QStringLiteral("n"), QString::number(++n));
        return true;
    });
    r.layout(seen);
    // Asked before page 1 and for page 2 while page 1 is open; then one behind.
    EXPECT_EQ(sentWhenAsked, (QList<int>{0, 0, 1, 2}));
    EXPECT_EQ(seen.reports, 1);
    EXPECT_EQ(seen.pages, (QList<QStringList>{{"1"}, {"2"}, {"3"}}));
}

// The files written as a printout is laid out are those of the whole
// document, however the pages reach the writer: laid out into it, or through
// a stream around reports laid out beyond the printing's reach. Two reports
// sent to one writer are one printout, as a document with the second's
// pages added is.
TEST_F(ReportTest, StreamedFilesAreThoseOfTheWholeDocument) {
    QTemporaryDir dir;
    const auto file = [&dir](const QString& name) { return dir.filePath(name); };
    ListReport a(60), b(30);
    b.r.page.landscape = true;
    ReportDocument whole = a.r.layout();
    whole.pages += b.r.layout().pages;
    ASSERT_EQ(whole.pages.size(), 5);
    ASSERT_TRUE(whole.writePdf(file(QStringLiteral("whole.pdf"))));
    ASSERT_TRUE(whole.writeDump(file(QStringLiteral("whole.txt"))));

    ReportWriter into(file(QStringLiteral("into.pdf")), file(QStringLiteral("into.txt")));
    a.r.layout(into);
    b.r.layout(into);
    ASSERT_TRUE(into.finish());
    ReportWriter streamed(file(QStringLiteral("stream.pdf")), file(QStringLiteral("stream.txt")));
    {
        ReportStream stream(streamed);
        EXPECT_TRUE(a.r.layout().pages.isEmpty());
        EXPECT_TRUE(b.r.layout().pages.isEmpty());
    }
    ASSERT_TRUE(streamed.finish());
    EXPECT_EQ(a.r.layout().pages.size(), 3) << "the stream ends with its scope";

    const QString dump = QString::fromUtf8(bytesOf(file(QStringLiteral("whole.txt"))));
    EXPECT_EQ(dump, whole.dump());
    EXPECT_TRUE(dump.contains(QStringLiteral("\n5 text "))) << dump.toStdString();
    const QString pdf = pdfContent(file(QStringLiteral("whole.pdf")));
    EXPECT_TRUE(pdf.startsWith(QStringLiteral("%PDF")));
    for (const QString& name : {QStringLiteral("into"), QStringLiteral("stream")}) {
        EXPECT_EQ(QString::fromUtf8(bytesOf(file(name + QStringLiteral(".txt")))), dump)
            << name.toStdString();
        EXPECT_TRUE(pdfContent(file(name + QStringLiteral(".pdf"))) == pdf) << name.toStdString();
    }
    EXPECT_EQ(into.pages(), 5);
    EXPECT_EQ(streamed.pages(), 5);
}

// The layout check sees every page of a streamed printout, a page at a time,
// numbered as in the whole document.
TEST_F(ReportTest, LayoutCheckSeesEveryStreamedPage) {
    ListReport l(60);
    l.detail->addLabel(QStringLiteral("fixed"), {60, 0, 10, 5}, QStringLiteral("주민등록번호(납세번호)"));
    QStringList seen;
    int calls = 0;
    const auto previous = Report::setLayoutCheck([&](const ReportDocument& doc) {
        ++calls;
        seen += doc.cutLabels();
    });
    const ReportDocument whole = l.r.layout();
    const QStringList wholeCuts = seen;
    const int wholeCalls = calls;
    seen.clear();
    calls = 0;
    SeenPages sink;
    l.r.layout(sink);
    Report::setLayoutCheck(previous);
    EXPECT_EQ(wholeCalls, 1);
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(whole.pages.size(), 3);
    EXPECT_EQ(sink.pages.size(), 3);
    ASSERT_EQ(wholeCuts.size(), 60);
    EXPECT_EQ(seen, wholeCuts);
    EXPECT_TRUE(seen.last().startsWith(QStringLiteral("3 cut "))) << seen.last().toStdString();
}

// A writer puts its files in place only when finished: one dropped half way
// leaves nothing, and a PDF that cannot be written takes the dump with it.
TEST_F(ReportTest, WriterLeavesNoFileUnlessFinished) {
    QTemporaryDir dir;
    const auto files = [&dir] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
    ListReport l(60);
    {
        ReportWriter dropped(dir.filePath(QStringLiteral("out.pdf")),
                             dir.filePath(QStringLiteral("out.txt")));
        l.r.layout(dropped);
        EXPECT_EQ(dropped.pages(), 3);
    }
    EXPECT_EQ(files(), QStringList());

    const QString pdf = dir.filePath(QStringLiteral("no/such/out.pdf"));
    ReportWriter refused(pdf, dir.filePath(QStringLiteral("out.txt")));
    l.r.layout(refused);
    QString error;
    EXPECT_FALSE(refused.finish(&error));
    EXPECT_EQ(error, QStringLiteral("PDF 파일을 쓸 수 없습니다: ") + pdf);
    EXPECT_EQ(files(), QStringList());
}
