#include "support/TestRoot.h"

#include "platform/db/Database.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

class RegDriver : public TestRoot {
protected:
    QList<QJsonObject> drive(const QStringList& args, int* rc) {
        stopServices();
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                            QStringLiteral("20260316")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        startServices();
        return out;
    }
};

TEST_F(RegDriver, RunRequestResultAndListing) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"),
                                    {{QStringLiteral("BankCd"), QStringLiteral("04")},
                                     {QStringLiteral("Gubun"), QStringLiteral("집금")},
                                     {QStringLiteral("AcctNo"), QStringLiteral("111")},
                                     {QStringLiteral("CompyNo"), QStringLiteral("KB04000001")},
                                     {QStringLiteral("RepYn"), QStringLiteral("Y")}}));
    for (const char* c : {"P1", "P2"})
        ASSERT_TRUE(Database::insertRow(
            QStringLiteral("M_CUST"),
            {{QStringLiteral("CustNo"), QString::fromLatin1(c)},
             {QStringLiteral("SNo"), QStringLiteral("1010") + QString::fromLatin1(c).mid(1)},
             {QStringLiteral("Nm"), QStringLiteral("학생")},
             {QStringLiteral("BankCd"), QStringLiteral("04")},
             {QStringLiteral("AcctNo"), QStringLiteral("4444")},
             {QStringLiteral("AcctRegYn_1"), QStringLiteral("N")}}));
    int rc = -1;
    auto out = drive({QStringLiteral("reg"), QStringLiteral("run"), QStringLiteral("create"),
                      QStringLiteral("--bank"), QStringLiteral("04")},
                     &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last().value(QStringLiteral("table")).toString(), QStringLiteral("H_R00_20260301"));
    EXPECT_EQ(out.last().value(QStringLiteral("rows")).toInt(), 2);

    out = drive({QStringLiteral("reg"), QStringLiteral("request"), QStringLiteral("write"),
                 QStringLiteral("--ym"), QStringLiteral("202603"), QStringLiteral("--seq"),
                 QStringLiteral("01")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last().value(QStringLiteral("file")).toString(), QStringLiteral("26030104.R01"));
    EXPECT_EQ(out.last().value(QStringLiteral("count")).toInt(), 2);

    // The bank answers on the request itself: P1 registered, P2 refused.
    QFile req(path(QStringLiteral("send/26030104.R01")));
    ASSERT_TRUE(req.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = req.readAll().split('\n');
    lines[1].replace(43, 5, "Y0000");
    lines[2].replace(43, 5, "N1004");
    QFile res(path(QStringLiteral("recv/26030104.R01")));
    ASSERT_TRUE(res.open(QIODevice::WriteOnly));
    res.write(lines.join('\n'));
    res.close();
    out = drive({QStringLiteral("reg"), QStringLiteral("result"), QStringLiteral("apply")}, &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_TRUE(out.last().value(QStringLiteral("applied")).toBool());
    EXPECT_EQ(out.last().value(QStringLiteral("run")).toString(), QStringLiteral("202603-01"));
    EXPECT_EQ(out.last().value(QStringLiteral("registered")).toInt(), 1);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("rback/26030104.R01"))));

    out = drive({QStringLiteral("reg"), QStringLiteral("run"), QStringLiteral("list"), QStringLiteral("--ym"),
                 QStringLiteral("202603"), QStringLiteral("--seq"), QStringLiteral("01"),
                 QStringLiteral("--result"), QStringLiteral("fail")},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 2);
    const QJsonObject row = out[0].value(QStringLiteral("row")).toObject();
    EXPECT_EQ(row.value(QStringLiteral("NapbuNo")).toString(), QStringLiteral("P2"));
    EXPECT_EQ(row.value(QStringLiteral("Result")).toString(), QStringLiteral("등록실패"));
    EXPECT_EQ(out[1].value(QStringLiteral("failed")).toInt(), 1);
    EXPECT_EQ(out[1].value(QStringLiteral("registered")).toInt(), 0);
}

} // namespace
