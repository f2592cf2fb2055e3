#pragma once
#include "students/StGroupStore.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

// "학생그룹등록": moves students between the non-members (left) and the
// members (right) of a group and saves the membership.
class TFrmF302B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmF302B00(QWidget* parent = nullptr);
    ~TFrmF302B00() override;

    QComboBox* CbGrp = nullptr;
    QPushButton *BBtnDispGrp = nullptr, *BBtnSaveGrp = nullptr, *BBtnNewGrp = nullptr, *cmdModifyGroup = nullptr,
                *BBtnCopyGrp = nullptr, *BBtnClose = nullptr;
    // left: non-members
    QLineEdit *MEdtNo = nullptr, *EdtNm = nullptr;
    QPushButton* BBtnSearch = nullptr;
    QTableWidget* SGrdCustSrc = nullptr;
    QLabel* lblTotCnt1 = nullptr;
    QPushButton *cmdLSAll = nullptr, *cmdLNAll = nullptr, *cmdLSN = nullptr;
    // right: members
    QLineEdit *MEdtNoSelect = nullptr, *EdtNmSelect = nullptr;
    QPushButton* BBtnSearchSelect = nullptr;
    QTableWidget* SGrdCustDest = nullptr;
    QLabel* lblTotCnt2 = nullptr;
    QPushButton *cmdRSAll = nullptr, *cmdRNAll = nullptr;
    // moves
    QPushButton *SBtnAdd = nullptr, *SBtnDel = nullptr, *SBtnAllAdd = nullptr, *SBtnAllDel = nullptr,
                *SpeedButton1 = nullptr;
    QWidget* pnProgress = nullptr;
    QProgressBar* pbInit = nullptr;

    void pLoadGroupNames();
    void BBtnDispGrpClick();
    void pShowSrcGrid();
    void pShowDestGrid();
    void SBtnAddClick();
    void SBtnDelClick();
    void SBtnAllAddClick();
    void SBtnAllDelClick();
    void SpeedButton1Click();
    void toggleMark(QTableWidget* grid, int row);
    // 1 marks, 0 unmarks, -1 inverts every row of the grid.
    void markAll(QTableWidget* grid, int how);
    void BBtnSearchClick();
    void BBtnSearchSelectClick();
    // True when saved (the question answered Yes and the save went through).
    bool BBtnSaveGrpClick();
    void BBtnNewGrpClick();
    void cmdModifyGroupClick();
    void BBtnCopyGrpClick();

    const StGroupLists& lists() const { return lists_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showGrid(QTableWidget* grid, QLabel* count, const QList<StGroupStudent>& list, const QString& filter);
    // Payer numbers of the grid's rows, marked ones only or all.
    QStringList rowsOf(QTableWidget* grid, bool markedOnly) const;
    void findIn(QTableWidget* grid, QLineEdit* number, QLineEdit* name, int& pos);
    void selectName(const QString& name);
    StGroupLists lists_;
    int srcPos_ = 0, destPos_ = 0;
};

extern TFrmF302B00* FrmF302B00;
