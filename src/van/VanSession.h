#pragma once
#include "platform/crypto/RsaSeed.h"
#include "van/VanMsg.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTimer>

// What the session needs of its connection.
class VanTransport {
public:
    virtual ~VanTransport() = default;
    virtual bool isConnected() const = 0;
    // One frame, written whole.
    virtual void send(const QByteArray& bytes) = 0;
    // Starts reading 1046-byte frames (after the key frame goes out).
    virtual void startReading() = 0;
    // Stops reading and closes; the session's disconnected() follows once.
    virtual void close() = 0;
};

enum class VanColor { Blue, Red };

// What the session needs of its window (or of the driver).
class VanSessionHost {
public:
    virtual ~VanSessionHost() = default;
    virtual void vanStatus(const QString& text, VanColor color) = 0;
    virtual void vanLog(const QString& line) = 0;
    virtual void vanClearLog() = 0;
    // The log-in dialog: true on OK, with the company code and password as
    // entered (trimmed).
    virtual bool vanAskLogIn(QString* compCd, QString* password) = 0;
    virtual void vanLoggedOn() = 0;
    virtual void vanLoggedOff() = 0;
    virtual void vanDisconnected() = 0;
    virtual void vanHideTransferPanel() {}
    // The entries of a file list or notice list block.
    virtual void vanListEntries(const QByteArray& jobCode, const QList<QByteArray>& entries) {
        Q_UNUSED(jobCode);
        Q_UNUSED(entries);
    }
    // Messages of the file exchanges (upload, download, notices, password
    // change). Handled: the host took it; Unknown: nobody expects it;
    // Failed: it broke the session.
    enum class Exchange { Handled, Unknown, Failed };
    virtual Exchange vanExchange(const TVanMsg& msg) {
        Q_UNUSED(msg);
        return Exchange::Unknown;
    }
    // A host with a dispatcher of its own (the log-in settings dialog)
    // takes every reply but the log-on's and the log-off's here; true when
    // it took it, and the session does nothing more with it.
    virtual bool vanDispatch(const TVanMsg& msg) {
        Q_UNUSED(msg);
        return false;
    }
    // A host that reports these itself returns true: the session then
    // shows no box of its own (the SMS upload has its own texts).
    virtual bool vanKeyRefused() { return false; }
    virtual bool vanResponseError(const TVanMsg& msg, int code) {
        Q_UNUSED(msg);
        Q_UNUSED(code);
        return false;
    }
    // A file list (FileListData) or notice list (NoticeListData) is
    // complete: no block followed the last acknowledgement.
    virtual void vanListComplete(const QByteArray& jobCode) { Q_UNUSED(jobCode); }
    // Every message sent and every message received, decoded.
    virtual void vanSent(const TVanMsg& msg) { Q_UNUSED(msg); }
    virtual void vanReceived(const TVanMsg& msg) { Q_UNUSED(msg); }
};

// The client side of one VAN connection: key exchange, log-on, the frame
// handler with its dispatcher and response codes, the sender and log-off.
// It takes frames and gives frames; the window (or a test) wires the socket.
class TVanSession {
public:
    enum class State { Disconnected, KeyExchange, WaitingLogOn, LoggingOn, LoggedOn, LoggingOff };

    TVanSession(VanSessionHost* host, VanTransport* transport);

    // The settings read when the window is made.
    QString FRegSchCode;
    int FRegUxAut = 0;
    QString FRegUxPwd;

    VanMsgBuilder builder; // SessionCompCd, MachineId, ProgVersion
    // The SMS upload logs on with its own message.
    bool smsLogOn = false;
    // The session window tells the user of every disconnect; the SMS upload
    // reports its own outcome instead.
    bool announceDisconnect = true;
    RsaSeed& cipher() { return seed_; }
    State state() const { return state_; }

    // On the TCP connect: the key frame. False when no session key could be
    // made (the box has been shown and the connection closed).
    bool startKeyExchange();

    // One 1046-byte frame from the server. False when the session must end
    // as on a read failure (a body that does not decrypt, a code or count
    // that is not a number, a message nobody expects).
    bool handleFrame(const QByteArray& frame);

    // The read failed (time-out, peer closed, socket error) or the frame
    // handler failed: the session ends.
    void readFailed();
    // The connection is gone, by whichever road.
    void disconnected();

    // The sender: logs, encrypts and writes one message. False when there
    // is no connection or no session key. While a list is still coming, a
    // new request waits until the list is complete.
    bool SendVanMsg(const TVanMsg& msg);

    // A list comes in blocks, each acknowledged, and the operator sends no
    // end mark (the block size is the operator's choice): the list is over
    // when no block follows an acknowledgement for this long.
    void setListQuietMs(int ms) { listQuiet_.setInterval(ms); }
    bool listOpen() const { return listOpen_; }

    void LogOn(const QString& password);
    void LogOff();

    // Reads the settings of SchoolInfo and the program version and machine
    // id into the builder.
    void LoadSettings();

private:
    void startLogOn();
    bool responseError(const TVanMsg& msg);
    bool dispatch(const TVanMsg& msg);
    void stop();
    void openList(const QByteArray& dataJob);
    void closeList(bool complete);

    VanSessionHost* host_;
    bool listOpen_ = false;
    QByteArray listJob_;
    QTimer listQuiet_;
    QList<TVanMsg> held_;
    VanTransport* transport_;
    RsaSeed seed_;
    State state_ = State::Disconnected;
};

// Delay of the frame reads: 290 s, or $ZQ_VAN_READ_TIMEOUT_MS.
int VanDefaultReadTimeoutMs();
// Quiet time that ends a list: 2 s, or $ZQ_VAN_LIST_QUIET_MS.
int VanDefaultListQuietMs();
