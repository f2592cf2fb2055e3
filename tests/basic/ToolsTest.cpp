#include "basic/T301B00.h"
#include "basic/T304B00.h"
#include "basic/ToolActions.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "support/TestRoot.h"
#include "transfers/common/Rounds.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

namespace {

class Tools : public TestRoot {
protected:
    static void student(const QString& custNo, const QString& grade) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), custNo},
                                                                   {QStringLiteral("SCd"), grade},
                                                                   {QStringLiteral("SNo"), grade + QStringLiteral("0101")},
                                                                   {QStringLiteral("UseTy"), QStringLiteral("1")}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("M_EXEMP"), {{QStringLiteral("CustNo"), custNo},
                                                                    {QStringLiteral("ItemCd"), QStringLiteral("01")},
                                                                    {QStringLiteral("Itemval"), 100}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_GRP"), {{QStringLiteral("GrpNm"), QStringLiteral("방과후")},
                                                                  {QStringLiteral("CustNo"), custNo}}));
    }
    static qint64 count(const char* table, const QString& custNo) {
        return scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE CustNo = ?").arg(QLatin1String(table)), {custNo});
    }
    static void title(const QString& ym, const QString& seq) {
        ASSERT_TRUE(Rounds::saveTitle(ym, seq, QStringLiteral("t")));
    }
};

TEST_F(Tools, GradeDeletionTakesExemptionsAndGroupsAlong) {
    student(QStringLiteral("0900000001"), QStringLiteral("6"));
    student(QStringLiteral("0900000002"), QStringLiteral("6"));
    student(QStringLiteral("0900000003"), QStringLiteral("5"));
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260301")));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_20260301"), {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                                                                        {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                                                        {QStringLiteral("SNo"), QStringLiteral("60101")},
                                                                        {QStringLiteral("ItemCd"), QStringLiteral("01")},
                                                                        {QStringLiteral("CustNo"), QStringLiteral("0900000001")}}));

    msg.expect(MsgResult::Yes);
    const auto found = ToolActions::askGrade(QStringLiteral("6"), nullptr);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->size(), 2);
    EXPECT_TRUE(msg.shown().first().defaultNo);
    msg.expect(MsgResult::Ok);
    EXPECT_TRUE(ToolActions::runGrade(QStringLiteral("6"), nullptr).ok);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("졸업생 데이타를 모두 삭제 되었습니다"));
    for (const char* c : {"0900000001", "0900000002"})
        for (const char* t : {"M_CUST", "M_EXEMP", "C_GRP"}) EXPECT_EQ(count(t, QString::fromLatin1(c)), 0) << t;
    for (const char* t : {"M_CUST", "M_EXEMP", "C_GRP"}) EXPECT_EQ(count(t, QStringLiteral("0900000003")), 1) << t;
    // Their payment history stays.
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM H_200_20260301")), 1);
    // Their payer numbers stay taken: the students' record of given numbers
    // holds the highest of them.
    EXPECT_EQ(scalar(QStringLiteral("SELECT LastSeq FROM M_CUSTSEQ WHERE DayKey = '09000'")), 2);
    EXPECT_EQ(column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = '학생일괄삭제'")),
              QStringList{QStringLiteral("[일괄삭제] 6학년 일괄삭제")});

    // Nothing left of grade 6.
    msg.clear();
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_FALSE(ToolActions::askGrade(QStringLiteral("6"), nullptr));
    EXPECT_EQ(msg.texts().last(), QStringLiteral("삭제할 학생이 없습니다!"));
}

TEST_F(Tools, GradeDeletionFailingHalfWayChangesNothing) {
    student(QStringLiteral("0900000001"), QStringLiteral("6"));
    student(QStringLiteral("0900000002"), QStringLiteral("6"));
    ASSERT_TRUE(Database::exec(QStringLiteral(
        "CREATE TRIGGER keep BEFORE DELETE ON M_CUST BEGIN SELECT raise(abort, 'no'); END")));
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(ToolActions::runGrade(QStringLiteral("6"), nullptr).ok);
    EXPECT_EQ(msg.shown().last().icon, MsgIcon::Error);
    for (const char* t : {"M_CUST", "M_EXEMP", "C_GRP"})
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(t))), 2) << t;
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM L_Log_202603 WHERE MenuName = '학생일괄삭제'")), 0);
}

