#include "transfers/common/ResultFile.h"
#include "data/Bnkerrcd.h"
#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"
#include "support/TestRoot.h"
#include "transfers/collection/M101B08.h"
#include "transfers/common/ResultSplit.h"

#include <QDir>
#include <QFile>
#include <QTableWidget>

namespace {

// A fixed-width record: blanks, with values put at their offsets.
struct Rec {
    QByteArray b;
    explicit Rec(int len) : b(len, ' ') {}
    Rec& put(int off, const QByteArray& v) {
        b.replace(off, v.size(), v);
        return *this;
    }
};

QByteArray zero(qint64 v, int w) {
    return QByteArray::number(v).rightJustified(w, '0');
}

void writeFile(const QString& path, const QList<QByteArray>& lines) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (const QByteArray& l : lines)
        f.write(l + "\r\n");
}

TEST(ReplyTexts, TextCodesPerBankSet) {
    TDMBankLib lib;
    const struct {
        const char* bank;
        const char* code;
        const char16_t* text;
    } cases[] = {
        {"11", "08", u"금액오류"},
        {"12", "08", u"기타오류"},
        {"10", "0444", u"입금대상은행장애"},
        {"04", "0444", u"0444"},
        {"03", "0101", u"0101"},
        {"03", "3002", u"잔액부족"},
        {"04", "0107", u"주민번호불일치"},
        {"04", "1007", u"지급잔액부족"},
        {"11", "1007", u"1007"},
        {"11", "2006", u"징수기관임의해지"},
        {"04", "2006", u"기관임의해지"},
        {"12", "2015", u"이중신청"},
        {"11", "1", u"1"},
        {"04", "00", u"00"},
        {"04", "", u""},
        {"10", "", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bank) + "/" + c.code);
        EXPECT_EQ(lib.GetReplyText(QString::fromLatin1(c.bank), QString::fromLatin1(c.code)),
                  QString::fromUtf16(c.text));
    }
}

TEST(ReplyTexts, NumericCodes) {
    const struct {
        const char* bank;
        const char* code;
        const char16_t* text;
    } cases[] = {
        {"04", "0107", u"주민번호상이"}, {"10", "1012", u"1012"},   {"04", "A1", u"A1"},
        {"04", "104", u"0104"},          {"12", "88", u"기타오류"}, {"11", "88", u"기타오류"},
        {"11", "8", u"금액오류"},        {"12", "8", u"기타오류"},  {"03", "2001", u"납부자오류"},
        {"04", "2002", u"납부자없음"},   {"", "01", u"01"},         {"04", "7", u"0007"},
        {"04", "444", u"0444"},          {"04", "2015", u"2015"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bank) + "/" + c.code);
        EXPECT_EQ(GetBankErrText(QString::fromLatin1(c.bank), QString::fromLatin1(c.code)),
                  QString::fromUtf16(c.text));
    }
}

class ResultFiles : public TestRoot {
protected:
    void SetUp() override {
        // The answers of May 2024's rounds come back in that month: a
        // transfer date more than a year from today is refused.
        autoStart = false;
        TestRoot::SetUp();
        Clock::set(QDateTime(QDate(2024, 5, 16), QTime(10, 20, 30)));
        startServices();
        ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20240503")));
        addRow("30101", "01", "1000000001", "11", "0", "1", 50000);
        addRow("30101", "02", "1000000001", "11", "0", "2", 20000);
        addRow("30102", "01", "1000000002", "12", "0", "1", 50000);
        addRow("30103", "01", "1000000003", "11", "2", "1", 50000); // paid in cash
        addRow("30104", "01", "1000000004", "11", "0", "0", 0);     // wholly exempt
        for (const char* c : {"1000000001", "1000000002", "1000000003", "1000000004"})
            Database::insertRow(QStringLiteral("M_CUST"),
                                {{QStringLiteral("CustNo"), QString::fromLatin1(c)},
                                 {QStringLiteral("AcctRegYn_1"), QStringLiteral("Y")},
                                 {QStringLiteral("AcctRegYn_2"), QStringLiteral("Y")}});
    }
    void addRow(const char* sno, const char* item, const char* cust, const char* bank, const char* replyTy,
                const char* exempTy, int amt) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("H_200_20240503"),
                                        {{QStringLiteral("YearMon"), QStringLiteral("202405")},
                                         {QStringLiteral("SeqNo"), QStringLiteral("03")},
                                         {QStringLiteral("SNo"), QString::fromLatin1(sno)},
                                         {QStringLiteral("ItemCd"), QString::fromLatin1(item)},
                                         {QStringLiteral("BankCd"), QString::fromLatin1(bank)},
                                         {QStringLiteral("Amt"), amt},
                                         {QStringLiteral("ReplyTy"), QString::fromLatin1(replyTy)},
                                         {QStringLiteral("ExempTy"), QString::fromLatin1(exempTy)},
                                         {QStringLiteral("CustNo"), QString::fromLatin1(cust)}}));
    }

    // A 200-byte file of the 10/11/12 family.
    static QByteArray nhHeader(const char* bank3, const char* key = "240503") {
        return Rec(200).put(0, "H").put(4, bank3).put(21, "20240510").put(72, QByteArray(key) + "0000").b;
    }
    static QByteArray nhData(const char* cust, const char* item, qint64 amt, bool ok, const char* code,
                             const char* payerBank = "11", const char* key = "240503") {
        return Rec(200)
            .put(0, "D")
            .put(20, QByteArray(" ") + item)
            .put(24, payerBank)
            .put(42, zero(amt, 13))
            .put(94, cust)
            .put(114, key)
            .put(154, ok ? "Y" : "N")
            .put(155, code)
            .b;
    }
    // The trailer with the records' total as the first class's successes.
    static QByteArray nhTrailer(int lines, qint64 total = 0) {
        return Rec(200).put(0, "E").put(1, zero(lines, 7)).put(15, zero(total, 15)).b;
    }

    QString recv(const QString& name) const { return path(QStringLiteral("recv/") + name); }

    // The records of a file as other programs may save them again.
    static QList<std::pair<const char*, QByteArray>> sameRecords(const QList<QByteArray>& lines) {
        QByteArray crlf, lf;
        for (const QByteArray& l : lines) {
            crlf += l + "\r\n";
            lf += l + "\n";
        }
        return {{"identical copy", crlf},
                {"LF line ends", lf},
                {"one more CR LF", crlf + "\r\n"},
                {"blank lines at the end", crlf + "\r\n\r\n"},
                {"^Z at the end", crlf + "\x1a"}};
    }

    ResultApplyRequest request(const QString& name, const char* bank) {
        ResultApplyRequest r;
        r.path = recv(name);
        r.workBank = QString::fromLatin1(bank);
        r.gcode = QStringLiteral("01");
        r.listBankName = QString::fromLatin1(bank) == QLatin1String("12") ? QStringLiteral("회원농협")
                                                                          : QStringLiteral("농협중앙");
        r.listTransferDate = QStringLiteral("2024.05.10");
        r.listCount = QStringLiteral("         3");
        return r;
    }

    QString row(const char* sno, const char* item) {
        return column(QStringLiteral(
                          "select ReplyTy || '|' || ifnull(ProcDt,'') || '|' || ifnull(ReplyCd,'') || '|' "
                          "|| Amt || '|' || ExempTy from H_200_20240503 where SNo = ? and ItemCd = ?"),
                      {QString::fromLatin1(sno), QString::fromLatin1(item)})
            .value(0);
    }
    QStringList allRows() {
        return column(
            QStringLiteral("select SNo || ItemCd || ReplyTy || ifnull(ProcDt,'') || ifnull(ReplyCd,'') || "
                           "Amt from H_200_20240503 order by SNo, ItemCd"));
    }
};

