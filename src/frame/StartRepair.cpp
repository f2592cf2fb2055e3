#include "frame/StartRepair.h"

#include "basic/DataBackup.h"
#include "data/DMModule.h"
#include "data/FileMoves.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace StartRepair {

namespace {

int g_lockFd = -1;
// A restore that a kill cut short was finished before the database opened.
bool g_restoreFinished = false;

void removeMatching(const QString& folder, const QStringList& masks, bool dirs) {
    QDir d(folder);
    const auto filter = dirs ? QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden : QDir::Files | QDir::Hidden;
    for (const QString& n : d.entryList(masks, filter)) {
        if (dirs)
            QDir(d.filePath(n)).removeRecursively();
        else
            QFile::remove(d.filePath(n));
    }
}

} // namespace

bool takeRootLock(const QString& dataRoot) {
    releaseRootLock();
    const QByteArray file = QFile::encodeName(dataRoot + QStringLiteral("/.zq-running"));
    g_lockFd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (g_lockFd < 0) return false;
    const bool alone = ::flock(g_lockFd, LOCK_EX | LOCK_NB) == 0;
    ::flock(g_lockFd, LOCK_SH);
    return alone;
}

void releaseRootLock() {
    if (g_lockFd >= 0) ::close(g_lockFd);
    g_lockFd = -1;
}

void beforeOpen(const QString& dataRoot) {
    g_restoreFinished = DataBackup::finishInterruptedRestore(dataRoot);
}

QStringList afterOpen(const QString& dataRoot) {
    const QDir root(dataRoot);
    const QStringList placed = FileMoves::finishPending();
    for (const QString& p : placed)
        DMLib->WriteJobLog(QStringLiteral("프로그램시작"), QStringLiteral("[중단작업완료] ") + root.relativeFilePath(p));
    // The restore's own run would have cleared send of the request files
    // the restored database does not book and taken back those it books as
    // waiting.
    if (g_restoreFinished) {
        DataBackup::SetAside s = DataBackup::setAsideUnbookedRequests();
        DataBackup::takeBackBookedRequests(&s);
        DataBackup::logSetAside(s);
    }
    g_restoreFinished = false;
    removeMatching(dataRoot, {QStringLiteral("data.restore-*"), QStringLiteral("data.old-*")}, true);
    removeMatching(dataRoot, {QStringLiteral("restore.ready*")}, false);
    removeMatching(dataRoot + QStringLiteral("/Temp"), {QStringLiteral("snapshot-*")}, true);
    removeMatching(dataRoot + QStringLiteral("/Temp"), {QStringLiteral("*.part")}, false);
    removeMatching(dataRoot + QStringLiteral("/databack"), {QStringLiteral("*.zip.*")}, false);
    return placed;
}

} // namespace StartRepair
