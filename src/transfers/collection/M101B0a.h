#pragma once
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QListWidget;
class QPushButton;

// "사용하지 않는 회차정리": offers round tables of other months that were
// never used, and drops the ones the user ticks.
class TFrmM101B0a : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B0a(const QStringList& tables, QWidget* parent = nullptr);

    QListWidget* clBox = nullptr;
    QCheckBox* chkGrade = nullptr;
    QPushButton* cmdClearTable = nullptr;
    QPushButton* BBtnCncl = nullptr;

    void cmdClearTableClick();
    QStringList checkedTables() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
