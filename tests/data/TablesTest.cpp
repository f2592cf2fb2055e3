#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"
#include "platform/text/Cp949.h"
#include "support/TestRoot.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

class Tables : public TestRoot {
protected:
    // "n|type of t|t|type of i|i" of every row of a work table.
    static QStringList stored(const char* table) {
        return column(QStringLiteral("select n || '|' || typeof(t) || '|' || coalesce(t, '') || '|' || "
                                     "typeof(i) || '|' || coalesce(i, '') from %1 order by n")
                          .arg(QString::fromLatin1(table)));
    }
};

// "name:type" per column as PRAGMA table_info shows them, and the key.
QString layout(const QString& table) {
    Query q(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    q.exec();
    QStringList cols, pk;
    QMap<int, QString> pkOrder;
    while (q.next()) {
        cols << q.value(1).toString() + QLatin1Char(':') + q.value(2).toString();
        if (q.value(5).toInt() > 0) pkOrder.insert(q.value(5).toInt(), q.value(1).toString());
    }
    return cols.join(QLatin1Char(',')) + QStringLiteral(" key ") + QStringList(pkOrder.values()).join(QLatin1Char(';'));
}

TEST_F(Tables, NewDataRootHoldsEverySharedTable) {
    for (const QString& f : TDMLib::DataFolderNames()) EXPECT_TRUE(QDir(path(f)).exists()) << f.toStdString();

    const struct {
        const char* table;
        const char* layout;
    } expected[] = {
        {"M_CUST",
         "CustNo:CHAR(12),SCd:CHAR(2),SNo:CHAR(10),Nm:CHAR(20),Sex:CHAR(1),BankCd:CHAR(2),AcctNo:CHAR(15),"
         "Owr:CHAR(30),UseTy:CHAR(1),InDate:CHAR(8),OutDate:CHAR(8),Ju_No:CHAR(13),AcctRegYn_1:CHAR(1),"
         "AcctRegYn_2:CHAR(1),AcctRegDt:CHAR(8),MTelNo:CHAR(20),smsYN:CHAR(1),Ju_No_Stud:CHAR(13) key CustNo"},
        {"C_BANK", "BankCd:CHAR(2),BankNm:CHAR(20),UseTy:CHAR(1) key BankCd"},
        {"C_ACCT",
         "BankCd:CHAR(2),Gubun:CHAR(4),AcctNo:CHAR(15),CompyNo:CHAR(10),Passwd:CHAR(10),Gcode:CHAR(2),"
         "EduCode:CHAR(5),RepYn:CHAR(1),RepCd:CHAR(20) key BankCd;Gubun;AcctNo;CompyNo"},
        {"C_GRP", "GrpNm:CHAR(10),CustNo:CHAR(12) key GrpNm;CustNo"},
        {"C_ITEM",
         "ItemCd:CHAR(2),ItemNm:CHAR(10),Kwan:CHAR(10),Hang:CHAR(10),ItemAmt:INTEGER,EduType:CHAR(1),Gcode:CHAR(2),"
         "ItemID:CHAR(2) key ItemCd"},
        {"M_EXEMP", "CustNo:CHAR(12),ItemCd:CHAR(2),Itemval:INTEGER,Free:CHAR(2) key CustNo;ItemCd"},
        {"C_SCD", "SCd:CHAR(2),SCdNm:CHAR(10),CompyNm:CHAR(10) key SCd"},
        {"M_SRFILE",
         "SRType:CHAR(1),FileName:CHAR(12),FileType:CHAR(3),YearMon:CHAR(6),SeqNo:CHAR(2),BankCd:CHAR(2),"
         "DataCnt:INTEGER,SRDate:CHAR(8),Gcode:CHAR(2) key SRType;FileName"},
        {"L_Log_202603",
         "seq:INTEGER AUTOINC,LogDate:CHAR(8),LogTime:CHAR(6),MenuName:CHAR(30),JobLog:CHAR(200) key seq;LogDate"},
        {"G_GROUP", "G_CODE:char(10),G_NAME:char(40),G_MEMO:char(240) key G_CODE"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.table);
        EXPECT_EQ(layout(QString::fromLatin1(e.table)), QString::fromLatin1(e.layout));
    }
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from C_BANK")), 26);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from C_BANK where UseTy = '1'")), 15);
    EXPECT_EQ(column(QStringLiteral("select BankNm from C_BANK where BankCd = ?"), {QStringLiteral("45")}),
              QStringList{QStringLiteral("새마을금고")});
    EXPECT_EQ(column(QStringLiteral("select G_NAME from G_GROUP where G_CODE = '01'")),
              QStringList{QStringLiteral("기본")});
    EXPECT_EQ(column(QStringLiteral("select name from sqlite_master where type='index' and tbl_name='M_CUST' "
                                    "and name not like 'sqlite_%'")),
              QStringList{QStringLiteral("M_CUST_Index1")});
}

