#include "basic/H102B00.h"

#include "platform/settings/IniFile.h"
#include "platform/sys/Clock.h"
#include "platform/sys/System.h"
#include "platform/ui/Browser.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "shared/MainHooks.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <memory>

namespace NoticeState {

QString defaultIniPath() {
    return System::exeFolder() + QStringLiteral("pop.ini");
}

bool dismissedToday(const QString& iniPath) {
    IniFile f(iniPath);
    f.load();
    const QString v = f.value(QStringLiteral("PopUp"), QStringLiteral("notice")).trimmed();
    return !v.isEmpty() && v == Clock::todayText();
}

bool dismissToday(const QString& iniPath) {
    IniFile f(iniPath);
    f.load();
    f.setValue(QStringLiteral("PopUp"), QStringLiteral("notice"), Clock::todayText());
    return f.save();
}

QString pageUrl() {
    // The maker's web server, or the host ZQ_NOTICE_URL names.
    QString host = qEnvironmentVariable("ZQ_NOTICE_URL");
    if (host.trimmed().isEmpty()) host = QStringLiteral("http://www.torva.co.kr");
    host = host.trimmed();
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host + QStringLiteral("/view/school.php");
}

} // namespace NoticeState

namespace {

// The first paint of the main window: the notice page, then the SMS notice,
// unless both were dismissed for today.
const bool g_hooked = [] {
    mainHooks().showNotices = [](QWidget* parent) {
        if (NoticeState::dismissedToday(NoticeState::defaultIniPath())) return;
        {
            TfrmH102B00 dlg(parent);
            Modal::exec(&dlg);
        }
        if (const FormEntry* e = FormRegistry::find(QStringLiteral("SMSnote")); e && e->create) {
            std::unique_ptr<QWidget> w(e->create(parent));
            if (auto* d = qobject_cast<QDialog*>(w.get())) Modal::exec(d);
        }
    };
    return true;
}();

} // namespace

TfrmH102B00::TfrmH102B00(QWidget* parent, const QString& iniPath) : QDialog(parent), iniPath_(iniPath) {
    setWindowTitle(QStringLiteral("공지사항보기"));
    const QString url = NoticeState::pageUrl();
    vBrowser = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()), this);
    vBrowser->setTextFormat(Qt::RichText);
    vBrowser->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(vBrowser, &QLabel::linkActivated, this, [](const QString& link) { Browser::open(link); });
    chkToday = new QCheckBox(QStringLiteral("오늘 그만 보기"), this);
    cmdClose = new QPushButton(QStringLiteral("닫기"), this);
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdCloseClick(); });
    resize(420, 160);
}

void TfrmH102B00::FormActivate() {
    // The page opens once per showing, not at every activation: the browser
    // window taking the focus and giving it back would open it again.
    if (opened_) return;
    opened_ = true;
    Browser::open(NoticeState::pageUrl());
}

void TfrmH102B00::cmdCloseClick() {
    if (chkToday->isChecked() && !NoticeState::dismissToday(iniPath_))
        Msg::error(QStringLiteral("오류"), QStringLiteral("%1 파일을 쓸 수 없습니다.").arg(iniPath_), this);
    accept();
}

void TfrmH102B00::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormActivate();
}

void TfrmH102B00::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    vBrowser->setGeometry(10, 10, width() - 20, 40);
    chkToday->adjustSize();
    chkToday->move(10, height() - chkToday->height() - 45);
    cmdClose->adjustSize();
    cmdClose->move(width() - cmdClose->width() - 15, height() - cmdClose->height() - 40);
}
