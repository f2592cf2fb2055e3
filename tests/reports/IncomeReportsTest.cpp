#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/report/ReportDocument.h"
#include "platform/settings/Registry.h"
#include "platform/ui/Modal.h"
#include "reports/DaySum.h"
#include "reports/Income.h"
#include "reports/Ledger.h"
#include "reports/P101B00.h"
#include "reports/P102B00.h"
#include "reports/P112B00.h"
#include "support/TestRoot.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct Row {
    const char* table;
    const char* sno;
    const char* item; // ItemID
    const char* gcode;
    const char* bank;
    int amt;
    const char* exemp;
    const char* reply;
    int reAmt; // -1: null
    const char* procDt;
};

// Six rounds over two item groups and two fiscal years. The income
// statement reads round 2026-03/01; the daily sum every round on
// 2026-03-10; the ledger the fiscal year 2026 (2026-03 .. 2027-02).
const Row kRows[] = {
    {"20260301", "10101", "01", "01", "04", 1000, "1", "1", -1, "20260310"}, // paid today, REAmt null
    {"20260301", "10101", "02", "01", "04", 100, "1", "1", 0, "20260310"},   // same day and state: one person
    {"20260301", "10109", "02", "01", "04", 2000, "1", "2", 0, "20260311"},  // paid after the day
    {"20260301", "10102", "01", "01", "11", 3000, "1", "3", 1000, "20260310"}, // refunded in part today
    {"20260301", "10103", "01", "01", "10", 4000, "1", "3", 4000, "20260310"}, // refunded whole
    {"20260301", "10104", "02", "01", "04", 500, "1", "0", 0, "20260310"},     // unpaid, dated
    {"20260301", "10201", "01", "01", "04", 6000, "1", "1", 0, "20260309"},    // paid before
    {"20260301", "10201", "02", "01", "04", 700, "1", "1", 0, "20260312"},     // paid after
    {"20260301", "12001", "01", "01", "04", 800, "1", "1", 0, "20260310"},     // class 20
    {"20260301", "70101", "01", "01", "04", 900, "1", "2", 0, "20260310"},     // grade 7
    {"20260301", "10105", "01", "01", "04", 5000, "2", "1", 0, "20260310"},    // partly exempt
    {"20260301", "10106", "03", "01", "04", 0, "1", "1", 0, "20260310"},       // sums to 0
    {"20260302", "10101", "01", "01", "04", 200, "1", "1", 0, "20260310"},
    {"20260302", "10105", "01", "02", "04", 700, "1", "2", 0, "20260310"},  // the other group's item 01
    {"20260302", "10107", "01", "01", "04", 1000, "1", "1", 0, "00000000"}, // no transfer date
    {"20260302", "10108", "01", "01", "04", 1000, "1", "1", 0, "0"},        // no transfer date
    {"20260401", "20101", "01", "02", "04", 300, "1", "1", 0, "20260310"},
    {"20270101", "10101", "01", "01", "04", 400, "1", "1", 0, "20270110"},
    {"20260201", "10101", "01", "01", "04", 50, "1", "1", 0, "20260210"}, // fiscal year 2025
    {"20270301", "10101", "01", "01", "04", 60, "1", "1", 0, "20270310"}, // fiscal year 2027
};

