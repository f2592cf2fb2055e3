#pragma once
#include <QList>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>

// A new workbook of one sheet, kept in memory and written as .xlsx by
// save(). Rows and columns count from 1, as on the sheet ("A1" is 1, 1).
//
// A QString is a text cell: a leading apostrophe, the old mark of a text
// cell, is dropped, so "'00123" keeps its zeros and shows no apostrophe.
// Integers and doubles are number cells; bool a boolean; an invalid QVariant
// or an empty text leaves the cell empty.
//
// save() fits every written column to its widest value (counted in CP949
// bytes, so a Hangul syllable is two), selects A1, and writes the file under
// a temporary name in the target folder, renaming it over the target only
// when it is complete.
//
// Workbook keeps every cell until save(), so any cell can be written or
// changed in any order. An export of a whole table whose rows come in order
// uses WorkbookStream below instead, which holds one row at a time.

struct SheetFormat {
    enum class Align { General, Left, Center, Right };
    bool bold = false;
    QString numberFormat; // "#,##0", "0.00", ...; empty for general
    Align align = Align::General;
};

class Workbook {
public:
    Workbook() = default;

    // A format to pass to the writes; 0 is the default format.
    int addFormat(const SheetFormat& f);

    void writeCell(int row, int col, const QVariant& value, int format = 0);
    // Values in order from (row, col) to the right.
    void writeRow(int row, int col, const QVariantList& values, int format = 0);
    // The same with the cell given as "A1".
    void writeCell(const QString& cell, const QVariant& value, int format = 0);
    void writeRow(const QString& firstCell, const QVariantList& values, int format = 0);

    // Sheet name (default "Sheet1").
    void setSheetName(const QString& name) { sheetName_ = name; }

    int lastRow() const;
    // The value stored at a cell (after the apostrophe was dropped).
    QVariant cell(int row, int col) const;
    // Width that save() gives the column (0 when nothing was written in it).
    double columnWidth(int col) const;

    // Writes the file; an existing file is replaced. On failure nothing is
    // left behind, the old file stays as it was, and *error says why.
    bool save(const QString& path, QString* error = nullptr) const;

    // "B12" -> (12, 2); false for anything else.
    static bool parseRef(const QString& ref, int* row, int* col);
    // 2 -> "B".
    static QString columnName(int col);

private:
    struct Cell {
        QVariant value;
        int format = 0;
    };
    std::map<int, std::map<int, Cell>> rows_;
    QList<SheetFormat> formats_{SheetFormat{}};
    QString sheetName_ = QStringLiteral("Sheet1");
};

// A one-sheet workbook written to its file while it is made: each row goes
// to the file (under the temporary name, beside the target) when a later row
// is started, so memory does not grow with the rows. Cells, formats, the
// fitted columns, A1 selected and the replacement of the target are as with
// Workbook::save(); text cells are written inline, not in a shared table.
//
// Rows come in order: cells of the current row may be written and changed
// in any order, but once a later row has been started an earlier one cannot
// be written again; trying it is an error, and the stream then writes
// nothing. A stream destroyed before finish() leaves nothing behind and the
// target as it was.
class WorkbookStream {
public:
    explicit WorkbookStream(const QString& path, const QString& sheetName = QStringLiteral("Sheet1"));
    ~WorkbookStream();
    WorkbookStream(const WorkbookStream&) = delete;
    WorkbookStream& operator=(const WorkbookStream&) = delete;

    // A format to pass to the writes; 0 is the default format.
    int addFormat(const SheetFormat& f);

    // false once the stream has failed (error() says why), and from then on.
    bool writeCell(int row, int col, const QVariant& value, int format = 0);
    bool writeRow(int row, int col, const QVariantList& values, int format = 0);
    bool writeCell(const QString& cell, const QVariant& value, int format = 0);
    bool writeRow(const QString& firstCell, const QVariantList& values, int format = 0);

    int lastRow() const;
    // Width that finish() gives the column, from the rows written so far.
    double columnWidth(int col) const;

    // Writes the last row, fits the columns, selects A1 and puts the file in
    // place of the target. On failure nothing is left behind, the old file
    // stays as it was, and *error says why. The stream is closed afterwards.
    bool finish(QString* error = nullptr);

    // The first failure, empty while there is none.
    QString error() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};