TEST_F(Tables, RestartKeepsDataAndDoesNotRefillBanks) {
    Database::exec(QStringLiteral("delete from C_BANK where BankCd = '02'"));
    Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), QStringLiteral("1234500001")},
                                                   {QStringLiteral("Nm"), QStringLiteral("김'철수")}});
    stopServices();
    startServices();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from C_BANK")), 25);
    EXPECT_EQ(column(QStringLiteral("select Nm from M_CUST")), QStringList{QStringLiteral("김'철수")});
    EXPECT_EQ(Database::columns(QStringLiteral("M_SRFILE")).size(), 9);
}

// Every start drops the roster's index and adds it again. A start killed in
// between (a child run to that step) leaves the roster with its index, and
// the next start rebuilds it as usual.
TEST_F(Tables, AStartKilledBetweenDropAndAddKeepsTheRostersIndex) {
    Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), QStringLiteral("1234500001")},
                                                   {QStringLiteral("SNo"), QStringLiteral("30101")}});
    stopServices();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZQ_CRASH_AT"), QStringLiteral("index-after-drop"));
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(ZQ_DRIVER_PATH), {QStringLiteral("--root"), root(), QStringLiteral("grade"),
                                                 QStringLiteral("list")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), CrashPoint::kExitCode);

    // Looked at before any start repairs it.
    const auto indexes = [this] {
        Connection c;
        QStringList out;
        if (!c.open(path(QStringLiteral("data/school.db")))) return out;
        Query q(c, QStringLiteral("select name from sqlite_master where type = 'index' and tbl_name = 'M_CUST' "
                                  "and name not like 'sqlite_%'"));
        if (!q.exec()) return out;
        while (q.next())
            out << q.str(0);
        return out;
    };
    EXPECT_EQ(indexes(), QStringList{QStringLiteral("M_CUST_Index1")});
    startServices();
    EXPECT_EQ(column(QStringLiteral("select name from sqlite_master where type = 'index' and tbl_name = 'M_CUST' "
                                    "and name not like 'sqlite_%'")),
              QStringList{QStringLiteral("M_CUST_Index1")});
    EXPECT_EQ(column(QStringLiteral("select CustNo from M_CUST where SNo = '30101'")),
              QStringList{QStringLiteral("1234500001")});
}

