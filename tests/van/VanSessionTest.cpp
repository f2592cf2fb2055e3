#include "van/VanSession.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "support/TestRoot.h"
#include "support/VanSimulator.h"
#include "support/Wait.h"
#include "van/VanLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <memory>

namespace {

const QString kEndedStatus = QStringLiteral("TORVA과 접속이 종료되었습니다!!");
const QString kDisconnectBox =
    QStringLiteral("TORVA과 연결이 종료되었습니다!!!\r\n연결을 원하면 다시 접속하세요!!!");

struct Host : VanSessionHost {
    QStringList statuses;
    QList<VanColor> colors;
    QStringList log;
    int loggedOn = 0, loggedOff = 0, disconnectedCount = 0, loginAsked = 0;
    QList<QPair<QString, QString>> logins; // answers of the log-in dialog, in order
    QList<QList<QByteArray>> lists;
    QList<TVanMsg> sent, received;
    QStringList events; // "sent JOB" and "complete JOB", in order

    void vanStatus(const QString& t, VanColor c) override {
        statuses << t;
        colors << c;
    }
    void vanLog(const QString& l) override { log << l; }
    void vanClearLog() override { log.clear(); }
    bool vanAskLogIn(QString* comp, QString* pw) override {
        ++loginAsked;
        if (logins.isEmpty()) return false;
        const auto a = logins.takeFirst();
        *comp = a.first;
        *pw = a.second;
        return true;
    }
    void vanLoggedOn() override { ++loggedOn; }
    void vanLoggedOff() override { ++loggedOff; }
    void vanDisconnected() override { ++disconnectedCount; }
    void vanListEntries(const QByteArray&, const QList<QByteArray>& e) override { lists << e; }
    void vanSent(const TVanMsg& m) override {
        sent << m;
        events << QStringLiteral("sent ") + QString::fromLatin1(m.JobCode);
    }
    void vanReceived(const TVanMsg& m) override { received << m; }
    void vanListComplete(const QByteArray& job) override {
        events << QStringLiteral("complete ") + QString::fromLatin1(job);
    }
};

class VanSessionTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"),
                              QStringLiteral("A123"));
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxPwd"),
                              QStringLiteral("pw1234"));
        Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 1);
    }
    void TearDown() override {
        session.reset();
        link.reset();
        sim.stop();
        TestRoot::TearDown();
    }

    void start(const QStringList& simOptions = {}) {
        ASSERT_TRUE(sim.start(simOptions));
        link = std::make_unique<VanLink>();
        session = std::make_unique<TVanSession>(&host, link.get());
        session->setListQuietMs(300);
        link->setSession(session.get());
        session->LoadSettings();
        link->connectTo(QStringLiteral("127.0.0.1"), sim.port());
    }

    bool waitDisconnected() {
        return waitFor([this] { return host.disconnectedCount > 0; });
    }

    Host host;
    VanSimulator sim;
    std::unique_ptr<VanLink> link;
    std::unique_ptr<TVanSession> session;
};

TEST_F(VanSessionTest, AutomaticLogOnThenLogOff) {
    start();
    ASSERT_TRUE(waitFor([this] { return host.loggedOn == 1; }));
    EXPECT_EQ(host.loginAsked, 0) << "with UxAut 1 the dialog never opens";
    EXPECT_EQ(host.statuses.last(), QStringLiteral("TORVA과 개시되었습니다!!"));
    EXPECT_EQ(session->state(), TVanSession::State::LoggedOn);

    // The protocol log starts with the key frame line, then the log-on.
    ASSERT_EQ(host.log.size(), 2);
    EXPECT_TRUE(host.log[0].startsWith(QStringLiteral("SEND==>S00001")));
    EXPECT_TRUE(host.log[1].startsWith(QStringLiteral("send==>00800100A123ZVAN20260316102030")));
    EXPECT_EQ(host.log[1].size(), 7 + 1024);

    // The operator decrypted exactly what was built.
    const auto logon = sim.messages(QStringLiteral("recv"), QStringLiteral("0800100"));
    ASSERT_EQ(logon.size(), 1);
    EXPECT_EQ(logon[0].value(QStringLiteral("SenderCode")).toString(), QStringLiteral("A123"));
    EXPECT_EQ(logon[0].value(QStringLiteral("MsgData")).toString(),
              QStringLiteral("pw1234    ") + DMLib->FMachineId);

    msg.expect(MsgResult::Ok);
    session->LogOff();
    ASSERT_TRUE(waitDisconnected());
    EXPECT_EQ(host.loggedOff, 1);
    EXPECT_EQ(host.statuses.last(), kEndedStatus);
    EXPECT_EQ(msg.texts(), QStringList{kDisconnectBox});
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral("접속종료"));
    EXPECT_FALSE(link->isConnected());
    EXPECT_TRUE(sim.waitClosed());
}

