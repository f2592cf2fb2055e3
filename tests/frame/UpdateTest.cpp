#include "frame/AutoUpdate.h"
#include "frame/fruAutoUp.h"
#include "support/HttpTestServer.h"
#include "support/ScriptedMsg.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QString kConnectMsg = QStringLiteral("업그레이드 서버에 연결할수 없습니다.");

QByteArray verIni(const char* ver) {
    return QByteArray("[AutoUp]\r\nver=") + ver + "\r\n";
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& b) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(b);
}

// A stand-in for the new program file: records the arguments it was started with.
const QByteArray kRecorder = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n";

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(exe.isValid());
        QString e;
        ASSERT_TRUE(server.start(&e)) << e.toStdString();
    }

    QString exeFolder() const { return exe.path() + QLatin1Char('/'); }
    AutoUpdate update() const {
        AutoUpdate u(exeFolder(), server.url());
        u.MakeDownFolder();
        return u;
    }
    void installed(const char* ver) { write(exeFolder() + QStringLiteral("ver.ini"), verIni(ver)); }
    void served(const char* ver) { server.put(QStringLiteral("SCH_INST/ver.ini"), verIni(ver)); }
    QByteArray installedIni() const { return readAll(exeFolder() + QStringLiteral("ver.ini")); }
    QStringList downFiles() const {
        return QDir(exeFolder() + QStringLiteral("Down")).entryList(QDir::Files);
    }

    QTemporaryDir exe;
    HttpTestServer server;
    ScriptedMsg msg;
};

} // namespace

TEST(UpdateVersion, ParseVersion) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"1.000", true, 1.0}, {" 2.5 ", true, 2.5}, {"3", true, 3.0},    {"", false, 0},
        {"abc", false, 0},    {"1,5", false, 0},    {"1.2.3", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double v = -1;
        EXPECT_EQ(ParseVersion(QString::fromLatin1(c.text), &v), c.ok);
        if (c.ok)
            EXPECT_DOUBLE_EQ(v, c.value);
        else
            EXPECT_DOUBLE_EQ(v, -1);
    }
}

TEST(UpdateVersion, StartModeByArgumentCount) {
    EXPECT_EQ(startModeFor({}), StartMode::UpdateCheck);
    EXPECT_EQ(startModeFor({"a"}), StartMode::Normal);
    EXPECT_EQ(startModeFor({"a", "b"}), StartMode::Normal);
    EXPECT_EQ(startModeFor({"a", "b", "c"}), StartMode::Replacement);
    EXPECT_EQ(startModeFor({"a", "b", "c", "d"}), StartMode::Normal);
}

TEST(UpdateVersion, ServerUrlFromEnvironment) {
    const QByteArray old = qgetenv("ZQ_UPDATE_URL");
    qputenv("ZQ_UPDATE_URL", "http://127.0.0.1:8080/");
    EXPECT_EQ(AutoUpdate(QStringLiteral("/x")).ServerUrl, QStringLiteral("http://127.0.0.1:8080"));
    qunsetenv("ZQ_UPDATE_URL");
    EXPECT_TRUE(AutoUpdate::defaultServerUrl().startsWith(QStringLiteral("http://")));
    if (!old.isEmpty()) qputenv("ZQ_UPDATE_URL", old);
}

