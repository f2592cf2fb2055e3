#pragma once
#include "students/GradeFiles.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

// "학년,학번 자동변경": the roster split into grade files, renumbered and
// edited there, then merged back into the roster after a backup.
class TFrmF402B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmF402B00(QWidget* parent = nullptr);

    QLineEdit* EdtStudt = nullptr;
    QPushButton *BbtnView = nullptr, *BbtnFilePartition = nullptr, *BbtnFileCollect = nullptr;
    QComboBox* CbClass = nullptr;
    QTabWidget* tabs = nullptr;
    QComboBox* CBBank = nullptr;
    QLineEdit *EdtStudt1 = nullptr, *EdtStudt2 = nullptr, *EdtStudt3 = nullptr, *MEdtUpdtStudtNo = nullptr;
    QLabel* arrow = nullptr;
    QLineEdit *EdtSex = nullptr, *EdtNm = nullptr, *MedtAcctNo = nullptr, *EdtAcctNm = nullptr;
    QRadioButton *RbtnUpdt = nullptr, *RbtnAppd = nullptr;
    QPushButton *BbtnAutoNum = nullptr, *BbtnAutoCls = nullptr, *BbtnOK = nullptr, *BbtnCncl = nullptr,
                *BbtnDone = nullptr;
    QTableWidget* DBGrid2 = nullptr; // the open grade file, one row selected
    QTableWidget* DBGrid1 = nullptr; // the same rows, edited in place

    void BbtnViewClick();
    void BbtnFilePartitionClick();
    void BbtnFileCollectClick();
    void BbtnAutoNumClick();
    void BbtnAutoClsClick();
    void BbtnOKClick();
    void BbtnCnclClick();
    void DBGrid2DblClick(int row);
    // The student of the typed grade, class and number.
    void showStudent();

    int openGrade() const { return grade_; }
    QString currentCustNo() const { return current_; }
    bool threeDigits() const { return threeDigits_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void reload();
    void fillGrid(QTableWidget* g, bool editable);
    void cellEdited(int row, int col);
    QString typedSNo() const;
    QString pad(const QString& t, int len) const;
    void modeChanged();

    bool threeDigits_ = true;
    int grade_ = 0;   // the open grade file, 0 none
    QString current_; // payer number of the student shown, empty when none was found
    QList<GradeFiles::Row> rows_;
    bool filling_ = false;
};
