#include "frame/L101B01.h"
#include "platform/settings/Registry.h"
#include "platform/ui/Modal.h"
#include "shared/MainHooks.h"
#include "support/TestRoot.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

class Login : public TestRoot {
protected:
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    void setStored(const QString& pwd) {
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"),
                              QStringLiteral("ab12"));
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxPwd"), pwd);
    }
};

TEST_F(Login, PasswordMustMatchExactly) {
    using C = TFrmL101B01::Check;
    const struct {
        const char* code;
        const char* typed;
        const char* stored;
        C expected;
    } cases[] = {
        {"AB12", "pw", "pw", C::Ok},         {"AB12", "PW", "pw", C::Wrong},
        {"AB12", "pw ", "pw", C::Wrong},     {"AB12", "", "pw", C::NoPassword},
        {"AB12", "  ", "pw", C::NoPassword}, {"", "pw", "pw", C::NoCode},
        {"AB12", "anything", "", C::Wrong},  {"AB12", "pw", " pw", C::Wrong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(int(TFrmL101B01::check(QString::fromUtf8(c.code), QString::fromUtf8(c.typed),
                                         QString::fromUtf8(c.stored))),
                  int(c.expected))
            << c.code << "/" << c.typed << "/" << c.stored;
}

TEST_F(Login, AcceptedRefusedAndCancelled) {
    setStored(QStringLiteral("Pw1"));
    TFrmL101B01 d;
    EXPECT_EQ(d.EdtCompCd->text(), QStringLiteral("AB12"));
    EXPECT_FALSE(d.EdtCompCd->isEnabled());

    d.EdtPswd->setText(QStringLiteral("pw1"));
    msg.expect(MsgResult::Ok);
    d.BBtnConfiClick();
    EXPECT_EQ(msg.shown().at(0).text, QStringLiteral("사용자가 유효하지 않거나 비밀번호가 틀림니다."));
    EXPECT_TRUE(d.EdtPswd->text().isEmpty());
    EXPECT_EQ(d.result(), 0);

    msg.expect(MsgResult::Ok);
    d.BBtnConfiClick();
    EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("입력요망"));
    EXPECT_EQ(msg.shown().at(1).text, QStringLiteral("비밀번호를 입력하지 않았습니다!!"));

    d.EdtPswd->setText(QStringLiteral("Pw1"));
    d.BBtnConfiClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);

    TFrmL101B01 c;
    c.BBtnCnclClick();
    EXPECT_EQ(c.result(), QDialog::Rejected);
}

TEST_F(Login, StartHookAnswersWhetherTheProgramGoesOn) {
    setStored(QStringLiteral("Pw1"));
    ASSERT_TRUE(bool(mainHooks().loginAtStart));
    Modal::setRunner([](QDialog* d) {
        auto* l = qobject_cast<TFrmL101B01*>(d);
        l->EdtPswd->setText(QStringLiteral("Pw1"));
        l->BBtnConfiClick();
        return l->result();
    });
    EXPECT_TRUE(mainHooks().loginAtStart(nullptr));
    Modal::setRunner([](QDialog* d) {
        qobject_cast<TFrmL101B01*>(d)->BBtnCnclClick();
        return d->result();
    });
    EXPECT_FALSE(mainHooks().loginAtStart(nullptr));
}

} // namespace
