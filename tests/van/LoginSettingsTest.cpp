#include "platform/settings/Registry.h"
#include "support/TestRoot.h"
#include "support/VanSimulator.h"
#include "support/Wait.h"
#include "van/T401B00.h"
#include "van/VanLink.h"
#include "van/VanSettings.h"

#include <QLineEdit>
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

} // namespace
