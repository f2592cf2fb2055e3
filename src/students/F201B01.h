#pragma once
#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Where the next search of the find dialog starts: the last row examined.
extern int FindRow;

// "찾기": finds a student in the roster grid by number, name or account.
class TFrmF201B01 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmF201B01(QWidget* parent = nullptr);

    QComboBox* CbSelect = nullptr;
    QLineEdit* EdtSearchNm = nullptr;
    QRadioButton* rdobtnDown = nullptr;
    QRadioButton* rdobtnUp = nullptr;
    QPushButton* BBtnSearch = nullptr;
    QPushButton* BBtnClose = nullptr;

    void FormCreate();
    void CbSelectChange();
    void EdtSearchNmExit();
    void BBtnSearchClick();
    void BBtnCloseClick();

    // The search itself over grid rows 1 to rowCount - 1 (row 0 is the
    // header), moving FindRow; the matching row or -1. With no match the
    // question to start again is asked.
    static int findRow(int rowCount, const std::function<QString(int row)>& cellOf, const QString& text,
                       bool byName, bool down);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString searchText() const;
};
