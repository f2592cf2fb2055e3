#pragma once
#include <QWidget>

class QPushButton;
class QTableWidget;

// "이체자료삭제": the round tables; the marked ones are dropped with the
// titles of the collection rounds among them, in one transaction.
class TFrmT204B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmT204B00(QWidget* parent = nullptr);

    QTableWidget* SGrdShftDel;
    QPushButton *BBtnDel, *BBtnClose;

    void FillList();
    void BBtnDelClick();
};
