#include "students/SMSHistory.h"

#include "platform/settings/Registry.h"
#include "platform/ui/Browser.h"
#include "platform/ui/FormRegistry.h"
#include "van/C101B01.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace SmsPages {

namespace {
QString host(const char* env, const char* builtIn) {
    QString h = qEnvironmentVariable(env);
    if (h.isEmpty()) h = QString::fromLatin1(builtIn);
    while (h.endsWith(QLatin1Char('/')))
        h.chop(1);
    return h;
}
QString enc(const QString& v) {
    return QString::fromLatin1(QUrl::toPercentEncoding(v));
}
} // namespace

QString historyUrl(const QString& company, const QString& password) {
    return host("ZQ_SMS_WEB_URL", "https://webbank.torva.co.kr") +
           QStringLiteral("/PLIX/login_proc_sms.jsp?login_id=") + enc(company) +
           QStringLiteral("&login_pwd=") + enc(password);
}

QString noteUrl() {
    return host("ZQ_SMS_NOTE_URL", "http://www.torva.co.kr") + QStringLiteral("/popup/pu080908.htm");
}

} // namespace SmsPages

namespace {

const FormRegistrar g_history(FormEntry{
    QStringLiteral("SMSHistory"), QStringLiteral("문자메세지 내역"), FormEntry::Mode::WorkWindow,
    [](QWidget* parent) -> QWidget* { return new TfrmSMSHistory(parent); }});
const FormRegistrar g_note(FormEntry{QStringLiteral("SMSnote"), QStringLiteral("공지"),
                                     FormEntry::Mode::Dialog,
                                     [](QWidget* parent) -> QWidget* { return new TfrmSMSnote(parent); }});

QLabel* linkLabel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::TextBrowserInteraction);
    l->setWordWrap(true);
    return l;
}

} // namespace

TfrmSMSHistory::TfrmSMSHistory(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("문자메세지 내역조회"));
    auto* lay = new QVBoxLayout(this);
    vBrowser = linkLabel(this);
    vBrowser->setText(QStringLiteral("문자메세지 내역은 웹 브라우저에서 조회합니다."));
    lay->addWidget(vBrowser);
    lay->addStretch();
    auto* btns = new QHBoxLayout;
    BtnOpen = new QPushButton(QStringLiteral("조회"), this);
    BtnClose = new QPushButton(QStringLiteral("닫기"), this);
    btns->addStretch();
    btns->addWidget(BtnOpen);
    btns->addWidget(BtnClose);
    lay->addLayout(btns);
    connect(BtnOpen, &QPushButton::clicked, this, &TfrmSMSHistory::FormActivate);
    connect(BtnClose, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
}

void TfrmSMSHistory::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Once per showing: the browser taking the focus and giving it back
    // would otherwise log in again at every return.
    if (opened_) return;
    opened_ = true;
    // The main window shows a work window before it maximizes it: the log-in
    // waits until the window stands at its final size.
    QMetaObject::invokeMethod(this, &TfrmSMSHistory::FormActivate, Qt::QueuedConnection);
}

void TfrmSMSHistory::FormActivate() {
    const QString key = QStringLiteral("SchoolInfo");
    // A missing UxAut means log-in off.
    const int uxAut = Registry::readInteger(key, QStringLiteral("UxAut")).value_or(0);
    QString company = Registry::readString(key, QStringLiteral("SchCode"));
    QString password = Registry::readString(key, QStringLiteral("UxPwd"));
    if (uxAut != 1) {
        QString c, p;
        if (AskVanLogIn(this, &c, &p)) {
            company = c.trimmed();
            password = p.trimmed();
        }
    }
    Browser::open(SmsPages::historyUrl(company, password), this);
}

TfrmSMSnote::TfrmSMSnote(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("공지"));
    auto* lay = new QVBoxLayout(this);
    vBrowser = linkLabel(this);
    const QString url = SmsPages::noteUrl();
    vBrowser->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()));
    connect(vBrowser, &QLabel::linkActivated, this,
            [this](const QString& link) { Browser::open(link, this); });
    lay->addWidget(vBrowser);
    resize(360, 100);
}

void TfrmSMSnote::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (opened_) return;
    opened_ = true;
    Browser::open(SmsPages::noteUrl(), this);
}
