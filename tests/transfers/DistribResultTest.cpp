#include "support/TestRoot.h"

#include "data/DMMain.h"
#include "data/FileMoves.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"
#include "platform/ui/FormRegistry.h"
#include "transfers/distribution/DistribResult.h"
#include "transfers/distribution/M102B08.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTableWidget>

#include <memory>

namespace {

// A fixed-width record: blanks, with values put at their offsets.
struct Rec {
    QByteArray b;
    explicit Rec(int len = 80) : b(len, ' ') {}
    Rec& put(int off, const QByteArray& v) {
        b.replace(off, v.size(), v);
        return *this;
    }
    Rec& putText(int off, const QString& v) { return put(off, Cp949::encode(v)); }
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

// One result record as the tests choose it.
struct R {
    const char* sno;
    const char* item;
    qint64 amt;
    bool ok;
    const char* code;
};

// The four layouts, header, data and trailer.
QByteArray stdHead(const char* bank = "21") {
    return Rec().put(0, "S").put(1, "C2").put(13, bank).put(15, "240510").b;
}
QByteArray stdData(const R& r) {
    return Rec()
        .put(0, "D")
        .put(1, "21")
        .put(3, "110222333444")
        .put(20, zero(r.amt, 11))
        .put(33, r.ok ? "Y" : "N")
        .put(34, r.code)
        .putText(48, QStringLiteral("C%1홍길동").arg(QString::fromLatin1(r.sno), -6))
        .put(76, r.item)
        .b;
}
// The processed amount is the total unless a failure carries an amount;
// failed of the n records are unprocessed, with the rest of the total.
QByteArray stdTrail(int n, qint64 total, qint64 okAmt = -1, int failed = 0) {
    if (okAmt < 0) okAmt = total;
    return Rec()
        .put(0, "E")
        .put(1, zero(n + 2, 7))
        .put(8, zero(n, 7))
        .put(15, zero(total, 13))
        .put(28, zero(n - failed, 7))
        .put(35, zero(okAmt, 13))
        .put(48, zero(failed, 7))
        .put(55, zero(total - okAmt, 13))
        .b;
}

QByteArray nhHead(const char* bank = "11") {
    return Rec().put(0, "S").put(1, bank).put(13, "240510").b;
}
QByteArray nhData(const R& r, const char* date = "240511") {
    return Rec()
        .put(0, "D")
        .put(9, r.item)
        .put(34, zero(r.amt, 10))
        .put(44, QByteArray("C") + r.sno)
        .putText(51, QStringLiteral("김철수"))
        .put(68, r.ok ? "Y" : "N")
        .put(69, r.code)
        .put(71, date)
        .b;
}
QByteArray nhTrail(int n, qint64 total) {
    return Rec().put(0, "E").put(9, zero(n + 2, 6)).put(15, zero(total, 12)).b;
}

QByteArray b12Head(const char* bank = "12") {
    return Rec().put(0, "11").put(2, bank).put(4, "240510").b;
}
QByteArray b12Data(const R& r) {
    const QByteArray s(r.sno); // grade, class and number: 1 + 2 + 3
    return Rec()
        .put(0, "22")
        .put(27, zero(r.amt, 12))
        .put(39, r.ok ? "1" : "2")
        .put(40, r.code)
        .put(46, r.item)
        .put(48, s.left(1))
        .put(50, s.mid(1, 2))
        .put(52, s.mid(3, 3))
        .putText(55, QStringLiteral("이영희"))
        .b;
}
QByteArray b12Trail(int n, qint64 total) {
    return Rec().put(0, "33").put(2, zero(n, 6)).put(8, zero(total, 12)).b;
}

QByteArray b03Head() {
    return Rec().put(0, "S").put(6, "240510").b;
}
// Bank 03's record: the student only.
QByteArray b03Data(const R& r) {
    return Rec()
        .put(0, "D")
        .put(2, "03")
        .put(12, "12345678901234")
        .put(26, zero(r.amt, 11))
        .putText(37, QStringLiteral("C%1박민수").arg(QString::fromLatin1(r.sno), -6))
        .put(71, r.ok ? "1" : "2")
        .put(72, r.code)
        .b;
}
// Total, processed and unprocessed amounts; by default all processed.
QByteArray b03Trail(int n, qint64 total, qint64 okAmt = -1, qint64 failAmt = 0) {
    return Rec()
        .put(0, "E")
        .put(6, zero(n, 7))
        .put(13, zero(total, 13))
        .put(33, zero(okAmt < 0 ? total : okAmt, 13))
        .put(53, zero(failAmt, 13))
        .b;
}
QByteArray b03File(const QList<R>& recs) {
    QByteArray f = b03Head() + "\r\n";
    qint64 ok = 0, fail = 0;
    for (const R& r : recs) {
        f += b03Data(r) + "\r\n";
        (r.ok ? ok : fail) += r.amt;
    }
    return f + b03Trail(int(recs.size()), ok + fail, ok, fail) + "\r\n";
}

class DistribResults : public TestRoot {
protected:
    void SetUp() override {
        // The answers of May 2024's rounds come back in that month: a
        // transfer date more than a year from today is refused.
        autoStart = false;
        TestRoot::SetUp();
        Clock::set(QDateTime(QDate(2024, 5, 16), QTime(10, 20, 30)));
        startServices();
        ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20240503")));
        addRow("301001", "01", "0", "1", 50000);
        addRow("301001", "02", "0", "1", 20000);
        addRow("301002", "01", "0", "1", 50000);
        addRow("301003", "01", "1", "1", 30000); // transferred by an earlier file
        addRow("301004", "01", "0", "0", 0);     // exempt
    }
    void addRow(const char* sno, const char* item, const char* replyTy, const char* exempTy, qint64 amt,
                const char* acct = "12345678901234") {
        ASSERT_TRUE(Database::insertRow(
            QStringLiteral("H_300_20240503"),
            {{QStringLiteral("YearMon"), QStringLiteral("202405")},
             {QStringLiteral("SeqNo"), QStringLiteral("03")},
             {QStringLiteral("SNo"), QString::fromLatin1(sno)},
             {QStringLiteral("ItemCd"), QString::fromLatin1(item)},
             {QStringLiteral("BankCd"), QStringLiteral("21")},
             {QStringLiteral("AcctNo"), QString::fromLatin1(acct)},
             {QStringLiteral("Amt"), amt},
             {QStringLiteral("ProcDt"), QString::fromLatin1(*replyTy == '1' ? "20240401" : "")},
             {QStringLiteral("ReplyTy"), QString::fromLatin1(replyTy)},
             {QStringLiteral("ExempTy"), QString::fromLatin1(exempTy)},
             {QStringLiteral("CustNo"), QStringLiteral("C") + QString::fromLatin1(sno)},
             {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    }

    QString recv(const QString& name) const { return path(QStringLiteral("recv/") + name); }

    ResultApplyRequest request(const QString& name, const char* bank) const {
        ResultApplyRequest r;
        r.path = recv(name);
        r.workBank = QString::fromLatin1(bank);
        r.gcode = QStringLiteral("01");
        r.yearMon = QStringLiteral("202405");
        r.seqNo = QStringLiteral("03");
        r.listBankName = DMData->GetBankName(r.workBank);
        r.listTransferDate = QStringLiteral("2024.05.10");
        r.listCount = QStringLiteral("         3");
        return r;
    }

    // ReplyTy|ProcDt|ReplyCd|Amt|ExempTy of a row.
    QString row(const char* sno, const char* item) {
        return column(QStringLiteral(
                          "select ReplyTy || '|' || ifnull(ProcDt,'') || '|' || ifnull(ReplyCd,'') || "
                          "'|' || Amt || '|' || ExempTy from H_300_20240503 where SNo = ? and ItemCd = ?"),
                      {QString::fromLatin1(sno), QString::fromLatin1(item)})
            .value(0);
    }
    QStringList allRows() {
        return column(
            QStringLiteral("select SNo || ItemCd || ReplyTy || ifnull(ProcDt,'') || ifnull(ReplyCd,'') || "
                           "Amt || ExempTy from H_300_20240503 order by SNo, ItemCd"));
    }
    QStringList rback() const {
        return QDir(path(QStringLiteral("rback"))).entryList(QDir::Files, QDir::Name);
    }

    // The records of an applied file offered again, saved as other programs
    // may save them: each copy is refused, with no second booking, archive
    // or log line, and a row changed by hand in between keeps its change.
    void expectAppliedOnce(const QList<QByteArray>& lines, const QString& name, const char* bank) {
        QByteArray crlf, lf;
        for (const QByteArray& l : lines) {
            crlf += l + "\r\n";
            lf += l + "\n";
        }
        const std::pair<const char*, QByteArray> copies[] = {{"identical copy", crlf},
                                                             {"LF line ends", lf},
                                                             {"one more CR LF", crlf + "\r\n"},
                                                             {"blank lines at the end", crlf + "\r\n\r\n"},
                                                             {"^Z at the end", crlf + "\x1a"}};
        Database::exec(QStringLiteral("update H_300_20240503 set ReplyCd = 'HAND' where SNo = '301002'"));
        const QStringList changed = allRows();
        const qint64 books = scalar(QStringLiteral("select count(*) from M_SRFILE"));
        const qint64 logs = scalar(QStringLiteral("select count(*) from L_Log_202405"));
        const QStringList archives = rback();
        for (const auto& [what, bytes] : copies) {
            SCOPED_TRACE(what);
            const QString copy = name.left(9) + QStringLiteral("398");
            QFile f(recv(copy));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
            f.close();
            const ResultApplyOutcome again = DistribResult::apply(request(copy, bank));
            EXPECT_EQ(again.status, ResultApplyOutcome::Status::Invalid);
            EXPECT_TRUE(again.messages.value(0).text.startsWith(QStringLiteral("이미 파일풀기 된 결과파일입니다.")))
                << again.messages.value(0).text.toStdString();
            EXPECT_EQ(allRows(), changed);
            EXPECT_TRUE(QFile::remove(recv(copy)));
        }
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), books);
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from L_Log_202405")), logs);
        EXPECT_EQ(rback(), archives);
    }
};

TEST_F(DistribResults, StandardLayoutMarksRowsBooksAndArchives) {
    writeFile(recv(QStringLiteral("00210001.301")),
              {stdHead(), stdData({"301001", "01", 50000, true, "0000"}),
               stdData({"301001", "02", 0, false, "1007"}), stdData({"301002", "01", 45000, false, "0107"}),
               stdTrail(3, 95000, 50000, 2)});
    const ResultApplyOutcome o = DistribResult::apply(request(QStringLiteral("00210001.301"), "21"));
    ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied) << o.messages.value(0).text.toStdString();
    EXPECT_EQ(o.appliedRows, 3);
    EXPECT_EQ(row("301001", "01"), QStringLiteral("1|20240510|0000|50000|1"));
    // A failed record without an amount keeps what the student is owed; one
    // with an amount replaces it.
    EXPECT_EQ(row("301001", "02"), QStringLiteral("0|00000000|1007|20000|1"));
    EXPECT_EQ(row("301002", "01"), QStringLiteral("0|00000000|0107|45000|1"));
    EXPECT_FALSE(QFile::exists(recv(QStringLiteral("00210001.301"))));
    EXPECT_EQ(o.archiveName, QStringLiteral("24050321.301"));
    EXPECT_EQ(rback(), QStringList{QStringLiteral("24050321.301")});
    EXPECT_EQ(
        column(QStringLiteral("select SRType||FileName||FileType||YearMon||SeqNo||BankCd||DataCnt||SRDate "
                              "from M_SRFILE")),
        QStringList{QStringLiteral("R24050321.30130124050321320240516")});
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from L_Log_202405 where JobLog like '[파일풀기]%'")), 1);
    EXPECT_EQ(o.messages.last().text, QStringLiteral("파일풀기가 완료되었습니다"));

    // The round's next result is 302, whatever the bank; an archive of that
    // name already in rback (a restored database numbers again) is kept and
    // the file goes under the next free type, which the book names.
    QFile keep(path(QStringLiteral("rback/24050321.302")));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("earlier");
    keep.close();
    Database::exec(QStringLiteral("update H_300_20240503 set ReplyTy = '0' where SNo = '301002'"));
    writeFile(recv(QStringLiteral("00210001.302")),
              {stdHead(), stdData({"301002", "01", 45000, true, "0000"}), stdTrail(1, 45000)});
    const ResultApplyOutcome o2 = DistribResult::apply(request(QStringLiteral("00210001.302"), "21"));
    ASSERT_EQ(o2.status, ResultApplyOutcome::Status::Applied);
    EXPECT_EQ(o2.archiveName, QStringLiteral("24050321.303"));
    EXPECT_EQ(rback(), (QStringList{QStringLiteral("24050321.301"), QStringLiteral("24050321.302"),
                                    QStringLiteral("24050321.303")}));
    QFile kept(path(QStringLiteral("rback/24050321.302")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("earlier"));
    EXPECT_EQ(column(QStringLiteral("select FileName from M_SRFILE order by FileName")),
              (QStringList{QStringLiteral("24050321.301"), QStringLiteral("24050321.303")}));
    EXPECT_EQ(column(QStringLiteral("select FileName from M_APPLIED order by FileName")),
              (QStringList{QStringLiteral("24050321.301"), QStringLiteral("24050321.303")}));
    EXPECT_EQ(DistribResult::NextResultType(QStringLiteral("2405"), QStringLiteral("03")),
              QStringLiteral("304"));
}

TEST_F(DistribResults, BankReadersTakeTheirOwnFields) {
    // Banks 10 and 11: each record's own transfer date, two-digit codes.
    writeFile(recv(QStringLiteral("00110001.301")),
              {nhHead(), nhData({"301001", "01", 50000, true, "00"}),
               nhData({"301002", "01", 0, false, "08"}), nhTrail(2, 50000)});
    ResultApplyOutcome o = DistribResult::apply(request(QStringLiteral("00110001.301"), "11"));
    ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied) << o.messages.value(0).text.toStdString();
    EXPECT_EQ(row("301001", "01"), QStringLiteral("1|20240511|00|50000|1"));
    EXPECT_EQ(row("301002", "01"), QStringLiteral("0|00000000|08|50000|1"));
    EXPECT_EQ(o.archiveName, QStringLiteral("24050311.301"));

    // Bank 12: the student from grade, class and number; item "00" is "99".
    addRow("302011", "99", "0", "1", 10000);
    writeFile(recv(QStringLiteral("00120001.301")),
              {b12Head(), b12Data({"302011", "00", 10000, true, "00"}),
               b12Data({"301001", "02", 20000, true, "00"}), b12Trail(2, 30000)});
    o = DistribResult::apply(request(QStringLiteral("00120001.301"), "12"));
    ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied) << o.messages.value(0).text.toStdString();
    EXPECT_EQ(row("302011", "99"), QStringLiteral("1|20240510|00|10000|1"));
    EXPECT_EQ(row("301001", "02"), QStringLiteral("1|20240510|00|20000|1"));
    EXPECT_EQ(o.archiveName, QStringLiteral("24050312.302"));