TEST_F(Tools, RoundDeletionDropsTablesAndCollectionTitles) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20250301")));
    ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20250301")));
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20250302")));
    title(QStringLiteral("202503"), QStringLiteral("01"));
    title(QStringLiteral("202503"), QStringLiteral("02"));
    const QList<BulkDelete::RoundRow> rows = BulkDelete::roundTables();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.first().yearMon, QStringLiteral("2025-03"));
    EXPECT_EQ(rows.first().seqNo, QStringLiteral("01"));

    // The distribution round leaves the collection round's title.
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    EXPECT_EQ(ToolActions::deleteRounds(true, {QStringLiteral("H_300_20250301")}, nullptr),
              QStringList{QStringLiteral("H_300_20250301")});
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_TITLE")), 2);

    // Two marked rounds: two boxes, both titles gone.
    msg.clear();
    msg.expect({MsgResult::Ok, MsgResult::Ok, MsgResult::Ok});
    EXPECT_EQ(ToolActions::deleteRounds(true, {QStringLiteral("H_200_20250301"), QStringLiteral("H_200_20250302")},
                                        nullptr)
                  .size(),
              2);
    EXPECT_EQ(msg.texts().count(QStringLiteral("삭제되었습니다!!")), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_TITLE")), 0);
    EXPECT_TRUE(BulkDelete::roundTables().isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM L_Log_202603 WHERE JobLog LIKE '[이체DB삭제]%'")), 3);

    // An empty list, and a cancelled question.
    msg.clear();
    msg.expect(MsgResult::Ok);
    EXPECT_TRUE(ToolActions::deleteRounds(false, {}, nullptr).isEmpty());
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("삭제할 데이터가 없습니다!!")});
}

TEST_F(Tools, RoundDeletionFailingHalfWayDropsNothing) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20250301")));
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20250302")));
    title(QStringLiteral("202503"), QStringLiteral("01"));
    title(QStringLiteral("202503"), QStringLiteral("02"));
    ASSERT_TRUE(Database::exec(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON M_TITLE "
                                              "WHEN old.seqno = '02' BEGIN SELECT raise(abort, 'no'); END")));
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    EXPECT_TRUE(ToolActions::deleteRounds(true, {QStringLiteral("H_200_20250301"), QStringLiteral("H_200_20250302")},
                                          nullptr)
                    .isEmpty());
    EXPECT_EQ(msg.texts().last(), QStringLiteral("삭제 실패하였습니다!!"));
    EXPECT_EQ(BulkDelete::roundTables().size(), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_TITLE")), 2);
    // A name that is not a listed round table is never dropped.
    EXPECT_FALSE(BulkDelete::dropRounds({QStringLiteral("M_CUST")}).ok);
    EXPECT_TRUE(Database::tableExists(QStringLiteral("M_CUST")));
}

TEST_F(Tools, IndexRepairDescribesAndRepairsKnownTables) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20250301")));
    ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20241102")));
    const struct {
        const char* table;
        const char16_t* description;
    } cases[] = {
        {"M_CUST", u"학생명부"},
        {"M_SRFILE", u"송수신로그"},
        {"H_200_20250301", u"집금이체 2025년 03월 01회차"},
        {"H_300_20241102", u"배분이체 2024년 11월 02회차"},
        {"G_GROUP", u""},
        {"L_Log_202603", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IndexRepair::description(QString::fromLatin1(c.table)), QString::fromUtf16(c.description))
            << c.table;

    msg.expect(MsgResult::Ok);
    const IndexRepair::Outcome o = ToolActions::repairIndexes(
        {QStringLiteral("G_GROUP"), QStringLiteral("M_CUST"), QStringLiteral("H_200_20250301")}, nullptr);
    EXPECT_EQ(o.repaired, (QStringList{QStringLiteral("M_CUST"), QStringLiteral("H_200_20250301")}));
    EXPECT_TRUE(o.integrityOk);
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("인덱스가 복구되었습니다.")});
    EXPECT_EQ(column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = '인덱스복구' ORDER BY seq")),
              (QStringList{QStringLiteral("[인덱스복구] 학생명부 인덱스복구"),
                           QStringLiteral("[인덱스복구] 집금이체DB(H_200_20250301 인덱스복구")}));
}

