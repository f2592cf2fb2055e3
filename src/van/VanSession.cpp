#include "van/VanSession.h"

#include "data/DMModule.h"
#include "platform/settings/Registry.h"
#include "platform/sys/System.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Msg.h"

#include <utility>

namespace {

const QString kEnded = QStringLiteral(u"TORVA과 접속이 종료되었습니다!!");

bool readCode(const QByteArray& text, int* code) {
    const QByteArray t = text.trimmed();
    if (t.isEmpty()) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    *code = t.toInt();
    return true;
}

} // namespace

int VanDefaultReadTimeoutMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ZQ_VAN_READ_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : 290000;
}

int VanDefaultListQuietMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ZQ_VAN_LIST_QUIET_MS", &ok);
    return ok && ms > 0 ? ms : 2000;
}

TVanSession::TVanSession(VanSessionHost* host, VanTransport* transport) : host_(host), transport_(transport) {
    listQuiet_.setSingleShot(true);
    listQuiet_.setInterval(VanDefaultListQuietMs());
    listQuiet_.callOnTimeout([this] { closeList(true); });
}

void TVanSession::openList(const QByteArray& dataJob) {
    listOpen_ = true;
    listJob_ = dataJob;
    listQuiet_.stop();
}

void TVanSession::closeList(bool complete) {
    listQuiet_.stop();
    if (!listOpen_) return;
    listOpen_ = false;
    if (complete) host_->vanListComplete(listJob_);
    // The requests made meanwhile go out now, in order (a list among them
    // holds the rest again).
    const QList<TVanMsg> held = std::exchange(held_, {});
    for (const TVanMsg& m : held)
        SendVanMsg(m);
}

void TVanSession::LoadSettings() {
    const QString key = QStringLiteral("SchoolInfo");
    FRegSchCode = Registry::readString(key, QStringLiteral("SchCode"));
    FRegUxAut = Registry::readInteger(key, QStringLiteral("UxAut")).value_or(0);
    FRegUxPwd = Registry::readString(key, QStringLiteral("UxPwd"));
    builder.ProgVersion = VanProgVersion(System::programVersion());
    builder.MachineId = DMLib ? DMLib->FMachineId : QString();
}

bool TVanSession::startKeyExchange() {
    QByteArray keyBlock;
    const int r = seed_.GetRSASeedKey(&keyBlock);
    if (r <= 0) {
        Msg::error(QStringLiteral(u"세션키오류"),
                   QStringLiteral(u"세션키 생성을 실패하였습니다.\r\n재접속하세요!!"));
        transport_->close();
        return false;
    }
    host_->vanClearLog();
    const int zero = int(keyBlock.indexOf('\0'));
    host_->vanLog(QStringLiteral("SEND==>S") + QString::number(r).rightJustified(5, QLatin1Char('0')) +
                  QString::fromLatin1(zero < 0 ? keyBlock : keyBlock.left(zero)));
    state_ = State::KeyExchange;
    transport_->startReading();
    transport_->send(VanFrame::keyFrame(keyBlock));
    return true;
}

bool TVanSession::SendVanMsg(const TVanMsg& msg) {
    if (!transport_->isConnected() || !seed_.hasKey()) return false;
    const QByteArray& job = msg.JobCode;
    const bool listAck = job == VanJob::FileListAck || job == VanJob::NoticeListAck;
    if (listOpen_ && !listAck) {
        held_ << msg;
        return true;
    }
    if (job == VanJob::FileListRequest) openList(VanJob::FileListData);
    if (job == VanJob::NoticeListRequest) openList(VanJob::NoticeListData);
    const QByteArray plain = msg.toBytes();
    host_->vanLog(QStringLiteral("send==>") + Cp949::decode(plain));
    const QByteArray cipher = seed_.rs_Encrypt(plain);
    if (cipher.isEmpty()) return false;
    transport_->send(VanFrame::dataFrame(cipher));
    host_->vanSent(msg);
    if (listAck && listOpen_) listQuiet_.start();
    return true;
}

void TVanSession::LogOn(const QString& password) {
    state_ = State::LoggingOn;
    SendVanMsg(smsLogOn ? builder.SmsLogOnRequest(password) : builder.LogOnRequest(password));
}

void TVanSession::LogOff() {
    if (!transport_->isConnected()) return;
    state_ = State::LoggingOff;
    SendVanMsg(builder.LogOffRequest());
}

void TVanSession::startLogOn() {
    if (FRegUxAut == 1) {
        builder.SessionCompCd = FRegSchCode;
        LogOn(FRegUxPwd);
        return;
    }
    QString compCd, password;
    if (host_->vanAskLogIn(&compCd, &password)) {
        builder.SessionCompCd = compCd.trimmed();
        LogOn(password.trimmed());
    } else {
        // Connected but not logged on: the read time-out ends it.
        state_ = State::WaitingLogOn;
    }
}

