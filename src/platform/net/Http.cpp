#include "platform/net/Http.h"

#include <QFile>

#include <curl/curl.h>

#include <cstdio>
#include <mutex>

namespace Http {

namespace {

struct Transfer {
    QFile* file = nullptr;
    const Progress* progress = nullptr;
    qint64 written = 0;
    bool writeFailed = false;
};

size_t onData(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const qint64 n = qint64(size * count);
    if (t->file->write(data, n) != n) {
        t->writeFailed = true;
        return 0; // makes curl stop with a write error
    }
    t->written += n;
    return size_t(n);
}

int onProgress(void* user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (t->progress && *t->progress && !(*t->progress)(qint64(dlTotal), qint64(dlNow))) return 1;
    return 0;
}

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

bool Result::complete() const {
    return error.isEmpty() && status == 200 && expectedLength >= 0 && bytesWritten == expectedLength;
}

Result get(const QString& url, const QString& targetPath, const Progress& progress,
           const Timeouts& timeouts) {
    globalInit();
    Result r;
    r.tempPath = targetPath + QStringLiteral(".download");
    QFile file(r.tempPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        r.error = file.errorString();
        return r;
    }

    CURL* c = curl_easy_init();
    if (!c) {
        r.error = QStringLiteral("libcurl could not be initialised");
        file.close();
        return r;
    }
    Transfer t;
    t.file = &file;
    t.progress = &progress;
    char errbuf[CURL_ERROR_SIZE] = {0};
    const QByteArray u = url.toUtf8();
    curl_easy_setopt(c, CURLOPT_URL, u.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connectMs));
    if (timeouts.totalMs > 0) curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(timeouts.totalMs));
    if (timeouts.idleSec > 0) {
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(timeouts.idleSec));
    }
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);

    const CURLcode rc = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    curl_off_t length = -1;
    curl_easy_getinfo(c, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    curl_easy_cleanup(c);

    if (!file.flush()) t.writeFailed = true;
    file.close();
    r.status = status;
    r.bytesWritten = t.written;
    r.expectedLength = qint64(length);
    if (t.writeFailed)
        r.error = file.errorString();
    else if (rc != CURLE_OK)
        r.error = QString::fromUtf8(errbuf[0] ? errbuf : curl_easy_strerror(rc));
    return r;
}

bool keep(const Result& r, const QString& targetPath) {
    if (std::rename(QFile::encodeName(r.tempPath).constData(), QFile::encodeName(targetPath).constData()) ==
        0)
        return true;
    discard(r);
    return false;
}

void discard(const Result& r) {
    if (!r.tempPath.isEmpty()) QFile::remove(r.tempPath);
}

} // namespace Http