TEST_F(ResultFiles, NH200MarksRowsAndArchivesTheFile) {
    writeFile(recv(QStringLiteral("00110001.201")),
              {nhHeader("011"), nhData("1000000001", "01", 50000, true, "0000"),
               nhData("1000000001", "02", 0, false, "2007"), nhData("1000000002", "01", 48000, false, "1000"),
               nhTrailer(5, 98000)});
    const ResultApplyOutcome o = ResultApplier::apply(request(QStringLiteral("00110001.201"), "11"));
    ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied) << o.messages.value(0).text.toStdString();
    EXPECT_EQ(o.roundTable, QStringLiteral("H_200_20240503"));
    EXPECT_EQ(row("30101", "01"), QStringLiteral("1|20240510|0000|50000|1"));
    // A failed record with no amount keeps what the payer owes.
    EXPECT_EQ(row("30101", "02"), QStringLiteral("0|00000000|2007|20000|1"));
    EXPECT_EQ(row("30102", "01"), QStringLiteral("0|00000000|1000|48000|1"));
    // 2007 with the work window on bank 11 resets the first registration flag.
    EXPECT_EQ(
        column(QStringLiteral("select AcctRegYn_1 || AcctRegYn_2 from M_CUST where CustNo = '1000000001'")),
        QStringList{QStringLiteral("NY")});
    EXPECT_FALSE(QFile::exists(recv(QStringLiteral("00110001.201"))));
    EXPECT_EQ(o.archiveName, QStringLiteral("24050311.201"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("rback/24050311.201"))));
    EXPECT_EQ(column(QStringLiteral(
                  "select SRType||FileName||FileType||YearMon||SeqNo||BankCd||DataCnt||SRDate||Gcode "
                  "from M_SRFILE")),
              QStringList{QStringLiteral("R24050311.20120124050311320240516") + QStringLiteral("01")});
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from L_Log_202405 where JobLog like '[파일풀기]%'")), 1);
    EXPECT_EQ(ResultApplier::NextResultFileType(QStringLiteral("2405"), QStringLiteral("03")),
              QStringLiteral("202"));
}

TEST_F(ResultFiles, Bank12FlagAndConflictsAreSkippedButTheFileIsArchived) {
    writeFile(recv(QStringLiteral("00120001.201")),
              {nhHeader("012"), nhData("1000000002", "01", 50000, false, "2007", "12"),
               nhData("1000000003", "01", 50000, true, "0000"),
               nhData("1000000004", "01", 50000, true, "0000"), nhTrailer(5, 150000)});
    ResultApplyRequest req = request(QStringLiteral("00120001.201"), "12");
    const ResultApplyOutcome o = ResultApplier::apply(req);
    ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied);
    EXPECT_EQ(
        column(QStringLiteral("select AcctRegYn_1 || AcctRegYn_2 from M_CUST where CustNo = '1000000002'")),
        QStringList{QStringLiteral("YN")});
    ASSERT_EQ(o.messages.size(), 3);
    EXPECT_TRUE(o.messages[0].text.contains(QStringLiteral("현금수납 하여 파일풀기오류가 발생하였으니")));
    EXPECT_TRUE(o.messages[1].text.contains(QStringLiteral("면제 학생입니다! ")));
    EXPECT_EQ(o.messages[2].text, QStringLiteral("파일풀기가 완료되었습니다"));
    EXPECT_EQ(row("30103", "01"), QStringLiteral("2|||50000|1"));
    EXPECT_EQ(row("30104", "01"), QStringLiteral("0|||0|0"));
}

