#pragma once
#include "students/PurgeStore.h"
#include "students/RosterList.h"
#include "students/StudentStore.h"

#include <QAbstractTableModel>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

// The grid's rows: one student per row, 21 cells of which 8 are shown.
class RosterGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(QList<StudentRow> rows);
    // Null for the empty row of an empty listing.
    const StudentRow* student(int row) const;
    int students() const { return int(rows_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    QList<StudentRow> rows_;
};

// "학생명부": the student roster work window.
class TFrmF201B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmF201B00(QWidget* parent = nullptr);
    ~TFrmF201B00() override;

    // grid
    QTableView* SGrdMCust = nullptr;
    RosterGridModel* grid = nullptr;
    // Grid rows as the find dialog counts them: row 0 is the header.
    int gridRowCount() const;
    QString gridCell(int col, int row) const;
    int gridRow() const;
    void setGridRow(int row);

    // search box "검 색"
    QLineEdit *SHakFromEdit = nullptr, *SBanFromEdit = nullptr, *SBunFromEdit = nullptr;
    QLineEdit *SHakToEdit = nullptr, *SBanToEdit = nullptr, *SBunToEdit = nullptr;
    QComboBox* CBSBank = nullptr;
    QLineEdit* edtacctno2 = nullptr;
    QButtonGroup *RGrpUse = nullptr, *RGrpSex = nullptr, *RGpRegYn = nullptr, *RGpSMSYn = nullptr;
    QPushButton *BBtnInquiry = nullptr, *BBtnSearch = nullptr, *BBtnPreview = nullptr, *BtnSMS = nullptr,
                *BBtnSMSALL = nullptr;
    QLabel *LblTot = nullptr, *LblUseY = nullptr, *LblUseN = nullptr;

    // entry box "입 력"
    QLineEdit* EdtCustNo = nullptr;
    QComboBox *CbMNo = nullptr, *CbMNo1 = nullptr;
    QLineEdit* MEdtSNo = nullptr;
    QLineEdit* EdtNm = nullptr;
    QComboBox* CbSex = nullptr;
    QComboBox* CBBank = nullptr;
    QLineEdit *EdtAcctNo = nullptr, *EdtOwr = nullptr, *MEdtJu_No = nullptr, *MEdtJu_No_stud = nullptr;
    QLineEdit *MedtInDate = nullptr, *MedtOutDate = nullptr, *EdtMtelNo = nullptr;
    QComboBox* CBsmsYN = nullptr;
    QCheckBox* ChkUse = nullptr;
    QLineEdit *eBigo = nullptr, *eBitoTmp = nullptr;
    QPushButton *BBtnAdd = nullptr, *BBtnUpdt = nullptr, *BBtnDel = nullptr, *bbtnFileRead = nullptr,
                *SBtnExempReg = nullptr, *BBtnClose = nullptr;
    // box "학생명부 일괄변경"
    QPushButton *bbtnTTmod_dn = nullptr, *bbtnTTmod_up = nullptr;

    // purge box "전출생 일괄삭제/복구": enabled while 전출생 is listed
    QPushButton *cmdOutDel = nullptr, *cmdDCancel = nullptr;
    QWidget* pnProgress = nullptr;
    QLabel* txtProgress = nullptr;
    QProgressBar* pbInit = nullptr;
    void cmdOutDelClick();
    void cmdDCancelClick();
    void pEnablePurge();

    // Bounds of the last listing, completed to full length.
    QString FSNoFrom, FSNoTo;
    // The conditions of the last listing, which its print runs again.
    RosterFilter FListFilter;
    // What the next all-students SMS change sets: true for accept.
    bool FSmsAllOn = true;

    void FormCreate();
    void pListStudents();
    void pClearEdits();
    void BBtnInquiryClick();
    void RGrpUseClick();
    void SGrdMCustClick();
    void BBtnSearchClick();
    void BBtnPreviewClick();
    void BBtnSMSALLClick();
    void BtnSMSClick();
    void BBtnAddClick();
    void BBtnUpdtClick();
    void BBtnDelClick();
    void BBtnCloseClick();
    void bbtnFileReadClick();
    void bbtnTTmod_dnClick();
    void bbtnTTmod_upClick();
    void CBBankChange();
    void CBBankExit();
    void CBSBankChange();
    void MEdtSNoExit();
    void EdtCustNoChange();
    void SBtnExempRegClick();

    // The entry fields as values.
    StudentEntry entry() const;
    // Student number without the grade as the masked edit holds it.
    QString classNoText() const;
    // The student last loaded by a row click (the before image of a save).
    StudentRow FClicked;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showBoxes(const StoreResult& r);
    void focusField(StudentField f);
    bool boundEditKey(QLineEdit* edit, int key);
    bool inBankChange_ = false;
    PurgeStore::Progress progressFor(const QString& caption);
    void purgeFinished(const PurgeResult& r);
};

extern TFrmF201B00* FrmF201B00;
