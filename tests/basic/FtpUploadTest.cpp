#include "platform/net/FtpUpload.h"
#include "basic/BackupMenu.h"
#include "basic/DataBackup.h"
#include "data/DMModule.h"
#include "platform/archive/Zip.h"
#include "platform/settings/Registry.h"
#include "support/FtpServer.h"
#include "support/TestRoot.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// A port on which nothing listens.
int deadPort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort(); // closed again when s goes
}

class FtpUploadTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        DMLib->FSchCode = QStringLiteral("Z123");
        QString error;
        ASSERT_TRUE(server.start(&error)) << error.toStdString();
        QDir(server.home()).mkpath(QStringLiteral("somaris/data"));
        setFtp(server.port(), server.user(), server.password());
        // Some binary content in every folder that goes into the package.
        QByteArray bin;
        for (int i = 0; i < 300000; ++i)
            bin.append(char((i * 131) ^ (i >> 3)));
        writeFile(path(QStringLiteral("sback/Z1230316.200")), bin);
        writeFile(path(QStringLiteral("rback/Z1230316.R00")), "\r\n\x1a\x00\xff" + bin.left(1000));
    }
    void setFtp(int port, const QString& user, const QString& password) {
        const QString k = QStringLiteral("Ftp");
        Registry::writeString(k, QStringLiteral("Address"), QStringLiteral("127.0.0.1"));
        Registry::writeString(k, QStringLiteral("PortNo"), QString::number(port));
        Registry::writeString(k, QStringLiteral("LoginNm"), user);
        Registry::writeString(k, QStringLiteral("Passwd"), password);
    }
    QString package() const { return DMLib->dir(QStringLiteral("databack")) + QStringLiteral("Z123.zip"); }
    QString remote() const { return server.home() + QStringLiteral("/somaris/data/Z123.zip"); }
    qint64 uploadLogRows() {
        return scalar(
            QStringLiteral("SELECT COUNT(*) FROM L_Log_202603 WHERE MenuName = ? AND JobLog = ?"),
            {QStringLiteral("자료전송"), QStringLiteral("[자료전송] TORVA으로 백업데이터전송 Z123.zip")});
    }

    FtpServer server;
};

TEST_F(FtpUploadTest, PackageIsStoredInSomarisDataAfterTheOldOneIsDeleted) {
    writeFile(remote(), "yesterday's package, longer than nothing");
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_TRUE(BackupMenu::MnuT104B00Click(nullptr));
    ASSERT_EQ(msg.shown().size(), 2);
    EXPECT_EQ(msg.shown().at(0).caption, QStringLiteral("자료전송"));
    EXPECT_EQ(msg.shown().at(0).text, BackupMenu::workProtectionText(true));
    EXPECT_EQ(msg.shown().at(1).caption, QStringLiteral("전송성공"));
    EXPECT_EQ(msg.shown().at(1).text, QStringLiteral("데이터 전송이 완료되었습니다!!"));

    ASSERT_TRUE(QFile::exists(package()));
    EXPECT_EQ(readFile(remote()), readFile(package())); // binary, byte for byte
    EXPECT_EQ(QDir(server.home()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"somaris"});
    EXPECT_EQ(QDir(server.home() + "/somaris/data").entryList(QDir::Files), QStringList{"Z123.zip"});

    QStringList cmds;
    for (const QString& c : server.commands())
        cmds << c.section(QLatin1Char(' '), 0, 0);
    const int cwd1 = cmds.indexOf(QStringLiteral("CWD"));
    const int dele = cmds.indexOf(QStringLiteral("DELE"));
    const int type = cmds.indexOf(QStringLiteral("TYPE"));
    const int stor = cmds.indexOf(QStringLiteral("STOR"));
    ASSERT_GE(cwd1, 0);
    ASSERT_GE(dele, 0);
    ASSERT_GE(stor, 0);
    EXPECT_LT(cwd1, dele);
    EXPECT_LT(dele, stor);
    EXPECT_LT(type, stor);
    EXPECT_TRUE(server.commands().contains(QStringLiteral("TYPE I")));
    EXPECT_TRUE(server.commands().contains(QStringLiteral("DELE Z123.zip")));
    EXPECT_EQ(uploadLogRows(), 1);
}

