#pragma once
#include "van/VanSession.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class VanLink;

// What the dialog makes of a server reply other than the log-on's and the
// log-off's: a status text, nothing, or the box "응답 전문 오류입니다!".
struct LoginSettingsReply {
    enum Kind { Status, Nothing, Error };
    Kind kind = Error;
    QString status; // Status: the status panel's text
};
LoginSettingsReply loginSettingsReply(const QByteArray& jobCode);

// "환경설정" (로그인 환경설정): the automatic log-in switch (SchoolInfo UxAut,
// UxPwd). Switching it on proves the password by a short VAN session of its
// own: key exchange, log-on, log-off.
class TFrmT401B00 : public QDialog, public VanSessionHost {
    Q_OBJECT
public:
    explicit TFrmT401B00(QWidget* parent = nullptr);
    ~TFrmT401B00() override;

    QRadioButton* rdUSE = nullptr;
    QRadioButton* rdNON = nullptr;
    QLineEdit* sleCODE = nullptr;
    QLineEdit* slePWD = nullptr;
    QLabel* txtCODE = nullptr;
    QLabel* txtPWD = nullptr;
    QLabel* txtMsg = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* pnStatus = nullptr;

    void cmdSaveClick();
    void rdUSEClick(int tag);
    VanLink& link() { return *link_; }

    // VanSessionHost
    void vanStatus(const QString& text, VanColor color) override;
    void vanLog(const QString&) override {}
    void vanClearLog() override {}
    bool vanAskLogIn(QString*, QString*) override { return false; }
    void vanLoggedOn() override;
    void vanLoggedOff() override {}
    void vanDisconnected() override;
    bool vanResponseError(const TVanMsg& msg, int code) override;
    bool vanDispatch(const TVanMsg& msg) override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void cmdCheckPwClick();
    QString storedPwd_;
    std::unique_ptr<VanLink> link_;
    std::unique_ptr<TVanSession> session_;
    bool loggingOff_ = false;
    bool saved_ = false;
};
