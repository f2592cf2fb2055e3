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

} // namespace
