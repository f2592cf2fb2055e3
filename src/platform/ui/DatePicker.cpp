#include "platform/ui/DatePicker.h"

#include <QKeyEvent>
#include <QLineEdit>

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
}

void DatePicker::keyPressEvent(QKeyEvent* e) {
    const QString typed = e->text();
    const bool digit = typed.size() == 1 && typed.at(0).isDigit();
    // The section filled moved on by itself: the dash the user types
    // after it is the same step.
    if (typed == QLatin1String("-") && advanced_) {
        advanced_ = false;
        e->accept();
        return;
    }
    if (digit) {
        // A date typed from the start begins with its year.
        const QLineEdit* edit = lineEdit();
        const bool whole = edit->hasSelectedText() && edit->selectedText() == edit->text();
        if (whole || (!edit->hasSelectedText() && edit->cursorPosition() == 0))
            setSelectedSection(QDateTimeEdit::YearSection);
    }
    const Section before = currentSection();
    QDateEdit::keyPressEvent(e);
    advanced_ = digit && currentSection() != before;
}

void DatePicker::focusInEvent(QFocusEvent* e) {
    advanced_ = false;
    QDateEdit::focusInEvent(e);
}

void DatePicker::mousePressEvent(QMouseEvent* e) {
    advanced_ = false;
    QDateEdit::mousePressEvent(e);
}
