#include "basic/DataBackup.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "frame/Main.h"
#include "platform/archive/Zip.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "platform/sys/System.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace DataBackup {

namespace {

const QString kDbFile = QStringLiteral("school.db");

void setError(QString* error, const QString& text) {
    if (error) *error = text;
}

bool isDatabaseSideFile(const QString& name) {
    static const QStringList side{QStringLiteral("school.db-journal"), QStringLiteral("school.db-wal"),
                                  QStringLiteral("school.db-shm")};
    return side.contains(name, Qt::CaseInsensitive);
}

const QRegularExpression& backupPattern() {
    static const QRegularExpression re(
        QStringLiteral("^[^/\\\\ ]{0,4}(\\d{4})-(\\d{2})-\\d{2} \\d{6}\\.zip$"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

// A database file that holds the student table: ours, not some other one.
bool holdsStudentTable(const QString& file) {
    Connection c;
    if (!c.open(file, true)) return false;
    Query q(c, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name='M_CUST' COLLATE NOCASE"));
    return q.exec() && q.next();
}

} // namespace

QString backupName(const QString& schCode, const QDateTime& at) {
    return schCode + at.toString(QStringLiteral("yyyy-MM-dd hhmmss")) + QStringLiteral(".zip");
}

QString uploadDataName(const QString& schCode, const QDate& day) {
    return schCode + day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".zip");
}

QString packageName(const QString& schCode) {
    return schCode + QStringLiteral(".zip");
}

bool isBackupArchiveName(const QString& name) {
    return backupPattern().match(name).hasMatch();
}

QStringList zipFiles(const QString& folder) {
    QStringList out;
    for (const QString& n : Zip::folderFiles(folder))
        if (n.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) out << n;
    return out;
}

QString externalFolder() {
    QString f = Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("UxBack")).trimmed();
    if (f.isEmpty()) f = QStringLiteral("~/zq-data-backup/");
    if (f == QLatin1String("~"))
        f = QDir::homePath();
    else if (f.startsWith(QLatin1String("~/")))
        f = QDir::homePath() + f.mid(1);
    return QDir::cleanPath(f);
}

bool makeDataArchive(const QString& archive, QString* error) {
    const QString dataDir = DMLib->FDataDir + QStringLiteral("/data");
    const QString tempRoot = DMLib->FDataDir + QStringLiteral("/Temp");
    QDir().mkpath(tempRoot);
    QTemporaryDir snap(tempRoot + QStringLiteral("/snapshot-XXXXXX"));
    if (!snap.isValid()) {
        setError(error, snap.errorString());
        return false;
    }
    const QString snapFile = snap.filePath(kDbFile);
    if (!Database::snapshotTo(snapFile, error)) return false;

    QList<Zip::Entry> entries;
    bool dbAdded = false;
    const QDir d(dataDir);
    for (const QString& n : Zip::folderFiles(dataDir)) {
        if (isDatabaseSideFile(n)) continue;
        if (n == kDbFile) {
            entries.append({kDbFile, snapFile});
            dbAdded = true;
        } else {
            entries.append({n, d.filePath(n)});
        }
    }
    if (!dbAdded) entries.append({kDbFile, snapFile});
    return Zip::add(archive, entries, error);
}

bool makeBackup(QString* archive, QString* error) {
    const QString path = DMLib->dir(QStringLiteral("databack")) + backupName(DMLib->FSchCode, Clock::now());
    if (archive) *archive = path;
    QDir().mkpath(DMLib->dir(QStringLiteral("databack")));
    return makeDataArchive(path, error);
}

bool copyToExternal(const QString& archive, const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        setError(error, folder);
        return false;
    }
    const QString name = QFileInfo(archive).fileName();
    const QDir d(folder);
    const QString target = d.filePath(name);
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(archive, part)) {
        QFile::remove(part);
        setError(error, target);
        return false;
    }
    if (QFileInfo(part).size() != QFileInfo(archive).size() || !System::moveFileReplace(part, target)) {
        QFile::remove(part);
        setError(error, target);
        return false;
    }
    // Only the newest backup stays; the new copy is in place before any old
    // one goes.
    for (const QString& n : zipFiles(folder))
        if (n != name && isBackupArchiveName(n)) QFile::remove(d.filePath(n));
    return true;
}

bool hasBackupOfMonth(const QString& folder, const QDate& day) {
    if (!QFileInfo(folder).isDir()) return false;
    for (const QString& n : zipFiles(folder)) {
        const auto m = backupPattern().match(n);
        if (m.hasMatch() && m.captured(1).toInt() == day.year() && m.captured(2).toInt() == day.month())
            return true;
    }
    return false;
}

QStringList trimBackupFolder(int keep) {
    const QString folder = DMLib->dir(QStringLiteral("databack"));
    const QStringList files = zipFiles(folder);
    QStringList deleted;
    for (int i = 0; i + keep < files.size(); ++i)
        if (QFile::remove(folder + files.at(i))) deleted << files.at(i);
    return deleted;
}

