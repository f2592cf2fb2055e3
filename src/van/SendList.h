#pragma once
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// One row of the session window's send list.
struct SendListRow {
    QString BankCd;   // "00" + the two digits of the file name
    QString FileType; // "200", "300", "R00", ...
    int DataCnt = 0;  // lines of the file less header and trailer
    QString FileName;
    QString Date; // transfer or registration date as shown
    QString CompyNo;
    QString AcctNo;
    // The nine cells of the grid, the mark empty.
    QStringList cells() const;
};

// What the listings of one session leave behind in the send folder.
struct SendFolderState {
    // Files of send copied into SendTempFile by the listings.
    QStringList FSendBackupList;
    // Some merged file is waiting to be sent.
    bool FMerged = false;
    // Merged files the operator has not confirmed yet, with the files each
    // was made of (their copies wait in SendTempFile).
    QMap<QString, QStringList> PendingMerges;
};

struct SendListResult {
    QList<SendListRow> rows;
    bool anyFile = false; // send held a file when the listing began
    bool stopped = false; // the listing ended early (dates differ, a record that does not read)
};

namespace SendFolder {

// "2099" + item group + "11.201".
QString MergedFileName(const QString& gcode);

// Lists the request files of send by item group, joining each group's NH
// collection files of one transfer date into a merged file first. A merge
// of an earlier listing that was not sent is undone before (busyFile, the
// file being uploaded, is left alone).
SendListResult BuildSendList(SendFolderState& st, const QStringList& groupCodes, const QString& today,
                             const QString& busyFile = {});

// Puts back the files of every merge that was not sent and removes its
// merged file. A file the operator confirmed is never brought back.
void UndoPendingMerges(SendFolderState& st, const QString& busyFile = {});

// The operator confirmed mergedName: the files it was made of are sent too.
// Their copies go into sback, the backups into OrgSendFile, and their
// book rows get the send date.
void ArchiveMergeSources(SendFolderState& st, const QString& mergedName, const QString& today);

// Stamps the book row of a sent file. False when the update failed.
bool StampSendDate(const QString& srType, const QString& fileName, const QString& today);

// The joining itself, on contents. Files in listing order; each joined
// record is renumbered and carries its source's run key at 115-120 (200
// bytes) or 63-68 (other lengths); the trailer is rebuilt with the totals
// and, for 200 bytes, the NH check value.
struct JoinInput {
    QString name;
    QByteArray content;
};
struct JoinResult {
    bool ok = false;
    QString error;      // what did not read, when not ok
    QByteArray content; // the merged file, CR LF after each line; empty when nothing was joined
    QList<int> counts;  // data records of each file, in order of their trailers
};
JoinResult JoinRequestFiles(const QList<JoinInput>& files);

// Lines of a file without their line ends; trailing empty lines dropped.
QList<QByteArray> SplitLines(const QByteArray& content);

// A name the operator sent is used as a file name only when it is plain:
// letters and digits, with '.', '_' or '-' inside when dots are allowed.
bool IsPlainName(const QString& name, bool allowDots);

// Moves a file over any file of the target name in one step. False when it
// could not be moved.
bool MoveReplacing(const QString& from, const QString& to);
// Copies through a temporary name beside the target.
bool CopyReplacing(const QString& from, const QString& to);

} // namespace SendFolder