class IncomeReports : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        for (const char* s : {"20260201", "20260301", "20260302", "20260401", "20270101", "20270301"})
            ASSERT_TRUE(DMData->CreateH200(QString::fromLatin1(s)));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("G_GROUP"),
                                        {{QStringLiteral("G_CODE"), QStringLiteral("02")},
                                         {QStringLiteral("G_NAME"), QStringLiteral("방과후")}}));
        item("A1", "01", "01", "수업료", "학교회계", "수업료수입");
        item("A2", "01", "02", "급식비", "학교회계", "급식비수입");
        item("B1", "02", "01", "바이올린", "방과후회계", "특기적성");
        DMData->LoadLists();
        for (const Row& r : kRows)
            add(r);
    }
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    static void item(const char* cd, const char* g, const char* id, const char* nm, const char* kwan,
                     const char* hang) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"),
                                        {{QStringLiteral("ItemCd"), QString::fromUtf8(cd)},
                                         {QStringLiteral("Gcode"), QString::fromUtf8(g)},
                                         {QStringLiteral("ItemID"), QString::fromUtf8(id)},
                                         {QStringLiteral("ItemNm"), QString::fromUtf8(nm)},
                                         {QStringLiteral("Kwan"), QString::fromUtf8(kwan)},
                                         {QStringLiteral("Hang"), QString::fromUtf8(hang)}}));
    }
    static void add(const Row& r) {
        const QString t = QStringLiteral("H_200_") + QString::fromLatin1(r.table);
        ColumnValues v{{QStringLiteral("YearMon"), QString::fromLatin1(r.table).left(6)},
                       {QStringLiteral("SeqNo"), QString::fromLatin1(r.table).mid(6)},
                       {QStringLiteral("SNo"), QString::fromLatin1(r.sno)},
                       {QStringLiteral("ItemCd"), QString::fromLatin1(r.item)},
                       {QStringLiteral("Gcode"), QString::fromLatin1(r.gcode)},
                       {QStringLiteral("BankCd"), QString::fromLatin1(r.bank)},
                       {QStringLiteral("Amt"), r.amt},
                       {QStringLiteral("ExempTy"), QString::fromLatin1(r.exemp)},
                       {QStringLiteral("ReplyTy"), QString::fromLatin1(r.reply)},
                       {QStringLiteral("ProcDt"), QString::fromLatin1(r.procDt)},
                       {QStringLiteral("CustNo"), QStringLiteral("C") + QString::fromLatin1(r.sno)},
                       {QStringLiteral("Nm"), QStringLiteral("학생") + QString::fromLatin1(r.sno)},
                       {QStringLiteral("SCd"), QString::fromLatin1(r.sno).left(1)}};
        if (r.reAmt >= 0) v.append({QStringLiteral("REAmt"), r.reAmt});
        QString error;
        ASSERT_TRUE(Database::insertRow(t, v, &error)) << error.toStdString();
    }
    // A round table of an old layout whose reading fails part-way through a
    // rebuild: it has neither ProcDt nor REAmt.
    static void addBrokenRound() {
        ASSERT_TRUE(Database::exec(QStringLiteral(
            "CREATE TABLE H_200_20260501 (YearMon TEXT, SeqNo TEXT, SNo TEXT, ItemCd TEXT, Gcode TEXT, "
            "Amt INTEGER, SCd TEXT, Nm TEXT)")));
        ASSERT_TRUE(Database::exec(QStringLiteral(
            "INSERT INTO H_200_20260501 VALUES ('202605', '01', '10101', '01', '01', 10, '1', 'x')")));
    }
    static QStringList daySumLines() {
        QList<DaySum::Line> lines;
        QString error;
        EXPECT_TRUE(DaySum::lines(&lines, &error)) << error.toStdString();
        QStringList out;
        for (const DaySum::Line& l : lines)
            out << QStringLiteral("%1/%2 %3 %4 %5 %6")
                       .arg(l.gcode, l.itemCd, l.itemNm, l.kwan, l.hang)
                       .arg(l.totAmt);
        return out;
    }
    static ReportSelection ledgerSelection() {
        ReportSelection s;
        s.extra.insert(QStringLiteral("year"), QStringLiteral("2026"));
        s.extra.insert(QStringLiteral("grades"), QStringLiteral("1,2"));
        s.extra.insert(QStringLiteral("itemcds"), QStringLiteral("A1,B1"));
        return s;
    }
    // "Num:SNo:ItemCd m=date/amount ..." of every MSUNAP row.
    static QStringList ledgerRows() {
        QList<Ledger::Entry> rows;
        Ledger::entries(&rows);
        QStringList out;
        for (const Ledger::Entry& e : rows) {
            QString t = QStringLiteral("%1:%2:%3").arg(e.num).arg(e.sNo, e.itemCd);
            for (int m = 0; m < 12; ++m)
                if (e.used[m]) t += QStringLiteral(" %1=%2/%3").arg(m + 1).arg(e.procDt[m]).arg(e.procAmt[m]);
            out << t;
        }
        return out;
    }
};

