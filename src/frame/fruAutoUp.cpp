#include "frame/fruAutoUp.h"

#include "frame/AutoUpdate.h"
#include "platform/ui/Msg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

TfrmAutoUp::TfrmAutoUp(AutoUpdate& update, QWidget* parent) : QDialog(parent), update_(update) {
    setWindowTitle(QStringLiteral("지큐스쿨(소마린업그레이드)"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(295, 55);
    setFont(QFont(QStringLiteral("굴림"), 9));

    vProgressBar = new QProgressBar(this);
    vProgressBar->setGeometry(4, 4, 287, 18);
    vProgressBar->setTextVisible(false);
    vMessage = new QLabel(QStringLiteral("업데이트 서버에 연결중입니다..."), this);
    vMessage->setGeometry(4, 28, 287, 20);
    // Kept outside the visible area as in the old window: Esc cancels.
    cmdCancel = new QPushButton(QStringLiteral("취소"), this);
    cmdCancel->setGeometry(110, 70, 75, 25);
    cmdAutoUp = new QPushButton(this);
    cmdAutoUp->setVisible(false);
    vTime = new QTimer(this);
    vTime->setInterval(333);
    vTime->setSingleShot(false);

    connect(cmdCancel, &QPushButton::clicked, this, &TfrmAutoUp::cmdCancelClick);
    connect(cmdAutoUp, &QPushButton::clicked, this, &TfrmAutoUp::cmdAutoUpClick);
    connect(vTime, &QTimer::timeout, this, &TfrmAutoUp::vTimeTimer);
    FormCreate();
}

TfrmAutoUp::~TfrmAutoUp() = default;

void TfrmAutoUp::FormCreate() {
    Step = 3;
    Done = false;
    ExeFolder = update_.ExeFolder;
    cmdAutoUpClick();
}

// The transfer makes its own connection; the timer gives the window time to
// paint before the download blocks in it.
void TfrmAutoUp::cmdAutoUpClick() {
    vTime->start();
}

void TfrmAutoUp::vTimeTimer() {
    if (Step != 3) return;
    vTime->stop();
    Step = 4; // the download runs once
    vMessage->setText(QStringLiteral("파일을 다운로드 합니다."));
    const auto progress = [this](qint64 total, qint64 soFar) {
        if (total > 0 && !begun_) {
            begun_ = true;
            vHTTPWorkBegin(total);
        }
        if (begun_) vHTTPWork(soFar);
        QCoreApplication::processEvents();
        return !cancelled_;
    };
    QString error;
    bool connectFailed = false;
    Installed = update_.FetchProgramFile(progress, &error, &connectFailed);
    if (Installed) {
        vHTTPWorkEnd();
        return;
    }
    if (!cancelled_) {
        Error = error;
        ConnectFailed = connectFailed;
    }
    setDone();
}

void TfrmAutoUp::vHTTPWorkBegin(qint64 size) {
    ByteCount = size;
    vProgressBar->setMinimum(0);
    vProgressBar->setMaximum(int(qMin<qint64>(size, INT_MAX)));
    vProgressBar->setValue(0);
    vMessage->setText(QString::number(size));
}

void TfrmAutoUp::vHTTPWork(qint64 bytes) {
    vProgressBar->setValue(int(qMin<qint64>(bytes, vProgressBar->maximum())));
    const QLocale l(QLocale::Korean, QLocale::SouthKorea);
    vMessage->setText(QStringLiteral("%1/%2 Byte").arg(l.toString(bytes), l.toString(ByteCount)));
    vMessage->repaint();
}

void TfrmAutoUp::vHTTPWorkEnd() {
    vProgressBar->setValue(vProgressBar->maximum());
    QCoreApplication::processEvents();
    setDone();
}

void TfrmAutoUp::cmdCancelClick() {
    cancelled_ = true;
    setDone();
    close();
}

void TfrmAutoUp::setDone() {
    if (Done) return;
    Done = true;
    emit finishedWork();
}

void TfrmAutoUp::closeEvent(QCloseEvent* e) {
    // Closing mid-transfer cancels it; the progress callback sees the flag.
    cancelled_ = cancelled_ || !Done;
    vTime->stop();
    setDone();
    e->accept();
}

void TfrmAutoUp::reject() {
    cmdCancelClick();
}

bool RunUpdateWindow(AutoUpdate& update) {
    bool installed = false;
    QString error;
    bool connectFailed = false;
    {
        TfrmAutoUp w(update);
        w.show();
        w.repaint();
        if (!w.Done) {
            QEventLoop loop;
            QObject::connect(&w, &TfrmAutoUp::finishedWork, &loop, &QEventLoop::quit);
            loop.exec();
        }
        installed = w.Installed;
        error = w.Error;
        connectFailed = w.ConnectFailed;
    }
    QCoreApplication::processEvents();
    if (installed || error.isEmpty()) return installed; // done, or cancelled by the user
    if (connectFailed)
        Msg::show(ProgramTitle, QStringLiteral("업그레이드 서버에 연결할수 없습니다."), MsgIcon::None);
    else
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("업그레이드 파일을 받지 못했습니다.\r%1").arg(error));
    return installed;
}
