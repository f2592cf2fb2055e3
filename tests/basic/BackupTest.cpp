#include "basic/BackupMenu.h"
#include "basic/DataBackup.h"
#include "basic/T103B00.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "frame/Main.h"
#include "platform/archive/Zip.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "shared/MainHooks.h"
#include "support/TestRoot.h"
#include "van/SendList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <zip.h>

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList files(const QString& folder) {
    return Zip::folderFiles(folder);
}

// Every table's definition and rows, value by value with its type.
QStringList dump() {
    QStringList out;
    Query t(QStringLiteral("SELECT name, sql FROM sqlite_master ORDER BY type, name"));
    t.exec();
    QStringList tables;
    while (t.next()) {
        out << t.str(1);
        if (t.str(1).startsWith(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive))
            tables << t.str(0);
    }
    for (const QString& name : tables) {
        Query q(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(Database::quoted(name)));
        q.exec();
        while (q.next()) {
            QStringList row{name};
            for (int i = 0; i < q.columnCount(); ++i)
                row << QString::fromLatin1(q.value(i).typeName()) + QLatin1Char(':') + q.value(i).toString();
            out << row.join(QLatin1Char('|'));
        }
    }
    return out;
}

class Backup : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxBack"),
                              path(QStringLiteral("ext")) + "/");
        DMLib->FSchCode = QStringLiteral("Z123");
    }

    void addStudents(int n) {
        Transaction tx;
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(Database::insertRow(
                QStringLiteral("M_CUST"),
                {{QStringLiteral("CustNo"), QStringLiteral("%1").arg(1000000000 + i)},
                 {QStringLiteral("SNo"), QStringLiteral("1%1").arg(i % 10000, 4, 10, QLatin1Char('0'))},
                 {QStringLiteral("Nm"), QStringLiteral("홍길동%1").arg(i)},
                 {QStringLiteral("BankCd"), QStringLiteral("11")},
                 {QStringLiteral("AcctNo"), QStringLiteral("123-45'67")}}));
        ASSERT_TRUE(tx.commit());
    }

    void addRound(const QString& suffix, int rows) {
        ASSERT_TRUE(DMData->CreateH200(suffix));
        Transaction tx;
        for (int i = 0; i < rows; ++i)
            ASSERT_TRUE(Database::insertRow(
                QStringLiteral("H_200_") + suffix,
                {{QStringLiteral("YearMon"), suffix.left(6)},
                 {QStringLiteral("SeqNo"), suffix.mid(6)},
                 {QStringLiteral("SNo"), QStringLiteral("1%1").arg(i, 4, 10, QLatin1Char('0'))},
                 {QStringLiteral("ItemCd"), QStringLiteral("01")},
                 {QStringLiteral("Amt"), 12345 + i},
                 {QStringLiteral("Nm"), QStringLiteral("김철수")}}));
        ASSERT_TRUE(tx.commit());
    }

    QString back() const { return DMLib->dir(QStringLiteral("databack")); }
    QString ext() const { return path(QStringLiteral("ext")); }
    qint64 logRows(const QString& menu, const QString& text) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM L_Log_202603 WHERE MenuName = ? AND JobLog = ?"),
                      {menu, text});
    }
};

TEST_F(Backup, NamesCarryCodeDateAndTimeAtTheirPositions) {
    const QString n = DataBackup::backupName(QStringLiteral("Z123"), fixedNow());
    EXPECT_EQ(n, QStringLiteral("Z1232026-03-16 102030.zip"));
    EXPECT_EQ(n.mid(9, 2), QStringLiteral("03")); // characters 10-11: the month
    EXPECT_EQ(n.mid(15, 6), QStringLiteral("102030"));
    EXPECT_EQ(DataBackup::uploadDataName(QStringLiteral("Z123"), fixedNow().date()),
              QStringLiteral("Z1232026-03-16.zip"));
    EXPECT_EQ(DataBackup::packageName(QStringLiteral("Z123")), QStringLiteral("Z123.zip"));

    const struct {
        const char* name;
        bool own;
    } names[] = {{"Z1232026-03-16 102030.zip", true},
                 {"2026-03-16 102030.zip", true},
                 {"z1232026-03-16 102030.ZIP", true},
                 {"Z123.zip", false},
                 {"Z1232026-03-16.zip", false},
                 {"photos 2026-03-16 102030.zip", false},
                 {"notes.txt", false}};
    for (const auto& c : names)
        EXPECT_EQ(DataBackup::isBackupArchiveName(QString::fromUtf8(c.name)), c.own) << c.name;
}

