#include "support/TestRoot.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "transfers/common/BatFile.h"
#include "transfers/registration/CreateRegData.h"
#include "transfers/registration/RegRun.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

// A school with accounts at banks 11, 23, 24 and 26 and payers in every
// registration state; today is Monday 2026-03-16.
class RegRunTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        account("11", "NH11000001", "");
        account("23", "SC23000001", "");
        account("26", "SH26000001", "SHREP26");
        account("24", "WR24000001", "");
        payer("P001", "10101", "10", "1234567890", "8001011234567", "N", "N");
        payer("P002", "10102", "11", "30112233445566", "8202021234567", nullptr, nullptr);
        payer("P003", "10103", "12", "12345678901", "8303031234567", "Y", nullptr);
        payer("P004", "10104", "11", "99988877766", "8404041234567", "W", "N");
        payer("P101", "20101", "23", "23012345678", "7503031234567", "N", "N");
        payer("P201", "30101", "26", "110123456789", "7704041234567", "N", "N");
        payer("P202", "30102", "26", "110999999999", "7704041234568", "Y", "N");
        payer("P301", "30103", "24", "1002123456789", "7905051234567", "", "");
    }

    static void account(const char* bank, const char* compy, const char* repCd) {
        ASSERT_TRUE(Database::insertRow(
            QStringLiteral("C_ACCT"),
            {{QStringLiteral("BankCd"), QString::fromLatin1(bank)},
             {QStringLiteral("Gubun"), QStringLiteral("집금")},
             {QStringLiteral("AcctNo"), QStringLiteral("9000") + QString::fromLatin1(bank)},
             {QStringLiteral("CompyNo"), QString::fromLatin1(compy)},
             {QStringLiteral("RepYn"), QStringLiteral("Y")},
             {QStringLiteral("RepCd"), QString::fromLatin1(repCd)},
             {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    }
    static void payer(const char* cust, const char* sno, const char* bank, const char* acct, const char* juNo,
                      const char* reg1, const char* reg2) {
        auto v = [](const char* s) { return s ? QVariant(QString::fromLatin1(s)) : QVariant(); };
        ASSERT_TRUE(
            Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), v(cust)},
                                                           {QStringLiteral("SCd"), v(sno).toString().left(1)},
                                                           {QStringLiteral("SNo"), v(sno)},
                                                           {QStringLiteral("Nm"), QStringLiteral("학생")},
                                                           {QStringLiteral("Sex"), QStringLiteral("1")},
                                                           {QStringLiteral("BankCd"), v(bank)},
                                                           {QStringLiteral("AcctNo"), v(acct)},
                                                           {QStringLiteral("Ju_No"), v(juNo)},
                                                           {QStringLiteral("UseTy"), QStringLiteral("1")},
                                                           {QStringLiteral("AcctRegYn_1"), v(reg1)},
                                                           {QStringLiteral("AcctRegYn_2"), v(reg2)}}));
    }

    // Builds a run, answering its boxes.
    RegRun::Created make(const char* bank) {
        msg.expect(MsgResult::Ok);
        return RegRun::create(QString::fromLatin1(bank), QString::fromLatin1(bank));
    }

    QByteArray read(const QString& rel) {
        QFile f(path(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray golden(const char* name) {
        QFile f(QStringLiteral(ZQ_TEST_SOURCE_DIR "/transfers/golden/") + QString::fromLatin1(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll();
    }
    void put(const QString& rel, const QByteArray& content) {
        QFile f(path(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    // Result-file records of the registration layout.
    static QByteArray line(QByteArray s) {
        s = s.leftJustified(100, ' ', true);
        return s + "\r\n";
    }
    static QByteArray header(const char* bank, const char* code, const char* runKey) {
        QByteArray s = "SA1" + QByteArray(code).leftJustified(10, ' ') + bank + "20260316" + "1";
        s = s.leftJustified(42, ' ') + runKey;
        return line(s);
    }
    static QByteArray data(const char* payer, char flag, const char* code, const char* key82 = "") {
        QByteArray s = QByteArray("D0000001").leftJustified(43, ' ') + flag + code;
        s = s.leftJustified(62, ' ') + QByteArray(payer).leftJustified(20, ' ') + key82;
        return line(s);
    }
    static QByteArray with(QByteArray s, int off, const QByteArray& v) { return s.replace(off, v.size(), v); }
    static QByteArray trailer(int n) {
        return line("E" + QByteArray::number(n + 2).rightJustified(7, '0') +
                    QByteArray::number(n).rightJustified(7, '0'));
    }

    // Run rows as "payer Result ErrCd", students as "payer flag1 flag2 date".
    static QStringList runRows(const QString& table) {
        return column(
            QStringLiteral("select NapbuNo || ' ' || coalesce(Result, '-') || ' ' || coalesce(ErrCd, '-') "
                           "from %1 order by NapbuNo")
                .arg(table));
    }
    static QStringList states() {
        return column(
            QStringLiteral("select CustNo || ' ' || coalesce(AcctRegYn_1, '-') || ' ' || "
                           "coalesce(AcctRegYn_2, '-') || ' ' || coalesce(AcctRegDt, '-') from M_CUST "
                           "order by CustNo"));
    }
};

TEST_F(RegRunTest, RunsTakeTheUnregisteredPayersOfTheBank) {
    // Bank 11 takes the whole 10/11/12 family by the first state: a blank
    // state is not registered, "Y" and "W" stay out.
    RegRun::Created c = make("11");
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.seqNo, QStringLiteral("01"));
    EXPECT_EQ(c.repFacCd, QStringLiteral("NH11000001"));
    EXPECT_EQ(msg.texts().last(), QStringLiteral("등록은행:11\r대표은행부여코드:NH11000001\r회차:20260301"));
    EXPECT_EQ(column(QStringLiteral("select NapbuNo || RegBankCd || RepFacCd || BankCd || AcctNo || SocId "
                                    "from H_R00_20260301 order by NapbuNo")),
              (QStringList{QStringLiteral("P00111NH11000001101234567890800101123456"
                                          "7"),
                           QStringLiteral("P00211NH110000011130112233445566"
                                          "8202021234567")}));
    // Bank 12 reads the second state: P003 is registered with 11 only.
    c = make("12");
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.seqNo, QStringLiteral("02"));
    EXPECT_EQ(column(QStringLiteral("select NapbuNo from H_R00_20260302 order by NapbuNo")),
              (QStringList{QStringLiteral("P001"), QStringLiteral("P002"), QStringLiteral("P003"),
                           QStringLiteral("P004")}));
    // Bank 10 is its own bank only; nobody left: nothing is created.
    msg.expect(MsgResult::Ok);
    Database::exec(QStringLiteral("update M_CUST set AcctRegYn_1 = 'Y' where BankCd = '10'"));
    c = RegRun::create(QStringLiteral("10"), QStringLiteral("10"));
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("등록대상자가 없습니다~!"));
    EXPECT_EQ(RegRun::runTables(),
              (QStringList{QStringLiteral("H_R00_20260301"), QStringLiteral("H_R00_20260302")}));
    // A later month starts at 01 again.
    Clock::set(QDateTime(QDate(2026, 4, 6), QTime(9, 0)));
    EXPECT_EQ(make("26").seqNo, QStringLiteral("01"));
    EXPECT_TRUE(RegRun::exists(QStringLiteral("202604"), QStringLiteral("01")));
}

TEST_F(RegRunTest, GoldenRequestFilesPerBankBookedAsG) {
    struct Case {
        const char* bank;
        const char* file;
        const char* golden;
    };
    int seq = 0;
    for (const Case& k :
         {Case{"11", "26030111.R01", "reg100_bank11.txt"}, Case{"23", "26030223.R01", "reg100_bank23.txt"},
          Case{"26", "26030326.R01", "reg100_bank26.txt"},
          Case{"24", "26030484.R01", "reg100_bank24as84.txt"}}) {
        SCOPED_TRACE(k.bank);
        const RegRun::Created c = make(k.bank);
        ASSERT_TRUE(c.ok);
        EXPECT_EQ(c.seqNo.toInt(), ++seq);
        msg.expect({MsgResult::Ok, MsgResult::Ok});
        const RegRun::Written w = RegRun::writeRequest(c.yearMon, c.seqNo, RegRun::list(c.yearMon, c.seqNo));
        ASSERT_TRUE(w.ok);
        EXPECT_EQ(w.fileName, QString::fromLatin1(k.file));
        EXPECT_EQ(msg.texts().last(), QStringLiteral("파일작성 성공~!"));
        EXPECT_EQ(read(QStringLiteral("send/") + w.fileName), golden(k.golden));
    }
    EXPECT_TRUE(msg.sawText(QStringLiteral("회차 : 20260301\r요청일 : 20260316\r등록은행 : ")));
    EXPECT_EQ(column(QStringLiteral(
                  "select SRType || ' ' || FileName || ' ' || FileType || ' ' || YearMon || SeqNo || "
                  "' ' || BankCd || ' ' || DataCnt || ' ' || Gcode || ' ' || coalesce(SRDate, '-') "
                  "from M_SRFILE order by FileName")),
              (QStringList{QStringLiteral("G 26030111.R01 R01 260301 11 2 01 -"),
                           QStringLiteral("G 26030223.R01 R01 260302 23 1 01 -"),
                           QStringLiteral("G 26030326.R01 R01 260303 26 1 01 -"),
                           QStringLiteral("G 26030484.R01 R01 260304 84 1 01 -")}));
    // A second file of a run takes the next type.
    EXPECT_EQ(BatFile::NextRegFileType(QStringLiteral("20260301")), QStringLiteral("R02"));
    EXPECT_TRUE(QDir(path(QStringLiteral("Temp"))).entryList(QDir::Files).isEmpty());
}

TEST_F(RegRunTest, RequestRefusedWithoutListingOnWeekendsOrWhenBookingFails) {
    const RegRun::Created c = make("11");
    ASSERT_TRUE(c.ok);
    const RegRun::Listing shown = RegRun::list(c.yearMon, c.seqNo);
    // Nothing listed: no bank and no code to write.
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(RegRun::writeRequest(c.yearMon, c.seqNo, RegRun::Listing{}).ok);
    EXPECT_TRUE(msg.texts().last().startsWith(QStringLiteral("조회된 등록자료가 없습니다~!")));
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(RegRun::writeRequest(c.yearMon, QString(), shown).ok);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("선택된 회차가 없습니다~!"));
    Clock::set(QDateTime(QDate(2026, 3, 21), QTime(9, 0)));
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(RegRun::writeRequest(c.yearMon, c.seqNo, shown).ok);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("공휴일에는 계좌등록자료를 은행으로 보내실수 없습니다."));
    Clock::set(fixedNow());
    // The booking fails: the file is not placed.
    ASSERT_TRUE(Database::exec(QStringLiteral(
        "CREATE TRIGGER no_book BEFORE INSERT ON M_SRFILE BEGIN SELECT RAISE(ABORT, 'locked'); END")));
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    EXPECT_FALSE(RegRun::writeRequest(c.yearMon, c.seqNo, shown).ok);
    EXPECT_EQ(msg.texts().last(), QStringLiteral("파일작성 실패~!"));
    EXPECT_TRUE(QDir(path(QStringLiteral("send"))).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(path(QStringLiteral("Temp"))).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 0);
}

TEST_F(RegRunTest, ResultAppliedOnceWithRegisteredAndRefusedPayers) {
    ASSERT_TRUE(make("11").ok);
    payer("P005", "10105", "11", "5555", "8505051234567", "N", "N");
    ASSERT_TRUE(Database::insertRow(QStringLiteral("H_R00_20260301"),
                                    {{QStringLiteral("RegBankCd"), QStringLiteral("11")},
                                     {QStringLiteral("RepFacCd"), QStringLiteral("NH11000001")},
                                     {QStringLiteral("AcctNo"), QStringLiteral("5555")},
                                     {QStringLiteral("NapbuNo"), QStringLiteral("P005")},
                                     {QStringLiteral("BankCd"), QStringLiteral("11")}}));
    // An older archive of the same name stays as it is.
    put(QStringLiteral("rback/26030111.R01"), "older");
    const QByteArray file = header("11", "NH11000001", "20260301") + data("P001", 'Y', "0000") +
                            data("P002", 'N', "1004") + data("P005", 'N', "2005") + trailer(3);
    put(QStringLiteral("recv/26030111.R01"), file);

    msg.clear();
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    const QList<RegRun::Applied> done = RegRun::applyAll();
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0].status, RegRun::Applied::Status::Applied);
    EXPECT_EQ(done[0].archiveName, QStringLiteral("26030111.R01_1"));
    EXPECT_EQ(msg.texts().value(0),
              QStringLiteral("[계좌등록 결과파일 반영]\r\r수신회차 : 202603-01\r등록은행 : ") +
                  DMData->GetBankName(QStringLiteral("11")));
    EXPECT_TRUE(msg.texts().value(1).endsWith(QStringLiteral("\r요청건수 : 3\r등록성공 : 2")));
    // "2005" (already registered) counts as registered.
    EXPECT_EQ(runRows(QStringLiteral("H_R00_20260301")),
              (QStringList{QStringLiteral("P001 Y 0000"), QStringLiteral("P002 N 1004"),
                           QStringLiteral("P005 Y 2005")}));
    EXPECT_EQ(states(), (QStringList{QStringLiteral("P001 Y N 20260316"), QStringLiteral("P002 N - 20260316"),
                                     QStringLiteral("P003 Y - -"), QStringLiteral("P004 W N -"),
                                     QStringLiteral("P005 Y N 20260316"), QStringLiteral("P101 N N -"),
                                     QStringLiteral("P201 N N -"), QStringLiteral("P202 Y N -"),
                                     QStringLiteral("P301 - - -")}));
    EXPECT_EQ(read(QStringLiteral("rback/26030111.R01")), QByteArray("older"));
    EXPECT_EQ(read(QStringLiteral("rback/26030111.R01_1")), file);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("recv/26030111.R01"))));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_FILEMOVE")), 0);
    const RegRun::Listing l = RegRun::list(QStringLiteral("202603"), QStringLiteral("01"));
    EXPECT_EQ(l.total, 3);
    EXPECT_EQ(l.registered, 2);
    EXPECT_EQ(l.failed, 1);
    EXPECT_EQ(
        RegRun::list(QStringLiteral("202603"), QStringLiteral("01"), RegRun::Filter::Failed).rows.size(), 1);
    EXPECT_EQ(
        RegRun::list(QStringLiteral("202603"), QStringLiteral("01"), RegRun::Filter::Registered).rows.size(),
        2);

    // The same records again, however saved, are refused and stay in recv.
    Database::exec(QStringLiteral("update M_CUST set AcctRegYn_1 = 'N' where CustNo = 'P001'"));
    QByteArray lf = file;
    lf.replace("\r\n", "\n");
    for (const QByteArray& copy : {file, lf, file + "\r\n\r\n", file + "\x1a"}) {
        put(QStringLiteral("recv/copy.R01"), copy);
        msg.expect(MsgResult::Ok);
        EXPECT_EQ(RegRun::applyFile(path(QStringLiteral("recv/copy.R01"))).status,
                  RegRun::Applied::Status::Refused);
        EXPECT_TRUE(msg.texts().last().startsWith(QStringLiteral("이미 반영된 계좌등록결과파일입니다.")));
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("recv/copy.R01"))));
        EXPECT_EQ(states().value(0), QStringLiteral("P001 N N 20260316"));
    }
    EXPECT_EQ(QDir(path(QStringLiteral("rback"))).entryList(QDir::Files).size(), 2);
}

