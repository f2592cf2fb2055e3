#pragma once
#include <QString>
#include <QStringList>

// Moves of files that belong to a database change (a request file placed in
// send with its booking, a backup archive with its log row). The move is
// recorded in the change's transaction and carried out after the commit; a
// move that a kill interrupted is finished at the next start. So the change
// and its file are there together or not at all.
namespace FileMoves {

bool ensureTable(QString* error = nullptr);

// Records the move; run it inside the change's transaction.
bool record(const QString& from, const QString& to, QString* error = nullptr);
// Carries out a recorded move after the commit and forgets it.
bool carryOut(const QString& from, const QString& to);
// Finishes the recorded moves whose file is still at its source and forgets
// every recorded move; returns the files put in place.
QStringList finishPending();

} // namespace FileMoves
