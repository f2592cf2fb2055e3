#pragma once
#include <QByteArray>
#include <QString>

// Workbooks written part by part, for files no spreadsheet program would
// write: odd sizes, odd cells, parts out of proportion.
namespace XlsxParts {

struct Book {
    QByteArray sheetData;     // the inside of <sheetData>
    QByteArray sharedStrings; // the <si> items; none: no shared string part
    QByteArray styles;        // the inside of <styleSheet>; none: no styles part
    QByteArray workbookPr;    // attributes of <workbookPr>, e.g. date1904="1"
};

// Writes the workbook of one sheet "Sheet1"; false when libzip fails.
bool write(const QString& path, const Book& book);

// A cell element: <c r="ref"[ t=".."][ s=".."]><v>value</v></c>.
QByteArray cell(const char* ref, const QByteArray& value, const char* type = nullptr, int style = -1);

} // namespace XlsxParts