TEST_F(RegRunTest, BankHeadersOf23And88) {
    ASSERT_TRUE(make("23").ok); // 20260301
    ASSERT_TRUE(make("26").ok); // 20260302
    // Bank 23 carries the run key in its first data record, not its header;
    // "88" stands for bank 26. Bank 12 sets the second state.
    put(QStringLiteral("recv/26030123.R01"),
        header("23", "SC23000001", "") + data("P101", 'Y', "0000", "20260301") + trailer(1));
    put(QStringLiteral("recv/26030226.R01"),
        header("88", "SH26000001", "20260302") + data("P201", 'N', "1001") + trailer(1));
    msg.expect({MsgResult::Ok, MsgResult::Ok, MsgResult::Ok, MsgResult::Ok});
    const QList<RegRun::Applied> done = RegRun::applyAll();
    ASSERT_EQ(done.size(), 2);
    EXPECT_EQ(done[0].status, RegRun::Applied::Status::Applied);
    EXPECT_EQ(done[1].status, RegRun::Applied::Status::Applied);
    EXPECT_EQ(runRows(QStringLiteral("H_R00_20260301")), QStringList{QStringLiteral("P101 Y 0000")});
    EXPECT_EQ(runRows(QStringLiteral("H_R00_20260302")), QStringList{QStringLiteral("P201 N 1001")});
    EXPECT_EQ(states().value(4), QStringLiteral("P101 Y N 20260316"));
    EXPECT_EQ(states().value(5), QStringLiteral("P201 N N 20260316"));

    ASSERT_TRUE(make("12").ok); // 20260303: P001 to P004
    put(QStringLiteral("recv/26030312.R01"),
        header("12", "NH11000001", "20260303") + data("P003", 'Y', "0000") + trailer(1));
    Database::exec(QStringLiteral("update H_R00_20260303 set RepFacCd = 'NH11000001'"));
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    EXPECT_EQ(RegRun::applyAll().value(0).status, RegRun::Applied::Status::Applied);
    EXPECT_EQ(states().value(2), QStringLiteral("P003 Y Y 20260316"));
}

