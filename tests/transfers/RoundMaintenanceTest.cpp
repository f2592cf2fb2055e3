#include "RoundFixture.h"

#include "data/DMModule.h"
#include "transfers/common/Rounds.h"

namespace {

using Status = RoundResult::Status;

class RoundMaintenance : public RoundFixture {
protected:
    static QMap<QString, QVariant> with(QMap<QString, QVariant> r, const QString& col, const QVariant& v) {
        r.insert(col, v);
        return r;
    }
    static qint64 sum(const QString& table, const QString& where = QStringLiteral("1")) {
        return scalar(QStringLiteral("SELECT coalesce(sum(Amt), 0) FROM %1 WHERE %2").arg(table, where));
    }
    static void book(const QString& srType, const QString& yymm, const QString& ss) {
        ASSERT_TRUE(
            Database::insertRow(QStringLiteral("M_SRFILE"),
                                {{QStringLiteral("SRType"), srType},
                                 {QStringLiteral("FileName"), yymm + ss + srType + QStringLiteral(".201")},
                                 {QStringLiteral("YearMon"), yymm},
                                 {QStringLiteral("SeqNo"), ss}}));
    }
};

TEST_F(RoundMaintenance, MergeMovesExactlyTheRowsItSums) {
    const QString k = QStringLiteral("ProcDt");
    // February: a failed row, a row never sent, a row unprocessed again
    // after a date was written, and rows that must stay.
    round(QStringLiteral("20260201"),
          {with(with(row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 7000), k,
                     QStringLiteral("00000000")),
                QStringLiteral("BankCd"), QStringLiteral("11")),
           with(row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("02"), 5000,
                    QStringLiteral("1")),
                QStringLiteral("BankCd"), QStringLiteral("11")),
           with(row(QStringLiteral("C5"), QStringLiteral("30101"), QStringLiteral("01"), 10000),
                QStringLiteral("BankCd"), QStringLiteral("12")),
           with(with(row(QStringLiteral("C5"), QStringLiteral("30101"), QStringLiteral("02"), 4000), k,
                     QStringLiteral("20260210")),
                QStringLiteral("BankCd"), QStringLiteral("12")),
           with(row(QStringLiteral("C3"), QStringLiteral("20101"), QStringLiteral("01"), 900,
                    QStringLiteral("0"), QStringLiteral("2")),
                QStringLiteral("BankCd"), QStringLiteral("12")),
           with(row(QStringLiteral("C3"), QStringLiteral("20101"), QStringLiteral("02"), 800,
                    QStringLiteral("2")),
                QStringLiteral("BankCd"), QStringLiteral("12")),
           with(row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("02"), 700,
                    QStringLiteral("3")),
                QStringLiteral("BankCd"), QStringLiteral("12"))});
    // March: the newest round, bank 10 of the same family.
    round(QStringLiteral("20260301"),
          {with(with(row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 5000),
                     QStringLiteral("BankCd"), QStringLiteral("10")),
                QStringLiteral("AcctNo"), QStringLiteral("NEW-ACCT")),
           with(row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 3000,
                    QStringLiteral("0"), QStringLiteral("0")),
                QStringLiteral("BankCd"), QStringLiteral("12"))});
    // C5 changed number since February: the merged row takes the new one.
    Database::updateRows(QStringLiteral("M_CUST"), {{QStringLiteral("SNo"), QStringLiteral("30105")}},
                         {{QStringLiteral("CustNo"), QStringLiteral("C5")}});

    const qint64 before = sum(QStringLiteral("H_200_20260201")) + sum(QStringLiteral("H_200_20260301"));
    const RoundResult r = RoundBuilder::createMerged(
        target(QStringLiteral("202603"), QStringLiteral("02")),
        {QStringLiteral("H_200_20260301"), QStringLiteral("H_200_20260201")}, QStringLiteral("미납 합침"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const QString t = QStringLiteral("H_200_20260302");
    EXPECT_EQ(rowsOf(t), (QStringList{QStringLiteral("C2/01 1 12000"), QStringLiteral("C5/01 1 10000"),
                                      QStringLiteral("C5/02 1 4000")}));
    EXPECT_EQ(r.rows, 4);
    EXPECT_EQ(
        column(QStringLiteral(
                   "SELECT SNo || ' ' || BankCd || ' ' || coalesce(AcctNo, '-') || ' ' || ReplyTy FROM ") +
               t + QStringLiteral(" ORDER BY SNo, ItemCd")),
        (QStringList{QStringLiteral("10102 10 NEW-ACCT 0"), QStringLiteral("30105 12 - 0"),
                     QStringLiteral("30105 12 - 0")}));
    EXPECT_EQ(
        column(QStringLiteral("SELECT count(*) FROM ") + t + QStringLiteral(" WHERE ProcDt IS NOT NULL")),
        QStringList{QStringLiteral("0")});
    // Nothing is gained or lost: what left the rounds is what the new one holds.
    EXPECT_EQ(sum(QStringLiteral("H_200_20260201")) + sum(QStringLiteral("H_200_20260301")) + sum(t), before);
    EXPECT_EQ(rowsOf(QStringLiteral("H_200_20260201")),
              (QStringList{QStringLiteral("C2/02 1 5000"), QStringLiteral("C3/01 2 900"),
                           QStringLiteral("C3/02 1 800"), QStringLiteral("C4/02 1 700")}));
    EXPECT_EQ(rowsOf(QStringLiteral("H_200_20260301")), QStringList{QStringLiteral("C4/01 0 3000")});
    EXPECT_EQ(logRows().last(),
              QStringLiteral("집금이체|[미처리합치기 회차생성] 항목그룹 : 01.기본, 회차:202603-02, "
                             "미처리회차:202603-01, 202602-01"));
    EXPECT_EQ(Rounds::title(QStringLiteral("202603"), QStringLiteral("02")), QStringLiteral("미납 합침"));
}

TEST_F(RoundMaintenance, MergeRefusesMixedRoundsAndKeepsTheirRows) {
    round(QStringLiteral("20260101"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20260201"),
          {with(row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 2),
                QStringLiteral("BankCd"), QStringLiteral("10"))});
    round(QStringLiteral("20260202"),
          {with(with(row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 3),
                     QStringLiteral("BankCd"), QStringLiteral("11")),
                QStringLiteral("Gcode"), QStringLiteral("02"))});
    const RoundTarget t = target(QStringLiteral("202603"), QStringLiteral("01"));
    const struct {
        const char* name;
        QStringList sources;
        Status status;
        const char* box;
    } cases[] = {
        {"banks 05 and 10",
         {"H_200_20260201", "H_200_20260101"},
         Status::BankMismatch,
         "미처리 합치기는 같은 은행별로 하셔야 합니다."},
        {"item groups 01 and 02",
         {"H_200_20260201", "H_200_20260202"},
         Status::GroupMismatch,
         "미처리 합치기는 같은 항목그룹별로 하셔야 합니다."},
        {"nothing chosen", {}, Status::NoSource, "회차를 선택하세요."},
        {"a round that is not there", {"H_200_20250101"}, Status::NoSource, "회차를 선택하세요."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RoundResult r = RoundBuilder::createMerged(t, c.sources);
        EXPECT_EQ(r.status, c.status);
        msg.expect(MsgResult::Ok);
        RoundMessages::show(RoundMessages::Action::Merge, r);
        EXPECT_EQ(msg.texts().last(), QString::fromUtf8(c.box));
    }
    EXPECT_FALSE(Database::tableExists(t.table()));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM H_200_20260201")), 1);

    // Banks 10 and 11 are one family; into an existing round, never.
    round(QStringLiteral("20260203"),
          {with(row(QStringLiteral("C5"), QStringLiteral("30101"), QStringLiteral("01"), 4),
                QStringLiteral("BankCd"), QStringLiteral("11"))});
    EXPECT_EQ(RoundBuilder::createMerged(target(QStringLiteral("202602"), QStringLiteral("01")),
                                         {QStringLiteral("H_200_20260203")})
                  .status,
              Status::Exists);
    EXPECT_TRUE(
        RoundBuilder::createMerged(t, {QStringLiteral("H_200_20260203"), QStringLiteral("H_200_20260201")})
            .ok());
}

TEST_F(RoundMaintenance, MergeCandidatesLeaveOutRoundsWaitingForTheirResult) {
    round(QStringLiteral("20260101"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20260201"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20260202"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20260203"),
          {with(row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1),
                QStringLiteral("Gcode"), QStringLiteral("02"))});
    round(QStringLiteral("20260204"), {});
    book(QStringLiteral("S"), QStringLiteral("2602"), QStringLiteral("01")); // sent, result back
    book(QStringLiteral("R"), QStringLiteral("2602"), QStringLiteral("01"));
    book(QStringLiteral("S"), QStringLiteral("2602"), QStringLiteral("02")); // sent, no result yet
    EXPECT_EQ(Rounds::mergeCandidates(QStringLiteral("01")),
              (QStringList{QStringLiteral("H_200_20260201"), QStringLiteral("H_200_20260101")}));
    EXPECT_EQ(Rounds::mergeCandidates(QStringLiteral("02")), QStringList{QStringLiteral("H_200_20260203")});
}

TEST_F(RoundMaintenance, CopyStartsEveryRowAfresh) {
    QMap<QString, QVariant> done = row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"),
                                       7000, QStringLiteral("1"), QStringLiteral("2"));
    for (const auto& [c, v] : {std::pair{"ProcDt", "20260225"},
                               {"ReplyCd", "0000"},
                               {"Unpaid", "사유"},
                               {"ReDt", "20260226"},
                               {"GrpNm", "방과후반"},
                               {"Nm", "O'Neil 김"}})
        done.insert(QString::fromLatin1(c), QString::fromUtf8(v));
    done.insert(QStringLiteral("REAmt"), 500);
    round(QStringLiteral("20260201"),
          {done, row(QStringLiteral("C5"), QStringLiteral("30101"), QStringLiteral("02"), 5000)});

    const RoundResult r = RoundBuilder::createCopy(target(QStringLiteral("202603"), QStringLiteral("01")),
                                                   QStringLiteral("H_200_20260201"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.rows, 2);
    EXPECT_EQ(
        column(QStringLiteral(
            "SELECT YearMon || SeqNo || '|' || SNo || '|' || ItemCd || '|' || Amt || '|' || "
            "ReplyTy || ExempTy || '|' || coalesce(ProcDt, '') || coalesce(ReplyCd, '') || "
            "coalesce(Unpaid, '') || coalesce(ReDt, '') || '|' || REAmt || '|' || "
            "coalesce(GrpNm, '') || '|' || coalesce(Nm, '') || '|' || Gcode || BankCd FROM H_200_20260301 "
            "ORDER BY SNo")),
        (QStringList{QStringLiteral("20260301|10101|01|7000|01||0|방과후반|O'Neil 김|0105"),
                     QStringLiteral("20260301|30101|02|5000|01||0|||0105")}));
    EXPECT_TRUE(logRows().isEmpty()); // a copy writes no job log

    EXPECT_EQ(RoundBuilder::createCopy(target(QStringLiteral("202603"), QStringLiteral("01")),
                                       QStringLiteral("H_200_20260201"))
                  .status,
              Status::Exists);
    EXPECT_EQ(
        RoundBuilder::createCopy(target(QStringLiteral("202603"), QStringLiteral("02")), QString()).status,
        Status::NoSource);
}

TEST_F(RoundMaintenance, DeleteByGradeKeepsTransferredRowsAndDropsAnEmptiedRound) {
    round(QStringLiteral("20260301"),
          {row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 1, QStringLiteral("1")),
           row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("02"), 2),
           row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 3, QStringLiteral("2")),
           row(QStringLiteral("C3"), QStringLiteral("20101"), QStringLiteral("01"), 4, QStringLiteral("3"))});
    const RoundTarget t = target(QStringLiteral("202603"), QStringLiteral("01"));
    RoundResult r =
        RoundBuilder::deleteByGrade(t, {QStringLiteral("1")}, {QStringLiteral("01"), QStringLiteral("02")},
                                    {QStringLiteral("01.수업료"), QStringLiteral("02.급식비")});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.rows, 2);
    EXPECT_FALSE(r.dropped);
    EXPECT_EQ(rowsOf(t.table()), (QStringList{QStringLiteral("C1/01 1 1"), QStringLiteral("C3/01 1 4")}));

    // Only a transferred row left in grade 1: the table stays.
    r = RoundBuilder::deleteByGrade(t, {QStringLiteral("1")}, {QStringLiteral("01")},
                                    {QStringLiteral("01.수업료")});
    EXPECT_EQ(r.rows, 0);
    EXPECT_TRUE(Database::tableExists(t.table()));

    Database::exec(QStringLiteral("UPDATE H_200_20260301 SET ReplyTy = '0'"));
    r = RoundBuilder::deleteByGrade(t, {QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("01")},
                                    {QStringLiteral("01.수업료")});
    EXPECT_TRUE(r.dropped);
    EXPECT_FALSE(Database::tableExists(t.table()));
    EXPECT_EQ(
        logRows(),
        (QStringList{
            QStringLiteral(
                "집금이체|[학년별회차삭제]회차:202603-01, 학년:\"1\", 항목:\"01.수업료\" ,\"02.급식비\""),
            QStringLiteral("집금이체|[학년별회차삭제]회차:202603-01, 학년:\"1\", 항목:\"01.수업료\""),
            QStringLiteral("집금이체|[학년별회차삭제]회차:202603-01, 학년:\"1\",\"2\", 항목:\"01.수업료\""),
            QStringLiteral("집금이체|[회차DB삭제] 202603-01회차 DB 삭제"),
        }));

    msg.expect(MsgResult::Ok);
    RoundMessages::show(RoundMessages::Action::DeleteByGrade,
                        RoundBuilder::deleteByGrade(t, {QStringLiteral("1")}, {QStringLiteral("01")}, {}));
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral("이체파일삭제"));
    EXPECT_EQ(msg.texts().last(), QStringLiteral("이체년월/회차가 존재 않습니다!"));
}

