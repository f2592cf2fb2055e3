#include "frame/Startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

// A root the program cannot write to is refused before anything is made in it.
TEST(DataRoot, UnusableRootIsRefusedUntouched) {
    QTemporaryDir tmp;
    const QString root = tmp.path();

    // A file where the root should be.
    QFile f(root + QStringLiteral("/plain"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QString error;
    EXPECT_FALSE(Startup::createServices(f.fileName(), &error));
    EXPECT_EQ(error, f.fileName());

    // A file where the data folder should be: no other folder appears.
    const QString r2 = root + QStringLiteral("/r2");
    QDir().mkpath(r2);
    QFile d(r2 + QStringLiteral("/data"));
    ASSERT_TRUE(d.open(QIODevice::WriteOnly));
    d.close();
    error.clear();
    EXPECT_FALSE(Startup::createServices(r2, &error));
    EXPECT_TRUE(error.endsWith(QStringLiteral("/data")));
    EXPECT_EQ(entries(r2), QStringList{QStringLiteral("data")});
}

TEST(DataRoot, ReadOnlyRootOrDatabaseIsRefusedUntouched) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    QTemporaryDir tmp;
    const QString root = tmp.path();
    QString error;
    // A read-only root.
    const QString r3 = root + QStringLiteral("/r3");
    QDir().mkpath(r3);
    QFile::setPermissions(r3, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(Startup::createServices(r3, &error));
    EXPECT_TRUE(entries(r3).isEmpty());
    // A read-only database file in a writable root.
    const QString r4 = root + QStringLiteral("/r4");
    QDir().mkpath(r4 + QStringLiteral("/data"));
    QFile db(r4 + QStringLiteral("/data/school.db"));
    ASSERT_TRUE(db.open(QIODevice::WriteOnly));
    db.close();
    db.setPermissions(QFile::ReadOwner);
    EXPECT_FALSE(Startup::createServices(r4, &error));
    EXPECT_EQ(entries(r4), QStringList{QStringLiteral("data")});
    QFile::setPermissions(r3, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
