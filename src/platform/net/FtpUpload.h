#pragma once
#include <QString>
#include <QStringList>

#include <functional>

// Stores one local file on an FTP server: log-on, change into the given
// folders (relative to the log-on folder), delete the remote file when it is
// there (a failed delete is ignored), binary store, log-off.
namespace FtpUpload {

struct Settings {
    QString host;
    int port = 21;
    QString user;
    QString password;
    // Connect and server-reply limit, and the longest the transfer may stall.
    int timeoutMs = 20000;
};

enum class Stage {
    None,    // success
    Connect, // no connection or log-on refused
    Folder,  // a folder change was refused
    Store,   // the server refused the file
    Transfer // the connection failed during the transfer
};

struct Result {
    Stage failedAt = Stage::None;
    QString error;
    bool ok() const { return failedAt == Stage::None; }
};

// Bytes sent so far and the size of the file.
using Progress = std::function<void(qint64 sent, qint64 total)>;

Result put(const Settings& s, const QStringList& folders, const QString& localFile, const QString& remoteName,
           const Progress& progress = {});

} // namespace FtpUpload
