#include "RoundFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

class DistribDriver : public RoundFixture {
protected:
    QList<QJsonObject> drive(const QStringList& args, int* rc, const QString& answers = QString()) {
        stopServices();
        QStringList pre{QStringLiteral("--root"), root(), QStringLiteral("--today"), QStringLiteral("20260316")};
        if (!answers.isEmpty()) pre << QStringLiteral("--answers") << answers;
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH), pre + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        startServices();
        return out;
    }
};

TEST_F(DistribDriver, RoundThenRequestFileBookedAndListedForSending) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"), {{QStringLiteral("BankCd"), QStringLiteral("21")},
                                                               {QStringLiteral("Gubun"), QStringLiteral("배분")},
                                                               {QStringLiteral("AcctNo"), QStringLiteral("55566677788")},
                                                               {QStringLiteral("CompyNo"), QStringLiteral("SCH2100001")},
                                                               {QStringLiteral("Passwd"), QStringLiteral("1234")},
                                                               {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    int rc = -1;
    auto out = drive({QStringLiteral("dist"), QStringLiteral("round"), QStringLiteral("create"), QStringLiteral("--ym"),
                      QStringLiteral("202603"), QStringLiteral("--grades"), QStringLiteral("1"), QStringLiteral("--items"),
                      QStringLiteral("05")},
                     &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last().value(QStringLiteral("table")).toString(), QStringLiteral("H_300_20260301"));
    // C7 shares C2's student number: the key holds one row.
    EXPECT_EQ(out.last().value(QStringLiteral("rows")).toInt(), 2);
    Database::exec(QStringLiteral("update H_300_20260301 set ReplyTy = '1' where CustNo = 'C2'"));
    // The rows the window lists for bank 21.
    Database::exec(QStringLiteral("update H_300_20260301 set BankCd = '21'"));

    // 2026-03-17 is a Tuesday.
    out = drive({QStringLiteral("dist"), QStringLiteral("request"), QStringLiteral("write"), QStringLiteral("--bank"),
                 QStringLiteral("21"), QStringLiteral("--round"), QStringLiteral("202603-01"), QStringLiteral("--start"),
                 QStringLiteral("2026-03-17")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[0].value(QStringLiteral("box")).toString(), QStringLiteral("이체제외"));
    EXPECT_TRUE(out[0].value(QStringLiteral("text")).toString().contains(QStringLiteral("10102")));
    EXPECT_EQ(out[1].value(QStringLiteral("text")).toString(), QStringLiteral("자동이체 데이타를 생성하였습니다!"));
    EXPECT_EQ(out[2].value(QStringLiteral("file")).toString(), QStringLiteral("26030121.301"));
    EXPECT_EQ(out[2].value(QStringLiteral("count")).toInt(), 1);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("send/26030121.301"))));
    EXPECT_EQ(column(QStringLiteral("select SRType || FileType || YearMon || SeqNo || BankCd || DataCnt from M_SRFILE")),
              QStringList{QStringLiteral("S301260301211")});

    // The send list offers it like any request file.
    out = drive({QStringLiteral("van"), QStringLiteral("send-list")}, &rc);
    bool listed = false;
    for (const QJsonObject& o : out)
        if (QJsonDocument(o).toJson().contains("26030121.301")) listed = true;
    EXPECT_TRUE(listed);

    // A Saturday is refused and nothing is written.
    out = drive({QStringLiteral("dist"), QStringLiteral("request"), QStringLiteral("write"), QStringLiteral("--bank"),
                 QStringLiteral("21"), QStringLiteral("--round"), QStringLiteral("202603-01"), QStringLiteral("--start"),
                 QStringLiteral("2026-03-21")},
                &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(out.value(0).value(QStringLiteral("text")).toString().startsWith(QStringLiteral("이체일자가 토요일입니다!!")));
}

