#pragma once
#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class TKeyEdit;

namespace AmountEntry {

// The amount dialogs' check on OK: an empty amount, or one that is not whole
// won, shows its box and keeps the dialog open.
bool accepted(const QString& text, QWidget* parent);
// An amount edit of the dialog: digits and commas, 13 characters at most;
// Enter runs confirm.
TKeyEdit* makeEdit(QDialog* dialog, std::function<void()> confirm);

} // namespace AmountEntry

// "금액수정": the new amount of one row, of the collection or the
// distribution work window. The student number is shown only.
class TAmountDialog : public QDialog {
    Q_OBJECT
public:
    QLineEdit* MEdtSchNo = nullptr;
    TKeyEdit* EdtAmt = nullptr;
    QPushButton* BBtnOK = nullptr;
    QPushButton* BBtnCncl = nullptr;

    // Accepts an amount that passes AmountEntry::accepted; else the amount
    // keeps the focus.
    void BBtnOKClick();
    // Whole won, commas allowed; none for anything else.
    std::optional<qint64> amount() const;

protected:
    explicit TAmountDialog(QWidget* parent);
    // The student number, the amount and the buttons; item, when given,
    // stands in the first row.
    void build(QLineEdit* item);
};
