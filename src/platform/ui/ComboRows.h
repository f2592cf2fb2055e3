#pragma once

class QComboBox;

namespace ComboRows {

// An editable combo box lists its entries in rows only as high as the bare
// text, which cuts Hangul; this gives them the height a drop-down list has
// for the box's font, as in a combo box that is not editable.
void asDropDown(QComboBox* box);

} // namespace ComboRows