bool TVanSession::handleFrame(const QByteArray& frame) {
    switch (VanFrame::kindOf(frame)) {
    case VanFrame::Kind::KeyOk:
        startLogOn();
        return true;
    case VanFrame::Kind::KeyRefused:
        if (host_->vanKeyRefused()) {
            stop();
            return true;
        }
        Msg::error(QStringLiteral(u"세션키오류"),
                   QStringLiteral(u"세션키 전송에 실패하였습니다.\r\n재접속하세요!!"));
        stop();
        return true;
    case VanFrame::Kind::Ignored:
        return true;
    case VanFrame::Kind::Data:
        break;
    }
    const std::optional<QByteArray> plain = seed_.rs_Decrypt(VanFrame::body(frame));
    if (!plain) return false;
    const TVanMsg msg = TVanMsg::fromBytes(*plain);
    host_->vanReceived(msg);
    if (msg.RespCode == "00") return dispatch(msg);
    return responseError(msg);
}

bool TVanSession::responseError(const TVanMsg& msg) {
    int code = 0;
    if (!readCode(msg.RespCode, &code)) return false;
    if (host_->vanResponseError(msg, code)) return true;
    // No notice is no fault: the notice list just comes out empty.
    if (code == 16 && listOpen_ && listJob_ == VanJob::NoticeListData) {
        closeList(true);
        return true;
    }
    // An error answers the list request: no block follows.
    closeList(false);
    Msg::error(QStringLiteral(u"오류"), VanRespText(code));
    host_->vanHideTransferPanel();
    if (code == 3) {
        QString compCd, password;
        if (host_->vanAskLogIn(&compCd, &password)) {
            builder.SessionCompCd = compCd.trimmed();
            LogOn(password.trimmed());
        } else {
            state_ = State::WaitingLogOn;
        }
    } else if (code == 15) {
        stop();
    } else if (code == 16) {
        host_->vanStatus(QStringLiteral(u"송수신 목록이 없습니다!!"), VanColor::Red);
    }
    return true;
}

bool TVanSession::dispatch(const TVanMsg& msg) {
    const QByteArray& job = msg.JobCode;
    if (job == VanJob::LogOnReply) {
        state_ = State::LoggedOn;
        host_->vanStatus(QStringLiteral(u"TORVA과 개시되었습니다!!"), VanColor::Blue);
        host_->vanLoggedOn();
        const QString notice = Cp949::decode(msg.MsgData).trimmed();
        if (!notice.isEmpty()) Msg::info(QStringLiteral(u"공지사항"), notice);
        return true;
    }
    if (job == VanJob::LogOffReply) {
        host_->vanStatus(kEnded, VanColor::Blue);
        host_->vanLoggedOff();
        stop();
        return true;
    }
    if (host_->vanDispatch(msg)) return true;
    if (job == VanJob::FileListStart) {
        host_->vanStatus(QStringLiteral(u"목록조회 중입니다!!"), VanColor::Blue);
        if (listOpen_) listQuiet_.start();
        return true;
    }
    if (job == VanJob::NoticeListStart) {
        host_->vanStatus(QStringLiteral(u"공지사항목록조회 중입니다!!"), VanColor::Blue);
        if (listOpen_) listQuiet_.start();
        return true;
    }
    if (job == VanJob::FileListData || job == VanJob::NoticeListData) {
        listQuiet_.stop();
        const auto entries = VanReadEntries(msg);
        if (!entries) return false;
        host_->vanListEntries(job, *entries);
        // Two spaces tell the server the block held nothing.
        const QByteArray code = entries->isEmpty() ? QByteArray("  ") : QByteArray("00");
        return SendVanMsg(job == VanJob::FileListData ? builder.FileListAck(code)
                                                      : builder.NoticeListAck(code));
    }
    const bool transferReply = job == VanJob::TransferStartReply || job == VanJob::TransferBlockReply;
    if (transferReply && msg.DirFlag != "S" && msg.DirFlag != "R") {
        Msg::error(QStringLiteral(u"전문오류"), QStringLiteral(u"전문 오류"));
        return false;
    }
    switch (host_->vanExchange(msg)) {
    case VanSessionHost::Exchange::Handled:
        return true;
    case VanSessionHost::Exchange::Failed:
        return false;
    case VanSessionHost::Exchange::Unknown:
        break;
    }
    // Nothing answers a message nobody expects, so waiting on would only
    // end in the read time-out.
    Msg::error(QStringLiteral(u"전문오류"), QStringLiteral(u"응답 전문 오류입니다!!"));
    return false;
}

void TVanSession::stop() {
    transport_->close();
}

void TVanSession::readFailed() {
    host_->vanStatus(kEnded, VanColor::Blue);
    transport_->close();
}

void TVanSession::disconnected() {
    state_ = State::Disconnected;
    listQuiet_.stop();
    listOpen_ = false;
    held_.clear();
    host_->vanDisconnected();
    if (!announceDisconnect) return;
    Msg::info(QStringLiteral(u"접속종료"),
              QStringLiteral(u"TORVA과 연결이 종료되었습니다!!!\r\n연결을 원하면 다시 접속하세요!!!"));
}