TEST_F(ResultFiles, MalformedFilesChangeNothing) {
    const QByteArray head = nhHeader("011");
    const QByteArray good = nhData("1000000001", "01", 50000, true, "0000");
    QByteArray badBytes = good;
    badBytes.replace(60, 2, "\x80\xFF");
    QByteArray badAmount = good;
    badAmount.replace(42, 3, "1A2");
    QByteArray badFlag = good;
    badFlag.replace(154, 1, "X");
    QByteArray blankAmount = good;
    blankAmount.replace(42, 13, QByteArray(13, ' '));
    QByteArray badDayHead = head;
    badDayHead.replace(21, 8, "20240231");
    const struct {
        const char* name;
        QList<QByteArray> lines;
        const char16_t* why;
    } cases[] = {
        {"truncated record", {head, good.left(150), nhTrailer(3)}, u"레코드 길이"},
        {"no trailer", {head, good}, u"트레일러가 없습니다"},
        {"wrong count", {head, good, nhTrailer(4)}, u"자료건수"},
        {"unknown payer",
         {head, nhData("9999999999", "01", 1, true, "0000"), nhTrailer(3, 1)},
         u"학생이 삭제되어"},
        {"unknown round", {nhHeader("011", "240599"), good, nhTrailer(3, 50000)}, u"이체회차 자료가 없습니다"},
        {"not CP949", {head, badBytes, nhTrailer(3)}, u"읽을 수 없는 문자"},
        {"amount not a number", {head, badAmount, nhTrailer(3)}, u"금액이 숫자가 아닙니다"},
        {"only a header", {head}, u"헤더 또는 트레일러"},
        {"transfer date not a day", {badDayHead, good, nhTrailer(3, 50000)}, u"헤더의 이체일자가 올바른 날짜가"},
        {"trailer sum differs", {head, good, nhTrailer(3, 49000)}, u"금액합계가 트레일러와 다릅니다"},
        {"trailer sum not a number",
         {head, good, nhTrailer(3, 50000).replace(20, 2, "ab")},
         u"트레일러의 금액이 숫자가"},
        {"result flag outside Y and N", {head, badFlag, nhTrailer(3, 50000)}, u"처리결과 표시가"},
        {"success without an amount", {head, blankAmount, nhTrailer(3)}, u"정상처리 자료에 금액이 없습니다"},
        {"record of another round",
         {head, nhData("1000000001", "01", 1, true, "0000", "11", "240504"), nhTrailer(3, 1)},
         u"다른 회차(240504)"},
    };
    const QStringList before = allRows();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QStringLiteral("00110001.201");
        writeFile(recv(name), c.lines);
        const ResultApplyOutcome o = ResultApplier::apply(request(name, "11"));
        EXPECT_EQ(o.status, ResultApplyOutcome::Status::Invalid);
        ASSERT_FALSE(o.messages.isEmpty());
        EXPECT_TRUE(o.messages.first().text.contains(QString::fromUtf16(c.why)))
            << o.messages.first().text.toStdString();
        EXPECT_EQ(allRows(), before);
        EXPECT_TRUE(QFile::exists(recv(name)));
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 0);
        EXPECT_TRUE(QDir(path(QStringLiteral("rback"))).isEmpty());
    }
}

TEST_F(ResultFiles, RefusalsOfBankRoundAndRepeat) {
    // The bank in the header must be the work window's.
    writeFile(recv(QStringLiteral("00110001.201")),
              {nhHeader("011"), nhData("1000000001", "01", 50000, true, "0000"), nhTrailer(3, 50000)});
    ResultApplyOutcome o = ResultApplier::apply(request(QStringLiteral("00110001.201"), "10"));
    EXPECT_EQ(o.status, ResultApplyOutcome::Status::Refused);
    EXPECT_EQ(o.messages.value(0).text, QStringLiteral("은행선택이 잘못되었습니다"));

    // An 80-byte file for bank 23 needs the dialog's round.
    writeFile(recv(QStringLiteral("00230001.201")),
              {Rec(80).put(0, "H").b, Rec(80).put(0, "D").b, Rec(80).put(0, "T").put(8, zero(1, 7)).b});
    o = ResultApplier::apply(request(QStringLiteral("00230001.201"), "23"));
    EXPECT_EQ(o.status, ResultApplyOutcome::Status::NeedRound);
    EXPECT_EQ(o.messages.value(0).text, QStringLiteral("이체년월 및 회차를 입력하세요!!"));

    // The same file received twice is applied once.
    ASSERT_EQ(ResultApplier::apply(request(QStringLiteral("00110001.201"), "11")).status,
              ResultApplyOutcome::Status::Applied);
    writeFile(recv(QStringLiteral("00110001.202")),
              {nhHeader("011"), nhData("1000000001", "01", 50000, true, "0000"), nhTrailer(3, 50000)});
    o = ResultApplier::apply(request(QStringLiteral("00110001.202"), "11"));
    EXPECT_EQ(o.status, ResultApplyOutcome::Status::Invalid);
    EXPECT_TRUE(o.messages.value(0).text.contains(QStringLiteral("이미 파일풀기")));
}

