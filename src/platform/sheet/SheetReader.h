#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <utility>

// The cells of one sheet as read from a file. Rows and columns count from 1.
// A value is a QString (text), a double (numbers), a QDate (a cell shown
// as a date), a bool, or invalid for an empty cell. Error cells read as
// their text ("#N/A"). Only rows and cells that hold something are kept.
class SheetTable {
public:
    // The last row and column that hold a value.
    int rowCount() const { return rows_.isEmpty() ? 0 : rows_.last().row; }
    int columnCount() const { return cols_; }

    QVariant value(int row, int col) const;
    // The cell as text, the way an import takes it: numbers without ".0"
    // (SheetValue::numberText), dates as yyyymmdd, booleans "TRUE"/"FALSE",
    // empty as "".
    QString text(int row, int col) const;
    // Rows from row 1 down to the last one before the first empty row: the
    // block of data that starts at the top of the sheet. A row whose values
    // all lie in columns the reader left out still counts as filled.
    int regionRows() const;

    void set(int row, int col, const QVariant& v);
    // The row holds a value the reader did not keep.
    void markRow(int row);

private:
    struct Row {
        int row = 0;
        QList<std::pair<int, QVariant>> cells; // by column
    };
    Row* rowAt(int row, bool create);
    const Row* rowAt(int row) const;
    QList<Row> rows_; // by row
    int cols_ = 0;
};

// What a reader refuses to unpack. A workbook of the office's size stays far
// below every limit; a file beyond one is refused with the limit named,
// before it can take the memory or the time of the program.
struct SheetLimits {
    qint64 partBytes = 256ll * 1024 * 1024; // one part of an .xlsx, unpacked
    int ratio = 200;                        // unpacked : packed, for parts over ratioFrom
    qint64 ratioFrom = 4ll * 1024 * 1024;
    int rows = 100000;                    // rows holding any value: a school is a few thousand
    int sharedStrings = 500000;           // strings of the shared string table
    qint64 textChars = 16ll * 1024 * 1024; // characters of all strings kept
    int cellChars = 32767;                // one cell's text, as in the spreadsheet
    qint64 xlsBytes = 32ll * 1024 * 1024; // an .xls file
    qint64 xlsCells = 2000000;            // rows x columns an .xls sheet declares
};

struct SheetOptions {
    int columns = 0; // keep columns 1..columns only; 0 keeps them all
};

namespace SheetReader {

// Reads a sheet of an .xlsx or .xls file (told apart by their content, not
// their name). The sheet is chosen by its position (1 = first) or its name.
std::optional<SheetTable> read(const QString& path, int sheet = 1, QString* error = nullptr,
                               const SheetOptions& options = {});
std::optional<SheetTable> read(const QString& path, const QString& sheetName, QString* error = nullptr,
                               const SheetOptions& options = {});
// The names of the file's sheets, in order.
std::optional<QStringList> sheetNames(const QString& path, QString* error = nullptr);

// The limits every read applies. Tests set smaller ones to reach them with
// small files; setLimits({}) restores the defaults.
const SheetLimits& limits();
void setLimits(const SheetLimits& l);

} // namespace SheetReader