TEST_F(Tools, MonthlyLogSearch) {
    ASSERT_TRUE(CreateLogTableNamed(QStringLiteral("L_Log_202411")));
    ASSERT_TRUE(CreateLogTableNamed(QStringLiteral("L_Log_202501")));
    EXPECT_EQ(JobLogView::months(), (QStringList{QStringLiteral("2026-03"), QStringLiteral("2025-01"),
                                                 QStringLiteral("2024-11")}));
    // Days run to today in the current month, else to the month's end.
    EXPECT_EQ(JobLogView::dayItems(QStringLiteral("2026-03"), Clock::today()).last(), QStringLiteral("16일"));
    EXPECT_EQ(JobLogView::dayItems(QStringLiteral("2024-02"), Clock::today()).last(), QStringLiteral("29일"));
    EXPECT_EQ(JobLogView::dayItems(QStringLiteral("2024-02"), Clock::today()).at(1), QStringLiteral(" 1일"));
    EXPECT_EQ(JobLogView::dayDate(QStringLiteral("2024-02"), QStringLiteral(" 5일")), QStringLiteral("20240205"));

    DMLib->WriteJobLog(QStringLiteral("집금이체"), QStringLiteral("[송신] 집금 O'Neil 파일"));
    DMLib->WriteJobLog(QStringLiteral("집금이체"), QStringLiteral("[수신] 집금 파일"));
    DMLib->WriteJobLog(QStringLiteral("학생명부"), QStringLiteral("[수정] 100% 완료"));
    JobLogView::MonthFilter f;
    f.month = QStringLiteral("2026-03");
    f.menu = f.kind = QStringLiteral("전체");
    const auto logs = [&f] {
        QStringList out;
        for (const JobLogView::LogRow& r : JobLogView::search(f).rows) out << r.jobLog;
        return out;
    };
    EXPECT_EQ(logs().size(), 3);
    EXPECT_EQ(logs().first(), QStringLiteral("[수정] 100% 완료")); // newest first
    f.text = QStringLiteral("O'Neil");
    EXPECT_EQ(logs(), QStringList{QStringLiteral("[송신] 집금 O'Neil 파일")});
    f.text = QStringLiteral("집금");
    f.kind = QStringLiteral("수신");
    EXPECT_EQ(logs(), QStringList{QStringLiteral("[수신] 집금 파일")});
    f.kind = QStringLiteral("전체");
    f.text = QStringLiteral("0%");
    EXPECT_EQ(logs(), QStringList{QStringLiteral("[수정] 100% 완료")});
    f.text.clear();
    f.menu = QStringLiteral("학생명부");
    EXPECT_EQ(logs().size(), 1);
    f.menu = QStringLiteral("전체");
    f.dayFrom = f.dayTo = QStringLiteral("15일");
    EXPECT_TRUE(logs().isEmpty());

    // A table gone meanwhile: no database error.
    f.month = QStringLiteral("2023-01");
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(ToolActions::searchMonth(f, nullptr));
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("해당하는 자료가 없습니다.")});
}

TEST_F(Tools, OldLogViewer) {
    TFrmT301B00 w;
    w.MedtFromDate->setText(QStringLiteral("20040101"));
    msg.expect(MsgResult::Ok);
    w.BBtnSearchClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("조회일자를 입력하세요!!"));

    // No old table in this data folder.
    w.MedtToDate->setText(QStringLiteral("20041231"));
    msg.expect(MsgResult::Ok);
    w.BBtnSearchClick();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("해당하는 자료가 없습니다."));

    ASSERT_TRUE(Database::exec(QStringLiteral(
        "create table L_Log (LogDate char(8), LogTime char(6), MenuName char(30), JobLog char(200))")));
    for (const char* log : {"[수정] 이름 O'Neil", "[수정] 이름 홍"})
        ASSERT_TRUE(Database::insertRow(QStringLiteral("L_Log"), {{QStringLiteral("LogDate"), QStringLiteral("20040505")},
                                                                  {QStringLiteral("LogTime"), QStringLiteral("101010")},
                                                                  {QStringLiteral("MenuName"), QStringLiteral("학생명부")},
                                                                  {QStringLiteral("JobLog"), QString::fromUtf8(log)}}));
    w.EdtText->setText(QStringLiteral("O'N"));
    w.BBtnSearchClick();
    ASSERT_EQ(w.SGrdLog->rowCount(), 1);
    EXPECT_EQ(w.SGrdLog->item(0, 3)->text(), QStringLiteral("[수정] 이름 O'Neil"));
    EXPECT_EQ(w.SGrdLog->item(0, 0)->text(), QStringLiteral("20040505"));
}

TEST_F(Tools, MonthlyViewerWindow) {
    DMLib->WriteJobLog(QStringLiteral("학생명부"), QStringLiteral("[수정] 하나"));
    TFrmT304B00 w;
    EXPECT_EQ(w.cboYearF->currentText(), QStringLiteral("2026-03"));
    EXPECT_FALSE(w.cboDayT->isEnabled());
    w.cboDayF->setCurrentIndex(3);
    w.cboDayFChange();
    EXPECT_TRUE(w.cboDayT->isEnabled());
    EXPECT_EQ(w.cboDayT->itemText(0), QStringLiteral(" 3일"));
    w.cboDayF->setCurrentIndex(0);
    w.cboDayFChange();
    w.cmdSearchClick();
    EXPECT_EQ(w.vGrid->item(0, 1)->text(), QStringLiteral("2026-03-16"));
    EXPECT_EQ(w.vGrid->item(0, 2)->text(), QStringLiteral("10:20:30"));
    EXPECT_EQ(w.vGrid->item(0, 4)->text(), QStringLiteral("[수정] 하나"));
}

} // namespace
