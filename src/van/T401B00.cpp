#include "van/T401B00.h"

#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"
#include "van/VanLink.h"
#include "van/VanSettings.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const QString kKey = QStringLiteral("SchoolInfo");
const QString kCaption = QStringLiteral("환경설정");

const FormRegistrar g_reg(FormEntry{QStringLiteral("T401B00"), QStringLiteral("로그인 환경설정"),
                                    FormEntry::Mode::Dialog,
                                    [](QWidget* parent) -> QWidget* { return new TFrmT401B00(parent); }});
} // namespace

TFrmT401B00::TFrmT401B00(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kCaption);
    auto* lay = new QVBoxLayout(this);
    auto* gb = new QGroupBox(QStringLiteral("시작할때 로긴창 띄우기"), this);
    auto* g = new QGridLayout(gb);
    rdUSE = new QRadioButton(QStringLiteral("사용"), gb);
    rdNON = new QRadioButton(QStringLiteral("사용하지 않음"), gb);
    auto* use = new QHBoxLayout;
    use->addWidget(rdUSE);
    use->addWidget(rdNON);
    g->addWidget(new QLabel(QStringLiteral("사용여부"), gb), 0, 0);
    g->addLayout(use, 0, 1);
    txtCODE = new QLabel(QStringLiteral("업체코드"), gb);
    sleCODE = new QLineEdit(gb);
    sleCODE->setMaxLength(4);
    sleCODE->setEnabled(false);
    txtPWD = new QLabel(QStringLiteral("패스워드"), gb);
    slePWD = new QLineEdit(gb);
    slePWD->setMaxLength(10);
    slePWD->setEchoMode(QLineEdit::Password);
    g->addWidget(txtCODE, 1, 0);
    g->addWidget(sleCODE, 1, 1);
    g->addWidget(txtPWD, 2, 0);
    g->addWidget(slePWD, 2, 1);
    txtMsg = new QLabel(QStringLiteral("※ 등록된 없체코드와 패스워드를 입력하세요."), gb);
    g->addWidget(txtMsg, 3, 0, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("[기본등록]-[학교등록]에서 정확히 입력"), gb), 4, 0, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("★ 통신연결 비밀번호를 정확히 입력"), gb), 5, 0, 1, 2);
    lay->addWidget(gb);
    auto* btns = new QHBoxLayout;
    cmdSave = new QPushButton(QStringLiteral("저장"), this);
    cmdClose = new QPushButton(QStringLiteral("닫기"), this);
    for (QPushButton* b : {cmdSave, cmdClose}) {
        b->setAutoDefault(false);
        btns->addWidget(b);
    }
    lay->addLayout(btns);
    pnStatus = new QLabel(this);
    pnStatus->setFrameShape(QFrame::Panel);
    pnStatus->setFrameShadow(QFrame::Sunken);
    lay->addWidget(pnStatus);

    auto* group = new QButtonGroup(this);
    group->addButton(rdUSE, 1);
    group->addButton(rdNON, 0);
    connect(group, &QButtonGroup::idClicked, this, &TFrmT401B00::rdUSEClick);
    connect(cmdSave, &QPushButton::clicked, this, &TFrmT401B00::cmdSaveClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    link_ = std::make_unique<VanLink>();
    session_ = std::make_unique<TVanSession>(this, link_.get());
    session_->announceDisconnect = false;
    link_->setSession(session_.get());
    connect(link_.get(), &VanLink::connectFailed, this, [this](const QString& e) {
        Msg::error(QStringLiteral("오류"), e, this);
        cmdSave->setEnabled(true);
    });

    // Creation.
    VanSettings::resetRecvCounters(Clock::todayText());
    sleCODE->setText(Registry::readString(kKey, QStringLiteral("SchCode")));
    storedPwd_ = Registry::readString(kKey, QStringLiteral("UxPwd"));
    slePWD->setText(storedPwd_);
    // A missing UxAut means log-in off.
    const bool on = Registry::readInteger(kKey, QStringLiteral("UxAut")).value_or(0) == 1;
    (on ? rdUSE : rdNON)->setChecked(true);
    rdUSEClick(on ? 1 : 0);
    cmdClose->setFocus();
}