TEST_F(RoundMaintenance, DeleteByGroupTakesTheMembersRowsWhateverTheirState) {
    round(QStringLiteral("20260301"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1, QStringLiteral("1")),
           row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("02"), 2),
           row(QStringLiteral("C5"), QStringLiteral("30101"), QStringLiteral("01"), 3),
           row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 4)});
    const RoundTarget t = target(QStringLiteral("202603"), QStringLiteral("01"));

    RoundResult r = RoundBuilder::deleteByGroup(t, {});
    EXPECT_EQ(r.status, Status::NoSelection);
    msg.expect(MsgResult::Ok);
    RoundMessages::show(RoundMessages::Action::DeleteByGroup, r);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("선택된 그룹이 없습니다."));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM H_200_20260301")), 4);

    r = RoundBuilder::deleteByGroup(
        t, {{QStringLiteral("합창단"), QStringLiteral("01"), QStringLiteral("01.수업료")},
            {QStringLiteral("빈반"), QStringLiteral("01"), QStringLiteral("01.수업료")}});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.rows, 2);
    EXPECT_EQ(rowsOf(t.table()), (QStringList{QStringLiteral("C2/01 1 4"), QStringLiteral("C4/02 1 2")}));
    EXPECT_EQ(logRows().last(), QStringLiteral("집금이체|[그룹별회차삭제]회차:202603-01, 그룹항목:합창단     "
                                               "= 01.수업료, 빈반       = 01.수업료"));
}

