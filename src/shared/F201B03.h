#pragma once
#include <QDialog>

class QPushButton;
class QRadioButton;

// "인쇄형태": whole list or by grade and class. The caller reads the result
// (1 OK, 2 cancel) and rdobtn1 (checked: whole list).
class TFrmF201B03 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF201B03(QWidget* parent = nullptr);

    QRadioButton* rdobtn1 = nullptr; // 전체 인쇄
    QRadioButton* rdobtn2 = nullptr; // 학년반별 인쇄
    QPushButton* BBtnOk = nullptr;
    QPushButton* BBtnClose = nullptr;

    void BBtnOkClick();
    void BBtnCloseClick();
};
