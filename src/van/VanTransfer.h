#pragma once
#include "van/SendList.h"
#include "van/VanSession.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The session window's list as the file exchanges read and mark it: rows
// from 0 (the first row below the header), one of the three layouts told
// apart by the column count (10 file list, 9 send list, 5 notices).
class VanGrid {
public:
    virtual ~VanGrid() = default;
    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;
    virtual QString cell(int row, int col) const = 0;
    virtual void setCell(int row, int col, const QString& text) = 0;
    virtual void setRowCount(int rows) = 0;
    virtual void setCurrentRow(int row) { Q_UNUSED(row); }

    bool marked(int row, int col) const;
    void toggleMark(int row, int col);
    // Appends a row: the empty first row is used first.
    void appendRow(const QStringList& cells);
};

// A grid without a window (the driver, the benchmark, tests).
class VanRowTable : public VanGrid {
public:
    explicit VanRowTable(int columns = 10) { reset(columns); }
    void reset(int columns);
    int columnCount() const override { return columns_; }
    int rowCount() const override { return int(rows_.size()); }
    QString cell(int row, int col) const override;
    void setCell(int row, int col, const QString& text) override;
    void setRowCount(int rows) override;
    void setCurrentRow(int row) override { current_ = row; }
    int currentRow() const { return current_; }

private:
    int columns_ = 10;
    int current_ = -1;
    QList<QStringList> rows_;
};

// What the exchanges need of the window besides its list.
class VanTransferHost {
public:
    virtual ~VanTransferHost() = default;
    virtual void xferLabel(const QString& text) = 0; // LblFtp
    virtual void xferShowPanel(int maximum) = 0;     // PnlFtp shown, the bar at 0
    virtual void xferProgress(int value) = 0;        // the bar
    virtual void xferHidePanel() = 0;                // PnlFtp hidden
    virtual void xferStatus(const QString& text, VanColor color) = 0;
    virtual void xferSchedule(bool upload) = 0;           // enable TmrSnd (upload) or TmrRecv
    virtual void xferShowNotice(const QString& path) = 0; // the notice viewer
    // A file the operator confirmed, and a file placed in recv.
    virtual void xferSent(const QString& fileName) { Q_UNUSED(fileName); }
    virtual void xferReceived(const QString& path, int count) {
        Q_UNUSED(path);
        Q_UNUSED(count);
    }
};

// The cells of a file-list row and of a notice row from their entries.
QStringList VanFileListCells(const QByteArray& entry);
QStringList VanNoticeCells(const QByteArray& entry);
// Appends the entries of a list block to the grid.
void VanAppendListRows(VanGrid& grid, const QByteArray& jobCode, const QList<QByteArray>& entries);

// The file exchanges of a session: the upload run of the ticked request
// files, the download run of result files and notices, and the password
// change. Each step answers a server message; the runs step from file to
// file through the host's timers.
class TVanTransfer {
public:
    TVanTransfer(TVanSession& session, VanGrid& grid, VanTransferHost& host, SendFolderState& sendState);
    ~TVanTransfer();

    // 파일송신: false (after its box) when no row is ticked.
    bool BBtnFileSndClick();
    // One step of the upload run.
    void TmrSndTimer();
    // 파일수신 and 공지파일수신: false (after their box) when no row is ticked.
    bool BBtnFileRecvClick();
    bool BBtnGongjiFileClick();
    // One step of the download run.
    void TmrRecvTimer();
    // 암호변경 after the dialog: false (after its box) when the new password
    // and its confirmation differ; otherwise the request goes out.
    bool ChangePassword(const QString& current, const QString& next, const QString& confirm);

    // A server message of the exchanges (the session's vanExchange).
    VanSessionHost::Exchange handle(const TVanMsg& msg);
    // An error response or the loss of the connection: the run stops where
    // it is; a file being uploaded stays in send unstamped, a download being
    // written is dropped.
    void abort();

    // A run is going on (started and not yet ended).
    bool running() const { return running_; }
    // The file being uploaded, empty when none.
    QString busyFile() const;

    int SendRow = 0;
    int RecvRow = 0;
    bool FSendDone = false;
    int RecvCount = 0;
    QString FRecvFileName; // the result file being received (its place in recv)

private:
    enum class Step { Idle, UpStart, UpBlocks, UpEnd, DownFirst, DownBlocks, NoticeFirst, NoticeBlocks };

    VanSessionHost::Exchange uploadStart(const TVanMsg& msg);
    VanSessionHost::Exchange uploadBlock(bool first, const QByteArray& receiver, const QByteArray& bizKind);
    VanSessionHost::Exchange uploadDone();
    VanSessionHost::Exchange downloadFirst(const TVanMsg& msg);
    VanSessionHost::Exchange downloadBlock(const TVanMsg& msg);
    VanSessionHost::Exchange downloadEnd(const TVanMsg& msg);
    VanSessionHost::Exchange noticeBlock(const TVanMsg& msg, bool first);
    VanSessionHost::Exchange noticeEnd();
    bool writeRecords(const TVanMsg& msg, bool progress);
    QString freeResultName(const QString& sender, const QString& receiver, const QString& type) const;
    void dropDownload();
    void stopRun();
    QString cell(int row, int col) const { return grid_.cell(row, col); }

    TVanSession& session_;
    VanGrid& grid_;
    VanTransferHost& host_;
    SendFolderState& sendState_;
    bool running_ = false;
    Step step_ = Step::Idle;

    // Upload of one file.
    QString upName_;
    QList<QByteArray> upLines_;
    int upRecLen_ = 0;
    int upLinesRead_ = 0;
    int upBlockNo_ = 0;
    QList<QByteArray> upBlockData_;

    // Download of one file.
    std::unique_ptr<QFile> down_;
    QString downTarget_;
    // The list row being fetched (bank, type, date, sequence): the list may
    // be asked for again meanwhile.
    QStringList downRow_;
    QStringList listRow(int row) const;
};