TEST_F(UpdateTest, DueOrNotByVersions) {
    struct Case {
        const char* name;
        const char* local; // nullptr: no installed ver.ini
        QByteArray remote;
        bool due;
    } cases[] = {
        {"newer on the server", "1.000", verIni("1.001"), true},
        {"equal", "2.0", verIni("2.00"), false},
        {"older on the server", "3", verIni("2.9"), false},
        {"no installed file (1.000) against no key (1.001)", nullptr, "[AutoUp]\r\n", true},
        {"bad local text counts as 0", "x1", verIni("0.5"), true},
        {"bad remote text prevents an update", "1.0", verIni("new"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(exeFolder() + QStringLiteral("ver.ini"));
        if (c.local) installed(c.local);
        const QByteArray before = installedIni();
        server.put(QStringLiteral("SCH_INST/ver.ini"), c.remote);
        AutoUpdate u = update();
        u.ReadLocalVersion();
        EXPECT_EQ(u.IsUpdateDue(), c.due);
        // The downloaded file waits in Down; the installed one is untouched.
        EXPECT_EQ(readAll(u.DownVerIni()), c.remote);
        EXPECT_EQ(installedIni(), before);
        EXPECT_EQ(downFiles(), QStringList{QStringLiteral("ver.ini")});
    }
    EXPECT_TRUE(msg.shown().isEmpty());
}

TEST_F(UpdateTest, UnreachableServerShowsTheMessageAndStartsNormally) {
    struct Case {
        const char* name;
        QString url;
    } cases[] = {
        {"nothing listens", HttpTestServer::unreachableUrl()},
        {"no ver.ini on the server", server.url()},
    };
    installed("1.0");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        msg.expect(MsgResult::Ok);
        AutoUpdate u(exeFolder(), c.url);
        u.MakeDownFolder();
        EXPECT_FALSE(u.RunUpdateCheck(4242, QStringLiteral("/nowhere/zqschool")));
        ASSERT_EQ(msg.shown().size(), 1);
        EXPECT_EQ(msg.shown().at(0).text, kConnectMsg);
        EXPECT_EQ(msg.shown().at(0).icon, MsgIcon::None);
        EXPECT_EQ(installedIni(), verIni("1.0"));
        EXPECT_TRUE(downFiles().isEmpty());
    }
}

TEST_F(UpdateTest, DueUpdateDownloadsAndRelaunchesTheNewFile) {
    installed("1.0");
    served("1.5");
    server.put(QStringLiteral("SCH_INST/Smr2002.exe"), kRecorder);
    AutoUpdate u = update();
    EXPECT_TRUE(u.RunUpdateCheck(4242, QStringLiteral("/opt/zq/zqschool")));
    EXPECT_TRUE(msg.shown().isEmpty());

    const QString args = u.NewProgramPath() + QStringLiteral(".args");
    ASSERT_TRUE(waitFor([&] { return QFileInfo(args).size() > 0; }, 20000));
    EXPECT_EQ(QString::fromUtf8(readAll(args)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{QStringLiteral("4242"), QStringLiteral("/opt/zq/zqschool"), u.NewProgramPath()}));
    EXPECT_TRUE(QFileInfo(u.NewProgramPath()).isExecutable());
    // Installed ver.ini waits for the replacement copy.
    EXPECT_EQ(installedIni(), verIni("1.0"));
    EXPECT_FALSE(server.requests().contains(QStringLiteral("/SCH_INST/DelZip179.dll")));
    EXPECT_EQ(server.requests(),
              (QStringList{QStringLiteral("/SCH_INST/ver.ini"), QStringLiteral("/SCH_INST/Smr2002.exe")}));
}

TEST_F(UpdateTest, BrokenDownloadIsNeverInstalledAndIsRetried) {
    installed("1.0");
    served("2.0");
    server.put(QStringLiteral("SCH_INST/Smr2002.exe"), QByteArray(300000, 'z'));
    server.truncate({QStringLiteral("/SCH_INST/Smr2002.exe")});

    msg.expect(MsgResult::Ok);
    AutoUpdate first = update();
    EXPECT_FALSE(first.RunUpdateCheck(4242, QStringLiteral("/opt/zq/zqschool")));
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown().at(0).icon, MsgIcon::Error);
    EXPECT_TRUE(msg.shown().at(0).text.startsWith(QStringLiteral("업그레이드 파일을 받지 못했습니다.")));
    EXPECT_FALSE(QFile::exists(first.NewProgramPath()));
    EXPECT_EQ(downFiles(), QStringList{QStringLiteral("ver.ini")}); // no partial file left
    EXPECT_EQ(installedIni(), verIni("1.0"));

    // Next start: still due, and this time the file arrives whole.
    msg.clear();
    server.truncate({});
    AutoUpdate second = update();
    second.ReadLocalVersion();
    ASSERT_TRUE(second.IsUpdateDue());
    EXPECT_TRUE(RunUpdateWindow(second));
    EXPECT_EQ(readAll(second.NewProgramPath()), QByteArray(300000, 'z'));
    EXPECT_TRUE(msg.shown().isEmpty());
}

TEST_F(UpdateTest, MissingProgramFileOnTheServerIsReported) {
    installed("1.0");
    served("2.0");
    msg.expect(MsgResult::Ok);
    AutoUpdate u = update();
    EXPECT_FALSE(u.RunUpdateCheck(4242, QStringLiteral("/opt/zq/zqschool")));
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_TRUE(msg.shown().at(0).text.contains(QStringLiteral("HTTP 404")));
    EXPECT_FALSE(QFile::exists(u.NewProgramPath()));
}

TEST_F(UpdateTest, WindowShowsTheProgressOfTheDownload) {
    server.put(QStringLiteral("SCH_INST/Smr2002.exe"), QByteArray(1234567, 'p'));
    AutoUpdate u = update();
    TfrmAutoUp w(u);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("지큐스쿨(소마린업그레이드)"));
    EXPECT_EQ(w.vMessage->text(), QStringLiteral("업데이트 서버에 연결중입니다..."));
    EXPECT_EQ(w.Step, 3);
    w.show();
    QEventLoop loop;
    QObject::connect(&w, &TfrmAutoUp::finishedWork, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(w.Done);
    EXPECT_TRUE(w.Installed);
    EXPECT_EQ(w.vProgressBar->maximum(), 1234567);
    EXPECT_EQ(w.vProgressBar->value(), 1234567);
    EXPECT_EQ(w.vMessage->text(), QStringLiteral("1,234,567/1,234,567 Byte"));
}

TEST_F(UpdateTest, CancelledWindowInstallsNothing) {
    server.put(QStringLiteral("SCH_INST/Smr2002.exe"), QByteArray(100000, 'p'));
    AutoUpdate u = update();
    TfrmAutoUp w(u);
    w.show();
    w.cmdCancelClick();
    EXPECT_TRUE(w.Done);
    QThread::msleep(400);
    QCoreApplication::processEvents(); // the timer must not start a download now
    EXPECT_FALSE(w.Installed);
    EXPECT_FALSE(QFile::exists(u.NewProgramPath()));
    EXPECT_TRUE(server.requests().isEmpty());
}
