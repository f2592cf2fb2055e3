#include "platform/settings/Registry.h"
#include "platform/settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class RegistryFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        old_ = qgetenv("ZQ_REGISTRY");
        file_ = dir_.path() + QStringLiteral("/registry.ini");
        qputenv("ZQ_REGISTRY", file_.toLocal8Bit());
    }
    void TearDown() override {
        if (old_.isEmpty())
            qunsetenv("ZQ_REGISTRY");
        else
            qputenv("ZQ_REGISTRY", old_);
    }
    QByteArray contents() const {
        QFile f(file_);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    QByteArray old_;
    QString file_;
};

// Runs the writes on a file its user may write but not read (mode 0200).
// Under root, which reads everything, a child process gives up root first.
int writeWithoutReadAccess(const QString& folder, const QString& file) {
    auto writes = [] {
        int written = 0;
        written += Registry::writeDefault(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"),
                                          QStringLiteral("0"));
        written += Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxHakB"),
                                         QStringLiteral("5"));
        written += Registry::deleteValue(QStringLiteral("Ftp"), QStringLiteral("Passwd"));
        return written;
    };
    const QByteArray f = QFile::encodeName(file);
    if (::geteuid() != 0) {
        ::chmod(f.constData(), 0200);
        const int n = writes();
        ::chmod(f.constData(), 0600);
        return n;
    }
    const uid_t nobody = 65534;
    if (::chown(f.constData(), nobody, nobody) != 0 || ::chmod(f.constData(), 0200) != 0 ||
        ::chmod(QFile::encodeName(folder).constData(), 0777) != 0)
        return 102;
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) ::_exit(100);
        ::_exit(writes());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::chown(f.constData(), 0, 0);
    ::chmod(f.constData(), 0600);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

TEST_F(RegistryFile, AFileThatCannotBeReadIsNeverOverwritten) {
    ASSERT_TRUE(Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"),
                                      QStringLiteral("AB12")));
    ASSERT_TRUE(
        Registry::writeString(QStringLiteral("Ftp"), QStringLiteral("Passwd"), QStringLiteral("secret")));
    const QByteArray before = contents();
    ASSERT_FALSE(before.isEmpty());

    EXPECT_EQ(writeWithoutReadAccess(dir_.path(), file_), 0); // every write refused
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode")),
              QStringLiteral("AB12"));
}

TEST_F(RegistryFile, MissingFileIsCreatedByTheFirstWrite) {
    EXPECT_FALSE(Registry::keyExists(QStringLiteral("SchoolInfo")));
    EXPECT_TRUE(
        Registry::writeDefault(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), QStringLiteral("0")));
    EXPECT_FALSE(
        Registry::writeDefault(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), QStringLiteral("1")));
    EXPECT_EQ(Registry::readInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut")), 0);
}

} // namespace
