#include "platform/settings/Registry.h"
#include "support/TestRoot.h"
#include "support/VanSimulator.h"
#include "support/Wait.h"
#include "van/T401B00.h"
#include "van/VanLink.h"
#include "van/VanSettings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kKey = QStringLiteral("SchoolInfo");

class LoginSettings : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Registry::writeString(kKey, QStringLiteral("SchCode"), QStringLiteral("A123"));
        Registry::writeString(kKey, QStringLiteral("UxPwd"), QStringLiteral("old"));
    }
    void TearDown() override {
        sim.stop();
        TestRoot::TearDown();
    }
    VanSimulator sim;
};

TEST_F(LoginSettings, OffNeedsNoConnectionAndChecksComeFirst) {
    Registry::writeInteger(kKey, QStringLiteral("UxAut"), 1);
    {
        TFrmT401B00 d;
        EXPECT_TRUE(d.rdUSE->isChecked());
        EXPECT_EQ(d.slePWD->text(), QStringLiteral("old"));
        d.rdNON->click();
        EXPECT_EQ(d.slePWD->text(), QString());
        d.rdUSE->click();
        EXPECT_EQ(d.slePWD->text(), QStringLiteral("old")) << "back on refills the stored password";
        d.rdNON->click();
        msg.expect({MsgResult::Yes, MsgResult::Ok});
        d.cmdSaveClick();
        EXPECT_EQ(msg.texts(),
                  (QStringList{QStringLiteral("저장 하시겠습니까?"), QStringLiteral("저장 되었습니다.")}));
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(Registry::readInteger(kKey, QStringLiteral("UxAut")).value_or(-1), 0);
        EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxPwd")), QString());
    }
    const struct {
        const char* code;
        const char* pwd;
        const char16_t* box;
    } refusals[] = {{"A12", "pw", u"업체코드(4글자)를 확인하세요."},
                    {"A123", "   ", u"패스워드를 확인하세요."}};
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.code);
        msg.clear();
        Registry::writeString(kKey, QStringLiteral("SchCode"), QString::fromLatin1(r.code));
        TFrmT401B00 d;
        d.rdUSE->click();
        d.slePWD->setText(QString::fromLatin1(r.pwd));
        msg.expect(MsgResult::Ok);
        d.cmdSaveClick();
        EXPECT_EQ(msg.texts(), QStringList{QString::fromUtf16(r.box)});
        EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxPwd")), QString());
    }
}

TEST_F(LoginSettings, APasswordIsProvedByTheOperatorBeforeItIsStored) {
    ASSERT_TRUE(sim.start());
    VanSettings::writeServer({QStringLiteral("127.0.0.1"), QString::number(sim.port())});
    TFrmT401B00 d;
    d.rdUSE->click();
    // A wrong password: the box, nothing saved, the connection kept.
    d.slePWD->setText(QStringLiteral("wrong"));
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    d.cmdSaveClick();
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 2; }));
    EXPECT_EQ(msg.texts().value(1),
              QStringLiteral("비밀번호가 틀립니다.\r\n 3회이상 틀리면 접속할수 없습니다."));
    EXPECT_TRUE(d.link().isConnected());
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxPwd")), QStringLiteral("old"));
    // The right one, with a leading space kept as typed.
    d.slePWD->setText(QStringLiteral(" pw1234"));
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    d.cmdSaveClick();
    ASSERT_TRUE(waitFor([&d] { return d.result() == QDialog::Accepted; }));
    EXPECT_EQ(msg.texts().value(3), QStringLiteral("저장 되었습니다."));
    EXPECT_EQ(Registry::readInteger(kKey, QStringLiteral("UxAut")).value_or(-1), 1);
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxPwd")), QStringLiteral(" pw1234"));
    EXPECT_EQ(sim.messages(QStringLiteral("recv"), QStringLiteral("0800100")).size(), 2);
}

TEST_F(LoginSettings, ASilentServerCannotHoldTheDialog) {
    ASSERT_TRUE(sim.start({QStringLiteral("--silent-on"), QStringLiteral("0800100"),
                           QStringLiteral("--silent-on"), QStringLiteral("0800900")}));
    VanSettings::writeServer({QStringLiteral("127.0.0.1"), QString::number(sim.port())});
    TFrmT401B00 d;
    d.show();
    d.rdUSE->click();
    d.slePWD->setText(QStringLiteral("pw1234"));
    msg.expect(MsgResult::Yes);
    d.cmdSaveClick();
    ASSERT_TRUE(waitFor(
        [this] { return !sim.messages(QStringLiteral("recv"), QStringLiteral("0800100")).isEmpty(); }));
    // The first close logs off; the second does not wait for the answer.
    EXPECT_FALSE(d.close());
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.close());
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(d.link().isConnected());
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxPwd")), QStringLiteral("old"));
}

