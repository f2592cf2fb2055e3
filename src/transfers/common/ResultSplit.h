#pragma once
#include "platform/ui/Msg.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Result files of banks 10 and 11 that answer a merged request file carry
// the round of every record; they are split into one file per round before
// they are listed.
namespace ResultSplit {

struct Outcome {
    QStringList splitFiles;   // received files that were split (and removed)
    QStringList writtenParts; // names of the parts written
    QStringList errors;       // files left as they were, with the reason
    QStringList refusedFiles; // files that failed their checks, left whole
    QList<MsgBox> refusals;   // and the box of each, as applying it shows
};

// Splits every multi-round file of banks 10 and 11 in recv. A file is first
// checked whole against its own trailer, as a file of one round is when it is
// applied; one that fails is refused and left as it is. Every part is written
// (under a temporary name, then renamed) before the received file is
// removed; no round is dropped.
Outcome splitMultiRoundFiles(const QString& recvDir);

// Replaces the last line of a part with its trailer, counted from the
// part's own records.
void RebuildSplitTrailer(QList<QByteArray>& lines, int recLen);

} // namespace ResultSplit
