#pragma once
#include <QString>

#include <optional>

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

// Whole won as every amount edit takes it: digits only, commas allowed,
// blanks around it ignored; empty, signed, fractional or other text is no
// amount.
std::optional<qint64> wholeWon(const QString& text);

// Why an amount is refused, in the amount edits' words: "금액을 입력하세요!"
// when blank, "금액은 숫자로만 입력하세요!" when not whole won; empty when it is.
QString amountProblem(const QString& text);

// The date boxes' refusal: "일자가 올바르지 않습니다. yyyy-mm-dd 형식으로 입력하세요!!"
QString dateMessage();

// Eight digits yyyymmdd naming a day of the calendar: 20240229 is one,
// 20250229, 20260230 and the incomplete 202602 are none.
bool isDay(const QString& yyyymmdd);

// Empty when the text is a day (yyyymmdd) or blank (no date); otherwise
// dateMessage(). A stored date is a day or nothing.
QString dateProblem(const QString& yyyymmdd);

} // namespace InputCheck
