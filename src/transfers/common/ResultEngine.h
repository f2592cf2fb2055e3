#pragma once
#include "data/AppliedFiles.h"
#include "transfers/common/FileLayout.h"
#include "platform/db/Database.h"
#include "transfers/common/ResultFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>
#include <span>

// The one way a bank's result file reaches the database, for collection,
// distribution and account-registration results alike:
//
//   read     the file whole, and the reader its policy chooses for it
//   check    every line against the reader's layout (widths, header, data
//            records, trailer counts and sums, dates, flags, amounts) and
//            that it was not applied before
//   plan     which round row each record changes; a record naming no row,
//            more than one row, or a row another record names refuses the file
//   apply    the rows, the booking, the fingerprint, the recorded move and the
//            log row in one transaction; the file moves to rback after it
//
// Nothing changes until the plan stands. What differs between the kinds of
// result (the words of each refusal, which rows a result may touch, how a
// bank-03 record finds its row) is a Policy.
namespace ResultEngine {

using FileLayout::Field;

// The data records a trailer counts: a + b - less (b where the trailer splits
// the count); all of them, or the processed or the unprocessed ones only.
struct Count {
    Field a{}, b{};
    int less = 0;
    FileLayout::Records records = FileLayout::Records::All;
    constexpr bool valid() const { return a.valid(); }
};

// What the whole-file check reads of a layout.
struct Layout {
    int width = 0;           // every line's bytes; 0: the header's
    bool wholeCp949 = true;  // the file must decode as CP949
    QByteArray dataMark;     // a data record begins with it
    char trailMark = 0;      // the trailer begins with it; 0: any non-data line
    Field headBank{};        // compared with the work window's bank
    Field headDate{};        // transfer date: yyyymmdd, or yymmdd in 6 bytes
    Field recDate{};         // a record's own transfer date (yymmdd)
    bool recDateAlways = false; // checked on failed records too
    std::array<Count, 3> counts{}; // each must equal the data records it counts
    std::span<const FileLayout::TrailerSum> sums;
    Field flag{};
    char okMark = 'Y';
    const char* flagValues = nullptr; // the values the flag may hold; null: any
    Field amount{};                   // none: the layout carries no amounts
    Field reply{};                    // the reply code: whole characters, no control byte
};

// The counts of the 80-byte layout's result trailer (and of 100A's): the
// records, the processed and the unprocessed ones.
inline constexpr std::array<Count, 3> Counts80{
    Count{FileLayout::L80::TrailCount},
    Count{FileLayout::L80::TrailOkCount, {}, 0, FileLayout::Records::Processed},
    Count{FileLayout::L80::TrailFailCount, {}, 0, FileLayout::Records::Unprocessed},
};

// One data record as its reader reads it.
struct Record {
    int line = 0;        // 0-based line of the file
    QString key, item;   // the row it names (payer or student number, item id)
    QString name;        // the student's name, where the record carries it
    QString reply, procDt, acctBank;
    QString round;       // the record's own round, where it carries one
    qint64 amount = 0;
    bool ok = false;     // processed (registered)
    QString fault;       // a reader's own refusal of the record, worded whole
};

// A reader: the layout the checks read, and how a data record reads.
struct Reader {
    const Layout* layout = nullptr;
    std::function<Record(const QByteArray& rec, const QByteArray& head, int line)> read;
};

struct Loaded {
    QString path, fileName;
    QByteArray content;
    QList<QByteArray> lines;
    int end = 0;  // the trailer's line
    AppliedFiles::Prints prints; // of its records, and of its bytes
};

// A round row as the plan sees it.
struct Row {
    qint64 rowid = 0;
    QString key, item;
    char replyTy = 0, exempTy = 0; // the one-character states; 0 for none
};

// Why a file is refused; the policy words it.
enum class Fault {
    Unreadable, NoHeadOrTrailer, NotCp949, Width, HeaderIsData, NoTrailer, AfterTrailer, Count, Applied,
    HeadDate, Flag, Amount, OkWithoutAmount, RecDate, NoRound, Database, NamesUsedUp, Book, Log, Commit,
    Reply,   // a reply code with a control byte or a cut character
    FarDate, // a transfer date more than a year from today
};

struct FaultInfo {
    Fault fault = Fault::Unreadable;
    int line = -1;       // 0-based line, where one is named
    qint64 a = 0, b = 0; // counts or bytes the words name
    QString detail;      // a database error, the round table, the records a count counts, a date
};

enum class Match {
    KeyAndItem,    // each record names its row by key and item
    KeyInRowOrder, // records of one key take its rows in row order, one for one
};

class Policy {
public:
    virtual ~Policy() = default;

    // The reader for the file; an outcome with messages refuses it (a round
    // the dialog must give, a header the kind does not accept).
    virtual Reader choose(const Loaded& f, ResultApplyOutcome* refusal) const = 0;
    // The work window's bank, compared with the layout's header bank.
    virtual QString workBank() const { return {}; }
    // The words of a refusal; by default those of the transfer results.
    virtual QString fault(const FaultInfo& why, const Loaded& f) const;
    virtual QString roundTable(const Loaded& f, const QList<Record>& recs) const = 0;
    // The refusal of a record that carries a round other than the table's.
    virtual QString foreignRound(const Record& /*r*/, const QString& /*table*/, const Loaded& /*f*/) const {
        return {};
    }