TFrmT401B00::~TFrmT401B00() {
    link_->setSession(nullptr);
    link_->closeSilently();
}

void TFrmT401B00::rdUSEClick(int tag) {
    const bool on = tag == 1;
    for (QWidget* w :
         {static_cast<QWidget*>(txtCODE), static_cast<QWidget*>(txtPWD), static_cast<QWidget*>(slePWD)})
        w->setEnabled(on);
    txtMsg->setEnabled(on);
    slePWD->setText(on ? storedPwd_ : QString());
    if (on) slePWD->setFocus();
}

void TFrmT401B00::cmdSaveClick() {
    const bool on = rdUSE->isChecked();
    if (on) {
        if (sleCODE->text().size() != 4) {
            Msg::show(QCoreApplication::applicationName(), QStringLiteral("업체코드(4글자)를 확인하세요."),
                      MsgIcon::None, MsgButtons::Ok, this);
            return;
        }
        if (slePWD->text().trimmed().isEmpty()) {
            Msg::show(QCoreApplication::applicationName(), QStringLiteral("패스워드를 확인하세요."),
                      MsgIcon::None, MsgButtons::Ok, this);
            slePWD->setFocus();
            return;
        }
    }
    if (!Msg::askYesNo(kCaption, QStringLiteral("저장 하시겠습니까?"), this)) return;
    if (on) {
        cmdCheckPwClick();
        return;
    }
    Registry::writeInteger(kKey, QStringLiteral("UxAut"), 0);
    Registry::writeString(kKey, QStringLiteral("UxPwd"), QString());
    link_->setSession(nullptr);
    link_->closeSilently();
    Msg::show(QCoreApplication::applicationName(), QStringLiteral("저장 되었습니다."), MsgIcon::None,
              MsgButtons::Ok, this);
    accept();
}

void TFrmT401B00::cmdCheckPwClick() {
    session_->FRegUxAut = 1;
    session_->FRegSchCode = sleCODE->text();
    session_->FRegUxPwd = slePWD->text();
    // A session still open after a wrong password takes the next try.
    if (link_->isConnected()) {
        session_->builder.SessionCompCd = sleCODE->text();
        session_->LogOn(slePWD->text());
        return;
    }
    const VanSettings::Server s = VanSettings::readServer();
    quint16 port = 0;
    if (s.address.trimmed().isEmpty() || !VanSettings::parsePort(s.portNo, &port)) {
        Msg::error(QStringLiteral(u"접속"),
                   QStringLiteral(u"서버 주소 또는 포트번호가 올바르지 않습니다.\r\n"
                                  u"[통신-통신환경설정]에서 확인하십시오."),
                   this);
        return;
    }
    session_->LoadSettings();
    session_->FRegUxAut = 1;
    session_->FRegSchCode = sleCODE->text();
    session_->FRegUxPwd = slePWD->text();
    cmdSave->setEnabled(false);
    link_->connectTo(s.address.trimmed(), port);
}

void TFrmT401B00::vanStatus(const QString& text, VanColor) {
    pnStatus->setText(text.isEmpty() ? QString() : QStringLiteral(u" ▶") + text);
}

void TFrmT401B00::vanLoggedOn() {
    vanStatus(QStringLiteral("TORVA과 연결되었습니다!"), VanColor::Blue);
    Registry::writeInteger(kKey, QStringLiteral("UxAut"), 1);
    Registry::writeString(kKey, QStringLiteral("UxPwd"), slePWD->text());
    storedPwd_ = slePWD->text();
    saved_ = true;
    loggingOff_ = true;
    session_->LogOff();
    Msg::show(QCoreApplication::applicationName(), QStringLiteral("저장 되었습니다."), MsgIcon::None,
              MsgButtons::Ok, this);
    // The log-off's reply ends the connection, and that closes the dialog.
    if (!link_->isConnected()) accept();
}

