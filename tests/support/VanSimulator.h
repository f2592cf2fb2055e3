#pragma once
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The VAN operator simulator (van_sim.py) as a child process on 127.0.0.1
// and a free port, with a key pair of its own: its public key is written into
// a temporary folder and ZQ_VAN_PUBKEY points at it while it runs. Every
// message it receives and sends is kept in a transcript.
class VanSimulator {
public:
    VanSimulator() = default;
    ~VanSimulator();

    // Starts the simulator with extra options (see van_sim.py --help).
    bool start(const QStringList& options = {});
    void stop();

    quint16 port() const { return port_; }
    QString publicKeyPath() const;
    QString dir() const { return dir_.path(); }

    // The transcript: {"dir": "recv"/"sent"/"closed", fields...}.
    QList<QJsonObject> transcript() const;
    // The messages of one direction with this JobCode.
    QList<QJsonObject> messages(const QString& dir, const QString& jobCode = {}) const;
    // Waits (running the event loop) until the connection has been closed
    // n times in total.
    bool waitClosed(int n = 1, int ms = 5000) const;

    static QString python();
    static QString scriptPath();

private:
    QTemporaryDir dir_;
    QProcess proc_;
    quint16 port_ = 0;
    QByteArray oldKeyEnv_;
    bool running_ = false;
};
