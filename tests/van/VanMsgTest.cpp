#include "van/VanMsg.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"

#include <gtest/gtest.h>

namespace {

class VanMsgTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::set(QDateTime(QDate(2026, 3, 16), QTime(10, 20, 30)));
        b.SessionCompCd = QStringLiteral("A123");
        b.MachineId = QStringLiteral("1A2B-3C4D");
        b.ProgVersion = QStringLiteral("3189");
    }
    void TearDown() override { Clock::reset(); }
    VanMsgBuilder b;
};

QByteArray spaces(int n) {
    return QByteArray(n, ' ');
}

// Header fields written out by hand: BizKind, JobCode, Sender, Receiver,
// time, RecCount, BlockNo, RespCode, DirFlag, AuxInfo.
QByteArray header(const char* biz, const char* job, const char* recv, const char* count, const char* block,
                  const char* resp, const char* dir, const QByteArray& aux = spaces(22)) {
    QByteArray h =
        QByteArray(biz) + job + "A123" + recv + "20260316102030" + count + block + resp + dir + aux;
    EXPECT_EQ(h.size(), 64);
    return h;
}

QByteArray data(const QByteArray& lead) {
    return lead + spaces(960 - int(lead.size()));
}

TEST_F(VanMsgTest, ClientMessagesByteForByte) {
    const struct {
        const char* name;
        TVanMsg msg;
        QByteArray expected;
    } cases[] = {
        {"log-on with a six-character password: four spaces, then the machine id and one space",
         b.LogOnRequest(QStringLiteral("abc123")),
         header("0", "0800100", "ZVAN", "00", "0000001", "00", " ") + data("abc123    1A2B-3C4D ")},
        {"log-on password longer than ten is cut", b.LogOnRequest(QStringLiteral("0123456789xyz")),
         header("0", "0800100", "ZVAN", "00", "0000001", "00", " ") + data("01234567891A2B-3C4D ")},
        {"log-off", b.LogOffRequest(), header("0", "0800900", "ZVAN", "00", "0000001", "00", " ") + data("")},
        {"file list of results",
         b.FileListRequest(QStringLiteral("20260301"), QStringLiteral("20260316"), "R"),
         header("6", "0600100", "ZVAN", "00", "0000001", "00", " ") + data("2026030120260316R")},
        {"empty-block acknowledgement carries two spaces", b.FileListAck("  "),
         header("6", "0620100", "ZVAN", "00", "0000001", "  ", " ") + data("")},
        {"notice list ack", b.NoticeListAck("00"),
         header("4", "0420100", "ZVAN", "00", "0000001", "00", " ") + data("")},
        {"upload start to bank 10 goes to 0011", b.TransferStartUpload(QStringLiteral("10"), "2"),
         header("2", "0700100", "0011", "00", "0000001", "00", "S") + data("")},
        {"upload start to bank 11", b.TransferStartUpload(QStringLiteral("11"), "2"),
         header("2", "0700100", "0011", "00", "0000001", "00", "S") + data("")},
        {"upload start to bank 12 is unchanged", b.TransferStartUpload(QStringLiteral("12"), "R"),
         header("R", "0700100", "0012", "00", "0000001", "00", "S") + data("")},
        {"upload data block to 0010 goes to 0011",
         b.TransferBlockUpload("0010", "2", 3, 5, {QByteArray("AAAAA"), QByteArray("BB")}),
         header("2", "0710100", "0011", "02", "0000003", "00", "S", QByteArray("005") + spaces(19)) +
             data("AAAAABB   ")},
        {"download start echoes the entry's bank", b.TransferStartDownload("0010", "2", "003", "20260315"),
         header("2", "0700100", "0010", "00", "0000001", "00", "R") + data("20260315003")},
        {"download acknowledgement echoes 0010 as received", b.TransferBlockAck("2", "0010", "00"),
         header("2", "0710100", "0010", "00", "0000001", "00", "R") + data("")},
        {"transfer end", b.TransferEnd(42),
         header("0", "0800800", "ZVAN", "00", "0000001", "00", "S", QByteArray("3189") + spaces(18)) +
             data("000042")},
        {"transfer end reply with a wrong count", b.TransferEndReply(7, "13"),
         header("0", "0810800", "ZVAN", "00", "0000001", "13", "R", QByteArray("3189") + spaces(18)) +
             data("000007")},
        {"password change", b.PasswordChangeRequest(QStringLiteral("old1"), QStringLiteral("new222")),
         header("3", "0300100", "ZVAN", "00", "0000001", "00", " ") + data("old1      new222    ")},
        {"notice list", b.NoticeListRequest(QStringLiteral("20020601"), QStringLiteral("20260316")),
         header("4", "0400100", "ZVAN", "00", "0000001", "00", " ") + data("2002060120260316")},
        {"notice file name is trimmed", b.NoticeFileRequest(QStringLiteral("  gong01.txt ")),
         header("5", "0500100", "ZVAN", "00", "0000001", "00", " ") + data("gong01.txt")},
        {"notice block ack", b.NoticeBlockAck("00"),
         header("5", "0510100", "ZVAN", "00", "0000001", "00", "G") + data("")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = c.msg.toBytes();
        ASSERT_EQ(bytes.size(), 1024);
        EXPECT_EQ(bytes.left(64), c.expected.left(64));
        EXPECT_EQ(bytes, c.expected);
    }
}

TEST_F(VanMsgTest, WidthsCountBytesAndNeverSplitHangul) {
    b.SessionCompCd = QStringLiteral("AB");
    // "가나다" is six bytes; a ten-byte field cut at nine keeps four characters' worth.
    const QByteArray pw = b.LogOnRequest(QStringLiteral("가나다라마")).toBytes();
    EXPECT_EQ(pw.mid(8, 4), QByteArray("AB  "));
    EXPECT_EQ(pw.mid(64, 10), Cp949::encode(QStringLiteral("가나다라마")));
    const QByteArray cut = vanText(QStringLiteral("a가나다라마"), 10);
    EXPECT_EQ(cut.size(), 10);
    EXPECT_EQ(cut, Cp949::encode(QStringLiteral("a가나다라")) + " ");
    EXPECT_EQ(vanNumber(7, 3), QByteArray("007"));
    EXPECT_EQ(vanNumber(12345, 3), QByteArray("123"));
}

TEST_F(VanMsgTest, ParseRoundTrip) {
    const TVanMsg m = b.TransferBlockUpload("0020", "3", 12, 4, {QByteArray("abcd")});
    const TVanMsg back = TVanMsg::fromBytes(m.toBytes());
    EXPECT_EQ(back.JobCode, QByteArray("0710100"));
    EXPECT_EQ(back.ReceiverCode, QByteArray("0020"));
    EXPECT_EQ(back.BlockNo, QByteArray("0000012"));
    EXPECT_EQ(back.AuxInfo.left(3), QByteArray("004"));
    EXPECT_EQ(back.toBytes(), m.toBytes());
}

TEST_F(VanMsgTest, FramesAndKinds) {
    const QByteArray kf = VanFrame::keyFrame(QByteArray(128, 'k'));
    EXPECT_EQ(kf.size(), 134);
    EXPECT_EQ(kf.left(6), QByteArray("S00128"));
    const QByteArray df = VanFrame::dataFrame(QByteArray(1040, 'x'));
    EXPECT_EQ(df.size(), 1046);
    EXPECT_EQ(df.left(6), QByteArray("D01040"));
    EXPECT_EQ(VanFrame::body(df), QByteArray(1040, 'x'));

    const struct {
        const char* name;
        QByteArray frame;
        VanFrame::Kind kind;
    } cases[] = {
        {"OK", QByteArray("S00002OK").leftJustified(1046, '\0'), VanFrame::Kind::KeyOk},
        {"ERR", QByteArray("S00003ERR").leftJustified(1046, '\0'), VanFrame::Kind::KeyRefused},
        {"S without either", QByteArray("S00002NO").leftJustified(1046, '\0'), VanFrame::Kind::Ignored},
        {"data", df, VanFrame::Kind::Data},
        {"garbage", QByteArray(1046, 'x'), VanFrame::Kind::Ignored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VanFrame::kindOf(c.frame), c.kind);
    }
}

TEST(VanResp, Texts) {
    EXPECT_EQ(VanRespText(3), QStringLiteral("비밀번호오류"));
    EXPECT_EQ(VanRespText(16), QStringLiteral("검색자료없음"));
    EXPECT_EQ(VanRespText(48), QStringLiteral("기관CODE 에러"));
    const QString unknown = QStringLiteral("알수없는 에러입니다.\r\n(주)TORVA으로 연락하십시요!!");
    for (int code : {4, 30, 99, 0})
        EXPECT_EQ(VanRespText(code), unknown) << code;
    EXPECT_TRUE(VanRespText(15).startsWith(QStringLiteral("비밀번호를 3회 틀리셨습니다.\r\n")));
    EXPECT_EQ(VanProgVersion(QStringLiteral("3.1.8.9")), QStringLiteral("3189"));
}

TEST(VanEntries, CountsAndLengths) {
    auto block = [](const QByteArray& count, const QByteArray& aux, const QByteArray& data) {
        TVanMsg m = TVanMsg::fromBytes(QByteArray(1024, ' '));
        m.RecCount = count;
        m.AuxInfo = vanText(aux, 22);
        m.MsgData = vanText(data, 960);
        return m;
    };
    const auto two = VanReadEntries(block("02", "41", QByteArray(41, 'a') + QByteArray(41, 'b')));
    ASSERT_TRUE(two);
    ASSERT_EQ(two->size(), 2);
    EXPECT_EQ(two->at(1), QByteArray(41, 'b'));
    const auto none = VanReadEntries(block("00", "", ""));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    const auto recs = VanReadEntries(block("03", "100xxx", QByteArray(300, 'r')), true);
    ASSERT_TRUE(recs);
    EXPECT_EQ(recs->size(), 3);

    const struct {
        const char* name;
        TVanMsg msg;
    } bad[] = {
        {"count not a number", block("0x", "41", "")},
        {"length not a number", block("01", "4l", "")},
        {"count overruns the data", block("24", "41", "")},
        {"length zero", block("01", "0", "")},
    };
    for (const auto& c : bad)
        EXPECT_FALSE(VanReadEntries(c.msg)) << c.name;
}

} // namespace
