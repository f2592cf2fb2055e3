#include "platform/sys/CrashPoint.h"

#include <QByteArray>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace CrashPoint {

void hit(const char* step) {
    static const QByteArray crashAt = qgetenv("ZQ_CRASH_AT");
    static const QByteArray pauseAt = qgetenv("ZQ_PAUSE_AT");
    if (!crashAt.isEmpty() && std::strcmp(crashAt.constData(), step) == 0) ::_exit(kExitCode);
    if (!pauseAt.isEmpty()) {
        const int colon = pauseAt.indexOf(':');
        if (colon > 0 && pauseAt.left(colon) == step) {
            // Said on stderr so that a test knows the hold has begun.
            std::fprintf(stderr, "paused at %s\n", step);
            std::fflush(stderr);
            QThread::msleep(pauseAt.mid(colon + 1).toULong());
        }
    }
}

} // namespace CrashPoint
