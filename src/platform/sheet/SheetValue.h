#pragma once
#include <QDateTime>
#include <QString>

// How sheet values turn into text, shared by the writer and the readers.
namespace SheetValue {

// A number as the sheet shows it in a general cell: whole numbers without
// ".0" (12345.0 -> "12345", 9901011234567 -> "9901011234567"; every whole
// number a double holds exactly, so 16-digit account numbers keep their
// digits), others with up to 15 significant digits.
QString numberText(double v);

// Date serial numbers (days since 1899-12-30, the fraction is the time).
double serialOf(const QDateTime& dt);
QDateTime dateOfSerial(double serial);

} // namespace SheetValue