// The operator answers the log-on with other replies: the dialog's own
// statuses (one "!"), replies it lets be without a box or an answer, and
// the box for one it does not know, after which 저장 is free again.
TEST_F(LoginSettings, EveryReplyGetsTheDialogsAnswer) {
    const struct {
        const char* name;
        const char* replies;    // the operator's answer to the log-on, in order
        const char16_t* status; // the status the last reply leaves; null: a box
    } cases[] = {
        {"password changed", "0310100", u" ▶암호가 변경되었습니다!"},
        {"file list", "0610100", u" ▶목록조회 중입니다!"},
        {"notice list", "0410100", u" ▶공지사항목록조회 중입니다!"},
        {"let be, then a status", "0630100,0720100,0730100,0800800,0810800,0430100,0520100,0530100,0610100",
         u" ▶목록조회 중입니다!"},
        {"unknown", "0999100", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        sim.stop();
        ASSERT_TRUE(sim.start(
            {QStringLiteral("--answer-as"), QStringLiteral("0800100=") + QLatin1String(c.replies)}));
        VanSettings::writeServer({QStringLiteral("127.0.0.1"), QString::number(sim.port())});
        TFrmT401B00 d;
        d.rdUSE->click();
        d.slePWD->setText(QStringLiteral("pw1234"));
        msg.expect(MsgResult::Yes);
        if (!c.status) msg.expect(MsgResult::Ok);
        d.cmdSaveClick();
        if (c.status) {
            const QString want = QString::fromUtf16(c.status);
            ASSERT_TRUE(waitFor([&] { return d.pnStatus->text() == want; }))
                << d.pnStatus->text().toStdString();
            EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("저장 하시겠습니까?")});
        } else {
            ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 2; }, 5000))
                << "waits for the time-out";
            const MsgBox& box = msg.shown().at(1);
            EXPECT_EQ(box.caption, QStringLiteral("전문오류"));
            EXPECT_EQ(box.text, QStringLiteral("응답 전문 오류입니다!"));
            EXPECT_EQ(box.icon, MsgIcon::Error);
            EXPECT_TRUE(d.cmdSave->isEnabled());
            EXPECT_TRUE(d.link().isConnected());
        }
        // No list block was acknowledged; nothing was saved.
        EXPECT_TRUE(sim.messages(QStringLiteral("recv"), QStringLiteral("0620100")).isEmpty());
        EXPECT_TRUE(sim.messages(QStringLiteral("recv"), QStringLiteral("0420100")).isEmpty());
        EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxPwd")), QStringLiteral("old"));
        EXPECT_NE(d.result(), QDialog::Accepted);
    }
}

// The driver meets the same box and ends at once, nothing saved.
TEST_F(LoginSettings, DriverShowsTheBoxOfAnUnknownReply) {
    ASSERT_TRUE(sim.start({QStringLiteral("--answer-as"), QStringLiteral("0800100=0999100")}));
    VanSettings::writeServer({QStringLiteral("127.0.0.1"), QString::number(sim.port())});
    stopServices();
    QProcess p;
    p.start(QStringLiteral(ZQ_DRIVER_PATH),
            {QStringLiteral("--root"), root(), QStringLiteral("--answers"), QStringLiteral("yes,ok"),
             QStringLiteral("login-settings"), QStringLiteral("on"), QStringLiteral("pw1234")});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 1);
    QList<QJsonObject> boxes;
    QString result;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.contains(QStringLiteral("box"))) boxes << o;
        if (o.contains(QStringLiteral("result"))) result = o.value(QStringLiteral("result")).toString();
    }
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1].value(QStringLiteral("box")).toString(), QStringLiteral("전문오류"));
    EXPECT_EQ(boxes[1].value(QStringLiteral("text")).toString(), QStringLiteral("응답 전문 오류입니다!"));
    EXPECT_EQ(boxes[1].value(QStringLiteral("icon")).toString(), Msg::iconName(MsgIcon::Error));
    EXPECT_EQ(result, QStringLiteral("not saved"));
    startServices();
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxPwd")), QStringLiteral("old"));
}

} // namespace
