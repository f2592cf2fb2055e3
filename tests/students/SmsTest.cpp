#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Browser.h"
#include "platform/ui/Modal.h"
#include "students/SMSEdit.h"
#include "students/SMSHistory.h"
#include "students/SmsFile.h"
#include "students/SmsSession.h"
#include "support/TestRoot.h"
#include "support/VanSimulator.h"
#include "support/Wait.h"
#include "van/VanSettings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QProcess>
#include <tuple>

namespace {

SmsFile::Recipient recipient(const QString& sno, const QString& nm,
                             const QString& tel = QStringLiteral("010-1234-5678")) {
    SmsFile::Recipient r;
    r.sno = sno;
    r.nm = nm;
    r.amount = QStringLiteral("0");
    r.tel = tel;
    r.scd = QStringLiteral("1");
    return r;
}

TEST(SmsFileRecords, FieldsKeepTheirWidthsAtACharacterBoundary) {
    const QString tenHangul = QString(10, QChar(0xAC00));
    const struct {
        const char* name;
        QString nm;
        QString msg;
        QByteArray nmField; // the 20 bytes of the name
        int msgBytes;       // bytes of the message before its padding
    } cases[] = {
        {"name of 20 bytes fills its field", tenHangul, QStringLiteral("a"), Cp949::encode(tenHangul), 1},
        {"longer name cut at byte 20", tenHangul + QChar(0xAC01), QString(), Cp949::encode(tenHangul), 0},
        {"odd cut keeps the record's width", QStringLiteral("a") + tenHangul, QString(),
         "a" + Cp949::encode(QString(9, QChar(0xAC00))) + " ", 0},
        {"150-byte message sent as its first 100", QString(), QString(75, QChar(0xAC00)), QByteArray(20, ' '),
         100},
        {"message cut inside a syllable drops it", QString(),
         QStringLiteral("a") + QString(60, QChar(0xAC00)), QByteArray(20, ' '), 99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmsFile::Recipient r = recipient(QStringLiteral("10101"), c.nm);
        r.msg = c.msg;
        const QByteArray rec = SmsFile::record(r, QStringLiteral("02-123-4567"));
        ASSERT_EQ(rec.size(), SmsFile::kRecordWidth);
        EXPECT_EQ(rec.left(10), QByteArray("10101     "));
        EXPECT_EQ(rec.mid(10, 20), c.nmField);
        EXPECT_EQ(rec.mid(30, 20), QByteArray("021234567").leftJustified(20, ' '));
        EXPECT_EQ(rec.mid(50, 20), QByteArray("01012345678").leftJustified(20, ' '));
        EXPECT_EQ(rec.mid(70, 30), QByteArray(30, ' '));
        EXPECT_EQ(rec.mid(100, 100).trimmed().size(), c.msgBytes);
        EXPECT_TRUE(rec.endsWith("\r\n"));
        EXPECT_TRUE(Cp949::canEncode(Cp949::decode(rec))) << "no half character";
    }
}

TEST(SmsFileForms, PlaceholdersAndDays) {
    SmsFile::Recipient r = recipient(QStringLiteral("10101"), QStringLiteral("홍길동"));
    const SmsFile::Days d = SmsFile::days(QDate(2026, 3, 13)); // a Friday
    EXPECT_EQ(d.today, QStringLiteral("03월13일"));
    EXPECT_EQ(d.next, QStringLiteral("03월16일"));
    EXPECT_EQ(SmsFile::days(QDate(2026, 3, 14)).next, QStringLiteral("03월16일")); // Saturday
    EXPECT_EQ(SmsFile::applyForm(SmsFile::kDefaultText, r, QStringLiteral("한빛중학교"), d),
              QStringLiteral("홍길동님 :0원 03월16일 이체예정입니다. 한빛중학교"));
    EXPECT_EQ(SmsFile::applyForm(QStringLiteral(">학번<\r\n>이체일<>당일<\r\n"), r, QString(), d),
              QStringLiteral("10101 03월13일 "));
}

// The composer and the upload against the operator simulator.
class SmsSend : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Database::insertRow(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QStringLiteral("1")},
                                                      {QStringLiteral("SCdNm"), QStringLiteral("1학년")},
                                                      {QStringLiteral("CompyNm"), QStringLiteral("중학교")}});
        Database::exec(
            QStringLiteral("create table SCHOOLINFO (SchNm char(40), KidNm char(40), SchTel char(20), "
                           "KidTel char(20))"));
        Database::insertRow(QStringLiteral("SCHOOLINFO"),
                            {{QStringLiteral("SchNm"), QStringLiteral("한빛중학교")},
                             {QStringLiteral("SchTel"), QStringLiteral("02-123-4567")}});
        const QString k = QStringLiteral("SchoolInfo");
        Registry::writeString(k, QStringLiteral("SchCode"), QStringLiteral("A123"));
        Registry::writeString(k, QStringLiteral("UxPwd"), QStringLiteral("pw1234"));
        Registry::writeInteger(k, QStringLiteral("UxAut"), 1);
        qputenv("ZQ_VAN_READ_TIMEOUT_MS", "1500");
    }
    void TearDown() override {
        qunsetenv("ZQ_VAN_READ_TIMEOUT_MS");
        sim.stop();
        TestRoot::TearDown();
    }
    // A composer with n recipients, its send file written.
    void compose(TFrmSMSEdit& d, int n) {
        for (int i = 0; i < n; ++i)
            d.SGridSMS << recipient(QStringLiteral("101%1").arg(i + 1, 2, 10, QLatin1Char('0')),
                                    QStringLiteral("학생%1").arg(i + 1));
        d.FormActivate();
        for (int k = 1; k <= n; ++k)
            d.sApplyForm(k, d.formText());
        ASSERT_TRUE(d.bMakeSmsFile());
    }
    bool send(TFrmSMSEdit& d, bool* ok) {
        SmsSession s;
        SmsSession::Request r;
        if (!SmsSession::readSettings(&r)) return false;
        r.file = SmsSendFile();
        r.recipients = int(d.SGridSMS.size());
        r.formText = d.formText();
        bool done = false;
        QObject::connect(&s, &SmsSession::finished, [&](bool v) {
            *ok = v;
            done = true;
        });
        if (!s.start(r)) return false;
        return waitFor([&] { return done; });
    }
    QStringList logRows() {
        return column(QStringLiteral("SELECT JobLog FROM L_Log_202603 WHERE MenuName = '문자메세지'"));
    }
    VanSimulator sim;
};

