#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "그룹명 생성": asks for a new group name.
class TFrmF302B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF302B01(QWidget* parent = nullptr);
    QLineEdit* edtGroupNm = nullptr;
    QPushButton *BBtnOk = nullptr, *BBtnCancel = nullptr;
    // Closes with OK when the name passes its checks.
    void BBtnOkClick();
};

// "그룹명 수정": the new name of a group to rename, or of the copy.
class TFrmF302B02 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF302B02(const QString& oldName, bool copy, QWidget* parent = nullptr);
    QLabel *txtOldGroup = nullptr, *Label12 = nullptr;
    QLineEdit* sleNewGroup = nullptr;
    QPushButton *BBtnOk = nullptr, *BBtnCancel = nullptr;
    void BBtnOkClick();
};