TEST_F(ResultFiles, Layout80WithDialogRoundAndPayerPrefix) {
    // Work window on bank 93: a payer field beginning with "C" is read from
    // its second character.
    auto data = [](const char* payer, bool ok, const char* code) {
        return Rec(80)
            .put(0, "D")
            .put(1, "93")
            .put(20, zero(50000, 11))
            .put(33, ok ? "Y" : "N")
            .put(34, code)
            .put(48, payer)
            .put(76, "01")
            .b;
    };
    writeFile(recv(QStringLiteral("00930001.201")),
              {Rec(80).put(0, "H").put(15, "240511").put(63, "240503").b, data("C1000000001", true, "0000"),
               data("1000000002", false, "2008"),
               Rec(80)
                   .put(0, "T")
                   .put(8, zero(2, 7))
                   .put(15, zero(100000, 13))
                   .put(28, zero(1, 7))
                   .put(35, zero(50000, 13))
                   .put(48, zero(1, 7))
                   .put(55, zero(50000, 13))
                   .b});
    ResultApplyRequest req = request(QStringLiteral("00930001.201"), "93");
    req.listBankName.clear();
    const ResultApplyOutcome o = ResultApplier::apply(req);
    ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied) << o.messages.value(0).text.toStdString();
    EXPECT_EQ(row("30101", "01"), QStringLiteral("1|20240511|0000|50000|1"));
    EXPECT_EQ(row("30102", "01"), QStringLiteral("0|00000000|2008|50000|1"));
    // The not-registered code resets the flag of the record's bank (93).
    EXPECT_EQ(column(QStringLiteral("select AcctRegYn_1 from M_CUST where CustNo = '1000000002'")),
              QStringList{QStringLiteral("N")});
}

// Each layout's trailer amounts against its records: a failed record whose
// processed amount is zero belongs in a valid file; a trailer amount one won
// off is refused. Bank 23 states the request total and the processed total
// apart, so its file with a failure applies.
TEST_F(ResultFiles, TrailerSumsComparedLikeWithLikePerLayout) {
    // One success of 1000000001/01 and one failure of 1000000002/01 (50000 each).
    auto nh80 = [](qint64 total) {
        auto d = [](const char* cust, bool ok) {
            return Rec(80)
                .put(0, "D")
                .put(9, "01")
                .put(34, zero(50000, 10))
                .put(44, cust)
                .put(68, ok ? "Y00" : "N08")
                .put(71, "240511")
                .b;
        };
        return QList<QByteArray>{Rec(80).put(0, "S11").put(13, "240510").put(31, "240503").b,
                                 d("1000000001", true), d("1000000002", false),
                                 Rec(80).put(0, "E").put(9, zero(4, 6)).put(15, zero(total, 12)).b};
    };
    auto nh12 = [](qint64 total) {
        auto d = [](const char* cust, bool ok) {
            return Rec(80)
                .put(0, "22")
                .put(9, "12")
                .put(27, zero(50000, 12))
                .put(39, ok ? "100" : "208")
                .put(46, cust)
                .put(59, "01")
                .b;
        };
        return QList<QByteArray>{
            Rec(80).put(0, "11").put(2, "12").put(4, "240510").b, d("1000000001", true),
            d("1000000002", false),
            Rec(80).put(0, "33").put(8, zero(total, 12)).put(20, zero(1, 6)).put(38, zero(1, 6)).b};
    };
    // The 80-byte layout and the 100-byte one of banks 45 and 93.
    auto l80 = [](int width, const char* bank, qint64 total, qint64 okAmt) {
        auto d = [&](const char* cust, bool ok) {
            return Rec(width)
                .put(0, "D")
                .put(1, bank)
                .put(20, zero(50000, 11))
                .put(33, ok ? "Y0000" : "N0012")
                .put(48, QByteArray(width == 100 ? "C" : "") + cust)
                .put(76, "01")
                .b;
        };
        return QList<QByteArray>{Rec(width).put(0, "S").put(15, "240510").put(63, "240503").b,
                                 d("1000000001", true), d("1000000002", false),
                                 Rec(width)
                                     .put(0, "E")
                                     .put(8, zero(2, 7))
                                     .put(15, zero(total, 13))
                                     .put(28, zero(1, 7))
                                     .put(35, zero(okAmt, 13))
                                     .put(48, zero(1, 7))
                                     .put(55, zero(50000, 13))
                                     .b};
    };
    // Bank 23: requested amount at 19, processed amount at 37 (zero on a failure).
    auto l100b = [](qint64 total, qint64 okAmt) {
        auto d = [](const char* cust, bool ok) {
            return Rec(100)
                .put(0, "D")
                .put(1, "23")
                .put(19, zero(50000, 13))
                .put(32, ok ? "Y0000" : "N0012")
                .put(37, zero(ok ? 50000 : 0, 13))
                .put(50, "240503")
                .put(60, "01")
                .put(77, cust)
                .b;
        };
        return QList<QByteArray>{Rec(100).put(0, "S").put(26, "20240510").b, d("1000000001", true),
                                 d("1000000002", false),
                                 Rec(100)
                                     .put(0, "E")
                                     .put(7, zero(2, 6))
                                     .put(13, zero(total, 13))
                                     .put(26, zero(1, 6))
                                     .put(32, zero(okAmt, 13))
                                     .put(64, zero(1, 6))
                                     .b};
    };
    auto nh200 = [](qint64 okA, qint64 failB) {
        return QList<QByteArray>{nhHeader("011"), nhData("1000000001", "01", 50000, true, "0000"),
                                 nhData("1000000002", "01", 50000, false, "1000", "12"),
                                 Rec(200)
                                     .put(0, "E")
                                     .put(1, zero(4, 7))
                                     .put(8, zero(1, 7))
                                     .put(15, zero(okA, 15))
                                     .put(118, zero(1, 7))
                                     .put(125, zero(failB, 15))
                                     .b};
    };
    const struct {
        const char* name;
        const char* file;
        const char* bank;
        QList<QByteArray> lines;
        bool applies;
    } cases[] = {
        {"200 bytes", "00110001.201", "11", nh200(50000, 50000), true},
        {"200 bytes, a class amount off", "00110001.201", "11", nh200(50000, 49999), false},
        {"NH 80 bytes", "00110001.201", "11", nh80(100000), true},
        {"NH 80 bytes, total off", "00110001.201", "11", nh80(100001), false},
        {"bank 12", "00120001.201", "12", nh12(100000), true},
        {"bank 12, total off", "00120001.201", "12", nh12(99999), false},
        {"80 bytes", "00200001.201", "20", l80(80, "20", 100000, 50000), true},
        {"80 bytes, total off", "00200001.201", "20", l80(80, "20", 100001, 50000), false},
        {"80 bytes, processed off", "00200001.201", "20", l80(80, "20", 100000, 50001), false},
        {"80 bytes, processed given as the total", "00200001.201", "20", l80(80, "20", 100000, 100000),
         false},
        {"100A", "00930001.201", "93", l80(100, "93", 100000, 50000), true},
        {"100A, processed off", "00930001.201", "93", l80(100, "93", 100000, 49999), false},
        {"100B with a failure", "00230001.201", "23", l100b(100000, 50000), true},
        {"100B, request total off", "00230001.201", "23", l100b(99999, 50000), false},
        {"100B, processed off", "00230001.201", "23", l100b(100000, 50001), false},
        {"100B, processed given as the total", "00230001.201", "23", l100b(100000, 100000), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Database::exec(
            QStringLiteral("update H_200_20240503 set ReplyTy = '0', ProcDt = NULL, ReplyCd = NULL, "
                           "Amt = 50000 where ItemCd = '01' and SNo in ('30101', '30102')"));
        Database::exec(QStringLiteral("delete from M_SRFILE"));
        Database::exec(QStringLiteral("delete from M_APPLIED"));
        for (const QString& n : QDir(path(QStringLiteral("rback"))).entryList(QDir::Files))
            QFile::remove(path(QStringLiteral("rback/") + n));
        const QStringList before = allRows();
        const QString name = QString::fromLatin1(c.file);
        writeFile(recv(name), c.lines);
        ResultApplyRequest req = request(name, c.bank);
        req.listBankName = DMData->GetBankName(QString::fromLatin1(c.bank));
        req.yearMon = QStringLiteral("202405");
        req.seqNo = QStringLiteral("03");
        const ResultApplyOutcome o = ResultApplier::apply(req);
        if (c.applies) {
            ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied)
                << o.messages.value(0).text.toStdString();
            EXPECT_EQ(row("30101", "01").left(2), QStringLiteral("1|"));
            EXPECT_EQ(row("30102", "01").section(QLatin1Char('|'), 0, 1), QStringLiteral("0|00000000"));
            // A failure without a processed amount keeps what the payer owes.
            EXPECT_EQ(row("30102", "01").section(QLatin1Char('|'), 3, 3), QStringLiteral("50000"));
            // The same records again, however saved, are refused: no second
            // booking, archive or log line, and a row the office changed by
            // hand in between keeps its change.
            Database::exec(QStringLiteral("update H_200_20240503 set ReplyCd = 'HAND' where SNo = '30101'"));
            const QStringList changed = allRows();
            const qint64 logs = scalar(QStringLiteral("select count(*) from L_Log_202405"));
            for (const auto& [what, bytes] : sameRecords(c.lines)) {
                SCOPED_TRACE(what);
                req.path = recv(name.left(9) + QStringLiteral("298"));
                QFile copy(req.path);
                ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
                copy.write(bytes);
                copy.close();
                const ResultApplyOutcome again = ResultApplier::apply(req);
                EXPECT_EQ(again.status, ResultApplyOutcome::Status::Invalid);
                EXPECT_TRUE(again.messages.value(0).text.startsWith(QStringLiteral("이미 파일풀기 된 결과파일입니다.")))
                    << again.messages.value(0).text.toStdString();
                EXPECT_EQ(allRows(), changed);
                EXPECT_TRUE(QFile::remove(req.path));
            }
            EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 1);
            EXPECT_EQ(QDir(path(QStringLiteral("rback"))).entryList(QDir::Files).size(), 1);
            EXPECT_EQ(scalar(QStringLiteral("select count(*) from L_Log_202405")), logs);
        } else {
            EXPECT_EQ(o.status, ResultApplyOutcome::Status::Invalid);
            EXPECT_TRUE(o.messages.value(0).text.startsWith(
                QStringLiteral("결과파일의 금액합계가 트레일러와 다릅니다.")))
                << o.messages.value(0).text.toStdString();
            EXPECT_EQ(allRows(), before);
            EXPECT_TRUE(QFile::exists(recv(name)));
            QFile::remove(recv(name));
        }
    }
}

