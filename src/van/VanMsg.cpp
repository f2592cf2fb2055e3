#include "van/VanMsg.h"

#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"

namespace {

struct FieldDef {
    QByteArray TVanMsg::*field;
    int width;
};

const FieldDef kFields[] = {
    {&TVanMsg::BizKind, 1},   {&TVanMsg::JobCode, 7},  {&TVanMsg::SenderCode, 4}, {&TVanMsg::ReceiverCode, 4},
    {&TVanMsg::SendTime, 14}, {&TVanMsg::RecCount, 2}, {&TVanMsg::BlockNo, 7},    {&TVanMsg::RespCode, 2},
    {&TVanMsg::DirFlag, 1},   {&TVanMsg::AuxInfo, 22}, {&TVanMsg::MsgData, 960},
};

QByteArray sendTime() {
    return Clock::now().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
}

bool parseNumber(const QByteArray& text, int* out) {
    const QByteArray t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    *out = t.toInt();
    return true;
}

} // namespace

QByteArray vanText(const QByteArray& s, int width) {
    QByteArray out = s.size() > width ? Cp949::cutBytes(s, width) : s;
    if (out.size() < width) out.append(QByteArray(width - out.size(), ' '));
    return out;
}

QByteArray vanText(const QString& s, int width) {
    return vanText(Cp949::encode(s), width);
}

QByteArray vanNumber(const QString& digits, int width) {
    QByteArray d = digits.toLatin1();
    if (d.size() > width) return d.left(width);
    return QByteArray(width - d.size(), '0') + d;
}

QByteArray vanNumber(qint64 n, int width) {
    return vanNumber(QString::number(n), width);
}

QByteArray TVanMsg::toBytes() const {
    QByteArray out;
    out.reserve(Size);
    for (const FieldDef& f : kFields)
        out += vanText(this->*f.field, f.width);
    return out;
}

TVanMsg TVanMsg::fromBytes(const QByteArray& bytes) {
    const QByteArray b =
        bytes.size() >= Size ? bytes.left(Size) : bytes + QByteArray(Size - bytes.size(), ' ');
    TVanMsg m;
    int pos = 0;
    for (const FieldDef& f : kFields) {
        m.*f.field = b.mid(pos, f.width);
        pos += f.width;
    }
    return m;
}

QString TVanMsg::text() const {
    return Cp949::decode(toBytes());
}
QString TVanMsg::field(const QByteArray& f) const {
    return Cp949::decode(f);
}

namespace VanFrame {

QByteArray keyFrame(const QByteArray& keyBlock) {
    QByteArray f("S00128");
    f += keyBlock.left(128);
    if (f.size() < KeyFrameSize) f.append(QByteArray(KeyFrameSize - f.size(), '\0'));
    return f;
}

QByteArray dataFrame(const QByteArray& cipher) {
    QByteArray f("D01040");
    f += cipher.left(1040);
    if (f.size() < FrameSize) f.append(QByteArray(FrameSize - f.size(), '\0'));
    return f;
}

QByteArray statusFrame(const QByteArray& status) {
    QByteArray f("S");
    f += vanNumber(status.size(), 5);
    f += status;
    f.append(QByteArray(FrameSize - f.size(), '\0'));
    return f;
}

Kind kindOf(const QByteArray& frame) {
    if (frame.isEmpty()) return Kind::Ignored;
    if (frame.at(0) == 'S') {
        if (frame.mid(6, 2) == "OK") return Kind::KeyOk;
        if (frame.mid(6, 3) == "ERR") return Kind::KeyRefused;
        return Kind::Ignored;
    }
    if (frame.at(0) == 'D') return Kind::Data;
    return Kind::Ignored;
}

QByteArray body(const QByteArray& frame) {
    return frame.mid(6, 1040);
}

} // namespace VanFrame