TEST_F(RegRunTest, MalformedFilesChangeNothing) {
    ASSERT_TRUE(make("11").ok);
    const QByteArray head = header("11", "NH11000001", "20260301");
    const QByteArray ok1 = data("P001", 'Y', "0000");
    const QString headErr = QStringLiteral("등록결과파일 헤더부 포맷오류~!!");
    const QString fmtErr = QStringLiteral("등록결과파일 포맷오류~!!");
    const struct {
        const char* what;
        QByteArray content;
        QString message;
    } cases[] = {
        {"empty", QByteArray(), headErr},
        {"no header", ok1 + trailer(1), headErr},
        {"short header", head.left(99) + "\r\n" + ok1 + trailer(1), headErr},
        {"no run key", header("11", "NH11000001", "") + ok1 + trailer(1), headErr},
        {"no institution code", header("11", "", "20260301") + ok1 + trailer(1), headErr},
        {"bank 23 without data", header("23", "SC23000001", "") + trailer(0),
         QStringLiteral("제일은행 등록결과파일 DATA부 포맷오류~!!")},
        {"short data line", head + ok1.left(90) + "\r\n" + trailer(1), fmtErr},
        {"no trailer", head + ok1, fmtErr},
        {"trailer count", head + ok1 + data("P002", 'Y', "0000") + trailer(1), fmtErr},
        {"foreign record", head + ok1 + line("X") + trailer(2), fmtErr},
        {"no such run", header("11", "NH11000001", "20260399") + ok1 + trailer(1),
         QStringLiteral("존재하지않는 회차입니다~!!")},
        {"unknown payer", head + ok1 + data("P999", 'Y', "0000") + trailer(2),
         QStringLiteral("결과반영대상이 회차에 없습니다~!!\r납부자번호: P999")},
        {"other institution", header("11", "NH99999999", "20260301") + ok1 + trailer(1),
         QStringLiteral("결과반영대상이 회차에 없습니다~!!\r납부자번호: P001")},
        // A flag that is neither Y nor N is no answer, not "not registered".
        {"flag blank", head + data("P001", ' ', "0000") + trailer(1), fmtErr},
        {"flag lower-case", head + data("P001", 'y', "0000") + trailer(1), fmtErr},
        {"flag NUL", head + data("P001", '\0', "0000") + trailer(1), fmtErr},
        {"flag ESC", head + data("P001", '\x1b', "0000") + trailer(1), fmtErr},
        {"flag TAB", head + data("P001", '\t', "0000") + trailer(1), fmtErr},
        // Control characters are not stored as a result code, nor trimmed
        // away from a payer number.
        {"code with NUL", head + with(data("P002", 'N', "1004"), 46, QByteArray(1, '\0')) + trailer(1),
         fmtErr},
        {"code with ESC",
         head +
             data("P002", 'N',
                  "10\x1b"
                  "4") +
             trailer(1),
         fmtErr},
        {"code with TAB", head + data("P002", 'N', "\t004") + trailer(1), fmtErr},
        {"payer with TAB", head + data("P001\t", 'Y', "0000") + trailer(1), fmtErr},
        {"institution code with ESC", header("11", "NH1100000\x1b", "20260301") + ok1 + trailer(1), headErr},
    };
    const QStringList before = states();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        put(QStringLiteral("recv/26030111.R01"), c.content);
        msg.clear();
        msg.expect(MsgResult::Ok);
        EXPECT_EQ(RegRun::applyFile(path(QStringLiteral("recv/26030111.R01"))).status,
                  RegRun::Applied::Status::Refused);
        EXPECT_TRUE(msg.texts().value(0).startsWith(c.message)) << msg.texts().value(0).toStdString();
        EXPECT_EQ(read(QStringLiteral("recv/26030111.R01")), c.content);
        EXPECT_EQ(runRows(QStringLiteral("H_R00_20260301")),
                  (QStringList{QStringLiteral("P001 - -"), QStringLiteral("P002 - -")}));
        EXPECT_EQ(states(), before);
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_APPLIED")), 0);
        EXPECT_TRUE(QDir(path(QStringLiteral("rback"))).entryList(QDir::Files).isEmpty());
    }
    // No file waiting.
    QFile::remove(path(QStringLiteral("recv/26030111.R01")));
    msg.expect(MsgResult::Ok);
    EXPECT_TRUE(RegRun::applyAll().isEmpty());
    EXPECT_EQ(msg.texts().last(), QStringLiteral("수신된 계좌등록결과파일이 없습니다."));
}

