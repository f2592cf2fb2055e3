#include "RoundFixture.h"

#include "data/DMModule.h"
#include "transfers/common/Rounds.h"

namespace {

using Status = RoundResult::Status;

class RoundCreate : public RoundFixture {};

const QString kT = QStringLiteral("H_200_20260301");

TEST_F(RoundCreate, ByGradeAllBanksBillsEnrolledStudentsLessExemptions) {
    const RoundResult r = RoundBuilder::createByGrade(
        target(QStringLiteral("202603"), QStringLiteral("01")),
        grades({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
               {QStringLiteral("01"), QStringLiteral("02")}, QStringLiteral("00")),
        QStringLiteral("3월 수업료"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    // C1 banks at 04 (no collection account), C6 has left, C7 shares C2's
    // student number and is reported instead.
    EXPECT_EQ(rowsOf(kT), (QStringList{
                              QStringLiteral("C2/01 0 0"),     // whole exemption "A"
                              QStringLiteral("C2/02 1 5000"),  //
                              QStringLiteral("C3/01 0 0"),     // blank Free, 12000 >= 10000: whole
                              QStringLiteral("C3/02 2 3000"),  // blank Free, 2000 < 5000: partial
                              QStringLiteral("C4/01 2 10000"), // "P" with 0 keeps the amount
                              QStringLiteral("C4/02 2 0"),     // 9000 on 5000: nothing, never negative
                              QStringLiteral("C5/01 1 10000"), //
                              QStringLiteral("C5/02 1 5000"),  //
                          }));
    EXPECT_EQ(r.rows, 8);
    EXPECT_EQ(r.skipped, QStringList{QStringLiteral("10102 동번 (C7)")});

    // Every row: state fields and the item group.
    EXPECT_EQ(column(QStringLiteral(
                         "SELECT DISTINCT YearMon || SeqNo || ReplyTy || Gcode || REAmt || "
                         "coalesce(ProcDt, '-') || coalesce(ReplyCd, '-') || coalesce(GrpNm, '-') FROM ") +
                     kT),
              QStringList{QStringLiteral("202603010010---")});
    EXPECT_EQ(column(QStringLiteral("SELECT BankCd || ' ' || AcctNo || ' ' || Nm || ' ' || SCd FROM ") + kT +
                     QStringLiteral(" WHERE CustNo = 'C5' AND ItemCd = '01'")),
              QStringList{QStringLiteral("12 123-C5 정오 3")});

    // Blank kinds are stored: whole as "A" with 0, partial as "P".
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT ItemCd || Free || Itemval FROM M_EXEMP WHERE CustNo = 'C3' ORDER BY ItemCd")),
              (QStringList{QStringLiteral("05A0"), QStringLiteral("06P2000")}));
    EXPECT_EQ(column(QStringLiteral("SELECT title FROM M_TITLE WHERE yearmon = '202603' AND seqno = '01'")),
              QStringList{QStringLiteral("3월 수업료")});
    EXPECT_EQ(logRows(),
              QStringList{QStringLiteral("집금이체|[학년별회차생성] 항목그룹 : 01.기본, 회차:202603-01, "
                                         "학년:\"1\",\"2\",\"3\", 항목:\"01.수업료\" ,\"02.급식비\"")});

    msg.expect(MsgResult::Ok);
    RoundMessages::show(RoundMessages::Action::CreateByGrade, r);
    EXPECT_TRUE(msg.sawText(QStringLiteral("10102 동번 (C7)")));
}

TEST_F(RoundCreate, ExemptionOfTheItemIsFoundThroughItsGroup) {
    // C1's whole exemption is on group 02's item with ItemID 01; its partial
    // one (3000) on group 01's item 01 (ItemCd 05).
    ASSERT_TRUE(RoundBuilder::createByGrade(
                    target(QStringLiteral("202603"), QStringLiteral("01")),
                    grades({QStringLiteral("1")}, {QStringLiteral("01")}, QStringLiteral("04")))
                    .ok());
    EXPECT_EQ(rowsOf(kT), QStringList{QStringLiteral("C1/01 2 7000")});

    RoundTarget g2{QStringLiteral("02.방과후"), QStringLiteral("202603"), QStringLiteral("02")};
    GradeSelection s = grades({QStringLiteral("1")}, {QStringLiteral("01")}, QStringLiteral("04"));
    ASSERT_TRUE(RoundBuilder::createByGrade(g2, s).ok());
    EXPECT_EQ(rowsOf(QStringLiteral("H_200_20260302")), QStringList{QStringLiteral("C1/01 0 0")});
    EXPECT_EQ(column(QStringLiteral("SELECT DISTINCT Gcode FROM H_200_20260302")),
              QStringList{QStringLiteral("02")});
}

TEST_F(RoundCreate, BankChoiceDecidesTheStudents) {
    const struct {
        const char* name;
        const char* bank;
        QStringList offered;
        QStringList students;
    } cases[] = {
        {"all banks take 99 and the family", "00", {"99", "05", "11"}, {"C2", "C3", "C4", "C5"}},
        {"all banks without accounts take nobody", "00", {"99"}, {}},
        {"no bank", "99", {"99", "05", "11"}, {"C3"}},
        {"a family bank takes 10, 11 and 12", "11", {"99", "05", "11"}, {"C2", "C5"}},
        {"one bank", "05", {"99", "05", "11"}, {"C4"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString ss = QStringLiteral("%1").arg(++n, 2, 10, QLatin1Char('0'));
        msg.allowUnexpected(true);
        const RoundResult r = RoundBuilder::createByGrade(
            target(QStringLiteral("202603"), ss),
            grades({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}, {QStringLiteral("01")},
                   QString::fromLatin1(c.bank), c.offered));
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(column(QStringLiteral("SELECT CustNo FROM H_200_202603") + ss +
                         QStringLiteral(" ORDER BY CustNo")),
                  c.students);
    }
}

TEST_F(RoundCreate, ByGroupWritesTheGroupAndOneRowPerStudentAndItem) {
    const QList<GroupItem> groups{
        {QStringLiteral("방과후반"), QStringLiteral("01"), QStringLiteral("01.수업료")},
        {QStringLiteral("합창단"), QStringLiteral("01"), QStringLiteral("01.수업료")},
        {QStringLiteral("합창단"), QStringLiteral("02"), QStringLiteral("02.급식비")},
        {QStringLiteral("빈반"), QStringLiteral("01"), QStringLiteral("01.수업료")}};
    const RoundResult r =
        RoundBuilder::createByGroup(target(QStringLiteral("202603"), QStringLiteral("01")), groups);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    // No bank choice: C1 of bank 04 is billed. C4 is in both groups: one
    // row of item 01, under the first group.
    EXPECT_EQ(rowsOf(kT),
              (QStringList{QStringLiteral("C1/01 2 7000 방과후반"), QStringLiteral("C4/01 2 10000 방과후반"),
                           QStringLiteral("C4/02 2 0 합창단"), QStringLiteral("C5/01 1 10000 합창단"),
                           QStringLiteral("C5/02 1 5000 합창단")}));
    EXPECT_TRUE(r.skipped.isEmpty());
    EXPECT_EQ(logRows(),
              QStringList{QStringLiteral("집금이체|[그룹별회차생성] 항목그룹 : 01.기본, 회차:202603-01, "
                                         "그룹항목:방과후반   = 01.수업료, 합창단     = 01.수업료, "
                                         "합창단     = 02.급식비, 빈반       = 01.수업료")});
}

TEST_F(RoundCreate, ByGroupLeavesOutAStudentWhoseNumberAnotherHasInTheRound) {
    // C2 and C7 share a student number: whoever comes first keeps it, in one
    // group or from an earlier group; the other is reported once.
    member(QStringLiteral("가반"), QStringLiteral("C2"));
    member(QStringLiteral("가반"), QStringLiteral("C7"));
    member(QStringLiteral("나반"), QStringLiteral("C2"));
    member(QStringLiteral("다반"), QStringLiteral("C7"));
    const GroupItem ga1{QStringLiteral("가반"), QStringLiteral("01"), {}};
    const GroupItem ga2{QStringLiteral("가반"), QStringLiteral("02"), {}};
    const GroupItem gb1{QStringLiteral("나반"), QStringLiteral("01"), {}};
    const GroupItem gc1{QStringLiteral("다반"), QStringLiteral("01"), {}};
    const struct {
        const char* name;
        QList<GroupItem> groups;
        QStringList rows;
        QString skipped;
    } cases[] = {
        {"both in one group, two items",
         {ga1, ga2},
         {QStringLiteral("C2/01 0 0 가반"), QStringLiteral("C2/02 1 5000 가반")},
         QStringLiteral("10102 동번 (C7)")},
        {"the earlier group's student keeps it",
         {gb1, gc1},
         {QStringLiteral("C2/01 0 0 나반")},
         QStringLiteral("10102 동번 (C7)")},
        {"whichever group comes first",
         {gc1, gb1},
         {QStringLiteral("C7/01 1 10000 다반")},
         QStringLiteral("10102 이이 (C2)")},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString ss = QStringLiteral("%1").arg(++n, 2, 10, QLatin1Char('0'));
        const RoundResult r = RoundBuilder::createByGroup(target(QStringLiteral("202603"), ss), c.groups);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(rowsOf(QStringLiteral("H_200_202603") + ss), c.rows);
        EXPECT_EQ(r.skipped, QStringList{c.skipped});
    }
}

TEST_F(RoundCreate, RefusalsLeaveTheDatabaseAsItWas) {
    round(QStringLiteral("20260301"),
          {row(QStringLiteral("C5"), QStringLiteral("30101"), QStringLiteral("01"), 1)});
    const QStringList before = rowsOf(kT);
    const GradeSelection all = grades({QStringLiteral("1")}, {QStringLiteral("01")}, QStringLiteral("00"));
    const struct {
        const char* name;
        RoundResult result;
        Status status;
    } cases[] = {
        {"existing round",
         RoundBuilder::createByGrade(target(QStringLiteral("202603"), QStringLiteral("01")), all),
         Status::Exists},
        {"existing round by group",
         RoundBuilder::createByGroup(
             target(QStringLiteral("202603"), QStringLiteral("01")),
             {{QStringLiteral("합창단"), QStringLiteral("01"), QStringLiteral("01.수업료")}}),
         Status::Exists},
        {"no item",
         RoundBuilder::createByGrade(target(QStringLiteral("202603"), QStringLiteral("02")),
                                     grades({QStringLiteral("1")}, {}, QStringLiteral("00"))),
         Status::NoSelection},
        {"no grade",
         RoundBuilder::createByGrade(target(QStringLiteral("202603"), QStringLiteral("02")),
                                     grades({}, {QStringLiteral("01")}, QStringLiteral("00"))),
         Status::NoSelection},
        {"no group", RoundBuilder::createByGroup(target(QStringLiteral("202603"), QStringLiteral("02")), {}),
         Status::NoSelection},
        {"round 100",
         RoundBuilder::createByGrade(target(QStringLiteral("202603"), QStringLiteral("100")), all),
         Status::BadRound},
        {"round 00", RoundBuilder::createByGrade(target(QStringLiteral("202603"), QStringLiteral("00")), all),
         Status::BadRound},
        {"bad month",
         RoundBuilder::createByGrade(target(QStringLiteral("2026-3"), QStringLiteral("01")), all),
         Status::BadRound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result.status, c.status);
    }
    EXPECT_EQ(Rounds::collectionTables(), QStringList{kT});
    EXPECT_EQ(rowsOf(kT), before);
    EXPECT_TRUE(logRows().isEmpty());
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM M_EXEMP WHERE Free IS NULL")),
              QStringList{QStringLiteral("2")});

    msg.expect(MsgResult::Ok);
    RoundMessages::show(RoundMessages::Action::CreateByGrade, cases[0].result);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("이체년월/회차가 존재합니다! 다른회차를 입력하세요"));
}

TEST_F(RoundCreate, InterruptedCreationLeavesNoTable) {
    // Enough students that the fill spans many pages; the database file is
    // then capped so that an insert part-way through fails.
    for (int i = 0; i < 400; ++i)
        student(QStringLiteral("X%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("1"),
                QStringLiteral("1%1").arg(i + 200, 4, 10, QLatin1Char('0')), QStringLiteral("학생%1").arg(i),
                QStringLiteral("05"));
    // Writes the job-log table of the month first, so the cap hits the fill.
    ASSERT_TRUE(DMLib->WriteJobLog(QStringLiteral("test"), QStringLiteral("start")));
    const qint64 pages = scalar(QStringLiteral("PRAGMA page_count"));
    Database::exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 4));

    const RoundResult r = RoundBuilder::createByGrade(target(QStringLiteral("202603"), QStringLiteral("01")),
                                                      grades({QStringLiteral("1"), QStringLiteral("2")},
                                                             {QStringLiteral("01"), QStringLiteral("02")},
                                                             QStringLiteral("00")));
    Database::exec(QStringLiteral("PRAGMA max_page_count = 1073741823"));

    EXPECT_EQ(r.status, Status::Failed);
    EXPECT_TRUE(r.error.contains(QLatin1String("full"))) << r.error.toStdString();
    EXPECT_FALSE(Database::tableExists(kT));
    // The exemption kinds stored on the way are rolled back too.
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM M_EXEMP WHERE Free IS NULL")),
              QStringList{QStringLiteral("2")});
    EXPECT_EQ(logRows().size(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'M_TITLE'")), 0);

    // The same creation goes through once there is room.
    const RoundResult again = RoundBuilder::createByGrade(
        target(QStringLiteral("202603"), QStringLiteral("01")),
        grades({QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("01"), QStringLiteral("02")},
               QStringLiteral("00")));
    ASSERT_TRUE(again.ok()) << again.error.toStdString();
    EXPECT_EQ(again.rows, 2 * 400 + 6);
}

TEST(RoundRules, NextRoundOfAMonth) {
    const struct {
        const char* name;
        QStringList tables;
        const char* ym;
        const char* next;
    } cases[] = {
        {"after the highest of the month",
         {"H_200_20080301", "H_200_20080303", "H_200_20080401"},
         "200803",
         "04"},
        {"other months only", {"H_200_20080201", "H_200_20080401"}, "200803", "01"},
        {"no round at all", {}, "200803", "01"},
        {"round 99 is the last", {"H_200_20080301", "H_200_20080399"}, "200803", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Rounds::nextSeqNo(c.tables, QString::fromLatin1(c.ym)), QString::fromLatin1(c.next));
    }
}

TEST(RoundRules, ExemptionOutcome) {
    const struct {
        const char* name;
        bool found;
        const char* free;
        qint64 itemval, itemAmt;
        const char* exempTy;
        qint64 amt;
        const char* newFree; // "" = not rewritten
        qint64 newItemval;
    } cases[] = {
        {"none", false, "", 0, 10000, "1", 10000, "", 0},
        {"whole", true, "A", 5000, 10000, "0", 0, "", 0},
        {"partial", true, "P", 3000, 10000, "2", 7000, "", 0},
        {"partial with another mark", true, "X", 3000, 10000, "2", 7000, "", 0},
        {"partial of zero", true, "P", 0, 10000, "2", 10000, "", 0},
        {"partial above the amount", true, "P", 12000, 10000, "2", 0, "", 0},
        {"blank below the amount", true, "", 4000, 10000, "2", 6000, "P", 4000},
        {"blank equal to the amount", true, "", 10000, 10000, "0", 0, "A", 0},
        {"blank above the amount", true, "", 12000, 10000, "0", 0, "A", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Rounds::Exemption e =
            Rounds::exemption(c.found, QString::fromLatin1(c.free), c.itemval, c.itemAmt);
        EXPECT_EQ(e.exempTy, QString::fromLatin1(c.exempTy));
        EXPECT_EQ(e.amt, c.amt);
        EXPECT_EQ(e.normalise, *c.newFree != 0);
        if (e.normalise) {
            EXPECT_EQ(e.newFree, QString::fromLatin1(c.newFree));
            EXPECT_EQ(e.newItemval, c.newItemval);
        }
    }
}

} // namespace
