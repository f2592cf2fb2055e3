#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// The cells of one sheet as read from a file. Rows and columns count from 1.
// A value is a QString (text), a double (numbers and dates, which are date
// serial numbers), a bool, or invalid for an empty cell. Error cells read as
// their text ("#N/A").
class SheetTable {
public:
    // The last row and column that hold a value.
    int rowCount() const { return int(rows_.size()); }
    int columnCount() const { return cols_; }

    QVariant value(int row, int col) const;
    // The cell as text, the way an import takes it: numbers without ".0"
    // (SheetValue::numberText), booleans "TRUE"/"FALSE", empty as "".
    QString text(int row, int col) const;
    // Rows from row 1 down to the last one before the first empty row: the
    // block of data that starts at the top of the sheet.
    int regionRows() const;

    void set(int row, int col, const QVariant& v);

private:
    QList<QList<QVariant>> rows_;
    int cols_ = 0;
};

namespace SheetReader {

// Reads a sheet of an .xlsx or .xls file (told apart by their content, not
// their name). The sheet is chosen by its position (1 = first) or its name.
std::optional<SheetTable> read(const QString& path, int sheet = 1, QString* error = nullptr);
std::optional<SheetTable> read(const QString& path, const QString& sheetName, QString* error = nullptr);
// The names of the file's sheets, in order.
std::optional<QStringList> sheetNames(const QString& path, QString* error = nullptr);

} // namespace SheetReader