TEST_F(RegRunTest, WindowBuildsListsAndWritesARun) {
    TFrmCreateRegData w;
    EXPECT_FALSE(w.BtnMake->isEnabled());
    w.CbBank->setCurrentIndex(w.CbBank->findText(QStringLiteral("11."), Qt::MatchStartsWith));
    EXPECT_TRUE(w.BtnMake->isEnabled());
    msg.expect(MsgResult::Ok);
    w.BtnMake->click();
    EXPECT_EQ(w.yearMon(), QStringLiteral("202603"));
    EXPECT_EQ(w.seqNo(), QStringLiteral("01"));
    ASSERT_EQ(w.SGrdReg->rowCount(), 2);
    EXPECT_EQ(w.SGrdReg->item(0, 7)->text(), QStringLiteral("P001"));
    EXPECT_EQ(w.SGrdReg->item(0, 12)->text(), QStringLiteral("11"));
    EXPECT_EQ(w.PnlTotCnt->text(), QStringLiteral("2 "));
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    w.BtnCreate->click();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("send/26030111.R01"))));
    // Another run typed in: the listing is gone, and so is the file's bank.
    w.MEdtSeqNo->setText(QStringLiteral("02"));
    EXPECT_EQ(w.SGrdReg->rowCount(), 0);
    msg.expect(MsgResult::Ok);
    w.BtnSearch->click();
    EXPECT_EQ(msg.texts().last(), QStringLiteral("존재하지않는 회차입니다~!!"));
}

} // namespace
