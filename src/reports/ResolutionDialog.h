#pragma once
#include "reports/Resolutions.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The dialog of a resolution form: its fields as the form lists them, laid
// out in columns, filled from the form's INI file when it opens; "인쇄"
// previews the page and then keeps the fields, "닫기" keeps them and closes
// (closing by the title bar keeps nothing). A write that fails is reported
// and "닫기" then leaves the dialog open.
class TResolutionDialog : public QDialog {
    Q_OBJECT
public:
    TResolutionDialog(const QString& unit, int columns, QWidget* parent = nullptr);

    const ResolutionForm& form() const { return *form_; }
    // A field by its control name ("EdtSeqNo", "MedtDate1").
    QLineEdit* field(const QString& control) const;
    QPlainTextEdit* MemoDescript = nullptr;
    QPushButton *BbtnPrnt = nullptr, *BbtnDone = nullptr;

    // The fields' texts by INI key (dates as their edits keep them), the memo
    // under "memo".
    ResolutionValues values() const;
    void setValues(const ResolutionValues& v);
    // Writes every kept field; false (after the box) when the write failed.
    bool saveFields();
    void BbtnPrntClick();
    void BbtnDoneClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter in a field, before the focus moves on.
    virtual void enterPressed(QLineEdit*) {}

private:
    const ResolutionForm* form_;
    QList<QLineEdit*> edits_; // in the form's field order
};
