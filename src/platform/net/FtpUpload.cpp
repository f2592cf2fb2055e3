#include "platform/net/FtpUpload.h"

#include <QFile>
#include <QUrl>

#include <curl/curl.h>

#include <cstdio>

namespace FtpUpload {

namespace {

struct Ctx {
    QFile* file = nullptr;
    qint64 total = 0;
    const Progress* progress = nullptr;
};

size_t readCb(char* buf, size_t size, size_t n, void* user) {
    auto* c = static_cast<Ctx*>(user);
    const qint64 r = c->file->read(buf, qint64(size * n));
    return r < 0 ? CURL_READFUNC_ABORT : size_t(r);
}

int progressCb(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t ulnow) {
    auto* c = static_cast<Ctx*>(user);
    if (c->progress && *c->progress) (*c->progress)(qint64(ulnow), c->total);
    return 0;
}

Stage stageOf(CURLcode rc) {
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_LOGIN_DENIED:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_URL_MALFORMAT:
        return Stage::Connect;
    case CURLE_REMOTE_ACCESS_DENIED: // CWD refused
        return Stage::Folder;
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
        return Stage::Store;
    default:
        return Stage::Transfer;
    }
}

// Path segments go into the URL percent-encoded, so a name cannot add a
// folder of its own.
QString segment(const QString& s) {
    return QString::fromLatin1(QUrl::toPercentEncoding(s));
}

} // namespace

Result put(const Settings& s, const QStringList& folders, const QString& localFile, const QString& remoteName,
           const Progress& progress) {
    static const bool inited = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Result res;
    if (!inited) {
        res.failedAt = Stage::Connect;
        res.error = QStringLiteral("curl_global_init failed");
        return res;
    }
    QFile file(localFile);
    if (!file.open(QIODevice::ReadOnly)) {
        res.failedAt = Stage::Store;
        res.error = file.errorString();
        return res;
    }
    if (s.host.trimmed().isEmpty() || s.port <= 0 || s.port > 65535) {
        res.failedAt = Stage::Connect;
        res.error = QStringLiteral("no FTP host or port");
        return res;
    }

    QString url = QStringLiteral("ftp://%1:%2/").arg(s.host.trimmed()).arg(s.port);
    for (const QString& f : folders)
        url += segment(f) + QLatin1Char('/');
    url += segment(remoteName);

    CURL* h = curl_easy_init();
    Ctx ctx{&file, file.size(), &progress};
    const QByteArray urlB = url.toUtf8();
    const QByteArray user = s.user.toUtf8();
    const QByteArray pass = s.password.toUtf8();
    // The asterisk lets the store go on when there was nothing to delete.
    const QByteArray dele = "*DELE " + remoteName.toUtf8();
    curl_slist* pre = curl_slist_append(nullptr, dele.constData());
    char errbuf[CURL_ERROR_SIZE] = {0};

    curl_easy_setopt(h, CURLOPT_URL, urlB.constData());
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, pass.constData());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L); // binary
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readCb);
    curl_easy_setopt(h, CURLOPT_READDATA, &ctx);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, curl_off_t(ctx.total));
    curl_easy_setopt(h, CURLOPT_PREQUOTE, pre);
    curl_easy_setopt(h, CURLOPT_FTP_CREATE_MISSING_DIRS, CURLFTP_CREATE_DIR_NONE);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(s.timeoutMs));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, long((s.timeoutMs + 999) / 1000));
    // A transfer that stalls for the time-out is given up.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, long((s.timeoutMs + 999) / 1000));
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, progressCb);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &ctx);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");

    const CURLcode rc = curl_easy_perform(h);
    if (rc != CURLE_OK) {
        res.failedAt = stageOf(rc);
        res.error = QString::fromUtf8(errbuf[0] ? errbuf : curl_easy_strerror(rc));
    }
    curl_slist_free_all(pre);
    curl_easy_cleanup(h);
    return res;
}

} // namespace FtpUpload
