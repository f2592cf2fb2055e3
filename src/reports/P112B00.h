#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "수입일계표": builds the daily income summary of a payment date, lists it
// and prints the form from the listed lines.
class TFrmP112B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmP112B00(QWidget* parent = nullptr);
    ~TFrmP112B00() override;

    QLineEdit* medtDateShft = nullptr;
    QPushButton *bbtnSearch = nullptr, *bbtnPrint = nullptr, *bbtnClose = nullptr;
    QTableWidget* SGrdDateShft = nullptr;
    QLabel *pnlTotCnt = nullptr, *pnlTotAmt = nullptr;

    // The date edit's digits (yyyymmdd).
    QString dateText() const;
    void bbtnSearchClick();
    void bbtnPrintClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void clearGrid();
};

extern TFrmP112B00* FrmP112B00;