// Each bank's file carries its own rows only: writing bank 20 and then 21
// pays every row once; a row of another bank or without an account refuses
// the file.
TEST_F(DistribDriver, EachBanksFileCarriesOnlyItsOwnRows) {
    for (const char* bank : {"20", "21"})
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"),
                                        {{QStringLiteral("BankCd"), QString::fromLatin1(bank)},
                                         {QStringLiteral("Gubun"), QStringLiteral("배분")},
                                         {QStringLiteral("AcctNo"), QStringLiteral("55566677788")},
                                         {QStringLiteral("CompyNo"), QStringLiteral("SCH%100001").arg(bank)},
                                         {QStringLiteral("Passwd"), QStringLiteral("1234")},
                                         {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    int rc = -1;
    drive({QStringLiteral("dist"), QStringLiteral("round"), QStringLiteral("create"), QStringLiteral("--ym"),
           QStringLiteral("202603"), QStringLiteral("--grades"), QStringLiteral("1"),
           QStringLiteral("--items"), QStringLiteral("05")},
          &rc);
    ASSERT_EQ(rc, 0);
    Database::exec(QStringLiteral("update H_300_20260301 set BankCd = '20' where SNo = '10101'"));
    Database::exec(QStringLiteral("update H_300_20260301 set BankCd = '21' where SNo = '10102'"));
    // A cash student of the round listed under bank 20, with no account.
    ASSERT_TRUE(Database::insertRow(QStringLiteral("H_300_20260301"),
                                    {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                                     {QStringLiteral("SeqNo"), QStringLiteral("01")},
                                     {QStringLiteral("SNo"), QStringLiteral("10109")},
                                     {QStringLiteral("ItemCd"), QStringLiteral("05")},
                                     {QStringLiteral("BankCd"), QStringLiteral("20")},
                                     {QStringLiteral("AcctNo"), QString()},
                                     {QStringLiteral("Amt"), 10000},
                                     {QStringLiteral("ReplyTy"), QStringLiteral("0")},
                                     {QStringLiteral("ExempTy"), QStringLiteral("1")},
                                     {QStringLiteral("CustNo"), QStringLiteral("C9")},
                                     {QStringLiteral("Nm"), QStringLiteral("현금")},
                                     {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    auto write = [&](const char* bank, const QString& marks = QString()) {
        QStringList a{QStringLiteral("dist"),      QStringLiteral("request"), QStringLiteral("write"),
                      QStringLiteral("--bank"),    QString::fromLatin1(bank), QStringLiteral("--round"),
                      QStringLiteral("202603-01"), QStringLiteral("--start"), QStringLiteral("2026-03-17")};
        if (!marks.isEmpty()) a << QStringLiteral("--marks") << marks;
        return drive(a, &rc);
    };
    auto sendFiles = [&] { return QDir(path(QStringLiteral("send"))).entryList(QDir::Files, QDir::Name); };
    auto dataRecords = [&](const QString& name) {
        QFile f(path(QStringLiteral("send/") + name));
        int n = 0;
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray& l : f.readAll().split('\n'))
                if (l.startsWith("D")) ++n;
        return n;
    };
    const struct {
        const char* name;
        const char* bank;
        QString marks;
        const char* sno; // the refused row the box names
        const char* why;
    } refused[] = {
        {"the cash row the window lists", "20", QString(), "10109 현금 05", "(계좌번호 없음)"},
        {"a marked row of another bank", "20", QStringLiteral("10101/05,10102/05"), "10102 ", "05 (은행 21)"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        const QList<QJsonObject> out = write(c.bank, c.marks);
        EXPECT_EQ(rc, 1);
        ASSERT_FALSE(out.isEmpty());
        EXPECT_EQ(out[0].value(QStringLiteral("box")).toString(), QStringLiteral("오류"));
        const QString text = out[0].value(QStringLiteral("text")).toString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.sno)) && text.contains(QString::fromUtf8(c.why)))
            << text.toStdString();
        EXPECT_TRUE(sendFiles().isEmpty());
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 0);
    }

    Database::exec(QStringLiteral("delete from H_300_20260301 where SNo = '10109'"));
    write("20");
    EXPECT_EQ(rc, 0);
    write("21");
    EXPECT_EQ(rc, 0);
    const QStringList files = sendFiles();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(column(QStringLiteral("select BankCd || ' ' || DataCnt from M_SRFILE order by BankCd")),
              (QStringList{QStringLiteral("20 1"), QStringLiteral("21 1")}));
    for (const QString& f : files)
        EXPECT_EQ(dataRecords(f), 1) << f.toStdString();
}

TEST_F(DistribDriver, StudentAddedAndRelistedAfterAResult) {
    int rc = -1;
    auto out = drive({QStringLiteral("dist"), QStringLiteral("round"), QStringLiteral("create"), QStringLiteral("--ym"),
                      QStringLiteral("202603"), QStringLiteral("--grades"), QStringLiteral("3"), QStringLiteral("--items"),
                      QStringLiteral("05")},
                     &rc);
    ASSERT_EQ(rc, 0);
    // 30101 has item 05 already: only 06 is appended, at its amount.
    out = drive({QStringLiteral("dist"), QStringLiteral("student"), QStringLiteral("add"), QStringLiteral("--round"),
                 QStringLiteral("202603-01"), QStringLiteral("--sno"), QStringLiteral("30101"), QStringLiteral("--items"),
                 QStringLiteral("05,06")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out[0].value(QStringLiteral("text")).toString(), QStringLiteral("저장되었습니다!!"));
    EXPECT_EQ(out[1].value(QStringLiteral("skipped")).toArray().size(), 1);
    EXPECT_EQ(out[1].value(QStringLiteral("added")).toArray().at(0).toString(), QStringLiteral("02.급식비"));
    // Transferred out: refused, nothing added.
    out = drive({QStringLiteral("dist"), QStringLiteral("student"), QStringLiteral("add"), QStringLiteral("--round"),
                 QStringLiteral("202603-01"), QStringLiteral("--sno"), QStringLiteral("10103"), QStringLiteral("--items"),
                 QStringLiteral("05")},
                &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from H_300_20260301")), 2);

    // After a result file every row of the bank is listed, whatever the
    // other filters, with the rows without amount counted as exempt.
    Database::exec(QStringLiteral("update H_300_20260301 set Amt = 0 where ItemCd = '06'"));
    out = drive({QStringLiteral("dist"), QStringLiteral("show"), QStringLiteral("--round"), QStringLiteral("202603-01"),
                 QStringLiteral("--bank"), QStringLiteral("12"), QStringLiteral("--items"), QStringLiteral("05"),
                 QStringLiteral("--reload")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[2].value(QStringLiteral("exempCnt")).toInt(), 1);
    EXPECT_EQ(out[2].value(QStringLiteral("nonProcCnt")).toInt(), 1);
}

} // namespace
