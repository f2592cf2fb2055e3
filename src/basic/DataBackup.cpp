#include "basic/DataBackup.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "data/FileMoves.h"
#include "platform/archive/Zip.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"
#include "platform/sys/System.h"
#include "shared/MainHooks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace DataBackup {

namespace {

const QString kDbFile = QStringLiteral("school.db");
// Limits of what a backup of ours can look like.
constexpr int kMaxEntries = 64;
constexpr quint64 kMaxDbBytes = quint64(16) << 30;
constexpr quint64 kMaxRatio = 1000;
constexpr quint64 kSpareBytes = quint64(64) << 20;

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

bool makeBackup(QString* archive, QString* error, const QString& logMenu, const QString& logLine,
                const std::function<bool(const QString& made, QString* error)>& beforeLog) {
    const QString path = DMLib->dir(QStringLiteral("databack")) + backupName(DMLib->FSchCode, Clock::now());
    if (archive) *archive = path;
    QDir().mkpath(DMLib->dir(QStringLiteral("databack")));
    if (logLine.isEmpty()) return makeDataArchive(path, error);
    // The archive is made under a temporary name; its log row and its move
    // into place commit together (a kill after the commit is finished at
    // the next start).
    const QString part = path + QStringLiteral(".part");
    if (!makeDataArchive(part, error)) {
        QFile::remove(part);
        return false;
    }
    CrashPoint::hit("backup-after-archive");
    if (beforeLog && !beforeLog(part, error)) {
        // The archive itself is good: it stays, unlogged, as a failed
        // backup's archive always did.
        if (!System::moveFileReplace(part, path)) QFile::remove(part);
        return false;
    }
    {
        Transaction tx;
        if (!tx.ok() || !DMLib->WriteJobLog(logMenu, logLine) || !FileMoves::record(part, path, error)) {
            if (error && !tx.ok()) *error = tx.error();
            QFile::remove(part);
            return false;
        }
        CrashPoint::hit("backup-before-commit");
        if (!tx.commit()) {
            setError(error, tx.error());
            QFile::remove(part);
            return false;
        }
    }
    CrashPoint::hit("backup-after-commit");
    if (!FileMoves::carryOut(part, path)) {
        setError(error, path);
        return false;
    }
    return true;
}

bool copyToExternal(const QString& archive, const QString& folder, QString* error, const QString& asName) {
    if (!QDir().mkpath(folder)) {
        setError(error, folder);
        return false;
    }
    const QString name = asName.isEmpty() ? QFileInfo(archive).fileName() : asName;
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
    QList<Zip::EntryStat> entries;
    QString err;
    if (!Zip::stats(archive, &entries, &err)) return {RestoreError::NotZip, err};
    if (entries.isEmpty()) return {RestoreError::Empty, archive};
    // A backup holds the few files of the data folder; thousands of entries
    // are no backup of ours.
    if (entries.size() > kMaxEntries) return {RestoreError::Proportion, QString::number(entries.size())};
    const Zip::EntryStat* db = nullptr;
    for (const Zip::EntryStat& e : entries) {
        if (!Zip::isFlatName(e.name)) return {RestoreError::BadName, e.name};
        if (e.name == kDbFile) db = &e;
    }
    if (!db) return {RestoreError::NoDatabase, kDbFile};
    // A database packs well, but not a thousand to one.
    if (db->size > kMaxDbBytes || db->size > std::max<quint64>(db->compressedSize, 1) * kMaxRatio)
        return {RestoreError::Proportion, kDbFile};
    return {};
}

namespace {

// Folder names beside data that a restore uses; a start finds them after a
// kill and finishes or removes them.
const QString kReadyMarker = QStringLiteral("restore.ready");

bool writeMarker(const QString& file, const QByteArray& text) {
    const QString part = file + QStringLiteral(".part");
    QFile f(part);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool ok = f.write(text) == text.size() && f.flush() && ::fsync(f.handle()) == 0;
    f.close();
    return ok && std::rename(QFile::encodeName(part).constData(), QFile::encodeName(file).constData()) == 0;
}

// Writes the restore's log row into the restored database itself, so the
// restore and its log row arrive together.
bool logInto(const QString& dbFile, const QString& logLine, QString* error) {
    if (logLine.isEmpty()) return true;
    if (!Database::open(dbFile, error)) return false;
    bool ok;
    {
        Transaction tx;
        ok = tx.ok() && DMLib->WriteJobLog(QStringLiteral("자료복구"), logLine) && tx.commit();
        if (!ok && error) *error = tx.error();
    }
    Database::close();
    return ok;
}

} // namespace

void logSetAside(const SetAside& s) {
    if (!s.moved.isEmpty())
        DMLib->WriteJobLog(QStringLiteral("자료복구"),
                           QStringLiteral("[송신파일이동] 등록되지 않은 송신파일 %1개 -> %2")
                               .arg(s.moved.size())
                               .arg(QDir(DMLib->FDataDir).relativeFilePath(s.folder)));
    if (!s.takenBack.isEmpty())
        DMLib->WriteJobLog(QStringLiteral("자료복구"),
                           QStringLiteral("[송신파일복귀] 송신대기로 등록된 송신파일 %1개 -> send: %2")
                               .arg(s.takenBack.size())
                               .arg(s.takenBack.join(QStringLiteral(", "))));
}

QString setAsideText(const SetAside& s) {
    QString out;
    if (!s.moved.isEmpty())
        out += QStringLiteral("\r\r복구한 자료에 등록되지 않은 송신파일 %1개를 아래 폴더로 옮겼습니다.\r%2")
                   .arg(s.moved.size())
                   .arg(s.folder);
    if (!s.failed.isEmpty())
        out += QStringLiteral("\r\r송신폴더에서 옮기지 못한 파일(송신목록에는 나오지 않습니다):\r%1")
                   .arg(s.failed.join(QStringLiteral(", ")));
    if (!s.takenBack.isEmpty())
        out +=
            QStringLiteral("\r\r복구한 자료에 송신대기로 등록된 송신파일 %1개를 송신폴더로 되돌렸습니다.\r%2")
                .arg(s.takenBack.size())
                .arg(s.takenBack.join(QStringLiteral(", ")));
    if (!s.keptAside.isEmpty())
        out +=
            QStringLiteral("\r\r송신폴더에 같은 이름의 파일이 있어 되돌리지 않은 송신파일(%1 폴더에 그대로 "
                           "있습니다):\r%2")
                .arg(DMLib->FDataDir + QStringLiteral("/send-unbooked"))
                .arg(s.keptAside.join(QStringLiteral(", ")));
    return out;
}

RestoreCheck restoreArchive(const QString& archive, const QString& logLine, SetAside* aside) {
    RestoreCheck c = checkArchive(archive);
    if (!c.ok()) return c;

    const QString root = DMLib->FDataDir;
    const QString dataDir = root + QStringLiteral("/data");
    {
        QList<Zip::EntryStat> entries;
        Zip::stats(archive, &entries);
        quint64 need = 0;
        for (const Zip::EntryStat& e : entries)
            if (e.name == kDbFile) need = e.size;
        const QStorageInfo disk(root);
        if (disk.isValid() && quint64(disk.bytesAvailable()) < need + kSpareBytes)
            return {RestoreError::NoSpace, QString::number(need)};
    }
    // Beside the data folder, so that the swap is a rename on one file system.
    QTemporaryDir fresh(root + QStringLiteral("/data.restore-XXXXXX"));
    if (!fresh.isValid()) return {RestoreError::Unpack, fresh.errorString()};
    QString err;
    // Only the database: whatever else an archive carries stays out of data.
    if (!Zip::extractAll(archive, fresh.path(), &err, {kDbFile})) return {RestoreError::Unpack, err};
    const QString freshDb = fresh.filePath(kDbFile);
    if (!Database::integrityCheck(freshDb, &err)) return {RestoreError::Damaged, err};
    if (!holdsStudentTable(freshDb)) return {RestoreError::Foreign, kDbFile};
    CrashPoint::hit("restore-after-extract");

    QTemporaryDir oldHolder(root + QStringLiteral("/data.old-XXXXXX"));
    if (!oldHolder.isValid()) return {RestoreError::Swap, oldHolder.errorString()};
    const QString oldDir = oldHolder.path() + QStringLiteral("/data");

    Database::close();
    if (!logInto(freshDb, logLine, &err)) {
        DMData->DMDataCreate();
        return {RestoreError::Reopen, err};
    }
    // From here a start that finds no data folder finishes the swap.
    const QString marker = root + QLatin1Char('/') + kReadyMarker;
    if (!writeMarker(marker, QFileInfo(fresh.path()).fileName().toUtf8())) {
        DMData->DMDataCreate();
        return {RestoreError::Swap, marker};
    }
    CrashPoint::hit("restore-before-swap");
    QDir r;
    if (!r.rename(dataDir, oldDir)) {
        QFile::remove(marker);
        DMData->DMDataCreate();
        return {RestoreError::Swap, dataDir};
    }
    CrashPoint::hit("restore-between-renames");
    if (!r.rename(fresh.path(), dataDir)) {
        r.rename(oldDir, dataDir);
        QFile::remove(marker);
        DMData->DMDataCreate();
        return {RestoreError::Swap, dataDir};
    }
    fresh.setAutoRemove(false); // it is the data folder now
    // The marker stays until the request files are sorted: a start that
    // finds it with the swap done sorts them (finishInterruptedRestore).
    CrashPoint::hit("restore-after-swap");
    if (!DMData->DMDataCreate(&err)) {
        // Put the old data back whole.
        QFile::remove(marker);
        Database::close();
        QDir(dataDir).removeRecursively();
        r.rename(oldDir, dataDir);
        DMData->DMDataCreate();
        return {RestoreError::Reopen, err};
    }
    // The main window's own tables, which an older backup may lack.
    if (mainHooks().checkTables) mainHooks().checkTables();
    SetAside moved = setAsideUnbookedRequests();
    takeBackBookedRequests(&moved);
    logSetAside(moved);
    QFile::remove(marker);
    if (aside) *aside = moved;
    return {}; // oldHolder removes the previous data folder
}

bool finishInterruptedRestore(const QString& root) {
    const QString marker = root + QLatin1Char('/') + kReadyMarker;
    const QString dataDb = root + QStringLiteral("/data/") + kDbFile;
    bool finished = false;
    QFile m(marker);
    if (m.open(QIODevice::ReadOnly)) {
        const QString name = QString::fromUtf8(m.readAll()).trimmed();
        m.close();
        const QString fresh = root + QLatin1Char('/') + name;
        // The restored database was checked and carries its log row: a kill
        // between the two renames is finished, not undone.
        const bool ours = Zip::isFlatName(name) && name.startsWith(QLatin1String("data.restore-"));
        if (ours && !QFileInfo::exists(dataDb) && QFileInfo::exists(fresh + QLatin1Char('/') + kDbFile)) {
            QDir(root + QStringLiteral("/data")).removeRecursively();
            finished = QDir().rename(fresh, root + QStringLiteral("/data"));
        } else if (ours && QFileInfo::exists(dataDb) && !QFileInfo::exists(fresh)) {
            // Killed after the swap: the restored data stands, its request
            // files were not sorted yet.
            finished = true;
        }
        QFile::remove(marker);
    }
    if (!QFileInfo::exists(dataDb)) {
        // No restore to finish: the previous data, when a swap left it aside.
        for (const QString& n : QDir(root).entryList({QStringLiteral("data.old-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString old = root + QLatin1Char('/') + n + QStringLiteral("/data");
            if (QFileInfo::exists(old + QLatin1Char('/') + kDbFile)) {
                QDir(root + QStringLiteral("/data")).removeRecursively();
                QDir().rename(old, root + QStringLiteral("/data"));
                break;
            }
        }
    }
    return finished;
}

SetAside setAsideUnbookedRequests() {
    SetAside out;
    const QDir send(DMLib->dir(QStringLiteral("send")));
    const QStringList names = send.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QString folder;
    for (const QString& n : names) {
        if (TDMData::IsBookedRequest(n)) continue;
        if (folder.isEmpty()) {
            folder = System::freeFilePath(DMLib->FDataDir + QStringLiteral("/send-unbooked/") +
                                          Clock::now().toString(QStringLiteral("yyyyMMdd-hhmmss")));
            if (!QDir().mkpath(folder)) {
                folder.clear();
                out.failed << n;
                continue;
            }
        }
        if (System::moveFileNoReplace(send.filePath(n), folder + QLatin1Char('/') + n))
            out.moved << n;
        else
            out.failed << n;
    }
    if (!out.moved.isEmpty()) out.folder = folder;
    return out;
}

namespace {

// A request file the database books and the operator has not confirmed:
// the send list offers it.
bool isWaitingRequest(const QString& fileName) {
    Query q(QStringLiteral("SELECT count(*) FROM M_SRFILE WHERE FileName = ? AND SRType IN ('S', 'G') "
                           "AND trim(ifnull(SRDate, '')) = ''"));
    q.add(fileName);
    return q.exec() && q.next() && q.num(0) > 0;
}

} // namespace

void takeBackBookedRequests(SetAside* s) {
    const QDir aside(DMLib->FDataDir + QStringLiteral("/send-unbooked"));
    if (!aside.exists()) return;
    const QString send = DMLib->dir(QStringLiteral("send"));
    // Newest first: of two files of one name set aside, the later one is
    // what the database was last written with.
    const QStringList folders =
        aside.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    QSet<QString> seen;
    for (const QString& f : folders) {
        const QDir d(aside.filePath(f));
        for (const QString& n : d.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            if (seen.contains(n) || !isWaitingRequest(n)) continue;
            seen.insert(n);
            if (System::moveFileNoReplace(d.filePath(n), send + n))
                s->takenBack << n;
            else
                s->keptAside << n;
        }
        // Only an empty folder goes.
        aside.rmdir(f);
    }
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
    case RestoreError::Proportion:
        return QStringLiteral("백업 파일의 항목 수나 크기가 백업 파일로 볼 수 없습니다: %1").arg(c.detail);
    case RestoreError::NoSpace:
        return QStringLiteral("디스크 공간이 부족하여 복구할 수 없습니다.");
    }
    return {};
}

} // namespace DataBackup
