#include "basic/SchoolRegistration.h"
#include "basic/F101B00.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "support/TestRoot.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const QString kKey = QStringLiteral("SchoolInfo");

class SchoolRegistrationTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        // The main window makes this table at start; the test stands in for it.
        ASSERT_TRUE(Database::exec(QStringLiteral(
            "create table SCHOOLINFO( v_a00c char(5), KidAddr char(50), KidFax char(20), KidNm char(30), "
            "KidPost char(10), KidPrsdNm char(10), KidTel char(20), SchAddr char(50), SchCode char(10), "
            "SchFax char(20), SchNm char(30), SchPost char(10), SchPrsdNm char(10), SchTel char(20), "
            "SelctSch char(5), UxAut integer, UxAutS integer, UxBack char(255), UxHxls char(255), UxPwd "
            "char(10) ) ")));
    }
    void seedRegistry() {
        Registry::writeString(kKey, QStringLiteral("SchCode"), QStringLiteral("A001"));
        Registry::writeString(kKey, QStringLiteral("UxPwd"), QStringLiteral("pw1"));
        Registry::writeString(kKey, QStringLiteral("SelctSch"), QStringLiteral("1"));
        Registry::writeString(kKey, QStringLiteral("SchNm"), QStringLiteral("한빛초등학교"));
        Registry::writeString(kKey, QStringLiteral("SchTel"), QStringLiteral("02-123-4567"));
        Registry::writeInteger(kKey, QStringLiteral("UxHakB"), 5);
        Registry::writeInteger(kKey, QStringLiteral("UxAut"), 1);
        Registry::writeInteger(kKey, QStringLiteral("UxAutS"), 0);
        Registry::writeString(kKey, QStringLiteral("UxBack"), QStringLiteral("~/zq-data-backup/"));
        Registry::writeString(kKey, QStringLiteral("UxHxls"), root() + QStringLiteral("/hxls/"));
    }
    void insertRow() {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("SCHOOLINFO"),
                                        {{QStringLiteral("v_a00c"), QStringLiteral("UCRUX")},
                                         {QStringLiteral("SchCode"), QStringLiteral("A001")}}));
    }
    QStringList logs() {
        return column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = ? ORDER BY seq"),
                      {QStringLiteral("학교등록")});
    }
    QString info(const QString& col) {
        return column(QStringLiteral("SELECT %1 FROM SCHOOLINFO WHERE v_a00c = 'UCRUX'").arg(col)).value(0);
    }
};

