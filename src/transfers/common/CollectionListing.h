#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

// What the collection work window lists: the rows of one round under the
// window's selections, and their totals.

struct CollectionSelection {
    QString gcode;                        // item group code
    QString bankCd;                       // "00" every bank, "99" no bank, else a code
    QString yearMon;                      // yyyymm
    QString seqNo;                        // two-digit round
    QString fromSNo, toSNo;               // as MakeSNo built them
    QStringList itemIds;                  // ticked items (their ItemID)
    QStringList groups;                   // ticked student groups
    QString setlDt, setlDt2, reDt, reDt2; // yyyymmdd bounds, blank: none
    int exempIdx = 0;                     // 0 all, 1 wholly exempt, 2 not wholly exempt
    int procIdx = 0; // 0 all, 1 processed, 2 unprocessed, 3 transferred, 4 cash, 5 refunded
    int smsIdx = 0;  // 0 all, 1 receives, 2 refuses
};

// Grid columns.
enum CollectionCol {
    ColSNo = 0,
    ColNm,
    ColItem,
    ColBank,
    ColAcct,
    ColAmt,
    ColExemp,
    ColReply,
    ColDate,
    ColReg,
    ColGrp,
    ColUnpaid,
    ColReAmt,
    ColReDt,
    ColCustNo,
    ColGcode,
    ColItemCd,
    ColGName,
    ColTel,
    ColSms,
    ColSCd,
    ColCount
};

struct CollectionTotals {
    qint64 procCnt = 0, procAmt = 0, nonProcCnt = 0, nonProcAmt = 0, exempCnt = 0, exempAmt = 0;
    qint64 reCnt = 0, reAmt = 0, reCnt2 = 0, reAmt2 = 0;
    qint64 totCnt() const { return exempCnt + procCnt + nonProcCnt + reCnt; }
    qint64 totAmt() const { return exempAmt + procAmt + nonProcAmt + reAmt + reAmt2; }
};

struct CollectionListing {
    bool tableExists = false;
    QList<QStringList> rows; // ColCount cells each
    CollectionTotals totals;
    // The statement of the listing from its from keyword on, with its bound
    // values, for the prints that put their own select list in front.
    QString listSql;
    QString listFromSql;
    QVariantList binds;
    // The database's reason when the listing query failed.
    QString error;
};

namespace CollectionList {

QString roundTable(const QString& yearMon, const QString& seqNo);

// "자료조회"'s checks of a selection whose student-number bounds are built
// and whose round exists: the range in order, the group one of the round.
// Empty when the listing may run; else the box to show.
struct ShowRefusal {
    QString caption;
    QString text;
    bool errorIcon = true;
};
std::optional<ShowRefusal> checkShow(const CollectionSelection& sel);

// Takes each row as it is built, in place of CollectionListing::rows.
using RowSink = std::function<void(QStringList&&)>;

// The round's rows under every selection ("자료조회" after its checks).
// itemName maps a row's ItemID to the name the grid shows.
CollectionListing list(const CollectionSelection& sel,
                       const std::function<QString(const QString&)>& itemName, const RowSink& sink = {});

// Relisting after a result file: the round table with a bank filter only,
// in key order, counted by the relisting's own rules.
CollectionListing listTable(const QString& table, const QString& bankCd, const QString& gcode,
                            const std::function<QString(const QString&)>& itemName,
                            const RowSink& sink = {});

// The bank-family condition of the listing.
QString bankFamily(const QString& bankCd, QVariantList& binds,
                   const QString& column = QStringLiteral("t1.BankCd"));

// "%.0n " of a total.
QString panelText(qint64 v);

} // namespace CollectionList
