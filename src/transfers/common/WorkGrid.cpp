#include "transfers/common/WorkGrid.h"

#include "data/DMBank.h"
#include "platform/sys/ReleaseLater.h"
#include "platform/ui/GridFit.h"
#include "transfers/common/KeyEdit.h"

#include <QColor>
#include <QHeaderView>

#include <memory>
#include <vector>

// ---- model

TWorkGridModel::TWorkGridModel(const WorkColumn* columns, int count, QObject* parent)
    : QAbstractTableModel(parent), rows_{QStringList(count)}, columns_(columns), count_(count) {}

QString TWorkGridModel::cell(int row, int col) const {
    if (row < 0 || row >= rows_.size() || col < 0 || col >= count_) return {};
    return rows_[row].value(col);
}

void TWorkGridModel::setCell(int row, int col, const QString& v) {
    if (row < 0 || row >= rows_.size() || col < 0 || col >= count_) return;
    rows_[row][col] = v;
    emit dataChanged(index(row, col), index(row, col));
}

void TWorkGridModel::setRows(QList<QStringList> rows) {
    beginResetModel();
    rows_.swap(rows);
    if (rows_.isEmpty()) rows_ << QStringList(count_);
    endResetModel();
    releaseLater(std::move(rows));
}

QVariant TWorkGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < count_)
        return QString::fromUtf16(columns_[section].title);
    return QAbstractTableModel::headerData(section, o, role);
}

TWorkGridModel::Shown TWorkGridModel::shown(int) const {
    return {};
}

// A made text is shown once for each set of values it is made from (a
// code, an amount, a date: short, and few sets in a listing); a set met
// lately is passed over.
struct TWorkGridModel::Texts::Column {
    struct Made {
        const QChar* p[3] = {};
        qsizetype n[3] = {-1, -1, -1};
    };
    static constexpr int kMade = 64;
    int col;
    GridFit::Widest* widest;
    int from[3];
    int count; // 0: shown as stored
    std::unique_ptr<Made[]> placed; // by where the values are kept
    std::unique_ptr<Made[]> made;   // by their characters
};

TWorkGridModel::Texts::Texts(const TWorkGridModel& model, const QList<GridFit::Widest*>& widest)
    : model_(model) {
    for (int c = 0; c < model.count_ && c < widest.size(); ++c) {
        if (!widest[c]) continue;
        const Shown how = model.shown(c);
        Column col{c, widest[c], {c, how.with1, how.with2}, 0, nullptr};
        if (!how.asStored) {
            col.count = 1 + (how.with1 >= 0) + (how.with2 >= 0);
            if (how.with1 < 0) col.from[1] = how.with2;
            col.placed.reset(new Column::Made[Column::kMade]);
            col.made.reset(new Column::Made[Column::kMade]);
        }
        columns_.push_back(std::move(col));
    }
}

TWorkGridModel::Texts::~Texts() = default;

void TWorkGridModel::Texts::row(int row) {
    static const QString kNone;
    const QStringList& r = model_.rows_[row];
    const qsizetype size = r.size();
    const QString* cells = r.constData();
    for (Column& col : columns_) {
        if (col.count == 0) {
            if (col.col < size) col.widest->addKept(cells[col.col]);
            continue;
        }
        // Known first by where its values are kept (the listings share a
        // repeated value's storage), then by their characters. The sets
        // kept point into rows that stay as they are while the widths are
        // gathered.
        Column::Made m;
        quintptr h = 0;
        for (int k = 0; k < col.count; ++k) {
            const QString& v = col.from[k] < size ? cells[col.from[k]] : kNone;
            m.p[k] = v.constData();
            m.n[k] = v.size();
            h = h * 31 + (quintptr(m.p[k]) >> 4) + quintptr(m.n[k]);
        }
        Column::Made& placed = col.placed[(h ^ (h >> 9)) % Column::kMade];
        if (std::equal(m.p, m.p + 3, placed.p) && std::equal(m.n, m.n + 3, placed.n)) continue;
        placed = m;
        h = 0;
        for (int k = 0; k < col.count; ++k) {
            h = h * 31 + quintptr(m.n[k]);
            for (qsizetype i = 0; i < m.n[k]; ++i)
                h = h * 31 + m.p[k][i].unicode();
        }
        Column::Made& kept = col.made[(h ^ (h >> 9)) % Column::kMade];
        const auto sameText = [&] {
            for (int k = 0; k < col.count; ++k) {
                if (m.n[k] != kept.n[k]) return false;
                for (qsizetype i = 0; i < m.n[k]; ++i)
                    if (m.p[k][i] != kept.p[k][i]) return false;
            }
            return true;
        };
        if (sameText()) continue;
        kept = m;
        col.widest->add(model_.data(model_.index(row, col.col), Qt::DisplayRole).toString());
    }
}

