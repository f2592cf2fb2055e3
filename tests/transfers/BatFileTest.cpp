#include "transfers/common/BatFile.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Modal.h"
#include "support/TestRoot.h"
#include "transfers/collection/CollectFileRun.h"
#include "transfers/common/M101B04.h"
#include "transfers/common/M101B05.h"
#include "transfers/distribution/M102B04.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

const QString kRunKey = QStringLiteral("20260301");

class BatFileTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        ASSERT_TRUE(DMData->CreateH200(kRunKey));
        item("A1", "01", QStringLiteral("수업료"), "01");
        // 11 bytes: the table keeps "A급식비와", cut before the half syllable.
        item("A2", "02", QStringLiteral("A급식비와우"), "01");
        item("B1", "01", QStringLiteral("방과후"), "02");
    }

    static QString s(const char* t) { return QString::fromUtf8(t); }

    void item(const char* cd, const char* id, const QString& nm, const char* gcode) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), s(cd)},
                                                                   {QStringLiteral("ItemID"), s(id)},
                                                                   {QStringLiteral("ItemNm"), nm},
                                                                   {QStringLiteral("Gcode"), s(gcode)}}));
    }

    void account(const char* bank, const char* acct, const char* compy, const char* pw, const char* gcode,
                 const char* edu = "", const char* rep = "Y") {
        ASSERT_TRUE(
            Database::insertRow(QStringLiteral("C_ACCT"), {{QStringLiteral("BankCd"), s(bank)},
                                                           {QStringLiteral("Gubun"), QStringLiteral("집금")},
                                                           {QStringLiteral("AcctNo"), s(acct)},
                                                           {QStringLiteral("CompyNo"), s(compy)},
                                                           {QStringLiteral("Passwd"), s(pw)},
                                                           {QStringLiteral("Gcode"), s(gcode)},
                                                           {QStringLiteral("EduCode"), s(edu)},
                                                           {QStringLiteral("RepYn"), s(rep)}}));
    }

    struct R {
        const char* sno;
        const char* item;
        const char* bank;
        const char* acct;
        qint64 amt;
        const char* cust;
        const char* reply = "0";
        const char* exemp = "1";
        const char* grp = "";
    };
    void row(const R& r) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_") + kRunKey,
                                        {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                                         {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                         {QStringLiteral("SNo"), s(r.sno)},
                                         {QStringLiteral("ItemCd"), s(r.item)},
                                         {QStringLiteral("BankCd"), s(r.bank)},
                                         {QStringLiteral("AcctNo"), s(r.acct)},
                                         {QStringLiteral("Amt"), r.amt},
                                         {QStringLiteral("ReplyTy"), s(r.reply)},
                                         {QStringLiteral("ExempTy"), s(r.exemp)},
                                         {QStringLiteral("CustNo"), s(r.cust)},
                                         {QStringLiteral("Nm"), QStringLiteral("홍길동")},
                                         {QStringLiteral("GrpNm"), s(r.grp)},
                                         {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    }

    static CollectSelection selection(const char* bank) {
        CollectSelection sel;
        sel.Gcode = QStringLiteral("01");
        sel.GroupText = QStringLiteral("01.기본");
        sel.BankCd = QString::fromLatin1(bank);
        sel.BankText = sel.BankCd + QStringLiteral(".은행");
        sel.YearMon = QStringLiteral("202603");
        sel.SeqNo = QStringLiteral("01");
        return sel;
    }

    // Writes the file directly through the writer with the first account of
    // the bank and group.
    bool write(const CollectSelection& sel, QString* name, int* count, const char* start = "260317",
               const char* end = "260318") {
        const auto acc = CollectFileRun::CollectAccounts(sel.BankCd, sel.Gcode);
        pSetMasterAcct(acc.AcctLines.value(0));
        return bCreateCollectFile(s(start), s(end), sel.BankCd, kRunKey, acc.EduCodes.value(0), sel, *name,
                                  *count);
    }

    QByteArray sendFile(const QString& name) {
        QFile f(path(QStringLiteral("send/") + name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QByteArray golden(const char* name) {
        QFile f(QStringLiteral(ZQ_TEST_SOURCE_DIR "/transfers/golden/") + QString::fromLatin1(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll();
    }

    // Byte-for-byte, reporting the first record and offset that differ.
    static void expectSame(const QByteArray& got, const QByteArray& want) {
        if (got == want) return;
        const QList<QByteArray> g = got.split('\n'), w = want.split('\n');
        for (int i = 0; i < std::max(g.size(), w.size()); ++i) {
            const QByteArray a = g.value(i), b = w.value(i);
            if (a == b) continue;
            int off = 0;
            while (off < a.size() && off < b.size() && a[off] == b[off])
                ++off;
            ADD_FAILURE() << "record " << i << " differs at offset " << off << "\n got: " << a.toStdString()
                          << "\nwant: " << b.toStdString();
            return;
        }
    }

    QStringList sendNames() const { return QDir(path(QStringLiteral("send"))).entryList(QDir::Files); }
    QStringList tempNames() const { return QDir(path(QStringLiteral("Temp"))).entryList(QDir::Files); }
};

TEST_F(BatFileTest, Layout80Bank04MatchesGolden) {
    account("04", "04012345678901", "SCH0400001", "4321", "01", "E0401");
    row({"10101", "01", "04", "123456789012", 150000, "0888800001"});
    row({"10101", "02", "04", "123456789012", 35000, "0888800001"});
    row({"10102", "01", "04", "98765432101234", 150000, "0888800002"});
    // None of these may reach the file.
    row({"10103", "01", "04", "123456789012", 150000, "0888800003", "0", "0"}); // wholly exempt
    row({"10104", "01", "04", "123456789012", 150000, "0888800004", "1"});      // transferred
    row({"10105", "01", "04", "", 150000, "0888800005"});                       // no account
    row({"10106", "01", "04", "123456789012", 0, "0888800006"});                // nothing to draw
    row({"10107", "09", "04", "123456789012", 5000, "0888800007"});             // item of no group
    row({"10108", "01", "20", "123456789012", 5000, "0888800008"});             // another bank

    QString name;
    int count = 0;
    ASSERT_TRUE(write(selection("04"), &name, &count));
    EXPECT_EQ(name, QStringLiteral("26030104.201"));
    EXPECT_EQ(count, 3);
    expectSame(sendFile(name), golden("layout80_bank04.txt"));
    EXPECT_TRUE(tempNames().isEmpty());
}

TEST_F(BatFileTest, Layout80Bank25IsWrittenAsBank81) {
    account("25", "81012345678", "SCH8100001", "8100", "01");
    row({"10201", "01", "25", "25011112222", 150000, "0888800011"});
    row({"10201", "02", "25", "25011112222", 20000, "0888800011"});
    row({"10202", "01", "81", "81011112222", 30000, "0888800012"}); // bank 81 itself: not asked for

    QString name;
    int count = 0;
    ASSERT_TRUE(write(selection("25"), &name, &count));
    EXPECT_EQ(name, QStringLiteral("26030181.201"));
    expectSame(sendFile(name), golden("layout80_bank25as81.txt"));
}

TEST_F(BatFileTest, Layout100ABank93MatchesGolden) {
    account("93", "93012345678", "SCH9300001", "9300", "01");
    row({"10301", "01", "93", "930123456789", 150000, "0888800021"});
    row({"10302", "02", "93", "930987654321", 20000, "0888800022"});
    QString name;
    int count = 0;
    ASSERT_TRUE(write(selection("93"), &name, &count, "190603"));
    // 2019-06-03 is past 2008-04: the 100-byte layout, with the plain payer
    // number. The golden file is for 2026-03-17.
    EXPECT_EQ(sendFile(name).indexOf("\r\n"), 100);
    QFile::remove(path(QStringLiteral("send/") + name));
    ASSERT_TRUE(write(selection("93"), &name, &count));
    expectSame(sendFile(name), golden("layout100a_bank93.txt"));
}

TEST_F(BatFileTest, ALineBreakInANameNeverReachesSend) {
    // Bank 45 carries the item name in its payer field.
    account("45", "45012345678", "SCH4500001", "4500", "01");
    row({"10301", "01", "45", "450123456789", 150000, "0888800021"});
    ASSERT_TRUE(Database::exec(QStringLiteral("update C_ITEM set ItemNm = '수업' || char(13) || char(10) || '료'")));
    QString name;
    int count = 0;
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(write(selection("45"), &name, &count));
    EXPECT_TRUE(msg.texts().value(0).contains(QStringLiteral("레코드 길이")));
    EXPECT_TRUE(QDir(path(QStringLiteral("send"))).isEmpty());
    EXPECT_TRUE(QDir(path(QStringLiteral("Temp"))).isEmpty());
}

TEST_F(BatFileTest, MasterAccountLineIsReadByBytes) {
    // A Hangul institution code takes two bytes a syllable in the padded
    // line; the account and password after it keep their byte positions.
    pSetMasterAcct(CollectAcctLine(QStringLiteral("한글기관"), QStringLiteral("04012345678901"),
                                   QStringLiteral("4321"), QStringLiteral("E1")));
    EXPECT_EQ(BatFile::Run.CompyNo.trimmed(), QStringLiteral("한글기관"));
    EXPECT_EQ(BatFile::Run.AcctNo.trimmed(), QStringLiteral("04012345678901"));
    EXPECT_EQ(BatFile::Run.Passwd.trimmed(), QStringLiteral("4321"));
}

TEST_F(BatFileTest, Layout100BBank23TakesTheMatrixCode) {
    account("23", "23012345678", "SCH2300001", "2300pass", "01");
    row({"10401", "01", "23", "23012345678", 150000, "0888800031"});
    row({"10402", "02", "23", "23098765432", 20000, "0888800032"});
    CollectSelection sel = selection("23");
    QString shown;
    sel.AskMatrixCode = [&](const QString& mgmt, QString* matrix) {
        shown = mgmt;
        *matrix = QStringLiteral("12");
        return true;
    };
    QString name;
    int count = 0;
    ASSERT_TRUE(write(sel, &name, &count));
    EXPECT_EQ(shown, QStringLiteral("0025"));
    expectSame(sendFile(name), golden("layout100b_bank23.txt"));
}

TEST_F(BatFileTest, Layout200NHGroupMatchesGolden) {
    // Blank password: the NH default goes into the header and every check.
    account("11", "30111111111111", "NH11000001", "", "01", "E1111");
    row({"20101", "01", "11", "30112345678901", 30000, "0888800041"});
    row({"20102", "01", "12", "123456789012", 25000, "0888800042"}); // 12 digits at bank 12: check digit 0
    row({"20103", "01", "10", "3021234567891", 40000, "0888800043"});
    QString name;
    int count = 0;
    ASSERT_TRUE(write(selection("11"), &name, &count));
    EXPECT_EQ(name, QStringLiteral("26030111.201"));
    EXPECT_EQ(count, 3);
    expectSame(sendFile(name), golden("layout200_bank11.txt"));
}

TEST_F(BatFileTest, PerBankFieldsOfThe80ByteLayout) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                    {{QStringLiteral("CustNo"), QStringLiteral("0888800051")},
                                     {QStringLiteral("Ju_No"), QStringLiteral("0803153234567")}}));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                    {{QStringLiteral("CustNo"), QStringLiteral("0888800052")}}));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("M_CUST"),
                                    {{QStringLiteral("CustNo"), QStringLiteral("0888800053")}}));
    account("05", "05011111111", "SCH0500001", "0500", "01");
    account("20", "20011111111", "SCH2000001", "2000", "01");
    account("22", "22011111111", "HVBT220001", "2200", "01");
    account("45", "45011111111", "SCH4500001", "4500", "01");
    row({"10501", "01", "05", "12345678901", 10000, "0888800050"});
    row({"10502", "01", "20", "2001234567", 10000, "0888800051"});
    row({"10503", "01", "20", "2007654321", 10000, "0888800052"});
    row({"10504", "01", "22", "22012345678", 10000, "0888800053"});
    row({"10505", "01", "45", "45012345678", 10000, "0888800054"});

    const struct {
        const char* bank;
        int record; // 0 header, 1.. data
        int offset;
        const char* expected;
    } cases[] = {
        {"05", 0, 21, "260318"}, // only bank 05 carries the end date
        {"20", 0, 21, "260317"},
        {"20", 1, 38, "9993234567"}, // "999" + the last seven of Ju_No
        {"20", 2, 38, "0000000000"}, // no Ju_No
        {"22", 1, 18, "UD"},
        {"22", 1, 48, "0888800053    수업료    "},
        {"45", 1, 48, "C0888800054   수업료    "},
    };
    QMap<QString, QList<QByteArray>> files;
    for (const char* bank : {"05", "20", "22", "45"}) {
        QString name;
        int count = 0;
        ASSERT_TRUE(write(selection(bank), &name, &count, "260317", "260318")) << bank;
        // Bank 45 before 2008-04 keeps the 80-byte layout.
        if (QString::fromLatin1(bank) == QLatin1String("45")) {
            QFile::remove(path(QStringLiteral("send/") + name));
            ASSERT_TRUE(write(selection(bank), &name, &count, "080331", "080331"));
        }
        files.insert(QString::fromLatin1(bank), sendFile(name).split('\n'));
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bank) + " " + c.expected);
        const QByteArray want = Cp949::encode(QString::fromUtf8(c.expected));
        const QByteArray line = files.value(QString::fromLatin1(c.bank)).value(c.record);
        EXPECT_EQ(line.size(), 81); // 80 and the CR before the split LF
        EXPECT_EQ(line.mid(c.offset, want.size()), want);
    }
}