TEST_F(VanSessionTest, WrongPasswordRetriesThroughTheDialog) {
    Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 0);
    host.logins = {{QStringLiteral(" A123 "), QStringLiteral("nope")},
                   {QStringLiteral("A123"), QStringLiteral(" pw1234 ")}};
    msg.expect(MsgResult::Ok);
    start();
    ASSERT_TRUE(waitFor([this] { return host.loggedOn == 1; }));
    EXPECT_EQ(host.loginAsked, 2);
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown()[0].caption, QStringLiteral("오류"));
    EXPECT_EQ(msg.shown()[0].text, QStringLiteral("비밀번호오류"));
    EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
    const auto logons = sim.messages(QStringLiteral("recv"), QStringLiteral("0800100"));
    ASSERT_EQ(logons.size(), 2);
    EXPECT_TRUE(
        logons[0].value(QStringLiteral("MsgData")).toString().startsWith(QStringLiteral("nope      ")));
    EXPECT_TRUE(
        logons[1].value(QStringLiteral("MsgData")).toString().startsWith(QStringLiteral("pw1234    ")));
    EXPECT_EQ(logons[1].value(QStringLiteral("SenderCode")).toString(), QStringLiteral("A123"));
}

TEST_F(VanSessionTest, CancelledDialogWaitsForTheReadTimeOut) {
    Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 0);
    start();
    link->setReadTimeout(400);
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(waitDisconnected());
    EXPECT_EQ(host.loginAsked, 1);
    EXPECT_EQ(session->state(), TVanSession::State::Disconnected);
    EXPECT_TRUE(sim.messages(QStringLiteral("recv")).isEmpty()) << "nothing is sent after a cancel";
    EXPECT_EQ(host.statuses.last(), kEndedStatus);
}

TEST_F(VanSessionTest, ThirdWrongPasswordEndsTheSession) {
    Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 0);
    for (int i = 0; i < 5; ++i)
        host.logins << qMakePair(QStringLiteral("A123"), QStringLiteral("bad"));
    msg.expect({MsgResult::Ok, MsgResult::Ok, MsgResult::Ok, MsgResult::Ok});
    start({QStringLiteral("--keep-open-after-15")});
    ASSERT_TRUE(waitDisconnected());
    EXPECT_EQ(host.loginAsked, 3);
    ASSERT_EQ(msg.texts().size(), 4);
    EXPECT_EQ(msg.texts()[1], QStringLiteral("비밀번호오류"));
    EXPECT_TRUE(msg.texts()[2].startsWith(QStringLiteral("비밀번호를 3회 틀리셨습니다.")));
    EXPECT_EQ(msg.texts()[3], kDisconnectBox);
    EXPECT_EQ(host.loggedOn, 0);
    EXPECT_TRUE(sim.waitClosed()) << "the client closes even when the operator keeps the line open";
}

