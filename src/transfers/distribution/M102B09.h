#pragma once
#include <QDialog>
#include <QStringList>

#include <functional>

class QComboBox;
class QPushButton;
class TKeyEdit;

// The find of the distribution window over its grid's rows: the first row
// after the last one examined whose cell equals the text exactly.
namespace DistribFind {

enum Criterion { BySNo = 0, ByName = 1, ByAcct = 2 };
// The grid column compared: 0 student number, 1 name, 3 account.
int column(int criterion);

// cells holds the compared column of data rows 1..n. Rows lastFound+1 to n
// are examined in order and lastFound follows each one; the row found
// (1-based) is returned, 0 when none matched (lastFound is then n).
int find(const QStringList& cells, const QString& text, int* lastFound);

} // namespace DistribFind

// "찾기": finds a row of the distribution window's grid and makes it current.
// The grid is reached through cellsOf (a column's cells of the data rows)
// and select (makes a 1-based data row current); without them, through the
// parent's item view named "SGrdPay", whose model rows are the data rows.
class TFrmM102B09 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM102B09(QWidget* parent = nullptr);

    QComboBox* CbSelect; // "1.학번", "2.성명", "3.계좌번호"
    TKeyEdit* EdtSearchNm;
    QPushButton* BBtnSearch;
    QPushButton* BBtnClose;

    std::function<QStringList(int column)> cellsOf;
    std::function<void(int row)> select;

    // The grid row of the last examined or found row; 0 at creation.
    int LastFoundRow = 0;

    void FormCreate();
    void CbSelectChange();
    void BBtnSearchClick();
    void EdtSearchNmExit();
    void BBtnCloseClick();

private:
    QStringList cells(int column) const;
    void selectRow(int row) const;
};
