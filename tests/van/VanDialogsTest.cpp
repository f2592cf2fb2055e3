#include "platform/settings/Registry.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "support/TestRoot.h"
#include "van/C101B01.h"
#include "van/C101B02.h"
#include "van/C101B03.h"
#include "van/C101B04.h"
#include "van/O102B00.h"
#include "van/VanSettings.h"

#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace {

class VanDialogsTest : public TestRoot {
protected:
    void TearDown() override {
        Modal::setRunner({});
        TestRoot::TearDown();
    }
};

TEST_F(VanDialogsTest, LogInShowsTheCompanyCodeInUpperCase) {
    Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"), QStringLiteral("a1b2"));
    TFrmC101B01 dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("로그인"));
    EXPECT_EQ(dlg.EdtCompCd->text(), QStringLiteral("A1B2"));
    EXPECT_TRUE(dlg.EdtPswd->text().isEmpty());
    EXPECT_EQ(dlg.EdtPswd->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.EdtCompCd->maxLength(), 4);
    EXPECT_EQ(dlg.EdtPswd->maxLength(), 6);
    dlg.EdtCompCd->clear();
    QTest::keyClicks(dlg.EdtCompCd, QStringLiteral("zq9"));
    EXPECT_EQ(dlg.EdtCompCd->text(), QStringLiteral("ZQ9"));
}

TEST_F(VanDialogsTest, LogInRefusesABlankCompanyCode) {
    TFrmC101B01 dlg;
    dlg.show();
    dlg.EdtCompCd->setText(QStringLiteral("  "));
    msg.expect(MsgResult::Ok);
    dlg.BBtnConfiClick();
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("업체코드를 입력하지 않았습니다!!")});
    EXPECT_EQ(msg.shown()[0].caption, QStringLiteral("입력요망"));
    EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);

    // Enter in the password acts as OK, through the same check.
    msg.expect(MsgResult::Ok);
    QTest::keyClick(dlg.EdtPswd, Qt::Key_Return);
    EXPECT_EQ(msg.shown().size(), 2);
    EXPECT_TRUE(dlg.isVisible());

    dlg.EdtCompCd->setText(QStringLiteral("A123"));
    dlg.EdtPswd->setText(QString()); // an empty password is passed on
    QTest::keyClick(dlg.EdtPswd, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(VanDialogsTest, LogInEscCancels) {
    TFrmC101B01 dlg;
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    Modal::setRunner([](QDialog* d) {
        auto* l = static_cast<TFrmC101B01*>(d);
        l->EdtCompCd->setText(QStringLiteral("B77 "));
        l->EdtPswd->setText(QStringLiteral("abc"));
        return int(QDialog::Accepted);
    });
    QString comp, pw;
    ASSERT_TRUE(AskVanLogIn(nullptr, &comp, &pw));
    EXPECT_EQ(comp, QStringLiteral("B77"));
    EXPECT_EQ(pw, QStringLiteral("abc"));
}

TEST_F(VanDialogsTest, DateRangeOffersToday) {
    TFrmC101B02 dlg;
    EXPECT_EQ(dlg.firstDate(), QStringLiteral("20260316"));
    EXPECT_EQ(dlg.lastDate(), QStringLiteral("20260316"));
    dlg.DTPkerSDt->setDate(QDate(2026, 4, 1)); // a later first date is not checked
    EXPECT_EQ(dlg.firstDate(), QStringLiteral("20260401"));
}

TEST_F(VanDialogsTest, PasswordChangeEnterMovesOn) {
    TFrmC101B03 dlg;
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.EdtCurrPswd->setFocus();
    QTest::keyClick(dlg.EdtCurrPswd, Qt::Key_Return);
    EXPECT_TRUE(dlg.EdtUpdtPswd->hasFocus());
    QTest::keyClick(dlg.EdtUpdtPswd, Qt::Key_Return);
    EXPECT_TRUE(dlg.EdtConfiPswd->hasFocus());
    QTest::keyClick(dlg.EdtConfiPswd, Qt::Key_Return);
    EXPECT_TRUE(dlg.BBtnConfi->hasFocus());
    EXPECT_EQ(dlg.result(), 0) << "Enter only moves the focus";
}

TEST_F(VanDialogsTest, NoticeViewerLoadsCp949) {
    QFile f(path(QStringLiteral("gong/n1.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromHex("b0f8c1f6")); // 공지 in CP949
    f.close();
    TFrmC101B04 dlg;
    ASSERT_TRUE(dlg.loadFile(f.fileName()));
    EXPECT_EQ(dlg.REdtMemo->toPlainText(), QStringLiteral("공지"));
    EXPECT_FALSE(dlg.loadFile(path(QStringLiteral("gong/none.txt"))));
}

TEST_F(VanDialogsTest, CommunicationSettings) {
    ASSERT_FALSE(Registry::keyExists(QStringLiteral("Communication")));
    {
        // The defaults are written on opening, even when the user cancels.
        TFrmO102B00 dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("통신환경설정"));
        EXPECT_EQ(dlg.EdtPortNo->text(), QStringLiteral("29993"));
        EXPECT_EQ(dlg.EdtAddress->text(), QString::fromLatin1(VanSettings::DefaultAddress));
        dlg.BBtnCncl->click();
    }
    EXPECT_EQ(Registry::readString(QStringLiteral("Communication"), QStringLiteral("PortNo")),
              QStringLiteral("29993"));
    {
        TFrmO102B00 dlg;
        dlg.EdtAddress->clear();
        dlg.EdtPortNo->setText(QStringLiteral("abc"));
        dlg.BBtnConfi->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    // Saved as typed: an empty address, a port that is not a number.
    EXPECT_EQ(VanSettings::readServer().address, QString());
    EXPECT_EQ(VanSettings::readServer().portNo, QStringLiteral("abc"));
    {
        TFrmO102B00 dlg; // an existing key is shown, not reset
        EXPECT_EQ(dlg.EdtPortNo->text(), QStringLiteral("abc"));
        dlg.EdtPortNo->setText(QStringLiteral("1"));
        dlg.BBtnCncl->click();
    }
    EXPECT_EQ(VanSettings::readServer().portNo, QStringLiteral("abc"));
    EXPECT_TRUE(FormRegistry::find(QStringLiteral("O102B00")));
    EXPECT_TRUE(FormRegistry::find(QStringLiteral("C101B00")));
}

TEST_F(VanDialogsTest, ReceiveCountersResetOncePerDay) {
    const QString key = QStringLiteral("RecvFile");
    VanSettings::resetRecvCounters(QStringLiteral("20260316"));
    EXPECT_EQ(Registry::readString(key, QStringLiteral("Date")), QStringLiteral("20260316"));
    EXPECT_EQ(Registry::readString(key, QStringLiteral("R00")), QStringLiteral("0"));
    Registry::writeString(key, QStringLiteral("200"), QStringLiteral("3"));
    Registry::writeString(key, QStringLiteral("R00"), QString());
    VanSettings::resetRecvCounters(QStringLiteral("20260316"));
    EXPECT_EQ(Registry::readString(key, QStringLiteral("200")), QStringLiteral("3"))
        << "same day keeps the counters";
    EXPECT_EQ(Registry::readString(key, QStringLiteral("R00")), QStringLiteral("0"))
        << "an empty R00 becomes 0";
    VanSettings::resetRecvCounters(QStringLiteral("20260317"));
    EXPECT_EQ(Registry::readString(key, QStringLiteral("200")), QStringLiteral("0"));
    EXPECT_EQ(Registry::readString(key, QStringLiteral("Date")), QStringLiteral("20260317"));
}

} // namespace
