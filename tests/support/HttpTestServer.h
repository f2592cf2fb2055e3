#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A local web server for tests: python3's http.server on 127.0.0.1 at a
// free port, serving a folder. Paths named in truncate() are answered with
// their full Content-Length but only half of the body, then the connection
// is closed.
class HttpTestServer {
public:
    HttpTestServer();
    ~HttpTestServer();

    // The folder served (empty at first).
    QString root() const { return dir_.path(); }
    // Writes a file below the root (folders made as needed).
    void put(const QString& relPath, const QByteArray& body) const;

    bool start(QString* error = nullptr);
    void stop();
    void truncate(const QStringList& paths);

    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }
    quint16 port() const { return port_; }
    // Paths asked for, in order.
    QStringList requests() const;

    // A base URL on which nothing listens.
    static QString unreachableUrl();

private:
    QTemporaryDir dir_;
    QTemporaryDir state_;
    QProcess proc_;
    quint16 port_ = 0;
};
