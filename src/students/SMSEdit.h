#pragma once
#include "students/SmsFile.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class SmsSession;

// "문자메세지": one SMS text from a template to the listed parents, written
// into the send file and uploaded to the VAN operator.
class TFrmSMSEdit : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSMSEdit(QWidget* parent = nullptr);
    ~TFrmSMSEdit() override;

    // The recipients, in the caller's order (the roster's listed rows with
    // SMS consent and a mobile number).
    QList<SmsFile::Recipient> SGridSMS;

    QComboBox* cboMsgType = nullptr;
    QPlainTextEdit* MemoMsg = nullptr;
    QPlainTextEdit* MemoMsgResult = nullptr;
    QLabel* LbByte = nullptr;
    QLabel* LbDifCnt = nullptr;
    QLabel* LbSumMsg = nullptr;
    QPushButton* BtnSaveMsg = nullptr;
    QPushButton* BtnVlist = nullptr;
    QPushButton* BtnMsgSample = nullptr;
    QPushButton* BtnNext = nullptr;
    QPushButton* BtnSMSSend = nullptr;
    QPushButton* BtnClose = nullptr;
    QWidget* PnlFtp = nullptr;
    QProgressBar* PBarFtp = nullptr;

    // The memo's text as the template holds it (line breaks as CR LF).
    QString formText() const;
    void pLoadFormList(const QString& name);
    void pLoadForm(const QString& name);
    QString sApplyForm(int k, const QString& form);
    bool bMakeSmsFile();
    void FormActivate();

    void cboMsgTypeChange();
    void BtnSaveMsgClick();
    void BtnVlistClick();
    void BtnMsgSampleClick();
    void BtnNextClick();
    void BtnSMSSendClick();

    SmsSession* session() const { return session_; }
    int previewIndex() const { return k_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void preview();
    void pConnectVan();

    SmsFile::Days days_;
    QString schoolName_;
    int k_ = 0;
    SmsSession* session_ = nullptr;
};

// The send file's path: send/10981098.SMS under the data root.
QString SmsSendFile();
