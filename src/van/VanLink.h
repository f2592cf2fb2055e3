#pragma once
#include "van/VanSession.h"

#include <QObject>
#include <QTimer>

class QTcpSocket;

// The socket side of a VAN session on the main thread. Frames are cut at
// exactly 1046 bytes and handed to the session one at a time; a frame that
// arrives while one is being handled (a box or dialog is open) waits in the
// socket until the handler has returned. No frame for the read time-out
// ends the session; the wait of a running handler does not count.
class VanLink : public QObject, public VanTransport {
    Q_OBJECT
public:
    explicit VanLink(QObject* parent = nullptr);
    ~VanLink() override;

    void setSession(TVanSession* s) { session_ = s; }
    void setReadTimeout(int ms) { timeoutMs_ = ms; }
    int readTimeout() const { return timeoutMs_; }

    // Starts connecting; connected() or connectFailed() follows.
    void connectTo(const QString& host, quint16 port);
    bool isConnecting() const;

    bool isConnected() const override;
    void send(const QByteArray& bytes) override;
    void startReading() override;
    void close() override;
    // Closes without telling the session (the window is going away).
    void closeSilently();

signals:
    void connectFailed(const QString& error);

private:
    void onConnected();
    void onDisconnected();
    void onError();
    void pump();
    void fail();

    TVanSession* session_ = nullptr;
    QTcpSocket* socket_;
    QTimer timer_;
    QByteArray buf_;
    int timeoutMs_;
    bool connected_ = false;
    bool reading_ = false;
    bool handling_ = false;
    bool peerGone_ = false;
};
