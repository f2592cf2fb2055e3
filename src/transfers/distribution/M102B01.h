#pragma once
#include "transfers/distribution/DistribRound.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class TKeyEdit;

// "자료생성": creates a distribution round by grade or by student group (or
// adds to an existing one), or deletes rows of it. Closes with OK after
// either button; the work window then lists the round shown here.
class TFrmM102B01 : public QDialog {
    Q_OBJECT
public:
    // groupText: the work window's item group entry ("01.기본").
    explicit TFrmM102B01(const QString& groupText, QWidget* parent = nullptr);

    QTabWidget* PgCtrl = nullptr;
    QWidget* TSNo = nullptr;
    QWidget* TSGrp = nullptr;
    QListWidget* CLbSCd = nullptr;
    QListWidget* CLbItem = nullptr;
    QListWidget* LbGrp = nullptr;
    QListWidget* LbItem = nullptr;
    QListWidget* LbGrpSelect = nullptr;
    QPushButton* BBtnGrpAdd = nullptr;
    QPushButton* BBtnGrpDel = nullptr;
    TKeyEdit* MEdtYearMon = nullptr;
    TKeyEdit* MEdtSeqNo = nullptr;
    QPushButton* BBtnCreate = nullptr;
    QPushButton* BBtnDel = nullptr;
    QPushButton* BBtnCncl = nullptr;

    QString yearMon() const;
    QString seqNo() const;

    void BBtnCreateClick();
    void BBtnDelClick();
    void BBtnGrpAddClick();
    void BBtnGrpDelClick();
    void MEdtYearMonExit();
    void MEdtSeqNoExit();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    DistribRound::Target target() const;
    QStringList checkedGrades() const;
    QStringList checkedItemLines() const;
    static QStringList itemCds(const QStringList& lines);
    QList<DistribRound::GroupPair> pairs() const;
    QString groupText_;
};
