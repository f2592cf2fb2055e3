#include "platform/ui/Browser.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
Browser::Opener& opener() {
    static Browser::Opener o;
    return o;
}
} // namespace

namespace Browser {

bool open(const QString& url) {
    if (opener()) return opener()(url);
    return QDesktopServices::openUrl(QUrl(url));
}

void setOpener(Opener o) {
    opener() = std::move(o);
}

} // namespace Browser
