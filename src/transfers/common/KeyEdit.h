#pragma once
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <functional>

// A line edit whose form decides about keys before and after the edit takes
// them (focus moves that depend on the text before the key) and about
// leaving it.
class TKeyEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    // Runs first; true consumes the key.
    std::function<bool(QKeyEvent*, const QString& before)> onKey;
    // Runs after the edit took a key that onKey let through.
    std::function<void(QKeyEvent*, const QString& before)> afterKey;
    // Leaving the edit for another control of the form.
    std::function<void()> onExit;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const QString before = text();
        if (onKey && onKey(e, before)) return;
        QLineEdit::keyPressEvent(e);
        if (afterKey) afterKey(e, before);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        // A box or another window taking the focus is no exit.
        if (onExit && e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
            onExit();
    }
};

inline bool isEnterKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// A key that types a character (the keys a key-press handler sees).
inline bool isCharKey(const QKeyEvent* e) {
    return !e->text().isEmpty() && e->text().at(0).isPrint() &&
           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}
