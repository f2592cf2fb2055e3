#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "support/TestRoot.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>

namespace {

class Lists : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        const struct {
            const char *cd, *nm, *amt, *g, *id;
        } items[] = {
            {"01", "수업료", "100000", "01", "01"},
            {"02", "급식비", "50000", "01", "02"},
            {"03", "교복", "70000", "02", "01"},
            {"04", "앨범", "30000", "02", "02"},
        };
        for (const auto& i : items)
            ASSERT_TRUE(Database::insertRow(
                QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), QString::fromUtf8(i.cd)},
                                           {QStringLiteral("ItemNm"), QString::fromUtf8(i.nm)},
                                           {QStringLiteral("ItemAmt"), QString::fromUtf8(i.amt).toLongLong()},
                                           {QStringLiteral("Gcode"), QString::fromUtf8(i.g)},
                                           {QStringLiteral("ItemID"), QString::fromUtf8(i.id)}}));
        Database::insertRow(QStringLiteral("G_GROUP"),
                            {{QStringLiteral("G_CODE"), QStringLiteral("02")},
                             {QStringLiteral("G_NAME"), QStringLiteral("방과후")}});
        const struct {
            const char *cd, *nm, *kind;
        } grades[] = {{"1", "1학년", "초등학교"}, {"7", "유치원반", "유치원"}, {"8", "무명", ""}};
        for (const auto& g : grades)
            Database::insertRow(QStringLiteral("C_SCD"),
                                {{QStringLiteral("SCd"), QString::fromUtf8(g.cd)},
                                 {QStringLiteral("SCdNm"), QString::fromUtf8(g.nm)},
                                 {QStringLiteral("CompyNm"), QString::fromUtf8(g.kind)}});
        DMData->LoadLists();
    }

    static void schoolInfo(const QString& sch, const QString& kid) {
        Database::exec(
            QStringLiteral("create table SCHOOLINFO (SchNm char(40), KidNm char(40), SchTel char(20), "
                           "KidTel char(20))"));
        Query q(QStringLiteral("insert into SCHOOLINFO values (?, ?, ?, ?)"));
        q.add(sch)
            .add(kid)
            .add(sch.isEmpty() ? QString() : QStringLiteral("02-1"))
            .add(kid.isEmpty() ? QString() : QStringLiteral("02-2"));
        ASSERT_TRUE(q.exec()) << q.error().toStdString();
    }
};

TEST_F(Lists, StartUpListsHoldBanksInUseGroupOneItemsAndEveryGroup) {
    EXPECT_EQ(DMData->BankList.size(), 15);
    EXPECT_EQ(DMData->BankList.first().Display, QStringLiteral("03.기업은행"));
    EXPECT_EQ(DMData->ItemTexts(), (QStringList{QStringLiteral("01.수업료"), QStringLiteral("02.급식비")}));
    EXPECT_EQ(DMData->GItemList.size(), 4);
    EXPECT_EQ(DMData->GroupTexts(), (QStringList{QStringLiteral("01.기본"), QStringLiteral("02.방과후")}));
}

