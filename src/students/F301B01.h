#pragma once
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TFrmF301B00;

// "찾기": finds a student in the exemption window's list by number or name.
class TFrmF301B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF301B01(TFrmF301B00* owner);

    QComboBox* CbSelect = nullptr;
    QLineEdit* EdtSearchNm = nullptr;
    QCheckBox* CContSearch = nullptr;
    QPushButton *BBtnSearch = nullptr, *BBtnClose = nullptr;

    void CbSelectChange();
    void BBtnSearchClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TFrmF301B00* owner_;
    bool found_ = false; // a name search found a row: "계속검색" goes on below it
};
