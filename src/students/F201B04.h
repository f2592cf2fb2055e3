#pragma once
#include <QDialog>

class QListWidget;
class QPushButton;

// "수정 회차 선택": the rounds a changed student number or account is carried
// into. The caller reads the result (1 OK, 2 cancel) and LbYearMonSrc.
class TFrmF201B04 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF201B04(QWidget* parent = nullptr);

    QListWidget* LbYearMonDest = nullptr; // available rounds
    QListWidget* LbYearMonSrc = nullptr;  // chosen rounds
    QPushButton* SBtnAllAdd = nullptr;
    QPushButton* SBtnAdd = nullptr;
    QPushButton* SBtnDel = nullptr;
    QPushButton* SBtnAllDel = nullptr;
    QPushButton* BBtnAdd = nullptr;
    QPushButton* BBtnCncl = nullptr;

    QStringList chosen() const;

    void FormCreate();
    void SBtnAddClick();
    void SBtnDelClick();
    void SBtnAllAddClick();
    void SBtnAllDelClick();
    void LbYearMonDestDblClick();
    void LbYearMonSrcDblClick();
    void BBtnAddClick();
    void BBtnCnclClick();
};
