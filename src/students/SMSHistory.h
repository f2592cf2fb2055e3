#pragma once
#include <QDialog>
#include <QWidget>

class QLabel;
class QPushButton;

// The maker's web pages of the SMS service, opened in the desktop's browser.
namespace SmsPages {
// The history page with the log-in in its address; every value is
// percent-encoded. The host is the maker's web-banking host (ZQ_SMS_WEB_URL
// points it elsewhere).
QString historyUrl(const QString& company, const QString& password);
// The SMS notice page (ZQ_SMS_NOTE_URL points it elsewhere).
QString noteUrl();
} // namespace SmsPages

// "문자메세지 내역조회": logs in to the maker's SMS history page.
class TfrmSMSHistory : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSMSHistory(QWidget* parent = nullptr);
    // Reads the log-in (asking when log-in is off) and opens the page.
    void FormActivate();

    QLabel* vBrowser = nullptr;
    QPushButton* BtnOpen = nullptr;
    QPushButton* BtnClose = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool opened_ = false;
};

// "공지": the SMS notice page after the notice dialog on the first paint.
class TfrmSMSnote : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSMSnote(QWidget* parent = nullptr);
    QLabel* vBrowser = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool opened_ = false;
};
