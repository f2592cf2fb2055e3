#pragma once
#include "transfers/common/ResultFile.h"

#include <QList>
#include <QString>
#include <QStringList>

// Distribution result files ("*.3*" in recv) and their application to the
// shown distribution round (H_300_ + yyyymm + SS), on plain values. Four
// layouts: the 80-byte layout (banks 20, 21 and every bank not named), banks
// 10 and 11, bank 12 and bank 03.
namespace ResultEngine {
struct Layout;
}

namespace DistribResult {

enum class Reader { Std, NH, Bank12, Bank03 };
// Characters 3-4 of the file name choose the reader.
Reader readerFor(const QString& fileBank);
// What the whole-file check reads of a reader's layout.
const ResultEngine::Layout& checksOf(Reader r);

// Files in recv of the type "*.3*" (any case), in name order.
QStringList listFiles(const QString& recvDir);
// The list values of one file: date, bank, transfer date and data count at
// the positions of the file's bank.
ResultFileInfo readInfo(const QString& path);
// The files of the work window's bank (characters 3-4 of the name).
QList<ResultFileInfo> filesForBank(const QString& recvDir, const QString& workBank);

// "301" and up per round among the applied distribution results, whatever
// the bank.
QString NextResultType(const QString& yymm, const QString& seqNo);

// Applies a result file to the round req.yearMon/req.seqNo. The whole file
// is checked first (record length and characters, header, trailer count and
// total, dates, flags and amounts, the round and exactly one row for every
// record, and that it was not applied before); transferred, cash and exempt
// rows are reported and left; then the rows, the booking ("R", with the
// group in Gcode), the log line, the fingerprint and the file's move are
// written in one transaction, and the file moves to rback under a name not
// in use.
ResultApplyOutcome apply(const ResultApplyRequest& req);

} // namespace DistribResult
