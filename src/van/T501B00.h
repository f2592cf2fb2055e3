#pragma once
#include "transfers/collection/MealItems.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolButton;

// "급식인증시스템 전송 환경설정": the meal-certification switch, the
// workbook folder and the chosen items.
class TFrmT501B00 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmT501B00(QWidget* parent = nullptr);

    QRadioButton *rdUSE = nullptr, *rdNON = nullptr;
    QTableWidget* vGrid = nullptr;
    QPushButton *cmdConfig = nullptr, *cmdSave = nullptr, *cmdClose = nullptr;
    QLineEdit* slePath = nullptr; // changed only through its browse button
    QToolButton* slePathBrowse = nullptr;

    void cmdLoadDItemClick();
    void cmdConfigClick();
    void cmdSaveClick();
    void slePathBrowseClick();
};

// "급식인증 송신항목 설정": which fee items are meal-certification items,
// each with a one-letter kind.
class TFrmT501B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmT501B01(QWidget* parent = nullptr);

    QTableWidget* vGrid = nullptr; // items not chosen
    QTableWidget* wGrid = nullptr; // chosen items, kind editable
    QPushButton *sbRightOne = nullptr, *sbRightAll = nullptr, *sbLeftOne = nullptr, *sbLeftAll = nullptr;
    QPushButton *cmdSave = nullptr, *cmdClose = nullptr;

    // The move buttons by their Tags: 11 ">", 12 ">>", 21 "<", 22 "<<".
    void sbRightOneClick(int tag);
    void cmdSaveClick();
    QList<MealItems::Item> rightItems() const;

private:
    void cmdLeftItemLoadClick();
    void setRows(QTableWidget* g, const QList<MealItems::Item>& items, bool withKind);
};