// A restored database numbers its result types again while rback keeps the
// archives of the undone months: the file goes under the next type rback
// does not hold, and the book, the fingerprint and the outcome name it.
TEST_F(ResultFiles, ArchiveBookedUnderTheNameWrittenWhenRbackHoldsTheType) {
    QFile undone(path(QStringLiteral("rback/24050311.201")));
    ASSERT_TRUE(undone.open(QIODevice::WriteOnly));
    undone.write("undone month");
    undone.close();
    const QList<QByteArray> lines{nhHeader("011"), nhData("1000000001", "01", 50000, true, "0000"),
                                  nhTrailer(3, 50000)};
    writeFile(recv(QStringLiteral("00110001.201")), lines);
    const ResultApplyOutcome o = ResultApplier::apply(request(QStringLiteral("00110001.201"), "11"));
    ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied) << o.messages.value(0).text.toStdString();
    EXPECT_EQ(o.archiveName, QStringLiteral("24050311.202"));
    EXPECT_EQ(column(QStringLiteral("select FileName || ' ' || FileType from M_SRFILE")),
              QStringList{QStringLiteral("24050311.202 202")});
    EXPECT_EQ(column(QStringLiteral("select FileName from M_APPLIED")),
              QStringList{QStringLiteral("24050311.202")});
    QFile kept(path(QStringLiteral("rback/24050311.201")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("undone month"));
    QFile stored(path(QStringLiteral("rback/24050311.202")));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(ResultFile::splitLines(stored.readAll()), lines);
    EXPECT_EQ(ResultApplier::NextResultFileType(QStringLiteral("2405"), QStringLiteral("03")),
              QStringLiteral("203"));
}

