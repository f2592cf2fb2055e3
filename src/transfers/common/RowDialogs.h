#pragma once
// The plain box of the row dialogs of the collection window.
#include <QString>

class QWidget;

namespace RowDialogs {

// A box with the program's title and OK only.
void plainBox(const QString& text, QWidget* parent);

} // namespace RowDialogs