    // The header of banks 10, 11 and 12 must name the work window's bank.
    writeFile(recv(QStringLiteral("00120002.301")),
              {b12Head("11"), b12Data({"301002", "01", 1, true, "00"}), b12Trail(1, 1)});
    o = DistribResult::apply(request(QStringLiteral("00120002.301"), "12"));
    EXPECT_EQ(o.status, ResultApplyOutcome::Status::Refused);
    EXPECT_EQ(o.messages.value(0).text, QStringLiteral("은행선택이 잘못되었습니다"));
    EXPECT_TRUE(QFile::exists(recv(QStringLiteral("00120002.301"))));
}

// Bank 03 names the student only: the student's records take the student's
// rows in key order when their counts agree; otherwise the file is refused.
TEST_F(DistribResults, Bank03MatchesAStudentsRecordsToItsRowsInKeyOrder) {
    const struct {
        const char* name;
        QList<R> recs;
        QStringList rows; // 301001/01, 301001/02, 301002/01 after; empty: refused
        const char16_t* why;
    } cases[] = {
        {"two records for two rows, apart in the file",
         {{"301001", "", 11111, true, "0000"},
          {"301002", "", 0, false, "3002"},
          {"301001", "", 0, false, "3002"}},
         {"1|20240510|0000|11111|1", "0|00000000|3002|20000|1", "0|00000000|3002|50000|1"},
         nullptr},
        {"both records of the student failed",
         {{"301001", "", 0, false, "3001"}, {"301001", "", 0, false, "3002"}},
         {"0|00000000|3001|50000|1", "0|00000000|3002|20000|1", "0|||50000|1"},
         nullptr},
        {"one record for a student of two rows",
         {{"301001", "", 50000, true, "0000"}, {"301002", "", 50000, true, "0000"}},
         {},
         u"학번=301001, 성명=박민수\r 결과파일의 자료 1건과 회차의 학생자료 2건이 맞지 않습니다."},
        {"three records for a student of two rows",
         {{"301001", "", 50000, true, "0000"},
          {"301001", "", 20000, true, "0000"},
          {"301001", "", 1, true, "0000"}},
         {},
         u"결과파일의 자료 3건과 회차의 학생자료 2건이"},
        {"two records for a student of one row",
         {{"301002", "", 25000, true, "0000"}, {"301002", "", 25000, true, "0000"}},
         {},
         u"학번=301002, 성명=박민수\r 결과파일의 자료 2건과 회차의 학생자료 1건이"},
    };
    const QString name = QStringLiteral("00030001.301");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Database::exec(QStringLiteral("update H_300_20240503 set ReplyTy = '0', ProcDt = '', ReplyCd = NULL "
                                      "where SNo in ('301001', '301002')"));
        Database::exec(QStringLiteral("update H_300_20240503 set Amt = 50000 where ItemCd = '01'"));
        Database::exec(QStringLiteral("update H_300_20240503 set Amt = 20000 where ItemCd = '02'"));
        Database::exec(QStringLiteral("delete from M_SRFILE"));
        Database::exec(QStringLiteral("delete from M_APPLIED"));
        for (const QString& n : rback())
            QFile::remove(path(QStringLiteral("rback/") + n));
        const QStringList before = allRows();
        QFile f(recv(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b03File(c.recs));
        f.close();
        const ResultApplyOutcome o = DistribResult::apply(request(name, "03"));
        if (c.why == nullptr) {
            ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied)
                << o.messages.value(0).text.toStdString();
            EXPECT_EQ(QStringList({row("301001", "01"), row("301001", "02"), row("301002", "01")}), c.rows);
        } else {
            EXPECT_EQ(o.status, ResultApplyOutcome::Status::Invalid);
            EXPECT_TRUE(o.messages.value(0).text.contains(QString::fromUtf16(c.why)))
                << o.messages.value(0).text.toStdString();
            EXPECT_EQ(allRows(), before);
            EXPECT_TRUE(QFile::exists(recv(name)));
            QFile::remove(recv(name));
        }
    }
}

// Each layout's trailer amounts against its records: a failure that carries
// no amount belongs in a valid file; a trailer amount one won off is refused.
TEST_F(DistribResults, TrailerSumsComparedLikeWithLikePerLayout) {
    const R ok{"301002", "01", 50000, true, "0000"};
    const R failed{"301001", "02", 0, false, "1007"};
    const R ok03{"301002", "", 50000, true, "0000"};
    const R failed03{"301003", "", 0, false, "3002"}; // its row is transferred: reported, left
    const struct {
        const char* name;
        const char* bank;
        QList<QByteArray> lines;
        bool applies;
    } cases[] = {
        {"80 bytes", "21", {stdHead(), stdData(ok), stdData(failed), stdTrail(2, 50000, 50000, 1)}, true},
        {"80 bytes, total off",
         "21",
         {stdHead(), stdData(ok), stdData(failed), stdTrail(2, 50001, 50000, 1)},
         false},
        {"80 bytes, processed off",
         "21",
         {stdHead(), stdData(ok), stdData(failed), stdTrail(2, 50000, 49999, 1)},
         false},
        {"banks 10 and 11", "11", {nhHead(), nhData(ok), nhData(failed), nhTrail(2, 50000)}, true},
        {"banks 10 and 11, total off",
         "11",
         {nhHead(), nhData(ok), nhData(failed), nhTrail(2, 50001)},
         false},
        {"bank 12", "12", {b12Head(), b12Data(ok), b12Data(failed), b12Trail(2, 50000)}, true},
        {"bank 12, total off", "12", {b12Head(), b12Data(ok), b12Data(failed), b12Trail(2, 49999)}, false},
        {"bank 03", "03", {b03Head(), b03Data(ok03), b03Data(failed03), b03Trail(2, 50000, 50000, 0)}, true},
        {"bank 03, processed off",
         "03",
         {b03Head(), b03Data(ok03), b03Data(failed03), b03Trail(2, 50000, 50001, 0)},
         false},
        {"bank 03, unprocessed off",
         "03",
         {b03Head(), b03Data(ok03), b03Data(failed03), b03Trail(2, 50000, 50000, 1)},
         false},
        {"bank 03, processed given as the total",
         "03",
         {b03Head(), b03Data(ok03), b03Data({"301003", "", 30000, false, "3002"}),
          b03Trail(2, 80000, 80000, 0)},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Database::exec(QStringLiteral("update H_300_20240503 set ReplyTy = '0', ProcDt = '', ReplyCd = NULL "
                                      "where SNo in ('301001', '301002')"));
        Database::exec(QStringLiteral("delete from M_SRFILE"));
        Database::exec(QStringLiteral("delete from M_APPLIED"));
        for (const QString& n : rback())
            QFile::remove(path(QStringLiteral("rback/") + n));
        const QStringList before = allRows();
        const QString name = QStringLiteral("00") + QLatin1String(c.bank) + QStringLiteral("0001.301");
        writeFile(recv(name), c.lines);
        const ResultApplyOutcome o = DistribResult::apply(request(name, c.bank));
        if (c.applies) {
            ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied)
                << o.messages.value(0).text.toStdString();
            EXPECT_EQ(row("301002", "01").left(2), QStringLiteral("1|"));
            expectAppliedOnce(c.lines, name, c.bank);
        } else {
            EXPECT_EQ(o.status, ResultApplyOutcome::Status::Invalid);
            EXPECT_TRUE(o.messages.value(0).text.startsWith(
                QStringLiteral("결과파일의 금액합계가 트레일러와 다릅니다.")))
                << o.messages.value(0).text.toStdString();
            EXPECT_EQ(allRows(), before);
            QFile::remove(recv(name));
        }
    }
}

TEST_F(DistribResults, PaidCashAndExemptRowsAreReportedAndLeft) {
    // A failed record for a row paid by an earlier file must not open it for
    // payment again.
    addRow("301005", "01", "2", "1", 40000); // paid by other means
    writeFile(recv(QStringLiteral("00210001.301")),
              {stdHead(), stdData({"301003", "01", 0, false, "1007"}),
               stdData({"301004", "01", 10, true, "0000"}), stdData({"301005", "01", 40000, true, "0000"}),
               stdData({"301002", "01", 50000, true, "0000"}), stdTrail(4, 90010, 90010, 1)});
    const ResultApplyOutcome o = DistribResult::apply(request(QStringLiteral("00210001.301"), "21"));
    ASSERT_EQ(o.status, ResultApplyOutcome::Status::Applied);
    EXPECT_EQ(o.appliedRows, 1);
    EXPECT_EQ(o.skippedRows, 3);
    ASSERT_EQ(o.messages.size(), 4);
    EXPECT_TRUE(o.messages[0].text.contains(QStringLiteral("이미 이체된 학생입니다")));
    EXPECT_TRUE(o.messages[1].text.contains(QStringLiteral("면제 학생입니다")));
    EXPECT_TRUE(o.messages[2].text.contains(QStringLiteral("현금으로 처리된 학생입니다")));
    EXPECT_EQ(row("301003", "01"), QStringLiteral("1|20240401||30000|1"));
    EXPECT_EQ(row("301004", "01"), QStringLiteral("0|||0|0"));
    EXPECT_EQ(row("301005", "01").left(1), QStringLiteral("2"));
    EXPECT_EQ(row("301002", "01").left(1), QStringLiteral("1"));

    // The same file again is refused.
    writeFile(recv(QStringLiteral("00210009.301")),
              {stdHead(), stdData({"301003", "01", 0, false, "1007"}),
               stdData({"301004", "01", 10, true, "0000"}), stdData({"301005", "01", 40000, true, "0000"}),
               stdData({"301002", "01", 50000, true, "0000"}), stdTrail(4, 90010, 90010, 1)});
    const ResultApplyOutcome again = DistribResult::apply(request(QStringLiteral("00210009.301"), "21"));
    EXPECT_EQ(again.status, ResultApplyOutcome::Status::Invalid);
    EXPECT_TRUE(again.messages.value(0).text.contains(QStringLiteral("이미 파일풀기")));
}

TEST_F(DistribResults, MalformedFilesChangeNothing) {
    const QByteArray head = stdHead();
    const QByteArray good = stdData({"301002", "01", 50000, true, "0000"});
    auto with = [](QByteArray b, int off, const QByteArray& v) { return b.replace(off, v.size(), v); };
    const struct {
        const char* name;
        const char* bank;
        QList<QByteArray> lines;
        const char16_t* why;
    } cases[] = {
        {"truncated record", "21", {head, good.left(70), stdTrail(1, 50000)}, u"레코드 길이"},
        {"only a header", "21", {head}, u"헤더 또는 트레일러"},
        {"no trailer", "21", {head, good}, u"트레일러가 없습니다"},
        {"data after the trailer", "21", {head, stdTrail(0, 0), good, stdTrail(1, 50000)}, u"트레일러 뒤에"},
        {"wrong count", "21", {head, good, stdTrail(2, 50000)}, u"자료건수"},
        {"trailer sum differs", "21", {head, good, stdTrail(1, 49000)}, u"금액합계가 트레일러와 다릅니다"},
        {"not CP949", "21", {head, with(good, 60, "\x80\xFF"), stdTrail(1, 50000)}, u"읽을 수 없는 문자"},
        {"amount not a number",
         "21",
         {head, with(good, 25, "1A"), stdTrail(1, 50000)},
         u"금액이 숫자가 아닙니다"},
        {"success without an amount",
         "21",
         {head, with(good, 20, QByteArray(11, ' ')), stdTrail(1, 0)},
         u"정상처리 자료에 금액이 없습니다"},
        {"flag outside Y and N", "21", {head, with(good, 33, "X"), stdTrail(1, 50000)}, u"처리결과 표시가"},
        {"transfer date not a day",
         "21",
         {with(head, 15, "240231"), good, stdTrail(1, 50000)},
         u"헤더의 이체일자"},
        {"unknown student",
         "21",
         {head, good, stdData({"309999", "01", 1, true, "0000"}), stdTrail(2, 50001)},
         u"학번=309999, 성명=홍길동\r 항목코드=01\r 학생자료가 없습니다. "},
        {"unknown item",
         "21",
         {head, stdData({"301002", "05", 1, true, "0000"}), stdTrail(1, 1)},
         u"항목코드=05"},
        {"one row named twice", "21", {head, good, good, stdTrail(2, 100000)}, u"결과가 두 번 있습니다"},
        // Banks 10 and 11 would go on past a missing student; the file is refused whole.
        {"unknown student, bank 11",
         "11",
         {nhHead(), nhData({"301001", "01", 1, true, "00"}), nhData({"309999", "01", 1, true, "00"}),
          nhTrail(2, 2)},
         u"학번=309999, 성명=김철수\r 학생자료가 없습니다."},
        {"bank 11 record date not a day",
         "11",
         {nhHead(), nhData({"301001", "01", 1, true, "00"}, "240230"), nhTrail(1, 1)},
         u"결과파일의 이체일자가"},
        {"unknown student, bank 12",
         "12",
         {b12Head(), b12Data({"309999", "01", 1, true, "00"}), b12Trail(1, 1)},
         u"해당 학생자료가 변경되었거나 없습니다."},
        {"unknown student, bank 03",
         "03",
         {b03Head(), b03Data({"309999", "", 1, true, "0000"}), b03Trail(1, 1)},
         u"학번=309999, 성명=박민수\r 학생자료가 없습니다."},
    };
    const QStringList before = allRows();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QStringLiteral("00") + QLatin1String(c.bank) + QStringLiteral("0001.301");
        writeFile(recv(name), c.lines);
        const ResultApplyOutcome o = DistribResult::apply(request(name, c.bank));
        EXPECT_EQ(o.status, ResultApplyOutcome::Status::Invalid);
        ASSERT_FALSE(o.messages.isEmpty());
        EXPECT_TRUE(o.messages.first().text.contains(QString::fromUtf16(c.why)))
            << o.messages.first().text.toStdString();
        EXPECT_EQ(allRows(), before);
        EXPECT_TRUE(QFile::exists(recv(name)));
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 0);
        EXPECT_TRUE(rback().isEmpty());
        QFile::remove(recv(name));
    }

    // The round is needed, and must exist.
    writeFile(recv(QStringLiteral("00210001.301")), {head, good, stdTrail(1, 50000)});
    ResultApplyRequest req = request(QStringLiteral("00210001.301"), "21");
    req.seqNo.clear();
    ResultApplyOutcome o = DistribResult::apply(req);
    EXPECT_EQ(o.status, ResultApplyOutcome::Status::NeedRound);
    EXPECT_EQ(o.messages.value(0).text, QStringLiteral("이체년월 및 회차를 입력하세요!!"));
    req.seqNo = QStringLiteral("04");
    o = DistribResult::apply(req);
    EXPECT_EQ(o.status, ResultApplyOutcome::Status::Invalid);
    EXPECT_TRUE(o.messages.value(0).text.contains(QStringLiteral("이체회차 자료가 없습니다")));
    req = request(QStringLiteral("00210404.301"), "21");
    o = DistribResult::apply(req);
    EXPECT_EQ(o.status, ResultApplyOutcome::Status::Refused);
    EXPECT_EQ(o.messages.value(0).text, QStringLiteral("화일이 존재하지 않습니다!"));
    EXPECT_EQ(allRows(), before);
}

