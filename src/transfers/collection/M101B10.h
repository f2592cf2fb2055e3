#pragma once
#include "transfers/collection/RowFind.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QPushButton;
class QRadioButton;
class TKeyEdit;

// "찾기": finds a row of the collection window's grid by account, student
// number or name and makes it the current row.
class TFrmM101B10 : public QDialog {
    Q_OBJECT
public:
    // rows gives the grid's rows; select makes a 0-based row current.
    TFrmM101B10(std::function<QList<QStringList>()> rows, std::function<void(int)> select,
                QWidget* parent = nullptr);

    QRadioButton* CbSelect1; // 계좌번호
    QRadioButton* CbSelect2; // 학번번호
    QRadioButton* CbSelect3; // 성    명
    TKeyEdit* txtAccountNo;
    TKeyEdit *SHakEdit, *SBanEdit, *SBunEdit;
    TKeyEdit* txtName;
    QComboBox* cboItem; // the window's item entries, no typing
    QPushButton* BBtnSearch;
    QPushButton* BBtnClose;

    void BBtnSearchClick();
    void setMode(RowFind::Mode m);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void resetButton();
    std::function<QList<QStringList>()> rows_;
    std::function<void(int)> select_;
    RowFind::Mode mode_ = RowFind::Mode::Name;
    RowFind::State state_;
};
