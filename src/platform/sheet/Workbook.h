#pragma once
#include <QList>
#include <QString>
#include <QVariant>

#include <map>

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
