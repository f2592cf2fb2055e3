#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "students/NewTerm.h"
#include "students/SnoChange.h"
#include "support/TestRoot.h"

#include <QFile>
#include <QLocale>

#include <tuple>

namespace {

class NewTermTest : public TestRoot {
protected:
    static void student(const QString& custNo, const QString& sNo, const QString& nm, const QString& outDate = {}) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), custNo},
                                                                   {QStringLiteral("SCd"), sNo.left(1)},
                                                                   {QStringLiteral("SNo"), sNo},
                                                                   {QStringLiteral("Nm"), nm},
                                                                   {QStringLiteral("UseTy"), QStringLiteral("1")},
                                                                   {QStringLiteral("OutDate"), outDate}}));
    }
    // Two students in each of grades 1 to 3, and one who left.
    void school() {
        student(QStringLiteral("C11"), QStringLiteral("10101"), QStringLiteral("가"));
        student(QStringLiteral("C12"), QStringLiteral("10102"), QStringLiteral("나"));
        student(QStringLiteral("C21"), QStringLiteral("20101"), QStringLiteral("다"));
        student(QStringLiteral("C22"), QStringLiteral("20201"), QStringLiteral("라"));
        student(QStringLiteral("C31"), QStringLiteral("30101"), QStringLiteral("마"));
        student(QStringLiteral("C32"), QStringLiteral("30102"), QStringLiteral("바"));
        student(QStringLiteral("C99"), QStringLiteral("20305"), QStringLiteral("떠남"), QStringLiteral("20260301"));
    }
    static QStringList roster() {
        return column(QStringLiteral("SELECT CustNo || ':' || SCd || ':' || SNo FROM M_CUST ORDER BY CustNo"));
    }
    // Promotes every row, keeps class and number, and saves.
    static void promoteAll() {
        QList<NewTermRow> rows = NewTerm::rows({}, {});
        NewTerm::setGrades(rows, true);
        NewTerm::keepOldClassAndNumber(rows);
        ASSERT_TRUE(NewTerm::save(rows));
    }
};

