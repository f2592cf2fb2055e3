#pragma once
#include <QString>

#include <functional>

// HTTP GET into a file over libcurl. The body is written under a temporary
// name beside the target; the caller looks at the result and then keeps or
// discards it, so a broken download never takes the target's place.
namespace Http {

struct Timeouts {
    int connectMs = 10000; // to establish the connection
    int idleSec = 30;      // no byte received for this long ends the transfer
    int totalMs = 0;       // whole transfer; 0 is no limit
};

// Called while the body arrives: total is the announced size (0 while
// unknown), soFar the bytes received. Returning false cancels the transfer.
using Progress = std::function<bool(qint64 total, qint64 soFar)>;

struct Result {
    long status = 0;            // HTTP status; 0 when no answer came
    qint64 bytesWritten = 0;    // bytes of the body in the temporary file
    qint64 expectedLength = -1; // Content-Length; -1 when the server sent none
    QString error;              // empty when the transfer ran to its end
    QString tempPath;           // where the body lies

    // Status 200, no transfer error and exactly the announced length. A body
    // without a Content-Length is not taken as complete.
    bool complete() const;
};

Result get(const QString& url, const QString& targetPath, const Progress& progress = {},
           const Timeouts& timeouts = {});

// Renames the downloaded file over the target. False (and the temporary file
// removed) when that fails.
bool keep(const Result& r, const QString& targetPath);
void discard(const Result& r);

} // namespace Http