TEST_F(IncomeReports, DailySumByGroupAndItem) {
    ReportSelection s;
    s.extra.insert(QStringLiteral("date"), QStringLiteral("20260310"));
    const ReportListing l = DaySum::list(s);
    ASSERT_FALSE(l.box) << l.box->text.toStdString();
    // Group 01 item 01: 1000 + (3000 - 1000) + (4000 - 4000) + 800 + 900 + 5000 in the first round, 200 in
    // the second; item 02: 100 + 500 (unpaid rows count as well); item 03 sums to 0 and gets no line;
    // group 02 item 01 stays apart from group 01's: 700 + 300.
    EXPECT_EQ(daySumLines(), (QStringList{QStringLiteral("01/01 수업료 학교회계 수업료수입 9900"),
                                          QStringLiteral("01/02 급식비 학교회계 급식비수입 600"),
                                          QStringLiteral("02/01 바이올린 방과후회계 특기적성 1000")}));
    EXPECT_EQ(l.count, 3);
    EXPECT_EQ(l.total, 11500);
    EXPECT_EQ(l.rows[0], (QStringList{QStringLiteral("01"), QStringLiteral("수업료"),
                                      QStringLiteral("학교회계"), QStringLiteral("수업료수입"),
                                      QStringLiteral("수업료"), QStringLiteral("          9,900")}));

    s.extra.insert(QStringLiteral("date"), QStringLiteral("20260101"));
    const ReportListing none = DaySum::list(s);
    ASSERT_TRUE(none.box);
    EXPECT_EQ(none.box->text, QStringLiteral("해당되는 자료가 없습니다."));
    EXPECT_EQ(none.box->caption, QStringLiteral("확인"));
    s.extra.remove(QStringLiteral("date"));
    EXPECT_EQ(DaySum::list(s).box->text, QStringLiteral("이체일자를 입력하세요!!"));
}

TEST_F(IncomeReports, DailySumFailureKeepsThePreviousTable) {
    QString error;
    ASSERT_TRUE(DaySum::build(QStringLiteral("20260310"), &error)) << error.toStdString();
    const QStringList before = daySumLines();
    ASSERT_EQ(before.size(), 3);
    addBrokenRound();
    ReportSelection s;
    s.extra.insert(QStringLiteral("date"), QStringLiteral("20260309"));
    const ReportListing l = DaySum::list(s);
    ASSERT_TRUE(l.box);
    EXPECT_EQ(l.box->caption, QStringLiteral("오류"));
    EXPECT_EQ(daySumLines(), before);
}

TEST_F(IncomeReports, DailySumFormContinuesAfterTwentyLines) {
    QList<QStringList> rows;
    for (int i = 1; i <= 23; ++i)
        rows << QStringList{QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')),
                            QStringLiteral("항목"),
                            QStringLiteral("관%1").arg(i),
                            QStringLiteral("항"),
                            QStringLiteral("목"),
                            ReportSelect::amount(1000, 15)};
    const ReportDocument doc = DaySum::printRows(rows, QStringLiteral("20260310"));
    ASSERT_EQ(doc.pages.size(), 2);
    const QStringList p1 = doc.pages[0].texts(), p2 = doc.pages[1].texts();
    EXPECT_TRUE(p1.contains(QStringLiteral("2026 년도")));
    EXPECT_TRUE(p1.contains(QStringLiteral("03 월  10 일분  ")));
    EXPECT_TRUE(p1.contains(QStringLiteral("관20")));
    EXPECT_FALSE(p1.contains(QStringLiteral("관21")));
    EXPECT_FALSE(p1.contains(QStringLiteral("     23,000")));
    EXPECT_TRUE(p2.contains(QStringLiteral("관21")));
    EXPECT_TRUE(p2.contains(QStringLiteral("관23")));
    EXPECT_TRUE(p2.contains(QStringLiteral("     23,000")));
    EXPECT_TRUE(p2.contains(QStringLiteral("수 입 일 계 표")));
}

