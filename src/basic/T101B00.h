#pragma once
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

// "인덱스복구": the database's tables with their descriptions; the marked
// tables of a known kind get their indexes rebuilt, then the database is
// checked.
class TFrmT101B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmT101B00(QWidget* parent = nullptr);

    QTableWidget* SGrdDbLst;
    QPushButton *BbtnAllSelect, *BbtnIdxCncl, *BbtnCreateIdx, *BbtnClose;
    QLabel* PnlWait;   // "인덱스복구 중입니다. 잠시만 기다려 주세요!"
    QLabel* LblCheck;  // the integrity check's result
    QTimer* Timer1;

    void FillList();
    void BbtnCreateIdxClick();
    void Timer1Timer();
};
