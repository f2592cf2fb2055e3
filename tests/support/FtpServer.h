#pragma once
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real FTP server on 127.0.0.1 for the upload tests (pyftpdlib), with its
// own user, a temporary home folder and a log of the commands it received.
class FtpServer {
public:
    FtpServer(const QString& user = QStringLiteral("zquser"),
              const QString& password = QStringLiteral("zq-pass"));
    ~FtpServer();

    // Starts the server and waits until it accepts connections.
    bool start(QString* error = nullptr);
    void stop();

    int port() const { return port_; }
    QString home() const { return home_.path(); }
    QString user() const { return user_; }
    QString password() const { return password_; }
    // Commands received so far, one "CMD ARG" per line.
    QStringList commands() const;

private:
    QString user_, password_;
    QTemporaryDir home_;
    QTemporaryDir work_;
    QProcess proc_;
    int port_ = 0;
};
