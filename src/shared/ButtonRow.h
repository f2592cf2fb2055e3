#pragma once
// The button row at the foot of a dialog: its buttons side by side, pushed to
// the right edge.
#include <initializer_list>

class QLayout;
class QPushButton;

namespace ButtonRow {

// A row of the buttons in the order given ("확인", "취소"), right-aligned.
QLayout* rightAligned(std::initializer_list<QPushButton*> buttons);

} // namespace ButtonRow
