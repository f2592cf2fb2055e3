#pragma once
#include "basic/SchoolRegistration.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "학교등록": the school's code, log-in password, kind, student-number mode,
// names, addresses and seal.
class TFrmF101B00 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF101B00(QWidget* parent = nullptr);

    QLineEdit *edtSchCode, *edtSchPass, *edtSchNm, *edtSchPrsdNm, *edtSchTel, *edtSchFax, *edtSchPost,
        *edtSchAddr;
    QLineEdit *edtKidNm, *edtKidPrsdNm, *edtKidTel, *edtKidFax, *edtKidPost, *edtKidAddr;
    QRadioButton *RdoBtn1, *RdoBtn2;
    QCheckBox *chkHakBun5, *chkHakBun6;
    QPushButton *BitBtn1, *BitBtn2, *btnSeal;

    void FormCreate();
    void BitBtn1Click();
    void btnSealClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QList<QLineEdit*> edits() const; // in the order of SchoolRegistration::fields()
    SchoolValues current() const;

    SchoolValues snapshot_;
    bool rowExists_ = false;
};
