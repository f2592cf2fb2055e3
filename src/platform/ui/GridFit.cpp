#include "platform/ui/GridFit.h"

#include <QAbstractItemModel>
#include <QFontMetricsF>
#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace GridFit {

namespace {

// The item delegate draws the text inside a margin on either side; the grid
// line takes one more pixel of the section.
int cellPadding(const QAbstractItemView* view) {
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return 2 * margin + 2;
}

// Characters whose advance alone is their share of a text's width: not
// those that join or shape with their neighbours (marks, conjoining jamo,
// joiners, complex scripts) nor controls such as a tab.
bool standsAlone(char16_t c) {
    if (QChar::isSurrogate(c)) return false;
    if (c >= 0x1100 && c <= 0x11FF) return false; // conjoining jamo
    if ((c >= 0xA960 && c <= 0xA97F) || (c >= 0xD7B0 && c <= 0xD7FF)) return false;
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Control:
    case QChar::Other_Format:
        return false;
    default:
        break;
    }
    switch (QChar::script(c)) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Hangul:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
        return true;
    default:
        return false;
    }
}

} // namespace

// Advances of one font's characters, measured as they are first met and
// kept in pages of 256.
class CharAdvances {
public:
    explicit CharAdvances(const QFont& font) : fm_(font) {}
    // Negative when the character's advance does not tell its share.
    float of(char16_t c) {
        std::unique_ptr<float[]>& page = pages_[c >> 8];
        if (!page) {
            page.reset(new float[256]);
            std::fill_n(page.get(), 256, kUnknown);
        }
        float& a = page[c & 0xFF];
        if (a == kUnknown) a = standsAlone(c) ? float(fm_.horizontalAdvance(QChar(c))) : -1.f;
        return a;
    }

private:
    static constexpr float kUnknown = -2.f;
    QFontMetricsF fm_;
    std::unique_ptr<float[]> pages_[256];
};

namespace {

// One table per font for the program's run: the grids share a few fonts.
std::shared_ptr<CharAdvances> advancesOf(const QFont& font) {
    static QHash<QString, std::shared_ptr<CharAdvances>> kept;
    const QString key = font.key();
    auto it = kept.constFind(key);
    if (it != kept.constEnd()) return *it;
    if (kept.size() >= 32) kept.clear();
    return *kept.insert(key, std::make_shared<CharAdvances>(font));
}

} // namespace

Widest::Widest(const QFont& font) : font_(font), advances_(advancesOf(font)) {}

Widest::~Widest() = default;

void Widest::add(const QString& text) {
    if (!text.isEmpty()) consider(text, 0, text.size());
}

void Widest::addKept(const QString& text) {
    const qsizetype n = text.size();
    if (n == 0) return;
    const QChar* d = text.constData();
    quintptr h = quintptr(d) >> 4;
    h ^= h >> 7;
    Seen& s = seen_[h % kSeen];
    if (s.data == d && s.size == n) return;
    s.data = d;
    s.size = n;
    consider(text, 0, n);
}

void Widest::addTrimmed(const QString& text) {
    qsizetype from = 0, to = text.size();
    while (from < to && text.at(from).isSpace())
        ++from;
    while (to > from && text.at(to - 1).isSpace())
        --to;
    if (from < to) consider(text, from, to);
}

void Widest::consider(const QString& text, qsizetype from, qsizetype to) {
    const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
    float sum = 0;
    for (qsizetype i = from; i < to; ++i) {
        const float a = advances_->of(p[i]);
        if (a < 0) {
            exact_ = std::max(exact_, QFontMetrics(font_).horizontalAdvance(text.mid(from, to - from)));
            return;
        }
        sum += a;
    }
    int low = 0;
    for (int k = 1; k < kTop; ++k)
        if (top_[k].sum < top_[low].sum) low = k;
    if (sum <= top_[low].sum) return;
    const QString t = from == 0 && to == text.size() ? text : text.mid(from, to - from);
    for (const Top& k : top_)
        if (k.sum == sum && k.text == t) return;
    top_[low] = Top{sum, t};
}

int Widest::width() const {
    int w = exact_;
    qreal most = 0;
    const QFontMetrics fm(font_);
    for (const Top& k : top_) {
        if (k.sum < 0) continue;
        most = std::max(most, k.sum);
        w = std::max(w, fm.horizontalAdvance(k.text));
    }
    // Kerning only takes away, so no text that was not laid out is wider
    // than the highest sum.
    return std::max(w, int(std::ceil(most)));
}

int cellWidth(const QAbstractItemView* view, const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text) + cellPadding(view);
}

int titleWidth(const QHeaderView* header, const QString& title) {
    // A section of a selected column draws its title in bold.
    QFont bold = header->font();
    bold.setBold(true);
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    return QFontMetrics(bold).horizontalAdvance(title) + 2 * margin + 2;
}

