#include "support/FtpServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QThread>

FtpServer::FtpServer(const QString& user, const QString& password) : user_(user), password_(password) {}

FtpServer::~FtpServer() {
    stop();
}

bool FtpServer::start(QString* error) {
    // Debian's interpreter, where python3-pyftpdlib is installed.
    const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3"))
                               ? QStringLiteral("/usr/bin/python3")
                               : QStringLiteral("python3");
    proc_.setProcessChannelMode(QProcess::SeparateChannels);
    proc_.start(python, {QStringLiteral(ZQ_TEST_SOURCE_DIR "/support/ftpserver.py"), home_.path(), user_,
                         password_, work_.filePath(QStringLiteral("commands.log"))});
    if (!proc_.waitForStarted(10000)) {
        if (error) *error = proc_.errorString();
        return false;
    }
    QDeadlineTimer deadline(15000);
    QByteArray out;
    while (!deadline.hasExpired() && !out.contains('\n')) {
        if (!proc_.waitForReadyRead(200) && proc_.state() != QProcess::Running) break;
        out += proc_.readAllStandardOutput();
    }
    const QByteArray line = out.trimmed();
    if (!line.startsWith("PORT ")) {
        if (error) *error = QString::fromLocal8Bit(out + proc_.readAllStandardError());
        stop();
        return false;
    }
    port_ = line.mid(5).toInt();
    while (!deadline.hasExpired()) {
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), quint16(port_));
        if (s.waitForConnected(500)) return true;
        QThread::msleep(50);
    }
    if (error) *error = QStringLiteral("server did not listen");
    stop();
    return false;
}

void FtpServer::stop() {
    if (proc_.state() != QProcess::NotRunning) {
        proc_.kill();
        proc_.waitForFinished(5000);
    }
}

QStringList FtpServer::commands() const {
    QFile f(work_.filePath(QStringLiteral("commands.log")));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
