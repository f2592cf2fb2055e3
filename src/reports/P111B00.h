#pragma once
#include "reports/YearEndForm.h"

class QDateEdit;

// "교육비납입증명서": the chosen students' payments of a year summed per
// quarter into an editable grid, four rows a student, and one certificate a
// page printed from the grid as it stands.
class TFrmP111B00 : public TYearEndForm {
    Q_OBJECT
public:
    explicit TFrmP111B00(QWidget* parent = nullptr);
    ~TFrmP111B00() override;

    QComboBox* cboYear = nullptr;
    QLineEdit *SHakEdit = nullptr, *SBanEdit = nullptr, *SBunEdit = nullptr;
    QListWidget* CLbNCd_item = nullptr;
    QPushButton* BBtnCheckAll = nullptr;
    QComboBox* cboGroup_2 = nullptr;
    QListWidget* CLbNCd_item_2 = nullptr;
    QPushButton* BBtnCheckAll_2 = nullptr;
    QLineEdit* EdtS_nm[4] = {};
    QDateEdit *DTP_s[4] = {}, *DTP_e[4] = {};
    QLineEdit *edtPNm = nullptr, *edtPAddr = nullptr, *edtCompany = nullptr, *edtPJumin = nullptr;
    QLineEdit *edtSchNm = nullptr, *edtAddr = nullptr, *edtRelation = nullptr;

    void cboYearChange();
    // "인쇄": the certificates of the grid's rows as they stand now.
    void print() override;
    // The grid's cells, row by row.
    QList<QStringList> gridCells() const;

protected:
    void fillExtra(ReportSelection& s) const override;

private:
    void searched();
    QString issuer_;
};

extern TFrmP111B00* FrmP111B00;