TEST_F(BatFileTest, ValuesThatCannotBeComputedStopTheFile) {
    account("04", "04012345678901", "SCH0400001", "4321", "01");
    account("05", "05011111111", "SCH0500001", "0500", "01");
    account("10", "10011111111", "NH10000001", "12ab", "01");
    row({"10601", "01", "04", "12345678", 10000, "0888800061"});   // no 12th digit
    row({"10602", "01", "05", "123456789", 10000, "0888800062"});  // too short for bank 05's sum
    row({"10603", "01", "10", "1001234567", 10000, "0888800063"}); // password not a number
    const struct {
        const char* bank;
        const char* box;
    } cases[] = {{"04", "계좌번호"}, {"05", "계좌번호가 잘못되었습니다"}, {"10", "비밀번호"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bank);
        msg.clear();
        msg.expect(MsgResult::Ok);
        QString name;
        int count = 0;
        EXPECT_FALSE(write(selection(c.bank), &name, &count));
        EXPECT_TRUE(msg.sawText(QString::fromUtf8(c.box)))
            << msg.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(sendNames().isEmpty());
        EXPECT_TRUE(tempNames().isEmpty());
    }
}

TEST_F(BatFileTest, QueryFollowsTheSelection) {
    account("04", "04012345678901", "SCH0400001", "4321", "01");
    row({"10101", "01", "04", "123456789012", 1000, "0888800071", "0", "1", "A반"});
    row({"10102", "02", "04", "123456789012", 2000, "0888800072", "0", "2", "B반"});
    row({"20101", "01", "04", "123456789012", 4000, "0888800073", "0", "1", "A반"});
    row({"30101", "02", "04", "123456789012", 8000, "0888800074", "0", "1", "B반"});
    const struct {
        const char* name;
        const char *hakFrom, *banFrom, *bunFrom, *hakTo, *banTo, *bunTo;
        QStringList items, groups;
        qint64 total;
    } cases[] = {
        {"everything", "", "", "", "", "", "", {}, {}, 15000},
        {"grade only compares the first character", "2", "", "", "", "", "", {}, {}, 12000},
        {"grade and class", "", "", "", "1", "01", "", {}, {}, 3000},
        {"whole numbers", "1", "01", "02", "2", "01", "01", {}, {}, 6000},
        {"ticked items", "", "", "", "", "", "", {QStringLiteral("02")}, {}, 10000},
        {"ticked groups", "", "", "", "", "", "", {}, {QStringLiteral("A반")}, 5000},
        {"a quote in a group name is a value", "", "", "", "", "", "", {}, {QStringLiteral("A'반")}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CollectSelection sel = selection("04");
        sel.SHakFrom = s(c.hakFrom), sel.SBanFrom = s(c.banFrom), sel.SBunFrom = s(c.bunFrom);
        sel.SHakTo = s(c.hakTo), sel.SBanTo = s(c.banTo), sel.SBunTo = s(c.bunTo);
        sel.ItemIds = c.items;
        sel.GrpNames = c.groups;
        EXPECT_EQ(CollectFileRun::pSetFileCountSql(sel).Amount, c.total);
    }
}

// ---- The work window's run

class CollectRunTest : public BatFileTest {
protected:
    // Confirms the date dialog with the first account and the given start.
    static CollectFileRun::DateAsker dates(QDate start, QDate end = {}) {
        return [=](const CollectFileRun::DateDialogInput& in, CollectSelection& sel) {
            sel.StartDate = start;
            sel.EndDate = end.isValid() ? end : start;
            sel.AcctLine = in.Accounts.AcctLines.value(0);
            sel.EduCode = in.Accounts.EduCodes.value(0);
            return true;
        };
    }
    static QDate tuesday() { return QDate(2026, 3, 17); }

    QStringList book() {
        return column(
            QStringLiteral("select SRType || '|' || FileName || '|' || FileType || '|' || YearMon || '|' || "
                           "SeqNo || '|' || BankCd || '|' || DataCnt || '|' || Gcode || '|' || "
                           "coalesce(SRDate, '-') from M_SRFILE order by FileName"));
    }
};

TEST_F(CollectRunTest, FilesOfTwoBanksInOneRoundAreNumberedAcrossBanks) {
    account("04", "04012345678901", "SCH0400001", "4321", "01");
    account("25", "81012345678", "SCH8100001", "8100", "01");
    row({"10101", "01", "04", "123456789012", 150000, "0888800001"});
    row({"10102", "01", "25", "25011112222", 30000, "0888800002"});
    row({"10103", "02", "25", "25011112222", 20000, "0888800002"});

    CollectSelection s04 = selection("04");
    msg.expect(MsgResult::Ok);
    // The "파일 작성중" panel shows while the file is written: after the
    // date dialog, gone before the closing box.
    QStringList steps;
    const auto ask = dates(tuesday());
    const auto a = CollectFileRun::TimeShowTimer(
        s04,
        [&](const CollectFileRun::DateDialogInput& in, CollectSelection& sel) {
            steps << QStringLiteral("dates");
            return ask(in, sel);
        },
        [&](bool on) {
            steps << (on ? QStringLiteral("panel") : QStringLiteral("no panel")) +
                         QStringLiteral(" %1").arg(msg.shown().size());
        });
    EXPECT_EQ(steps, (QStringList{QStringLiteral("dates"), QStringLiteral("panel 0"),
                                  QStringLiteral("no panel 0")}));
    ASSERT_TRUE(a.Written);
    EXPECT_EQ(a.FileName, QStringLiteral("26030104.201"));
    EXPECT_EQ(msg.shown().last().text, QStringLiteral("자동이체 데이타를 생성하였습니다!"));

    CollectSelection s25 = selection("25");
    msg.expect(MsgResult::Ok);
    const auto b = CollectFileRun::TimeShowTimer(s25, dates(tuesday()));
    ASSERT_TRUE(b.Written);
    EXPECT_EQ(b.FileName, QStringLiteral("26030181.202"));
    EXPECT_EQ(b.Sums.Count, 2);
    EXPECT_EQ(b.Sums.Amount, 50000);

    EXPECT_EQ(book(), (QStringList{QStringLiteral("S|26030104.201|201|2603|01|04|1|01|-"),
                                   QStringLiteral("S|26030181.202|202|2603|01|81|2|01|-")}));
    EXPECT_EQ(
        column(QStringLiteral("select MenuName || '|' || JobLog from L_Log_202603 order by seq")).last(),
        QStringLiteral("집금이체|[이체파일생성] 항목그룹 : 01.기본, 회차:202603-01, 이체은행:25.은행, "
                       "이체일자:260317, 총건수:2, 총금액:50000, 파일명:26030181.202"));
    EXPECT_EQ(sendNames(), (QStringList{QStringLiteral("26030104.201"), QStringLiteral("26030181.202")}));
}

TEST_F(CollectRunTest, Refusals) {
    account("04", "04012345678901", "SCH0400001", "4321", "01");
    account("93", "93012345678", "SCH9300001", "9300", "02"); // another group only
    account("23", "23012345678", "SCH2300001", "2300", "01");
    account("06", "06012345678", "SCH0600001", "0600", "01");
    row({"10101", "01", "04", "123456789012", 150000, "0888800001"});
    row({"10102", "01", "93", "930123456789", 150000, "0888800002"});
    row({"10103", "01", "23", "23012345678", 150000, "0888800003"});
    row({"10104", "01", "06", "06012345678", 0, "0888800004"}); // nothing qualifies

    const QString failed = QStringLiteral("화일작성을 실패하였습니다!");
    struct Case {
        const char* name;
        const char* bank;
        QDate start;
        std::function<void()> prepare;
        QStringList boxes;
    };
    const QList<Case> cases = {
        {"saturday",
         "04",
         QDate(2026, 3, 21),
         {},
         {QStringLiteral(
             "이체일자가 토요일입니다!!\r토요일에는 이체를 할수가 없습니다. \r다시 파일작성을 하세요!!")}},
        {"sunday",
         "04",
         QDate(2026, 3, 22),
         {},
         {QStringLiteral(
             "이체일자가 일요일입니다!!\r일요일에는 이체를 할수가 없습니다. \r다시 파일작성을 하세요!!")}},
        {"no account for the group",
         "93",
         tuesday(),
         {},
         {QStringLiteral(
             "이 항목그룹의 학교 계좌가 입력되어 있지 않습니다.\r\r[기본등록-은행등록]에서 은행과 계좌를 "
             "등록 하십시오.")}},
        {"no rows",
         "06",
         tuesday(),
         {},
         {failed}}, // the failure box alone
        {"type past 299",
         "04",
         tuesday(),
         [] {
             Database::insertRow(QStringLiteral("M_SRFILE"),
                                 {{QStringLiteral("SRType"), QStringLiteral("S")},
                                  {QStringLiteral("FileName"), QStringLiteral("26030106.299")},
                                  {QStringLiteral("FileType"), QStringLiteral("299")},
                                  {QStringLiteral("YearMon"), QStringLiteral("2603")},
                                  {QStringLiteral("SeqNo"), QStringLiteral("01")}});
         },
         {QStringLiteral(
              "이 회차의 집금 이체파일 번호(201~299)를 모두 사용하였습니다.\r\r송신대기 파일을 정리한 후 "
              "다시 파일작성을 하세요!!"),
          failed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        for (int i = 0; i < c.boxes.size(); ++i)
            msg.expect(MsgResult::Ok);
        if (c.prepare) c.prepare();
        CollectSelection sel = selection(c.bank);
        EXPECT_FALSE(CollectFileRun::TimeShowTimer(sel, dates(c.start)).Written);
        EXPECT_EQ(msg.texts(), c.boxes);
        EXPECT_TRUE(sendNames().isEmpty());
        EXPECT_TRUE(tempNames().isEmpty());
    }
    EXPECT_EQ(book().size(), 1); // only the row the last case put there
    ASSERT_TRUE(Database::exec(QStringLiteral("delete from M_SRFILE")));

    // Bank 23: cancelling the management code leaves nothing behind.
    msg.clear();
    msg.expect(MsgResult::Ok);
    CollectSelection sel = selection("23");
    sel.AskMatrixCode = [](const QString&, QString*) { return false; };
    EXPECT_FALSE(CollectFileRun::TimeShowTimer(sel, dates(tuesday())).Written);
    EXPECT_EQ(msg.texts(), QStringList{failed});
    EXPECT_TRUE(sendNames().isEmpty());
    EXPECT_TRUE(tempNames().isEmpty());
    EXPECT_TRUE(book().isEmpty());
}

TEST_F(CollectRunTest, ClickChecks) {
    CollectSelection sel = selection("04");
    msg.expect({MsgResult::Ok, MsgResult::Ok, MsgResult::Ok});
    EXPECT_FALSE(CollectFileRun::bCheckFileCreate(sel, false));
    EXPECT_FALSE(CollectFileRun::bCheckFileCreate(sel, true)); // no collection account at bank 04
    account("04", "04012345678901", "SCH0400001", "4321", "02");
    EXPECT_TRUE(CollectFileRun::bCheckFileCreate(sel, true)); // any group will do here

    // Sent and not yet answered: held back until the result is in rback.
    QFile f(path(QStringLiteral("sback/26030104.201")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(CollectFileRun::bCheckFileCreate(sel, true));
    QFile::copy(path(QStringLiteral("sback/26030104.201")), path(QStringLiteral("rback/26030104.201")));
    EXPECT_TRUE(CollectFileRun::bCheckFileCreate(sel, true));
    EXPECT_EQ(msg.texts(),
              (QStringList{QStringLiteral("본 회차에는 송신대상 자료가 존재하지 않습니다."),
                           QStringLiteral(
                               "학교 계좌가 입력되어 있지 않습니다.\r\r[기본등록-은행등록]에서 은행과 계좌를 "
                               "등록 하십시오."),
                           QStringLiteral("전송후 수신하지 않은 자료입니다.")}));
}

TEST_F(CollectRunTest, DateDialogRefusesAPastDay) {
    TFrmM101B04 dlg;
    EXPECT_EQ(dlg.DTPickerMvS->date(), QDate(2026, 3, 17)); // tomorrow
    dlg.DTPickerMvS->setDate(QDate(2026, 3, 15));
    msg.expect(MsgResult::Ok);
    dlg.bbtnOKClick();
    EXPECT_EQ(dlg.result(), int(QDialog::Rejected));
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("설정한 날짜는 이체가 불가능 합니다. 확인하십시오.")});
    dlg.DTPickerMvS->setDate(QDate(2026, 3, 16)); // today passes
    dlg.bbtnOKClick();
    EXPECT_EQ(dlg.result(), int(QDialog::Accepted));
    EXPECT_EQ(TFrmM101B04::FormatCount(1234567), QStringLiteral("1,234,567 "));
}

// The transfer dates take a date typed whole, as every date field does,
// however the picker got the focus; a day typed into its own section stays
// a day.
TEST_F(CollectRunTest, DateDialogsTakeADateTypedWhole) {
    enum Start { Tab, AllSelected, ClickAtStart, DaySection };
    const struct {
        const char* name;
        Start start;
        const char* typed;
        QDate date;
    } cases[] = {
        {"digits after Tab", Tab, "20261215", QDate(2026, 12, 15)},
        {"digits over the whole text", AllSelected, "20261215", QDate(2026, 12, 15)},
        {"digits after a click at the start", ClickAtStart, "20261215", QDate(2026, 12, 15)},
        {"dashes after Tab", Tab, "2026-12-15", QDate(2026, 12, 15)},
        {"dashes over the whole text", AllSelected, "2026-12-15", QDate(2026, 12, 15)},
        {"short parts with dashes", Tab, "2027-1-5", QDate(2027, 1, 5)},
        {"the day section alone", DaySection, "20", QDate(2026, 3, 20)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TFrmM101B04 collect;
        TFrmM102B04 distrib;
        for (QDateEdit* picker : {collect.DTPickerMvS, collect.DTPickerMvE, distrib.DTPickerMvS}) {
            QWidget* dialog = picker->window();
            dialog->show();
            dialog->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
            picker->setDate(QDate(2026, 3, 17));
            picker->setFocus(Qt::TabFocusReason);
            auto* edit = picker->findChild<QLineEdit*>();
            if (c.start == AllSelected) edit->selectAll();
            if (c.start == ClickAtStart)
                QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, edit->height() / 2));
            if (c.start == DaySection) picker->setSelectedSection(QDateTimeEdit::DaySection);
            QTest::keyClicks(picker, QString::fromLatin1(c.typed));
            EXPECT_EQ(picker->date(), c.date) << edit->text().toStdString();
        }
    }
}

TEST_F(CollectRunTest, DialogsThroughTheModalRunner) {
    account("23", "23012345678", "SCH2300001", "2300", "01", "E2301");
    account("23", "23099999999", "SCH2300002", "2399", "01", "E2302", "N");
    row({"10401", "01", "23", "23012345678", 150000, "0888800031"});
    // The date dialog takes the second account; the management-code dialog
    // gets "7" typed.
    Modal::setRunner([](QDialog* d) {
        if (auto* dates = qobject_cast<TFrmM101B04*>(d)) {
            EXPECT_EQ(dates->pnlShftCnt->text(), QStringLiteral("1 "));
            EXPECT_EQ(dates->pnlShftAmt->text(), QStringLiteral("150,000 "));
            EXPECT_FALSE(dates->DTPickerMvE->isVisibleTo(dates));
            dates->cbMAcctNo->setCurrentIndex(1);
            dates->bbtnOKClick();
        } else if (auto* code = qobject_cast<TFrmM101B05*>(d)) {
            EXPECT_EQ(code->EdtBokGi1->text(), QStringLiteral("0016"));
            code->EdtBokGi2->setText(QStringLiteral("7"));
            code->BBtnConfiClick();
        }
        return d->result();
    });
    msg.expect(MsgResult::Ok);
    CollectSelection sel = selection("23");
    const auto out = CollectFileRun::TimeShowTimer(sel);
    Modal::setRunner({});
    ASSERT_TRUE(out.Written);
    EXPECT_EQ(sel.EduCode, QStringLiteral("E2302"));
    const QList<QByteArray> lines = sendFile(out.FileName).split('\n');
    EXPECT_EQ(lines.value(0).mid(6, 10), QByteArray("SCH2300002"));
    EXPECT_EQ(lines.value(2).mid(94, 4), QByteArray("7   "));
}

} // namespace