TEST_F(SchoolRegistrationTest, EveryChangedFieldGetsOneLogRowInTableOrder) {
    seedRegistry();
    insertRow();
    const SchoolRegistration::Loaded l = SchoolRegistration::load();
    ASSERT_TRUE(l.keyExisted);
    ASSERT_TRUE(l.rowExists);
    EXPECT_EQ(l.values.text(QStringLiteral("SchNm")), QStringLiteral("한빛초등학교"));

    SchoolValues now = l.values;
    now.SelctSch = QStringLiteral("2");
    now.text(QStringLiteral("KidAddr")) = QStringLiteral("서울시 중구");
    now.text(QStringLiteral("UxPwd")) = QStringLiteral("s3cret");
    now.text(QStringLiteral("SchNm")) = QStringLiteral("한빛'중학교");
    now.text(QStringLiteral("SchCode")) = QStringLiteral("B002");
    now.text(QStringLiteral("SchTel")) = QString(); // emptied: the prefix alone
    now.UxHakB = 6;
    ASSERT_TRUE(SchoolRegistration::save(l.values, now, l.rowExists));

    EXPECT_EQ(
        logs(),
        (QStringList{QStringLiteral("[수정]학교선택 : 중,고등학교"), QStringLiteral("[수정]업체코드 : B002"),
                     QStringLiteral("[수정]비밀번호 : ****"), QStringLiteral("[수정]학교명 : 한빛'중학교"),
                     QStringLiteral("[수정]대표전화 :"), QStringLiteral("[수정]유치원주소 : 서울시 중구")}));
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxPwd")), QStringLiteral("s3cret"));
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("SelctSch")), QStringLiteral("2"));
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("SchTel")), QString());
    EXPECT_EQ(Registry::readInteger(kKey, QStringLiteral("UxHakB")), 6);
    EXPECT_EQ(DMLib->FSchCode, QStringLiteral("B002"));
    EXPECT_EQ(DMLib->FPassword, QStringLiteral("s3cret"));
    EXPECT_EQ(SNoLen, 6); // at once, for every later check
    // A quote in a value no longer breaks the mirror row.
    EXPECT_EQ(info(QStringLiteral("SchNm")), QStringLiteral("한빛'중학교"));
    EXPECT_EQ(info(QStringLiteral("SchCode")), QStringLiteral("B002"));
    EXPECT_EQ(info(QStringLiteral("SelctSch")), QStringLiteral("2"));
    EXPECT_EQ(info(QStringLiteral("UxPwd")), QStringLiteral("s3cret"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM SCHOOLINFO")), 1);
    SNoLen = 5;
}

TEST_F(SchoolRegistrationTest, SavingWithoutChangeLogsNothingButWritesModeAndRow) {
    seedRegistry();
    const SchoolRegistration::Loaded l = SchoolRegistration::load();
    EXPECT_FALSE(l.rowExists);
    Registry::deleteValue(kKey, QStringLiteral("UxHakB"));
    ASSERT_TRUE(SchoolRegistration::save(l.values, l.values, l.rowExists));
    EXPECT_TRUE(logs().isEmpty());
    EXPECT_EQ(Registry::readInteger(kKey, QStringLiteral("UxHakB")), 5);
    // A new row takes the integers and folders from the settings.
    EXPECT_EQ(info(QStringLiteral("SchNm")), QStringLiteral("한빛초등학교"));
    EXPECT_EQ(info(QStringLiteral("UxAut")), QStringLiteral("1"));
    EXPECT_EQ(info(QStringLiteral("UxBack")), QStringLiteral("~/zq-data-backup/"));
    EXPECT_EQ(info(QStringLiteral("UxPwd")), QStringLiteral("pw1"));
}

TEST_F(SchoolRegistrationTest, MissingKeyIsCreatedEmpty) {
    const SchoolRegistration::Loaded l = SchoolRegistration::load();
    EXPECT_FALSE(l.keyExisted);
    EXPECT_TRUE(Registry::keyExists(kKey));
    EXPECT_TRUE(Registry::valueExists(kKey, QStringLiteral("KidAddr")));
    for (const QString& t : l.values.texts)
        EXPECT_TRUE(t.isEmpty());
}

TEST_F(SchoolRegistrationTest, InputBeyondItsColumnOrOutsideCp949IsRefused) {
    const struct {
        const char* field;
        QString text;
        bool ok;
    } cases[] = {
        {"SchNm", QString(15, QChar(u'가')), true},           // 30 bytes
        {"SchNm", QString(16, QChar(u'가')), false},          // 32 bytes
        {"SchPrsdNm", QStringLiteral("김수한무거북"), false}, // 12 bytes
        {"SchPrsdNm", QStringLiteral("김수한무"), true},
        {"SchCode", QStringLiteral("AB"), true},
        {"SchCode", QStringLiteral("한글한"), false},
        {"UxPwd", QStringLiteral("1234567"), false},
        {"KidAddr", QStringLiteral("서울 😀"), false},
        {"KidTel", QStringLiteral("02-1234-5678"), true},
        {"SchNm", QStringLiteral("한빛\n[Ftp]"), false}, // would write a key of its own
        {"SchCode", QStringLiteral("A\r\nB"), false},
        {"SchAddr", QStringLiteral("서울\t중구"), false},
    };
    for (const auto& c : cases) {
        SchoolValues v;
        v.text(QString::fromUtf8(c.field)) = c.text;
        QString message;
        const QString bad = SchoolRegistration::validate(v, &message);
        EXPECT_EQ(bad.isEmpty(), c.ok) << c.field << " " << c.text.toStdString();
        if (!c.ok) {
            EXPECT_EQ(bad, QString::fromUtf8(c.field));
            EXPECT_FALSE(message.isEmpty());
        }
    }
}

TEST_F(SchoolRegistrationTest, FormSavesWhatChangedAndRefusesBadInput) {
    seedRegistry();
    insertRow();
    TFrmF101B00 f;
    EXPECT_EQ(f.edtSchCode->text(), QStringLiteral("A001"));
    EXPECT_TRUE(f.RdoBtn1->isChecked());
    EXPECT_TRUE(f.chkHakBun5->isChecked());
    EXPECT_EQ(f.edtSchPass->echoMode(), QLineEdit::Password);

    f.edtSchNm->setText(QString(20, QChar(u'나')));
    msg.expect(MsgResult::Ok);
    f.BitBtn1Click();
    EXPECT_EQ(msg.shown().at(0).caption, QStringLiteral("입력요망"));
    EXPECT_TRUE(logs().isEmpty());
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("SchNm")), QStringLiteral("한빛초등학교"));

    f.edtSchNm->setText(QStringLiteral("새빛초등학교"));
    f.chkHakBun6->setChecked(true);
    msg.expect(MsgResult::Ok);
    f.BitBtn1Click();
    EXPECT_EQ(msg.shown().at(1).text, QStringLiteral("저장 되었습니다."));
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(logs(), QStringList{QStringLiteral("[수정]학교명 : 새빛초등학교")});
    EXPECT_TRUE(f.chkHakBun6->isChecked());
    EXPECT_FALSE(f.chkHakBun5->isChecked());
    EXPECT_EQ(SNoLen, 6);
    SNoLen = 5;
}

TEST_F(SchoolRegistrationTest, SealIsCopiedIntoTheDataRoot) {
    const QString src = path(QStringLiteral("Temp/seal.bmp"));
    {
        QFile f(src);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM fake bitmap");
    }
    TFrmF101B00 f;
    answerFiles({src});
    msg.expect(MsgResult::Ok);
    f.btnSealClick();
    EXPECT_EQ(msg.shown().at(0).caption, QStringLiteral("등록작업 완료"));
    // The program's own picture-open dialog, offering bitmaps.
    ASSERT_EQ(fileDialogs.size(), 1);
    EXPECT_EQ(fileDialogs.at(0).mode, FileDialogSpec::Mode::Open);
    EXPECT_EQ(FileDialog::qtFilter(fileDialogs.at(0).filter), QStringLiteral("Bitmaps(*.bmp)"));
    QFile seal(path(QStringLiteral("schoolseal.bmp")));
    ASSERT_TRUE(seal.open(QIODevice::ReadOnly));
    EXPECT_EQ(seal.readAll(), QByteArray("BM fake bitmap"));

    answerFiles({path(QStringLiteral("missing.bmp"))});
    msg.expect(MsgResult::Ok);
    f.btnSealClick();
    EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("등록작업 오류"));
    answerFiles({QString()}); // cancelled: nothing
    f.btnSealClick();
    EXPECT_EQ(msg.shown().size(), 2);
}

} // namespace
