#pragma once
#include <QString>

// Why a registration dialog refused its input: the box to show and the input
// that gets the focus back (each store numbers its own inputs).
struct Refusal {
    QString caption;
    QString text;
    int field = 0;
    explicit operator bool() const { return !text.isEmpty(); }
};

namespace InputCheck {

// A character below blank or DEL: line breaks, tabs.
bool hasControl(const QString& text);

// Empty when the text fits a column of that CP949 byte width; otherwise the
// text of the refusal naming the input by its label.
QString textProblem(const QString& label, const QString& text, int width);

// The same as a refusal with the given caption and field.
Refusal checkText(const QString& caption, int field, const QString& label, const QString& text, int width);

} // namespace InputCheck
