// The real program, started as the office starts it, with
// ZQ_EXIT_AFTER_START=1 so that a normal start ends once its services exist.
#include "support/HttpTestServer.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

QByteArray verIni(const char* ver) {
    return QByteArray("[AutoUp]\r\nver=") + ver + "\r\n";
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& b, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(b);
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFile::ExeOwner);
}

// Processes whose program file lies in the folder (the detached relaunches).
int processesIn(const QString& folder) {
    int n = 0;
    const QString prefix = QFileInfo(folder).canonicalFilePath() + QLatin1Char('/');
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
        if (exe.startsWith(prefix)) ++n;
    }
    return n;
}

class StartModesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(exe.isValid() && cwd.isValid());
        // Run a copy, so that Down, ver.ini and the replacement stay in a
        // temporary program folder.
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_PROGRAM_PATH), program()));
        QString e;
        ASSERT_TRUE(server.start(&e)) << e.toStdString();
    }
    void TearDown() override {
        waitFor([&] { return processesIn(exe.path()) == 0; }, 30000);
    }

    QString program() const { return exe.filePath(QStringLiteral("zqschool")); }
    QString db() const { return cwd.filePath(QStringLiteral("data/school.db")); }

    QProcessEnvironment env() const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        e.insert(QStringLiteral("ZQ_EXIT_AFTER_START"), QStringLiteral("1"));
        e.insert(QStringLiteral("ZQ_UPDATE_URL"), server.url());
        e.insert(QStringLiteral("ZQ_REGISTRY"), cwd.filePath(QStringLiteral("registry.ini")));
        return e;
    }
    void launch(QProcess& p, const QStringList& args) const {
        p.setProcessEnvironment(env());
        p.setWorkingDirectory(cwd.path());
        // Not pipes: the detached relaunches inherit these and outlive p.
        p.setStandardOutputFile(log.filePath(QStringLiteral("out.log")), QIODevice::Append);
        p.setStandardErrorFile(log.filePath(QStringLiteral("err.log")), QIODevice::Append);
        p.start(program(), args);
    }
    int run(const QStringList& args) const {
        QProcess p;
        launch(p, args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    }

    QTemporaryDir exe;
    QTemporaryDir cwd;
    QTemporaryDir log;
    HttpTestServer server;
};

} // namespace

