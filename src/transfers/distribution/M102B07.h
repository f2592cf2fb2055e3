#pragma once
#include "transfers/common/StudentAdd.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;

// "학생추가": appends the fee items of one enrolled student to the round of
// the distribution window.
class TFrmM102B07 : public QDialog {
    Q_OBJECT
public:
    // groupText: the work window's item group entry ("01.기본").
    explicit TFrmM102B07(const QString& groupText, QWidget* parent = nullptr);

    QLineEdit* MedtYearMon = nullptr;
    QLineEdit* EdtSeqNo = nullptr;
    QLineEdit* medtStudtNo = nullptr;
    QLineEdit* edtStudtNm = nullptr;
    QListWidget* LbItem = nullptr;
    QListWidget* LbItemAdd = nullptr;
    QPushButton* spdAddItem = nullptr;
    QPushButton* spdDelItem = nullptr;
    QPushButton* spdAllAddItem = nullptr;
    QPushButton* spdAllDelItem = nullptr;
    QPushButton* bbtnSave = nullptr;
    QPushButton* bbtnDone = nullptr;

    void FindStudent();
    void bbtnSaveClick();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void moveItems(QListWidget* from, QListWidget* to, bool all);
    QString groupText_;
    std::optional<StudentAdd::Student> found_;
};