TEST_F(Lists, Lookups) {
    const struct {
        const char* name;
        QString got, want;
    } cases[] = {
        {"bank in use", DMData->GetBankName(QStringLiteral("04")), QStringLiteral("국민은행")},
        {"bank not in use is unknown", DMData->GetBankName(QStringLiteral("02")), QString()},
        {"bank code is not trimmed", DMData->GetBankName(QStringLiteral(" 04")), QString()},
        {"bank name is trimmed", DMData->GetBankCode(QStringLiteral("  국민은행 ")), QStringLiteral("04")},
        {"unused bank name", DMData->GetBankCode(QStringLiteral("산업은행")), QString()},
        {"item of group 01", DMData->GetItemName(QStringLiteral("02")), QStringLiteral("급식비")},
        {"item of another group", DMData->GetItemName(QStringLiteral("03")), QString()},
        {"code by id", DMData->GetItemCodeByID(QStringLiteral("02")), QStringLiteral("02")},
        {"code by unknown id", DMData->GetItemCodeByID(QStringLiteral("09")), QString()},
        {"group item (id, group)", DMData->GetGItemName(QStringLiteral("02"), QStringLiteral("01")),
         QStringLiteral("급식비")},
        {"group item (group, id)", DMData->FindGItemName(QStringLiteral("01"), QStringLiteral("02")),
         QStringLiteral("급식비")},
        {"group item of group 02", DMData->FindGItemName(QStringLiteral("02"), QStringLiteral("01")),
         QStringLiteral("교복")},
        {"group item unknown", DMData->GetGItemName(QStringLiteral("01"), QStringLiteral("09")), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
}

TEST_F(Lists, ItemQueryOfAnotherGroupStaysForTheNextReload) {
    DMData->SetItemGroup(QStringLiteral("02"));
    EXPECT_EQ(DMData->ItemTexts(), (QStringList{QStringLiteral("01.교복"), QStringLiteral("02.앨범")}));
    EXPECT_EQ(DMData->GetItemCodeByID(QStringLiteral("02")), QStringLiteral("04"));
    EXPECT_EQ(DMData->GetItemName(QStringLiteral("01")), QString());
    Database::updateRows(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemNm"), QStringLiteral("졸업앨범")}},
                         {{QStringLiteral("ItemCd"), QStringLiteral("04")}});
    DMData->ReloadItems();
    EXPECT_EQ(DMData->GetItemName(QStringLiteral("04")), QStringLiteral("졸업앨범"));
    EXPECT_EQ(DMData->GetGItemName(QStringLiteral("02"), QStringLiteral("02")), QStringLiteral("졸업앨범"));

    // A caller's own statement, with a quote in its bound value.
    DMData->ItemQry.SQL =
        QStringLiteral("SELECT ItemCd, ItemNm, ItemID FROM C_ITEM WHERE ItemNm <> ? ORDER BY ItemCd");
    DMData->ItemQry.Params = {QStringLiteral("교'복")};
    DMData->ReloadItems();
    EXPECT_EQ(DMData->ItemList.size(), 4);
}

TEST_F(Lists, TableLookups) {
    Database::insertRow(QStringLiteral("C_ACCT"), {{QStringLiteral("BankCd"), QStringLiteral("04")},
                                                   {QStringLiteral("Gubun"), QStringLiteral("집금")},
                                                   {QStringLiteral("AcctNo"), QStringLiteral("111")},
                                                   {QStringLiteral("CompyNo"), QStringLiteral("C1")},
                                                   {QStringLiteral("RepYn"), QStringLiteral("Y")},
                                                   {QStringLiteral("RepCd"), QStringLiteral("R1")}});
    Database::insertRow(QStringLiteral("C_ACCT"), {{QStringLiteral("BankCd"), QStringLiteral("20")},
                                                   {QStringLiteral("Gubun"), QStringLiteral("배분")},
                                                   {QStringLiteral("AcctNo"), QStringLiteral("222")},
                                                   {QStringLiteral("CompyNo"), QStringLiteral("C2")},
                                                   {QStringLiteral("RepYn"), QStringLiteral("Y")},
                                                   {QStringLiteral("RepCd"), QStringLiteral("R2")}});
    Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), QStringLiteral("0123400001")},
                                                   {QStringLiteral("SNo"), QStringLiteral("10101")},
                                                   {QStringLiteral("Nm"), QStringLiteral("김'철수")}});
    EXPECT_EQ(DMData->GetRepCompyNo(QStringLiteral("04")), QStringLiteral("C1"));
    EXPECT_EQ(DMData->GetRepCompyNo(QStringLiteral("20")), QString()); // distribution only
    EXPECT_EQ(DMData->GetRepCd(QStringLiteral("20")), QStringLiteral("R2"));
    EXPECT_EQ(DMData->GetRepCd(QStringLiteral("04' OR '1'='1")), QString());
    EXPECT_FALSE(DMData->NoRepAcct(QStringLiteral("04")));
    EXPECT_TRUE(DMData->NoRepAcct(QStringLiteral("03")));
    EXPECT_EQ(DMData->GetSNo(QStringLiteral(" 0123400001 ")), QStringLiteral("10101"));
    EXPECT_EQ(DMData->GetCustName(QStringLiteral("0123400001")), QStringLiteral("김'철수"));
    EXPECT_EQ(DMData->GetCustName(QStringLiteral("9")), QString());

    EXPECT_EQ(DMData->GetItemAmt(QStringLiteral(" 02 ")), 50000);
    EXPECT_EQ(DMData->GetItemAmt(QStringLiteral("99")), 0);

    EXPECT_TRUE(DMData->GcodeUsed(QStringLiteral("C_ITEM"), QStringLiteral("02")));
    EXPECT_FALSE(DMData->GcodeUsed(QStringLiteral("C_ITEM"), QStringLiteral("09")));
    EXPECT_FALSE(DMData->GcodeUsed(QStringLiteral("C_ITEM; drop table C_ITEM"), QStringLiteral("02")));
    EXPECT_FALSE(DMData->GcodeUsed(QStringLiteral("H_200_20260301"), QStringLiteral("01")));
    EXPECT_TRUE(Database::tableExists(QStringLiteral("C_ITEM")));

    QStringList lines;
    EXPECT_EQ(DMData->LoadItemList(lines), 4);
    EXPECT_EQ(lines.first(), QStringLiteral("01  수업료") + QString(12, QLatin1Char(' ')));
}

