#include "support/TestRoot.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

// The driver's backup and restore commands, run as a separate process on a
// root of their own.
class BackupDriver : public TestRoot {
protected:
    QList<QJsonObject> run(const QStringList& args, int* rc) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZQ_REGISTRY"), path(QStringLiteral("driver.ini")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), path(QStringLiteral("droot")),
                            QStringLiteral("--today"), QStringLiteral("20260316")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
            if (!l.trimmed().isEmpty()) out << QJsonDocument::fromJson(l).object();
        return out;
    }
};

TEST_F(BackupDriver, BackupThenRestoreThenRefuseAForeignFile) {
    QFile ini(path(QStringLiteral("driver.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[SchoolInfo]\nSchCode=D001\nUxBack=%1/\n")
                  .arg(path(QStringLiteral("dext")))
                  .toUtf8());
    ini.close();

    int rc = -1;
    auto out = run({QStringLiteral("--answers"), QStringLiteral("yes,ok"), QStringLiteral("backup")}, &rc);
    ASSERT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_TRUE(out.last().value(QStringLiteral("backup")).toBool());
    EXPECT_EQ(QDir(path(QStringLiteral("dext"))).entryList(QDir::Files),
              QStringList{"D0012026-03-16 090000.zip"});

    out = run({QStringLiteral("--answers"), QStringLiteral("yes,yes,ok"), QStringLiteral("restore"),
               QStringLiteral("D0012026-03-16 090000.zip")},
              &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(out.at(2).value(QStringLiteral("box")).toString(), QStringLiteral("복구완료"));

    QFile junk(path(QStringLiteral("droot/databack/junk.zip")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a zip");
    junk.close();
    out = run({QStringLiteral("--answers"), QStringLiteral("yes,ok"), QStringLiteral("restore"),
               QStringLiteral("junk.zip")},
              &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out.at(1).value(QStringLiteral("box")).toString(), QStringLiteral("복구실패"));
}

} // namespace