void TFrmT401B00::vanDisconnected() {
    vanStatus(QStringLiteral("TORVA과 연결이 종료되었습니다!"), VanColor::Blue);
    cmdSave->setEnabled(true);
    done(saved_ ? QDialog::Accepted : QDialog::Rejected);
}

bool TFrmT401B00::vanResponseError(const TVanMsg&, int code) {
    cmdSave->setEnabled(true);
    QString text;
    if (code == 3) {
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("비밀번호가 틀립니다.\r\n 3회이상 틀리면 접속할수 없습니다."), this);
        if (slePWD->isEnabled()) slePWD->setFocus();
        return true;
    }
    if (code == 14)
        text = QStringLiteral("휴일오류(노동절)");
    else if (code == 15)
        text = QStringLiteral("비밀번호를 3회 틀리셨습니다.\r\nTORVA과 연결할 수 없습니다.\r\n접속하실려면 "
                              "TORVA으로 연락하세요!");
    else if (code == 16)
        text = QStringLiteral("검색자료없음");
    else if (code == 0 || code > 23)
        text = QStringLiteral("알수없는 에러입니다.\r\n(주)TORVA으로 연락하십시요!");
    else
        text = VanRespText(code);
    Msg::error(QStringLiteral("오류"), text, this);
    if (code == 15) link_->close();
    if (code == 16) vanStatus(QStringLiteral("송수신 목록이 없습니다!"), VanColor::Red);
    return true;
}

LoginSettingsReply loginSettingsReply(const QByteArray& jobCode) {
    // This dialog's own texts: one "!" where the session window has two.
    if (jobCode == VanJob::FileListStart)
        return {LoginSettingsReply::Status, QStringLiteral("목록조회 중입니다!")};
    if (jobCode == VanJob::PasswordChangeReply)
        return {LoginSettingsReply::Status, QStringLiteral("암호가 변경되었습니다!")};
    if (jobCode == VanJob::NoticeListStart)
        return {LoginSettingsReply::Status, QStringLiteral("공지사항목록조회 중입니다!")};
    for (const char* quiet : {VanJob::FileListData, VanJob::TransferStartReply, VanJob::TransferBlockReply,
                              VanJob::TransferEnd, VanJob::TransferEndReply, VanJob::NoticeListData,
                              VanJob::NoticeFileFirstBlock, VanJob::NoticeFileNextBlock})
        if (jobCode == quiet) return {LoginSettingsReply::Nothing, {}};
    return {};
}

bool TFrmT401B00::vanDispatch(const TVanMsg& msg) {
    const LoginSettingsReply r = loginSettingsReply(msg.JobCode);
    if (r.kind == LoginSettingsReply::Status) vanStatus(r.status, VanColor::Blue);
    if (r.kind == LoginSettingsReply::Error) {
        Msg::error(QStringLiteral("전문오류"), QStringLiteral("응답 전문 오류입니다!"), this);
        // No reply to the log-on is coming: 저장 tries again over the open
        // connection instead of waiting for the read time-out.
        cmdSave->setEnabled(true);
    }
    return true;
}

void TFrmT401B00::closeEvent(QCloseEvent* e) {
    // A connection ends with a log-off; a second close does not wait for a
    // server that does not answer it.
    if (link_->isConnected() && !loggingOff_) {
        loggingOff_ = true;
        session_->LogOff();
        e->ignore();
        return;
    }
    link_->setSession(nullptr);
    link_->closeSilently();
    QDialog::closeEvent(e);
}

void TFrmT401B00::reject() {
    if (link_->isConnected() && !loggingOff_) {
        loggingOff_ = true;
        session_->LogOff();
        return;
    }
    link_->setSession(nullptr);
    link_->closeSilently();
    QDialog::reject();
}