TEST_F(VanSessionTest, LogOnNoticeAndCode16) {
    start({QStringLiteral("--notice"), QStringLiteral("  오늘은 점검일입니다  "), QStringLiteral("--resp"),
           QStringLiteral("0600100=16")});
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(waitFor([this] { return host.loggedOn == 1 && msg.shown().size() == 1; }));
    EXPECT_EQ(msg.shown()[0].caption, QStringLiteral("공지사항"));
    EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Information);
    EXPECT_EQ(msg.shown()[0].text, QStringLiteral("오늘은 점검일입니다"));

    // A known job code with RespCode 16 is not dispatched.
    msg.expect(MsgResult::Ok);
    session->SendVanMsg(session->builder.FileListRequest(QStringLiteral("20260301"),
                                                         QStringLiteral("20260316"), QStringLiteral("R")));
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 2; }));
    EXPECT_EQ(msg.shown()[1].text, QStringLiteral("검색자료없음"));
    EXPECT_EQ(host.statuses.last(), QStringLiteral("송수신 목록이 없습니다!!"));
    EXPECT_EQ(host.colors.last(), VanColor::Red);
    EXPECT_TRUE(link->isConnected());
}

TEST_F(VanSessionTest, ListBlocksAreReadAndAcknowledged) {
    // Thirty entries take two blocks; the notice list asked for at once
    // waits until the file list has stopped coming.
    QStringList options;
    for (int i = 0; i < 30; ++i)
        options << QStringLiteral("--entry")
                << QStringLiteral("R0020200202603150900000910000012%1  0001").arg(i, 3, 10, QLatin1Char('0'));
    start(options);
    ASSERT_TRUE(waitFor([this] { return host.loggedOn == 1; }));
    host.events.clear();
    session->SendVanMsg(session->builder.FileListRequest(QStringLiteral("20260301"),
                                                         QStringLiteral("20260316"), QStringLiteral("R")));
    EXPECT_TRUE(session->listOpen());
    session->SendVanMsg(
        session->builder.NoticeListRequest(QStringLiteral("20020601"), QStringLiteral("20260316")));
    ASSERT_TRUE(waitFor([this] { return host.events.contains(QStringLiteral("complete 0430100")); }));
    EXPECT_EQ(host.events, (QStringList{QStringLiteral("sent 0600100"), QStringLiteral("sent 0620100"),
                                        QStringLiteral("sent 0620100"), QStringLiteral("complete 0630100"),
                                        QStringLiteral("sent 0400100"), QStringLiteral("sent 0420100"),
                                        QStringLiteral("complete 0430100")}));
    ASSERT_EQ(host.lists.size(), 3);
    EXPECT_EQ(host.lists[0].size() + host.lists[1].size(), 30);
    EXPECT_EQ(host.lists[1].last(), QByteArray("R0020200202603150900000910000012029  0001"));
    EXPECT_TRUE(host.lists[2].isEmpty());
    EXPECT_EQ(
        sim.messages(QStringLiteral("recv"), QStringLiteral("0620100"))[0].value(QStringLiteral("RespCode")),
        QStringLiteral("00"));
    EXPECT_EQ(
        sim.messages(QStringLiteral("recv"), QStringLiteral("0420100"))[0].value(QStringLiteral("RespCode")),
        QStringLiteral("  "))
        << "an empty block is acknowledged with two spaces";
    EXPECT_FALSE(session->listOpen());
}

TEST_F(VanSessionTest, ANoticeListThatFindsNothingIsNoError) {
    start({QStringLiteral("--resp"), QStringLiteral("0400100=16")});
    ASSERT_TRUE(waitFor([this] { return host.loggedOn == 1; }));
    session->SendVanMsg(
        session->builder.NoticeListRequest(QStringLiteral("20020601"), QStringLiteral("20260316")));
    ASSERT_TRUE(waitFor([this] { return host.events.contains(QStringLiteral("complete 0430100")); }));
    EXPECT_TRUE(msg.shown().isEmpty());
    EXPECT_TRUE(link->isConnected());
}

