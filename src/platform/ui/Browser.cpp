#include "platform/ui/Browser.h"

#include "platform/ui/Msg.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {
Browser::Opener& opener() {
    static Browser::Opener o;
    return o;
}

void cannotOpen(const QString& url, QWidget* parent) {
    Msg::error(
        QStringLiteral("웹페이지"),
        QStringLiteral("웹 브라우저를 실행할 수 없습니다.\r\n기본 웹 브라우저를 설정한 뒤 다시 하십시오."
                       "\r\n\r\n") +
            Browser::shown(url),
        parent);
}

// Qt's own warnings about a page it cannot open quote the address: while it
// tries, they pass through with the password masked.
class MaskedMessages {
public:
    explicit MaskedMessages(const QString& url) {
        current() = {url, Browser::shown(url)};
        previous_ = qInstallMessageHandler(&MaskedMessages::handle);
        active() = previous_;
    }
    ~MaskedMessages() {
        qInstallMessageHandler(previous_);
        current() = {};
        active() = nullptr;
    }
    MaskedMessages(const MaskedMessages&) = delete;
    MaskedMessages& operator=(const MaskedMessages&) = delete;

private:
    struct Pair {
        QString url, shown;
    };
    static Pair& current() {
        static Pair p;
        return p;
    }
    static QtMessageHandler& active() {
        static QtMessageHandler h = nullptr;
        return h;
    }
    static void handle(QtMsgType type, const QMessageLogContext& ctx, const QString& text) {
        QString t = text;
        const Pair& p = current();
        if (!p.url.isEmpty()) {
            t.replace(p.url, p.shown);
            // Qt may quote the address in its own encoding.
            t = Browser::shown(t);
        }
        if (active())
            active()(type, ctx, t);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, ctx, t)));
    }
    QtMessageHandler previous_ = nullptr;
};
} // namespace

namespace Browser {

bool open(const QString& url, QWidget* parent) {
    if (opener()) return opener()(url);
    // xdg-open tells by its exit code whether a browser took the page; the
    // desktop services only say that xdg-open was started.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        bool opened = false;
        {
            MaskedMessages masked(url);
            opened = QDesktopServices::openUrl(QUrl(url));
        }
        if (opened) return true;
        cannotOpen(url, parent);
        return false;
    }
    // Not owned by the application: a browser still open when the program
    // ends must not be killed with it.
    auto* p = new QProcess;
    QPointer<QWidget> owner(parent);
    QObject::connect(p, &QProcess::finished, p, [p, url, owner](int code, QProcess::ExitStatus st) {
        p->deleteLater();
        if (st != QProcess::NormalExit || code != 0) cannotOpen(url, owner);
    });
    QObject::connect(p, &QProcess::errorOccurred, p, [p, url, owner](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        p->deleteLater();
        cannotOpen(url, owner);
    });
    // The browser's own output is not ours to show.
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    p->start(xdgOpen, {url});
    return true;
}

QString shown(const QString& url) {
    static const QRegularExpression password(
        QStringLiteral("([?&](?:login_pwd|pwd|passwd|password)=)[^&#\\s'\"]*"),
        QRegularExpression::CaseInsensitiveOption);
    QString s = url;
    s.replace(password, QStringLiteral("\\1****"));
    return s;
}

void setOpener(Opener o) {
    opener() = std::move(o);
}

} // namespace Browser