TEST_F(ResultFiles, ListShowsTheBankAndNH11UnderBank10) {
    writeFile(recv(QStringLiteral("00110001.201")),
              {nhHeader("011"), nhData("1000000001", "01", 50000, true, "0000"), nhTrailer(3, 50000)});
    writeFile(recv(QStringLiteral("00200001.201")),
              {Rec(80).put(0, "H").put(15, "240511").b, Rec(80).put(0, "T").put(8, zero(7, 7)).b});
    writeFile(recv(QStringLiteral("00110001.R01")), {Rec(80).b});
    const QList<ResultFileInfo> ten =
        ResultFile::filesForBank(path(QStringLiteral("recv")), QStringLiteral("10"));
    ASSERT_EQ(ten.size(), 1);
    EXPECT_EQ(ten[0].transferDate, QStringLiteral("240510"));
    EXPECT_EQ(ten[0].dataCount, 1);
    const QList<ResultFileInfo> twenty =
        ResultFile::filesForBank(path(QStringLiteral("recv")), QStringLiteral("20"));
    ASSERT_EQ(twenty.size(), 1);
    EXPECT_EQ(twenty[0].dataCount, 7);
    EXPECT_EQ(ResultFile::transferDateColumn(QStringLiteral("240511")), QStringLiteral("2024.05.11"));
}

TEST_F(ResultFiles, SplitWritesOnePartPerRound) {
    writeFile(recv(QStringLiteral("00110001.205")), {Rec(200).b, Rec(200).put(0, "E").b});
    writeFile(recv(QStringLiteral("00110002.206")),
              {nhHeader("011", "240500"), nhData("1000000001", "01", 100, true, "0000", "11", "240503"),
               nhData("1000000002", "01", 200, false, "1000", "12", "240504"),
               nhData("1000000003", "01", 300, true, "0000", "20", "240503"), nhTrailer(5, 600)});
    const ResultSplit::Outcome o = ResultSplit::splitMultiRoundFiles(path(QStringLiteral("recv")));
    EXPECT_EQ(o.writtenParts, (QStringList{QStringLiteral("00110002.221"), QStringLiteral("00110002.222")}));
    EXPECT_FALSE(QFile::exists(recv(QStringLiteral("00110002.206"))));
    QFile p1(recv(QStringLiteral("00110002.221")));
    ASSERT_TRUE(p1.open(QIODevice::ReadOnly));
    const QList<QByteArray> l1 = ResultFile::splitLines(p1.readAll());
    ASSERT_EQ(l1.size(), 4);
    EXPECT_EQ(l1[0].mid(72, 6), QByteArray("240503"));
    EXPECT_EQ(l1[3].size(), 200);
    // Lines 4; class A: one success of 100; class C: one success of 300.
    EXPECT_EQ(l1[3].left(30), QByteArray("E00000040000001000000000000100"));
    EXPECT_EQ(l1[3].mid(140, 22), QByteArray("0000001000000000000300"));
    QFile p2(recv(QStringLiteral("00110002.222")));
    ASSERT_TRUE(p2.open(QIODevice::ReadOnly));
    const QList<QByteArray> l2 = ResultFile::splitLines(p2.readAll());
    ASSERT_EQ(l2.size(), 3);
    EXPECT_EQ(l2[0].mid(72, 6), QByteArray("240504"));
    EXPECT_EQ(l2[2].mid(118, 22), QByteArray("0000001000000000000200")); // class B failed
    // A second split continues above the highest number in use.
    writeFile(recv(QStringLiteral("00100003.207")),
              {nhHeader("010", "240500"), nhData("1000000001", "01", 1, true, "0000", "11", "240503"),
               nhData("1000000002", "01", 1, true, "0000", "11", "240504"), nhTrailer(4, 2)});
    const ResultSplit::Outcome o2 = ResultSplit::splitMultiRoundFiles(path(QStringLiteral("recv")));
    EXPECT_EQ(o2.writtenParts, (QStringList{QStringLiteral("00100003.223"), QStringLiteral("00100003.224")}));
    // Single-round and bank-12 files are left alone.
    EXPECT_TRUE(QFile::exists(recv(QStringLiteral("00110001.205"))));
}

TEST_F(ResultFiles, SplitPastType299KeepsTheFileWholeAndSaysSo) {
    // Type 290 in use: the parts would be numbered 291 and up, and the
    // eleventh round would pass 299.
    writeFile(recv(QStringLiteral("00110001.290")), {Rec(200).b, Rec(200).put(0, "E").b});
    QList<QByteArray> lines{nhHeader("011", "240500")};
    for (int r = 1; r <= 11; ++r)
        lines << nhData("1000000001", "01", 100, true, "0000", "11",
                        (QByteArray("2405") + QByteArray::number(r).rightJustified(2, '0')).constData());
    lines << nhTrailer(13, 1100);
    writeFile(recv(QStringLiteral("00110002.206")), lines);
    const ResultSplit::Outcome o = ResultSplit::splitMultiRoundFiles(path(QStringLiteral("recv")));
    EXPECT_EQ(o.errors, QStringList{QStringLiteral("00110002.206")});
    EXPECT_TRUE(o.writtenParts.isEmpty());
    EXPECT_TRUE(QFile::exists(recv(QStringLiteral("00110002.206"))));
    EXPECT_EQ(QDir(path(QStringLiteral("recv"))).entryList(QDir::Files).size(), 2);

    // The dialog says so when it opens.
    msg.expect(MsgResult::Ok);
    TFrmM101B08 dlg(QStringLiteral("11.농협중앙"), QStringLiteral("01.기본"));
    ASSERT_EQ(msg.texts().size(), 1);
    EXPECT_TRUE(msg.texts().first().contains(QStringLiteral("00110002.206")));
}

