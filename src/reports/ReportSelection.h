#pragma once
#include "platform/ui/Msg.h"

#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// The selection every report window shares, as values: the round range of
// the quarter's round tables, the item, bank and student-number conditions
// (bound values), the reading of several rounds table by table, and the
// formats, school name and seal of the printouts. A window fills a
// ReportSelection from its controls when a search or a report runs; the
// driver fills it from options. Reports only read.

struct ReportSelection {
    QString gcode;            // item group (cboGroup's first two characters)
    QStringList itemIds;      // ticked items (CLbItem), ItemIDs in list order
    QString bank = QStringLiteral("00"); // CbBank's code
    int quarter = 0;          // cboBUNGI: 0 blank, 1-4
    QString ym1, seq1;        // first round (MEdtYearMon, round edit)
    QString ym2, seq2;        // last round, optional
    QString hak1, ban1, bun1; // first student: grade, class, number edits
    QString hak2, ban2, bun2; // last student
    // The report's own controls by name (a date, a radio index, free texts).
    QMap<QString, QString> extra;
    QString get(const QString& key) const { return extra.value(key); }
};

// A box a check or a search ends with.
struct ReportBox {
    QString caption, text;
    MsgIcon icon = MsgIcon::Error;
    void show(QWidget* parent = nullptr) const;
};

// A row of a collection round as the reports read it. A null REAmt reads 0.
struct RoundRow {
    QString table, yearMon, seqNo, custNo, sNo, nm, sCd, gcode, itemCd, bankCd, acctNo, exempTy, replyTy, procDt,
        reDt;
    qint64 amt = 0, reAmt = 0;
    qint64 paid() const { return amt - reAmt; }
};
Q_DECLARE_TYPEINFO(RoundRow, Q_RELOCATABLE_TYPE);

// SQL conditions with their bound values, in order.
struct ReportWhere {
    QString sql;
    QVariantList binds;
    void add(const QString& condition, const QVariantList& values = {}) {
        sql += QLatin1Char(' ') + condition;
        binds << values;
    }
};

namespace ReportSelect {

// The checks before a search: first round given, student-number input and
// range. Nothing when they pass.
std::optional<ReportBox> checkSearch(const ReportSelection& s);
// Student-number checks alone (the refund list has no round range).
std::optional<ReportBox> checkStudents(const ReportSelection& s);

// The round tables of the quarter's mask inside the range, in name order.
// A first round after the last, or a range without a table, is refused.
std::optional<ReportBox> roundTables(const ReportSelection& s, QStringList* tables);

// The shared conditions.
void addItems(ReportWhere& w, const ReportSelection& s);
void addBank(ReportWhere& w, const ReportSelection& s);
void addStudents(ReportWhere& w, const ReportSelection& s);

// Reads the rows of each table under where ("WHERE ..." conditions after the
// table), one table after the other; false with the database's error.
bool readRows(const QStringList& tables, const ReportWhere& where, QList<RoundRow>* rows, QString* error);

// Formats: "%11.0n" (width 11; 0 no padding), yyyy-mm-dd of yyyymmdd (empty
// unless 8 characters), account masked after its 9th character.
QString amount(qint64 v, int width = 11);
QString dateText(const QString& yyyymmdd);
QString maskedAcct(const QString& acctNo);
// The school name of receipts and letters: SchNm, or KidNm when it is blank.
QString schoolName();
// schoolseal.bmp of the data root; a null image when it cannot be read.
QImage seal();

// The standard box texts.
ReportBox noData();

} // namespace ReportSelect
