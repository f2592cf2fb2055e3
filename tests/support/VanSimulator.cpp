#include "support/VanSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QThread>

VanSimulator::~VanSimulator() {
    stop();
}

QString VanSimulator::python() {
    // Debian's interpreter carries python3-cryptography; prefer it over any
    // other python3 on the path.
    if (QFileInfo::exists(QStringLiteral("/usr/bin/python3"))) return QStringLiteral("/usr/bin/python3");
    return QStringLiteral("python3");
}

QString VanSimulator::scriptPath() {
    return QStringLiteral(ZQ_TEST_SOURCE_DIR "/support/van_sim.py");
}

QString VanSimulator::publicKeyPath() const {
    return dir_.filePath(QStringLiteral("van_pub.pem"));
}

bool VanSimulator::start(const QStringList& options) {
    stop();
    QStringList args{scriptPath(), QStringLiteral("--public-key"), publicKeyPath(),
                     QStringLiteral("--transcript"), dir_.filePath(QStringLiteral("transcript.jsonl"))};
    args += options;
    proc_.setProcessChannelMode(QProcess::SeparateChannels);
    proc_.start(python(), args);
    if (!proc_.waitForStarted(10000)) return false;
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains('\n') && t.elapsed() < 20000) {
        if (!proc_.waitForReadyRead(200) && proc_.state() != QProcess::Running) break;
        out += proc_.readAllStandardOutput();
    }
    const QByteArray line = out.left(out.indexOf('\n')).trimmed();
    if (!line.startsWith("PORT ")) {
        proc_.kill();
        proc_.waitForFinished();
        qWarning("van simulator did not start: %s", proc_.readAllStandardError().constData());
        return false;
    }
    port_ = quint16(line.mid(5).toUInt());
    oldKeyEnv_ = qgetenv("ZQ_VAN_PUBKEY");
    qputenv("ZQ_VAN_PUBKEY", publicKeyPath().toLocal8Bit());
    running_ = true;
    return true;
}

void VanSimulator::stop() {
    if (proc_.state() != QProcess::NotRunning) {
        proc_.kill();
        proc_.waitForFinished(5000);
    }
    if (running_) {
        if (oldKeyEnv_.isEmpty())
            qunsetenv("ZQ_VAN_PUBKEY");
        else
            qputenv("ZQ_VAN_PUBKEY", oldKeyEnv_);
        running_ = false;
    }
}

QList<QJsonObject> VanSimulator::transcript() const {
    QList<QJsonObject> out;
    QFile f(dir_.filePath(QStringLiteral("transcript.jsonl")));
    if (!f.open(QIODevice::ReadOnly)) return out;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.trimmed().isEmpty()) out << QJsonDocument::fromJson(line).object();
    return out;
}

QList<QJsonObject> VanSimulator::messages(const QString& dir, const QString& jobCode) const {
    QList<QJsonObject> out;
    for (const QJsonObject& o : transcript())
        if (o.value(QStringLiteral("dir")).toString() == dir && o.contains(QStringLiteral("JobCode")) &&
            (jobCode.isEmpty() || o.value(QStringLiteral("JobCode")).toString() == jobCode))
            out << o;
    return out;
}

bool VanSimulator::waitClosed(int n, int ms) const {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        int closed = 0;
        for (const QJsonObject& o : transcript())
            if (o.value(QStringLiteral("dir")).toString() == QLatin1String("closed")) ++closed;
        if (closed >= n) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return false;
}
