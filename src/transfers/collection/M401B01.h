#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// "급식인증 자료 전송확인": count and amount of a meal-certification export,
// confirmed before it is written.
class TFrmM401B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM401B01(QWidget* parent = nullptr);

    QLabel* txtV;      // the count text, after "총건수:"
    QLabel* txtW;      // the amount text, after "총금액:"
    QLabel* txtYearM;  // hidden
    QLabel* txtSeqNo;  // hidden
    QPushButton* cmdApply;
    QPushButton* cmdCancel;

    // "1,234 건" and "5,000 원".
    static QString countText(qint64 n);
    static QString amountText(qint64 n);
};