// Whatever goes wrong on the server's side ends the session with the
// expected boxes, and the connection is closed.
TEST_F(VanSessionTest, FaultsEndTheSession) {
    const struct {
        const char* name;
        QStringList options;
        QStringList boxes;
        bool pubKeyMissing = false;
        bool endedStatus = true;
    } cases[] = {
        {"refused key",
         {QStringLiteral("--refuse-key")},
         {QStringLiteral("세션키 전송에 실패하였습니다.\r\n재접속하세요!!"), kDisconnectBox},
         false,
         false},
        {"no operator key",
         {},
         {QStringLiteral("세션키 생성을 실패하였습니다.\r\n재접속하세요!!"), kDisconnectBox},
         true,
         false},
        {"unknown job code",
         {QStringLiteral("--unknown-on"), QStringLiteral("0800100")},
         {QStringLiteral("응답 전문 오류입니다!!"), kDisconnectBox}},
        {"body that does not decrypt",
         {QStringLiteral("--garbage-on"), QStringLiteral("0800100")},
         {kDisconnectBox}},
        {"non-numeric response code",
         {QStringLiteral("--resp"), QStringLiteral("0800100=X1")},
         {kDisconnectBox}},
        {"dropped connection", {QStringLiteral("--drop-on"), QStringLiteral("0800100")}, {kDisconnectBox}},
        {"silent server", {QStringLiteral("--silent")}, {kDisconnectBox}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host = Host();
        msg.clear();
        for (int i = 0; i < c.boxes.size(); ++i)
            msg.expect(MsgResult::Ok);
        start(c.options);
        if (c.pubKeyMissing) {
            qputenv("ZQ_VAN_PUBKEY", path(QStringLiteral("nowhere.pem")).toLocal8Bit());
        }
        link->setReadTimeout(500);
        ASSERT_TRUE(waitDisconnected());
        EXPECT_EQ(msg.texts(), c.boxes);
        if (c.endedStatus) {
            EXPECT_EQ(host.statuses.last(), kEndedStatus);
        }
        EXPECT_EQ(host.loggedOn, 0);
        EXPECT_EQ(host.disconnectedCount, 1);
        EXPECT_FALSE(link->isConnected());
        EXPECT_TRUE(sim.waitClosed());
        session.reset();
        link.reset();
    }
}

TEST_F(VanSessionTest, UnknownResponseCodesShowTheUnknownText) {
    for (const char* code : {"30", "99"}) {
        SCOPED_TRACE(code);
        host = Host();
        msg.clear();
        msg.expect(MsgResult::Ok);
        start({QStringLiteral("--resp"), QStringLiteral("0800100=%1").arg(QLatin1String(code))});
        ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 1; }));
        EXPECT_EQ(msg.texts()[0], QStringLiteral("알수없는 에러입니다.\r\n(주)TORVA으로 연락하십시요!!"));
        EXPECT_TRUE(link->isConnected());
        link->closeSilently();
        session.reset();
        link.reset();
    }
}

// A frame that arrives while a box is open waits until the box is closed.
TEST_F(VanSessionTest, OneFrameAtATime) {
    start({QStringLiteral("--notice"), QStringLiteral("n"), QStringLiteral("--repeat-logon-reply"),
           QStringLiteral("2")});
    int depth = 0, maxDepth = 0, boxes = 0;
    Msg::setHandler([&](const MsgBox&) {
        ++boxes;
        maxDepth = std::max(maxDepth, ++depth);
        // Keep the box open while the second reply is on the wire.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        --depth;
        return MsgResult::Ok;
    });
    ASSERT_TRUE(waitFor([&] { return boxes == 2; }));
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(host.loggedOn, 2);
    link->closeSilently();
}

} // namespace

