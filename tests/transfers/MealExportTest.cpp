#include "transfers/collection/MealExport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "support/TestRoot.h"
#include "van/MealItems.h"

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

} // namespace