TEST_F(IncomeReports, IncomeStatementFigures) {
    struct Case {
        const char* name;
        const char* bank;
        const char* item;
        const char* day;
        QList<QStringList> want;
    };
    const auto r = [](std::initializer_list<const char*> l) {
        QStringList out;
        for (const char* s : l)
            out << QString::fromUtf8(s);
        return out;
    };
    const Case cases[] = {
        // Class 1: 1000 + 100 today (one person), 3000 less 1000 refunded today (one person, the 1000 not
        // received), 2000 after the day, the whole refund 4000 and the unpaid 500 not received. Class 2:
        // 6000 before, 700 after. Class 20 counts in the grade's sum only; grade 7 stands alone; the partly
        // exempt row counts nowhere.
        {"every bank and item",
         "00",
         "00",
         "20260310",
         {r({"이체일자", "2026-03-10"}), r({"1", "1", "0", "2", "3,100", "3,100", "7,500"}),
          r({"1", "2", "0", "0", "0", "6,000", "700"}), r({"1", "소계", "0", "3", "3,900", "9,900", "8,200"}),
          r({"7", "1", "0", "1", "900", "900", "0"}), r({"7", "소계", "0", "1", "900", "900", "0"})}},
        {"bank 11 takes 10 and 12 too",
         "11",
         "00",
         "20260310",
         {r({"이체일자", "2026-03-10"}), r({"1", "1", "0", "1", "2,000", "2,000", "5,000"}),
          r({"1", "소계", "0", "1", "2,000", "2,000", "5,000"})}},
        {"one item",
         "00",
         "02",
         "20260310",
         {r({"이체일자", "2026-03-10"}), r({"1", "1", "0", "1", "100", "100", "2,500"}),
          r({"1", "2", "0", "0", "0", "0", "700"}), r({"1", "소계", "0", "1", "100", "100", "3,200"})}},
        // The latest transfer date is 2026-03-12: the partial refund paid earlier keeps 2000 before.
        {"latest transfer date",
         "00",
         "00",
         "",
         {r({"이체일자", "2026-03-12"}), r({"1", "1", "0", "0", "0", "5,100", "4,500"}),
          r({"1", "2", "0", "1", "700", "6,700", "0"}), r({"1", "소계", "0", "1", "700", "12,600", "4,500"}),
          r({"7", "1", "0", "0", "0", "900", "0"}), r({"7", "소계", "0", "0", "0", "900", "0"})}},
    };
    for (const Case& c : cases) {
        ReportSelection s;
        s.gcode = QStringLiteral("01");
        s.ym1 = QStringLiteral("202603");
        s.seq1 = QStringLiteral("01");
        s.bank = QString::fromLatin1(c.bank);
        s.extra.insert(QStringLiteral("item"), QString::fromLatin1(c.item));
        s.extra.insert(QStringLiteral("day"), QString::fromLatin1(c.day));
        const ReportListing l = Income::list(s);
        ASSERT_FALSE(l.box) << c.name;
        EXPECT_EQ(l.rows, c.want) << c.name;
    }

    ReportSelection none;
    none.gcode = QStringLiteral("01");
    EXPECT_EQ(Income::list(none).box->text, QStringLiteral("이체년월과 회차는 반드시 입력하세요!!"));
    none.ym1 = QStringLiteral("202609");
    none.seq1 = QStringLiteral("01");
    EXPECT_EQ(Income::list(none).box->text, QStringLiteral("해당하는 자료가 없습니다."));
}

TEST_F(IncomeReports, IncomeStatementCountersStayInsideTheTable) {
    struct Case {
        const char* sno;
        const char* reply;
        const char* procDt;
        int amt, reAmt;
        int grade, cls; // where it lands; cls 0: the grade's sum only, grade 0: nowhere
        Income::Figures want;
    };
    const Case cases[] = {
        {"10310", "3", "20260301", 1000, 300, 1, 3, {0, 0, 0, 700, 0}},  // partly refunded before
        {"10310", "3", "20260320", 1000, 300, 1, 3, {0, 0, 0, 0, 1000}}, // partly refunded after
        {"10310", "9", "20260310", 1000, 0, 1, 3, {0, 0, 0, 0, 0}},      // unknown state
        {"20010", "1", "20260310", 1000, 0, 2, 0, {0, 1, 1000, 0, 0}},   // class 00
        {"29910", "0", "20260310", 1000, 0, 2, 0, {0, 0, 0, 0, 1000}},   // class 99
        {"81910", "2", "20260301", 500, 0, 8, 19, {0, 0, 0, 500, 0}},    // last class of the last grade
        {"90110", "1", "20260310", 1000, 0, 0, 0, {}},                   // grade 9
        {"A0110", "1", "20260310", 1000, 0, 0, 0, {}},                   // a grade that is no digit
    };
    for (const Case& c : cases) {
        Income::Table t;
        t.add(QString::fromLatin1(c.sno), QString::fromLatin1(c.reply), QString::fromLatin1(c.procDt), c.amt,
              c.reAmt, QStringLiteral("20260310"));
        t.sumGrades();
        Income::Figures all{};
        for (int g = 1; g <= Income::kGrades; ++g)
            for (int i = 0; i < 5; ++i)
                all[i] += t.total(g)[i];
        if (c.grade == 0) {
            EXPECT_EQ(all, Income::Figures{}) << c.sno;
            continue;
        }
        EXPECT_EQ(t.total(c.grade), c.want) << c.sno;
        if (c.cls > 0) {
            EXPECT_EQ(t.at(c.grade, c.cls), c.want) << c.sno;
        }
        EXPECT_EQ(t.upper, c.grade >= 7) << c.sno;
    }
}

