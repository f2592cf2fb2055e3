#include "platform/ui/Browser.h"
#include "support/TestRoot.h"
#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QThread>

namespace {

// Pages open through xdg-open; a stand-in on PATH plays the desktop.
class BrowserOpen : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        oldPath_ = qgetenv("PATH");
    }
    void TearDown() override {
        qputenv("PATH", oldPath_);
        TestRoot::TearDown();
    }
    void fakeXdgOpen(int exitCode) {
        const QString bin = path(QStringLiteral("bin"));
        QDir().mkpath(bin);
        QFile f(bin + QStringLiteral("/xdg-open"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1/opened'\nexit %2\n")
                    .arg(root())
                    .arg(exitCode)
                    .toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.toUtf8() + ":/usr/bin:/bin");
    }

private:
    QByteArray oldPath_;
};

TEST_F(BrowserOpen, APageNoBrowserTakesIsReportedInABox) {
    const struct {
        const char* name;
        int exitCode;
        int boxes;
    } cases[] = {{"browser opened", 0, 0}, {"no browser found", 3, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        QFile::remove(path(QStringLiteral("opened")));
        fakeXdgOpen(c.exitCode);
        if (c.boxes) msg.expect(MsgResult::Ok);
        EXPECT_TRUE(Browser::open(QStringLiteral("http://example.test/a?b=1")));
        ASSERT_TRUE(waitFor([&] { return QFile::exists(path(QStringLiteral("opened"))); }));
        // Let the process's end be delivered.
        waitFor([&] { return int(msg.shown().size()) >= c.boxes && c.boxes > 0; }, c.boxes ? 8000 : 500);
        ASSERT_EQ(msg.shown().size(), c.boxes);
        if (c.boxes) {
            EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
            EXPECT_TRUE(msg.shown()[0].text.contains(QStringLiteral("http://example.test/a?b=1")));
        }
    }
}

TEST(BrowserShown, APasswordInTheAddressIsMasked) {
    const struct {
        const char* name;
        const char* url;
        const char* shown;
    } cases[] = {
        {"log-in page", "https://h.test/a.jsp?login_id=A1&login_pwd=pw%261",
         "https://h.test/a.jsp?login_id=A1&login_pwd=****"},
        {"password first, more after", "http://h.test/?pwd=x1&b=2", "http://h.test/?pwd=****&b=2"},
        {"passwd in any case", "http://h.test/?a=1&PassWD=x#top", "http://h.test/?a=1&PassWD=****#top"},
        {"an empty password stays visible as masked",
         "http://h.test/?password=", "http://h.test/?password=****"},
        {"no password", "http://h.test/?login_id=A1&b=pwd", "http://h.test/?login_id=A1&b=pwd"},
        {"a name that only ends in pwd", "http://h.test/?xpwd=1", "http://h.test/?xpwd=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Browser::shown(QString::fromLatin1(c.url)), QString::fromLatin1(c.shown));
    }
}

// Messages Qt writes while a test runs.
class CapturedMessages {
public:
    CapturedMessages() { previous_ = qInstallMessageHandler(&CapturedMessages::handle); }
    ~CapturedMessages() { qInstallMessageHandler(previous_); }
    static QStringList& texts() {
        static QStringList t;
        return t;
    }

private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& text) { texts() << text; }
    QtMessageHandler previous_ = nullptr;
};

TEST_F(BrowserOpen, TheBrowserGetsThePasswordTheBoxAndTheLogDoNot) {
    const QString url =
        QStringLiteral("https://h.test/PLIX/login_proc_sms.jsp?login_id=A1&login_pwd=secret9");
    const QString masked =
        QStringLiteral("https://h.test/PLIX/login_proc_sms.jsp?login_id=A1&login_pwd=****");
    const struct {
        const char* name;
        bool xdgOpen;
    } cases[] = {{"xdg-open finds no browser", true}, {"no xdg-open at all", false}};
    const QByteArray browser = qgetenv("BROWSER"), defaultBrowser = qgetenv("DEFAULT_BROWSER");
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        CapturedMessages::texts().clear();
        QFile::remove(path(QStringLiteral("opened")));
        if (c.xdgOpen) {
            fakeXdgOpen(3);
        } else {
            QDir().mkpath(path(QStringLiteral("empty")));
            qputenv("PATH", path(QStringLiteral("empty")).toUtf8());
        }
        msg.expect(MsgResult::Ok);
        {
            CapturedMessages captured;
            Browser::open(url);
            waitFor([&] { return !msg.shown().empty(); }, 8000);
        }
        ASSERT_EQ(msg.shown().size(), 1u);
        EXPECT_TRUE(msg.shown()[0].text.contains(masked));
        EXPECT_FALSE(msg.shown()[0].text.contains(QStringLiteral("secret9")));
        for (const QString& t : CapturedMessages::texts())
            EXPECT_FALSE(t.contains(QStringLiteral("secret9"))) << t.toStdString();
        if (c.xdgOpen) {
            QFile f(path(QStringLiteral("opened")));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(QString::fromUtf8(f.readAll()).trimmed(), url);
        }
    }
    if (!browser.isNull()) qputenv("BROWSER", browser);
    if (!defaultBrowser.isNull()) qputenv("DEFAULT_BROWSER", defaultBrowser);
}

} // namespace
