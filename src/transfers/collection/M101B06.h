#pragma once
#include "transfers/common/RowEdits.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;
class TKeyEdit;

// "이체여부변경": a row's new transfer state with its date and amount.
class TFrmM101B06 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B06(QWidget* parent = nullptr);

    QRadioButton* rdoReplyty0; // 미처리
    QRadioButton* rdoReplyty2; // 현금수납
    QRadioButton* rdoReplyty3; // 환불처리
    QRadioButton* rdoReplyty1; // 이체처리
    QWidget* Panel3;           // question, date and amount
    QLabel* Label1;
    QLabel* Panel2;
    TKeyEdit* MedtShftDate; // yyyy-MM-dd
    QLabel* txtAmt;
    TKeyEdit* ReAmt;
    QPushButton* bbtnOK;
    QPushButton* bbtnCncl;

    // The choices a row of that state offers, with its amount.
    void pSetReplyTy(const QString& replyTy, const QString& amt);
    void bbtnOKClick();
    // After OK: the choice, the date as yyyymmdd and the amount.
    RowEdit::StatusChange values() const;

private:
    void choose(QRadioButton* r);
    bool replyTyShowsTransfer_ = false;
};
