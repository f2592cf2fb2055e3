#pragma once
#include <QDateEdit>

// A date picker (calendar popup, yyyy-MM-dd) that takes a date typed whole,
// as the masked date fields do: eight digits (20261215) or with its dashes
// (2026-12-15). A plain QDateEdit drops the digits when its whole text is
// selected, as it is on Tab, and a dash typed after a section it filled
// skips the next one.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    bool advanced_ = false; // the last key was a digit that filled its section
};
