#include "reports/Notices.h"
#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/report/ReportDocument.h"
#include "platform/ui/Modal.h"
#include "reports/P109B00.h"
#include "reports/P110B00.h"
#include "reports/StudentBlocks.h"
#include "reports/Unpaid.h"
#include "support/TestRoot.h"
#include "transfers/common/Rounds.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// One round of March: student 10101 owes twelve items (more than a notice
// holds, and more than a statement holds with 10102's thirteenth), four
// more students with an account owe one item each, 20101 and 20102 pay in
// cash, and rows that are paid, wholly exempt or of no amount are never
// open.
class NoticeReports : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260301")));
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260302")));
        for (int i = 1; i <= 13; ++i) {
            ColumnValues v{{QStringLiteral("ItemCd"), QStringLiteral("Z") + QString::number(i, 36).toUpper()},
                           {QStringLiteral("Gcode"), QStringLiteral("01")},
                           {QStringLiteral("ItemID"), QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))},
                           {QStringLiteral("ItemNm"), QStringLiteral("항목%1").arg(i)}};
            QString error;
            ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"), v, &error)) << error.toStdString();
        }
        DMData->LoadLists();
        for (int i = 1; i <= 12; ++i)
            add("10101", i, 1000 * i);
        for (const char* sno : {"10102", "10103", "10104", "10105"})
            add(sno, 1, 500);
        for (int i = 1; i <= 11; ++i)
            add("20101", i, 100 * i, "", "2");
        add("20102", 1, 700, "");
        add("10103", 2, 900, "04", "1", "1");             // paid
        add("10104", 2, 900, "04", "0");                  // wholly exempt
        add("10105", 2, 0);                               // nothing to pay
        add("10106", 1, 300, "04", "1", "0", "20260302"); // another round
    }
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    static void add(const char* sno, int item, int amt, const char* bank = "04", const char* exemp = "1",
                    const char* reply = "0", const char* round = "20260301") {
        const QString r = QString::fromLatin1(round);
        const QString b = QString::fromLatin1(bank);
        ColumnValues v{{QStringLiteral("YearMon"), r.left(6)},
                       {QStringLiteral("SeqNo"), r.mid(6)},
                       {QStringLiteral("SNo"), QString::fromLatin1(sno)},
                       {QStringLiteral("ItemCd"), QStringLiteral("%1").arg(item, 2, 10, QLatin1Char('0'))},
                       {QStringLiteral("BankCd"), b},
                       {QStringLiteral("AcctNo"), b.isEmpty() ? QString() : QStringLiteral("12345678901234")},
                       {QStringLiteral("Amt"), amt},
                       {QStringLiteral("ExempTy"), QString::fromLatin1(exemp)},
                       {QStringLiteral("ReplyTy"), QString::fromLatin1(reply)},
                       {QStringLiteral("CustNo"), QStringLiteral("C") + QString::fromLatin1(sno)},
                       {QStringLiteral("Nm"), QStringLiteral("학생") + QString::fromLatin1(sno)},
                       {QStringLiteral("SCd"), QString::fromLatin1(sno).left(1)},
                       {QStringLiteral("Gcode"), QStringLiteral("01")}};
        QString error;
        ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_") + r, v, &error)) << error.toStdString();
    }
    static ReportSelection march(bool cash = false) {
        ReportSelection s;
        s.gcode = QStringLiteral("01");
        s.ym1 = QStringLiteral("202603");
        s.seq1 = QStringLiteral("01");
        s.extra = {{QStringLiteral("kind"), cash ? QStringLiteral("1") : QStringLiteral("0")},
                   {QStringLiteral("year"), QStringLiteral("2026")},
                   {QStringLiteral("sdate"), QStringLiteral("20260320")},
                   {QStringLiteral("edate"), QStringLiteral("20260331")},
                   {QStringLiteral("desc"), QStringLiteral("자동이체하오니 납부하여 주십시요.")},
                   {QStringLiteral("desc2"), QStringLiteral("이체합니다")},
                   {QStringLiteral("deadline"), QStringLiteral("20260331")}};
        return s;
    }
    // "sno:lines" of each block of each page ("-" for an empty block).
    static QStringList shape(const QList<QList<StudentBlock>>& pages) {
        QStringList out;
        for (const QList<StudentBlock>& p : pages) {
            QStringList blocks;
            for (const StudentBlock& b : p)
                blocks << (b.used() ? b.rows.first().sNo + QLatin1Char(':') + QString::number(b.rows.size())
                                    : QStringLiteral("-"));
            out << blocks.join(QLatin1Char(' '));
        }
        return out;
    }
};