TEST_F(IncomeReports, IncomeStatementSheetsByKindOfSchool) {
    ReportSelection s;
    s.gcode = QStringLiteral("01");
    s.ym1 = QStringLiteral("202603");
    s.seq1 = QStringLiteral("01");
    s.extra.insert(QStringLiteral("day"), QStringLiteral("20260310"));
    ReportDocument doc;
    ASSERT_FALSE(Income::print(s, &doc));
    ASSERT_EQ(doc.pages.size(), 1); // not an elementary school: grades 1-3 on one sheet
    EXPECT_TRUE(doc.pages[0].texts().contains(QStringLiteral("19 반")));
    EXPECT_FALSE(doc.pages[0].texts().contains(QStringLiteral("(별지 제10호 서식)")));

    ASSERT_TRUE(
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SelctSch"), QStringLiteral("1")));
    ASSERT_FALSE(Income::print(s, &doc));
    ASSERT_EQ(doc.pages.size(), 2); // grade 7 met: the sheet of grades 7-8 follows
    EXPECT_TRUE(doc.pages[0].texts().contains(QStringLiteral("(별지 제10호 서식)")));
    EXPECT_FALSE(doc.pages[0].texts().contains(QStringLiteral("15 반")));
    EXPECT_TRUE(doc.pages[1].texts().contains(QStringLiteral("7 학년")));
    EXPECT_TRUE(doc.pages[1].texts().contains(QStringLiteral("900")));

    s.bank = QStringLiteral("11"); // no grade 7 row with these banks
    ASSERT_FALSE(Income::print(s, &doc));
    EXPECT_EQ(doc.pages.size(), 1);
}

TEST_F(IncomeReports, LedgerBuild) {
    EXPECT_EQ(Ledger::fiscalTables(QStringLiteral("2026")),
              (QStringList{QStringLiteral("H_200_20260301"), QStringLiteral("H_200_20260302"),
                           QStringLiteral("H_200_20260401"), QStringLiteral("H_200_20270101")}));
    const ReportListing l = Ledger::list(ledgerSelection());
    ASSERT_FALSE(l.box) << l.box->text.toStdString();
    // Each round books the chosen item of its own group; a second payment of
    // March makes a second row; January fills the first row's empty slot;
    // rows without a transfer date, of grade 7, of item 02, of the other group
    // in a round of group 01 and of other fiscal years are not booked.
    EXPECT_EQ(ledgerRows(),
              (QStringList{
                  QStringLiteral("1:10101:A1 1=20270110/400 3=20260310/1000"),
                  QStringLiteral("2:10102:A1 3=20260310/2000"), QStringLiteral("3:10103:A1 3=20260310/0"),
                  QStringLiteral("4:10105:A1 3=20260310/5000"), QStringLiteral("5:10201:A1 3=20260309/6000"),
                  QStringLiteral("6:12001:A1 3=20260310/800"), QStringLiteral("7:10101:A1 3=20260310/200"),
                  QStringLiteral("8:20101:B1 4=20260310/300")}));
    EXPECT_EQ(l.count, 8);
    EXPECT_EQ(l.total, 15700);

    // A student-number range and one grade.
    ReportSelection s = ledgerSelection();
    s.extra.insert(QStringLiteral("grades"), QStringLiteral("2"));
    ASSERT_FALSE(Ledger::list(s).box);
    EXPECT_EQ(ledgerRows(), QStringList{QStringLiteral("1:20101:B1 4=20260310/300")});
    s = ledgerSelection();
    s.hak1 = QStringLiteral("1");
    s.ban1 = QStringLiteral("02");
    s.hak2 = QStringLiteral("1");
    s.ban2 = QStringLiteral("02");
    ASSERT_FALSE(Ledger::list(s).box);
    EXPECT_EQ(ledgerRows(), QStringList{QStringLiteral("1:10201:A1 3=20260309/6000")});

    const QStringList logs =
        column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = ? ORDER BY seq"),
               {QStringLiteral("수납부")});
    EXPECT_EQ(logs, QStringList(3, QStringLiteral("수납테이블생성 성공")));
}

