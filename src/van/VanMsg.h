#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The 1024-byte VAN message: a 64-byte header and 960 bytes of MsgData, all
// CP949 text without separators. Widths and offsets count bytes.
struct TVanMsg {
    static constexpr int Size = 1024;
    static constexpr int HeaderSize = 64;
    static constexpr int DataSize = 960;

    QByteArray BizKind;      // 1
    QByteArray JobCode;      // 7
    QByteArray SenderCode;   // 4
    QByteArray ReceiverCode; // 4
    QByteArray SendTime;     // 14, yyyymmddhhmmss
    QByteArray RecCount;     // 2
    QByteArray BlockNo;      // 7
    QByteArray RespCode;     // 2
    QByteArray DirFlag;      // 1
    QByteArray AuxInfo;      // 22
    QByteArray MsgData;      // 960

    // Every field at its width (text space-padded on the right, cut when
    // longer), concatenated: exactly 1024 bytes.
    QByteArray toBytes() const;
    // Splits 1024 bytes into the fields; shorter input is space-padded.
    static TVanMsg fromBytes(const QByteArray& bytes);

    // Text forms for logs and the driver.
    QString text() const;
    QString field(const QByteArray& f) const;
};

// Field helpers: text padded with spaces on the right, numbers with zeros on
// the left, both cut to the width (never through a two-byte character).
QByteArray vanText(const QString& s, int width);
QByteArray vanText(const QByteArray& s, int width);
QByteArray vanNumber(qint64 n, int width);
QByteArray vanNumber(const QString& digits, int width);

// Frames. The client reads every server frame as exactly 1046 bytes.
namespace VanFrame {
constexpr int KeyFrameSize = 134;
constexpr int FrameSize = 1046;
QByteArray keyFrame(const QByteArray& keyBlock);  // 'S' "00128" + 128 bytes
QByteArray dataFrame(const QByteArray& cipher);   // 'D' "01040" + 1040 bytes
QByteArray statusFrame(const QByteArray& status); // server side: 'S' "00003" + status, 1046 bytes
enum class Kind { KeyOk, KeyRefused, Data, Ignored };
Kind kindOf(const QByteArray& frame);
// Bytes 6-1045 of a data frame.
QByteArray body(const QByteArray& frame);
} // namespace VanFrame

// Job codes.
namespace VanJob {
inline constexpr char LogOnRequest[] = "0800100";
inline constexpr char LogOnReply[] = "0810100";
inline constexpr char LogOffRequest[] = "0800900";
inline constexpr char LogOffReply[] = "0810900";
inline constexpr char FileListRequest[] = "0600100";
inline constexpr char FileListStart[] = "0610100";
inline constexpr char FileListData[] = "0630100";
inline constexpr char FileListAck[] = "0620100";
inline constexpr char TransferStartRequest[] = "0700100";
inline constexpr char TransferStartReply[] = "0720100";
inline constexpr char TransferBlock[] = "0710100";
inline constexpr char TransferBlockReply[] = "0730100";
inline constexpr char TransferEnd[] = "0800800";
inline constexpr char TransferEndReply[] = "0810800";
inline constexpr char PasswordChangeRequest[] = "0300100";
inline constexpr char PasswordChangeReply[] = "0310100";
inline constexpr char NoticeListRequest[] = "0400100";
inline constexpr char NoticeListStart[] = "0410100";
inline constexpr char NoticeListData[] = "0430100";
inline constexpr char NoticeListAck[] = "0420100";
inline constexpr char NoticeFileRequest[] = "0500100";
inline constexpr char NoticeFileFirstBlock[] = "0520100";
inline constexpr char NoticeFileNextBlock[] = "0530100";
inline constexpr char NoticeBlockAck[] = "0510100";
// The message's name for logs ("LogOnRequest"); empty for an unknown code.
QString name(const QByteArray& jobCode, bool fromServer);
} // namespace VanJob

// The session window's texts of the server's response codes.
QString VanRespText(int code);

// "3.1.8.9" -> "3189": characters 2, 3 and 4 deleted one after the other.
QString VanProgVersion(const QString& fileVersion);

// Builds the client's messages. Each builder stamps the time when it builds.
class VanMsgBuilder {
public:
    QString SessionCompCd; // SenderCode of every client message
    QString MachineId;     // nine characters
    QString ProgVersion;   // "3189"

    TVanMsg LogOnRequest(const QString& password) const;
    TVanMsg LogOffRequest() const;
    TVanMsg FileListRequest(const QString& firstDate, const QString& lastDate, const QString& listKind) const;
    TVanMsg FileListAck(const QByteArray& respCode) const;
    // Download: the chosen entry's bank code ("00" + two digits), business
    // kind, sequence number and date.
    TVanMsg TransferStartDownload(const QByteArray& bankCode, const QByteArray& bizKind,
                                  const QByteArray& seqNo, const QByteArray& date) const;
    // Upload: the file's two-digit bank code and business kind.
    TVanMsg TransferStartUpload(const QString& bankCd, const QByteArray& bizKind) const;
    // Upload data: receiver is the SenderCode of the message answered.
    TVanMsg TransferBlockUpload(const QByteArray& receiverCode, const QByteArray& bizKind, int blockNo,
                                int recLen, const QList<QByteArray>& records) const;
    // Download acknowledgement: echoes the block's SenderCode as received.
    TVanMsg TransferBlockAck(const QByteArray& bizKind, const QByteArray& receiverCode,
                             const QByteArray& respCode) const;
    TVanMsg TransferEnd(int lineCount) const;
    TVanMsg TransferEndReply(int count, const QByteArray& respCode) const;
    TVanMsg PasswordChangeRequest(const QString& current, const QString& next) const;
    TVanMsg NoticeListRequest(const QString& firstDate, const QString& lastDate) const;
    TVanMsg NoticeListAck(const QByteArray& respCode) const;
    TVanMsg NoticeFileRequest(const QString& fileName) const;
    TVanMsg NoticeBlockAck(const QByteArray& respCode) const;

    // The SMS upload session: job kind "Z" and the operator's SMS code
    // "1098"; the log-on and the start carry the password alone.
    TVanMsg SmsLogOnRequest(const QString& password) const;
    TVanMsg SmsTransferStart(const QString& password) const;
    TVanMsg SmsTransferBlock(int blockNo, int lineLength, const QList<QByteArray>& lines) const;
    TVanMsg SmsTransferEnd(int recipients) const;

    // "00" + the two-digit bank code, with "0010" sent as "0011".
    static QByteArray uploadBankCode(const QByteArray& code);

private:
    TVanMsg control(const char* jobCode, char bizKind) const;
};

// The entries of a list block (file list, notice list, download data): the
// count is RecCount, the length AuxInfo (download data: its first three
// bytes). Nothing when either is not a number or the entries overrun MsgData.
std::optional<QList<QByteArray>> VanReadEntries(const TVanMsg& msg, bool lengthFromFirstThree = false);