TEST_F(RoundMaintenance, AddingFillsOnlyWhatTheRoundLacks) {
    const RoundTarget t = target(QStringLiteral("202603"), QStringLiteral("01"));
    ASSERT_TRUE(RoundBuilder::createByGrade(
                    t, grades({QStringLiteral("2")}, {QStringLiteral("01")}, QStringLiteral("00")))
                    .ok());
    Database::exec(QStringLiteral(
        "UPDATE H_200_20260301 SET ReplyTy = '1', ProcDt = '20260320', Amt = 1 WHERE CustNo = 'C4'"));
    // A student who joined after the round was made.
    student(QStringLiteral("C8"), QStringLiteral("2"), QStringLiteral("20103"), QStringLiteral("신입"),
            QStringLiteral("05"));
    exemp(QStringLiteral("C8"), QStringLiteral("06"), QStringLiteral("P"), 3000);

    RoundResult r = RoundBuilder::addByGrade(
        t, grades({QStringLiteral("2")}, {QStringLiteral("01"), QStringLiteral("02")}, QStringLiteral("00")));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.rows, 4);
    EXPECT_EQ(rowsOf(t.table()),
              (QStringList{QStringLiteral("C3/01 0 0"), QStringLiteral("C3/02 2 3000"),
                           QStringLiteral("C4/01 2 1"), QStringLiteral("C4/02 2 0"),
                           QStringLiteral("C8/01 1 10000"), QStringLiteral("C8/02 2 2000")}));
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT ReplyTy || ProcDt FROM H_200_20260301 WHERE CustNo = 'C4' AND ItemCd = '01'")),
              QStringList{QStringLiteral("120260320")});
    EXPECT_EQ(logRows().last(),
              QStringLiteral("집금이체|[학년별회차자료 추가] 항목그룹 : 01.기본, 회차:202603-01, "
                             "학년:\"2\", 항목:\"01.수업료\" ,\"02.급식비\""));

    // The same again adds nothing.
    r = RoundBuilder::addByGrade(
        t, grades({QStringLiteral("2")}, {QStringLiteral("01"), QStringLiteral("02")}, QStringLiteral("00")));
    EXPECT_EQ(r.rows, 0);

    // By group: C7 shares C2's number, which the round has: reported.
    r = RoundBuilder::addByGroup(
        t, {{QStringLiteral("합창단"), QStringLiteral("02"), QStringLiteral("02.급식비")}});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.rows, 1);
    EXPECT_EQ(
        column(QStringLiteral("SELECT GrpNm || ExempTy || Amt FROM H_200_20260301 WHERE CustNo = 'C5'")),
        QStringList{QStringLiteral("합창단15000")});
    member(QStringLiteral("합창단"), QStringLiteral("C7"));
    ASSERT_TRUE(RoundBuilder::addByGroup(
                    t, {{QStringLiteral("합창단"), QStringLiteral("01"), QStringLiteral("01.수업료")}})
                    .ok());
    Database::exec(QStringLiteral("DELETE FROM C_GRP WHERE CustNo = 'C7'"));
    member(QStringLiteral("방과후반"), QStringLiteral("C2"));
    member(QStringLiteral("방과후반"), QStringLiteral("C7"));
    r = RoundBuilder::addByGroup(
        t, {{QStringLiteral("방과후반"), QStringLiteral("02"), QStringLiteral("02.급식비")}});
    EXPECT_EQ(r.skipped, QStringList{QStringLiteral("10102 동번 (C7)")});

    EXPECT_EQ(
        RoundBuilder::addByGrade(target(QStringLiteral("202604"), QStringLiteral("01")),
                                 grades({QStringLiteral("2")}, {QStringLiteral("01")}, QStringLiteral("00")))
            .status,
        Status::Missing);
}