TEST_F(NewTermTest, ThreeGradesThroughTheWholePath) {
    school();
    const NewTerm::FillResult f = NewTerm::FillVTemp();
    ASSERT_TRUE(f.ok) << f.error.toStdString();
    EXPECT_EQ(f.added, 6);
    QList<NewTermRow> rows = NewTerm::rows({}, {});
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows.first().newGrade, QStringLiteral("2")); // filled one grade up
    // The range picks grade 2 only.
    EXPECT_EQ(NewTerm::rows(QStringLiteral("2"), QStringLiteral("2")).size(), 2);

    promoteAll();
    // A later fill keeps what was typed and adds the newcomer.
    student(QStringLiteral("C13"), QStringLiteral("10103"), QStringLiteral("사"));
    EXPECT_EQ(NewTerm::FillVTemp().added, 1);
    rows = NewTerm::rows({}, {});
    EXPECT_EQ(rows.at(0).key(), QStringLiteral("20101"));
    NewTerm::keepOldClassAndNumber(rows);
    ASSERT_TRUE(NewTerm::save(rows));

    // The check pads and finds nothing; the preview sorts by new number.
    rows = NewTerm::rows({}, {});
    EXPECT_TRUE(NewTerm::check(rows).isEmpty());
    EXPECT_EQ(NewTerm::preview(rows).last().custNo, QStringLiteral("C32"));

    NewTerm::ApplyOptions o;
    o.graduate1 = QStringLiteral("3");
    const NewTerm::ApplyResult r = NewTerm::apply(o);
    ASSERT_EQ(r.outcome, NewTerm::ApplyResult::Outcome::Done) << r.error.toStdString();
    EXPECT_EQ(roster(), (QStringList{QStringLiteral("C11:2:20101"), QStringLiteral("C12:2:20102"),
                                     QStringLiteral("C13:2:20103"), QStringLiteral("C21:3:30101"),
                                     QStringLiteral("C22:3:30201")}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM V_TEMP")), 0);
    EXPECT_EQ(column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = '학반번호 일괄변경'")).last(),
              QStringLiteral("변경최종확정 실행"));
}

TEST_F(NewTermTest, ApplyRefusesDuplicatesAndGapsAnywhereInTheTable) {
    school();
    ASSERT_TRUE(NewTerm::FillVTemp().ok);
    promoteAll();
    const QStringList before = roster();
    // Grade 1's first student is typed into grade 2's number, outside the rows
    // a search of grade 1 would show.
    QList<NewTermRow> g1 = NewTerm::rows(QStringLiteral("1"), QStringLiteral("1"));
    g1[0].newGrade = QStringLiteral("3");
    g1[0].newBan = QStringLiteral("01");
    g1[0].newBun = QStringLiteral("01");
    ASSERT_TRUE(NewTerm::save(g1));
    EXPECT_EQ(NewTerm::duplicateOf(g1, g1[0].key()), -1); // not among the shown rows
    NewTerm::ApplyResult r = NewTerm::apply({});
    EXPECT_EQ(r.outcome, NewTerm::ApplyResult::Outcome::Duplicate);
    // One line for the pair, naming both; the box says what is wrong.
    ASSERT_EQ(r.lines.size(), 1);
    EXPECT_EQ(r.lines[0].count(QStringLiteral("신학반번호 동일")), 1);
    EXPECT_FALSE(r.lines[0].contains(QStringLiteral("신학년번호가 동일하게")));
    EXPECT_EQ(roster(), before);

    // A row left without a number is listed; nothing changes.
    g1[0].newBun.clear();
    ASSERT_TRUE(NewTerm::save(g1));
    r = NewTerm::apply({});
    EXPECT_EQ(r.outcome, NewTerm::ApplyResult::Outcome::Incomplete);
    ASSERT_EQ(r.lines.size(), 1);
    EXPECT_TRUE(r.lines.first().startsWith(QStringLiteral("기존학번 10101, 1, 01, 01, 가  신학번 3, 01, ")));
    EXPECT_EQ(roster(), before);
}

TEST_F(NewTermTest, AFailureHalfWayLeavesTheRosterAsItWas) {
    school();
    ASSERT_TRUE(NewTerm::FillVTemp().ok);
    promoteAll();
    const QStringList before = roster();
    ASSERT_TRUE(Database::exec(QStringLiteral("CREATE TRIGGER stop BEFORE UPDATE ON M_CUST "
                                              "WHEN old.CustNo = 'C22' BEGIN SELECT raise(abort, 'no'); END")));
    NewTerm::ApplyOptions o;
    o.graduate1 = QStringLiteral("3");
    EXPECT_EQ(NewTerm::apply(o).outcome, NewTerm::ApplyResult::Outcome::Failed);
    EXPECT_EQ(roster(), before); // graduates and the one who left are back too
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM V_TEMP")), 6);
}

TEST_F(NewTermTest, CheckLinesAndEditRules) {
    school();
    ASSERT_TRUE(NewTerm::FillVTemp().ok);
    QList<NewTermRow> rows = NewTerm::rows(QStringLiteral("1"), QStringLiteral("1"));
    ASSERT_EQ(rows.size(), 2);
    rows[0].newBan = QStringLiteral("3");
    rows[0].newBun = QStringLiteral("7");
    rows[1].newBan = QStringLiteral("03");
    rows[1].newBun = QStringLiteral("07");
    QStringList lines = NewTerm::check(rows);
    EXPECT_EQ(rows[0].key(), QStringLiteral("20307"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("  신학반번호 동일")));
    rows[1].newBan = QStringLiteral("00");
    lines = NewTerm::check(rows);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("  신 학반번호 미등록"))); // also on the last row

    QString error;
    for (const char* bad : {"", "0", "100", "x"}) EXPECT_TRUE(NewTerm::classEntry(QString::fromLatin1(bad), &error).isEmpty()) << bad;
    EXPECT_EQ(NewTerm::classEntry(QStringLiteral("5"), &error), QStringLiteral("05"));
    EXPECT_EQ(NewTerm::gradeUp(QStringLiteral("6")), QStringLiteral("7"));
    EXPECT_EQ(NewTerm::gradeUp(QStringLiteral("K")), QString()); // a kindergarten code stays empty

    // A reset from a lower bound on clears only those rows.
    promoteAll();
    ASSERT_TRUE(NewTerm::reset(QStringLiteral("2"), QString()));
    EXPECT_EQ(NewTerm::rows(QStringLiteral("1"), QStringLiteral("1")).first().key(), QStringLiteral("20101"));
    EXPECT_EQ(NewTerm::rows(QStringLiteral("2"), QStringLiteral("3")).first().key(), QString());
}

