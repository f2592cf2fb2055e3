#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "support/TestRoot.h"

namespace {

// Old data folders are seeded after a normal start, then the services are
// started again on them, as the program would at its next start.
class Migrations : public TestRoot {
protected:
    static void sql(const QString& s, const QVariantList& binds = {}) {
        Query q(s);
        for (const QVariant& b : binds)
            q.add(b);
        ASSERT_TRUE(q.exec()) << q.error().toStdString() << " in " << s.toStdString();
    }
    void restart() {
        stopServices();
        startServices();
    }
    static QStringList log() {
        return column(QStringLiteral("select MenuName || '|' || JobLog from L_Log_202603 order by seq"));
    }
    static QStringList tables() {
        return column(QStringLiteral("select name from sqlite_master where type = 'table' order by name"));
    }
};

TEST_F(Migrations, CurrentLayoutChangesNothing) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260301")));
    const QStringList before = tables();
    restart();
    EXPECT_EQ(tables(), before);
    EXPECT_TRUE(log().isEmpty());
    EXPECT_EQ(DMData->RoundTablesToCheck(), QStringList{QStringLiteral("H_200_20260301")});
    EXPECT_FALSE(DMData->RoundTableIsOld(QStringLiteral("H_200_20260301")));
}

TEST_F(Migrations, ItemGroupsItemsAccountsAndExemptions) {
    sql(QStringLiteral("create table C_ITEM_GRP (GrpNo char(2), GrpName char(40))"));
    sql(QStringLiteral("insert into C_ITEM_GRP values ('01', '기본'), ('02', '방과''후')"));
    Database::dropTable(QStringLiteral("C_ITEM"));
    sql(QStringLiteral("create table C_ITEM (ItemCd char(2), ItemNm char(10), Kwan char(10), Hang char(10), "
                       "ItemAmt char(10), EduType char(1), ItemGrp char(2))"));
    sql(QStringLiteral(
        "insert into C_ITEM values ('05', '수업''료', '관', '항', '', '1', '02'), "
        "('07', '불량', '관', '항', '12x', '1', '01'), ('09', '급식비', '', '', '50000', '2', '01')"));
    Database::dropTable(QStringLiteral("C_ACCT"));
    sql(QStringLiteral(
        "create table C_ACCT (BankCd char(2), Gubun char(4), AcctNo char(15), CompyNo char(10), "
        "Passwd char(10), ItemGrp char(2), EduCd char(5))"));
    sql(QStringLiteral(
        "insert into C_ACCT values ('04', '집금', '1', 'B2', 'p', '01', 'E1'), "
        "('04', '집금', '2', 'A1', 'p', '02', 'E2'), ('20', '배분', '3', 'Z9', 'p', '01', '')"));
    Database::dropTable(QStringLiteral("M_EXEMP"));
    sql(QStringLiteral("create table M_EXEMP (CustNo char(12), ItemCd char(2), Itemval integer)"));
    sql(QStringLiteral("insert into M_EXEMP values ('0123400001', '01', 5000), ('0123400002', '01', NULL)"));

    restart();

    EXPECT_EQ(column(QStringLiteral("select G_CODE || ':' || G_NAME from G_GROUP order by G_CODE")),
              (QStringList{QStringLiteral("01:기본"), QStringLiteral("02:방과'후")}));
    EXPECT_FALSE(Database::tableExists(QStringLiteral("C_ITEM_GRP")));
    EXPECT_TRUE(Database::tableExists(QStringLiteral("bk_C_ITEM_GRP")));

    // Numbered anew in read order; the faulty row keeps its number and stays in the copy.
    EXPECT_EQ(
        column(QStringLiteral("select ItemCd || ':' || ItemID || ':' || ItemNm || ':' || ItemAmt || ':' || "
                              "Gcode from C_ITEM order by ItemCd")),
        (QStringList{QStringLiteral("01:05:수업'료:0:02"), QStringLiteral("03:09:급식비:50000:01")}));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from bk_C_ITEM")), 3);

    EXPECT_EQ(column(QStringLiteral(
                  "select BankCd || CompyNo || ':' || Gcode || ':' || ifnull(EduCode, '') || ':' || "
                  "ifnull(RepYn, '') from C_ACCT order by BankCd, CompyNo")),
              (QStringList{QStringLiteral("04A1:02:E2:Y"), QStringLiteral("04B2:01:E1:"),
                           QStringLiteral("20Z9:01::Y")}));
    EXPECT_EQ(Database::columns(QStringLiteral("C_ACCT")).size(), 9);

    EXPECT_EQ(
        column(QStringLiteral("select CustNo || ':' || ifnull(Itemval, 'null') || ':' || ifnull(Free, '') "
                              "from M_EXEMP order by CustNo")),
        (QStringList{QStringLiteral("0123400001:5000:"), QStringLiteral("0123400002:null:")}));

    EXPECT_EQ(log(),
              (QStringList{QStringLiteral("항목그룹DB 재구성|[항목그룹DB 재구성]"),
                           QStringLiteral("항목DB 재구성|[항목DB 재구성]"),
                           QStringLiteral("항목DB 재구성|[항목DB 재구성] 복사실패 1건(bk_C_ITEM에 보관)"),
                           QStringLiteral("은행계약DB 재구성|[은행계약DB 재구성]"),
                           QStringLiteral("면제학생DB 재구성|[면제학생DB 재구성]")}));
    // The cached lists see the converted items.
    EXPECT_EQ(DMData->GetGItemName(QStringLiteral("05"), QStringLiteral("02")), QStringLiteral("수업'료"));

    // A second start changes nothing.
    const QStringList before = tables();
    const QStringList logBefore = log();
    restart();
    EXPECT_EQ(tables(), before);
    EXPECT_EQ(log(), logBefore);
}