TEST_F(FtpUploadTest, NothingToDeleteStillStores) {
    msg.expect({MsgResult::Yes, MsgResult::Ok});
    EXPECT_TRUE(BackupMenu::MnuT104B00Click(nullptr));
    EXPECT_EQ(readFile(remote()), readFile(package()));
}

TEST_F(FtpUploadTest, ProgressReachesTheFileSize) {
    writeFile(path(QStringLiteral("big.bin")), QByteArray(3 * 1024 * 1024, 'q'));
    FtpUpload::Settings s{QStringLiteral("127.0.0.1"), server.port(), server.user(), server.password(),
                          20000};
    qint64 last = -1, total = -1;
    int calls = 0;
    const FtpUpload::Result r = FtpUpload::put(s, {QStringLiteral("somaris"), QStringLiteral("data")},
                                               path(QStringLiteral("big.bin")), QStringLiteral("big.bin"),
                                               [&](qint64 sent, qint64 t) {
                                                   EXPECT_GE(sent, last);
                                                   last = sent;
                                                   total = t;
                                                   ++calls;
                                               });
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(total, 3 * 1024 * 1024);
    EXPECT_EQ(last, total);
    EXPECT_GT(calls, 1);
}

TEST_F(FtpUploadTest, RefusalsGiveTheFailureBoxesAndKeepTheLocalPackage) {
    const struct {
        const char* label;
        std::function<void()> arrange;
        QStringList captions; // after the question
        QStringList texts;
    } cases[] = {
        {"wrong password",
         [this] { setFtp(server.port(), server.user(), QStringLiteral("wrong")); },
         {QStringLiteral("전송실패"), QStringLiteral("연결실패")},
         {QStringLiteral("자료전송 FTP 연결을 실패했습니다!!"),
          QStringLiteral("FTP 연결이 실패하였습니다!!")}},
        {"nothing listens",
         [this] { setFtp(deadPort(), server.user(), server.password()); },
         {QStringLiteral("전송실패"), QStringLiteral("연결실패")},
         {QStringLiteral("자료전송 FTP 연결을 실패했습니다!!"),
          QStringLiteral("FTP 연결이 실패하였습니다!!")}},
        {"no remote folder",
         [this] { QDir(server.home() + QStringLiteral("/somaris")).removeRecursively(); },
         {QStringLiteral("FTP Error")},
         {QStringLiteral("업데이트중 오류 발생!!")}},
        {"port is no number",
         [] {
             Registry::writeString(QStringLiteral("Ftp"), QStringLiteral("PortNo"), QStringLiteral("21a"));
         },
         {QStringLiteral("전송실패")},
         {QStringLiteral("자료전송 FTP 연결을 실패했습니다!!")}},
        {"no Ftp key",
         [] { QFile::remove(Registry::path()); },
         {QStringLiteral("전송실패")},
         {QStringLiteral("자료전송 FTP 연결을 실패했습니다!!")}},
        {"server gone (last: it stays down)",
         [this] { server.stop(); },
         {QStringLiteral("전송실패"), QStringLiteral("연결실패")},
         {QStringLiteral("자료전송 FTP 연결을 실패했습니다!!"),
          QStringLiteral("FTP 연결이 실패하였습니다!!")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        msg.clear();
        setFtp(server.port(), server.user(), server.password());
        c.arrange();
        msg.expect(MsgResult::Yes);
        for (int i = 0; i < c.captions.size(); ++i)
            msg.expect(MsgResult::Ok);
        EXPECT_FALSE(BackupMenu::MnuT104B00Click(nullptr));
        ASSERT_EQ(msg.shown().size(), 1 + c.captions.size());
        for (int i = 0; i < c.captions.size(); ++i) {
            EXPECT_EQ(msg.shown().at(i + 1).caption, c.captions.at(i));
            EXPECT_EQ(msg.shown().at(i + 1).text, c.texts.at(i));
            EXPECT_EQ(msg.shown().at(i + 1).icon, MsgIcon::Error);
        }
        EXPECT_TRUE(QFile::exists(package()));
        QStringList names;
        EXPECT_TRUE(Zip::entries(package(), &names));
        EXPECT_EQ(uploadLogRows(), 0);
        EXPECT_FALSE(QFile::exists(remote()));
    }
}

} // namespace
