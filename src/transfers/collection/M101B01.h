#pragma once
#include "transfers/collection/RoundPages.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

// "자료생성": creates a collection round by grade, by student group, by
// merging unprocessed rows of older rounds or by copying a round; also
// deletes rows of a round by grade or group. The caller hands the values of
// the collection window and reads MEdtYearMon / MEdtSeqNo after OK.
class TFrmM101B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B01(const RoundDialogValues& values, QWidget* parent = nullptr);

    // yyyymm and round of the created (or pruned) round.
    QString yearMon() const;
    QString seqNo() const;

    QLineEdit* eGroup = nullptr;
    QLineEdit* MEdtYearMon = nullptr;
    QLineEdit* MEdtSeqNo = nullptr;
    QLineEdit* txtSeqTitle = nullptr;
    QTabWidget* PgCtrl = nullptr;
    RoundSelectionPages pages;
    QWidget* TSMerge = nullptr;
    QWidget* TSCopy = nullptr;
    QListWidget* vListBox = nullptr;
    QComboBox* cboSource = nullptr;
    QStringList CLBSeq;   // round tables offered for merging and copying, newest first
    QStringList FLbHProc; // round tables present when the dialog was created
    QLabel* pnProgress = nullptr;
    QPushButton* BBtnCreate = nullptr;
    QPushButton* BBtnDel = nullptr;
    QPushButton* BBtnCncl = nullptr;

    void BBtnCreateClick();
    void BBtnDelClick();
    void PgCtrlChange();
    void cmdClearTableClick();
    void sLoadTitle();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void MEdtYearMonExit();
    void MEdtSeqNoExit();
    RoundTarget roundTarget() const;

    Rounds::BankChoice bank_;
};