TEST_F(Migrations, AccountsOfEightFieldsGainRepCd) {
    Database::dropTable(QStringLiteral("C_ACCT"));
    sql(QStringLiteral(
        "create table C_ACCT (BankCd char(2), Gubun char(4), AcctNo char(15), CompyNo char(10), "
        "Passwd char(10), Gcode char(2), EduCode char(5), RepYn char(1))"));
    sql(QStringLiteral("insert into C_ACCT values ('04', '집금', '1', 'B2', 'p', '01', 'E1', 'Y')"));
    restart();
    EXPECT_EQ(Database::columns(QStringLiteral("C_ACCT")).last(), QStringLiteral("RepCd"));
    EXPECT_EQ(column(QStringLiteral("select RepYn from C_ACCT")), QStringList{QStringLiteral("Y")});
    EXPECT_FALSE(Database::tableExists(QStringLiteral("bk_C_ACCT")));
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(Migrations, StudentTablesOfEveryOldFieldCount) {
    const QString base =
        QStringLiteral("CustNo char(12), SCd char(2), SNo char(10), Nm char(20), Sex char(1), "
                       "BankCd char(2), AcctNo char(15), Owr char(30), UseTy char(1), "
                       "InDate char(8), OutDate char(8)");
    const struct {
        const char* name;
        QString extra;
        const char* reg1; // AcctRegYn_1 after the change
        const char* sms;
        QString logged;
    } cases[] = {
        {"11 fields", QString(), "N", "2",
         QStringLiteral("[학생명부테이블변경] UPDATE M_CUST SET AcctRegYn_1 = \"N\", AcctRegYn_2 = \"N\", "
                        "smsYN=\"2\" \r\n")},
        {"12 fields", QStringLiteral(", Ju_No char(13)"), "N", "2",
         QStringLiteral("[학생명부테이블변경] UPDATE M_CUST SET AcctRegYn_1 = \"N\", AcctRegYn_2 = \"N\", "
                        "smsYN=\"2\" \r\n")},
        {"15 fields",
         QStringLiteral(", Ju_No char(13), AcctRegYn_1 char(1), AcctRegYn_2 char(1), AcctRegDt char(8)"), "Y",
         "2", QStringLiteral("[학생명부테이블변경] UPDATE M_CUST SET smsYN=\"2\" \r\n")},
        {"17 fields",
         QStringLiteral(", Ju_No char(13), AcctRegYn_1 char(1), AcctRegYn_2 char(1), AcctRegDt char(8), "
                        "MTelNo char(20), smsYN char(1)"),
         "Y", "1", QStringLiteral("[학생명부테이블변경]")}, // trailing blank not stored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Database::dropTable(QStringLiteral("M_CUST"));
        sql(QStringLiteral("create table M_CUST (%1%2)").arg(base, c.extra));
        sql(QStringLiteral(
            "insert into M_CUST (CustNo, SNo, Nm) values ('0123400001', '10101', '김''철수')"));
        if (c.extra.contains(QStringLiteral("AcctRegYn_1")))
            sql(QStringLiteral("update M_CUST set AcctRegYn_1 = 'Y'"));
        if (c.extra.contains(QStringLiteral("smsYN"))) sql(QStringLiteral("update M_CUST set smsYN = '1'"));
        sql(QStringLiteral("delete from L_Log_202603"));
        restart();
        EXPECT_EQ(Database::columns(QStringLiteral("M_CUST")).size(), 18);
        EXPECT_EQ(
            column(QStringLiteral("select Nm || ':' || ifnull(AcctRegYn_1, '') || ':' || ifnull(smsYN, '') "
                                  "from M_CUST")),
            QStringList{QStringLiteral("김'철수:") + QString::fromLatin1(c.reg1) + QLatin1Char(':') +
                        QString::fromLatin1(c.sms)});
        EXPECT_EQ(log(), QStringList{QStringLiteral("테이블변경|") + c.logged});
        restart();
        EXPECT_EQ(log().size(), 1); // nothing more on the next start
    }
}

TEST_F(Migrations, FileBookOfEightFieldsGetsGroupOne) {
    Database::dropTable(QStringLiteral("M_SRFILE"));
    ASSERT_TRUE(DMData->CreateMSRFile());
    sql(QStringLiteral("insert into M_SRFILE (SRType, FileName) values ('S', '26030101.201')"));
    restart();
    EXPECT_EQ(column(QStringLiteral("select Gcode from M_SRFILE")), QStringList{QStringLiteral("01")});
}

// An old round table: 14 fields plus whatever the case adds.
void oldRound(const QString& name, const QString& extra) {
    Query c(QStringLiteral("create table %1 (YearMon char(6), SeqNo char(2), SNo char(10), ItemCd char(2), "
                           "BankCd char(2), AcctNo char(15), Amt char(10), ProcDt char(8), ReplyTy char(1), "
                           "ReplyCd char(4), ExempTy char(1), CustNo char(12), Nm char(20), SCd char(2)%2)")
                .arg(name, extra));
    ASSERT_TRUE(c.exec()) << c.error().toStdString();
}

TEST_F(Migrations, OldRoundTablesAreRebuiltNewestFirst) {
    oldRound(QStringLiteral("H_200_20240301"), QString()); // 14 fields, no group at all
    oldRound(QStringLiteral("H_200_20240401"), QStringLiteral(", ItemGrp char(2)"));
    oldRound(QStringLiteral("H_200_20240501"),
             QStringLiteral(", GrpNm char(10), Unpaid char(30), ReDt char(8), Gcode char(2)")); // 18 fields
    oldRound(QStringLiteral("H_200_20240601"), QString());                                      // no rows
    sql(QStringLiteral("insert into H_200_20240301 (YearMon, SeqNo, SNo, ItemCd, Amt, Nm) values "
                       "('202403', '01', '10101', '01', '1000', 'O''Brien'), "
                       "('202403', '01', '10102', '01', '', '이'), "
                       "('202403', '01', '10103', '01', 'abc', '박'), "
                       "('202403', '01', '10101', '01', '5', '중복')"));
    sql(QStringLiteral("insert into H_200_20240401 (YearMon, SeqNo, SNo, ItemCd, Amt, ItemGrp) values "
                       "('202404', '01', '10101', '02', '300', '03')"));
    sql(QStringLiteral(
        "insert into H_200_20240501 (YearMon, SeqNo, SNo, ItemCd, Amt, Unpaid, Gcode) values "
        "('202405', '01', '10101', '02', '300', '사유''1', '02')"));
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20240701")));

    EXPECT_EQ(DMData->RoundTablesToCheck().size(), 5);
    QStringList order;
    const QStringList all = DMData->RoundTablesToCheck();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (!DMData->RoundTableIsOld(*it)) continue;
        order << *it;
        int rows = 0;
        const RebuildResult r = DMData->RebuildRoundTable(*it, [&] { ++rows; });
        EXPECT_TRUE(r.ok) << it->toStdString();
        EXPECT_EQ(r.rows, rows);
    }
    EXPECT_EQ(order, (QStringList{QStringLiteral("H_200_20240601"), QStringLiteral("H_200_20240501"),
                                  QStringLiteral("H_200_20240401"), QStringLiteral("H_200_20240301")}));
    for (const QString& t : order) {
        EXPECT_FALSE(DMData->RoundTableIsOld(t)) << t.toStdString();
        EXPECT_TRUE(Database::tableExists(QStringLiteral("bk_") + t));
    }
    EXPECT_EQ(column(QStringLiteral("select SNo || ':' || Amt || ':' || REAmt || ':' || Gcode || ':' || Nm "
                                    "from H_200_20240301 order by SNo")),
              (QStringList{QStringLiteral("10101:1000:0:01:O'Brien"), QStringLiteral("10102:0:0:01:이")}));
    EXPECT_EQ(column(QStringLiteral("select Gcode from H_200_20240401")), QStringList{QStringLiteral("03")});
    EXPECT_EQ(column(QStringLiteral("select Unpaid || ':' || REAmt || ':' || Gcode from H_200_20240501")),
              QStringList{QStringLiteral("사유'1:0:02")});
    EXPECT_EQ(log(), (QStringList{QStringLiteral("회차DB 재구성|[회차DB 재구성]:H_200_20240501"),
                                  QStringLiteral("회차DB 재구성|[회차DB 재구성]:H_200_20240401"),
                                  QStringLiteral("회차DB 재구성|[회차DB 재구성]:H_200_20240301"),
                                  QStringLiteral("회차DB 재구성|[회차DB 재구성]:H_200_20240301 복사실패 2건"
                                                 "(bk_H_200_20240301에 보관)")}));
    // Nothing is old any more.
    for (const QString& t : DMData->RoundTablesToCheck())
        EXPECT_FALSE(DMData->RoundTableIsOld(t));
    EXPECT_FALSE(DMData->RebuildRoundTable(QStringLiteral("H_200_2024; drop")).ok);
}

} // namespace