TEST_F(SmsSend, NineRecipientsGoInBlocksOfFourFourAndOne) {
    ASSERT_TRUE(sim.start({QStringLiteral("--upload-dir"), sim.dir()}));
    VanSettings::writeServer({QStringLiteral("127.0.0.1"), QString::number(sim.port())});
    TFrmSMSEdit d;
    compose(d, 9);
    QFile f(SmsSendFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray file = f.readAll();
    ASSERT_EQ(file.size(), 9 * SmsFile::kRecordWidth);
    EXPECT_TRUE(Cp949::decode(file.mid(100, 100))
                    .startsWith(QStringLiteral("학생1님 :0원 03월17일 이체예정입니다. 한빛중학교")));

    msg.expect(MsgResult::Ok);
    bool ok = false;
    ASSERT_TRUE(send(d, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("문자메세지전송성공~!!")});
    const auto blocks = sim.messages(QStringLiteral("recv"), QStringLiteral("0710100"));
    ASSERT_EQ(blocks.size(), 3);
    const char* counts[] = {"04", "04", "01"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(blocks[i].value(QStringLiteral("RecCount")).toString(), QLatin1String(counts[i]));
        EXPECT_EQ(blocks[i].value(QStringLiteral("BlockNo")).toString(),
                  QStringLiteral("%1").arg(i + 1, 7, 10, QLatin1Char('0')));
        EXPECT_EQ(blocks[i].value(QStringLiteral("BizKind")).toString(), QStringLiteral("Z"));
        EXPECT_EQ(blocks[i].value(QStringLiteral("ReceiverCode")).toString(), QStringLiteral("1098"));
        EXPECT_TRUE(blocks[i].value(QStringLiteral("AuxInfo")).toString().startsWith(QStringLiteral("200")));
    }
    const auto logon = sim.messages(QStringLiteral("recv"), QStringLiteral("0800100"));
    ASSERT_EQ(logon.size(), 1);
    EXPECT_EQ(logon[0].value(QStringLiteral("RecCount")).toString(), QStringLiteral("SM"));
    const auto end = sim.messages(QStringLiteral("recv"), QStringLiteral("0800800"));
    ASSERT_EQ(end.size(), 1);
    EXPECT_EQ(end[0].value(QStringLiteral("MsgData")).toString(), QStringLiteral("000009"));
    EXPECT_EQ(sim.messages(QStringLiteral("recv"), QStringLiteral("0800900")).size(), 1);
    // The operator got the file's lines as they stand.
    QFile up(sim.dir() + QStringLiteral("/001_1098.txt"));
    ASSERT_TRUE(up.open(QIODevice::ReadOnly));
    EXPECT_EQ(up.readAll(), file);
    EXPECT_EQ(logRows(), QStringList{QStringLiteral("[전송성공] 전송대상:9명, 메세지내용 : \"") +
                                     SmsFile::kDefaultText + QStringLiteral("\"")});
}

TEST_F(SmsSend, FaultsEndTheSendWithItsMessageAndTheConnectionClosed) {
    const struct {
        const char* name;
        QStringList sim;
        QStringList boxes;
    } cases[] = {
        {"refused key", {QStringLiteral("--refuse-key")}, {QStringLiteral("문자메세지전송실패(Encrypt)~!!")}},
        {"wrong password",
         {QStringLiteral("--password"), QStringLiteral("other")},
         {QStringLiteral("[비밀번호오류~!!]"), QStringLiteral("문자메세지전송실패(SendOpenMsg)~!!")}},
        {"no SMS service",
         {QStringLiteral("--resp"), QStringLiteral("0700100=23")},
         {SmsSession::replyText(23), QStringLiteral("문자메세지전송실패(SendTransMsg)~!!")}},
        {"silent on a block",
         {QStringLiteral("--silent-on"), QStringLiteral("0710100")},
         {QStringLiteral("문자메세지전송실패(UpLoadProcess)~!!")}},
        {"dropped on a block",
         {QStringLiteral("--drop-on"), QStringLiteral("0710100")},
         {QStringLiteral("문자메세지전송실패(UpLoadProcess)~!!")}},
        {"unknown reply code",
         {QStringLiteral("--resp"), QStringLiteral("0800800=77")},
         {QStringLiteral("[기타오류~!!]"), QStringLiteral("문자메세지전송실패(PartEndMsg)~!!")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim.stop();
        ASSERT_TRUE(sim.start(c.sim));
        VanSettings::writeServer({QStringLiteral("127.0.0.1"), QString::number(sim.port())});
        msg.clear();
        for (int i = 0; i < c.boxes.size(); ++i)
            msg.expect(MsgResult::Ok);
        TFrmSMSEdit d;
        compose(d, 2);
        bool ok = true;
        ASSERT_TRUE(send(d, &ok));
        EXPECT_FALSE(ok);
        EXPECT_EQ(msg.texts(), c.boxes);
        EXPECT_TRUE(sim.waitClosed());
        EXPECT_TRUE(logRows().last().startsWith(QStringLiteral("[전송실패] 전송대상:2명")));
    }
}

TEST_F(SmsSend, RefusalsBeforeAnyConnection) {
    TFrmSMSEdit d;
    d.SGridSMS << recipient(QStringLiteral("10101"), QStringLiteral("가"));
    d.FormActivate();
    // No school telephone: no file.
    Database::exec(QStringLiteral("UPDATE SCHOOLINFO SET SchTel = NULL"));
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(d.bMakeSmsFile());
    EXPECT_EQ(msg.texts().value(0), QStringLiteral("학교대표전화번호가 입력되있지않습니다~!!"));
    EXPECT_FALSE(QFile::exists(SmsSendFile()));
    // No server set: said in Korean before connecting.
    VanSettings::writeServer({QString(), QString()});
    SmsSession::Request r;
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(SmsSession::readSettings(&r));
    EXPECT_TRUE(
        msg.texts().value(1).startsWith(QStringLiteral("서버 주소 또는 포트번호가 등록되어 있지 않습니다.")));
    // The default form cannot be replaced; the form list shows it.
    EXPECT_EQ(d.cboMsgType->currentText(), SmsFile::kDefaultForm);
    EXPECT_EQ(d.formText(), SmsFile::kDefaultText);
}

// "메세지 저장" asks through the program's save dialog, in the template
// folder with the shown template's name, and never replaces the default.
TEST_F(SmsSend, SaveMsgAsksThroughTheProgramsSaveDialog) {
    const struct {
        const char* name;
        QString answer; // the dialog's answer, in the template folder
        QString box;    // the box shown, if any
        bool saved;
    } cases[] = {
        {"new template", QStringLiteral("안내.txt"), QString(), true},
        {"the default template is kept", QStringLiteral("납부고지서식.txt"),
         QStringLiteral("[납부고지서식]은 변경할수없습니다!!"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        fileDialogs.clear();
        TFrmSMSEdit d;
        d.FormActivate();
        const QString shown = d.cboMsgType->currentText();
        d.MemoMsg->setPlainText(QStringLiteral("안내 문자"));
        answerFiles({SmsFile::formDir() + c.answer});
        if (!c.box.isEmpty()) msg.expect(MsgResult::Ok);
        d.BtnSaveMsgClick();
        ASSERT_EQ(fileDialogs.size(), 1);
        const FileDialogSpec& spec = fileDialogs.at(0);
        EXPECT_EQ(spec.mode, FileDialogSpec::Mode::Save);
        EXPECT_TRUE(spec.confirmOverwrite);
        EXPECT_EQ(spec.defaultSuffix, QStringLiteral("txt"));
        EXPECT_EQ(QDir(spec.folder).canonicalPath(), QDir(SmsFile::formDir()).canonicalPath());
        EXPECT_EQ(spec.fileName, shown + QStringLiteral(".txt"));
        EXPECT_EQ(msg.texts(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
        const QString name = c.answer.chopped(4);
        EXPECT_EQ(SmsFile::loadForm(name) == QStringLiteral("안내 문자"), c.saved);
        if (c.saved) EXPECT_EQ(d.cboMsgType->currentText(), name);
    }
}

TEST_F(SmsSend, DriverComposesFromTheRosterAndSends) {
    // Two listed students; one refuses SMS, so one record is written.
    for (const auto& [sno, nm, sms] : {std::tuple{"10101", "가나", "1"}, std::tuple{"10102", "다라", "2"}})
        ASSERT_TRUE(
            Database::insertRow(QStringLiteral("M_CUST"),
                                {{QStringLiteral("CustNo"), QStringLiteral("09%1").arg(QLatin1String(sno))},
                                 {QStringLiteral("SCd"), QStringLiteral("1")},
                                 {QStringLiteral("SNo"), QLatin1String(sno)},
                                 {QStringLiteral("Nm"), QString::fromUtf8(nm)},
                                 {QStringLiteral("UseTy"), QStringLiteral("1")},
                                 {QStringLiteral("MTelNo"), QStringLiteral("010-2222-3333")},
                                 {QStringLiteral("smsYN"), QLatin1String(sms)}}));
    ASSERT_TRUE(sim.start());
    auto drive = [this](const QStringList& args, int* rc) {
        QProcess p;
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                            QStringLiteral("20260316")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(30000));
        *rc = p.exitCode();
        QList<QJsonObject> out;
        for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
            if (!line.trimmed().isEmpty()) out << QJsonDocument::fromJson(line).object();
        return out;
    };
    int rc = -1;
    auto out = drive({QStringLiteral("sms"), QStringLiteral("compose")}, &rc);
    ASSERT_EQ(rc, 0);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out[0].value(QStringLiteral("row")).toArray().at(3).toString(),
              QStringLiteral("가나님 :0원 03월17일 이체예정입니다. 한빛중학교"));
    EXPECT_EQ(out[1].value(QStringLiteral("count")).toInt(), 1);

    out = drive({QStringLiteral("sms"), QStringLiteral("send"), QStringLiteral("--host"),
                 QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QString::number(sim.port())},
                &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(out.last().value(QStringLiteral("result")).toString(), QStringLiteral("sent"))
        << QJsonDocument(out.last()).toJson().toStdString();
    const auto blocks = sim.messages(QStringLiteral("recv"), QStringLiteral("0710100"));
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_EQ(blocks[0].value(QStringLiteral("RecCount")).toString(), QStringLiteral("01"));
}

TEST(SmsPagesTest, EveryValueInTheHistoryAddressIsEncoded) {
    qunsetenv("ZQ_SMS_WEB_URL");
    EXPECT_EQ(
        SmsPages::historyUrl(QStringLiteral("A 1"), QStringLiteral("p&w#1=?")),
        QStringLiteral(
            "https://webbank.torva.co.kr/PLIX/login_proc_sms.jsp?login_id=A%201&login_pwd=p%26w%231%3D%3F"));
}

TEST_F(SmsSend, HistoryWithNoBrowserShowsTheAddressWithoutThePassword) {
    Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 1);
    const QByteArray oldPath = qgetenv("PATH"), browser = qgetenv("BROWSER");
    QDir().mkpath(path(QStringLiteral("empty")));
    qputenv("PATH", path(QStringLiteral("empty")).toUtf8());
    qunsetenv("BROWSER");
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& t) { logged << t; });
    msg.expect(MsgResult::Ok);
    {
        TfrmSMSHistory w;
        w.show();
        QCoreApplication::processEvents();
    }
    qInstallMessageHandler(previous);
    qputenv("PATH", oldPath);
    if (!browser.isNull()) qputenv("BROWSER", browser);
    ASSERT_EQ(msg.shown().size(), 1u);
    EXPECT_TRUE(msg.shown()[0].text.contains(QStringLiteral("login_id=A123&login_pwd=****")));
    EXPECT_FALSE(msg.shown()[0].text.contains(QStringLiteral("pw1234")));
    for (const QString& t : logged)
        EXPECT_FALSE(t.contains(QStringLiteral("pw1234"))) << t.toStdString();
}

TEST_F(SmsSend, HistoryAsksForTheLogInWhenLogInIsOff) {
    QStringList opened;
    Browser::setOpener([&](const QString& url) {
        opened << url;
        return true;
    });
    int asked = 0;
    Modal::setRunner([&](QDialog*) {
        ++asked;
        return int(QDialog::Rejected);
    });
    const struct {
        const char* name;
        bool removeUxAut;
        int uxAut;
        int asks;
    } cases[] = {{"log-in on", false, 1, 0}, {"log-in off", false, 0, 1}, {"no UxAut means off", true, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        opened.clear();
        asked = 0;
        Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), c.uxAut);
        if (c.removeUxAut) Registry::deleteValue(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"));
        TfrmSMSHistory w;
        w.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(asked, c.asks);
        ASSERT_EQ(opened.size(), 1);
        // A cancelled log-in keeps the stored values.
        EXPECT_TRUE(opened[0].endsWith(QStringLiteral("login_id=A123&login_pwd=pw1234")));
    }
    Browser::setOpener({});
    Modal::setRunner({});
}

} // namespace
