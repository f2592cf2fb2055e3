#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct DriverRun {
    int code = -1;
    QList<QJsonObject> lines;
};

DriverRun driver(const QString& root, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZQ_DRIVER_PATH), QStringList{QStringLiteral("--root"), root} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    DriverRun r;
    r.code = p.exitCode();
    for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
        if (!l.trimmed().isEmpty()) r.lines << QJsonDocument::fromJson(l).object();
    return r;
}

// The basic-code commands save and refuse as the dialogs do, answering their
// questions from --answers.
TEST(BasicDriver, CommandsRunTheDialogActions) {
    QTemporaryDir dir;
    const QString root = dir.path();
    qputenv("ZQ_REGISTRY", (root + QStringLiteral("/registry.ini")).toLocal8Bit());

    DriverRun r =
        driver(root, {QStringLiteral("grade"), QStringLiteral("save"), QString(), QStringLiteral("1학년")});
    EXPECT_EQ(r.code, 1);
    ASSERT_FALSE(r.lines.isEmpty());
    EXPECT_EQ(r.lines[0][QStringLiteral("box")].toString(), QStringLiteral("입력요망"));

    r = driver(root, {QStringLiteral("group"), QStringLiteral("add"), QStringLiteral("방과후")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.lines.value(0)[QStringLiteral("code")].toString(), QStringLiteral("02"));

    r = driver(root, {QStringLiteral("item"), QStringLiteral("save"), QStringLiteral("--group"),
                      QStringLiteral("02"), QStringLiteral("--name"), QStringLiteral("수련회"),
                      QStringLiteral("--amount"), QStringLiteral("12,000")});
    EXPECT_EQ(r.code, 0);
    r = driver(root, {QStringLiteral("item"), QStringLiteral("list"), QStringLiteral("02")});
    ASSERT_EQ(r.lines.size(), 1);
    EXPECT_EQ(r.lines[0][QStringLiteral("itemId")].toString(), QStringLiteral("01"));
    EXPECT_EQ(r.lines[0][QStringLiteral("amount")].toInt(), 12000);

    const QStringList acct{QStringLiteral("account"), QStringLiteral("save"),    QStringLiteral("--bank"),
                           QStringLiteral("04"),      QStringLiteral("--compy"), QStringLiteral("K1")};
    EXPECT_EQ(driver(root, acct + QStringList{QStringLiteral("--acct"), QStringLiteral("123456789012")}).code,
              0);
    EXPECT_EQ(driver(root, acct + QStringList{QStringLiteral("--acct"), QStringLiteral("123456789099")}).code,
              0);
    // The representative typed while another row is shown: refused.
    r = driver(root,
               {QStringLiteral("--answers"), QStringLiteral("ok,yes"), QStringLiteral("account"),
                QStringLiteral("delete"), QStringLiteral("--bank"), QStringLiteral("04"),
                QStringLiteral("--acct"), QStringLiteral("123456789012"), QStringLiteral("--compy"),
                QStringLiteral("K1"), QStringLiteral("--shown"), QStringLiteral("04,집금,123456789099,K1")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.lines.value(0)[QStringLiteral("text")].toString(),
              QStringLiteral("[대표코드]는 삭제할수 없습니다."));
    r = driver(root, {QStringLiteral("--answers"), QStringLiteral("yes"), QStringLiteral("account"),
                      QStringLiteral("delete"), QStringLiteral("--bank"), QStringLiteral("04"),
                      QStringLiteral("--acct"), QStringLiteral("123456789099"), QStringLiteral("--compy"),
                      QStringLiteral("K1")});
    EXPECT_EQ(r.code, 0);
    r = driver(root, {QStringLiteral("account"), QStringLiteral("list")});
    EXPECT_EQ(r.lines.size(), 1);
    qunsetenv("ZQ_REGISTRY");
}

} // namespace
