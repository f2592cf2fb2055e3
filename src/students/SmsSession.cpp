#include "students/SmsSession.h"

#include "data/DMModule.h"
#include "platform/settings/Registry.h"
#include "platform/ui/Msg.h"
#include "van/C101B01.h"
#include "van/VanLink.h"
#include "van/VanSettings.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

namespace {

void plainBox(const QString& text) {
    Msg::show(QCoreApplication::applicationName(), text);
}

QString stepFailure(int step) {
    static const char16_t* texts[] = {
        u"문자메세지전송실패(Encrypt)~!!", u"문자메세지전송실패(SendOpenMsg)~!!",
        u"문자메세지전송실패(SendTransMsg)~!!", u"문자메세지전송실패(UpLoadProcess)~!!",
        u"문자메세지전송실패(PartEndMsg)~!!"};
    return QString::fromUtf16(texts[std::clamp(step, 0, 4)]);
}

} // namespace

SmsSession::SmsSession(QObject* parent) : QObject(parent) {}

bool SmsSession::readSettings(Request* r, QWidget* parent) {
    readLogOn(r, parent);
    return readServer(r, parent);
}

void SmsSession::readLogOn(Request* r, QWidget* parent) {
    const QString key = QStringLiteral("SchoolInfo");
    const int uxAut = Registry::readInteger(key, QStringLiteral("UxAut")).value_or(0);
    r->company = Registry::readString(key, QStringLiteral("SchCode"));
    r->password = Registry::readString(key, QStringLiteral("UxPwd"));
    if (uxAut != 1) {
        QString comp, pw;
        if (AskVanLogIn(parent, &comp, &pw)) {
            r->company = comp.trimmed();
            r->password = pw.trimmed();
        }
    }
}

bool SmsSession::readServer(Request* r, QWidget* parent) {
    const VanSettings::Server s = VanSettings::readServer();
    if (s.address.trimmed().isEmpty() || s.portNo.trimmed().isEmpty()) {
        Msg::error(QStringLiteral(u"접속"),
                   QStringLiteral(u"서버 주소 또는 포트번호가 등록되어 있지 않습니다.\r\n"
                                  u"[통신-통신환경설정]에서 등록하십시오."),
                   parent);
        return false;
    }
    quint16 port = 0;
    if (!VanSettings::parsePort(s.portNo, &port)) {
        Msg::error(QStringLiteral(u"접속"),
                   QStringLiteral(u"포트번호 '%1'이(가) 올바르지 않습니다.\r\n"
                                  u"[통신-통신환경설정]에서 확인하십시오.")
                       .arg(s.portNo),
                   parent);
        return false;
    }
    r->host = s.address.trimmed();
    r->port = port;
    return true;
}

SmsSession::~SmsSession() {
    if (link_) {
        link_->setSession(nullptr);
        link_->closeSilently();
    }
}

QString SmsSession::replyText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("[업무구분코드오류~!!]");
    case 2:
        return QStringLiteral("[업체코드오류~!!]");
    case 3:
        return QStringLiteral("[비밀번호오류~!!]");
    case 23:
        return QStringLiteral("SMS서비스 사용등록이 되있지않습니다.\r사용신청후 사용하실수 있습니다.");
    default:
        return QStringLiteral("[기타오류~!!]");
    }
}