TEST_F(NoticeReports, OpenRowsOfEachKind) {
    ReportListing l = Notices::list(march());
    ASSERT_FALSE(l.box);
    EXPECT_EQ(l.count, 16);
    EXPECT_EQ(l.total, 78000 + 2000);
    EXPECT_EQ(l.rows.first(), (QStringList{QStringLiteral("10101"), QStringLiteral("학생10101"),
                                           QStringLiteral("항목1"), QStringLiteral("      1,000")}));
    l = Notices::list(march(true));
    ASSERT_FALSE(l.box);
    EXPECT_EQ(l.count, 12); // 20101's partly exempt rows count
    EXPECT_EQ(l.total, 6600 + 700);

    ReportSelection s = march();
    s.quarter = 5;
    EXPECT_EQ(Notices::list(s).box->text, QStringLiteral("분기를 입력해주세요"));
    s.extra.insert(QStringLiteral("bun"), QStringLiteral("2"));
    EXPECT_FALSE(Notices::list(s).box);
    EXPECT_EQ(Notices::quarterText(s), QStringLiteral("2 분기"));
    s.quarter = 1;
    s.extra.remove(QStringLiteral("bun"));
    EXPECT_EQ(Notices::quarterText(s), QStringLiteral("1 / 4 분기"));

    const struct {
        const char* acct;
        bool part;
        const char* printed;
    } accts[] = {{"12345678901234", true, "123456789XXXXX"},
                 {"123456789012", true, "1234567XXXXX"},
                 {"12345678901234", false, "12345678901234"}};
    for (const auto& c : accts)
        EXPECT_EQ(Notices::printedAcct(QString::fromLatin1(c.acct), c.part), QString::fromLatin1(c.printed));
}

TEST_F(NoticeReports, LongStudentContinuesInTheNextBlock) {
    QList<RoundRow> rows;
    std::optional<ReportBox> box;
    ASSERT_TRUE(Notices::rows(march(), &rows, &box));
    const auto pages = StudentBlocks::pages(rows, Notices::kLines, 4);
    EXPECT_EQ(shape(pages), (QStringList{QStringLiteral("10101:10 10101:2 10102:1 10103:1"),
                                         QStringLiteral("10104:1 10105:1 - -")}));
    EXPECT_EQ(pages[0][1].total, 78000);

    ReportDocument doc;
    ReportSelection s = march();
    s.extra.insert(QStringLiteral("part"), QStringLiteral("1"));
    ASSERT_FALSE(Notices::print(s, &doc));
    ASSERT_EQ(doc.pages.size(), 2);
    // The continuation carries the student's heading and the whole total;
    // the eleventh item opens it, on the same page.
    const QStringList first = doc.pages[0].texts();
    EXPECT_EQ(first.count(QStringLiteral("10101")), 2);
    EXPECT_EQ(first.count(QStringLiteral("     78,000")), 2);
    EXPECT_TRUE(first.contains(QStringLiteral("123456789XXXXX")));
    EXPECT_TRUE(first.contains(QStringLiteral("항목11")));
    EXPECT_EQ(first.count(QStringLiteral("2026 년 03 월 20 일 ")), 4);
    EXPECT_FALSE(doc.pages[1].texts().contains(QStringLiteral("항목11")));
    EXPECT_TRUE(doc.pages[1].texts().contains(QStringLiteral("2026 년도")));

    // Cash form: one student a page, the four parts alike; 20101's eleven
    // rows take two pages.
    ASSERT_FALSE(Notices::print(march(true), &doc));
    ASSERT_EQ(doc.pages.size(), 3);
    EXPECT_EQ(doc.pages[0].texts().count(QStringLiteral("항목10")), 4);
    EXPECT_EQ(doc.pages[1].texts().count(QStringLiteral("항목11")), 4);
    EXPECT_EQ(doc.pages[1].texts().count(QStringLiteral("      6,600")), 4);
    EXPECT_TRUE(doc.pages[2].texts().contains(QStringLiteral("20102")));
    EXPECT_TRUE(doc.pages[2].texts().contains(QStringLiteral("( 은행보관용)")));
}

TEST_F(NoticeReports, StatementsContinueAndChooseTheirFooter) {
    add("10102", 2, 10);
    for (int i = 3; i <= 13; ++i)
        add("10102", i, 10);
    ReportSelection s = march();
    const ReportListing l = Unpaid::list(s);
    ASSERT_FALSE(l.box);
    EXPECT_EQ(l.count, 12 + 13 + 1 + 1 + 2 + 11 + 1); // 10105 owes its row of 0 too
    const auto pages = StudentBlocks::pages(l.source, Unpaid::kLines, 4);
    EXPECT_EQ(shape(pages), (QStringList{QStringLiteral("10101:12 10102:12 10102:1 10103:1"),
                                         QStringLiteral("10104:1 10105:2 20101:11 20102:1")}));

    ReportDocument doc;
    ASSERT_FALSE(Unpaid::print(s, &doc));
    ASSERT_EQ(doc.pages.size(), 2);
    const QStringList first = doc.pages[0].texts();
    EXPECT_EQ(first.count(QStringLiteral("계좌번호 :")), 4);
    EXPECT_EQ(first.count(QStringLiteral("이체합니다")), 4);
    EXPECT_TRUE(first.contains(QStringLiteral("     78,000")));
    // Each block chooses its footer: two with an account, two in cash.
    const QStringList cash = doc.pages[1].texts();
    EXPECT_EQ(cash.count(QStringLiteral("계좌번호 :")), 2);
    EXPECT_EQ(cash.count(QStringLiteral("자동이체하오니 납부하여 주십시요.")), 2);
    EXPECT_TRUE(cash.contains(QStringLiteral("2026 년 03 월 31 일 ")));
    EXPECT_TRUE(cash.contains(QStringLiteral("2026  년  03  월  16  일")));

    // A round is picked only when its lowest group is the chosen one.
    add("10101", 1, 10, "04", "1", "0", "20260302");
    EXPECT_TRUE(Unpaid::roundOfGroup(QStringLiteral("H_200_20260302"), QStringLiteral("01")));
    EXPECT_FALSE(Unpaid::roundOfGroup(QStringLiteral("H_200_20260302"), QStringLiteral("02")));
}