TEST_F(RoundMaintenance, SelectorListsNewestFirstWithTitles) {
    round(QStringLiteral("20080201"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20080301"),
          {with(row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1),
                QStringLiteral("Gcode"), QStringLiteral("02")),
           row(QStringLiteral("C5"), QStringLiteral("30101"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20080302"), {});
    Rounds::saveTitle(QStringLiteral("200803"), QStringLiteral("01"), QStringLiteral("3월"));
    Rounds::saveTitle(QStringLiteral("200803"), QStringLiteral("01"), QStringLiteral("나중 제목"));
    ASSERT_TRUE(DMData->CreateHR00(QStringLiteral("20080301")));

    auto displays = [](const QString& mask, const QString& g) {
        QStringList out;
        for (const Rounds::RoundLine& l : Rounds::selectorRounds(mask, g))
            out << l.display;
        return out;
    };
    EXPECT_EQ(displays(QStringLiteral("H_200_*.db"), QString()),
              (QStringList{QStringLiteral("200803 / 02  /  "), QStringLiteral("200803 / 01  /  3월"),
                           QStringLiteral("200802 / 01  /  ")}));
    // The greatest item group counts; an empty round has none.
    EXPECT_EQ(displays(QStringLiteral("H_200_*.db"), QStringLiteral("02")),
              QStringList{QStringLiteral("200803 / 01  /  3월")});
    EXPECT_EQ(displays(QStringLiteral("H_200_*.db"), QStringLiteral("01")),
              QStringList{QStringLiteral("200802 / 01  /  ")});
    EXPECT_EQ(displays(QStringLiteral("h_200_200802*.DB;H_200_200803*.db"), QString()).size(), 3);
    EXPECT_EQ(displays(QStringLiteral("H_R00_*.db"), QString()), QStringList{QStringLiteral("200803 / 01")});
    EXPECT_TRUE(displays(QStringLiteral("H_300_*.db"), QString()).isEmpty());
    EXPECT_EQ(Rounds::roundCaption(QStringLiteral("200803"), QStringLiteral("01")),
              QStringLiteral("2008/03  01회차  3월"));
}

TEST_F(RoundMaintenance, UnusedRoundsOfOtherMonthsAreOfferedAndDropped) {
    round(QStringLiteral("20260101"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    round(QStringLiteral("20260201"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1, QStringLiteral("2"))});
    round(QStringLiteral("20260202"), {});
    round(QStringLiteral("20260301"),
          {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
    const QStringList unused = RoundBuilder::unusedRounds(Rounds::collectionTables());
    EXPECT_EQ(unused, (QStringList{QStringLiteral("H_200_20260101"), QStringLiteral("H_200_20260202")}));
    EXPECT_EQ(RoundBuilder::dropRounds(unused + QStringList{QStringLiteral("H_200_20250101")}), 2);
    EXPECT_EQ(Rounds::collectionTables(),
              (QStringList{QStringLiteral("H_200_20260201"), QStringLiteral("H_200_20260301")}));
    EXPECT_EQ(logRows(),
              (QStringList{QStringLiteral("사용하지 않는 회차정리|drop table H_200_20260101 성공"),
                           QStringLiteral("사용하지 않는 회차정리|drop table H_200_20260202 성공"),
                           QStringLiteral("사용하지 않는 회차정리|drop table H_200_20250101 실패")}));
}

// A round whose request file went out and whose results are not back looks
// unused (every row unprocessed) but has a result file coming: never offered,
// never dropped. Another kind's file of the same month and round does not
// count.
TEST_F(RoundMaintenance, RoundWithABookedRequestFileIsNotUnused) {
    const struct {
        const char* table;
        const char* booked; // SRType and FileType of its M_SRFILE row, or nullptr
        bool offered;
    } cases[] = {
        {"H_200_20260101", "S201", false},
        {"H_200_20260102", "S301", true}, // a distribution file of 2601-02
        {"H_200_20260103", "G R01", true},
        {"H_200_20260104", nullptr, true},
    };
    QStringList expected;
    for (const auto& c : cases) {
        const QString t = QString::fromLatin1(c.table);
        round(t.mid(6), {row(QStringLiteral("C4"), QStringLiteral("20102"), QStringLiteral("01"), 1)});
        if (c.booked) {
            const QString b = QString::fromLatin1(c.booked);
            ASSERT_TRUE(Database::insertRow(
                QStringLiteral("M_SRFILE"),
                {{QStringLiteral("SRType"), b.left(1)},
                 {QStringLiteral("FileName"), t.mid(8, 6) + QStringLiteral("04.") + b.right(3)},
                 {QStringLiteral("FileType"), b.right(3)},
                 {QStringLiteral("YearMon"), t.mid(8, 4)},
                 {QStringLiteral("SeqNo"), t.mid(12, 2)},
                 {QStringLiteral("BankCd"), QStringLiteral("04")},
                 {QStringLiteral("Gcode"), QStringLiteral("01")}}));
        }
        if (c.offered) expected << t;
    }
    EXPECT_EQ(RoundBuilder::unusedRounds(Rounds::collectionTables()), expected);
    // A list handed to the drop is judged again.
    EXPECT_EQ(RoundBuilder::dropRounds({QStringLiteral("H_200_20260101")}), 0);
    EXPECT_TRUE(Database::tableExists(QStringLiteral("H_200_20260101")));
    EXPECT_EQ(logRows().value(0), QStringLiteral("사용하지 않는 회차정리|drop table H_200_20260101 실패"));
}

} // namespace
