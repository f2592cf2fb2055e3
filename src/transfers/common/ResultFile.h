#pragma once
#include "platform/ui/Msg.h"
#include "transfers/common/FileLayout.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <span>

// Collection result files as the banks return them, and their application to
// a round table.

// The list values of one result file waiting in recv.
struct ResultFileInfo {
    QString fileName;
    QString path;
    QString bankCd;       // characters 3-4 of the name
    int recLen = 0;       // length of the first line
    QString recvDate;     // modification date, yyyy.mm.dd
    QString transferDate; // yymmdd from the header
    qint64 dataCount = 0; // data records by the trailer
};

enum class ResultReader { NH200, NH80, NH12, Layout100A, Layout100B, Layout80 };

namespace ResultFile {

// Reads the header and trailer values of a file for the list.
ResultFileInfo readInfo(const QString& path);

// Files in recv of the type "*.2*" (kind 3: "*.3*"), in name order.
QStringList listFiles(const QString& recvDir, QChar kind = QLatin1Char('2'));

// Carries out the moves out of recv that applies booked and a kill or a
// failed move left undone; returns the files put in rback. A file applied
// before whose move is not booked (a copy downloaded again or put back by
// hand) is not moved: it is listed, and its apply is refused.
QStringList finishBookedMoves(const QString& recvDir);
// The path in rback for an archive of that name; never an existing file.
QString freeArchivePath(const QString& rbackDir, const QString& name);
// The archive name of an applied result: stem (yymm, round, bank) + "." +
// the first type from firstType on whose name rback does not hold, so the
// name booked is the name the file is stored under (a restored database
// numbers its types again while rback keeps the undone ones). Empty when
// the types of the kind (x01 to x99) are used up.
QString freeResultArchive(const QString& rbackDir, const QString& stem, const QString& firstType);

// Compares every amount the trailer states (the layout's sums) with the data
// records lines[1, end); processed tells a processed record. Empty when they
// agree, else the refusal naming the file.
QString checkTrailerSums(const QList<QByteArray>& lines, int end,
                         std::span<const FileLayout::TrailerSum> sums,
                         const std::function<bool(const QByteArray&)>& processed, const QString& fileName);

// The files the list shows for the work window's bank: the bank's own, and
// for bank "10" those of bank "11" too.
QList<ResultFileInfo> filesForBank(const QString& recvDir, const QString& workBank);

ResultReader chooseReader(const QString& fileBank, int recLen);

// Splits a file into lines without their line ends (CR LF, LF or CR), a
// final ^Z and the empty lines at its end dropped.
QList<QByteArray> splitLines(const QByteArray& content);

// "yyyy.mm.dd" of the list's transfer-date column from yymmdd.
QString transferDateColumn(const QString& yymmdd);

} // namespace ResultFile

// What the result dialog knows when it applies a file.
struct ResultApplyRequest {
    QString path;             // the file in recv
    QString workBank;         // bank chosen in the work window (2 characters)
    QString gcode;            // item group of the work window
    QString yearMon;          // the dialog's round: yyyymm
    QString seqNo;            //                     and round
    QString listBankName;     // list column 1
    QString listTransferDate; // list column 3
    QString listCount;        // list column 4
};

struct ResultApplyOutcome {
    enum class Status {
        Applied,   // rows changed, file archived and booked: the dialog closes with OK
        Refused,   // nothing changed; the dialog closes with Cancel
        Invalid,   // the file failed a check; nothing changed, the dialog stays open
        NeedRound, // the dialog's round is missing; the dialog stays open
    };
    Status status = Status::Refused;
    QString roundTable;
    QString archiveName;
    int appliedRows = 0;
    int skippedRows = 0;
    // Boxes to show, in order.
    QList<MsgBox> messages;
};

namespace ResultEngine {
struct Layout;
}

namespace ResultFile {
// What the whole-file check reads of a reader's layout.
const ResultEngine::Layout& layoutOf(ResultReader r);
// Books an applied result ("R") in M_SRFILE under its archive name.
bool bookResult(const ResultApplyRequest& req, const QString& archive, QString* error);
} // namespace ResultFile

// Applies a result file. The whole file is checked first (header, trailer,
// record count and length, bank, round table and every row it names, and
// that it was not applied before); then the rows, the registration flags,
// the move to rback and the booking happen in one transaction.
class ResultApplier {
public:
    static ResultApplyOutcome apply(const ResultApplyRequest& req);

    // "201" and up per round among the applied files.
    static QString NextResultFileType(const QString& yymm, const QString& seqNo);
};

// Sets the rows transferred on one date back to unprocessed.
struct TransferDateReset {
    QString yearMon, seqNo, bankCd, procDt, fromSNo, toSNo;
    QStringList itemIds;
};
bool ResetTransferDate(const TransferDateReset& r, QString* error = nullptr);
