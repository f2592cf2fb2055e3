#include "RoundFixture.h"

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
