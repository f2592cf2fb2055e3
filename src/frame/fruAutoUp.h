#pragma once
#include <QDialog>

class AutoUpdate;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The small window that downloads the new program file and shows its
// progress. It ends (done) when the transfer ends, fails or is cancelled.
class TfrmAutoUp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAutoUp(AutoUpdate& update, QWidget* parent = nullptr);
    ~TfrmAutoUp() override;

    QProgressBar* vProgressBar = nullptr;
    QLabel* vMessage = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdAutoUp = nullptr;
    QTimer* vTime = nullptr;

    int Step = 0;
    bool Done = false;
    qint64 ByteCount = 0;
    QString ExeFolder;

    // Outcome of the download, read by RunUpdateWindow.
    bool Installed = false;
    bool ConnectFailed = false;
    QString Error;

    void FormCreate();
    void cmdAutoUpClick();
    void vTimeTimer();
    void vHTTPWorkBegin(qint64 size);
    void vHTTPWork(qint64 bytes);
    void vHTTPWorkEnd();
    void cmdCancelClick();

signals:
    void finishedWork();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void setDone();
    AutoUpdate& update_;
    bool cancelled_ = false;
    bool begun_ = false;
};

// Shows the update window and waits until it is done. True when the new
// program file was downloaded whole and is in place; a failure has been
// reported to the user then.
bool RunUpdateWindow(AutoUpdate& update);
