#pragma once
#include "students/SnoChange.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// "개별학년변경": new student numbers one student after another within a
// grade, or a workbook of payer numbers and new numbers.
class TFrmF401B00 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF401B00(QWidget* parent = nullptr);

    QLineEdit *edtSchLvl, *medtSrcStudtNo, *medtDesStudtNo, *edtStudtNm;
    QPushButton *BbtnFirst, *BbtnPrev, *BbtnNext, *BbtnLast, *bbtnSave, *bbtnExlSave, *bbtnDone;

    void edtSchLvlExit();
    void BbtnFirstClick();
    void BbtnPrevClick();
    void BbtnNextClick();
    void BbtnLastClick();
    void bbtnSaveClick();
    void bbtnExlSaveClick();
    // The new number as typed, without its dashes.
    QString newNumber() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showStudent();
    bool open_ = false;
    QList<SnoChange::Student> students_; // the grade as it was opened
    int pos_ = 0;
};