TEST_F(NewTermTest, NumberChangesOneByOneAndByWorkbook) {
    school();
    QString error;
    EXPECT_EQ(SnoChange::change(QStringLiteral("C11"), QStringLiteral("10102"), QStringLiteral("가"), &error),
              SnoChange::Outcome::Taken);
    EXPECT_EQ(SnoChange::change(QStringLiteral("C11"), QStringLiteral("10101"), QStringLiteral("가"), &error),
              SnoChange::Outcome::Taken); // his own number exists too
    EXPECT_EQ(SnoChange::change(QStringLiteral("C11"), QStringLiteral("10109"), QStringLiteral("가가"), &error),
              SnoChange::Outcome::Changed);
    EXPECT_EQ(column(QStringLiteral("SELECT JobLog FROM L_Log_202603")).last(),
              QStringLiteral("[수정] (학번:10101, 성명:가가) 변경학번 : 10109"));

    const auto sheet = [](std::initializer_list<std::pair<const char*, const char*>> rows) {
        SheetTable t;
        t.set(1, 1, QStringLiteral("고유번호"));
        t.set(1, 2, QStringLiteral("학번"));
        int r = 2;
        for (const auto& [c, s] : rows) {
            t.set(r, 1, QString::fromLatin1(c));
            t.set(r, 2, QString::fromLatin1(s));
            ++r;
        }
        return t;
    };
    const QStringList before = roster();
    // One bad row of each kind: nothing is stored.
    SnoChange::ImportResult r = SnoChange::importSheet(sheet({{"C21", "20105"},
                                                              {"C22", "2010"},
                                                              {"NOPE", "20106"},
                                                              {"C31", "20105"},
                                                              {"C32", "10102"}}));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errors.size(), 4);
    EXPECT_EQ(roster(), before);
    // Two students swapping their numbers is fine.
    r = SnoChange::importSheet(sheet({{"C31", "30102"}, {"C32", "30101"}}));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.changed, 2);
    EXPECT_EQ(column(QStringLiteral("SELECT SNo FROM M_CUST WHERE CustNo IN ('C31','C32') ORDER BY CustNo")),
              (QStringList{QStringLiteral("30102"), QStringLiteral("30101")}));
}

// The preview puts rows without a new number first, in the order they came,
// whatever the locale's collation.
TEST(NewTermPreview, BlankNumbersComeFirst) {
    const QLocale saved;
    for (const QLocale& l : {QLocale(QLocale::Korean, QLocale::SouthKorea),
                             QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c()}) {
        QLocale::setDefault(l);
        QList<NewTermRow> rows;
        for (const auto& [custNo, g, b, n] : {std::tuple{"A", "3", "01", "01"},
                                              {"B", "", "", ""},
                                              {"C", "2", "01", "02"},
                                              {"D", "2", "", ""},
                                              {"E", "", "", ""},
                                              {"F", "2", "01", "01"}}) {
            NewTermRow r;
            r.custNo = QString::fromLatin1(custNo);
            r.newGrade = QString::fromLatin1(g);
            r.newBan = QString::fromLatin1(b);
            r.newBun = QString::fromLatin1(n);
            rows << r;
        }
        QStringList order;
        for (const NewTermRow& r : NewTerm::preview(rows))
            order << r.custNo;
        EXPECT_EQ(order.join(QLatin1Char(',')), QStringLiteral("B,E,D,F,C,A")) << l.name().toStdString();
    }
    QLocale::setDefault(saved);
}

} // namespace
