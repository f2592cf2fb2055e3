#include <QJsonArray>
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

namespace {

// The tools' commands: two-word deletions, the purge with its question, the
// index repair and the log search with a quote.
TEST(ToolDriver, DeletionsPurgeRepairAndLog) {
    QTemporaryDir dir;
    const QString root = dir.path();
    qputenv("ZQ_REGISTRY", (root + QStringLiteral("/registry.ini")).toLocal8Bit());
    const auto a = [](std::initializer_list<const char*> l) {
        QStringList out{QStringLiteral("--today"), QStringLiteral("20261210")};
        for (const char* s : l) out << QString::fromUtf8(s);
        return out;
    };

    DriverRun r = driver(root, a({"student", "add", "--grade", "6", "--sno", "0101", "--name", "O'Neil", "--sex", "1",
                                  "--bank", "99", "--sms", "2"}));
    ASSERT_EQ(r.code, 0);
    r = driver(root, a({"--answers", "yes,ok", "delete", "students", "6"}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.lines.last()[QStringLiteral("deleted")].toInt(), 1);

    r = driver(root, a({"--answers", "yes", "purge"}));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.lines.value(1)[QStringLiteral("text")].toString(), QStringLiteral("해당되는 자료가 없습니다."));

    r = driver(root, a({"delete", "rounds", "--list"}));
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.lines.isEmpty());

    r = driver(root, a({"reindex", "M_CUST"}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.lines.last()[QStringLiteral("integrity")].toArray().first().toString(), QStringLiteral("ok"));

    r = driver(root, a({"joblog", "--month", "202612", "--search", "O'Neil"}));
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.lines.size(), 1);
    EXPECT_EQ(r.lines[0][QStringLiteral("row")].toArray().at(3).toString(), QStringLiteral("학생명부"));
}

} // namespace
