#include "transfers/collection/MealItems.h"
#include "van/T501B00.h"

#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "support/TestRoot.h"

#include <QTableWidget>

namespace {

class MealItemsTest : public TestRoot {
protected:
    void items() {
        for (const auto& [cd, nm] : {std::pair{"01", "급식비"}, {"02", "우유급식"}, {"03", "수업료"}})
            ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"),
                                            {{QStringLiteral("ItemCd"), QString::fromUtf8(cd)},
                                             {QStringLiteral("ItemNm"), QString::fromUtf8(nm)},
                                             {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    }
};

TEST_F(MealItemsTest, UnreadableSettingsBecomeTheDefaultsAtOnce) {
    const MealItems::Settings s = MealItems::read();
    EXPECT_FALSE(s.use);
    EXPECT_EQ(s.folder, root() + QStringLiteral("/hxls/"));
    EXPECT_EQ(Registry::readInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAutS")), 0);
    EXPECT_EQ(Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("UxHxls")), s.folder);
    ASSERT_TRUE(MealItems::write({true, QStringLiteral("/srv/meal/")}));
    EXPECT_TRUE(MealItems::read().use);
    EXPECT_EQ(MealItems::read().folder, QStringLiteral("/srv/meal/"));
}

TEST_F(MealItemsTest, SaveReplacesTheItemsWholeWithoutEmptyRows) {
    items();
    ASSERT_TRUE(MealItems::save({{"02", "우유급식", "ab"}, {"", "", ""}, {"01", "급식'비", ""}}));
    const QList<MealItems::Item> c = MealItems::chosen();
    ASSERT_EQ(c.size(), 2);
    EXPECT_EQ(c.at(0).code, QStringLiteral("01"));
    EXPECT_EQ(c.at(0).name, QStringLiteral("급식'비")); // a quote is stored as typed
    EXPECT_EQ(c.at(0).kind, QString());
    EXPECT_EQ(c.at(1).kind, QStringLiteral("A"));
    const QList<MealItems::Item> left = MealItems::available(c);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.first().code, QStringLiteral("03"));
    ASSERT_TRUE(MealItems::save({}));
    EXPECT_TRUE(MealItems::chosen().isEmpty());
}

TEST_F(MealItemsTest, ItemDialogMovesAndSaves) {
    items();
    TFrmT501B01 dlg;
    EXPECT_EQ(dlg.vGrid->rowCount(), 3);
    dlg.vGrid->setCurrentCell(1, 0);
    dlg.sbRightOneClick(11);
    EXPECT_EQ(dlg.wGrid->rowCount(), 1);
    EXPECT_EQ(dlg.vGrid->rowCount(), 2);
    dlg.sbRightOneClick(12);
    EXPECT_EQ(dlg.wGrid->rowCount(), 3);
    EXPECT_EQ(dlg.vGrid->rowCount(), 0);
    dlg.sbRightOneClick(11); // nothing left: nothing moves
    EXPECT_EQ(dlg.wGrid->rowCount(), 3);
    dlg.wGrid->setCurrentCell(2, 0);
    dlg.sbRightOneClick(21);
    EXPECT_EQ(dlg.vGrid->rowCount(), 1);
    dlg.wGrid->item(0, 2)->setText(QStringLiteral("m"));
    msg.expect(MsgResult::Yes);
    dlg.cmdSaveClick();
    EXPECT_EQ(dlg.result(), 1);
    EXPECT_EQ(column(QStringLiteral("SELECT itemcd || COALESCE(itemtp, '') FROM D_ITEM ORDER BY itemcd")),
              QStringList({"01", "02M"}));
}

} // namespace
