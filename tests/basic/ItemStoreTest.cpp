#include "basic/ItemStore.h"
#include "basic/GroupStore.h"
#include "platform/db/Database.h"
#include "support/TestRoot.h"

namespace {

class ItemStoreTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        GroupStore::save({QStringLiteral("02"), QStringLiteral("방과후"), QString()}, QString());
        Database::exec(QStringLiteral("DELETE FROM L_Log_202603"));
    }

    static ItemInput input(const QString& id, const QString& name, const QString& amount,
                           const QString& gcode = QStringLiteral("01")) {
        ItemInput in;
        in.itemId = id;
        in.name = name;
        in.amount = amount;
        in.kwan = name;
        in.hang = name;
        in.gcode = gcode;
        return in;
    }
    // Puts an item straight into the table.
    static void put(const QString& itemCd, const QString& itemId, const QString& gcode,
                    qint64 amount = 1000) {
        ASSERT_TRUE(
            Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), itemCd},
                                                           {QStringLiteral("ItemID"), itemId},
                                                           {QStringLiteral("ItemNm"), QStringLiteral("항목")},
                                                           {QStringLiteral("ItemAmt"), amount},
                                                           {QStringLiteral("Gcode"), gcode}}));
    }
    static QStringList log() {
        return column(QStringLiteral("SELECT MenuName || '|' || JobLog FROM L_Log_202603 ORDER BY seq"));
    }
    static QStringList items() {
        return column(QStringLiteral("SELECT ItemCd || ':' || IFNULL(ItemID,'') || ':' || IFNULL(Gcode,'') "
                                     "FROM C_ITEM ORDER BY ItemCd"));
    }
};

