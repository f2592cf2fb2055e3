#pragma once
#include <QString>
#include <QStringList>

// Moves of files that belong to a database change (a request file placed in
// send with its booking, a backup archive with its log row, a result file
// into rback). The move is recorded in the change's transaction and carried
// out after the commit; a move that a kill interrupted is finished at the
// next start. So the change and its file are there together or not at all.
//
// A record carries the SHA-256 of the file it moves: a later file that took
// the source's name (a new result of the same name in recv) is never moved
// in its place. A move never replaces a file: where the target is taken,
// the file goes to the next free name beside it (name_1, name_2, ...).
namespace FileMoves {

bool ensureTable(QString* error = nullptr);

// Records the move of the file now at from; run it inside the change's
// transaction. False when the file cannot be read.
bool record(const QString& from, const QString& to, QString* error = nullptr);
// The same with the file's SHA-256 (of its bytes) known already.
bool record(const QString& from, const QString& to, const QString& hash, QString* error = nullptr);
// Carries out a recorded move after the commit and forgets it. placed gets
// the path the file went to (to, or a free name beside it).
bool carryOut(const QString& from, const QString& to, QString* placed = nullptr);
// Finishes the recorded moves whose recorded file is still at its source
// and forgets every recorded move; returns the files put in place. With
// fromDir, only the moves out of that folder.
QStringList finishPending(const QString& fromDir = QString());

} // namespace FileMoves