namespace VanJob {

QString name(const QByteArray& jobCode, bool fromServer) {
    struct N {
        const char* code;
        const char* client;
        const char* server;
    };
    static const N names[] = {
        {LogOnRequest, "LogOnRequest", nullptr},
        {LogOnReply, nullptr, "LogOnReply"},
        {LogOffRequest, "LogOffRequest", nullptr},
        {LogOffReply, nullptr, "LogOffReply"},
        {FileListRequest, "FileListRequest", nullptr},
        {FileListStart, nullptr, "FileListStart"},
        {FileListData, nullptr, "FileListData"},
        {FileListAck, "FileListAck", nullptr},
        {TransferStartRequest, "TransferStartRequest", nullptr},
        {TransferStartReply, nullptr, "TransferStartReply"},
        {TransferBlock, "TransferBlock", nullptr},
        {TransferBlockReply, nullptr, "TransferBlockReply"},
        {TransferEnd, "TransferEnd", "TransferEnd"},
        {TransferEndReply, "TransferEndReply", "TransferEndReply"},
        {PasswordChangeRequest, "PasswordChangeRequest", nullptr},
        {PasswordChangeReply, nullptr, "PasswordChangeReply"},
        {NoticeListRequest, "NoticeListRequest", nullptr},
        {NoticeListStart, nullptr, "NoticeListStart"},
        {NoticeListData, nullptr, "NoticeListData"},
        {NoticeListAck, "NoticeListAck", nullptr},
        {NoticeFileRequest, "NoticeFileRequest", nullptr},
        {NoticeFileFirstBlock, nullptr, "NoticeFileFirstBlock"},
        {NoticeFileNextBlock, nullptr, "NoticeFileNextBlock"},
        {NoticeBlockAck, "NoticeBlockAck", nullptr},
    };
    for (const N& n : names)
        if (jobCode == n.code) {
            const char* s = fromServer ? n.server : n.client;
            return s ? QString::fromLatin1(s) : QString();
        }
    return QString();
}

} // namespace VanJob

QString VanRespText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral(u"작업코드오류");
    case 2:
        return QStringLiteral(u"업체코드오류");
    case 3:
        return QStringLiteral(u"비밀번호오류");
    case 5:
        return QStringLiteral(u"프로그램버젼오류");
    case 6:
        return QStringLiteral(u"송신시간오류");
    case 7:
        return QStringLiteral(u"업무구분오류");
    case 8:
        return QStringLiteral(u"목록구분오류");
    case 9:
        return QStringLiteral(u"은행코드오류");
    case 10:
        return QStringLiteral(u"해당파일없음");
    case 11:
        return QStringLiteral(u"구비밀번호오류");
    case 12:
        return QStringLiteral(u"전문Size오류");
    case 13:
        return QStringLiteral(u"File Size오류");
    case 14:
        return QStringLiteral(u"휴일오류");
    case 15:
        return QStringLiteral(u"비밀번호를 3회 틀리셨습니다.\r\nTORVA과 연결할 수 없습니다.\r\n"
                              u"접속하실려면 TORVA으로 연락하세요!!");
    case 16:
        return QStringLiteral(u"검색자료없음");
    case 17:
        return QStringLiteral(u"line read error");
    case 18:
        return QStringLiteral(u"line write error");
    case 19:
        return QStringLiteral(u"접속 오류");
    case 20:
        return QStringLiteral(u"시간초과오류");
    case 21:
        return QStringLiteral(u"해당은행송신불가");
    case 22:
        return QStringLiteral(u"DB 오류");
    case 23:
        return QStringLiteral(u"system오류");
    case 46:
        return QStringLiteral(u"해지기관 DATA");
    case 47:
        return QStringLiteral(u"자금구분 에러");
    case 48:
        return QStringLiteral(u"기관CODE 에러");
    default:
        return QStringLiteral(u"알수없는 에러입니다.\r\n(주)TORVA으로 연락하십시요!!");
    }
}