// A merged answer is checked whole before it is split: one that lost a
// record or was cut short is refused with the box a file of one round gets,
// nothing is split, and it stays in recv as it came.
TEST_F(ResultFiles, SplitRefusesADamagedMergedAnswerWhole) {
    const QByteArray head = nhHeader("011", "240500");
    const QList<QByteArray> recs{nhData("1000000001", "01", 100, true, "0000", "11", "240503"),
                                 nhData("1000000002", "01", 200, false, "1000", "12", "240504"),
                                 nhData("1000000003", "01", 300, true, "0000", "20", "240503"),
                                 nhData("1000000001", "02", 400, true, "0000", "11", "240504")};
    const QByteArray tail = nhTrailer(6, 1000);
    const struct {
        const char* name;
        QList<QByteArray> lines;
        const char16_t* why;
    } cases[] = {
        {"a lost record", {head, recs[0], recs[1], recs[3], tail}, u"자료건수가 트레일러와 다릅니다"},
        {"a cut last record", {head, recs[0], recs[1], recs[2], recs[3].left(120)}, u"레코드 길이"},
        {"no trailer", {head, recs[0], recs[1], recs[2], recs[3]}, u"트레일러가 없습니다"},
    };
    const QString name = QStringLiteral("00110002.206");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(recv(name), c.lines);
        QFile received(recv(name));
        ASSERT_TRUE(received.open(QIODevice::ReadOnly));
        const QByteArray bytes = received.readAll();
        received.close();
        const ResultSplit::Outcome o = ResultSplit::splitMultiRoundFiles(path(QStringLiteral("recv")));
        EXPECT_EQ(o.refusedFiles, QStringList{name});
        EXPECT_TRUE(o.splitFiles.isEmpty());
        EXPECT_TRUE(o.writtenParts.isEmpty());
        EXPECT_TRUE(o.errors.isEmpty());
        EXPECT_EQ(QDir(path(QStringLiteral("recv"))).entryList(QDir::Files), QStringList{name});
        ASSERT_TRUE(received.open(QIODevice::ReadOnly));
        EXPECT_EQ(received.readAll(), bytes);
        received.close();
        ASSERT_EQ(o.refusals.size(), 1);
        EXPECT_TRUE(o.refusals.first().text.contains(QString::fromUtf16(c.why)))
            << o.refusals.first().text.toStdString();
        // The box of the same fault in a file of one round.
        const ResultApplyOutcome one = ResultApplier::apply(request(name, "11"));
        EXPECT_EQ(one.status, ResultApplyOutcome::Status::Invalid);
        EXPECT_EQ(o.refusals.first().caption, one.messages.value(0).caption);
        EXPECT_EQ(o.refusals.first().text, one.messages.value(0).text);
    }
    // The dialog shows the box when it opens and lists the file as it came.
    msg.expect(MsgResult::Ok);
    TFrmM101B08 dlg(QStringLiteral("11.농협중앙"), QStringLiteral("01.기본"));
    ASSERT_EQ(msg.texts().size(), 1);
    EXPECT_TRUE(msg.texts().first().contains(QStringLiteral("트레일러가 없습니다")));
    EXPECT_EQ(dlg.SGrdRecvData->item(0, 2)->text(), name);
    EXPECT_EQ(allRows().size(), 5);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 0);
}

TEST_F(ResultFiles, TransferDateResetTouchesOnlyTransferredRowsOfThatDate) {
    addRow("30201", "01", "1000000011", "81", "1", "1", 100);
    addRow("30202", "01", "1000000012", "25", "1", "1", 100);
    addRow("30203", "01", "1000000013", "11", "1", "0", 100);
    addRow("30204", "01", "1000000014", "12", "1", "1", 100);
    addRow("30205", "02", "1000000015", "12", "1", "1", 100);
    Database::exec(QStringLiteral("update H_200_20240503 set ProcDt = '20240510' where SNo like '302%'"));
    Database::exec(QStringLiteral("update H_200_20240503 set ProcDt = '20240511' where SNo = '30205'"));
    TransferDateReset r{QStringLiteral("202405"),
                        QStringLiteral("03"),
                        QStringLiteral("81.하나은행"),
                        QStringLiteral("20240510"),
                        {},
                        {},
                        {}};
    ASSERT_TRUE(ResetTransferDate(r));
    EXPECT_EQ(row("30201", "01"), QStringLiteral("0|||100|1"));
    EXPECT_EQ(row("30202", "01").left(1), QStringLiteral("1")); // bank 25 is not 81 here
    r.bankCd = QStringLiteral("11");
    r.itemIds = QStringList{QStringLiteral("01.수업료")};
    ASSERT_TRUE(ResetTransferDate(r));
    EXPECT_EQ(row("30203", "01").left(1), QStringLiteral("1")); // wholly exempt
    EXPECT_EQ(row("30204", "01"), QStringLiteral("0|||100|1"));
    EXPECT_EQ(row("30205", "02").left(1), QStringLiteral("1")); // other date and item
    r.bankCd = QStringLiteral("00");
    r.itemIds.clear();
    r.fromSNo = QStringLiteral("30203");
    ASSERT_TRUE(ResetTransferDate(r));
    EXPECT_EQ(row("30202", "01").left(1), QStringLiteral("1")); // below the range
}

} // namespace