TEST_F(DistribResults, ListShowsTheBanksDistributionResultsOnly) {
    writeFile(recv(QStringLiteral("00200001.301")),
              {stdHead("20"), stdData({"301002", "01", 50000, true, "0000"}), stdTrail(1, 50000)});
    writeFile(recv(QStringLiteral("00200001.201")), {stdHead("20"), stdTrail(0, 0)});
    writeFile(recv(QStringLiteral("00210001.301")), {stdHead(), stdTrail(0, 0)});
    writeFile(recv(QStringLiteral("00110001.301")),
              {nhHead(), nhData({"301001", "01", 1, true, "00"}), nhTrail(1, 1)});
    const QList<ResultFileInfo> twenty =
        DistribResult::filesForBank(path(QStringLiteral("recv")), QStringLiteral("20"));
    ASSERT_EQ(twenty.size(), 1);
    EXPECT_EQ(twenty[0].fileName, QStringLiteral("00200001.301"));
    EXPECT_EQ(twenty[0].transferDate, QStringLiteral("240510"));
    EXPECT_EQ(twenty[0].dataCount, 1);
    const QList<ResultFileInfo> eleven =
        DistribResult::filesForBank(path(QStringLiteral("recv")), QStringLiteral("11"));
    ASSERT_EQ(eleven.size(), 1);
    EXPECT_EQ(eleven[0].transferDate, QStringLiteral("240510"));
    EXPECT_EQ(eleven[0].dataCount, 1);

    // A file whose apply booked its move but did not carry it out is not
    // offered again: the listing carries the move out, to the name booked.
    ASSERT_EQ(DistribResult::apply(request(QStringLiteral("00200001.301"), "20")).status,
              ResultApplyOutcome::Status::Applied);
    ASSERT_TRUE(
        QFile::rename(path(QStringLiteral("rback/24050320.301")), recv(QStringLiteral("00200001.301"))));
    ASSERT_TRUE(
        FileMoves::record(recv(QStringLiteral("00200001.301")), path(QStringLiteral("rback/24050320.301"))));
    EXPECT_TRUE(DistribResult::filesForBank(path(QStringLiteral("recv")), QStringLiteral("20")).isEmpty());
    EXPECT_FALSE(QFile::exists(recv(QStringLiteral("00200001.301"))));
    EXPECT_EQ(rback(), QStringList{QStringLiteral("24050320.301")});
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_FILEMOVE")), 0);
    // A copy put back afterwards has no move booked: it waits in the list.
    ASSERT_TRUE(
        QFile::copy(path(QStringLiteral("rback/24050320.301")), recv(QStringLiteral("00200001.301"))));
    const QList<ResultFileInfo> copy =
        DistribResult::filesForBank(path(QStringLiteral("recv")), QStringLiteral("20"));
    ASSERT_EQ(copy.size(), 1);
    EXPECT_EQ(copy[0].fileName, QStringLiteral("00200001.301"));
    EXPECT_EQ(rback(), QStringList{QStringLiteral("24050320.301")});
}

