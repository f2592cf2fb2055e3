#pragma once
#include <QDialog>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// "이전로그조회(2005년이전)": the old single job-log table L_Log by date
// range and text. Reads only.
class TFrmT301B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmT301B00(QWidget* parent = nullptr);

    QLineEdit *MedtFromDate, *MedtToDate, *EdtText;
    QPushButton *BBtnSearch, *BBtnClose;
    QTableWidget* SGrdLog;

    // The masked dates as yyyymmdd (blanks where nothing was typed).
    QString fromDate() const;
    QString toDate() const;
    void BBtnSearchClick();
    void SGrdLogDblClick(int row, int col);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// "로그": one log text in a read-only memo.
class TFrmT301B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmT301B01(const QString& text, QWidget* parent = nullptr);
    QPlainTextEdit* Memo1;
};
