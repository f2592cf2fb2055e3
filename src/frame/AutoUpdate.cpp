#include "frame/AutoUpdate.h"

#include "frame/fruAutoUp.h"
#include "platform/settings/IniFile.h"
#include "platform/sys/System.h"
#include "platform/ui/Msg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {

constexpr auto kServerUrl = "http://update.torva.co.kr";

const QString kConnectFailed = QStringLiteral("업그레이드 서버에 연결할수 없습니다.");

// Reads [AutoUp] ver; a missing file or key gives def, text that is no
// number leaves *value as it was.
void readVersion(const QString& file, const QString& def, double* value) {
    IniFile ini(file);
    ini.load();
    double v = 0;
    if (ParseVersion(ini.value(QStringLiteral("AutoUp"), QStringLiteral("ver"), def), &v)) *value = v;
}

constexpr QFile::Permissions kExecutable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther;

} // namespace

StartMode startModeFor(const QStringList& args) {
    if (args.isEmpty()) return StartMode::UpdateCheck;
    if (args.size() == 3) return StartMode::Replacement;
    return StartMode::Normal;
}

bool ParseVersion(const QString& text, double* value) {
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (ok && value) *value = v;
    return ok;
}

AutoUpdate::AutoUpdate(QString exeFolder, QString serverUrl)
    : ExeFolder(std::move(exeFolder)), ServerUrl(std::move(serverUrl)) {
    if (!ExeFolder.endsWith(QLatin1Char('/'))) ExeFolder += QLatin1Char('/');
    while (ServerUrl.endsWith(QLatin1Char('/')))
        ServerUrl.chop(1);
}

QString AutoUpdate::defaultServerUrl() {
    const QString env = qEnvironmentVariable("ZQ_UPDATE_URL");
    return env.isEmpty() ? QString::fromLatin1(kServerUrl) : env;
}

QString AutoUpdate::url(const QString& file) const {
    return ServerUrl + QStringLiteral("/SCH_INST/") + file;
}

bool AutoUpdate::MakeDownFolder() const {
    return QDir().mkpath(DownFolder());
}

void AutoUpdate::ReadLocalVersion() {
    readVersion(InstalledVerIni(), QStringLiteral("1.000"), &LocalVersion);
}

bool AutoUpdate::FetchVersionFile() {
    const Http::Result r = Http::get(url(QStringLiteral("ver.ini")), DownVerIni(), {}, timeouts);
    if (!r.complete() || !Http::keep(r, DownVerIni())) {
        Http::discard(r);
        Msg::show(ProgramTitle, kConnectFailed, MsgIcon::None);
        return false;
    }
    return true;
}

bool AutoUpdate::IsUpdateDue() {
    if (!FetchVersionFile()) return false;
    readVersion(DownVerIni(), QStringLiteral("1.001"), &RemoteVersion);
    return LocalVersion < RemoteVersion;
}

bool AutoUpdate::FetchProgramFile(const Http::Progress& progress, QString* error, bool* connectFailed) {
    const QString target = NewProgramPath();
    const Http::Result r = Http::get(url(QStringLiteral("Smr2002.exe")), target, progress, timeouts);
    if (connectFailed) *connectFailed = r.status == 0;
    if (!r.complete()) {
        Http::discard(r);
        if (error) {
            if (!r.error.isEmpty())
                *error = r.error;
            else if (r.status != 200)
                *error = QStringLiteral("HTTP %1").arg(r.status);
            else
                *error = QStringLiteral("%1/%2 Byte").arg(r.bytesWritten).arg(r.expectedLength);
        }
        return false;
    }
    QFile::setPermissions(r.tempPath, kExecutable);
    if (!Http::keep(r, target)) {
        if (error) *error = target;
        return false;
    }
    return true;
}

bool AutoUpdate::Relaunch(qint64 pid, const QString& runningPath) const {
    const QString next = NewProgramPath();
    return System::startDetached(next, {QString::number(pid), runningPath, next});
}

bool AutoUpdate::RunUpdateCheck(qint64 pid, const QString& runningPath) {
    ReadLocalVersion();
    if (!IsUpdateDue()) return false;
    // A half-fetched or cancelled program file is never started; the office
    // works on with the installed version and the next start tries again.
    if (!RunUpdateWindow(*this)) return false;
    if (!Relaunch(pid, runningPath)) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("업그레이드 프로그램을 실행할 수 없습니다.\r%1")
                                               .arg(QDir::toNativeSeparators(NewProgramPath())));
        return false;
    }
    return true;
}

bool RunReplacement(const QStringList& args) {
    if (args.size() != 3) return false;
    bool ok = false;
    const qint64 pid = args.at(0).trimmed().toLongLong(&ok);
    const QString oldPath = args.at(1);
    const QString newPath = args.at(2);
    if (!ok || pid <= 0 || !QFileInfo(oldPath).isFile() || !QFileInfo(newPath).isFile()) return false;

    // The old program must have let go of its file before it is replaced.
    System::waitForProcessEnd(pid);
    if (System::moveFileReplace(newPath, oldPath)) {
        QFile::setPermissions(oldPath, QFile::permissions(oldPath) | QFile::ExeOwner | QFile::ExeGroup |
                                           QFile::ExeOther);
        // Only now does the installed version say the new one: had the move
        // failed, the next start would find the update due and try again.
        const QString newIni = QFileInfo(newPath).absolutePath() + QStringLiteral("/ver.ini");
        const QString oldIni = QFileInfo(oldPath).absolutePath() + QStringLiteral("/ver.ini");
        if (QFileInfo(newIni).isFile() && newIni != oldIni) {
            const QString tmp = oldIni + QStringLiteral(".new");
            QFile::remove(tmp);
            if (QFile::copy(newIni, tmp)) System::moveFileReplace(tmp, oldIni);
            QFile::remove(tmp);
        }
    }
    System::startDetached(oldPath);
    return true;
}
