#pragma once
#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;

// 조회: a range of dates, both today at first. The caller reads them as
// yyyymmdd; the order of the two is not checked.
class TFrmC101B02 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmC101B02(QWidget* parent = nullptr);

    QLabel* PnlSechDt;
    QDateEdit* DTPkerSDt;
    QDateEdit* DTPkerEDt;
    QPushButton* BBtnConfi;
    QPushButton* BBtnCncl;

    QString firstDate() const;
    QString lastDate() const;
};