TEST_F(Tables, RoundTablesAreNeverReplacedAndNamesChecked) {
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260301")));
    Database::insertRow(QStringLiteral("H_200_20260301"), {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                                                           {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                                           {QStringLiteral("SNo"), QStringLiteral("30101")},
                                                           {QStringLiteral("ItemCd"), QStringLiteral("01")}});
    // Creating a round that exists fails and keeps its rows.
    EXPECT_FALSE(DMData->CreateH200(QStringLiteral("20260301")));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_200_20260301")), 1);
    EXPECT_EQ(Database::columns(QStringLiteral("H_200_20260301")).size(), 19);
    EXPECT_TRUE(DMData->CreateH300(QStringLiteral("20260301")));
    EXPECT_EQ(Database::columns(QStringLiteral("H_300_20260301")).size(), 15);
    EXPECT_TRUE(DMData->CreateHR00(QStringLiteral("20260301")));
    EXPECT_FALSE(DMData->CreateH200(QStringLiteral("2026\"; drop")));
    EXPECT_EQ(Database::listTables(QStringLiteral("H_[23]00_*")),
              (QStringList{QStringLiteral("H_200_20260301"), QStringLiteral("H_300_20260301")}));
}

TEST_F(Tables, WorkTablesHaveTheirLayouts) {
    ASSERT_TRUE(DMData->CreateMDaySum());
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260301")));
    ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20260301")));
    ASSERT_TRUE(DMData->CreateHR00(QStringLiteral("20260301")));
    ASSERT_TRUE(DMData->CreateMSumTax());
    ASSERT_TRUE(DMData->CreateMSumReceipt());
    ASSERT_TRUE(DMData->CreateCBigo());
    const QString round14 = QStringLiteral(
        "YearMon:CHAR(6),SeqNo:CHAR(2),SNo:CHAR(10),ItemCd:CHAR(2),BankCd:CHAR(2),AcctNo:CHAR(15),Amt:INTEGER,"
        "ProcDt:CHAR(8),ReplyTy:CHAR(1),ReplyCd:CHAR(4),ExempTy:CHAR(1),CustNo:CHAR(12),Nm:CHAR(20),SCd:CHAR(2)");
    const struct {
        const char* table;
        QString layout;
    } expected[] = {
        {"M_DAYSUM", QStringLiteral("ItemCd:CHAR(2),ShftDate:CHAR(8),TotAmt:INTEGER,ItemNm:CHAR(16),Kwan:CHAR(16),"
                                    "Hang:CHAR(16),Mok:CHAR(16),Gcode:CHAR(2) key Gcode;ItemCd")},
        {"H_200_20260301",
         round14 + QStringLiteral(",GrpNm:CHAR(10),Unpaid:CHAR(30),ReDt:CHAR(8),REAmt:INTEGER,Gcode:CHAR(2) key "
                                  "YearMon;SeqNo;SNo;ItemCd")},
        {"H_300_20260301", round14 + QStringLiteral(",Gcode:CHAR(2) key YearMon;SeqNo;SNo;ItemCd")},
        {"H_R00_20260301",
         QStringLiteral("RegBankCd:CHAR(2),RepFacCd:CHAR(10),AcctNo:CHAR(15),NapbuNo:CHAR(12),SocId:CHAR(13),"
                        "ReqDt:CHAR(8),Result:CHAR(1),ErrCd:CHAR(4),BankCd:CHAR(2) key RegBankCd;RepFacCd;AcctNo;"
                        "NapbuNo")},
        {"M_SumTax", QStringLiteral("seq:INTEGER,CustNo:CHAR(10),Sno:CHAR(10),Name:CHAR(20),ItemCd:CHAR(2),"
                                    "Gcode:CHAR(2),Amt:INTEGER,ProcDt:CHAR(8),SocId:CHAR(20),NapCd:CHAR(10),"
                                    "ProcMon:CHAR(10) key seq")},
        {"M_SumReceipt", QStringLiteral("seq:INTEGER,CustNo:CHAR(10),Sno:CHAR(10),Name:CHAR(20),ItemCd:CHAR(2),"
                                        "Gcode:CHAR(2),Amt:INTEGER,ProcDt:CHAR(8),BankCd:CHAR(4),AcctNo:CHAR(15) "
                                        "key seq")},
        {"C_Bigo", QStringLiteral("CustNo:char(10),Bigo:char(80) key CustNo")},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.table);
        EXPECT_EQ(layout(QString::fromLatin1(e.table)), e.layout);
    }
}

TEST_F(Tables, WriteHelperCutsTrimsAndStoresBlankAsNull) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                    {{QStringLiteral("CustNo"), QStringLiteral("0000100001")},
                                     {QStringLiteral("Nm"), QStringLiteral("가나다라마바사아자차카")}, // 22 bytes
                                     {QStringLiteral("Owr"), QStringLiteral("   ")},
                                     {QStringLiteral("SNo"), QStringLiteral("30101  ")}}));
    EXPECT_EQ(column(QStringLiteral("select Nm from M_CUST")), QStringList{QStringLiteral("가나다라마바사아자차")});
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_CUST where Owr is null")), 1);
    EXPECT_EQ(column(QStringLiteral("select SNo from M_CUST")), QStringList{QStringLiteral("30101")});
}

