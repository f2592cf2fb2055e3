#pragma once
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

// "인쇄형태" of the collection list: orientation, whole list or by grade and
// class, and in portrait exactly two of four optional columns. The caller
// reads the result (1 OK, 2 cancel), pVertical, rdobtn1 and FieldSelCode().
class TFrmF201B03_02 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF201B03_02(QWidget* parent = nullptr);

    QRadioButton* pVertical = nullptr;   // 세로방향, Tag 0
    QRadioButton* pHorizontal = nullptr; // 가로방향, Tag 1
    QRadioButton* rdobtn1 = nullptr;     // 전체 인쇄
    QRadioButton* rdobtn2 = nullptr;     // 학년반별 인쇄
    QGroupBox* chkPanel = nullptr;
    QCheckBox* chkGroup = nullptr;  // 그룹, Tag 1
    QCheckBox* chkMiNab = nullptr;  // 비고, Tag 10
    QCheckBox* chkHanDay = nullptr; // 환불일자, Tag 100
    QCheckBox* chkHanAmt = nullptr; // 환불금액, Tag 1000
    QPushButton* BBtnOk = nullptr;
    QPushButton* BBtnClose = nullptr;

    // The Tags of the checked boxes added up: 11, 101, 110, 1001, 1010 or 1100
    // name the two columns of the portrait list.
    int FieldSelCode() const;

    void BBtnOkClick();
    void BBtnCloseClick();
    void chkHanDayClick(QCheckBox* clicked);
    void pVerticalClick();

private:
    int checkedCount() const;
};
