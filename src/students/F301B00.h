#pragma once
#include "students/ExempStore.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "면제학생 항목등록": the students' exemptions from fee items, one student or
// every marked student at a time.
class TFrmF301B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmF301B00(QWidget* parent = nullptr);
    ~TFrmF301B00() override;

    // search area
    QLineEdit *SHakFromEdit = nullptr, *SBanFromEdit = nullptr, *SBunFromEdit = nullptr;
    QLineEdit *SHakToEdit = nullptr, *SBanToEdit = nullptr, *SBunToEdit = nullptr;
    QComboBox* CbItem = nullptr;
    QPushButton* BBtnInquiry = nullptr;
    QLabel* lblTotCnt = nullptr;
    // student list: one row per student (no header row); columns as listed
    QTableWidget* SGrdCust = nullptr;
    QPushButton *cmdChkAll = nullptr, *cmdCancelAll = nullptr;

    // edit area
    QLineEdit* EdtCustNo = nullptr;
    QComboBox* CbMNo = nullptr;
    QLineEdit* MEdtSNo = nullptr;
    QLineEdit* EdtNm = nullptr;
    QComboBox* SBFree = nullptr;
    QLineEdit* EBPfree = nullptr;
    QRadioButton *RBAfree = nullptr, *RBPfree = nullptr;
    QCheckBox *Cfree = nullptr, *CASedit = nullptr;
    QTableWidget* DCPriceGrid = nullptr;
    QPushButton *BBtnSave = nullptr, *BBtnSearch = nullptr, *BBtnClose = nullptr;

    // The item codes of CbItem / SBFree entries, index for index ("00" first).
    QStringList CboItemT;

    void FormCreate();
    void BBtnInquiryClick();
    void pListStudents();
    void CbItemChange();
    // Loads the student of a list row (0-based).
    void SGrdCustClick(int row);
    void SGrdCustDblClick(int row, int col);
    void cmdChkAllClick(int tag);
    void SBFreeChange();
    void DCPriceGridClick(int row);
    void RBAfreeClick();
    void CfreeClick();
    void EdtCustNoChange();
    void BBtnSaveClick();
    void BBtnSearchClick();
    void BBtnCloseClick();
    int iCountMarked() const;

    // Listed rows (the find dialog reads them).
    int listRows() const;
    QString listCell(int row, int col) const;
    int listRow() const;
    void setListRow(int row);
    // The listed students (none for the blank row of an empty list).
    const QList<ExempStudent>& listed() const { return listed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clearList();
    void clearEditArea();
    QString itemCodeAt(int index) const;
    // The job-log line of the student in the edit area.
    QString logLine(const QString& action, const QString& tail) const;
    void reloadStudent();
    void loadStudent(const ExempStudent s);
    QList<ExempItem> items_;
    QList<ExempStudent> listed_;
    std::optional<ExempStudent> current_; // the student in the edit area
};

extern TFrmF301B00* FrmF301B00;