namespace {

TEST(VanDriver, LogOnAndLogOffPrintEveryMessage) {
    VanSimulator sim;
    ASSERT_TRUE(sim.start());
    QTemporaryDir root;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZQ_REGISTRY"), root.filePath(QStringLiteral("registry.ini")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Lists end after this much silence.
    env.insert(QStringLiteral("ZQ_VAN_LIST_QUIET_MS"), QStringLiteral("300"));
    p.setProcessEnvironment(env);
    auto run = [&](const QString& what, const QString& password) {
        p.start(QStringLiteral(ZQ_DRIVER_PATH),
                {QStringLiteral("--root"), root.filePath(QStringLiteral("data")), QStringLiteral("van"), what,
                 QStringLiteral("--host"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                 QString::number(sim.port()), QStringLiteral("--company"), QStringLiteral("A123"),
                 QStringLiteral("--password"), password});
        EXPECT_TRUE(p.waitForFinished(20000));
        QStringList names;
        for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            if (o.contains(QStringLiteral("name")))
                names << (o.contains(QStringLiteral("sent")) ? QStringLiteral("> ") : QStringLiteral("< ")) +
                             o.value(QStringLiteral("name")).toString() + QLatin1Char(' ') +
                             o.value(QStringLiteral("RespCode")).toString();
            if (o.contains(QStringLiteral("result"))) names << o.value(QStringLiteral("result")).toString();
        }
        return names;
    };
    EXPECT_EQ(run(QStringLiteral("logoff"), QStringLiteral("pw1234")),
              (QStringList{QStringLiteral("> LogOnRequest 00"), QStringLiteral("< LogOnReply 00"),
                           QStringLiteral("> LogOffRequest 00"), QStringLiteral("< LogOffReply 00"),
                           QStringLiteral("loggedOff")}));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(run(QStringLiteral("logon"), QStringLiteral("nope")),
              (QStringList{QStringLiteral("> LogOnRequest 00"), QStringLiteral("< LogOnReply 03"),
                           QStringLiteral("failed")}));
    EXPECT_EQ(p.exitCode(), 1);
}

} // namespace