bool makeUploadPackage(QString* package, QString* error, const std::function<void(int)>& step) {
    const QString back = DMLib->dir(QStringLiteral("databack"));
    const QString code = DMLib->FSchCode;
    const QString dataZip = back + uploadDataName(code, Clock::today());
    const QString sbackZip = back + QStringLiteral("sback.zip");
    const QString rbackZip = back + QStringLiteral("rback.zip");
    const QString pkg = back + packageName(code);
    if (package) *package = pkg;
    const QStringList parts{dataZip, sbackZip, rbackZip};
    // Left-overs of a broken run would add stale entries.
    for (const QString& p : parts)
        QFile::remove(p);
    auto cleanup = [&] {
        for (const QString& p : parts)
            QFile::remove(p);
    };
    const QString menu = QStringLiteral("자료전송");

    if (!makeDataArchive(dataZip, error)) return cleanup(), false;
    DMLib->WriteJobLog(menu, QStringLiteral("[백업] Data 백업"));
    if (step) step(1);
    if (!Zip::addFolder(sbackZip, DMLib->FDataDir + QStringLiteral("/sback"), error)) return cleanup(), false;
    DMLib->WriteJobLog(menu, QStringLiteral("[백업] sback 백업"));
    if (step) step(2);
    if (!Zip::addFolder(rbackZip, DMLib->FDataDir + QStringLiteral("/rback"), error)) return cleanup(), false;
    DMLib->WriteJobLog(menu, QStringLiteral("[백업] rback 백업"));
    if (step) step(3);
    QList<Zip::Entry> entries;
    for (const QString& p : parts)
        entries.append({QFileInfo(p).fileName(), p});
    const bool ok = Zip::add(pkg, entries, error);
    cleanup();
    if (!ok) return false;
    if (step) step(4);
    return true;
}

QList<BackupRow> listBackups(const QString& schCode) {
    QList<BackupRow> rows;
    // Characters 1-4 are the company code, 9 and 12 the dashes of the date.
    for (const QString& n : zipFiles(DMLib->dir(QStringLiteral("databack")))) {
        if (n.size() < 21 || n.left(4) != schCode) continue;
        if (n.at(8) != QLatin1Char('-') || n.at(11) != QLatin1Char('-')) continue;
        rows.append({n.mid(4, 10), n.mid(15, 6)});
    }
    return rows;
}

RestoreCheck checkArchive(const QString& archive) {
    if (!QFileInfo(archive).isFile()) return {RestoreError::NotFound, archive};
    QStringList names;
    QString err;
    if (!Zip::entries(archive, &names, &err)) return {RestoreError::NotZip, err};
    if (names.isEmpty()) return {RestoreError::Empty, archive};
    for (const QString& n : names)
        if (!Zip::isFlatName(n)) return {RestoreError::BadName, n};
    if (!names.contains(kDbFile)) return {RestoreError::NoDatabase, kDbFile};
    return {};
}

RestoreCheck restoreArchive(const QString& archive) {
    RestoreCheck c = checkArchive(archive);
    if (!c.ok()) return c;

    const QString root = DMLib->FDataDir;
    const QString dataDir = root + QStringLiteral("/data");
    // Beside the data folder, so that the swap is a rename on one file system.
    QTemporaryDir fresh(root + QStringLiteral("/data.restore-XXXXXX"));
    if (!fresh.isValid()) return {RestoreError::Unpack, fresh.errorString()};
    QString err;
    if (!Zip::extractAll(archive, fresh.path(), &err)) return {RestoreError::Unpack, err};
    // A journal from elsewhere must never be rolled into the restored file.
    for (const QString& n : Zip::folderFiles(fresh.path()))
        if (isDatabaseSideFile(n)) QFile::remove(fresh.filePath(n));
    const QString freshDb = fresh.filePath(kDbFile);
    if (!Database::integrityCheck(freshDb, &err)) return {RestoreError::Damaged, err};
    if (!holdsStudentTable(freshDb)) return {RestoreError::Foreign, kDbFile};

    QTemporaryDir oldHolder(root + QStringLiteral("/data.old-XXXXXX"));
    if (!oldHolder.isValid()) return {RestoreError::Swap, oldHolder.errorString()};
    const QString oldDir = oldHolder.path() + QStringLiteral("/data");

    Database::close();
    QDir r;
    if (!r.rename(dataDir, oldDir)) {
        DMData->DMDataCreate();
        return {RestoreError::Swap, dataDir};
    }
    if (!r.rename(fresh.path(), dataDir)) {
        r.rename(oldDir, dataDir);
        DMData->DMDataCreate();
        return {RestoreError::Swap, dataDir};
    }
    fresh.setAutoRemove(false); // it is the data folder now
    if (!DMData->DMDataCreate(&err)) {
        // Put the old data back whole.
        Database::close();
        QDir(dataDir).removeRecursively();
        r.rename(oldDir, dataDir);
        DMData->DMDataCreate();
        return {RestoreError::Reopen, err};
    }
    // The main window's own tables, which an older backup may lack.
    TFrmMain::CheckTables(FrmMain ? FrmMain->windowTitle() : QString());
    return {}; // oldHolder removes the previous data folder
}

QString restoreErrorText(const RestoreCheck& c) {
    switch (c.error) {
    case RestoreError::None:
        return {};
    case RestoreError::NotFound:
    case RestoreError::Empty:
        return QStringLiteral("복구할 파일이 없습니다.");
    case RestoreError::NotZip:
        return QStringLiteral("백업 파일이 올바른 zip 파일이 아닙니다.");
    case RestoreError::BadName:
        return QStringLiteral("백업 파일에 허용되지 않는 이름이 있습니다: %1").arg(c.detail);
    case RestoreError::NoDatabase:
        return QStringLiteral("백업 파일에 데이터베이스(school.db)가 없습니다.");
    case RestoreError::Unpack:
        return QStringLiteral("백업 파일을 풀 수 없습니다: %1").arg(c.detail);
    case RestoreError::Damaged:
        return QStringLiteral("백업 데이터베이스가 손상되었습니다: %1").arg(c.detail);
    case RestoreError::Foreign:
        return QStringLiteral("이 프로그램의 데이터베이스가 아닙니다.");
    case RestoreError::Swap:
        return QStringLiteral("데이터 폴더를 바꿀 수 없습니다: %1").arg(c.detail);
    case RestoreError::Reopen:
        return QStringLiteral("복구한 데이터베이스를 열 수 없습니다: %1").arg(c.detail);
    }
    return {};
}

} // namespace DataBackup
