#pragma once
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractItemView;
class QHeaderView;
class QTableView;
class QTableWidgetItem;

// Column widths that show a grid's titles and values whole, measured with
// the grid's own fonts. Widths only grow: a column keeps the width its
// window gave it when that is enough.
namespace GridFit {

// Pixels a cell of the view needs to show text whole in font (its margins
// and the grid line included).
int cellWidth(const QAbstractItemView* view, const QFont& font, const QString& text);
// Pixels a header section needs to show its title whole.
int titleWidth(const QHeaderView* header, const QString& title);

class CharAdvances;

// The widest of many texts in one font, found without laying out each: a
// text's width is first summed from its characters' advances (each
// character measured once), and only the few texts whose sum comes highest
// are laid out whole. Kerning only narrows a text, so the sum of the widest
// never falls short of it.
class Widest {
public:
    explicit Widest(const QFont& font);
    ~Widest();
    Widest(const Widest&) = delete;
    Widest& operator=(const Widest&) = delete;

    void add(const QString& text);
    // A text that stays alive and unchanged until width() is asked: a repeat
    // in the same storage (listings share their repeated values) is passed
    // over at once.
    void addKept(const QString& text);
    // The text without the blanks around it, as a right-aligned amount shows.
    void addTrimmed(const QString& text);
    // Pixels the widest text added needs (0 when none was).
    int width() const;

private:
    void consider(const QString& text, qsizetype from, qsizetype to);

    QFont font_;
    std::shared_ptr<CharAdvances> advances_;
    static constexpr int kSeen = 64;
    struct Seen {
        const QChar* data = nullptr;
        qsizetype size = 0;
    } seen_[kSeen];
    // The highest sums met, with their texts.
    static constexpr int kTop = 4;
    struct Top {
        qreal sum = -1;
        QString text;
    } top_[kTop];
    int exact_ = 0; // texts laid out whole as they came (those the sum cannot judge)
};

// A model that hands the texts of its columns to their Widest in one pass
// over the values it keeps, instead of being asked cell by cell.
class ShownTexts {
public:
    virtual ~ShownTexts() = default;
    // widest[c] takes the texts of column c; a null one is not asked for.
    virtual void addShown(const QList<Widest*>& widest) const = 0;
};

// Widens the column to its title and to sample, the widest value it holds.
void widen(QTableView* table, int column, const QString& sample = QString());
// Widens the column to its title and to the widest text of w.
void widen(QTableView* table, int column, const Widest& w);
// Widens every shown column to its title and the values of its rows. A model
// that is ShownTexts names its texts itself; a table widget's items are read
// as they are kept; any other model is asked cell by cell.
void widenToContents(QTableView* table);
// Widens every shown column to its title and the texts of rows, the values
// the table was filled from (cell c of a row in column c); the columns in
// trimmed show their texts without the blanks around them.
void widenToRows(QTableView* table, const QList<QStringList>& rows, const QList<int>& trimmed = {});
// The table's minimum width shows every shown column without scrolling
// sideways (the frame and a vertical scroll bar included).
void showAllColumns(QTableView* table);

// Keeps box as wide as the columns from..to of table (those shown), also
// when they are widened later: a box under or over a grid lines up with
// the columns it names or sums.
void followColumns(QTableView* table, QWidget* box, int from, int to);

// A figure printed to a fixed width: blanks around digits, commas and a
// sign ("%15.0n" and the like).
bool isPaddedFigure(const QString& text);
// A cell of a figure printed to a fixed width ("%15.0n" and the like): the
// text without its padding, right-aligned, so the column fits the widest.
QTableWidgetItem* figureItem(const QString& padded);

} // namespace GridFit