namespace {

// The file commands of the driver against the simulator on one data root.
TEST(VanDriver, SendListUploadListDownloadNoticesPassword) {
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("data"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZQ_REGISTRY"), root.filePath(QStringLiteral("registry.ini")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Lists end after this much silence.
    env.insert(QStringLiteral("ZQ_VAN_LIST_QUIET_MS"), QStringLiteral("300"));
    p.setProcessEnvironment(env);
    auto run = [&](const QStringList& args) {
        QStringList all{QStringLiteral("--root"), data, QStringLiteral("--today"), QStringLiteral("20260316"),
                        QStringLiteral("van")};
        all += args;
        p.start(QStringLiteral(ZQ_DRIVER_PATH), all);
        EXPECT_TRUE(p.waitForFinished(30000));
        QList<QJsonObject> out;
        for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
            if (!line.trimmed().isEmpty()) out << QJsonDocument::fromJson(line).object();
        return out;
    };
    auto result = [](const QList<QJsonObject>& out) { return out.isEmpty() ? QJsonObject() : out.last(); };
    auto rows = [](const QList<QJsonObject>& out) {
        int n = 0;
        for (const QJsonObject& o : out)
            n += o.contains(QStringLiteral("row")) ? 1 : 0;
        return n;
    };

    // A data root with one registration request file waiting.
    p.start(QStringLiteral(ZQ_DRIVER_PATH), {QStringLiteral("--root"), data, QStringLiteral("init")});
    ASSERT_TRUE(p.waitForFinished(30000));
    QDir().mkpath(data + QStringLiteral("/send"));
    {
        QFile f(data + QStringLiteral("/send/26030104.R01"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((QByteArray("S").leftJustified(15, ' ') + "20260316").leftJustified(80, ' ') + "\r\n" +
                QByteArray("D").leftJustified(80, 'd') + "\r\n" + QByteArray("E").leftJustified(80, ' ') +
                "\r\n");
    }
    // Without a book row the file belongs to no item group and is not listed.
    auto out = run({QStringLiteral("send-list")});
    EXPECT_EQ(result(out).value(QStringLiteral("result")).toString(), QStringLiteral("listed"));
    EXPECT_EQ(rows(out), 0);

    VanSimulator sim;
    QTemporaryDir results;
    const QString r = results.filePath(QStringLiteral("r.txt"));
    {
        QFile f(r);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("D").leftJustified(100, 'x') + "\r\n" + QByteArray("D").leftJustified(100, 'y') +
                "\r\n");
    }
    ASSERT_TRUE(sim.start(
        {QStringLiteral("--result-file"), r, QStringLiteral("--entry"),
         QStringLiteral("R0011200202603160900000910000004001  0000"), QStringLiteral("--notice-entry"),
         QStringLiteral("20260315103000") + QString(80, QLatin1Char(' ')) + QStringLiteral("n1.txt"),
         QStringLiteral("--notice-text"), QStringLiteral("hello")}));
    env.insert(QStringLiteral("ZQ_VAN_PUBKEY"), sim.publicKeyPath());
    p.setProcessEnvironment(env);
    const QStringList conn{QStringLiteral("--host"),     QStringLiteral("127.0.0.1"),
                           QStringLiteral("--port"),     QString::number(sim.port()),
                           QStringLiteral("--company"),  QStringLiteral("A123"),
                           QStringLiteral("--password"), QStringLiteral("pw1234")};

    out = run(QStringList{QStringLiteral("list"), QStringLiteral("R"), QStringLiteral("20260301"),
                          QStringLiteral("20260316")} +
              conn);
    EXPECT_EQ(result(out).value(QStringLiteral("result")).toString(), QStringLiteral("listed"));
    EXPECT_EQ(rows(out), 1);

    out =
        run(QStringList{QStringLiteral("download"), QStringLiteral("20260301"), QStringLiteral("20260316")} +
            conn);
    EXPECT_EQ(result(out).value(QStringLiteral("result")).toString(), QStringLiteral("received"));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/recv/0011A123.201")));

    out =
        run(QStringList{QStringLiteral("notices"), QStringLiteral("--fetch"), QStringLiteral("all")} + conn);
    EXPECT_EQ(result(out).value(QStringLiteral("files")).toArray().size(), 1);
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/gong/n1.txt")));

    out = run(QStringList{QStringLiteral("password"), QStringLiteral("pw1234"), QStringLiteral("new1"),
                          QStringLiteral("new2")} +
              conn);
    EXPECT_EQ(result(out).value(QStringLiteral("result")).toString(), QStringLiteral("failed"));
    EXPECT_TRUE(sim.messages(QStringLiteral("recv"), QStringLiteral("0300100")).isEmpty());
    out =
        run(QStringList{QStringLiteral("password"), QStringLiteral("pw1234"), QStringLiteral("new1")} + conn);
    EXPECT_EQ(result(out).value(QStringLiteral("result")).toString(), QStringLiteral("changed"));

    // An upload of a file the list does not show is refused; once booked
    // in an item group it is listed and sent.
    QStringList conn2 = conn;
    conn2[7] = QStringLiteral("new1");
    out = run(QStringList{QStringLiteral("upload"), QStringLiteral("26030104.R01")} + conn2);
    EXPECT_EQ(result(out).value(QStringLiteral("result")).toString(), QStringLiteral("failed"));
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/send/26030104.R01")));
    {
        Connection db;
        ASSERT_TRUE(db.open(data + QStringLiteral("/data/school.db")));
        ASSERT_TRUE(db.exec(QStringLiteral("INSERT INTO M_SRFILE (SRType, FileName, FileType, Gcode) VALUES "
                                           "('S', '26030104.R01', 'R01', '01')")));
    }
    out = run(QStringList{QStringLiteral("upload"), QStringLiteral("26030104.R01")} + conn2);
    EXPECT_EQ(result(out).value(QStringLiteral("result")).toString(), QStringLiteral("sent"));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(data + QStringLiteral("/sback/26030104.R01")));
}

} // namespace
