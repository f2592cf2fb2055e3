#pragma once
#include "basic/BasicDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// 항목그룹등록: the item groups. Three states, told by the caption of
// BTGSave: locked, a row shown ("삭제"), editing or new ("저장").
class TFrmF105B00 : public BasicDialog {
    Q_OBJECT
public:
    explicit TFrmF105B00(QWidget* parent = nullptr);

    QLineEdit* EditGCode;
    QLineEdit* EditGName;
    QLineEdit* EditGText;
    QLineEdit* NCode; // hidden: the code a new group gets
    QTableWidget* SGridGroup;
    QLabel* Label4;
    QPushButton* BTGNew;
    QPushButton* BTGEdit;
    QPushButton* BTGSave;
    QPushButton* BTGOK;

    void done(int r) override;

public slots:
    void FormCreate();
    void SGridGroupClick(int row);
    void BTGNewClick();
    void BTGEditClick();
    void BTGSaveClick();
    void BTGOKClick();

private:
    void LoadGrid();
    QString shownName_; // name of the row last clicked
};
