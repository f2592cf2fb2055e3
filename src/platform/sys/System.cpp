#include "platform/sys/System.h"

#include "platform/sys/VersionInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/statvfs.h>

namespace System {

QString machineId(const QString& path) {
    struct statvfs st {};
    if (::statvfs(QFile::encodeName(path).constData(), &st) != 0) return QStringLiteral("0000-0000");
    const quint32 id = quint32(st.f_fsid);
    const QString hex = QStringLiteral("%1").arg(id, 8, 16, QLatin1Char('0')).toUpper();
    return hex.left(4) + QLatin1Char('-') + hex.mid(4);
}

void keepFreedMemory() {
#if defined(__GLIBC__)
    // The largest block the allocator may take from its pool, and the free
    // memory it keeps at the pool's end before it gives any back.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

QString programVersion() { return QStringLiteral(ZQ_VERSION_STRING); }

QString exeFolder() {
    QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (dir.isEmpty()) dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

bool startDetached(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

bool processRunning(qint64 pid) {
    if (pid <= 0) return false;
    if (::kill(pid_t(pid), 0) == 0) {
        // A zombie child still answers kill(); look at its state.
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (stat.open(QIODevice::ReadOnly)) {
            const QByteArray s = stat.readAll();
            const int close = s.lastIndexOf(')');
            if (close > 0 && close + 2 < s.size() && s.at(close + 2) == 'Z') return false;
        }
        return true;
    }
    return errno == EPERM;
}

void waitForProcessEnd(qint64 pid) {
    while (processRunning(pid)) QThread::msleep(100);
}

bool moveFileReplace(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) return true;
    // Across file systems: copy beside the target, then rename over it.
    const QString tmp = to + QStringLiteral(".part");
    QFile::remove(tmp);
    if (!QFile::copy(from, tmp)) return false;
    QFile::setPermissions(tmp, QFile::permissions(from));
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(to).constData()) != 0) {
        QFile::remove(tmp);
        return false;
    }
    QFile::remove(from);
    return true;
}

namespace {

// rename() that fails rather than replace; EINVAL where the file system
// cannot say.
int renameNoReplace(const QString& from, const QString& to) {
    return ::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
                       QFile::encodeName(to).constData(), RENAME_NOREPLACE);
}

bool renameIfFree(const QString& from, const QString& to) {
    if (renameNoReplace(from, to) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (QFileInfo::exists(to)) return false;
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

bool moveFileNoReplace(const QString& from, const QString& to) {
    if (QFileInfo::exists(to) || !QFileInfo::exists(from)) return false;
    if (renameIfFree(from, to)) return true;
    if (errno != EXDEV) return false;
    // Across file systems: a copy beside the target, put in place only
    // while the name is still free.
    const QString tmp = to + QStringLiteral(".part");
    QFile::remove(tmp);
    if (!QFile::copy(from, tmp)) return false;
    QFile::setPermissions(tmp, QFile::permissions(from));
    if (!renameIfFree(tmp, to)) {
        QFile::remove(tmp);
        return false;
    }
    QFile::remove(from);
    return true;
}

QString freeFilePath(const QString& path) {
    QString candidate = path;
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = path + QLatin1Char('_') + QString::number(n);
    return candidate;
}

} // namespace System