void TWorkGridModel::addShown(const QList<GridFit::Widest*>& widest) const {
    // Row by row, every column at once: a row's cells lie together.
    Texts texts(*this, widest);
    for (int row = 0; row < rows_.size(); ++row)
        texts.row(row);
}

void TWorkGridModel::beginRows() {
    beginResetModel();
    // The rows shown so far are let go before the new ones are built, so
    // that these take the memory those leave.
    releaseLater(std::move(rows_));
    rows_ = {};
}

void TWorkGridModel::addRow(QStringList&& row) {
    rows_.append(std::move(row));
}

void TWorkGridModel::endRows() {
    if (rows_.isEmpty()) rows_ << QStringList(count_);
    endResetModel();
}

QVariant TWorkGridModel::replyCell(const QString& v, bool fg) {
    if (v == QLatin1String("0")) return fg ? QVariant(QColor(Qt::red)) : QVariant(QStringLiteral("미처리"));
    if (v == QLatin1String("1")) return fg ? QVariant(QColor(Qt::black)) : QVariant(QStringLiteral("처리"));
    if (v == QLatin1String("2"))
        return fg ? QVariant(QColor(Qt::blue)) : QVariant(QStringLiteral("현금수납"));
    return fg ? QVariant() : QVariant(QString());
}

QVariant TWorkGridModel::exempCell(const QString& v, bool fg) {
    if (v == QLatin1String("0")) return fg ? QVariant(QColor(Qt::blue)) : QVariant(QStringLiteral("◎"));
    if (v == QLatin1String("1")) return fg ? QVariant(QColor(Qt::black)) : QVariant(QStringLiteral("Ｘ"));
    return fg ? QVariant() : QVariant(QString());
}

QVariant TWorkGridModel::dateCell(const QString& v, const QString& bankCd, bool fg) {
    if (v.isEmpty() || v.size() == 10) return fg ? QVariant(QColor(Qt::black)) : QVariant(v);
    return fg ? QVariant(QColor(Qt::red)) : QVariant(DMBankLib->GetReplyText(bankCd, v));
}

// ---- view

TWorkGrid::TWorkGrid(TWorkGridModel* model, QWidget* parent) : QTableView(parent), model_(model) {
    model_->setParent(this);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(17);
    verticalHeader()->setMinimumSectionSize(17);
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (model_->column(c).width == 0)
            setColumnHidden(c, true);
        else
            setColumnWidth(c, model_->column(c).width);
    }
    // Titles always show whole; each listing widens the columns its values need.
    GridFit::widenToContents(this);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (!filling_) GridFit::widenToContents(this);
    });
}

TWorkGrid::~TWorkGrid() = default;

struct TWorkGrid::Filling {
    std::vector<std::unique_ptr<GridFit::Widest>> kept;
    QList<GridFit::Widest*> widest;
    std::unique_ptr<TWorkGridModel::Texts> texts;
    int added = 0;
};

void TWorkGrid::beginFill() {
    filling_ = std::make_unique<Filling>();
    filling_->widest.resize(model_->columnCount(), nullptr);
    for (int c = 0; c < filling_->widest.size(); ++c)
        if (!isColumnHidden(c)) {
            filling_->kept.push_back(std::make_unique<GridFit::Widest>(font()));
            filling_->widest[c] = filling_->kept.back().get();
        }
    model_->beginRows();
    filling_->texts = std::make_unique<TWorkGridModel::Texts>(*model_, filling_->widest);
}

void TWorkGrid::addRow(QStringList&& row) {
    model_->addRow(std::move(row));
    filling_->texts->row(filling_->added++);
}

int TWorkGrid::endFill() {
    const int added = filling_->added;
    model_->endRows();
    for (int c = 0; c < filling_->widest.size(); ++c)
        if (filling_->widest[c]) GridFit::widen(this, c, *filling_->widest[c]);
    filling_.reset();
    return added;
}

int TWorkGrid::currentDataRow() const {
    return currentIndex().isValid() ? currentIndex().row() : 0;
}

void TWorkGrid::setCurrentDataRow(int row) {
    setCurrentIndex(model_->index(row, std::max(0, currentIndex().column())));
}

void TWorkGrid::keyPressEvent(QKeyEvent* e) {
    if (isEnterKey(e)) {
        if (currentDataRow() < dataRowCount() - 1) setCurrentDataRow(currentDataRow() + 1);
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}
