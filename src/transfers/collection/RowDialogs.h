#pragma once
// Small helpers shared by the row dialogs of the collection window.
#include <QString>

class QDialog;
class QLayout;
class QPushButton;
class QWidget;

namespace RowDialogs {

// A box with the program's title and OK only.
void plainBox(const QString& text, QWidget* parent);
// "확인"/"취소"-style button row, right-aligned.
QLayout* buttonRow(QPushButton* ok, QPushButton* cancel);

} // namespace RowDialogs
