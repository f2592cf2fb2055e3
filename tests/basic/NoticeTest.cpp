#include "basic/H102B00.h"
#include "platform/settings/IniFile.h"
#include "platform/ui/Browser.h"
#include "support/TestRoot.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>

namespace {

class Notice : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Browser::setOpener([this](const QString& url) {
            opened << url;
            return true;
        });
    }
    void TearDown() override {
        Browser::setOpener({});
        TestRoot::TearDown();
    }
    QString ini() const { return path(QStringLiteral("pop.ini")); }
    void setNotice(const QString& v) {
        IniFile f(ini());
        f.load();
        f.setValue(QStringLiteral("PopUp"), QStringLiteral("notice"), v);
        ASSERT_TRUE(f.save());
    }
    QString notice() {
        IniFile f(ini());
        f.load();
        return f.value(QStringLiteral("PopUp"), QStringLiteral("notice"));
    }
    QStringList opened;
};

TEST_F(Notice, DismissedOnlyForToday) {
    EXPECT_FALSE(NoticeState::dismissedToday(ini())); // no file
    const struct {
        const char* value;
        bool dismissed;
    } cases[] = {
        {"20260316", true}, {" 20260316 ", true}, {"20260315", false}, {"", false}, {"2026-03-16", false}};
    for (const auto& c : cases) {
        setNotice(QString::fromUtf8(c.value));
        EXPECT_EQ(NoticeState::dismissedToday(ini()), c.dismissed) << c.value;
    }
}

TEST_F(Notice, ClosingWithTheCheckWritesTodayAndWithoutLeavesTheFile) {
    setNotice(QStringLiteral("20260101"));
    {
        TfrmH102B00 d(nullptr, ini());
        d.show();
        EXPECT_EQ(opened, QStringList{NoticeState::pageUrl()});
        d.FormActivate(); // activated again: not a second browser window
        EXPECT_EQ(opened.size(), 1);
        d.cmdCloseClick();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(notice(), QStringLiteral("20260101"));

    TfrmH102B00 d(nullptr, ini());
    d.chkToday->setChecked(true);
    d.cmdCloseClick();
    EXPECT_EQ(notice(), QStringLiteral("20260316"));
    EXPECT_TRUE(NoticeState::dismissedToday(ini()));
    EXPECT_TRUE(NoticeState::pageUrl().endsWith(QStringLiteral("/view/school.php")));
}

// The page's host is a setting like the other hosts: ZQ_NOTICE_URL, or the
// maker's server when it is unset or blank; the dialog opens what it gives.
TEST_F(Notice, HostComesFromTheSetting) {
    const QByteArray old = qgetenv("ZQ_NOTICE_URL");
    const bool had = qEnvironmentVariableIsSet("ZQ_NOTICE_URL");
    const struct {
        const char* env; // nullptr: unset
        const char* url;
    } cases[] = {
        {nullptr, "http://www.torva.co.kr/view/school.php"},
        {"", "http://www.torva.co.kr/view/school.php"},
        {"  ", "http://www.torva.co.kr/view/school.php"},
        {"http://127.0.0.1:8080", "http://127.0.0.1:8080/view/school.php"},
        {"https://notice.example.org//", "https://notice.example.org/view/school.php"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.env ? c.env : "unset");
        if (c.env)
            qputenv("ZQ_NOTICE_URL", c.env);
        else
            qunsetenv("ZQ_NOTICE_URL");
        EXPECT_EQ(NoticeState::pageUrl(), QString::fromUtf8(c.url));
        opened.clear();
        TfrmH102B00 d(nullptr, ini());
        d.show();
        EXPECT_EQ(opened, QStringList{QString::fromUtf8(c.url)});
        EXPECT_TRUE(d.vBrowser->text().contains(QString::fromUtf8(c.url)));
        d.cmdCloseClick();
    }
    if (had)
        qputenv("ZQ_NOTICE_URL", old);
    else
        qunsetenv("ZQ_NOTICE_URL");
}

} // namespace
