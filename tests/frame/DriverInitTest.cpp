#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include "platform/db/Database.h"
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// zq-driver init on an empty folder makes the whole data root, the main
// window's own tables included.
TEST(DriverInit, EmptyFolderBecomesAFullDataRoot) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.filePath(QStringLiteral("root"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZQ_REGISTRY"), dir.filePath(QStringLiteral("registry.ini")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZQ_DRIVER_PATH), {QStringLiteral("--root"), root, QStringLiteral("init")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const QJsonObject out = QJsonDocument::fromJson(p.readAllStandardOutput().trimmed()).object();
    EXPECT_EQ(out.value(QStringLiteral("root")).toString(), root);

    QStringList tables;
    {
        Connection db;
        ASSERT_TRUE(db.open(root + QStringLiteral("/data/school.db"), true));
        Query q(db, QStringLiteral("select name from sqlite_master where type = 'table' order by name"));
        q.exec();
        while (q.next())
            tables << q.str(0);
    }
    for (const char* t : {"C_ACCT", "C_BANK", "C_Bigo", "C_GRP", "C_ITEM", "C_SCD", "G_GROUP", "M_CUST",
                          "M_EXEMP", "M_SRFILE", "M_TITLE", "SCHOOLINFO"})
        EXPECT_TRUE(tables.contains(QString::fromLatin1(t))) << t;
    EXPECT_EQ(tables.filter(QStringLiteral("L_Log_")).size(), 1);
}

} // namespace