namespace {

QString titleOf(const QTableView* table, int column) {
    return table->model() ? table->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()
                          : QString();
}

void atLeast(QTableView* table, int column, int width) {
    if (table->columnWidth(column) < width) table->setColumnWidth(column, width);
}

} // namespace

void widen(QTableView* table, int column, const QString& sample) {
    int need = titleWidth(table->horizontalHeader(), titleOf(table, column));
    if (!sample.isEmpty()) need = std::max(need, cellWidth(table, table->font(), sample));
    atLeast(table, column, need);
}

void widen(QTableView* table, int column, const Widest& w) {
    int need = titleWidth(table->horizontalHeader(), titleOf(table, column));
    if (const int text = w.width()) need = std::max(need, text + cellPadding(table));
    atLeast(table, column, need);
}

void widenToContents(QTableView* table) {
    const QAbstractItemModel* m = table->model();
    if (!m) return;
    if (const auto* shown = dynamic_cast<const ShownTexts*>(m)) {
        std::vector<std::unique_ptr<Widest>> kept;
        QList<Widest*> widest(m->columnCount(), nullptr);
        for (int c = 0; c < widest.size(); ++c)
            if (!table->isColumnHidden(c)) {
                kept.push_back(std::make_unique<Widest>(table->font()));
                widest[c] = kept.back().get();
            }
        shown->addShown(widest);
        for (int c = 0; c < widest.size(); ++c)
            if (widest[c]) widen(table, c, *widest[c]);
        return;
    }
    const auto* items = qobject_cast<const QTableWidget*>(table);
    const int rows = m->rowCount();
    for (int c = 0; c < m->columnCount(); ++c) {
        if (table->isColumnHidden(c)) continue;
        Widest w(table->font());
        // Cells in a font of their own are few: each is measured whole.
        int own = 0;
        auto cell = [&](const QString& text, const QVariant& font, bool kept) {
            if (text.isEmpty()) return;
            if (font.isValid())
                own = std::max(own, cellWidth(table, font.value<QFont>(), text));
            else if (kept)
                w.addKept(text);
            else
                w.add(text);
        };
        if (items) {
            // An item keeps its text: the copy read shares it.
            for (int r = 0; r < rows; ++r)
                if (const QTableWidgetItem* it = items->item(r, c))
                    cell(it->text(), it->data(Qt::FontRole), true);
        } else {
            for (int r = 0; r < rows; ++r) {
                const QModelIndex i = m->index(r, c);
                cell(i.data(Qt::DisplayRole).toString(), i.data(Qt::FontRole), false);
            }
        }
        widen(table, c, w);
        if (own) atLeast(table, c, own);
    }
}

void widenToRows(QTableView* table, const QList<QStringList>& rows, const QList<int>& trimmed) {
    const QAbstractItemModel* m = table->model();
    if (!m) return;
    for (int c = 0; c < m->columnCount(); ++c) {
        if (table->isColumnHidden(c)) continue;
        Widest w(table->font());
        const bool trim = trimmed.contains(c);
        for (const QStringList& r : rows) {
            if (c >= r.size()) continue;
            if (trim)
                w.addTrimmed(r.at(c));
            else
                w.addKept(r.at(c));
        }
        widen(table, c, w);
    }
}

void showAllColumns(QTableView* table) {
    int sum = 0;
    const QHeaderView* h = table->horizontalHeader();
    for (int c = 0; c < h->count(); ++c)
        if (!table->isColumnHidden(c)) sum += table->columnWidth(c);
    if (table->verticalHeader()->isVisible()) sum += table->verticalHeader()->width();
    const int scroll = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    table->setMinimumWidth(sum + 2 * table->frameWidth() + scroll + 2);
}

void followColumns(QTableView* table, QWidget* box, int from, int to) {
    const auto fit = [table, box, from, to] {
        int w = 0;
        for (int c = from; c <= to; ++c)
            if (!table->isColumnHidden(c)) w += table->columnWidth(c);
        box->setFixedWidth(w);
    };
    fit();
    QObject::connect(table->horizontalHeader(), &QHeaderView::sectionResized, box,
                     [fit, from, to](int c, int, int) {
                         if (c >= from && c <= to) fit();
                     });
}

bool isPaddedFigure(const QString& text) {
    if (text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace())) return false;
    bool digit = false;
    for (const QChar ch : text) {
        if (ch.isDigit())
            digit = true;
        else if (!ch.isSpace() && ch != QLatin1Char(',') && ch != QLatin1Char('-') && ch != QLatin1Char('.'))
            return false;
    }
    return digit;
}

QTableWidgetItem* figureItem(const QString& padded) {
    auto* it = new QTableWidgetItem(padded.trimmed());
    it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return it;
}

} // namespace GridFit