TEST_F(IncomeReports, LedgerChecksAndFailure) {
    const struct {
        const char* key;
        const char* value;
        const char* text;
    } checks[] = {
        {"year", "", "회계년도를 입력하세요!!"},
        {"grades", "", "선택학년을 확인하세요."},
        {"itemcds", "", "선택항목을 확인하세요."},
    };
    for (const auto& c : checks) {
        ReportSelection s = ledgerSelection();
        s.extra.insert(QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        const std::optional<ReportBox> box = Ledger::check(s);
        ASSERT_TRUE(box) << c.key;
        EXPECT_EQ(box->text, QString::fromUtf8(c.text));
    }

    ASSERT_FALSE(Ledger::list(ledgerSelection()).box);
    const QStringList before = ledgerRows();
    ASSERT_EQ(before.size(), 8);
    addBrokenRound();
    const ReportListing l = Ledger::list(ledgerSelection());
    ASSERT_TRUE(l.box);
    EXPECT_TRUE(l.box->text.startsWith(QStringLiteral("수납테이블생성 실패"))) << l.box->text.toStdString();
    EXPECT_EQ(ledgerRows(), before);
    EXPECT_EQ(column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = ? ORDER BY seq"),
                     {QStringLiteral("수납부")}),
              (QStringList{QStringLiteral("수납테이블생성 성공"), QStringLiteral("수납테이블생성 실패")}));
}

TEST_F(IncomeReports, LedgerPrintout) {
    ReportDocument doc;
    const std::optional<ReportBox> empty = Ledger::print({}, &doc);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->text, QStringLiteral("인쇄할 내용이 없습니다."));
    ASSERT_FALSE(Ledger::list(ledgerSelection()).box);
    ASSERT_FALSE(Ledger::print({}, &doc));
    // Classes 101, 102, 120 and 201, a page each.
    ASSERT_EQ(doc.pages.size(), 4);
    const QStringList p1 = doc.pages[0].texts();
    EXPECT_TRUE(p1.contains(QStringLiteral("1 학년 01 반")));
    EXPECT_TRUE(p1.contains(QStringLiteral("수업료")));
    EXPECT_TRUE(p1.contains(QStringLiteral("20270110")));
    EXPECT_TRUE(p1.contains(QStringLiteral("1,000")));
    EXPECT_TRUE(doc.pages[3].texts().contains(QStringLiteral("2 학년 01 반")));
    EXPECT_TRUE(doc.pages[3].texts().contains(QStringLiteral("바이올린")));

    const struct {
        qint64 v;
        const char* text;
    } amounts[] = {{0, ""}, {50, "050"}, {123, "123"}, {1000, "1,000"}, {1234567, "1,234,567"}, {-5, "-005"}};
    for (const auto& a : amounts)
        EXPECT_EQ(Ledger::ledgerAmount(a.v), QString::fromLatin1(a.text)) << a.v;
}