    // Plan: the rows a result may change, read once: rowid, key, item,
    // ReplyTy, ExempTy.
    virtual QString rowsSql(const QString& quotedTable) const = 0;
    virtual QList<QVariant> rowsBinds() const { return {}; }
    virtual Match match() const { return Match::KeyAndItem; }
    virtual QString unknown(const Record& r) const = 0;
    virtual QString ambiguous(const Record& r, int rows) const = 0;
    virtual QString doubled(const Record& r, const Record& first) const = 0;
    virtual QString countsDiffer(const Record& r, int recs, int rows) const;
    // Called once when a record names no row, before the refusal.
    virtual void onUnknown(const QString& /*table*/) const {}
    // The box of a row a result must leave alone; empty: apply it.
    virtual QString skip(const Row& /*row*/, const Record& /*r*/) const { return {}; }

    // Apply: the row writer, built once inside the transaction.
    class Writer {
    public:
        virtual ~Writer() = default;
        virtual bool write(const Record& r, const Row& row) = 0;
    };
    virtual std::unique_ptr<Writer> writer(const QString& quotedTable) const = 0;
    virtual QString writeFailed(const Record& r, const Row& row) const = 0;
    // The rback name the file is stored and booked under; empty: none free.
    virtual QString archiveName(const Loaded& f, const QString& table) const = 0;
    // The booking and the log row inside the transaction.
    virtual bool book(const QString& /*archive*/, QString* /*error*/) const { return true; }
    virtual bool log(const Loaded& /*f*/, const QString& /*table*/) const { return true; }
    // Crash points: "<prefix>apply-before-commit" and so on.
    virtual const char* crashPrefix() const { return ""; }
    // Boxes after the plan stands, and after the commit before the move.
    virtual void planned(const QString& /*table*/, const QList<const Record*>& /*applied*/,
                         QList<MsgBox>* /*out*/) const {}
    virtual void committed(const QList<const Record*>& /*applied*/, QList<MsgBox>* /*out*/) const {}
    // Boxes after the file moved (or failed to).
    virtual void finished(QList<MsgBox>* /*out*/) const {}
    virtual QString notMoved(const Loaded& f) const;
};

// What collection and distribution results share: the dialog's request, the
// round rows set transferred or failed by rowid, the archive named by a
// result type of the kind's digit, the booking ("R") and the closing box.
class TransferPolicy : public Policy {
public:
    TransferPolicy(const ResultApplyRequest& req, QChar typeDigit);
    QString workBank() const override { return workBank_; }

    class RowWriter : public Writer {
    public:
        explicit RowWriter(const QString& quotedTable);
        bool write(const Record& r, const Row& row) override;
        // What else a record changes, after its row.
        virtual bool after(const Record&) { return true; }

    private:
        Query upOk_, upFail_;
    };
    std::unique_ptr<Writer> writer(const QString& quotedTable) const override;
    QString writeFailed(const Record& r, const Row& row) const override;
    // Named by the round's yymm and round (characters 9-14 of the table) and
    // the list row's bank.
    QString archiveName(const Loaded& f, const QString& table) const override;
    bool book(const QString& archive, QString* error) const override;
    void finished(QList<MsgBox>* out) const override;

protected:
    // False, with the box, when the dialog's round is needed and empty.
    bool roundGiven(ResultApplyOutcome* refusal) const;
    bool writeLog(const QString& menu, const QString& action, const QString& fileName, const QString& round) const;

    const ResultApplyRequest& req_;
    QString workBank_, yearMon_, seqNo_;
    QChar typeDigit_;
};

// Reads, checks, plans and applies one result file.
ResultApplyOutcome apply(const QString& path, const Policy& policy);

// The words of a refusal shared by the transfer results.
QString faultText(const FaultInfo& why, const Loaded& f);
// Every check of a file as received, before anything is made of it (the
// split of a merged answer): header and trailer, widths, counts and sums of
// its trailer, dates, flags, amounts and reply codes. False with the box a
// file of one round gets when it is refused.
bool checkWhole(Loaded& f, const Layout& L, MsgBox* refusal);

// Steps of apply, for readers that show a file without applying it.
bool load(const QString& path, Loaded* f);
// The checks of the lines against the layout; false with why set.
bool checkLines(Loaded& f, const Layout& L, FaultInfo* why);
// Every data record read and checked (flags, amounts, dates, the trailer's
// sums); false with why set, or with text set where the refusal is worded
// already (a reader's own, the sums').
bool readRecords(const Loaded& f, const Reader& r, QList<Record>* out, FaultInfo* why, QString* text);

// "201" (digit '2') or "301" and up per round among the applied results.
QString nextResultType(const QString& yymm, const QString& seqNo, QChar digit);

// Whole digits only; blank reads 0.
bool toAmount(QByteArrayView f, qint64* out);
// The field's bytes (cut at the line's end).
QByteArrayView bytesOf(const QByteArray& line, Field f);
bool isRealDate(const QString& yyyymmdd);
// A real day at most a year before or after today (the program's clock).
bool isNearToday(const QString& yyyymmdd);
// The field holds whole CP949 characters of the line (none begun before it or
// running past it) and no control byte.
bool isWholeText(const QByteArray& line, Field f);
// The field decoded from CP949; a null string for a field the layout lacks
// or the line does not reach.
QString field(const QByteArray& line, Field f);
// "20" + a 6-byte yymmdd, an 8-byte date as it stands.
QString fullDate(const QByteArray& line, Field f);

} // namespace ResultEngine
