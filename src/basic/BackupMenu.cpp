#include "basic/BackupMenu.h"

#include "basic/DataBackup.h"
#include "data/DMModule.h"
#include "platform/net/FtpUpload.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Msg.h"
#include "shared/MainHooks.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QVBoxLayout>

#include <memory>

namespace BackupMenu {

namespace {

const QString kBackupFailed = QStringLiteral("데이터가 백업되지 않았습니다.");

// The upload's progress panel over the main window: the zip steps and the
// bytes sent.
class PnlFtp : public QFrame {
public:
    explicit PnlFtp(QWidget* parent) : QFrame(parent) {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        auto* l = new QVBoxLayout(this);
        LblFtp = new QLabel(this);
        GBarZip = new QProgressBar(this);
        GaugeBar = new QProgressBar(this);
        l->addWidget(LblFtp);
        l->addWidget(GBarZip);
        l->addWidget(GaugeBar);
        GBarZip->setRange(0, 4);
        GBarZip->setValue(0);
        GaugeBar->setRange(0, 100);
        GaugeBar->setValue(0);
        resize(420, 110);
        if (parent) move((parent->width() - width()) / 2, (parent->height() - height()) / 2);
    }
    void setText(const QString& t) {
        LblFtp->setText(t);
        pump();
    }
    void pump() {
        if (isVisible()) QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    QLabel* LblFtp;
    QProgressBar* GBarZip;
    QProgressBar* GaugeBar;
};

bool askWorkProtection(QWidget* parent, const QString& caption, bool variant) {
    return Msg::show(caption, workProtectionText(variant), MsgIcon::Question, MsgButtons::YesNo, parent) ==
           MsgResult::Yes;
}

void ConnectFtp(QWidget* parent, PnlFtp* panel, bool* ok) {
    const QString key = QStringLiteral("Ftp");
    const QString code = DMLib->FSchCode;
    const QString package = DMLib->dir(QStringLiteral("databack")) + DataBackup::packageName(code);
    bool portOk = false;
    FtpUpload::Settings s;
    s.host = Registry::readString(key, QStringLiteral("Address"));
    s.port = Registry::readString(key, QStringLiteral("PortNo")).trimmed().toInt(&portOk);
    s.user = Registry::readString(key, QStringLiteral("LoginNm"));
    s.password = Registry::readString(key, QStringLiteral("Passwd"));
    s.timeoutMs = kFtpTimeoutMs;
    if (!Registry::keyExists(key) || !portOk) {
        Msg::error(QStringLiteral("전송실패"), QStringLiteral("자료전송 FTP 연결을 실패했습니다!!"), parent);
        return;
    }
    auto progress = [panel](qint64 sent, qint64 total) {
        if (!panel) return;
        panel->GaugeBar->setMaximum(int(qMin<qint64>(total, INT_MAX)));
        panel->GaugeBar->setValue(int(qMin<qint64>(sent, INT_MAX)));
        panel->pump();
    };
    const FtpUpload::Result r = FtpUpload::put(s, {QStringLiteral("somaris"), QStringLiteral("data")},
                                               package, DataBackup::packageName(code), progress);
    switch (r.failedAt) {
    case FtpUpload::Stage::None:
        Msg::info(QStringLiteral("전송성공"), QStringLiteral("데이터 전송이 완료되었습니다!!"), parent);
        DMLib->WriteJobLog(QStringLiteral("자료전송"),
                           QStringLiteral("[자료전송] TORVA으로 백업데이터전송 ") +
                               DataBackup::packageName(code));
        *ok = true;
        break;
    case FtpUpload::Stage::Connect:
        Msg::error(QStringLiteral("전송실패"), QStringLiteral("자료전송 FTP 연결을 실패했습니다!!"), parent);
        Msg::error(QStringLiteral("연결실패"), QStringLiteral("FTP 연결이 실패하였습니다!!"), parent);
        break;
    case FtpUpload::Stage::Folder:
    case FtpUpload::Stage::Store:
        Msg::error(QStringLiteral("FTP Error"), QStringLiteral("업데이트중 오류 발생!!"), parent);
        break;
    case FtpUpload::Stage::Transfer:
        Msg::error(QStringLiteral("FTP Error"), r.error, parent);
        break;
    }
}

// The main window's hooks: the backups on closing and the two tool items.
const bool g_hooked = [] {
    MainHooks& h = mainHooks();
    h.backupOnClose = [](QWidget* parent, bool backupFirst) {
        if (backupFirst) MnuT102B00Click(parent);
        MonthlyBackup();
    };
    h.menuActions.insert(QStringLiteral("MnuT102B00"), [](QWidget* parent) { MnuT102B00Click(parent); });
    h.menuActions.insert(QStringLiteral("MnuT104B00"), [](QWidget* parent) { MnuT104B00Click(parent); });
    return true;
}();

} // namespace

QString workProtectionText(bool variant) {
    return (variant ? QStringLiteral("이 작업을 진행하려면 현재 열려있는 창을 모드 닫아야 합니다. ")
                    : QStringLiteral("이 작업을 진행하려면 현재 열려있는 창을 모두 닫아야 합니다. ")) +
           QStringLiteral("\r\r파일 송수신중이거나 다른작업을 진행중이라면 \"아니오\"를 클릭하세요.");
}

void closeAllChildren(QWidget* mainWindow) {
    if (!mainWindow) return;
    for (QMdiArea* a : mainWindow->findChildren<QMdiArea*>())
        for (QMdiSubWindow* w : a->subWindowList())
            w->close();
}

bool MnuT102B00Click(QWidget* mainWindow) {
    if (!askWorkProtection(mainWindow, QStringLiteral("작업보호"), false)) return false;
    closeAllChildren(mainWindow);
    QString archive, error;
    // The external copy is made before the log row, so a failed copy is
    // never logged as a backup.
    const bool ok = DataBackup::makeBackup(
        &archive, &error, QStringLiteral("자료백업"), QStringLiteral("[백업] 자료백업"),
        [&archive](const QString& made, QString* err) {
            if (DataBackup::copyToExternal(made, DataBackup::externalFolder(), err, QFileInfo(archive).fileName()))
                return true;
            if (err) *err = QStringLiteral("외부 백업 폴더에 복사하지 못했습니다: %1").arg(*err);
            return false;
        });
    if (!ok) {
        Msg::error(QStringLiteral("백업실패"), kBackupFailed + QLatin1Char('\r') + error, mainWindow);
        return false;
    }
    Msg::info(QStringLiteral("백업완료"),
              DMLib->dir(QStringLiteral("databack")) + QStringLiteral("으로 백업되었습니다."), mainWindow);
    return true;
}

void MonthlyBackup() {
    const QString folder = DataBackup::externalFolder();
    if (DataBackup::hasBackupOfMonth(folder, Clock::today())) return;
    QString archive;
    if (DataBackup::makeBackup(&archive)) DataBackup::copyToExternal(archive, folder);
}

bool MnuT104B00Click(QWidget* mainWindow) {
    if (!askWorkProtection(mainWindow, QStringLiteral("자료전송"), true)) return false;
    closeAllChildren(mainWindow);
    std::unique_ptr<PnlFtp> panel;
    if (mainWindow) {
        panel = std::make_unique<PnlFtp>(mainWindow);
        panel->show();
        panel->raise();
    }
    auto setText = [&](const QString& t) {
        if (panel) panel->setText(t);
    };
    setText(QStringLiteral("데이터 압축중입니다. 잠시만 기다려 주십시요!!!"));
    DataBackup::trimBackupFolder(19);
    QString package, error;
    const bool made = DataBackup::makeUploadPackage(&package, &error, [&](int n) {
        if (!panel) return;
        panel->GBarZip->setValue(n);
        panel->pump();
    });
    if (!made) {
        panel.reset();
        Msg::error(QStringLiteral("백업실패"), kBackupFailed + QLatin1Char('\r') + error, mainWindow);
        return false;
    }
    setText(QStringLiteral("파일전송중입니다. 잠시만 기다려 주십시요!!!"));
    bool ok = false;
    ConnectFtp(mainWindow, panel.get(), &ok);
    return ok;
}

} // namespace BackupMenu
