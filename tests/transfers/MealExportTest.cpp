#include "transfers/collection/MealExport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "support/TestRoot.h"
#include "platform/ui/Modal.h"
#include "transfers/collection/M401B00.h"
#include "transfers/collection/M401B01.h"
#include "transfers/collection/MealItems.h"

#include <QCheckBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

class MealExportTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        // Two item groups whose items have other ItemIDs than ItemCds.
        const struct {
            const char *cd, *nm, *g, *id;
        } items[] = {{"05", "급식비", "01", "01"}, {"06", "수업료", "01", "02"}, {"07", "우유", "02", "01"}};
        for (const auto& i : items)
            ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), i.cd},
                                                                       {QStringLiteral("ItemNm"), i.nm},
                                                                       {QStringLiteral("Gcode"), i.g},
                                                                       {QStringLiteral("ItemID"), i.id}}));
        ASSERT_TRUE(MealItems::save({{"05", "급식비", "L"}, {"07", "우유", "M"}}));
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260301")));
        const struct {
            const char *sno, *nm, *g, *id, *reply;
            int amt;
        } rows[] = {
            {"10101", "홍길동", "01", "01", "1", 50000},  // 급식비: counts
            {"10101", "홍길동", "01", "02", "1", 70000},  // 수업료: not a meal item
            {"10102", "남궁민수아", "02", "01", "2", 800}, // 우유 of group 02: counts
            {"10103", "김", "02", "01", "0", 800},        // unpaid
            {"10104", "이", "01", "01", "2", 50000},      // cash
        };
        for (const auto& r : rows)
            ASSERT_TRUE(Database::insertRow(table, {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                                                    {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                                    {QStringLiteral("SNo"), r.sno},
                                                    {QStringLiteral("Nm"), r.nm},
                                                    {QStringLiteral("Gcode"), r.g},
                                                    {QStringLiteral("ItemCd"), r.id},
                                                    {QStringLiteral("ReplyTy"), r.reply},
                                                    {QStringLiteral("ProcDt"), QStringLiteral("20260325")},
                                                    {QStringLiteral("Amt"), r.amt}}));
    }
    const QString table = QStringLiteral("H_200_20260301");
};

TEST_F(MealExportTest, WritesThePaidMealItemsOfEveryGroup) {
    qint64 amount = 0;
    EXPECT_EQ(MealExport::countRows(table, {}, &amount), 3);
    EXPECT_EQ(amount, 100800);
    QString file, error;
    ASSERT_EQ(MealExport::writeRound(table, {}, path(QStringLiteral("hxls/")), &file, &error), 3)
        << error.toStdString();
    EXPECT_EQ(file, path(QStringLiteral("hxls/H20260301.xlsx")));
    const std::optional<SheetTable> t = SheetReader::read(file);
    ASSERT_TRUE(t);
    const QStringList expected[] = {
        {"학번", "성명", "항목", "금액", "이체일", "그룹", "수납구분"},
        {"10101", "홍길동     ", "L", "50000      ", "20260325", "202603", "I"},
        {"10102", "남궁민수아 ", "M", "800        ", "20260325", "202603", "C"},
        {"10104", "이         ", "L", "50000      ", "20260325", "202603", "C"},
    };
    ASSERT_EQ(t->rowCount(), 4);
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 7; ++c)
            EXPECT_EQ(t->text(r, c), expected[r - 1].at(c - 1)) << r << "," << c;
}

TEST_F(MealExportTest, CashOnlyAndRoundsWithoutMealRows) {
    MealExport::Kinds cash;
    cash.autoPaid = false;
    QString file;
    ASSERT_EQ(MealExport::writeRound(table, cash, path(QStringLiteral("hxls")), &file), 2);
    const std::optional<SheetTable> t = SheetReader::read(file);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->text(2, 7), QStringLiteral("C"));
    EXPECT_EQ(t->text(3, 7), QStringLiteral("C"));
    ASSERT_TRUE(MealItems::save({{"06", "수업료", ""}}));
    EXPECT_EQ(MealExport::writeRound(table, cash, path(QStringLiteral("other")), &file), 0);
    EXPECT_FALSE(QDir(path(QStringLiteral("other"))).exists());
}