// An applied result found in recv again is a copy, not an apply cut short:
// it stays there through the next start, the dialog lists it, and applying
// it is refused with nothing changed and nothing moved.
TEST_F(DistribResults, CopyOfAnAppliedResultStaysListedAndIsRefused) {
    const QList<QByteArray> lines{stdHead(), stdData({"301002", "01", 50000, true, "0000"}),
                                  stdTrail(1, 50000)};
    writeFile(recv(QStringLiteral("00210001.301")), lines);
    ASSERT_EQ(DistribResult::apply(request(QStringLiteral("00210001.301"), "21")).status,
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
        {"second download under the next counter", "00210002.301", crlf},
        {"copy under the same name after the archive", "00210001.301", crlf},
        {"LF copy", "00210003.301", lf},
    };
    auto state = [this] {
        return QStringList{
            allRows().join(QLatin1Char(',')),
            column(QStringLiteral("select FileName || Gcode from M_SRFILE")).join(QLatin1Char(',')),
            column(QStringLiteral("select FileName || Sha256 from M_APPLIED order by 1"))
                .join(QLatin1Char(',')),
            QString::number(scalar(QStringLiteral("select count(*) from M_FILEMOVE"))),
            QString::number(scalar(QStringLiteral("select count(*) from L_Log_202405"))),
            rback().join(QLatin1Char(','))};
    };
    const QStringList before = state();
    ASSERT_EQ(before[5], QStringLiteral("24050321.301"));
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

        TFrmM102B08 dlg(QStringLiteral("21.신한은행"), QStringLiteral("01.기본"), QStringLiteral("202405"),
                        QStringLiteral("03"));
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

// The booking of a distribution result names the round's item group, as the
// work window hands it over, so the received-file viewer reads its items.
TEST_F(DistribResults, BookingNamesTheGroupOfTheWorkWindow) {
    writeFile(recv(QStringLiteral("00210001.301")),
              {stdHead(), stdData({"301002", "01", 50000, true, "0000"}), stdTrail(1, 50000)});
    QWidget work;
    work.setProperty("bankText", QStringLiteral("21.신한은행"));
    work.setProperty("groupText", QStringLiteral("02.방과후"));
    work.setProperty("yearMon", QStringLiteral("202405"));
    work.setProperty("seqNo", QStringLiteral("03"));
    std::unique_ptr<QWidget> w(FormRegistry::find(QStringLiteral("M102B08"))->create(&work));
    auto* dlg = qobject_cast<TFrmM102B08*>(w.get());
    ASSERT_NE(dlg, nullptr);
    msg.expect(MsgResult::Ok);
    dlg->SGrdRecvData->selectRow(0);
    dlg->bbtnOKClick();
    ASSERT_EQ(dlg->result(), QDialog::Accepted) << msg.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(column(QStringLiteral("select FileName || ' ' || Gcode from M_SRFILE where SRType = 'R'")),
              QStringList{QStringLiteral("24050321.301 02")});

    // The plain apply books the group it is given.
    Database::exec(QStringLiteral("update H_300_20240503 set ReplyTy = '0' where SNo = '301001'"));
    writeFile(recv(QStringLiteral("00210002.301")),
              {stdHead(), stdData({"301001", "01", 50000, true, "0000"}), stdTrail(1, 50000)});
    ResultApplyRequest req = request(QStringLiteral("00210002.301"), "21");
    req.gcode = QStringLiteral("03");
    ASSERT_EQ(DistribResult::apply(req).status, ResultApplyOutcome::Status::Applied);
    EXPECT_EQ(column(QStringLiteral("select Gcode from M_SRFILE where FileName = '24050321.302'")),
              QStringList{QStringLiteral("03")});
}

TEST_F(DistribResults, DialogListsAndAppliesThroughTheRegistry) {
    writeFile(recv(QStringLiteral("00210001.301")),
              {stdHead(), stdData({"301002", "01", 50000, true, "0000"}), stdTrail(1, 50000)});
    // The work window hands its round over through its own properties.
    QWidget work;
    work.setProperty("bankText", QStringLiteral("21.신한은행"));
    work.setProperty("groupText", QStringLiteral("01.기본"));
    work.setProperty("yearMon", QStringLiteral("202405"));
    work.setProperty("seqNo", QStringLiteral("03"));
    const FormEntry* e = FormRegistry::find(QStringLiteral("M102B08"));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->mode, FormEntry::Mode::Dialog);
    std::unique_ptr<QWidget> w(e->create(&work));
    auto* dlg = qobject_cast<TFrmM102B08*>(w.get());
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("파일풀기"));
    EXPECT_FALSE(dlg->PnlMv->isEnabled());
    EXPECT_EQ(dlg->yearMon(), QStringLiteral("202405"));
    ASSERT_EQ(dlg->SGrdRecvData->rowCount(), 1);
    EXPECT_EQ(dlg->SGrdRecvData->item(0, 2)->text(), QStringLiteral("00210001.301"));
    EXPECT_EQ(dlg->SGrdRecvData->item(0, 3)->text(), QStringLiteral("2024.05.10"));
    EXPECT_EQ(dlg->SGrdRecvData->item(0, 4)->text().trimmed(), QStringLiteral("1"));
    msg.expect(MsgResult::Ok);
    dlg->SGrdRecvData->selectRow(0);
    dlg->bbtnOKClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->property("appliedTable").toString(), QStringLiteral("H_300_20240503"));
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("파일풀기가 완료되었습니다")});
    EXPECT_EQ(row("301002", "01").left(1), QStringLiteral("1"));
    w.reset();

    // Another bank lists nothing, and OK on the empty row does nothing.
    TFrmM102B08 other(QStringLiteral("20.국민은행"), QStringLiteral("01.기본"), QStringLiteral("202405"),
                      QStringLiteral("03"));
    EXPECT_EQ(other.SGrdRecvData->rowCount(), 1);
    other.bbtnOKClick();
    EXPECT_EQ(other.result(), QDialog::Rejected);
}