TEST_F(Backup, ArchiveHoldsTheDataFolderWithADatabaseSnapshot) {
    addStudents(50);
    writeFile(path(QStringLiteral("data/notes.txt")), "kept");
    QString archive;
    ASSERT_TRUE(DataBackup::makeBackup(&archive));
    EXPECT_EQ(archive, back() + QStringLiteral("Z1232026-03-16 102030.zip"));
    QStringList names;
    ASSERT_TRUE(Zip::entries(archive, &names));
    EXPECT_EQ(names, (QStringList{QStringLiteral("notes.txt"), QStringLiteral("school.db")}));

    QTemporaryDir out;
    ASSERT_TRUE(Zip::extractAll(archive, out.path()));
    EXPECT_TRUE(Database::integrityCheck(out.filePath(QStringLiteral("school.db"))));
    // Nothing temporary is left behind.
    EXPECT_TRUE(
        QDir(path(QStringLiteral("Temp"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(Backup, ManualBackupCopiesToTheExternalFolderAndKeepsOnlyTheNewest) {
    QDir().mkpath(ext());
    writeFile(ext() + QStringLiteral("/Z1232026-02-01 090000.zip"), "old");
    writeFile(ext() + QStringLiteral("/A0012025-12-31 235959.zip"), "old, other code");
    writeFile(ext() + QStringLiteral("/readme.txt"), "not ours");
    writeFile(ext() + QStringLiteral("/holiday.zip"), "not ours either");

    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_TRUE(BackupMenu::MnuT102B00Click(nullptr));
    ASSERT_EQ(msg.shown().size(), 2);
    EXPECT_EQ(msg.shown().at(0).caption, QStringLiteral("작업보호"));
    EXPECT_EQ(msg.shown().at(0).text, BackupMenu::workProtectionText(false));
    EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("백업완료"));
    EXPECT_EQ(msg.shown().at(1).text, back() + QStringLiteral("으로 백업되었습니다."));
    EXPECT_EQ(files(ext()), (QStringList{QStringLiteral("holiday.zip"), QStringLiteral("readme.txt"),
                                         QStringLiteral("Z1232026-03-16 102030.zip")}));
    EXPECT_EQ(readFile(ext() + QStringLiteral("/Z1232026-03-16 102030.zip")),
              readFile(back() + QStringLiteral("Z1232026-03-16 102030.zip")));
    EXPECT_EQ(logRows(QStringLiteral("자료백업"), QStringLiteral("[백업] 자료백업")), 1);
}

TEST_F(Backup, ManualBackupAnsweredNoDoesNothing) {
    msg.expect(MsgResult::No);
    EXPECT_FALSE(BackupMenu::MnuT102B00Click(nullptr));
    EXPECT_TRUE(files(back()).isEmpty());
    EXPECT_FALSE(QDir(ext()).exists());
}

TEST_F(Backup, FailuresAreReportedAndNeverAsSuccess) {
    const struct {
        const char* label;
        std::function<void()> breakIt;
        bool localArchive;
    } cases[] = {
        {"external folder under a file",
         [this] {
             writeFile(path(QStringLiteral("blocker")), "x");
             Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxBack"),
                                   path(QStringLiteral("blocker/ext")));
         },
         true},
        {"backup folder not writable",
         [this] {
             QDir(back()).removeRecursively();
             writeFile(path(QStringLiteral("databack")), "a file where the folder should be");
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        stopServices();
        msg.clear();
        QDir(root()).removeRecursively();
        QDir().mkpath(root());
        startServices();
        DMLib->FSchCode = QStringLiteral("Z123");
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxBack"), ext());
        c.breakIt();
        msg.expect({MsgResult::Yes, MsgResult::Ok});
        EXPECT_FALSE(BackupMenu::MnuT102B00Click(nullptr));
        ASSERT_EQ(msg.shown().size(), 2);
        EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("백업실패"));
        EXPECT_TRUE(msg.shown().at(1).text.startsWith(QStringLiteral("데이터가 백업되지 않았습니다.")));
        for (const MsgBox& b : msg.shown())
            EXPECT_NE(b.caption, QStringLiteral("백업완료"));
        EXPECT_EQ(logRows(QStringLiteral("자료백업"), QStringLiteral("[백업] 자료백업")), 0);
        EXPECT_EQ(QFile::exists(back() + QStringLiteral("Z1232026-03-16 102030.zip")), c.localArchive);
    }
}

TEST_F(Backup, MonthlyBackupComparesYearAndMonth) {
    const struct {
        const char* label;
        QStringList external; // archives already in the external folder; empty list and no folder: "-"
        QDate today;
        bool made;
    } cases[] = {
        {"this month's backup is there",
         {QStringLiteral("Z1232026-03-01 080000.zip")},
         QDate(2026, 3, 16),
         false},
        {"same month of an earlier year",
         {QStringLiteral("Z1232025-03-01 080000.zip")},
         QDate(2026, 3, 16),
         true},
        {"december before a january", {QStringLiteral("Z1232025-12-30 080000.zip")}, QDate(2026, 1, 2), true},
        {"january after december", {QStringLiteral("Z1232026-01-02 080000.zip")}, QDate(2026, 1, 20), false},
        {"only other files", {QStringLiteral("misc.zip")}, QDate(2026, 3, 16), true},
        {"no folder", {QStringLiteral("-")}, QDate(2026, 3, 16), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QDir(ext()).removeRecursively();
        QDir(back()).removeRecursively();
        QDir().mkpath(back());
        if (c.external != QStringList{QStringLiteral("-")}) {
            QDir().mkpath(ext());
            for (const QString& n : c.external)
                writeFile(ext() + QLatin1Char('/') + n, "x");
        }

        Clock::set(QDateTime(c.today, QTime(17, 0, 0)));
        BackupMenu::MonthlyBackup();
        const QString expected = DataBackup::backupName(QStringLiteral("Z123"), Clock::now());
        EXPECT_EQ(QFile::exists(back() + expected), c.made);
        EXPECT_EQ(QFile::exists(ext() + QLatin1Char('/') + expected), c.made);
        if (c.made) {
            for (const QString& n : files(ext()))
                EXPECT_TRUE(n == expected || !DataBackup::isBackupArchiveName(n));
        }
    }
    EXPECT_TRUE(msg.shown().isEmpty());
}

TEST_F(Backup, CloseHookRunsTheManualBackupOnlyWhenAskedThenTheMonthlyOne) {
    ASSERT_TRUE(bool(mainHooks().backupOnClose));
    mainHooks().backupOnClose(nullptr, false); // No or Cancel: the monthly backup only
    EXPECT_TRUE(msg.shown().isEmpty());
    EXPECT_EQ(files(back()).size(), 1);

    QDir(back()).removeRecursively();
    QDir().mkpath(back());
    Clock::set(fixedNow().addSecs(60));
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    mainHooks().backupOnClose(nullptr, true);
    EXPECT_EQ(msg.shown().size(), 2);
    // The manual backup just made is this month's: no second archive.
    EXPECT_EQ(files(back()), QStringList{QStringLiteral("Z1232026-03-16 102130.zip")});
}

TEST_F(Backup, UploadKeepsNineteenArchivesInNameOrder) {
    QStringList made;
    for (int i = 0; i < 25; ++i) {
        const QString n = QStringLiteral("%1%2.zip")
                              .arg(i % 2 ? QStringLiteral("b") : QStringLiteral("A"))
                              .arg(i, 2, 10, QLatin1Char('0'));
        writeFile(back() + n, "z");
        made << n;
    }
    writeFile(back() + QStringLiteral("keep.txt"), "not a zip");
    const QStringList deleted = DataBackup::trimBackupFolder(19);
    // Case is ignored: A00, A02, A04, ... come before the b's.
    EXPECT_EQ(deleted,
              (QStringList{QStringLiteral("A00.zip"), QStringLiteral("A02.zip"), QStringLiteral("A04.zip"),
                           QStringLiteral("A06.zip"), QStringLiteral("A08.zip"), QStringLiteral("A10.zip")}));
    EXPECT_EQ(DataBackup::zipFiles(back()).size(), 19);
    EXPECT_TRUE(QFile::exists(back() + QStringLiteral("keep.txt")));
}

TEST_F(Backup, UploadPackageHoldsTheThreeArchives) {
    addStudents(5);
    writeFile(path(QStringLiteral("sback/Z1230316.200")), "request");
    writeFile(path(QStringLiteral("rback/Z1230316.R00")), "result");
    QString pkg;
    QList<int> steps;
    ASSERT_TRUE(DataBackup::makeUploadPackage(&pkg, nullptr, [&](int n) { steps << n; }));
    EXPECT_EQ(steps, (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(pkg, back() + QStringLiteral("Z123.zip"));
    EXPECT_EQ(files(back()), QStringList{QStringLiteral("Z123.zip")}); // the three parts are gone
    QStringList names;
    ASSERT_TRUE(Zip::entries(pkg, &names));
    EXPECT_EQ(names, (QStringList{QStringLiteral("Z1232026-03-16.zip"), QStringLiteral("sback.zip"),
                                  QStringLiteral("rback.zip")}));
    QTemporaryDir out;
    ASSERT_TRUE(Zip::extractAll(pkg, out.path()));
    QDir(out.path()).mkdir(QStringLiteral("s"));
    ASSERT_TRUE(
        Zip::extractAll(out.filePath(QStringLiteral("sback.zip")), out.filePath(QStringLiteral("s"))));
    EXPECT_EQ(readFile(out.filePath(QStringLiteral("s/Z1230316.200"))), "request");
    for (const char* l : {"[백업] Data 백업", "[백업] sback 백업", "[백업] rback 백업"})
        EXPECT_EQ(logRows(QStringLiteral("자료전송"), QString::fromUtf8(l)), 1) << l;

    // A later day adds its own data archive to the same package.
    Clock::set(fixedNow().addDays(1));
    ASSERT_TRUE(DataBackup::makeUploadPackage(&pkg));
    names.clear();
    ASSERT_TRUE(Zip::entries(pkg, &names));
    EXPECT_TRUE(names.contains(QStringLiteral("Z1232026-03-16.zip")));
    EXPECT_TRUE(names.contains(QStringLiteral("Z1232026-03-17.zip")));
}

// ---- restore

class Restore : public Backup {
protected:
    QString makeArchive(const QList<std::pair<QByteArray, QByteArray>>& entries) {
        const QString p = back() + QStringLiteral("Z1232026-01-01 000000.zip");
        QFile::remove(p);
        int err = 0;
        zip_t* za = zip_open(QFile::encodeName(p).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
        for (const auto& e : entries) {
            char* copy = static_cast<char*>(malloc(size_t(e.second.size()) + 1));
            memcpy(copy, e.second.constData(), size_t(e.second.size()));
            zip_file_add(za, e.first.constData(),
                         zip_source_buffer(za, copy, zip_uint64_t(e.second.size()), 1), 0);
        }
        zip_close(za);
        return p;
    }
    QByteArray goodDatabase() {
        QTemporaryDir t;
        EXPECT_TRUE(Database::snapshotTo(t.filePath(QStringLiteral("s.db"))));
        return readFile(t.filePath(QStringLiteral("s.db")));
    }
    // An 80-byte request file dated 2026-03-20 (header 16-21) in send,
    // booked when book is set (with its send date when it was sent).
    static QByteArray request(const QString& name, bool book, const char* srType = "S",
                              const QString& sentOn = {}) {
        QByteArray out = (QByteArray("S").leftJustified(15, ' ') + "260320").leftJustified(80, ' ') + "\r\n";
        out += QByteArray("D000001").leftJustified(80, '0') + "\r\n";
        out += QByteArray("E").leftJustified(80, ' ') + "\r\n";
        writeFile(DMLib->dir(QStringLiteral("send")) + name, out);
        if (book)
            EXPECT_TRUE(Database::insertRow(QStringLiteral("M_SRFILE"),
                                            {{QStringLiteral("SRType"), QString::fromLatin1(srType)},
                                             {QStringLiteral("FileName"), name},
                                             {QStringLiteral("FileType"), name.mid(9, 3)},
                                             {QStringLiteral("YearMon"), name.left(4)},
                                             {QStringLiteral("SeqNo"), name.mid(4, 2)},
                                             {QStringLiteral("BankCd"), name.mid(6, 2)},
                                             {QStringLiteral("DataCnt"), 1},
                                             {QStringLiteral("SRDate"), sentOn},
                                             {QStringLiteral("Gcode"), QStringLiteral("01")}}));
        return out;
    }
    // The files the send list offers.
    static QStringList listed() {
        SendFolderState st;
        QStringList out;
        for (const SendListRow& r :
             SendFolder::BuildSendList(st, {QStringLiteral("01")}, QStringLiteral("20260316")).rows)
            out << r.FileName;
        return out;
    }
};

TEST_F(Restore, RoundTripBringsBackEveryTableAsItWas) {
    addStudents(200);
    addRound(QStringLiteral("20260301"), 300);
    addRound(QStringLiteral("20260302"), 10);
    ASSERT_TRUE(DMLib->WriteJobLog(QStringLiteral("학생명부"), QStringLiteral("[등록] 홍길동")));
    // The program's data root holds the main window's tables too.
    TFrmMain::CheckTables(QString());
    const QStringList before = dump();
    QString archive;
    ASSERT_TRUE(DataBackup::makeBackup(&archive));

    // Change everything afterwards.
    ASSERT_TRUE(Database::exec(QStringLiteral("DELETE FROM M_CUST WHERE rowid % 2 = 0")));
    ASSERT_TRUE(Database::dropTable(QStringLiteral("H_200_20260302")));
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20260401")));
    ASSERT_TRUE(Database::exec(QStringLiteral("UPDATE H_200_20260301 SET Amt = 0")));
    ASSERT_TRUE(Database::dropTable(QStringLiteral("M_TITLE")));
    ASSERT_NE(dump(), before);

    const DataBackup::RestoreCheck r = DataBackup::restoreArchive(archive);
    ASSERT_TRUE(r.ok()) << DataBackup::restoreErrorText(r).toStdString();
    EXPECT_TRUE(Database::isOpen());
    EXPECT_EQ(dump(), before);
    // The swap leaves no working folder behind.
    QStringList rest = QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& d : rest)
        EXPECT_FALSE(d.startsWith(QLatin1String("data."))) << d.toStdString();
    // The cached lists were loaded again and the log still works.
    EXPECT_TRUE(DMLib->WriteJobLog(QStringLiteral("자료복구"), QStringLiteral("x")));
}

TEST_F(Restore, BackupWithoutTheMainWindowsTablesGetsThemBack) {
    // A backup of an older program, made before the round titles had a table.
    addStudents(3);
    TFrmMain::CheckTables(QString());
    ASSERT_TRUE(Database::dropTable(QStringLiteral("M_TITLE")));
    QString archive;
    ASSERT_TRUE(DataBackup::makeBackup(&archive));

    const DataBackup::RestoreCheck r = DataBackup::restoreArchive(archive);
    ASSERT_TRUE(r.ok()) << DataBackup::restoreErrorText(r).toStdString();
    // The restore ran the main window's table check through its hook.
    EXPECT_TRUE(Database::tableExists(QStringLiteral("M_TITLE")));
}

TEST_F(Restore, DamagedOrForeignArchivesChangeNothing) {
    addStudents(20);
    const QByteArray good = goodDatabase();
    QByteArray corrupt = good;
    // Garbage over the pages after the header: the integrity check fails.
    for (int i = 4096; i < corrupt.size(); ++i)
        corrupt[i] = char(i * 7);
    QTemporaryDir foreignDir;
    {
        Connection c;
        c.open(foreignDir.filePath(QStringLiteral("f.db")));
        c.exec(QStringLiteral("CREATE TABLE photos(id INTEGER)"));
    }
    const QByteArray foreign = readFile(foreignDir.filePath(QStringLiteral("f.db")));

    const struct {
        const char* label;
        std::function<QString()> make;
        DataBackup::RestoreError error;
    } cases[] = {
        {"missing file", [this] { return back() + QStringLiteral("nope.zip"); },
         DataBackup::RestoreError::NotFound},
        {"not a zip",
         [this] {
             const QString p = back() + QStringLiteral("junk.zip");
             writeFile(p, "PK but not really a zip file");
             return p;
         },
         DataBackup::RestoreError::NotZip},
        {"no entry", [this] { return makeArchive({}); }, DataBackup::RestoreError::NotFound},
        {"no database",
         [this] {
             return makeArchive({{"notes.txt", "x"}});
         },
         DataBackup::RestoreError::NoDatabase},
        {"database with a path",
         [&] {
             return makeArchive({{"data/school.db", good}});
         },
         DataBackup::RestoreError::BadName},
        {"parent entry",
         [&] {
             return makeArchive({{"school.db", good}, {"../escape.txt", "x"}});
         },
         DataBackup::RestoreError::BadName},
        {"absolute entry",
         [&] {
             return makeArchive({{"school.db", good}, {"/tmp/zq-escape.txt", "x"}});
         },
         DataBackup::RestoreError::BadName},
        {"not a database",
         [this] {
             return makeArchive({{"school.db", QByteArray(8192, 'x')}});
         },
         DataBackup::RestoreError::Damaged},
        {"failed integrity check",
         [&] {
             return makeArchive({{"school.db", corrupt}});
         },
         DataBackup::RestoreError::Damaged},
        {"another program's database",
         [&] {
             return makeArchive({{"school.db", foreign}});
         },
         DataBackup::RestoreError::Foreign},
        {"thousands of stray entries",
         [&] {
             QList<std::pair<QByteArray, QByteArray>> many{{"school.db", good}};
             for (int i = 0; i < 5000; ++i)
                 many.append({"stray" + QByteArray::number(i), "x"});
             return makeArchive(many);
         },
         DataBackup::RestoreError::Proportion},
        {"database packed past any real one",
         [&] {
             return makeArchive({{"school.db", QByteArray(40 << 20, '\0')}});
         },
         DataBackup::RestoreError::Proportion},
    };
    const QStringList before = dump();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString archive = c.make();
        const QStringList dataFiles = files(path(QStringLiteral("data")));
        const DataBackup::RestoreCheck r = DataBackup::restoreArchive(archive);
        if (c.error == DataBackup::RestoreError::NotFound)
            EXPECT_TRUE(r.error == DataBackup::RestoreError::NotFound ||
                        r.error == DataBackup::RestoreError::Empty);
        else
            EXPECT_EQ(int(r.error), int(c.error)) << DataBackup::restoreErrorText(r).toStdString();
        EXPECT_FALSE(DataBackup::restoreErrorText(r).isEmpty());
        EXPECT_TRUE(Database::isOpen());
        EXPECT_EQ(dump(), before);
        EXPECT_EQ(files(path(QStringLiteral("data"))), dataFiles);
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("escape.txt"))));
        EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/zq-escape.txt")));
        for (const QString& d : QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            EXPECT_FALSE(d.startsWith(QLatin1String("data."))) << d.toStdString();
    }
}

TEST_F(Restore, QuestionsBoxesAndLog) {
    addStudents(3);
    QString archive;
    ASSERT_TRUE(DataBackup::makeBackup(&archive));
    const QString label = QStringLiteral("Z1232026-03-16 102030");

    msg.expect(MsgResult::No);
    EXPECT_FALSE(RestoreWithQuestions(archive, label, nullptr));

    msg.clear();
    msg.expect({MsgResult::Yes, MsgResult::No});
    EXPECT_FALSE(RestoreWithQuestions(archive, label, nullptr));
    EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("확인"));
    EXPECT_TRUE(msg.shown().at(1).defaultNo) << "a restore cannot be undone";
    EXPECT_EQ(
        msg.shown().at(1).text,
        QStringLiteral(
            "데이터를 복구하면 기존에 존재하던 데이터가 삭제될 수 있습니다.\r\n데이터를 복구하시겠습니까?"));

    msg.clear();
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_FALSE(RestoreWithQuestions(back() + QStringLiteral("gone.zip"), label, nullptr));
    EXPECT_EQ(msg.shown().at(1).text, QStringLiteral("복구할 파일이 없습니다."));
    EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("오류"));

    msg.clear();
    msg.expect({MsgResult::Yes, MsgResult::Yes, MsgResult::Ok});
    EXPECT_TRUE(RestoreWithQuestions(archive, label, nullptr));
    EXPECT_EQ(msg.shown().at(2).caption, QStringLiteral("복구완료"));
    EXPECT_EQ(msg.shown().at(2).text, QStringLiteral("데이터가 성공적으로 복구되었습니다."));
    EXPECT_EQ(
        logRows(QStringLiteral("자료복구"), QStringLiteral("[자료복구] Z1232026-03-16 102030.zip 복구")), 1);

    const QString bad = makeArchive({{"../x", "x"}});
    msg.clear();
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_FALSE(RestoreWithQuestions(bad, label, nullptr));
    EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("복구실패"));
    EXPECT_TRUE(msg.shown().at(1).text.startsWith(QStringLiteral("데이터가 복구되지 않았습니다.\r")));
}

// Request files written after the backup are not the restored data's: the
// restore moves them into a folder of their own, names it, and the send list
// never offers a request file without its booking.
TEST_F(Restore, UnbookedRequestFilesLeaveSendAndAreNeverListed) {
    request(QStringLiteral("26030104.201"), true);
    request(QStringLiteral("26030111.R01"), true, "G");
    QString archive;
    ASSERT_TRUE(DataBackup::makeBackup(&archive));
    // Written and booked after the backup.
    request(QStringLiteral("26060104.201"), true);
    request(QStringLiteral("26060105.201"), true);
    EXPECT_EQ(listed().size(), 4);

    msg.expect({MsgResult::Yes, MsgResult::Yes, MsgResult::Ok});
    ASSERT_TRUE(RestoreWithQuestions(archive, QStringLiteral("Z1232026-03-16 102030"), nullptr));
    const QString folder = root() + QStringLiteral("/send-unbooked/20260316-102030");
    EXPECT_EQ(
        msg.shown().at(2).text,
        QStringLiteral("데이터가 성공적으로 복구되었습니다.\r\r복구한 자료에 등록되지 않은 송신파일 2개를 "
                       "아래 폴더로 옮겼습니다.\r") +
            folder);
    EXPECT_EQ(QDir(DMLib->dir(QStringLiteral("send"))).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("26030104.201"), QStringLiteral("26030111.R01")}));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("26060104.201"), QStringLiteral("26060105.201")}));
    EXPECT_EQ(
        logRows(QStringLiteral("자료복구"),
                QStringLiteral("[송신파일이동] 등록되지 않은 송신파일 2개 -> send-unbooked/20260316-102030")),
        1);
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("26030104.201"), QStringLiteral("26030111.R01")}));

    // A file put into send by hand, or a received file's name, is no booking.
    request(QStringLiteral("26060104.201"), false);
    request(QStringLiteral("26070104.201"), true, "R");
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("26030104.201"), QStringLiteral("26030111.R01")}));
}

