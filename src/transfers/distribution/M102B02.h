#pragma once
#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

// "회차선택": the distribution round selector. The caller puts the item
// group into EdGcode (blank: every round), shows it, and on OK reads
// yearMon() / seqNo(). No line is chosen at first.
class TFrmM102B02 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM102B02(QWidget* parent = nullptr);

    // Fills the list; runs when the dialog is shown.
    void FormShow();
    void BBtnOKClick();

    // The chosen line's year-month and round; empty when none is chosen.
    QString yearMon() const;
    QString seqNo() const;

    QLineEdit* EdGcode = nullptr;
    QListWidget* LbYearMon = nullptr;
    QPushButton* BBtnOK = nullptr;
    QPushButton* BBtnCncl = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
};