TEST_F(MealExportTest, RangesCompareYearMonthTexts) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260302")));
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260401")));
    const struct {
        const char *from, *to;
        std::optional<QStringList> rounds;
    } cases[] = {
        {"2026-03", "2026-03", QStringList{"H_200_20260301", "H_200_20260302"}},
        {"2026-02", "2026-04", QStringList{"H_200_20260301", "H_200_20260302", "H_200_20260401"}},
        {"2026-03", "2026-02", std::nullopt},
        {"2026-03", "-", std::nullopt},
        {"2026-0", "2026-04", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MealExport::roundsInRange(QLatin1String(c.from), QLatin1String(c.to)), c.rounds)
            << c.from << " " << c.to;
}

// The window: marked rounds, the confirmed count, one workbook per round
// with meal rows; a round without any gets none and the run still succeeds.
TEST_F(MealExportTest, WindowWritesTheMarkedRounds) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260302")));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_20260302"), {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                                                                        {QStringLiteral("SeqNo"), QStringLiteral("02")},
                                                                        {QStringLiteral("SNo"), QStringLiteral("10101")},
                                                                        {QStringLiteral("Gcode"), QStringLiteral("01")},
                                                                        {QStringLiteral("ItemCd"), QStringLiteral("02")},
                                                                        {QStringLiteral("ReplyTy"), QStringLiteral("2")},
                                                                        {QStringLiteral("Amt"), 70000}}));
    ASSERT_TRUE(MealItems::write({true, path(QStringLiteral("meal"))}));
    QStringList confirmed;
    int answer = 1;
    Modal::setRunner([&](QDialog* d) {
        if (auto* c = qobject_cast<TFrmM401B01*>(d)) confirmed << c->txtV->text() + QLatin1Char('/') + c->txtW->text();
        return answer;
    });
    TFrmM401B00 w;
    EXPECT_FALSE(w.cmdSend->isEnabled());
    EXPECT_FALSE(w.chkCash->isEnabled());
    EXPECT_EQ(w.mskFYear->text(), QStringLiteral("2026-03"));

    // A key in the start empties the end: the search is refused.
    QTest::keyClick(w.mskFYear, Qt::Key_3);
    EXPECT_EQ(w.mskTYear->text(), QStringLiteral("-"));
    msg.expect(MsgResult::Ok);
    w.cmdSearchClick();
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("작성년월 조건이 잘못 입력되었습니다. 확인하십시오."));
    w.mskFYear->setText(QStringLiteral("2026-03"));
    w.mskTYear->setText(QStringLiteral("2026-03"));
    w.cmdSearchClick();
    ASSERT_EQ(w.vGrid->rowCount(), 2);
    EXPECT_EQ(w.vGrid->item(1, TFrmM401B00::ColSeqNo)->text(), QStringLiteral("02"));
    EXPECT_EQ(w.vGrid->item(1, TFrmM401B00::ColYearMon)->text(), QStringLiteral("2026-03"));
    w.vGridDblClick(0);
    w.vGridDblClick(1);
    ASSERT_TRUE(w.cmdSend->isEnabled());
    EXPECT_EQ(w.marked(), (QStringList{table, QStringLiteral("H_200_20260302")}));

    // Cash only; the first answer cancels, nothing is written.
    w.chkAuto->setChecked(false);
    answer = 2;
    w.cmdSendClick();
    EXPECT_EQ(confirmed, QStringList{QStringLiteral("2 건/50,800 원")});
    EXPECT_FALSE(QDir(path(QStringLiteral("meal"))).exists());
    answer = 1;
    msg.expect(MsgResult::Ok);
    w.cmdSendClick();
    EXPECT_EQ(msg.texts().value(1), QStringLiteral("급식인증자료를 생성하였습니다!"));
    EXPECT_EQ(QDir(path(QStringLiteral("meal"))).entryList(QDir::Files), QStringList{QStringLiteral("H20260301.xlsx")});
    EXPECT_TRUE(w.cmdSend->isEnabled());

    // Only the round without meal rows: paid rows, but none of a meal item.
    w.vGridDblClick(0);
    msg.expect(MsgResult::Ok);
    w.cmdSendClick();
    EXPECT_EQ(msg.texts().value(2), QStringLiteral("급식인증 대상항목이 존재하지 않습니다."));
    w.chkCash->setChecked(false);
    msg.expect(MsgResult::Ok);
    w.cmdSendClick();
    EXPECT_EQ(msg.texts().value(3), QStringLiteral("이체구분(자동이체,현금수납)을 선택하세요."));
    Modal::setRunner({});
}