bool SmsSession::start(const Request& r) {
    if (running_) return false;
    QFile f(r.file);
    if (!f.open(QIODevice::ReadOnly)) {
        Msg::error(QStringLiteral("문자메세지"), QStringLiteral("전송파일을 읽을 수 없습니다.\r\n") + r.file);
        return false;
    }
    lines_.clear();
    for (QByteArray l : f.readAll().split('\n')) {
        if (l.endsWith('\r')) l.chop(1);
        if (!l.isEmpty()) lines_ << l;
    }
    req_ = r;
    lineLength_ = lines_.isEmpty() ? 200 : int(lines_.first().size());
    perBlock_ = std::max(1, TVanMsg::DataSize / std::max(1, lineLength_));
    next_ = 0;
    blockNo_ = 0;
    step_ = Step::Key;
    running_ = true;

    if (link_) {
        link_->setSession(nullptr);
        link_->closeSilently();
    }
    session_.reset();
    link_ = std::make_unique<VanLink>();
    if (readTimeoutMs_ > 0) link_->setReadTimeout(readTimeoutMs_);
    session_ = std::make_unique<TVanSession>(this, link_.get());
    session_->LoadSettings();
    session_->smsLogOn = true;
    session_->announceDisconnect = false;
    session_->FRegUxAut = 1;
    session_->FRegSchCode = r.company;
    session_->FRegUxPwd = r.password;
    link_->setSession(session_.get());
    connect(link_.get(), &VanLink::connectFailed, this, [this](const QString& e) {
        if (!running_) return;
        running_ = false;
        Msg::error(QStringLiteral("문자메세지"), QStringLiteral("VAN 서버에 접속할 수 없습니다.\r\n") + e);
        emit finished(false);
    });
    if (onProgress) onProgress(0, req_.recipients);
    link_->connectTo(r.host, r.port);
    return true;
}

void SmsSession::vanLoggedOn() {
    step_ = Step::Start;
    session_->SendVanMsg(session_->builder.SmsTransferStart(req_.password));
}

void SmsSession::vanLoggedOff() {
    if (step_ == Step::LogOff) finish(true);
}

void SmsSession::vanDisconnected() {
    if (!running_) return;
    // The log-off's reply is not looked at: the upload was confirmed before.
    if (step_ == Step::LogOff) {
        finish(true);
        return;
    }
    fail();
}

bool SmsSession::vanKeyRefused() {
    step_ = Step::Key;
    fail();
    return true;
}

bool SmsSession::vanResponseError(const TVanMsg&, int code) {
    if (step_ == Step::LogOff) {
        finish(true);
        return true;
    }
    plainBox(replyText(code));
    fail();
    return true;
}

VanSessionHost::Exchange SmsSession::vanExchange(const TVanMsg& msg) {
    const QByteArray& job = msg.JobCode;
    if (step_ == Step::Start && job == VanJob::TransferStartReply) {
        step_ = Step::Blocks;
        sendNextBlock();
        return Exchange::Handled;
    }
    if (step_ == Step::Blocks && job == VanJob::TransferBlockReply) {
        sendNextBlock();
        return Exchange::Handled;
    }
    if (step_ == Step::End && job == VanJob::TransferEndReply) {
        step_ = Step::LogOff;
        session_->LogOff();
        return Exchange::Handled;
    }
    return Exchange::Unknown;
}

void SmsSession::sendNextBlock() {
    if (next_ >= lines_.size()) {
        step_ = Step::End;
        session_->SendVanMsg(session_->builder.SmsTransferEnd(req_.recipients));
        return;
    }
    const QList<QByteArray> block = lines_.mid(next_, perBlock_);
    next_ += int(block.size());
    ++blockNo_;
    session_->SendVanMsg(session_->builder.SmsTransferBlock(blockNo_, lineLength_, block));
    if (onProgress) onProgress(next_, req_.recipients);
}

void SmsSession::vanSent(const TVanMsg& m) {
    // The log-on goes out once the key was taken.
    if (step_ == Step::Key && m.JobCode == VanJob::LogOnRequest) step_ = Step::LogOn;
    if (onMessage) onMessage(m, true);
}

void SmsSession::vanReceived(const TVanMsg& m) {
    if (onMessage) onMessage(m, false);
}

void SmsSession::fail() {
    if (!running_) return;
    plainBox(stepFailure(int(step_)));
    finish(false);
}

void SmsSession::finish(bool ok) {
    if (!running_) return;
    running_ = false;
    const QString log = QStringLiteral("[%1] 전송대상:%2명, 메세지내용 : \"%3\"")
                            .arg(ok ? QStringLiteral("전송성공") : QStringLiteral("전송실패"))
                            .arg(req_.recipients)
                            .arg(req_.formText);
    if (DMLib) DMLib->WriteJobLog(QStringLiteral("문자메세지"), log);
    if (link_ && link_->isConnected()) link_->close();
    if (ok) plainBox(QStringLiteral("문자메세지전송성공~!!"));
    emit finished(ok);
}