// A work table of an auto-number, a text of 6 bytes and a number.
TableDef workTable(const char* name) {
    return {QString::fromLatin1(name),
            {FieldDef{QStringLiteral("n"), FieldType::AutoInc, 0},
             FieldDef{QStringLiteral("t"), FieldType::Text, 6},
             FieldDef{QStringLiteral("i"), FieldType::Integer, 0}},
            {},
            {}};
}

TEST_F(Tables, RowInserterStoresAsInsertRow) {
    for (const char* t : {"W_ONE", "W_MANY", "W_COPY"})
        ASSERT_TRUE(Database::createTable(workTable(t), true));
    const struct {
        const char* name;
        QByteArray utf8;
    } cases[] = {
        {"ascii within the width", "abc"},
        {"ascii cut", "abcdefgh"},
        {"trailing blanks", "ab   "},
        {"blank", "   "},
        {"empty", ""},
        {"hangul fits", "가나다"},
        {"hangul cut between characters", "가나다라"},
        {"mixed cut", "a가나다"},
        {"invalid utf-8", "a\xff"},
    };
    RowInserter many(QStringLiteral("W_MANY"), {QStringLiteral("t"), QStringLiteral("i")});
    ASSERT_TRUE(many.ok()) << many.error().toStdString();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = QString::fromUtf8(c.utf8);
        // Each value both as text and as UTF-8, beside a number and a NULL.
        ASSERT_TRUE(Database::insertRow(QStringLiteral("W_ONE"),
                                        {{QStringLiteral("t"), text}, {QStringLiteral("i"), 7}}));
        ASSERT_TRUE(Database::insertRow(QStringLiteral("W_ONE"), {{QStringLiteral("t"), text}}));
        ASSERT_TRUE(many.add(text).add(7).exec());
        ASSERT_TRUE(many.addUtf8(c.utf8).addNull().exec());
    }
    EXPECT_EQ(stored("W_MANY"), stored("W_ONE"));
    EXPECT_EQ(stored("W_ONE").mid(2, 4),
              (QStringList{QStringLiteral("3|text|abcdef|integer|7"), QStringLiteral("4|text|abcdef|null|"),
                           QStringLiteral("5|text|ab|integer|7"), QStringLiteral("6|text|ab|null|")}));

    // Columns of a query's rows go over as their text reads.
    RowInserter copy(QStringLiteral("W_COPY"), {QStringLiteral("t"), QStringLiteral("i")});
    Query q(QStringLiteral("select t, i from W_ONE order by n"));
    ASSERT_TRUE(q.exec());
    while (q.next())
        ASSERT_TRUE(copy.addStr(q, 0).add(q.value(1)).exec());
    EXPECT_EQ(stored("W_COPY"), stored("W_ONE"));
}

TEST_F(Tables, RowInserterRefusalsWriteNothing) {
    ASSERT_TRUE(Database::createTable(workTable("W_ONE"), true));
    QString error;
    RowInserter bad(QStringLiteral("W_ONE"), {QStringLiteral("t; drop")});
    EXPECT_FALSE(bad.ok());
    EXPECT_FALSE(bad.add(QStringLiteral("x")).exec(&error));
    EXPECT_EQ(error, QStringLiteral("invalid field name: t; drop"));
    EXPECT_FALSE(RowInserter(QStringLiteral("W ONE"), {QStringLiteral("t")}).ok());

    // A row short of a value would take the last row's: it goes nowhere, nor
    // does anything after it.
    RowInserter ins(QStringLiteral("W_ONE"), {QStringLiteral("t"), QStringLiteral("i")});
    ASSERT_TRUE(ins.add(QStringLiteral("a")).add(1).exec());
    EXPECT_FALSE(ins.add(QStringLiteral("b")).exec());
    EXPECT_FALSE(ins.add(QStringLiteral("c")).add(3).exec());
    EXPECT_EQ(stored("W_ONE"), QStringList{QStringLiteral("1|text|a|integer|1")});
}

