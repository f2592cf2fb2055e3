#pragma once
#include "van/VanLink.h"
#include "van/VanSession.h"
#include "van/VanTransfer.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

// The three layouts of the session window's list, told apart by their
// column count, and how their cells are shown.
namespace C101Grid {
enum Layout { FileList = 10, SendList = 9, NoticeList = 5 };
const QString& Mark(); // "◎"
int markColumn(int layout);
QString typeName(const QString& type);
// The name shown for a four-digit bank code ("0010" -> "신농협중앙"); the
// code itself when no bank has it.
QString bankName(const QStringList& lbBnk, const QString& code);
// Text and colour of a painted cell; the raw text for columns not painted.
QString displayText(int layout, int col, const QString& raw, const QStringList& lbBnk);
QColor textColor(int layout, int col, const QString& raw);
} // namespace C101Grid

// 통신(ver2.0): the session with the VAN operator. The window wires the
// socket, the list and the buttons; the protocol lives in TVanSession.
class TFrmC101B00 : public QWidget, public VanSessionHost, public VanTransferHost {
    Q_OBJECT
public:
    explicit TFrmC101B00(QWidget* parent = nullptr);
    ~TFrmC101B00() override;

    QPushButton* BBtnConn;
    QPushButton* BBtnDisConn;
    QPushButton* BBtnAll;
    QPushButton* bbtnSend;
    QPushButton* bbtnRecv;
    QPushButton* BBtnPswd;
    QPushButton* bbtnGongji;
    QPushButton* BBtnSendConf;
    QPushButton* BBtnNong;
    QPushButton* BBtnNongClose;
    QPushButton* BBtnExit;
    QTableWidget* SGrdDataLst;
    QWidget* PnlSendRecv;
    QPushButton* BBtnFileSnd;
    QPushButton* BBtnFileRecv;
    QPushButton* BBtnGongjiFile;
    QWidget* PnlFtp;
    QProgressBar* PBarFtp;
    QLabel* LblFtp;
    QLabel* PnlStatus;
    QPlainTextEdit* Memo;
    QListWidget* LbBnk;
    QComboBox* cboGroup;
    QComboBox* cboFile;
    QTimer* TmrSnd;
    QTimer* TmrRecv;

    TVanSession& session() { return *session_; }
    VanLink& link() { return *link_; }
    TVanTransfer& transfer() { return *transfer_; }
    // The send folder as the listings of this window left it.
    SendFolderState& sendState() { return sendState_; }
    VanGrid& grid() { return *grid_; }

    void BBtnConnClick();
    void BBtnDisConnClick();
    void bbtnSendClick();
    void BBtnFileSndClick();
    void TmrSndTimer();
    void bbtnRecvClick();
    void BBtnSendConfClick();
    void BBtnFileRecvClick();
    void bbtnGongjiClick();
    void BBtnGongjiFileClick();
    void TmrRecvTimer();
    void BBtnPswdClick();
    void BBtnAllClick();
    void BBtnNongClick();
    void BBtnNongCloseClick();
    void ToggleMark(int row);
    void ToggleMemo();

    void ClearGrid();
    void SetLayout(C101Grid::Layout layout);
    int layout() const;
    QString statusText() const;
    bool sessionButtonsEnabled() const;

    // The eight buttons of a logged-on session.
    QList<QPushButton*> sessionButtons() const;

    // VanSessionHost
    void vanStatus(const QString& text, VanColor color) override;
    void vanLog(const QString& line) override;
    void vanClearLog() override;
    bool vanAskLogIn(QString* compCd, QString* password) override;
    void vanLoggedOn() override;
    void vanLoggedOff() override;
    void vanDisconnected() override;
    void vanHideTransferPanel() override;
    void vanListEntries(const QByteArray& jobCode, const QList<QByteArray>& entries) override;
    void vanListComplete(const QByteArray& jobCode) override;
    Exchange vanExchange(const TVanMsg& msg) override;

    // VanTransferHost
    void xferLabel(const QString& text) override;
    void xferShowPanel(int maximum) override;
    void xferProgress(int value) override;
    void xferHidePanel() override;
    void xferStatus(const QString& text, VanColor color) override;
    void xferSchedule(bool upload) override;
    void xferShowNotice(const QString& path) override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void setSessionButtons(bool on);
    void fillGroups();
    // A list request after the date dialog; false when it was cancelled.
    bool requestFileList(const QString& label, const QString& listKind);

    std::unique_ptr<VanLink> link_;
    std::unique_ptr<TVanSession> session_;
    std::unique_ptr<VanGrid> grid_;
    SendFolderState sendState_;
    std::unique_ptr<TVanTransfer> transfer_;
};