TEST_F(IncomeReports, WindowsListAndPrint) {
    int previews = 0;
    Modal::setRunner([&previews](QDialog*) {
        ++previews;
        return 0;
    });

    TFrmP112B00 day;
    day.bbtnPrintClick(); // nothing listed: nothing printed
    EXPECT_EQ(previews, 0);
    msg.expect(MsgResult::Ok);
    day.bbtnSearchClick();
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("이체일자를 입력하세요!!")});
    day.medtDateShft->setText(QStringLiteral("2026-03-10"));
    day.bbtnSearchClick();
    EXPECT_EQ(day.SGrdDateShft->rowCount(), 3);
    EXPECT_EQ(day.pnlTotAmt->text(), QStringLiteral("11,500"));
    day.bbtnPrintClick();
    EXPECT_EQ(previews, 1);

    ASSERT_TRUE(
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SelctSch"), QStringLiteral("1")));
    TFrmP101B00 income;
    income.MEdtYearMon->setText(QStringLiteral("202603"));
    income.MEdtSeqNo->setText(QStringLiteral("01"));
    income.bbtnShftDateViewClick();
    EXPECT_EQ(income.MEdtSetlDt->text(), QStringLiteral("2026-03-12")); // the latest transfer date
    income.MEdtSetlDt->setText(QStringLiteral("20260310"));
    income.bbtnShftDateViewClick();
    EXPECT_EQ(income.SGrdIncom->item(0, 2)->text().trimmed(), QStringLiteral("2"));
    EXPECT_EQ(income.SGrdIncom->item(0, 3)->text().trimmed(), QStringLiteral("3,100"));
    EXPECT_EQ(income.PnlSum[3]->text(), QStringLiteral("9,900 "));
    income.TabIncom->setCurrentIndex(6);
    EXPECT_EQ(income.SGrdIncom->item(0, 3)->text().trimmed(), QStringLiteral("900"));
    income.BbtnPrintClick();
    EXPECT_EQ(previews, 3); // grades 1-6, then 7-8
    income.cboBUNGIChange();
    EXPECT_TRUE(income.MEdtSeqNo->text().isEmpty());
    EXPECT_EQ(income.table().total(1), Income::Figures{});

    TFrmP102B00 ledger;
    EXPECT_FALSE(ledger.BtnCreate->isEnabled());
    for (const char* g : {"1.1학년", "2.2학년"})
        new QListWidgetItem(QString::fromUtf8(g), ledger.LBStudtNo);
    ledger.move(ledger.LBStudtNo, ledger.LBSelectStudtNo, true);
    EXPECT_FALSE(ledger.BtnCreate->isEnabled());
    ASSERT_GE(ledger.LBItemCd->count(), 1);
    ledger.LBItemCd->item(0)->setSelected(true); // 01.수업료
    ledger.move(ledger.LBItemCd, ledger.LBSelectItemCd, false);
    EXPECT_TRUE(ledger.BtnCreate->isEnabled());
    msg.clear();
    msg.expect(MsgResult::Ok);
    ledger.BtnPrintClick();
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("인쇄할 내용이 없습니다.")});
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    ledger.BtnCreateClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("자료생성하였습니다.\r인쇄하시면 됩니다!"));
    EXPECT_EQ(ledgerRows().size(), 7); // group 01's item only
    ledger.BtnPrintClick();
    EXPECT_EQ(previews, 4);
}

// The three reports through zq-driver on the fixture's root.
TEST_F(IncomeReports, DriverListsAndPrints) {
    stopServices();
    const auto drive = [this](const QStringList& args, int* rc) {
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                            QStringLiteral("20260316")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        return out;
    };
    const auto words = [](const char* s) { return QString::fromUtf8(s).split(QLatin1Char(' ')); };
    int rc = -1;
    QList<QJsonObject> out = drive(words("report list daysum --date 20260310"), &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(out.last()[QStringLiteral("total")].toInt(), 11500);
    out = drive(words("report list income --round 202603-01 --day 20260310"), &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(out.last()[QStringLiteral("count")].toInt(), 4);
    EXPECT_EQ(out.last()[QStringLiteral("total")].toInt(), 4800);
    out = drive(words("report list ledger --year 2026 --grades 1,2 --itemcds A1,B1"), &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(out.last()[QStringLiteral("total")].toInt(), 15700);
    for (const char* name : {"daysum --date 20260310", "income --round 202603-01", "ledger"}) {
        out = drive(words("print") + words(name) +
                        QStringList{QStringLiteral("--dump"), path(QStringLiteral("out.txt"))},
                    &rc);
        EXPECT_EQ(rc, 0) << name;
        ASSERT_FALSE(out.isEmpty()) << name;
        EXPECT_EQ(out.last()[QStringLiteral("result")].toString(), QStringLiteral("printed")) << name;
    }
    startServices();
}

} // namespace
