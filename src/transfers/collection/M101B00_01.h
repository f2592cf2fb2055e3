#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// "비고란 사용자 입력 ": the remark of a processed row.
class TFrmM101B00_01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B00_01(QWidget* parent = nullptr);

    QLineEdit* BigoEdit; // 30 bytes
    QPushButton* OkBtn;  // enabled while the text is not blank
    QPushButton* CancelBtn;
};
