#pragma once
#include <QString>
#include <QStringList>

// Services of the operating system that the original took from Windows.
namespace System {

// Machine identifier of the file system holding the path: its id as eight
// upper-case hex digits, split "XXXX-XXXX". "0000-0000" when unreadable.
QString machineId(const QString& path);

// The program's version "a.b.c.d", set once in the build.
QString programVersion();

// Folder of the running program file, with a trailing '/'.
QString exeFolder();

// Set once at the start of the process: memory freed by a listing of tens
// of thousands of rows stays with the program for the next listing instead
// of going back to the system at once, to be faulted in again page by page.
// Large blocks come from the same pool rather than from a mapping of their
// own for the same reason.
void keepFreedMemory();

// Starts a program detached; false when it could not be started.
bool startDetached(const QString& program, const QStringList& args = {});

// Blocks until the process with this id has ended (no time limit).
void waitForProcessEnd(qint64 pid);
bool processRunning(qint64 pid);

// Moves a file over another, replacing it; copies across file systems.
bool moveFileReplace(const QString& from, const QString& to);
// Moves a file only where no file of the target name is; false when one is
// there or the move failed. Copies across file systems.
bool moveFileNoReplace(const QString& from, const QString& to);
// The path itself when no file is there, else the first free of path + "_1",
// path + "_2", ...
QString freeFilePath(const QString& path);

} // namespace System