TEST_F(DistribResults, DriverAppliesAFile) {
    writeFile(recv(QStringLiteral("00210001.301")),
              {stdHead(), stdData({"301002", "01", 50000, true, "0000"}), stdTrail(1, 50000)});
    stopServices();
    QProcess p;
    p.start(QStringLiteral(ZQ_DRIVER_PATH),
            {QStringLiteral("--root"), root(), QStringLiteral("--today"), QStringLiteral("20240516"),
             QStringLiteral("dist"), QStringLiteral("result"), QStringLiteral("apply"),
             QStringLiteral("00210001.301"), QStringLiteral("--bank"), QStringLiteral("21"),
             QStringLiteral("--round"), QStringLiteral("202405-03")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QList<QByteArray> lines = p.readAllStandardOutput().trimmed().split('\n');
    startServices();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(QJsonDocument::fromJson(lines[0]).object().value(QStringLiteral("text")).toString(),
              QStringLiteral("파일풀기가 완료되었습니다"));
    const QJsonObject last = QJsonDocument::fromJson(lines[1]).object();
    EXPECT_EQ(last.value(QStringLiteral("status")).toString(), QStringLiteral("applied"));
    EXPECT_EQ(last.value(QStringLiteral("archive")).toString(), QStringLiteral("24050321.301"));
    EXPECT_EQ(row("301002", "01"), QStringLiteral("1|20240510|0000|50000|1"));
}

} // namespace
