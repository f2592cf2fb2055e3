#pragma once
#include "students/NewTerm.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "학반번호 일괄변경": the new-term class assignment on V_TEMP: search by old
// number, bulk changes, typing, save, error check, sorted preview with find,
// and the final apply.
class TFrmF401Baa : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF401Baa(QWidget* parent = nullptr);

    QLineEdit *sleN1, *sleN2, *sleN3, *sleM1, *sleM2, *sleM3;
    QLabel *lblRange, *lblTo; // "구학번범위" and "~"
    QPushButton *cmdSearch, *cmdSave, *cmdAll, *cmdGrade, *cmdBanGrade, *cmdInit, *cmdChkSNO, *cmdView, *cmdApply,
        *cmdClose;
    QTableWidget *vGrid, *wGrid;
    QLabel* txtProgress;
    bool modified = false;
    bool preview = false;

    void cmdSearchClick();
    void cmdSaveClick();
    void cmdAllClick();
    void cmdGradeClick();
    void cmdBanGradeClick();
    void cmdInitClick();
    void cmdChkSNOClick();
    void cmdViewClick();
    void cmdApplyClick();
    void cmdCloseClick();
    // The rows as the edit grid holds them (typed values included).
    QList<NewTermRow> gridRows() const;
    // The duplicate check of one row's key over the grid; false after its box.
    bool CheckDupNewSNo(const QString& key);

    // Enter in the grid (editor: the open cell editor, or none): the cell
    // committed and checked, then on to the next of columns 7 to 9.
    void vGridEnter(QWidget* editor);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void fillGrid(const QList<NewTermRow>& rows);
    void cellEdited(int row, int col);
    void afterEdit(std::function<void()> f);
    void SetPreviewMode(bool on);
    void enableEdits(bool on);
    QList<NewTermRow> rows_;
    QString from_, to_;
    bool filling_ = false;
    bool editFailed_ = false;  // the last commit's check failed
    bool cellChecked_ = false; // the last commit changed (and checked) the cell
};

// "학년일괄변경": keep the grade or one grade up.
class TFrmF401Bae : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF401Bae(QWidget* parent = nullptr);
    QRadioButton *rbGrade0, *rbGrade1;
};

// "새반 일괄 변경": the new class for every row shown.
class TFrmF401Bab : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF401Bab(QWidget* parent = nullptr);
    QLineEdit* NewBanEdit;
    QString ban; // two digits after OK
    void OKBtnClick();
};

// "변경최종확정": graduates and transferred-out students to delete.
class TFrmF401Bac : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF401Bac(QWidget* parent = nullptr);
    QCheckBox *chkOut, *Out1CheckCombo, *Out2CheckCombo, *chkGo;
    QComboBox *Out1Combo, *Out2Combo;
    int FinalConfirm = 0;
    NewTerm::ApplyOptions options() const;
};

// "찾기" in the preview.
class TFrmF401Baf : public QDialog {
    Q_OBJECT
public:
    TFrmF401Baf(QTableWidget* grid, QWidget* parent = nullptr);
    QComboBox* cboSType;
    QLineEdit* mskSKey;
    QRadioButton *rbSDown, *rbSUp;
    int FindRow = 0;
    void cmsSearchClick();

private:
    QTableWidget* grid_;
};
