#pragma once
#include "transfers/common/StudentAdd.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TKeyEdit;

// "학생추가": appends the fee items of one enrolled student to the round of
// the collection window.
class TFrmM101B07 : public QDialog {
    Q_OBJECT
public:
    // gcode: the item group of the collection window.
    explicit TFrmM101B07(const QString& gcode, QWidget* parent = nullptr);

    QLineEdit* MedtYearMon = nullptr;
    QLineEdit* EdtSeqNo = nullptr;
    TKeyEdit* SHakEdit = nullptr;
    TKeyEdit* SBanEdit = nullptr;
    TKeyEdit* SBunEdit = nullptr;
    QLineEdit* edtStudtNm = nullptr;
    QListWidget* LbItem = nullptr;
    QListWidget* LbItemAdd = nullptr;
    QPushButton* spdAllAddItem = nullptr;
    QPushButton* spdAddItem = nullptr;
    QPushButton* spdDelItem = nullptr;
    QPushButton* spdAllDelItem = nullptr;
    QPushButton* bbtnSave = nullptr;
    QPushButton* bbtnDone = nullptr;

    void pFindStudent();
    void bbtnSaveClick();

    // Year-month and round as shown, without the mask's separator.
    QString yearMon() const;
    QString seqNo() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Typing a full part moves on by itself; a Tab pressed out of habit
    // right after that move must not skip the part moved to.
    void autoMove(QWidget* to);
    QWidget* autoMovedTo_ = nullptr;
    void moveItems(QListWidget* from, QListWidget* to, bool all);
    QString gcode_;
    std::optional<StudentAdd::Student> student_;
};