TEST_F(ItemStoreTest, FirstItemGetsCode01BesideThePlaceholder) {
    const auto r =
        ItemStore::save(input(QStringLiteral("5"), QStringLiteral("급식비"), QStringLiteral("30,000")));
    ASSERT_TRUE(r.saved) << r.refusal.text.toStdString();
    EXPECT_TRUE(r.inserted);
    EXPECT_EQ(r.itemCd, QStringLiteral("01"));
    EXPECT_EQ(items(), (QStringList{QStringLiteral("00::"), QStringLiteral("01:05:01")}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT ItemAmt FROM C_ITEM WHERE ItemCd = '01'")), 30000);
    EXPECT_EQ(log(),
              QStringList{QStringLiteral("항목등록|[등록]항목그룹: 01.기본, 항목코드: 05, 항목명: 급식비, "
                                         "관:급식비, 항:급식비, 금액:30000, 교육비납입증명서:비대상")});

    // The second item takes the next global code; its group numbers afresh.
    const auto r2 = ItemStore::save(
        input(QStringLiteral("01"), QStringLiteral("교재비"), QStringLiteral("500"), QStringLiteral("02")));
    ASSERT_TRUE(r2.saved);
    EXPECT_EQ(r2.itemCd, QStringLiteral("02"));
    EXPECT_EQ(ItemStore::nextItemId(QStringLiteral("02")), QStringLiteral("02"));
}

TEST_F(ItemStoreTest, CodeNumbering) {
    put(QStringLiteral("00"), QString(), QString());
    put(QStringLiteral("01"), QStringLiteral("03"), QStringLiteral("01"));
    put(QStringLiteral("15"), QStringLiteral("07"), QStringLiteral("01"));
    put(QStringLiteral("02"), QStringLiteral("99"), QStringLiteral("02"));
    put(QStringLiteral("03"), QStringLiteral("01"), QStringLiteral("02"));
    EXPECT_EQ(ItemStore::nextItemId(QStringLiteral("01")), QStringLiteral("08")); // gap at 01, 02 stays
    EXPECT_EQ(ItemStore::nextItemId(QStringLiteral("02")), QStringLiteral("02")); // 99 taken: first free
    EXPECT_EQ(ItemStore::nextItemId(QStringLiteral("03")), QStringLiteral("01")); // empty group
    EXPECT_EQ(ItemStore::nextItemCd(), QStringLiteral("16"));                     // over all groups
    put(QStringLiteral("99"), QStringLiteral("09"), QStringLiteral("01"));
    EXPECT_EQ(ItemStore::nextItemCd(), QStringLiteral("04"));

    EXPECT_EQ(ItemStore::normalizeItemId(QStringLiteral("5")), QStringLiteral("05"));
    EXPECT_EQ(ItemStore::normalizeItemId(QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(ItemStore::normalizeItemId(QStringLiteral("12")), QStringLiteral("12"));
}

TEST_F(ItemStoreTest, FullCodeRangesRefuse) {
    // Group 03 uses every ItemID: no code is proposed.
    Transaction tx;
    put(QStringLiteral("00"), QString(), QString());
    for (int n = 1; n <= 99; ++n) {
        const QString c = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        put(c, c, QStringLiteral("03"));
    }
    ASSERT_TRUE(tx.commit());
    EXPECT_EQ(ItemStore::nextItemId(QStringLiteral("03")), QString());
    EXPECT_EQ(ItemStore::nextItemId(QStringLiteral("01")), QStringLiteral("01"));

    // Every ItemCd is taken, so a new item of another group cannot be keyed.
    const auto r =
        ItemStore::save(input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("100")));
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(r.refusal.field, ItemStore::FieldItemId);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_ITEM")), 100);
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(ItemStoreTest, AmountChangeCarriesIntoWholeExemptionsOnly) {
    auto r = ItemStore::save(input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("30000")));
    const QString cd = r.itemCd;
    ItemStore::save(input(QStringLiteral("02"), QStringLiteral("교재비"), QStringLiteral("30000")));
    const struct {
        const char* cust;
        const char* item;
        qint64 val;
    } exemptions[] = {{"C1", "01", 30000}, {"C2", "01", 15000}, {"C3", "02", 30000}, {"C4", "01", 30000}};
    for (const auto& e : exemptions)
        Database::insertRow(QStringLiteral("M_EXEMP"),
                            {{QStringLiteral("CustNo"), QString::fromLatin1(e.cust)},
                             {QStringLiteral("ItemCd"), QString::fromLatin1(e.item)},
                             {QStringLiteral("Itemval"), e.val},
                             {QStringLiteral("Free"), QStringLiteral("A")}});
    Database::exec(QStringLiteral("DELETE FROM L_Log_202603"));

    ItemInput in = input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("32,000"));
    in.itemCd = cd;
    in.shownItemId = QStringLiteral("01");
    r = ItemStore::save(in);
    ASSERT_TRUE(r.saved);
    ASSERT_TRUE(r.amountChanged);
    EXPECT_EQ(r.oldAmount, 30000);
    EXPECT_EQ(r.newAmount, 32000);
    EXPECT_EQ(ItemStore::carryAmount(cd, r.oldAmount, r.newAmount, r.logPrefix), 2);
    EXPECT_EQ(column(QStringLiteral("SELECT CustNo || ':' || Itemval FROM M_EXEMP ORDER BY CustNo")),
              (QStringList{QStringLiteral("C1:32000"), QStringLiteral("C2:15000"), QStringLiteral("C3:30000"),
                           QStringLiteral("C4:32000")}));
    EXPECT_EQ(
        log(),
        (QStringList{
            QStringLiteral("항목등록|[수정](항목그룹: 01.기본 ,항목코드: 01,항목명: 급식비)  금액 : 32000"),
            QStringLiteral(
                "면제금액자동수정|[수정](항목그룹: 01.기본 ,항목코드: 01,항목명: 급식비)  금액 : 32000")}));

    // A second run finds nothing to change and logs nothing.
    EXPECT_EQ(ItemStore::carryAmount(cd, 30000, 32000, r.logPrefix), 0);
    EXPECT_EQ(log().size(), 2);
}

TEST_F(ItemStoreTest, EditLogsEachChangeAndNothingWithoutChange) {
    auto r = ItemStore::save(input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("30000")));
    ItemInput in = input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("30000"));
    in.itemCd = r.itemCd;
    in.shownItemId = QStringLiteral("01");
    Database::exec(QStringLiteral("DELETE FROM L_Log_202603"));

    r = ItemStore::save(in);
    EXPECT_TRUE(r.saved);
    EXPECT_FALSE(r.amountChanged);
    EXPECT_TRUE(log().isEmpty());

    in.itemId = QStringLiteral("4");
    in.name = QStringLiteral("우유'급식");
    in.kwan = QStringLiteral("관1");
    in.eduTarget = true;
    in.gcode = QStringLiteral("02");
    r = ItemStore::save(in);
    ASSERT_TRUE(r.saved);
    const QString p = QStringLiteral("항목등록|[수정](항목그룹: 01.기본 ,항목코드: 01,항목명: 급식비) ");
    EXPECT_EQ(log(), (QStringList{p + QStringLiteral(" 그룹변경 : 02"), p + QStringLiteral(" 항목코드 : 04"),
                                  p + QStringLiteral(" 항목명 : 우유'급식"), p + QStringLiteral(" 관 : 관1"),
                                  p + QStringLiteral(" 교육비납입증명서 : 대상")}));
    const auto row = ItemStore::find(r.itemCd);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->itemId, QStringLiteral("04"));
    EXPECT_EQ(row->gcode, QStringLiteral("02"));
    EXPECT_EQ(row->name, QStringLiteral("우유'급식"));
    EXPECT_EQ(row->eduType, QStringLiteral("1"));
}