TEST_F(Tables, ReplaceTableKeepsEveryRowAndTheOldTableOnFailure) {
    // Rows of differing columns: none takes another's value.
    const QList<ColumnValues> rows{{{QStringLiteral("t"), QStringLiteral("a")}, {QStringLiteral("i"), 1}},
                                   {{QStringLiteral("t"), QStringLiteral("b")}},
                                   {{QStringLiteral("i"), 3}},
                                   {{QStringLiteral("t"), QStringLiteral("d")}, {QStringLiteral("i"), 4}}};
    ASSERT_TRUE(Database::replaceTable(workTable("W_ONE"), rows));
    const QStringList want{QStringLiteral("1|text|a|integer|1"), QStringLiteral("2|text|b|null|"),
                           QStringLiteral("3|null||integer|3"), QStringLiteral("4|text|d|integer|4")};
    EXPECT_EQ(stored("W_ONE"), want);

    QString error;
    const auto failing = [](RowInserter& ins, QString* e) {
        ins.add(QStringLiteral("x")).add(9).exec(e);
        *e = QStringLiteral("stopped");
        return false;
    };
    EXPECT_FALSE(Database::replaceTable(workTable("W_ONE"), {QStringLiteral("t"), QStringLiteral("i")},
                                        failing, &error));
    EXPECT_EQ(error, QStringLiteral("stopped"));
    EXPECT_EQ(stored("W_ONE"), want);
    EXPECT_FALSE(Database::replaceTable(
        workTable("W_ONE"), {QStringLiteral("nope")}, [](RowInserter&, QString*) { return true; }, &error));
    EXPECT_EQ(stored("W_ONE"), want);
}

TEST_F(Tables, TextBoundAsReadFromASelectIsStoredAsTextIsAndForgottenAfterTheRun) {
    Query ins(QStringLiteral("insert into C_SCD (SCd, SCdNm, CompyNm) values (?, ?, ?)"));
    const QByteArray nm = QStringLiteral("1학년  ").toUtf8();
    ASSERT_TRUE(ins.addBorrowedUtf8("1").addBorrowedUtf8(nm).addBorrowedUtf8("   ").exec());
    // A run binding only the first value stores nothing of the last run's.
    ASSERT_TRUE(ins.addBorrowedUtf8("2").exec());
    EXPECT_EQ(column(QStringLiteral("select SCd || '|' || coalesce(SCdNm, '-') || '|' || coalesce(CompyNm, '-') "
                                    "from C_SCD order by SCd")),
              (QStringList{QStringLiteral("1|1학년|-"), QStringLiteral("2|-|-")}));
}

TEST_F(Tables, JobLogGoesToTheMonthOfTheCallAndCreatesItsTable) {
    EXPECT_TRUE(DMLib->WriteJobLog(QStringLiteral("학생명부"), QString(120, QChar(u'가'))));
    EXPECT_TRUE(DMLib->WriteJobLog(QStringLiteral("학생명부"), QStringLiteral("[등록]")));
    EXPECT_EQ(column(QStringLiteral("select seq from L_Log_202603 order by seq")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(Cp949::byteLength(column(QStringLiteral("select JobLog from L_Log_202603 where seq = 1")).value(0)),
              200);
    Clock::set(QDateTime(QDate(2026, 4, 1), QTime(0, 0, 1)));
    EXPECT_TRUE(DMLib->WriteJobLog(QStringLiteral("학교등록"), QStringLiteral("[수정]학교명 : 가")));
    EXPECT_EQ(column(QStringLiteral("select LogDate || LogTime from L_Log_202604")),
              QStringList{QStringLiteral("20260401000001")});
}

TEST_F(Tables, TransactionRollsBackWhole) {
    {
        Transaction tx;
        Database::insertRow(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QStringLiteral("1")}});
        {
            Transaction inner;
            Database::insertRow(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QStringLiteral("2")}});
            inner.rollback();
        }
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from C_SCD")), 1);
    }
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from C_SCD")), 0);
}

} // namespace
