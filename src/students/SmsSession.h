#pragma once
#include "van/VanSession.h"

#include <QObject>

class QWidget;

#include <functional>
#include <memory>

class VanLink;

// The SMS upload: one short VAN session that logs on, announces the SMS
// file, sends its lines four to a block, closes the upload and logs off.
// It runs on the main thread through the VAN link; finished() tells the
// outcome, after the boxes and the job-log row.
class SmsSession : public QObject, public VanSessionHost {
    Q_OBJECT
public:
    struct Request {
        QString host;
        quint16 port = 0;
        QString company;
        QString password;
        QString file; // the send file
        int recipients = 0;
        QString formText; // the template as it stood, for the job log
    };

    explicit SmsSession(QObject* parent = nullptr);
    ~SmsSession() override;

    // The server (Communication) and the log-on (SchoolInfo: UxAut, SchCode,
    // UxPwd; a missing UxAut means log-in off, so the log-in dialog asks and
    // a cancel keeps the stored values). False after a box when no server
    // is set.
    static bool readSettings(Request* r, QWidget* parent = nullptr);
    static void readLogOn(Request* r, QWidget* parent = nullptr);
    static bool readServer(Request* r, QWidget* parent = nullptr);

    // Starts the upload; false (after its box) when the file cannot be read.
    bool start(const Request& r);
    bool running() const { return running_; }
    void setReadTimeout(int ms) { readTimeoutMs_ = ms; }

    // Lines sent so far, of all.
    std::function<void(int sent, int total)> onProgress;
    // Every message sent and received (the driver prints them).
    std::function<void(const TVanMsg&, bool sent)> onMessage;

    // The boxes' texts of the operator's reply codes.
    static QString replyText(int code);

signals:
    void finished(bool ok);

private:
    enum class Step { Key, LogOn, Start, Blocks, End, LogOff };

    // VanSessionHost
    void vanStatus(const QString&, VanColor) override {}
    void vanLog(const QString&) override {}
    void vanClearLog() override {}
    bool vanAskLogIn(QString*, QString*) override { return false; }
    void vanLoggedOn() override;
    void vanLoggedOff() override;
    void vanDisconnected() override;
    bool vanKeyRefused() override;
    bool vanResponseError(const TVanMsg& msg, int code) override;
    Exchange vanExchange(const TVanMsg& msg) override;
    void vanSent(const TVanMsg& m) override;
    void vanReceived(const TVanMsg& m) override;

    void sendNextBlock();
    void fail();
    void finish(bool ok);

    Request req_;
    std::unique_ptr<VanLink> link_;
    std::unique_ptr<TVanSession> session_;
    QList<QByteArray> lines_;
    int lineLength_ = 0;
    int perBlock_ = 1;
    int next_ = 0;
    int blockNo_ = 0;
    int readTimeoutMs_ = 0;
    Step step_ = Step::Key;
    bool running_ = false;
};
