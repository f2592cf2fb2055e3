#pragma once
#include "transfers/collection/RoundPages.h"

#include <QDialog>

class QLineEdit;
class QTabWidget;

// "자료추가": adds the missing rows of chosen grades and items, or of chosen
// student groups, to the round the collection window shows.
class TFrmM101B13 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B13(const RoundDialogValues& values, QWidget* parent = nullptr);

    QLineEdit* eGroup = nullptr;
    QLineEdit* MEdtYearMon = nullptr;
    QLineEdit* MEdtSeqNo = nullptr;
    QTabWidget* PgCtrl = nullptr;
    RoundSelectionPages pages;
    QPushButton* BBtnCreate = nullptr;
    QPushButton* BBtnCncl = nullptr;

    void BBtnCreateClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    Rounds::BankChoice bank_;
};
