#pragma once
#include "platform/net/Http.h"

#include <QString>
#include <QStringList>

// The program's title in the task bar; also the caption of its plain boxes.
inline const QString ProgramTitle = QStringLiteral("소마린 '2002 v3.1.8.9[TORVA]");

// How the program was started, by the number of its arguments.
enum class StartMode {
    UpdateCheck, // no argument
    Replacement, // exactly three: pid, old path, new path
    Normal,      // any other count
};
StartMode startModeFor(const QStringList& args);

// The self-update of the program folder: version files, the download of the
// new program file into Down and the relaunch of that file.
//
// The installed ver.ini is replaced only by the replacement copy, after the
// new program file has been moved into place; until then every start finds
// the update due again, so a broken update is retried.
class AutoUpdate {
public:
    // exeFolder ends with '/'; serverUrl is the base ("http://host[:port]").
    explicit AutoUpdate(QString exeFolder, QString serverUrl = defaultServerUrl());

    // The built-in server, or ZQ_UPDATE_URL when it is set.
    static QString defaultServerUrl();

    QString ExeFolder;
    QString ServerUrl;
    double LocalVersion = 0;
    double RemoteVersion = 0;

    QString DownFolder() const { return ExeFolder + QStringLiteral("Down"); }
    QString NewProgramPath() const { return ExeFolder + QStringLiteral("Down/Smr2002.exe"); }
    QString InstalledVerIni() const { return ExeFolder + QStringLiteral("ver.ini"); }
    QString DownVerIni() const { return DownFolder() + QStringLiteral("/ver.ini"); }

    // Creates Down when it is missing.
    bool MakeDownFolder() const;

    void ReadLocalVersion();
    // Downloads ver.ini into Down. A failure shows the connection message.
    bool FetchVersionFile();
    bool IsUpdateDue();

    // Downloads the program file and installs it as NewProgramPath
    // (executable) only when it arrived whole with status 200. On failure
    // *connectFailed tells a failed connection from a bad answer.
    bool FetchProgramFile(const Http::Progress& progress, QString* error, bool* connectFailed = nullptr);

    // Starts NewProgramPath as the replacement copy of runningPath.
    bool Relaunch(qint64 pid, const QString& runningPath) const;

    // No-argument start: the check, and when an update is due the update
    // window and the relaunch. True when the program must end now.
    bool RunUpdateCheck(qint64 pid, const QString& runningPath);

    Http::Timeouts timeouts;

private:
    QString url(const QString& file) const;
};

// Reads a version text as the program always has: a decimal number,
// blanks around it allowed. False for anything else.
bool ParseVersion(const QString& text, double* value);

// The replacement copy (three arguments). Waits for the old process, moves
// the new file over the old one, installs the ver.ini that came with it and
// starts the old path. False when the arguments do not qualify; the normal
// start follows then.
bool RunReplacement(const QStringList& args);
