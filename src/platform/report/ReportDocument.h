#pragma once
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

class QFont;
class QPainter;
class QPrinter;
class QWidget;

// A laid-out report: pages of items placed in millimetres on the paper. The
// report engine (Report.h) makes it; painting it on a preview, a printer or a
// PDF is separate, and so is its text dump for tests.

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

class ReportDocument {
public:
    QString title;
    PageSetup setup;
    QList<ReportPage> pages;

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
};