// Students of 13 and 30 open lines among short ones: every block is filled
// in order, a continuation takes the next block even on the same page, and
// only the last page ends in empty blocks.
TEST_F(NoticeReports, LongStudentsLeaveNoEmptyBlockBeforeTheLast) {
    for (int i = 1; i <= 13; ++i)
        add("30101", i, 10);
    for (int i = 1; i <= 30; ++i)
        add("30102", i, 21);
    add("30103", 1, 30);
    const struct {
        const char* name;
        int lines;
        QList<RoundRow> rows;
        std::function<std::optional<ReportBox>(ReportDocument*)> print;
        QStringList shape;
    } cases[] = {
        {"notices",
         Notices::kLines,
         [&] {
             QList<RoundRow> rows;
             std::optional<ReportBox> box;
             Notices::rows(march(), &rows, &box);
             return rows;
         }(),
         [&](ReportDocument* d) { return Notices::print(march(), d); },
         {QStringLiteral("10101:10 10101:2 10102:1 10103:1"),
          QStringLiteral("10104:1 10105:1 30101:10 30101:3"),
          QStringLiteral("30102:10 30102:10 30102:10 30103:1")}},
        {"statements",
         Unpaid::kLines,
         Unpaid::list(march()).source,
         [&](ReportDocument* d) { return Unpaid::print(march(), d); },
         {QStringLiteral("10101:12 10102:1 10103:1 10104:1"),
          QStringLiteral("10105:2 20101:11 20102:1 30101:12"),
          QStringLiteral("30101:1 30102:12 30102:12 30102:6"), QStringLiteral("30103:1 - - -")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pages = StudentBlocks::pages(c.rows, c.lines, 4);
        EXPECT_EQ(shape(pages), c.shape);
        bool empty = false;
        for (const QList<StudentBlock>& p : pages)
            for (const StudentBlock& b : p) {
                EXPECT_FALSE(empty && b.used()) << "an empty block before a student";
                empty = empty || !b.used();
            }
        ReportDocument doc;
        ASSERT_FALSE(c.print(&doc));
        ASSERT_EQ(doc.pages.size(), pages.size());
        // The 30-line student's total heads each of its blocks.
        const QString total = QStringLiteral("        630");
        int heads = 0;
        for (const ReportPage& p : doc.pages)
            heads += int(p.texts().count(total));
        EXPECT_EQ(heads, (30 + c.lines - 1) / c.lines);
        EXPECT_TRUE(doc.pages.last().texts().contains(QStringLiteral("30103")));
    }
}

TEST_F(NoticeReports, WindowsListAndPrintTheirListing) {
    int previews = 0;
    Modal::setRunner([&previews](QDialog*) {
        ++previews;
        return 0;
    });
    TFrmP110B00 w;
    w.MEdtYearMon->setText(QStringLiteral("202603"));
    w.MEdtSeqNo->setText(QStringLiteral("01"));
    w.search();
    EXPECT_EQ(w.listing().count, 16);
    w.print();
    EXPECT_EQ(previews, 1);
    // Another kind of student empties the listing; nothing is printed.
    w.rdoCash->click();
    EXPECT_TRUE(w.edtBank->isVisibleTo(&w));
    EXPECT_EQ(w.listing().count, 0);
    w.print();
    EXPECT_EQ(previews, 1);
    w.cboBUNGI->setCurrentIndex(5);
    w.cboBUNGIChange();
    EXPECT_TRUE(w.EditBun->isVisibleTo(&w));
    msg.expect(MsgResult::Ok);
    w.MEdtYearMon->setText(QStringLiteral("202603"));
    w.MEdtSeqNo->setText(QStringLiteral("01"));
    w.search();
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("분기를 입력해주세요")});

    TFrmP109B00 u;
    u.MEdtYearMon->setText(QStringLiteral("202603"));
    u.MEdtSeqNo->setText(QStringLiteral("01"));
    u.search();
    EXPECT_EQ(u.listing().count, 16 + 12 + 1);
    EXPECT_EQ(u.pnlTotCnt->text(), QStringLiteral("29"));
    u.print();
    EXPECT_EQ(previews, 2);
}

} // namespace