TEST_F(Lists, SchoolNameAndTelephoneByKindOfGrade) {
    // Unknown grade or blank kind: SCHOOLINFO is not read (it does not even exist here).
    EXPECT_EQ(DMData->GetSchoolName(QStringLiteral("9")), QString());
    EXPECT_EQ(DMData->GetSchoolName(QStringLiteral("8")), QString());
    EXPECT_TRUE(msg.shown().isEmpty());

    schoolInfo(QStringLiteral("한빛초등학교"), QString());
    const struct {
        const char* name;
        QString got, want;
    } cases[] = {
        {"school grade", DMData->GetSchoolName(QStringLiteral(" 1")), QStringLiteral("한빛초등학교")},
        {"kindergarten without a name prints the school", DMData->GetSchoolName(QStringLiteral("7")),
         QStringLiteral("한빛초등학교")},
        {"telephone", DMData->GetSchoolTel(QStringLiteral("1")), QStringLiteral("02-1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
    Database::exec(QStringLiteral("update SCHOOLINFO set KidNm = '새싹유치원', KidTel = '02-2'"));
    EXPECT_EQ(DMData->GetSchoolName(QStringLiteral("7")), QStringLiteral("새싹유치원"));
    EXPECT_EQ(DMData->GetSchoolTel(QStringLiteral("7")), QStringLiteral("02-2"));
    EXPECT_EQ(DMData->GetSchoolName(QStringLiteral("1")), QStringLiteral("한빛초등학교"));
}

TEST_F(Lists, PrefixSearchStartsAtTheSecondItemAndWraps) {
    const struct {
        const char* name;
        QStringList items;
        QString text;
        int want;
    } cases[] = {
        {"only the first matches", {QStringLiteral("01.a"), QStringLiteral("02.b")}, QStringLiteral("01"), 0},
        {"first and second match", {QStringLiteral("01.a"), QStringLiteral("01.b")}, QStringLiteral("01"), 1},
        {"case is ignored", {QStringLiteral("x"), QStringLiteral("AB")}, QStringLiteral("ab"), 1},
        {"none", {QStringLiteral("01.a")}, QStringLiteral("02"), -1},
        {"empty list", {}, QStringLiteral("01"), -1},
        {"later item",
         {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")},
         QStringLiteral("03"),
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TDMData::PrefixIndex(c.items, c.text), c.want);
    }
}

TEST_F(Lists, FillersAppendAndSelect) {
    QComboBox bank;
    bank.addItem(QStringLiteral("00.모든은행"));
    bank.addItem(QStringLiteral("99.은행없음"));
    DMData->FillBankCombo(&bank, QStringLiteral("00"));
    EXPECT_EQ(bank.count(), 17);
    EXPECT_EQ(bank.itemText(0), QStringLiteral("00.모든은행"));
    EXPECT_EQ(bank.itemText(2), QStringLiteral("03.기업은행"));
    EXPECT_EQ(bank.findText(QStringLiteral("02.산업은행")), -1);
    EXPECT_EQ(bank.currentIndex(), 0); // wrapped round to the first

    QComboBox none;
    DMData->FillBankCombo(&none, QStringLiteral("77"));
    EXPECT_EQ(none.currentIndex(), -1);

    QComboBox group;
    Database::insertRow(QStringLiteral("G_GROUP"), {{QStringLiteral("G_CODE"), QStringLiteral("03")},
                                                    {QStringLiteral("G_NAME"), QStringLiteral("특기")}});
    DMData->FillGroupCombo(&group, QStringLiteral("03"));
    EXPECT_EQ(group.count(), 3); // reloaded from the table
    EXPECT_EQ(group.currentText(), QStringLiteral("03.특기"));

    QComboBox items;
    DMData->FillItemCombo(&items, QStringLiteral("02"));
    EXPECT_EQ(items.currentText(), QStringLiteral("02.급식비"));
    QListWidget box;
    DMData->FillItemListBox(&box, QStringLiteral("01"));
    EXPECT_EQ(box.currentRow(), 0);
    QListWidget checks;
    DMData->FillItemCheckList(&checks);
    ASSERT_EQ(checks.count(), 2);
    EXPECT_EQ(checks.item(1)->text(), QStringLiteral("02.급식비"));
    EXPECT_EQ(checks.item(1)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(checks.item(1)->flags() & Qt::ItemIsUserCheckable);

    const struct {
        const char* name;
        void (TDMData::*fill)(QComboBox*) const;
        QString first;
    } grades[] = {
        {"code and name", &TDMData::FillGradeCombo, QStringLiteral("1.1학년")},
        {"code", &TDMData::FillGradeCodeCombo, QStringLiteral("1")},
        {"name", &TDMData::FillGradeNameCombo, QStringLiteral("1학년")},
    };
    for (const auto& g : grades) {
        SCOPED_TRACE(g.name);
        QComboBox c;
        c.addItem(QStringLiteral("전체"));
        c.setCurrentIndex(0);
        (DMData->*g.fill)(&c);
        EXPECT_EQ(c.count(), 4);
        EXPECT_EQ(c.itemText(1), g.first);
        EXPECT_EQ(c.currentIndex(), 0);
    }
    QListWidget gradeList, gradeChecks;
    DMData->FillGradeListBox(&gradeList);
    DMData->FillGradeCheckList(&gradeChecks);
    EXPECT_EQ(gradeList.currentRow(), 0);
    EXPECT_EQ(gradeChecks.item(2)->text(), QStringLiteral("8.무명"));
    // The grade table stays writable after a fill.
    EXPECT_TRUE(Database::insertRow(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QStringLiteral("2")}}));
}

TEST_F(Lists, FirstLineLengthCountsBytes) {
    QFile f(path(QStringLiteral("recv/00041098.201")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(200, 'H') + "\r\n" + QByteArray(10, 'D') + "\r\n");
    f.close();
    bool ok = false;
    EXPECT_EQ(TDMData::FirstLineLength(f.fileName(), &ok), 200);
    EXPECT_TRUE(ok);
    EXPECT_EQ(TDMData::FirstLineLength(path(QStringLiteral("recv/none")), &ok), -1);
    EXPECT_FALSE(ok);
}

} // namespace
