#pragma once
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Backups of the data folder: the archives in databack, the copy in the
// external backup folder, the upload package and the restore. No message
// boxes here; the menu flows (BackupMenu) turn the results into boxes.
namespace DataBackup {

// Company code + "yyyy-MM-dd hhmmss" + ".zip".
QString backupName(const QString& schCode, const QDateTime& at);
// Company code + "yyyy-MM-dd" + ".zip".
QString uploadDataName(const QString& schCode, const QDate& day);
// Company code + ".zip".
QString packageName(const QString& schCode);

// A name this program gives its backups: up to four characters of company
// code, then "yyyy-MM-dd hhmmss.zip".
bool isBackupArchiveName(const QString& name);

// The zip files of a folder in name order (case ignored).
QStringList zipFiles(const QString& folder);

// The external backup folder: UxBack, "~" expanded, default
// ~/zq-data-backup/.
QString externalFolder();

// Zips every file of the data folder; the database goes in as a consistent
// snapshot, never the live file.
bool makeDataArchive(const QString& archive, QString* error = nullptr);
// The backup archive in databack under backupName(FSchCode, now). With a
// log line, the archive appears only together with its job-log row.
// beforeLog runs on the finished archive (under its temporary name) before
// the log row; its failure leaves the archive in place and logs nothing.
bool makeBackup(QString* archive, QString* error = nullptr, const QString& logMenu = {},
                const QString& logLine = {},
                const std::function<bool(const QString& made, QString* error)>& beforeLog = {});
// Copies the archive into the folder (created when missing), then deletes
// the program's older backup archives there; other files are left alone.
bool copyToExternal(const QString& archive, const QString& folder, QString* error = nullptr,
                    const QString& asName = {});
// The folder holds a backup archive of that year and month.
bool hasBackupOfMonth(const QString& folder, const QDate& day);

// Keeps at most keep zip files in databack, deleting the first in name
// order; returns the names deleted.
QStringList trimBackupFolder(int keep = 19);

// Builds the upload package in databack (the data, sback and rback
// archives, added to the package), writing one job-log row per archive.
// step(n) is called after archive n (1..4).
bool makeUploadPackage(QString* package, QString* error = nullptr, const std::function<void(int)>& step = {});

// Backups of the company listed for the restore dialog, in name order.
struct BackupRow {
    QString date; // yyyy-mm-dd
    QString time; // hhmmss
};
QList<BackupRow> listBackups(const QString& schCode);

// Request files in send that the database does not book (files written
// after the backup that a restore brought back) go into a folder of their
// own under the data root, send-unbooked/yyyyMMdd-hhmmss, so that none is
// sent for a round the database no longer holds. Files are moved, never
// replaced or deleted; the folder is made only when a file goes there.
// The files set aside earlier that the database books as waiting to be sent
// (a newer backup restored after an older one) come back into send.
struct SetAside {
    QString folder;        // the folder the files went into; empty when none did
    QStringList moved;     // names moved
    QStringList failed;    // names that could not be moved (they stay in send)
    QStringList takenBack; // names moved back into send
    QStringList keptAside; // booked as waiting, but send holds a file of that name (or the move failed)
};
SetAside setAsideUnbookedRequests();
// Moves back into send, by name, the files of send-unbooked that the
// database books as waiting to be sent, newest folder first; a file in send
// is never replaced. Folders left empty are removed.
void takeBackBookedRequests(SetAside* s);
// Their job-log rows (menu 자료복구), when files were moved.
void logSetAside(const SetAside& s);
// What the closing box of a restore adds about the files it moved.
QString setAsideText(const SetAside& s);

// Restore of an archive. Nothing changes unless every check passes; the
// database is swapped in whole and reopened with the start-up checks.
enum class RestoreError {
    None,
    NotFound,
    Empty,
    NotZip,
    BadName,
    NoDatabase,
    Unpack,
    Damaged,
    Foreign,
    Swap,
    Reopen,
    Proportion, // too many entries, or a database too large for its archive
    NoSpace
};
struct RestoreCheck {
    RestoreError error = RestoreError::None;
    QString detail;
    bool ok() const { return error == RestoreError::None; }
};
// Checks that can be made without unpacking (exists, zip, names, database).
RestoreCheck checkArchive(const QString& archive);
// logLine is the job-log row of the restore; it is written into the restored
// database before the swap, so the two arrive together. After the swap the
// request files the restored database does not book leave send
// (setAsideUnbookedRequests) and those it books as waiting come back
// (takeBackBookedRequests), reported in aside.
RestoreCheck restoreArchive(const QString& archive, const QString& logLine = {}, SetAside* aside = nullptr);
// At start, before the database is opened: a restore killed between its
// renames is finished (the restored folder was checked), and a data folder
// left aside by a swap is put back when no data folder remains. True when a
// restore was finished, or was killed after its swap and before its request
// files were sorted: the start sorts them.
bool finishInterruptedRestore(const QString& root);

// The user's reason text for a failed restore.
QString restoreErrorText(const RestoreCheck& c);

} // namespace DataBackup
