#pragma once
#include <QString>
#include <QStringList>

// What a start finds of a run that was killed: a restore between its renames,
// a request file, backup or result whose booking committed before its move,
// and the temporary copies such runs leave (snapshots, half-made archives,
// unpacked restores, set-aside data folders). Only a program alone on its data root
// repairs and removes: another copy's work in progress looks the same.
namespace StartRepair {

// Takes this program's share of the root's lock; true when no other copy of
// the program holds one (checked with an exclusive lock first).
bool takeRootLock(const QString& dataRoot);
void releaseRootLock();

// Before the database is opened.
void beforeOpen(const QString& dataRoot);
// After it is open: finishes recorded moves and moves applied results left
// in recv to rback (each gets a job-log row), and removes the leftovers;
// returns the files put in place by recorded moves.
QStringList afterOpen(const QString& dataRoot);

} // namespace StartRepair