// An older backup restored sets aside the request file written after it;
// the newer backup restored afterwards books that file as waiting and takes
// it back into send, so the send list offers it again. A file of that name
// in send is never replaced, and a file the newer data books as sent stays
// aside.
TEST_F(Restore, RestoringBackAndForthTakesBackTheFilesTheDataBooks) {
    const QString later = QStringLiteral("26060104.201");
    const QString done = QStringLiteral("데이터가 성공적으로 복구되었습니다.");
    const QString takenBack =
        QStringLiteral("\r\r복구한 자료에 송신대기로 등록된 송신파일 1개를 송신폴더로 되돌렸습니다.\r") +
        later;
    const QString keptAside =
        QStringLiteral("\r\r송신폴더에 같은 이름의 파일이 있어 되돌리지 않은 송신파일(") + root() +
        QStringLiteral("/send-unbooked 폴더에 그대로 있습니다):\r") + later;
    const struct {
        const char* why;
        const char* sentOn;        // the newer data's send date of the later file
        QByteArray putInSend;      // a file of that name put into send meanwhile
        bool byDriver;             // the newer backup restored by zq-driver
        QString boxAdds;           // after the success text
        bool inSendIsTheLaterFile; // send holds the later file afterwards
        bool staysAside;           // a copy stays in send-unbooked
    } cases[] = {
        {"taken back", "", {}, false, takenBack, true, false},
        {"taken back by the driver", "", {}, true, takenBack, true, false},
        {"a file of that name in send stays", "", "typed by hand", false, keptAside, false, true},
        {"sent, as the newer data books it", "20260318", {}, false, QString(), false, true},
    };
    const QString send = DMLib->dir(QStringLiteral("send"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Clock::set(fixedNow());
        ASSERT_TRUE(Database::exec(QStringLiteral("DELETE FROM M_SRFILE")));
        QDir(send).removeRecursively();
        QDir().mkpath(send);
        QDir(root() + QStringLiteral("/send-unbooked")).removeRecursively();
        QDir(back()).removeRecursively();
        request(QStringLiteral("26030104.201"), true);
        QString older, newer;
        ASSERT_TRUE(DataBackup::makeBackup(&older));
        const QByteArray content = request(later, true, "S", QString::fromLatin1(c.sentOn));
        Clock::set(fixedNow().addSecs(3600));
        ASSERT_TRUE(DataBackup::makeBackup(&newer));

        msg.clear();
        msg.expect({MsgResult::Yes, MsgResult::Yes, MsgResult::Ok});
        ASSERT_TRUE(RestoreWithQuestions(older, QFileInfo(older).completeBaseName(), nullptr));
        ASSERT_FALSE(QFile::exists(send + later));
        if (!c.putInSend.isEmpty()) writeFile(send + later, c.putInSend);

        QString box;
        if (c.byDriver) {
            stopServices();
            QProcess p;
            p.start(QStringLiteral(ZQ_DRIVER_PATH),
                    {QStringLiteral("--root"), root(), QStringLiteral("--today"), QStringLiteral("20260316"),
                     QStringLiteral("--answers"), QStringLiteral("yes,yes,ok"), QStringLiteral("restore"),
                     newer});
            EXPECT_TRUE(p.waitForFinished(60000));
            EXPECT_EQ(p.exitCode(), 0);
            for (const QByteArray& l : p.readAllStandardOutput().split('\n')) {
                const QJsonObject o = QJsonDocument::fromJson(l).object();
                if (o.value(QStringLiteral("box")).toString() == QStringLiteral("복구완료"))
                    box = o.value(QStringLiteral("text")).toString();
            }
            startServices();
        } else {
            msg.clear();
            msg.expect({MsgResult::Yes, MsgResult::Yes, MsgResult::Ok});
            ASSERT_TRUE(RestoreWithQuestions(newer, QFileInfo(newer).completeBaseName(), nullptr));
            box = msg.shown().at(2).text;
        }
        EXPECT_EQ(box, done + c.boxAdds);
        const QStringList aside =
            QDir(root() + QStringLiteral("/send-unbooked")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        EXPECT_EQ(aside.size(), c.staysAside ? 1 : 0) << aside.join(u',').toStdString();
        if (c.staysAside)
            EXPECT_EQ(readFile(root() + QStringLiteral("/send-unbooked/") + aside.value(0) +
                               QLatin1Char('/') + later),
                      content);
        if (c.inSendIsTheLaterFile) {
            EXPECT_EQ(readFile(send + later), content);
            EXPECT_EQ(listed(), (QStringList{QStringLiteral("26030104.201"), later}));
        } else {
            EXPECT_EQ(readFile(send + later), c.putInSend);
        }
    }
}

TEST_F(Restore, DialogListsOnlyTheCompanysBackups) {
    Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"), QStringLiteral("Z123"));
    writeFile(back() + QStringLiteral("Z1232026-03-01 101010.zip"), "a");
    writeFile(back() + QStringLiteral("A0012026-03-02 111111.zip"), "other company");
    writeFile(back() + QStringLiteral("Z123.zip"), "package");
    writeFile(back() + QStringLiteral("Z1232026-03-05 090807.zip"), "b");
    TFrmT103B00 dlg;
    EXPECT_EQ(dlg.SGrdBackup->rowCount(), 4);
    EXPECT_EQ(dlg.SGrdBackup->item(0, 0)->text(), QStringLiteral("2026-03-01"));
    EXPECT_EQ(dlg.SGrdBackup->item(0, 1)->text(), QStringLiteral("101010"));
    EXPECT_EQ(dlg.SGrdBackup->item(1, 0)->text(), QStringLiteral("2026-03-05"));
    EXPECT_EQ(dlg.SGrdBackup->item(2, 0), nullptr);
    EXPECT_FALSE(dlg.BbtnRecovery->isEnabled());

    dlg.SGrdBackup->setCurrentCell(1, 0);
    EXPECT_TRUE(dlg.BbtnRecovery->isEnabled());
    EXPECT_TRUE(dlg.BbtnDel->isEnabled());
    EXPECT_EQ(dlg.currentArchiveName(), QStringLiteral("Z1232026-03-05 090807.zip"));

    msg.expect({MsgResult::Yes, MsgResult::Ok});
    dlg.BbtnDelClick();
    EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("삭제성공"));
    EXPECT_FALSE(QFile::exists(back() + QStringLiteral("Z1232026-03-05 090807.zip")));
    EXPECT_EQ(logRows(QStringLiteral("자료복구"),
                      QStringLiteral("[자료삭제] Z1232026-03-05 090807.zip 백업데이터 삭제")),
              1);
    EXPECT_EQ(dlg.SGrdBackup->item(1, 0), nullptr);

    // An empty row does nothing on a double click.
    dlg.SGrdBackup->setCurrentCell(2, 0);
    EXPECT_FALSE(dlg.BbtnRecovery->isEnabled());
    dlg.SGrdBackupDblClick();
}

} // namespace
