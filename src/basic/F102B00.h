#pragma once
#include "basic/BasicDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// 학년등록: the grades of the school.
class TFrmF102B00 : public BasicDialog {
    Q_OBJECT
public:
    explicit TFrmF102B00(QWidget* parent = nullptr);

    QLineEdit* EdtSCd;
    QLineEdit* EdtSCdNm;
    QComboBox* CbCompyNm;
    QTableWidget* SGrdSCd;
    QPushButton* BBtnAdd;
    QPushButton* BBtnUpdt;
    QPushButton* BBtnDel;
    QPushButton* BBtnClose;

public slots:
    void FormCreate();
    void SGrdSCdDblClick(int row);
    void BBtnAddClick();
    void BBtnUpdtClick();
    void BBtnDelClick();
    void BBtnCloseClick();

private:
    void LoadGrid();
};