#include <QLineEdit>
#include <QTableWidget>

namespace {

// An applied result found in recv again is a copy, not an apply cut short:
// it stays there through the next start, the dialog lists it, and applying
// it is refused with nothing changed and nothing moved.
TEST_F(ResultFiles, CopyOfAnAppliedResultStaysListedAndIsRefused) {
    const QList<QByteArray> lines{nhHeader("011"), nhData("1000000001", "01", 50000, true, "0000"),
                                  nhTrailer(3, 50000)};
    writeFile(recv(QStringLiteral("00110001.201")), lines);
    ASSERT_EQ(ResultApplier::apply(request(QStringLiteral("00110001.201"), "11")).status,
              ResultApplyOutcome::Status::Applied);
    QByteArray crlf, lf;
    for (const QByteArray& l : lines) {
        crlf += l + "\r\n";
        lf += l + "\n";
    }
    const struct {
        const char* name;
        const char* file;
        QByteArray bytes;
    } cases[] = {
        {"second download under the next counter", "00110002.201", crlf},
        {"copy under the same name after the archive", "00110001.201", crlf},
        {"LF copy", "00110003.201", lf},
    };
    auto state = [this] {
        return QStringList{
            allRows().join(QLatin1Char(',')),
            column(QStringLiteral("select FileName || Gcode from M_SRFILE")).join(QLatin1Char(',')),
            column(QStringLiteral("select FileName || Sha256 from M_APPLIED order by 1"))
                .join(QLatin1Char(',')),
            QString::number(scalar(QStringLiteral("select count(*) from M_FILEMOVE"))),
            QString::number(scalar(QStringLiteral("select count(*) from L_Log_202405"))),
            QDir(path(QStringLiteral("rback"))).entryList(QDir::Files).join(QLatin1Char(','))};
    };
    const QStringList before = state();
    ASSERT_EQ(before[5], QStringLiteral("24050311.201"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.file);
        QFile f(recv(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        stopServices();
        startServices();
        EXPECT_EQ(QDir(path(QStringLiteral("recv"))).entryList(QDir::Files), QStringList{name});

        TFrmM101B08 dlg(QStringLiteral("11.농협중앙"), QStringLiteral("01.기본"));
        ASSERT_EQ(dlg.SGrdRecvData->rowCount(), 1);
        EXPECT_EQ(dlg.SGrdRecvData->item(0, 2)->text(), name);
        msg.expect(MsgResult::Ok);
        dlg.SGrdRecvData->selectRow(0);
        dlg.bbtnOKClick();
        EXPECT_EQ(msg.texts(),
                  QStringList{QStringLiteral("이미 파일풀기 된 결과파일입니다.\r화일명: ") + name});
        EXPECT_NE(dlg.result(), QDialog::Accepted);
        msg.clear();

        EXPECT_EQ(state(), before);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.bytes);
        f.close();
        ASSERT_TRUE(f.remove());
    }
}

TEST_F(ResultFiles, DialogListsSplitsAndApplies) {
    writeFile(recv(QStringLiteral("00110002.206")),
              {nhHeader("011", "240500"), nhData("1000000001", "01", 100, true, "0000", "11", "240503"),
               nhData("1000000002", "01", 200, true, "0000", "12", "240504"), nhTrailer(4, 300)});
    writeFile(recv(QStringLiteral("00200001.201")), {Rec(80).put(0, "H").b, Rec(80).put(0, "T").b});
    TFrmM101B08 dlg(QStringLiteral("10.신농협중앙"), QStringLiteral("01.기본"));
    // The two-round file was split; bank 11's parts are listed under bank 10.
    ASSERT_EQ(dlg.SGrdRecvData->rowCount(), 2);
    EXPECT_EQ(dlg.SGrdRecvData->item(0, 1)->text(), QStringLiteral("신농협중앙"));
    EXPECT_EQ(dlg.SGrdRecvData->item(0, 2)->text(), QStringLiteral("00110002.221"));
    EXPECT_EQ(dlg.SGrdRecvData->item(0, 3)->text(), QStringLiteral("2024.05.10"));
    EXPECT_EQ(dlg.SGrdRecvData->item(0, 4)->text().trimmed(), QStringLiteral("1"));
    // The header names bank 11, the work window bank 10: refused, nothing changes.
    msg.expect(MsgResult::Ok);
    dlg.SGrdRecvData->selectRow(0);
    dlg.bbtnOKClick();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("은행선택이 잘못되었습니다")});
    EXPECT_TRUE(QFile::exists(recv(QStringLiteral("00110002.221"))));

    TFrmM101B08 dlg11(QStringLiteral("11.농협중앙"), QStringLiteral("01.기본"));
    dlg11.MEdtYearMon->setText(QStringLiteral("202405"));
    EXPECT_EQ(dlg11.yearMon(), QStringLiteral("202405"));
    msg.expect(MsgResult::Ok);
    dlg11.SGrdRecvData->selectRow(0);
    dlg11.bbtnOKClick();
    EXPECT_EQ(dlg11.result(), QDialog::Accepted);
    EXPECT_EQ(dlg11.appliedTable(), QStringLiteral("H_200_20240503"));
    EXPECT_EQ(row("30101", "01"), QStringLiteral("1|20240510|0000|100|1"));
    // Listed under its own bank, the book row carries that bank.
    EXPECT_EQ(column(QStringLiteral("select BankCd from M_SRFILE")), QStringList{QStringLiteral("11")});
}

} // namespace
