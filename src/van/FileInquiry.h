#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The inquiries over the files that went to the VAN operator (book rows of
// kind "S" with a send date, copies in sback) and the result files applied
// (kind "R", copies in rback): listing, deleting a book row with its copy,
// and the record viewers, one decoder over the shared layout tables.
namespace FileInquiry {

enum class Kind { Sent, Received };

// The copies' folder of a kind: "sback" or "rback".
QString folder(Kind k);

struct ListFilter {
    QString bankCd = QStringLiteral("00"); // "00": every bank
    QString yearMonFrom;                   // yyyymm; empty: no bound
    QString yearMonTo;                     // yyyymm; empty: no bound
    QString seqNo;                         // empty: every round
    QString count;                         // digits; empty: any count
};

struct BookRow {
    QString yearMon; // shown: "20yy.mm"
    QString seqNo;
    QString fileName;
    QString fileType; // first character: "2" collection, "3" distribution
    QString bankCd;
    QString bankNm;
    QString srDate;  // yyyy-mm-dd
    QString dataCnt; // "%10.0n"
    qint64 count = 0;
    QString gcode; // the item group; "01" for a blank one of a received file
};

// The book rows in the windows' order (year-month, round, file type
// descending). False with *error when the book cannot be read.
bool list(Kind k, const ListFilter& f, QList<BookRow>* rows, QString* error = nullptr);

// Deletes the book row of the file and then its copy, when there is one.
// False (and nothing deleted) when the row cannot be deleted.
bool remove(Kind k, const QString& fileName, QString* error = nullptr);

// ---- record viewers

enum class Viewer { None, Default80, NH200, NH80, NH12, L100B, L100A, Dist03 };
// By bank code, the file type's first character and the record length.
Viewer choose(const QString& bankCd, const QString& fileType, int recLen);
QString viewerName(Viewer v);

struct FileView {
    enum class Status { Shown, NoViewer, Unreadable, Malformed };
    Status status = Status::NoViewer;
    Viewer viewer = Viewer::None;
    QString message; // the "화일오류" box text when the file is not shown
    QString bankNm, masterAcct, startDate, endDate;
    QString totCnt, totAmt;
    QString procCnt, procAmt, nonProcCnt, nonProcAmt; // received files only
    // Sent: every transfer (6 cells). Received: the processed ones (6 cells).
    QList<QStringList> rows;
    // Received: the unprocessed ones (7 cells, the reason last).
    QList<QStringList> failRows;
};

// Decodes the copy of a book row's file. A file that cannot be read or does
// not match its layout comes back with an empty view and the box text.
FileView view(Kind k, const BookRow& row);
// Decodes a file at a path with the viewer given; fileType is the book's
// ("3..." for a distribution file).
FileView decode(Kind k, Viewer v, const QString& path, const QString& bankNm, const QString& gcode,
                const QString& fileType = QString());

// "%.0n": thousands separators; width > 0 pads on the left to it.
QString amountText(qint64 v, int width = 0);

} // namespace FileInquiry
