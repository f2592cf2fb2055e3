#pragma once
#include "transfers/common/RowEdits.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class TKeyEdit;

// "금액수정": a new amount for many rows at once, by item, student group,
// student-number prefix and exemption kinds.
class TFrmM101B03 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B03(QWidget* parent = nullptr);

    QComboBox* CbItem;   // no typing
    QComboBox* cboGroup; // no typing
    TKeyEdit *SHakEdit, *SBanEdit, *SBunEdit;
    TKeyEdit* EdtAmt;
    QCheckBox* CAfree; // 전액면제자
    QCheckBox* CPfree; // 부분면제자
    QCheckBox* CAll;   // 전체
    QPushButton* BBtnOK;
    QPushButton* BBtnCncl;

    // The ticked entries with the first chosen, or when none is ticked every
    // entry with none chosen.
    static void fillChoices(QComboBox* combo, const QStringList& all, const QStringList& ticked);
    // Grade, class and number of a student number.
    void setSNo(const QString& sno);

    void CAllClick();
    void BBtnOKClick();
    // What the dialog chose (after OK).
    RowEdit::BulkAmount values() const;
};