TEST_F(MealExportTest, WindowClosesWhenTheExportIsSwitchedOff) {
    ASSERT_TRUE(MealItems::write({false, path(QStringLiteral("meal"))}));
    TFrmM401B00 w;
    msg.expect(MsgResult::Ok);
    w.FormPaint();
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("급식인증 환경설정이 자동으로 설정 되어있지 않습니다."));
    EXPECT_EQ(w.result(), int(QDialog::Rejected));
}

// The driver's export goes through the menu's and the window's checks and
// shows the confirmation with the count and amount, as a box it answers.
TEST_F(MealExportTest, DriverExportShowsTheWindowsBoxes) {
    const QString folder = path(QStringLiteral("meal"));
    const QString file = folder + QStringLiteral("/H20260301.xlsx");
    const QString confirm = QStringLiteral("총건수: 3 건\r총금액: 100,800 원");
    const struct {
        const char* name;
        MealItems::Settings settings;
        bool noItems;
        const char* kinds;
        const char* answers;
        int rc;
        QStringList boxes; // texts, in order
        bool written;
    } cases[] = {
        {"switched off",
         {false, folder},
         false,
         "both",
         "",
         1,
         {QStringLiteral("급식인증 환경설정이 자동으로 설정 되어있지 않습니다.")},
         false},
        {"no folder",
         {true, QStringLiteral(" ")},
         false,
         "both",
         "",
         1,
         {QStringLiteral("급식인증 전송파일 저장경로가 등록되어 있지 않습니다. \r확인하십시오.")},
         false},
        {"no meal items",
         {true, folder},
         true,
         "both",
         "",
         1,
         {QStringLiteral("급식인증 항목이 설정되어 있지 않습니다.")},
         false},
        {"confirmation cancelled", {true, folder}, false, "both", "", 1, {confirm}, false},
        {"confirmed",
         {true, folder},
         false,
         "both",
         "ok",
         0,
         {confirm, QStringLiteral("급식인증자료를 생성하였습니다!")},
         true},
        {"cash only",
         {true, folder},
         false,
         "cash",
         "ok",
         0,
         {QStringLiteral("총건수: 2 건\r총금액: 50,800 원"),
          QStringLiteral("급식인증자료를 생성하였습니다!")},
         true},
    };
    for (const auto& c : cases) {
        QFile::remove(file);
        ASSERT_TRUE(MealItems::write(c.settings));
        ASSERT_TRUE(
            MealItems::save(c.noItems ? QList<MealItems::Item>{}
                                      : QList<MealItems::Item>{{"05", "급식비", "L"}, {"07", "우유", "M"}}));
        stopServices();
        QProcess p;
        QStringList args{QStringLiteral("--root"), root()};
        if (*c.answers) args << QStringLiteral("--answers") << QString::fromLatin1(c.answers);
        args << QStringLiteral("meal") << QStringLiteral("export") << table << QStringLiteral("--kinds")
             << QString::fromLatin1(c.kinds);
        p.start(QStringLiteral(ZQ_DRIVER_PATH), args);
        EXPECT_TRUE(p.waitForFinished(60000)) << c.name;
        QStringList boxes;
        QJsonObject last;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n')) {
            if (l.trimmed().isEmpty()) continue;
            last = QJsonDocument::fromJson(l).object();
            if (last.contains(QStringLiteral("box"))) boxes << last.value(QStringLiteral("text")).toString();
        }
        startServices();
        EXPECT_EQ(p.exitCode(), c.rc) << c.name;
        EXPECT_EQ(boxes, c.boxes) << c.name;
        EXPECT_EQ(QFile::exists(file), c.written) << c.name;
        EXPECT_EQ(last.value(QStringLiteral("created")).toBool(), c.written) << c.name;
    }
}

} // namespace
