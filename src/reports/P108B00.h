#pragma once
#include "reports/Letter.h"

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "가정통신문": the letter to parents, typed and printed on one page.
class TFrmP108B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmP108B00(QWidget* parent = nullptr);
    ~TFrmP108B00() override;

    QLineEdit *EdtSeqNo = nullptr, *EdtTitle = nullptr, *MedtDate = nullptr;
    QPlainTextEdit* MemoDescript = nullptr;
    QPushButton *bbtnPrnt = nullptr, *bbtnDone = nullptr;

    LetterFields letter() const;
    // "인쇄": a date that is no date is refused with a box; otherwise the
    // preview of the page.
    void bbtnPrntClick();
};

extern TFrmP108B00* FrmP108B00;
