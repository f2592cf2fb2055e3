#pragma once
#include <QString>
#include <QStringList>

class ReportDocument;

// What a reader gets from a report's PDF: the document is written to PDF and
// its text layer read back with pdftotext, page by page.
namespace PdfText {

// False when pdftotext is not installed.
bool available();

// The text layer of each page of the document's PDF ("" pages on failure,
// with *error set).
QStringList pages(const ReportDocument& doc, QString* error);

// The differences between the PDF's text layer and the document's texts:
// a text of the dump that the page does not read back (compared without
// blanks: pdftotext infers them from the gaps), and any control character
// the text layer holds. Empty when they agree.
QStringList mismatches(const ReportDocument& doc);

} // namespace PdfText