TEST_F(ItemStoreTest, ItemIdConflictsAreRefusedBeforeAnythingIsWritten) {
    const QString a =
        ItemStore::save(input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("100"))).itemCd;
    ItemStore::save(input(QStringLiteral("02"), QStringLiteral("교재비"), QStringLiteral("100"))).itemCd;
    ItemStore::save(
        input(QStringLiteral("01"), QStringLiteral("수련회"), QStringLiteral("100"), QStringLiteral("02")));
    const QStringList before = items();
    Database::exec(QStringLiteral("DELETE FROM L_Log_202603"));

    const QString dupInGroup = QStringLiteral("항목그룹내 항목코드가 중복됩니다!!");
    struct Case {
        const char* name;
        ItemInput in;
        QString text;
    };
    ItemInput renumber = input(QStringLiteral("02"), QStringLiteral("새이름"), QStringLiteral("999"));
    renumber.itemCd = a;
    renumber.shownItemId = QStringLiteral("01");
    // Same ItemID, other group where it is taken.
    ItemInput move =
        input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("100"), QStringLiteral("02"));
    move.itemCd = a;
    move.shownItemId = QStringLiteral("01");
    ItemInput newDup = input(QStringLiteral("02"), QStringLiteral("새항목"), QStringLiteral("100"));
    ItemInput newDupShown = newDup;
    newDupShown.shownItemId = QStringLiteral("02");
    const Case cases[] = {
        {"renumber onto a used code", renumber, dupInGroup},
        {"move into a group that uses the code", move, dupInGroup},
        {"new item with a used code", newDup, dupInGroup},
        {"new item typed as the clicked row's code", newDupShown, QStringLiteral("항목코드가 중복됩니다!!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = ItemStore::save(c.in);
        EXPECT_FALSE(r.saved);
        EXPECT_EQ(r.refusal.text, c.text);
        EXPECT_EQ(r.refusal.caption, QStringLiteral("입력오류"));
        EXPECT_EQ(r.refusal.field, ItemStore::FieldItemId);
    }
    EXPECT_EQ(items(), before);
    EXPECT_TRUE(log().isEmpty());

    // Moving to a group where the code is free works.
    move.gcode = QStringLiteral("03");
    Database::insertRow(QStringLiteral("G_GROUP"), {{QStringLiteral("G_CODE"), QStringLiteral("03")},
                                                    {QStringLiteral("G_NAME"), QStringLiteral("기타")}});
    EXPECT_TRUE(ItemStore::save(move).saved);
}

TEST_F(ItemStoreTest, BadInputIsRefusedAndNothingStored) {
    const struct {
        const char* name;
        ItemInput in;
        int field;
    } cases[] = {
        {"code 00", input(QStringLiteral("00"), QStringLiteral("급식비"), QStringLiteral("1")),
         ItemStore::FieldItemId},
        {"code 0", input(QStringLiteral("0"), QStringLiteral("급식비"), QStringLiteral("1")),
         ItemStore::FieldItemId},
        {"code not a number", input(QStringLiteral("A1"), QStringLiteral("급식비"), QStringLiteral("1")),
         ItemStore::FieldItemId},
        {"empty code", input(QString(), QStringLiteral("급식비"), QStringLiteral("1")),
         ItemStore::FieldItemId},
        {"empty name", input(QStringLiteral("01"), QStringLiteral(" "), QStringLiteral("1")),
         ItemStore::FieldName},
        {"empty amount", input(QStringLiteral("01"), QStringLiteral("급식비"), QString()),
         ItemStore::FieldAmount},
        {"amount with letters",
         input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("3만원")),
         ItemStore::FieldAmount},
        {"amount with a fraction",
         input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("12.5")),
         ItemStore::FieldAmount},
        {"negative amount", input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("-100")),
         ItemStore::FieldAmount},
        {"name over 10 bytes",
         input(QStringLiteral("01"), QStringLiteral("가나다라마바"), QStringLiteral("1")),
         ItemStore::FieldName},
        {"name outside CP949", input(QStringLiteral("01"), QStringLiteral("급식😀"), QStringLiteral("1")),
         ItemStore::FieldName},
        {"name with a line break", input(QStringLiteral("01"), QStringLiteral("급식\n비"), QStringLiteral("1")),
         ItemStore::FieldName},
        {"no group", input(QStringLiteral("01"), QStringLiteral("급식비"), QStringLiteral("1"), QString()),
         ItemStore::FieldGroup},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = ItemStore::save(c.in);
        EXPECT_FALSE(r.saved);
        EXPECT_TRUE(r.refusal);
        EXPECT_EQ(r.refusal.field, c.field);
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM C_ITEM")), 0);
    EXPECT_TRUE(log().isEmpty());

    qint64 v = 0;
    EXPECT_TRUE(ItemStore::parseAmount(QStringLiteral("1,234,000"), &v));
    EXPECT_EQ(v, 1234000);
    EXPECT_TRUE(ItemStore::parseAmount(QStringLiteral("500.00"), &v));
    EXPECT_EQ(v, 500);
}

TEST_F(ItemStoreTest, DeleteNeverTakesThePlaceholder) {
    const auto r =
        ItemStore::save(input(QStringLiteral("03"), QStringLiteral("급식비"), QStringLiteral("100")));
    Database::exec(QStringLiteral("DELETE FROM L_Log_202603"));
    EXPECT_FALSE(ItemStore::remove(QStringLiteral("00"), QString()));
    EXPECT_FALSE(ItemStore::remove(QString(), QString()));
    EXPECT_FALSE(ItemStore::remove(QStringLiteral("77"), QStringLiteral("77")));
    EXPECT_TRUE(ItemStore::remove(r.itemCd, QStringLiteral("03")));
    EXPECT_EQ(items(), QStringList{QStringLiteral("00::")});
    EXPECT_EQ(log(),
              QStringList{QStringLiteral("항목등록|[삭제]항목그룹: 01.기본, 항목코드: 03 , 항목명: 급식비")});
}

} // namespace
