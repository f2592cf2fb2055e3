// Recorded file moves finished at a start: only the file recorded moves, and
// no move ever replaces a file.
#include "data/FileMoves.h"
#include "platform/db/Database.h"
#include "support/TestRoot.h"

#include <QDir>
#include <QFile>

namespace {

class FileMovesTest : public TestRoot {
protected:
    void put(const QString& rel, const QByteArray& content) {
        QFile f(path(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << rel.toStdString();
        f.write(content);
    }
    QByteArray read(const QString& rel) {
        QFile f(path(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    QStringList names(const char* folder) {
        return QDir(path(QString::fromLatin1(folder))).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(FileMovesTest, OnlyTheRecordedFileMovesAndNothingIsReplaced) {
    const struct {
        const char* name;
        bool fingerprint;        // a record of this program (else an older row)
        const char* atSource;    // what recv/X holds at the start (nullptr: nothing)
        const char* atTarget;    // what rback/X holds at the start
        QStringList recv, rback; // the folders after the start
        const char* archive;     // rback/X afterwards
        const char* second;      // rback/X_1 afterwards
    } cases[] = {
        {"recorded file, target free", true, "applied", nullptr, {}, {"X"}, "applied", "<none>"},
        {"recorded file, target taken", true, "applied", "older", {}, {"X", "X_1"}, "older", "applied"},
        {"moved already, a new file took the name",
         true,
         "new",
         "applied",
         {"X"},
         {"X"},
         "applied",
         "<none>"},
        {"moved already, nothing came", true, nullptr, "applied", {}, {"X"}, "applied", "<none>"},
        {"older record, target free", false, "applied", nullptr, {}, {"X"}, "applied", "<none>"},
        {"older record, target taken", false, "new", "applied", {"X"}, {"X"}, "applied", "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* f : {"recv", "rback"}) {
            QDir(path(QString::fromLatin1(f))).removeRecursively();
            QDir().mkpath(path(QString::fromLatin1(f)));
        }
        Database::exec(QStringLiteral("DELETE FROM M_FILEMOVE"));
        // The record is made while the applied file is at its source.
        put(QStringLiteral("recv/X"), "applied");
        ASSERT_TRUE(FileMoves::record(path(QStringLiteral("recv/X")), path(QStringLiteral("rback/X"))));
        if (!c.fingerprint) Database::exec(QStringLiteral("UPDATE M_FILEMOVE SET Hash = NULL"));
        QFile::remove(path(QStringLiteral("recv/X")));
        if (c.atSource) put(QStringLiteral("recv/X"), c.atSource);
        if (c.atTarget) put(QStringLiteral("rback/X"), c.atTarget);

        FileMoves::finishPending();
        EXPECT_EQ(names("recv"), c.recv);
        EXPECT_EQ(names("rback"), c.rback);
        EXPECT_EQ(read(QStringLiteral("rback/X")), QByteArray(c.archive));
        EXPECT_EQ(read(QStringLiteral("rback/X_1")), QByteArray(c.second));
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_FILEMOVE")), 0);
    }
}

TEST_F(FileMovesTest, CarryOutTakesAFreeNameAndOlderTablesGainTheFingerprint) {
    put(QStringLiteral("rback/X"), "older");
    put(QStringLiteral("recv/X"), "applied");
    ASSERT_TRUE(FileMoves::record(path(QStringLiteral("recv/X")), path(QStringLiteral("rback/X"))));
    QString placed;
    ASSERT_TRUE(
        FileMoves::carryOut(path(QStringLiteral("recv/X")), path(QStringLiteral("rback/X")), &placed));
    EXPECT_EQ(placed, path(QStringLiteral("rback/X_1")));
    EXPECT_EQ(read(QStringLiteral("rback/X")), QByteArray("older"));
    EXPECT_EQ(read(QStringLiteral("rback/X_1")), QByteArray("applied"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_FILEMOVE")), 0);

    // A table of an older version, without the fingerprint column: its rows
    // stay and the column is added.
    ASSERT_TRUE(Database::exec(QStringLiteral("DROP TABLE M_FILEMOVE")));
    ASSERT_TRUE(
        Database::exec(QStringLiteral("CREATE TABLE M_FILEMOVE (Source CHAR(255), Target CHAR(255))")));
    ASSERT_TRUE(Database::exec(QStringLiteral("INSERT INTO M_FILEMOVE VALUES ('recv/Y', 'rback/Y')")));
    ASSERT_TRUE(FileMoves::ensureTable());
    EXPECT_TRUE(Database::columns(QStringLiteral("M_FILEMOVE"))
                    .contains(QStringLiteral("Hash"), Qt::CaseInsensitive));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM M_FILEMOVE WHERE Hash IS NULL")), 1);
}

} // namespace
