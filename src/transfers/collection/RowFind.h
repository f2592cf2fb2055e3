#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The find of the collection window ("찾기") over the grid's rows: by
// account, student number or name, optionally within one item, going on
// after the last row found and wrapping round to the first.
namespace RowFind {

enum class Mode { Account, SNo, Name };

struct Query {
    Mode mode = Mode::Name;
    QString text;     // account or name; the student number as MakeSNo built it
    QString itemLine; // the item box's text ("01.수업료"); blank: every item
};

// Where a search goes on: the last row found, 1-based; 0 starts at the top.
struct State {
    int lastFound = 0;
    bool goOn = false; // the button reads "계속찾기"
};

// The 1-based row found, or 0 when none (after a second pass from the top
// when the search started further down). Updates the state as the dialog
// does: the found row is remembered (0 when it is the last row), and the
// account and name searches turn the button into "계속찾기".
int find(const QList<QStringList>& rows, const Query& q, State* s);

} // namespace RowFind
