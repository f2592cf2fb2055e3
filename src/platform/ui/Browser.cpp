#include "platform/ui/Browser.h"

#include "platform/ui/Msg.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

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
            url,
        parent);
}
} // namespace

namespace Browser {

bool open(const QString& url, QWidget* parent) {
    if (opener()) return opener()(url);
    // xdg-open tells by its exit code whether a browser took the page; the
    // desktop services only say that xdg-open was started.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (QDesktopServices::openUrl(QUrl(url))) return true;
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

void setOpener(Opener o) {
    opener() = std::move(o);
}

} // namespace Browser
