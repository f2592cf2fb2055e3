#pragma once
#include "reports/ReportForm.h"
#include "reports/YearEndTax.h"

#include <functional>
#include <memory>

class QDateEdit;
class QRadioButton;
class QVBoxLayout;

// The base of the year-end windows (the two exports, the certificate and
// the summed receipts): their controls replace the standard selection box,
// while the group combo, the student-number edits, the grid with its totals
// and the buttons are the report window's own. Item check lists come with
// their "All" buttons and, where a window wants it, one payment code per
// item (an item checked in one list of a group is unchecked in the others).
class TYearEndForm : public TReportSelectForm {
    Q_OBJECT
public:
    TYearEndForm(const QString& reportName, QWidget* parent = nullptr);

    // A checkable list of a group's items ("01.수업료").
    static QListWidget* itemList(QWidget* parent, const QString& name);
    static void fillItems(QListWidget* list, const QString& gcode);
    // The checked ItemIDs, comma-separated.
    static QString checkedIds(const QListWidget* list);
    static QDateEdit* dateEdit(QWidget* parent, const QString& name);
    static QString dateDigits(const QDateEdit* e);

protected:
    // The window's panel, above the grid, in place of the standard controls.
    QVBoxLayout* panel = nullptr;
    // "자료조회" checks first, with the focus on the field a refusal names.
    std::function<std::optional<YearEndTax::Refusal>(const ReportSelection&)> precheck;
    void runSearch();
    // Lists of one group whose items are exclusive between them, with their
    // All buttons sharing one toggle.
    void exclusiveLists(const QList<QListWidget*>& lists, const QList<QPushButton*>& allButtons);
    // A list with its own All toggle.
    void ownToggle(QListWidget* list, QPushButton* all);
    void setColumns(const QStringList& titles, const QList<int>& widths);
    // The extras both exports take from their year edit and option buttons:
    // "year", "sort" ("1" by payment date) and "refund" ("1" refunds left on).
    static void putYearOptions(ReportSelection& s, const QLineEdit* year, const QRadioButton* byDate,
                               const QRadioButton* refundsLeft);
    // "파일생성": asks for the file, writes the workbook of the last search.
    using BookWriter = std::optional<ReportBox> (*)(const ReportListing&, const QString&, const QString&);
    void exportBook(const QString& year, BookWriter write);
};
