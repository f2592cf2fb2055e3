#pragma once
#include "platform/report/ReportDocument.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Query;

// A banded report: bands of labels, lines, frames and images, filled either
// from rows (one detail band per row, groups on a key) or by a need-data
// callback (the report fills its labels itself, one detail band per "more"),
// and laid out into a ReportDocument. See README.md in this folder.

enum class ReportSysData { PageNumber, Date, Time };

struct ReportElement {
    enum Kind { Label, Field, SysData, Line, Frame, Image };
    Kind kind = Label;
    QString name;
    QRectF box;    // mm from the band's top-left corner (inside the margins)
    QString text;  // a label's caption
    // The caption it was declared with: while it prints that, the label is
    // a fixed text of the form, which must fit its box (a value may be cut).
    QString declared;
    QString field; // a field's column in the rows
    ReportSysData sys = ReportSysData::PageNumber;
    ReportFont font;
    ReportAlign align = ReportAlign::Left;
    bool autoSize = false; // the box follows the text (anchored by alignment)
    bool wordWrap = false; // several lines inside the box, the rest cut
    bool enabled = true;
    double pen = 0.2; // mm
    QImage image;     // stretched into the box
};

class ReportBand {
public:
    enum Kind { PageHeader, Child, ColumnHeader, Detail, GroupHeader, GroupFooter, Summary, PageFooter };

    ReportBand(Kind kind, double height) : kind(kind), height(height) {}
    ReportBand(const ReportBand&) = delete;
    ReportBand& operator=(const ReportBand&) = delete;

    const Kind kind;
    double height;       // mm
    bool enabled = true; // switched off: never printed
    // Before each printing of the band; it may fill labels or set printThis
    // to false to skip this one printing.
    std::function<void(ReportBand&)> beforePrint;
    bool printThis = true;
    // A child band prints right after this band.
    ReportBand* child = nullptr;

    ReportElement& addLabel(const QString& name, const QRectF& box, const QString& text = {},
                            const ReportFont& font = {}, ReportAlign align = ReportAlign::Left);
    ReportElement& addField(const QString& name, const QRectF& box, const QString& field,
                            const ReportFont& font = {}, ReportAlign align = ReportAlign::Left);
    ReportElement& addSysData(const QString& name, const QRectF& box, ReportSysData sys,
                              const ReportFont& font = {}, ReportAlign align = ReportAlign::Left);
    // A horizontal line (box height 0) or vertical line (box width 0).
    ReportElement& addLine(const QRectF& box, double pen = 0.2);
    ReportElement& addFrame(const QRectF& box, double pen = 0.2);
    ReportElement& addImage(const QString& name, const QRectF& box, const QImage& image = {});

    ReportElement* find(const QString& name);
    // Sets a label's caption; false when there is no element of that name.
    bool setText(const QString& name, const QString& text);
    // Blanks the caption of every label whose name starts with prefix.
    void clearTexts(const QString& prefix);

    const std::vector<std::unique_ptr<ReportElement>>& elements() const { return elements_; }

private:
    ReportElement& add(ReportElement e);
    std::vector<std::unique_ptr<ReportElement>> elements_;
};

// Rows as text, with named columns.
struct ReportRows {
    QStringList columns;
    QList<QStringList> rows;

    int column(const QString& name) const { return columns.indexOf(name); }
    // Reads every remaining row of an executed query, the given columns.
    static ReportRows fromQuery(Query& q, const QStringList& columns);
};

class Report {
public:
    Report();
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    QString title;
    PageSetup page;
    bool headerFirstPageOnly = false; // page header (and its children) on page 1 only
    bool footerLastPageOnly = false;  // page footer on the last page only
    bool printIfEmpty = true;         // the base form's page without any row

    ReportBand* addBand(ReportBand::Kind kind, double height);
    // A child band printed after parent.
    ReportBand* addChild(ReportBand* parent, double height);
    // A group on a key of the current row; outer groups first.
    struct Group {
        std::function<QString()> key;
        ReportBand* header = nullptr; // may be null
        ReportBand* footer = nullptr; // may be null
        bool newPage = false;         // each group starts on a page of its own
    };
    Group& addGroup(std::function<QString()> key, double headerHeight, double footerHeight,
                    bool newPage = false);

    // Fill from rows: one detail band per row.
    void setRows(ReportRows rows);
    // Fill by callback: called before the first detail band and after each;
    // true ("more") prints the detail band once more, false ends the report.
    void setNeedData(std::function<bool()> needData);

    // Current row (0-based; -1 outside the rows) and its values.
    int recordNo() const { return row_; }
    QString value(const QString& column) const;
    int pageNumber() const { return pageNo_; }

    // The whole document, every page kept (for the preview). Inside a
    // ReportStream the pages go to the stream instead, and the document
    // answered has none.
    ReportDocument layout();
    // Lays out into sink a page at a time, keeping no finished page.
    void layout(ReportPageSink& sink);
    // Called with every laid-out document (tests check that no fixed label
    // of any report is cut at its box); answers the check it replaces. A
    // document laid out into a sink reaches it a page at a time.
    static std::function<void(const ReportDocument&)>
    setLayoutCheck(std::function<void(const ReportDocument&)> check);

    // Short ways to the output: the preview keeps the document, the PDF is
    // written as the pages are laid out.
    int preview(QWidget* parent = nullptr);
    bool writePdf(const QString& file, QString* error = nullptr);

private:
    struct Run;
    void run(ReportPageSink& sink);
    std::vector<std::unique_ptr<ReportBand>> bands_;
    std::vector<std::unique_ptr<Group>> groups_;
    ReportRows rows_;
    std::function<bool()> needData_;
    int row_ = -1;
    int pageNo_ = 0;
};

// While one lives, every Report::layout() on this thread lays out into its
// sink (as layout(sink) does) and answers a document without pages: a print
// command streams through it the reports that are made and laid out beyond
// its reach (the report catalog's print functions).
class ReportStream {
public:
    explicit ReportStream(ReportPageSink& sink);
    ~ReportStream();
    ReportStream(const ReportStream&) = delete;
    ReportStream& operator=(const ReportStream&) = delete;

private:
    ReportPageSink* previous_;
};
