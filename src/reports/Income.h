#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

#include <array>

// The income statement (수입명세서) of one collection round: per grade and
// class what was received on one day, before it and not at all. Selection:
// ym1/seq1 the round, gcode the group, bank; extras "item" (an ItemID, "00"
// or empty for every item of the group) and "day" (yyyymmdd; empty takes the
// round's latest transfer date).

namespace Income {

constexpr int kGrades = 8, kClasses = 19;

// The five figures of a class or grade.
enum Figure { Adjust = 0, PersonsToday = 1, AmtToday = 2, AmtBefore = 3, NotReceived = 4 };
using Figures = std::array<qint64, 5>;

// The working table: grades 1-8, classes 1-19, and per grade its total. A
// row of a class outside 1-19 counts in its grade's total only; a grade
// outside 1-8 counts nowhere.
struct Table {
    std::array<std::array<Figures, kClasses>, kGrades> cls{};
    std::array<Figures, kGrades> other{}; // classes outside 1-19
    std::array<Figures, kGrades> grade{};
    bool upper = false; // a row of grade 7 or 8 was met

    void clear(); // every counter to zero; the flag stays
    // 1-based; zeros outside the table.
    Figures at(int grade, int cls) const;
    Figures total(int grade) const;
    // One result row (a transfer date, student and state with its sums) on
    // day "today".
    void add(const QString& sNo, const QString& replyTy, const QString& procDt, qint64 amt, qint64 reAmt,
             const QString& day);
    void sumGrades();
};

// The round's latest transfer date under the bank and item conditions;
// empty when there is none (or "00000000").
QString latestDay(const ReportSelection& s);
// Computes into t (counters zeroed first; the flag cleared when rows came).
// The day taken goes into *day. A box when the round is not given or has no
// table.
std::optional<ReportBox> compute(const ReportSelection& s, Table* t, QString* day);

// For the driver: a first row "이체일자" with the day, then per grade with
// figures its classes with figures and its "소계"; count the persons and
// total the amount received on the day.
ReportListing list(const ReportSelection& s);

// The printed sheets: elementary schools get the six-grade sheet and, when
// grades 7-8 were met, the two-grade sheet; other schools the three-grade
// sheet.
bool elementary();
ReportDocument sheetP00(const Table& t);
ReportDocument sheetP04(const Table& t);
ReportDocument sheetP01(const Table& t);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);

} // namespace Income
