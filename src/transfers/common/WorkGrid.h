#pragma once
#include "platform/ui/GridFit.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <memory>
#include <vector>

// A column of a work window's round grid; a width of 0 hides it.
struct WorkColumn {
    const char16_t* title;
    int width;
};

// The round rows of a work window's grid, one cell a column; the grid always
// holds at least one (empty) data row. Row 0 here is the first data row. The
// windows' models say how the cells show.
class TWorkGridModel : public QAbstractTableModel, public GridFit::ShownTexts {
    Q_OBJECT
public:
    TWorkGridModel(const WorkColumn* columns, int count, QObject* parent);
    int rowCount(const QModelIndex& = {}) const override { return int(rows_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return count_; }
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    void setRows(QList<QStringList> rows);
    // The rows handed in one at a time as a listing builds them, in place of
    // setRows: beginRows() empties the grid, endRows() shows what came.
    void beginRows();
    void addRow(QStringList&& row);
    void endRows();
    const QList<QStringList>& rows() const { return rows_; }
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& v);
    const WorkColumn& column(int col) const { return columns_[col]; }

    // The cells both windows show alike; fg asks for the colour, else the text.
    // Transfer state: 0 unprocessed, 1 processed, 2 paid in cash.
    static QVariant replyCell(const QString& v, bool fg);
    // Exemption: 0 charged, 1 wholly exempt.
    static QVariant exempCell(const QString& v, bool fg);
    // A transfer date has ten characters; anything else is the bank's reply code.
    static QVariant dateCell(const QString& v, const QString& bankCd, bool fg);

    // How a column shows its value: as stored, or made from it and at most
    // two other cells of its row (a bank's name, a reply code's text).
    struct Shown {
        bool asStored = true;
        int with1 = -1, with2 = -1;
    };
    virtual Shown shown(int col) const;
    // The columns' texts for their widths: a stored value as it stands, a
    // made text once for each set of values it is made from.
    void addShown(const QList<GridFit::Widest*>& widest) const override;
    // The same for one row at a time.
    class Texts {
    public:
        Texts(const TWorkGridModel& model, const QList<GridFit::Widest*>& widest);
        ~Texts();
        void row(int row);

    private:
        struct Column;
        const TWorkGridModel& model_;
        std::vector<Column> columns_;
    };

protected:
    QList<QStringList> rows_;

private:
    const WorkColumn* columns_;
    int count_;
};

// SGrdPay of a work window: one cell selected at a time, nothing edited in
// place; Enter moves one row down.
class TWorkGrid : public QTableView {
    Q_OBJECT
public:
    TWorkGrid(TWorkGridModel* model, QWidget* parent);
    ~TWorkGrid() override;
    // A listing's rows handed in as it builds them (its row sink): each is
    // measured for the column widths while its values are at hand, instead
    // of every cell being read again once all are in. endFill() shows them
    // and says how many came.
    void beginFill();
    void addRow(QStringList&& row);
    int endFill();
    int dataRowCount() const { return model_->rowCount(); }
    QString cell(int row, int col) const { return model_->cell(row, col); }
    int currentDataRow() const;
    void setCurrentDataRow(int row);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    TWorkGridModel* workModel() const { return model_; }

private:
    TWorkGridModel* model_;
    struct Filling;
    std::unique_ptr<Filling> filling_;
};
