#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

// What the collection work window has chosen when it asks for a request
// file. The window fills it from its controls; the writer and the file run
// read only this.
struct CollectSelection {
    QString Gcode;     // item group code (first two characters of the group combo)
    QString GroupText; // the whole group entry, for the job log
    QString BankCd;    // bank code as shown (first two characters of the bank combo)
    QString BankText;  // the whole bank entry, for the job log
    QString YearMon;   // yyyymm
    QString SeqNo;     // two-digit round
    // Student-number bounds as typed: grade, class, number.
    QString SHakFrom, SBanFrom, SBunFrom;
    QString SHakTo, SBanTo, SBunTo;
    QStringList ItemIds;  // ItemID of every ticked fee item
    QStringList GrpNames; // every ticked student-group name
    // Filled from the transfer-date dialog.
    QDate StartDate;
    QDate EndDate;
    QString AcctLine; // the chosen master-account line
    QString EduCode;
    // Bank 23: shows the management code and returns the matrix code the
    // user typed; false when cancelled. Empty: the dialog TFrmM101B05.
    std::function<bool(const QString& mgmtCode, QString* matrixCode)> AskMatrixCode;

    QString RunKey() const { return YearMon + SeqNo; }
};

// The request-file writer: one file at a time, its run values kept here
// until the next run.
namespace BatFile {

struct RunValues {
    QString StartDate; // yymmdd
    QString EndDate;   // yymmdd
    QString BankCd;    // "25" is written as "81"
    QString RunKey;    // yyyymm + round
    QString EduCode;   // 5
    QString Kind;      // "200" collection, "300" distribution
    QString CompyNo;
    QString AcctNo;
    QString Passwd;
    QString RepCompyNo;
    qint64 Count = 0;
    qint64 Total = 0;
    qint64 CheckSum = 0;
    qint64 AcctDigitSum = 0;
    qint64 AmtDigitSum = 0;
    QString CheckValue;
};

extern RunValues Run;

// A built row query: SQL with '?' placeholders and their values in order.
struct BuiltQuery {
    QString sql;
    QVariantList binds;
    bool ok = false; // false when the round name is not a round table name
};

// The collection layouts.
enum class Layout { L80, L100A, L100B, L200 };
Layout ChooseLayout(const QString& bankCd, const QString& startDate);

// The next collection file type of a round ("201" first); empty when the
// round has used every type up to "299".
QString NextCollectFileType(const QString& runKey);

// The account password the NH layout uses when the account has none.
QString NHDefaultPasswd();

} // namespace BatFile

// Takes CompyNo (characters 1-10), AcctNo (12-26) and Passwd (28-37) from a
// master-account line.
void pSetMasterAcct(const QString& Line);

// The master-account line of a collection account.
QString CollectAcctLine(const QString& compyNo, const QString& acctNo, const QString& passwd,
                        const QString& eduCode);

// Books a request file (its M_SRFILE row and job-log row) inside the
// writer's transaction; false rolls the file back.
using RequestBooking = std::function<bool(const QString& fileName)>;

// Writes the collection request file of the round for one bank into send.
// StartDate and EndDate are yymmdd; RunKey is yyyymm + round. True with the
// 12-character FileName and the number of data records; false (after a box
// saying why, except for a cancelled management code) when no file was
// written. The file appears in send only when complete; with Book, only
// together with its booking.
bool bCreateCollectFile(const QString& StartDate, const QString& EndDate, const QString& BankCd,
                        const QString& RunKey, const QString& EduCode, const CollectSelection& Sel,
                        QString& FileName, int& Count, const RequestBooking& Book = {});

// CompyNo of the bank's representative account, '' when there is none.
QString sRepCompyNo(const QString& BankCd);

BatFile::BuiltQuery pBuildCollectQuery(const QString& RunKey, const CollectSelection& Sel);
BatFile::BuiltQuery pBuildCollectQueryJuNo(const QString& RunKey, const CollectSelection& Sel);

// The conditions the row query and the window's count share: student-number
// range, ticked items and groups, unprocessed and not wholly exempt.
void AddCollectConditions(const CollectSelection& Sel, QString& sql, QVariantList& binds);
// The bank-family condition of a shown bank code.
void AddCollectBankCondition(const QString& shownBank, QString& sql, QVariantList& binds);

// One marked row of a distribution round, as the distribution window hands
// it to the writer.
struct DistribRow {
    QString SNo, Nm, BankCd, AcctNo;
    QString ItemCd;  // the round's item id
    QString ItemNm;  // its name in the round's group
    qint64 Amt = 0;
    QString ReplyTy; // "1": already transferred, never paid again
};

namespace BatFile {
// The next distribution file type of a round ("301" first); empty when every
// type up to "399" is used.
QString NextDistribFileType(const QString& runKey);
} // namespace BatFile

// Writes the distribution request file (Layout80, kind "C2") of the marked
// rows for bank BankCd ("20" or "21") into send. StartDate and EndDate are
// yymmdd; RunKey is yyyymm + round. Rows already transferred are left out and
// named in *leftOut. True with the 12-character FileName and the number of
// data records; false (after a box saying why) when no file was written. The
// file appears in send only when complete.
bool bCreateDistribFile(const QString& StartDate, const QString& EndDate, const QString& BankCd,
                        const QString& RunKey, const QList<DistribRow>& Marked, QString& FileName, int& Count,
                        QStringList* leftOut = nullptr);


namespace BatFile {
// The next registration file type of a run ("R01" first) from its "G"
// bookings; empty when every type up to "R99" is used.
QString NextRegFileType(const QString& runKey);
// The bank part of a registration file's name: "84" for banks 20 and 24.
QString RegFileBank(const QString& regBank);
} // namespace BatFile

// Writes the account-registration request file (100 bytes) of the run table
// H_R00_ + RunKey for the registration bank into send: a header, one record
// per run row in payer-number order and a trailer. True with the 12-character
// FileName and the number of data records; false when no file was written.
// The file appears in send only when complete, and with Book only together
// with its booking.
bool bCreateRegFile(const QString& RunKey, const QString& RegBank, const QString& RepFacCd, QString& FileName,
                    int& Count, const RequestBooking& Book = {});
