#include "platform/net/Http.h"
#include "support/HttpTestServer.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray body(int n) {
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + 3) & 0xff);
    return b;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class HttpTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.put(QStringLiteral("f.bin"), body(200000));
        server.put(QStringLiteral("cut.bin"), body(100000));
        server.truncate({QStringLiteral("/cut.bin")});
        QString e;
        ASSERT_TRUE(server.start(&e)) << e.toStdString();
    }
    QString target() const { return out.filePath(QStringLiteral("target")); }

    HttpTestServer server;
    QTemporaryDir out;
};

} // namespace

TEST_F(HttpTest, WholeBodyIsCompleteAndKeptUnderTheTarget) {
    QFile::remove(target());
    qint64 lastTotal = -1, lastSoFar = -1;
    const Http::Result r =
        Http::get(server.url() + QStringLiteral("/f.bin"), target(), [&](qint64 t, qint64 s) {
            lastTotal = t;
            lastSoFar = s;
            return true;
        });
    EXPECT_TRUE(r.complete()) << r.error.toStdString();
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.expectedLength, 200000);
    EXPECT_EQ(r.bytesWritten, 200000);
    EXPECT_EQ(lastTotal, 200000);
    EXPECT_EQ(lastSoFar, 200000);
    // Nothing at the target until the caller keeps it.
    EXPECT_FALSE(QFile::exists(target()));
    ASSERT_TRUE(Http::keep(r, target()));
    EXPECT_FALSE(QFile::exists(r.tempPath));
    EXPECT_EQ(readAll(target()), body(200000));
}

TEST_F(HttpTest, FailuresAreNeverComplete) {
    struct Case {
        const char* name;
        QString url;
        long status;
        bool transferError;
    };
    const Case cases[] = {
        {"missing file", server.url() + QStringLiteral("/none.bin"), 404, false},
        {"connection refused", HttpTestServer::unreachableUrl() + QStringLiteral("/f.bin"), 0, true},
        {"body cut short", server.url() + QStringLiteral("/cut.bin"), 200, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(target());
        const Http::Result r = Http::get(c.url, target());
        EXPECT_FALSE(r.complete());
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(!r.error.isEmpty(), c.transferError) << r.error.toStdString();
        Http::discard(r);
        EXPECT_FALSE(QFile::exists(r.tempPath));
        EXPECT_FALSE(QFile::exists(target()));
    }
}

TEST_F(HttpTest, TruncatedBodyReportsWhatArrived) {
    const Http::Result r = Http::get(server.url() + QStringLiteral("/cut.bin"), target());
    EXPECT_EQ(r.expectedLength, 100000);
    EXPECT_EQ(r.bytesWritten, 50000);
    EXPECT_FALSE(r.complete());
    Http::discard(r);
}

TEST_F(HttpTest, ProgressCanCancel) {
    const Http::Result r =
        Http::get(server.url() + QStringLiteral("/f.bin"), target(), [](qint64, qint64) { return false; });
    EXPECT_FALSE(r.complete());
    EXPECT_FALSE(r.error.isEmpty());
    Http::discard(r);
}

TEST_F(HttpTest, SilentServerEndsByIdleTimeout) {
    // Listens (the kernel accepts the connection) but never answers.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    Http::Timeouts t;
    t.idleSec = 1;
    const Http::Result r =
        Http::get(QStringLiteral("http://127.0.0.1:%1/x").arg(silent.serverPort()), target(), {}, t);
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(r.complete());
    Http::discard(r);
}