TEST_F(StartModesTest, OtherArgumentCountsStartNormallyWithoutUpdateCheck) {
    const QString a = cwd.filePath(QStringLiteral("a.bin"));
    const QString b = cwd.filePath(QStringLiteral("b.bin"));
    write(a, "old");
    write(b, "new");
    const QString me = QString::number(QCoreApplication::applicationPid());
    const QString missing = cwd.filePath(QStringLiteral("none.bin"));
    const struct {
        const char* name;
        QStringList args;
    } cases[] = {
        {"one", {QStringLiteral("x")}},
        {"two", {QStringLiteral("x"), QStringLiteral("y")}},
        {"four", {me, a, b, QStringLiteral("z")}},
        {"three, pid 0", {QStringLiteral("0"), a, b}},
        {"three, pid no number", {QStringLiteral("abc"), a, b}},
        {"three, old path missing", {me, missing, b}},
        {"three, new path missing", {me, a, missing}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(cwd.filePath(QStringLiteral("data"))).removeRecursively();
        EXPECT_EQ(run(c.args), 0);
        EXPECT_TRUE(QFile::exists(db())) << "no normal start";
        EXPECT_TRUE(QFileInfo(exe.filePath(QStringLiteral("Down"))).isDir());
        EXPECT_EQ(readAll(a), "old");
        EXPECT_EQ(readAll(b), "new");
    }
    EXPECT_TRUE(server.requests().isEmpty()) << "an update check ran";
}

TEST_F(StartModesTest, NoArgumentsChecksForUpdateThenStartsNormally) {
    write(exe.filePath(QStringLiteral("ver.ini")), verIni("3.0"));
    server.put(QStringLiteral("SCH_INST/ver.ini"), verIni("3.0"));
    EXPECT_EQ(run({}), 0);
    EXPECT_TRUE(QFile::exists(db()));
    EXPECT_EQ(server.requests(), QStringList{QStringLiteral("/SCH_INST/ver.ini")});
    EXPECT_EQ(readAll(exe.filePath(QStringLiteral("Down/ver.ini"))), verIni("3.0"));
}

TEST_F(StartModesTest, ReplacementWaitsForTheOldProcessThenMovesAndStarts) {
    // The new file records that it was started and where it ran from.
    const QString oldPath = exe.filePath(QStringLiteral("prog"));
    const QString newPath = exe.filePath(QStringLiteral("Down/prog.new"));
    write(oldPath, "old program");
    write(newPath, "#!/bin/sh\necho \"$0\" > \"$(dirname \"$0\")/started\"\n", true);
    write(exe.filePath(QStringLiteral("ver.ini")), verIni("1.0"));
    write(exe.filePath(QStringLiteral("Down/ver.ini")), verIni("2.0"));

    QProcess dummy;
    dummy.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(dummy.waitForStarted());
    QProcess p;
    launch(p, {QString::number(dummy.processId()), oldPath, newPath});
    ASSERT_TRUE(p.waitForStarted());

    // While the old process lives, nothing is touched.
    EXPECT_FALSE(p.waitForFinished(1500));
    EXPECT_EQ(readAll(oldPath), "old program");
    EXPECT_TRUE(QFile::exists(newPath));
    EXPECT_EQ(readAll(exe.filePath(QStringLiteral("ver.ini"))), verIni("1.0"));

    dummy.kill();
    dummy.waitForFinished();
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(newPath));
    EXPECT_TRUE(readAll(oldPath).startsWith("#!/bin/sh"));
    EXPECT_TRUE(QFileInfo(oldPath).isExecutable());
    EXPECT_EQ(readAll(exe.filePath(QStringLiteral("ver.ini"))), verIni("2.0"));
    // It started the moved file (in the current folder), and no normal start ran.
    ASSERT_TRUE(waitFor([&] { return QFile::exists(exe.filePath(QStringLiteral("started"))); }, 30000));
    EXPECT_EQ(QString::fromUtf8(readAll(exe.filePath(QStringLiteral("started")))).trimmed(), oldPath);
    EXPECT_FALSE(QFile::exists(db()));
}

TEST_F(StartModesTest, WholeUpdateRoundTrip) {
    // Old version installed; the server offers the program itself as the new one.
    write(exe.filePath(QStringLiteral("ver.ini")), verIni("1.0"));
    server.put(QStringLiteral("SCH_INST/ver.ini"), verIni("1.1"));
    server.put(QStringLiteral("SCH_INST/Smr2002.exe"), readAll(QStringLiteral(ZQ_PROGRAM_PATH)));

    // The first process downloads, relaunches and ends without a normal start;
    // the replacement copy installs and starts the program, which finds the
    // versions equal and starts normally.
    EXPECT_EQ(run({}), 0);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(db()); }, 30000));
    ASSERT_TRUE(waitFor([&] { return processesIn(exe.path()) == 0; }, 30000));
    EXPECT_EQ(readAll(exe.filePath(QStringLiteral("ver.ini"))), verIni("1.1"));
    EXPECT_FALSE(QFile::exists(exe.filePath(QStringLiteral("Down/Smr2002.exe"))));
    EXPECT_TRUE(QFileInfo(program()).isExecutable());
    EXPECT_EQ(server.requests(),
              (QStringList{QStringLiteral("/SCH_INST/ver.ini"), QStringLiteral("/SCH_INST/Smr2002.exe"),
                           QStringLiteral("/SCH_INST/ver.ini")}));
}
