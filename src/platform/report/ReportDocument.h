#pragma once
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>

class QFont;
class QPainter;
class QPrinter;
class QWidget;

// A laid-out report: pages of items placed in millimetres on the paper. The
// report engine (Report.h) makes it; painting it on a preview, a printer or a
// PDF is separate, and so is its text dump for tests. Printing and PDF export
// need not hold the document: the engine hands each page to a ReportPageSink
// as it is finished (ReportWriter paints it and lets it go).

struct ReportFont {
    QString family = QStringLiteral("굴림");
    double size = 9; // points
    bool bold = false;
    bool underline = false;

    // The installed face that stands in for a family of the original forms.
    static QString installedFamily(const QString& family);
    QFont qfont() const;
    bool operator==(const ReportFont&) const = default;
};

enum class ReportAlign { Left, Center, Right };

// A4 in millimetres with four margins.
struct PageSetup {
    bool landscape = false;
    double left = 5, top = 5, right = 5, bottom = 5;

    double paperWidth() const { return landscape ? 297.0 : 210.0; }
    double paperHeight() const { return landscape ? 210.0 : 297.0; }
};

struct PageItem {
    enum Kind { Text, Line, Frame, Image };
    Kind kind = Text;
    QRectF rect;  // mm from the paper's top-left corner
    QString text; // as printed: already cut to the box, lines joined by '\n'
    ReportFont font;
    ReportAlign align = ReportAlign::Left;
    double pen = 0.2; // mm, lines and frames
    QImage image;
    bool fixed = false;   // a fixed text of the form, not a value
    bool cut = false;     // the text was cut to its box
    double textWidth = 0; // mm, the whole text on one line before any cut
};

struct ReportPage {
    QList<PageItem> items;
    // The texts of the page in layout order.
    QStringList texts() const;
};

// Where laid-out pages go, one at a time, as each is finished.
class ReportPageSink {
public:
    virtual ~ReportPageSink() = default;
    // Before the first page of every report laid out into the sink.
    virtual void begin(const QString& title, const PageSetup& setup) = 0;
    virtual void page(const ReportPage& page) = 0;
};

class ReportDocument {
public:
    QString title;
    PageSetup setup;
    QList<ReportPage> pages;
    // Pages of the whole printout before these: a streamed printout reaches
    // the layout check a page at a time, numbered as in the whole.
    int firstPage = 0;

    // One line per item: "page kind x y w h font align text" (mm, one decimal);
    // a fixed label cut at its box adds "page cut x y w h needs W text".
    QString dump() const;
    // The fixed labels cut at their box, one line each as in the dump.
    QStringList cutLabels() const;
    bool writeDump(const QString& file, QString* error = nullptr) const;
    // Writes through a temporary name, so a failed write leaves no half file.
    bool writePdf(const QString& file, QString* error = nullptr) const;
    // Paints one page; dotsPerMm is the device's resolution.
    void paintPage(QPainter& painter, int page, double dotsPerMm) const;
    // Prints on a set-up printer (its page range when one was chosen).
    void print(QPrinter* printer) const;
    // The modal print preview (through Modal, so tests never block).
    int preview(QWidget* parent = nullptr) const;
    // Sends the title, the setup and every page to sink.
    void sendTo(ReportPageSink& sink) const;
};

// Writes the pages sent to it into a PDF and a text dump (either name may be
// empty) as they come, keeping none: its memory does not grow with the
// pages. Both files go through temporary names; finish() puts them in place
// and an unfinished writer leaves nothing behind. The PDF takes the title
// and paper of the first report sent; the dump numbers the pages of every
// report sent as one printout.
class ReportWriter final : public ReportPageSink {
public:
    ReportWriter(const QString& pdf, const QString& dump);
    ~ReportWriter() override;
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    void begin(const QString& title, const PageSetup& setup) override;
    void page(const ReportPage& page) override;
    // A report has begun: its pages, if any, came here.
    bool started() const { return started_; }
    int pages() const { return pages_; }
    // Closes the PDF, then the dump; false with the first failure.
    bool finish(QString* error = nullptr);

private:
    struct Files;
    std::unique_ptr<Files> files_;
    bool started_ = false;
    int pages_ = 0;
};
