#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

// Waits until the condition holds, keeping the event loop turning so that
// sockets, timers and child processes make progress; false after ms.
inline bool waitFor(const std::function<bool()>& done, int ms = 8000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}
