#pragma once
#include "platform/report/ReportDocument.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// 학생별이체현황: every transfer row that the collection (H_200_) and
// distribution (H_300_) rounds of a span of months hold for the chosen
// students, the totals by kind, the printed list and the workbook. It only
// reads.
namespace TransferHistory {

// The grid's fourteen columns.
enum Col {
    ColSNo,
    ColNm,
    ColKind,
    ColYearMon,
    ColSeqNo,
    ColBank,
    ColAcctNo,
    ColItem,
    ColAmt,
    ColExemp,
    ColReply,
    ColProcDt,
    ColReAmt,
    ColReDt,
    ColCount
};
extern const QStringList kTitles;

// What the window's controls hold when 검색 runs.
struct Selection {
    QString yearFrom, yearTo; // "yyyy-mm"
    bool byName = false;      // rbName
    QString hak, ban, bun;    // number mode
    QString name;             // name mode: the beginning of the name
    int state = 0;            // RdoShftClsfy: 0 전체, 1 처리, 2 미처리
    QString gcode;            // cboGroup's code
    QStringList itemIds;      // checked items of CLbItem (ItemIDs)
    QString dateFrom, dateTo; // transfer-date bounds, yyyymmdd or empty
};

// Fourteen 64-bit totals, in the panels' order.
struct Totals {
    qint64 procCnt1 = 0, procAmt1 = 0;       // collection done
    qint64 nonProcCnt1 = 0, nonProcAmt1 = 0; // collection not done
    qint64 procCnt2 = 0, procAmt2 = 0;       // distribution done
    qint64 nonProcCnt2 = 0, nonProcAmt2 = 0; // distribution not done
    qint64 exempCnt = 0, exempAmt = 0;       // wholly exempt
    qint64 reCnt = 0, reAmt = 0;             // refunded in full
    qint64 reCnt2 = 0, reAmt2 = 0;           // refunded in part
    QList<qint64> values() const;
};

struct Result {
    QList<QStringList> rows; // grid rows from row 1: the stored texts of the 14 cells
    Totals totals;
    QString snoCondition; // what MakeSNo made of the number input (number mode)
    int tables = 0;       // round tables read
};

// The year-months "yyyy-mm" of the collection rounds, newest first, each once.
QStringList yearMons();
// cboYearFClick: the entries of the first list from the chosen one up to the
// newest, oldest first.
QStringList yearMonsFrom(const QStringList& newestFirst, const QString& chosen);
// The round tables inside the span, collection rounds before distribution
// rounds, each in name order.
QStringList roundTables(const QString& yearFrom, const QString& yearTo);

// The input check of 검색: a box text (caption, text) or nothing.
struct Refusal {
    QString caption, text;
    bool error = false;     // error icon; else a plain box
    bool focusName = false; // sleName, else SHakEdit
};
std::optional<Refusal> check(const Selection& s);
// True when the search has neither a number nor a name to narrow it: the
// window asks before it goes on.
bool broad(const Selection& s);
inline const QString kBroadQuestion =
    QStringLiteral("빠른검색을 원하시면 정확한 검색범위를 지정하여주세요. 계속하시겠습니까?");

// The search: one query per round table over the chosen students; the rows
// come by table, then by student (payer number), then newest first. progress
// gets the table counter before each table. False with the database's error.
bool search(const Selection& s, Result* out, QString* error,
            const std::function<void(int i, int n)>& progress = {});

// The totals of grid rows.
Totals totals(const QList<QStringList>& rows);

// The drawn forms of the decorated cells.
QString exempMark(const QString& exempTy);  // grid: "O", "X" or nothing
QString exempPrint(const QString& exempTy); // paper and workbook: other values as they are
QString replyText(const QString& replyTy);  // grid: nothing for other values
QString replyPrint(const QString& replyTy); // paper and workbook: other values as they are
QString amountCell(const QString& stored);  // "%12.0n "
QString panelText(qint64 v);                // "%.0n"

// The print's condition text.
QString conditionText(const Selection& s, const QString& snoCondition);

// TFrmM301P00: the landscape list of the rows with the fourteen panel texts
// (in Totals::values() order).
ReportDocument print(const QList<QStringList>& rows, const QStringList& panels, const QString& condition);

// The workbook of the rows, written whole or not at all.
bool exportTo(const QList<QStringList>& rows, const QString& path, QString* error);

} // namespace TransferHistory