QString VanProgVersion(const QString& fileVersion) {
    QString v = fileVersion;
    for (int pos = 1; pos <= 3; ++pos)
        if (v.size() > pos) v.remove(pos, 1);
    return v;
}

TVanMsg VanMsgBuilder::control(const char* jobCode, char bizKind) const {
    TVanMsg m;
    m.BizKind = QByteArray(1, bizKind);
    m.JobCode = jobCode;
    m.SenderCode = vanText(SessionCompCd, 4);
    m.ReceiverCode = "ZVAN";
    m.SendTime = sendTime();
    m.RecCount = "00";
    m.BlockNo = "0000001";
    m.RespCode = "00";
    m.DirFlag = " ";
    m.AuxInfo = QByteArray(22, ' ');
    m.MsgData = QByteArray(TVanMsg::DataSize, ' ');
    return m;
}

QByteArray VanMsgBuilder::uploadBankCode(const QByteArray& code) {
    QByteArray c = code.size() == 2 ? QByteArray("00") + code : code;
    // The operator knows the new NH central bank only under its old code.
    if (c == "0010") c = "0011";
    return c;
}

TVanMsg VanMsgBuilder::LogOnRequest(const QString& password) const {
    TVanMsg m = control(VanJob::LogOnRequest, '0');
    m.MsgData = vanText(vanText(password, 10) + vanText(MachineId, 10), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::SmsLogOnRequest(const QString& password) const {
    TVanMsg m = control(VanJob::LogOnRequest, '0');
    m.RecCount = "SM";
    m.MsgData = vanText(password, TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::SmsTransferStart(const QString& password) const {
    TVanMsg m = control(VanJob::TransferStartRequest, 'Z');
    m.ReceiverCode = "1098";
    m.DirFlag = "S";
    m.MsgData = vanText(password, TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::SmsTransferBlock(int blockNo, int lineLength, const QList<QByteArray>& lines) const {
    TVanMsg m = control(VanJob::TransferBlock, 'Z');
    m.ReceiverCode = "1098";
    m.DirFlag = "S";
    m.RecCount = vanNumber(lines.size(), 2);
    m.BlockNo = vanNumber(blockNo, 7);
    m.AuxInfo = vanText(vanNumber(lineLength, 3), 22);
    QByteArray data;
    for (const QByteArray& l : lines)
        data += l;
    m.MsgData = vanText(data, TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::SmsTransferEnd(int recipients) const {
    TVanMsg m = control(VanJob::TransferEnd, '0');
    m.DirFlag = "S";
    m.MsgData = vanText(vanNumber(recipients, 6), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::LogOffRequest() const {
    return control(VanJob::LogOffRequest, '0');
}

TVanMsg VanMsgBuilder::FileListRequest(const QString& firstDate, const QString& lastDate,
                                       const QString& listKind) const {
    TVanMsg m = control(VanJob::FileListRequest, '6');
    m.MsgData =
        vanText(vanText(firstDate, 8) + vanText(lastDate, 8) + vanText(listKind, 1), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::FileListAck(const QByteArray& respCode) const {
    TVanMsg m = control(VanJob::FileListAck, '6');
    m.RespCode = vanText(respCode, 2);
    return m;
}

TVanMsg VanMsgBuilder::TransferStartDownload(const QByteArray& bankCode, const QByteArray& bizKind,
                                             const QByteArray& seqNo, const QByteArray& date) const {
    TVanMsg m = control(VanJob::TransferStartRequest, ' ');
    m.BizKind = vanText(bizKind, 1);
    m.ReceiverCode = vanText(bankCode, 4);
    m.DirFlag = "R";
    m.MsgData = vanText(vanText(date, 8) + vanText(seqNo, 3), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::TransferStartUpload(const QString& bankCd, const QByteArray& bizKind) const {
    TVanMsg m = control(VanJob::TransferStartRequest, ' ');
    m.BizKind = vanText(bizKind, 1);
    m.ReceiverCode = vanText(uploadBankCode(bankCd.toLatin1()), 4);
    m.DirFlag = "S";
    return m;
}

TVanMsg VanMsgBuilder::TransferBlockUpload(const QByteArray& receiverCode, const QByteArray& bizKind,
                                           int blockNo, int recLen, const QList<QByteArray>& records) const {
    TVanMsg m = control(VanJob::TransferBlock, ' ');
    m.BizKind = vanText(bizKind, 1);
    m.ReceiverCode = vanText(uploadBankCode(receiverCode), 4);
    m.DirFlag = "S";
    m.RecCount = vanNumber(records.size(), 2);
    m.BlockNo = vanNumber(blockNo, 7);
    m.AuxInfo = vanText(vanNumber(recLen, 3), 22);
    QByteArray data;
    for (const QByteArray& r : records)
        data += vanText(r, recLen);
    m.MsgData = vanText(data, TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::TransferBlockAck(const QByteArray& bizKind, const QByteArray& receiverCode,
                                        const QByteArray& respCode) const {
    TVanMsg m = control(VanJob::TransferBlock, ' ');
    m.BizKind = vanText(bizKind, 1);
    m.ReceiverCode = vanText(receiverCode, 4);
    m.DirFlag = "R";
    m.RespCode = vanText(respCode, 2);
    return m;
}

TVanMsg VanMsgBuilder::TransferEnd(int lineCount) const {
    TVanMsg m = control(VanJob::TransferEnd, '0');
    m.DirFlag = "S";
    m.AuxInfo = vanText(ProgVersion, 22);
    m.MsgData = vanText(vanNumber(lineCount, 6), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::TransferEndReply(int count, const QByteArray& respCode) const {
    TVanMsg m = control(VanJob::TransferEndReply, '0');
    m.DirFlag = "R";
    m.RespCode = vanText(respCode, 2);
    m.AuxInfo = vanText(ProgVersion, 22);
    m.MsgData = vanText(vanNumber(count, 6), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::PasswordChangeRequest(const QString& current, const QString& next) const {
    TVanMsg m = control(VanJob::PasswordChangeRequest, '3');
    m.MsgData = vanText(vanText(current, 10) + vanText(next, 10), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::NoticeListRequest(const QString& firstDate, const QString& lastDate) const {
    TVanMsg m = control(VanJob::NoticeListRequest, '4');
    m.MsgData = vanText(vanText(firstDate, 8) + vanText(lastDate, 8), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::NoticeListAck(const QByteArray& respCode) const {
    TVanMsg m = control(VanJob::NoticeListAck, '4');
    m.RespCode = vanText(respCode, 2);
    return m;
}

TVanMsg VanMsgBuilder::NoticeFileRequest(const QString& fileName) const {
    TVanMsg m = control(VanJob::NoticeFileRequest, '5');
    m.MsgData = vanText(fileName.trimmed(), TVanMsg::DataSize);
    return m;
}

TVanMsg VanMsgBuilder::NoticeBlockAck(const QByteArray& respCode) const {
    TVanMsg m = control(VanJob::NoticeBlockAck, '5');
    m.DirFlag = "G";
    m.RespCode = vanText(respCode, 2);
    return m;
}

std::optional<QList<QByteArray>> VanReadEntries(const TVanMsg& msg, bool lengthFromFirstThree) {
    int count = 0, len = 0;
    if (!parseNumber(msg.RecCount, &count)) return std::nullopt;
    if (count == 0) return QList<QByteArray>();
    if (!parseNumber(lengthFromFirstThree ? msg.AuxInfo.left(3) : msg.AuxInfo, &len)) return std::nullopt;
    // A count or length the block cannot hold is a broken message, not a
    // short list.
    if (len <= 0 || qint64(count) * len > TVanMsg::DataSize) return std::nullopt;
    QList<QByteArray> out;
    for (int k = 0; k < count; ++k)
        out << msg.MsgData.mid(k * len, len);
    return out;
}
