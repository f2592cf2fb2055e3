#pragma once
#include "transfers/common/ResultDialog.h"

// "파일풀기" of the distribution work window: lists the distribution result
// files waiting in recv for the window's bank and applies the chosen one to
// the shown round. The round, bank and item group come from the caller,
// either as constructor values or as the properties below (set on the
// dialog, or on the parent before the registry creates it); setting one
// lists the files again. It closes with OK once a file was applied.
class TFrmM102B08 : public TResultFileDialog {
    Q_OBJECT
    Q_PROPERTY(QString bankText READ bankText WRITE setBankText)
    Q_PROPERTY(QString groupText READ groupText WRITE setGroupText)
    Q_PROPERTY(QString yearMon READ yearMon WRITE setYearMon)
    Q_PROPERTY(QString seqNo READ seqNo WRITE setSeqNo)
    Q_PROPERTY(QString appliedTable READ appliedTable)
public:
    explicit TFrmM102B08(QWidget* parent = nullptr);
    // bankText and groupText are the work window's combo texts
    // ("21.신한은행", "01.기본"); yearMon yyyymm, seqNo two digits.
    TFrmM102B08(const QString& bankText, const QString& groupText, const QString& yearMon,
                const QString& seqNo, QWidget* parent = nullptr);

    QPushButton* SBtnYearMonSelect = nullptr;

    QString bankText() const { return bankText_; }
    QString groupText() const { return groupText_; }
    void setBankText(const QString& v);
    void setGroupText(const QString& v);
    void setYearMon(const QString& v);
    void setSeqNo(const QString& v);

    void LoadFileList();

protected:
    ResultApplyOutcome applyFile(const ResultApplyRequest& req) override;

private:
    void build();
};
