#include "platform/report/ReportDocument.h"

#include "platform/ui/Modal.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRawFont>
#include <QSaveFile>

#include <algorithm>

namespace {

// fonts-nanum maps U+0000..U+001F to the space glyph, and Qt's PDF writer
// names every embedded glyph by the lowest code point that reaches it: each
// blank of a PDF read back as U+0001. The report faces are therefore
// registered once more from their own tables, with those code points
// unmapped, under a family of their own; shapes and widths stay the same.

quint16 be16(const QByteArray& d, qsizetype at) {
    return quint16((uchar(d.at(at)) << 8) | uchar(d.at(at + 1)));
}
quint32 be32(const QByteArray& d, qsizetype at) {
    return (quint32(be16(d, at)) << 16) | be16(d, at + 2);
}
void put16(QByteArray& d, qsizetype at, quint16 v) {
    d[at] = char(v >> 8);
    d[at + 1] = char(v & 0xff);
}
void put32(QByteArray& d, qsizetype at, quint32 v) {
    put16(d, at, quint16(v >> 16));
    put16(d, at + 2, quint16(v & 0xffff));
}
void add16(QByteArray& d, quint16 v) {
    d.append(char(v >> 8)).append(char(v & 0xff));
}
void add32(QByteArray& d, quint32 v) {
    add16(d, quint16(v >> 16));
    add16(d, quint16(v & 0xffff));
}

// Unmaps the control characters in every subtable of a cmap; false when the
// table is not one this can read.
bool unmapControls(QByteArray& cmap) {
    if (cmap.size() < 4) return false;
    const int count = be16(cmap, 2);
    if (cmap.size() < 4 + 8 * count) return false;
    for (int i = 0; i < count; ++i) {
        const qsizetype t = be32(cmap, 4 + 8 * i + 4);
        if (t + 6 > cmap.size()) return false;
        switch (be16(cmap, t)) {
        case 0: // a byte per code
            if (t + 6 + 256 > cmap.size()) return false;
            for (int c = 0; c < 0x20; ++c)
                cmap[t + 6 + c] = 0;
            break;
        case 4: {
            if (t + 14 > cmap.size()) return false;
            const int segs = be16(cmap, t + 6) / 2;
            const qsizetype ends = t + 14, starts = ends + 2 * segs + 2, deltas = starts + 2 * segs,
                            ranges = deltas + 2 * segs;
            if (ranges + 2 * segs > cmap.size()) return false;
            for (int k = 0; k < segs; ++k) {
                const quint16 start = be16(cmap, starts + 2 * k), end = be16(cmap, ends + 2 * k);
                if (start >= 0x20) continue;
                if (end < 0x20) { // the whole segment: its last code to glyph 0
                    put16(cmap, starts + 2 * k, end);
                    put16(cmap, deltas + 2 * k, quint16(-end));
                    put16(cmap, ranges + 2 * k, 0);
                } else {
                    const quint16 range = be16(cmap, ranges + 2 * k);
                    put16(cmap, starts + 2 * k, 0x20);
                    if (range) put16(cmap, ranges + 2 * k, quint16(range + 2 * (0x20 - start)));
                }
            }
            break;
        }
        case 12: {
            if (t + 16 > cmap.size()) return false;
            const quint32 groups = be32(cmap, t + 12);
            if (groups > quint32((cmap.size() - t - 16) / 12)) return false;
            for (quint32 g = 0; g < groups; ++g) {
                const qsizetype at = t + 16 + 12 * g;
                const quint32 start = be32(cmap, at), end = be32(cmap, at + 4);
                if (start >= 0x20) continue;
                if (end < 0x20) {
                    put32(cmap, at, end);
                    put32(cmap, at + 8, 0);
                } else {
                    put32(cmap, at + 8, be32(cmap, at + 8) + (0x20 - start));
                    put32(cmap, at, 0x20);
                }
            }
            break;
        }
        default:
            break;
        }
    }
    return true;
}

// A name table of the English names alone, for the family given.
QByteArray nameTable(const QString& family, bool bold) {
    const QString style = bold ? QStringLiteral("Bold") : QStringLiteral("Regular");
    const QString full = family + QLatin1Char(' ') + style;
    const QString ps = QString(family).remove(QLatin1Char(' ')) + QLatin1Char('-') + style;
    const QList<QPair<int, QString>> names{{1, family}, {2, style}, {3, full}, {4, full}, {6, ps}};
    QByteArray strings, out;
    add16(out, 0);
    add16(out, quint16(names.size()));
    add16(out, quint16(6 + 12 * names.size()));
    for (const auto& [id, text] : names) {
        QByteArray utf16;
        for (QChar c : text)
            add16(utf16, c.unicode());
        add16(out, 3);
        add16(out, 1);
        add16(out, 0x409);
        add16(out, quint16(id));
        add16(out, quint16(utf16.size()));
        add16(out, quint16(strings.size()));
        strings += utf16;
    }
    return out + strings;
}

quint32 checksum(const QByteArray& table) {
    QByteArray padded = table;
    while (padded.size() % 4)
        padded.append('\0');
    quint32 sum = 0;
    for (qsizetype i = 0; i < padded.size(); i += 4)
        sum += be32(padded, i);
    return sum;
}

// The face a font resolves to, rebuilt from its tables; empty when it is not
// the face asked for or its tables cannot be read.
QByteArray patchedFace(const QFont& font, const QString& family, bool bold) {
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid() || raw.familyName() != font.family()) return {};
    const QByteArray os2 = raw.fontTable("OS/2");
    if (os2.size() < 6 || (be16(os2, 4) >= 600) != bold) return {}; // a bold made up by Qt
    static const char* const tags[] = {"BASE", "CFF ", "DSIG", "EBDT", "EBLC", "EBSC", "GDEF", "GPOS", "GSUB",
                                       "JSTF", "LTSH", "OS/2", "PCLT", "VDMX", "VORG", "cmap", "cvt ", "fpgm",
                                       "gasp", "glyf", "hdmx", "head", "hhea", "hmtx", "kern", "loca", "maxp",
                                       "meta", "name", "post", "prep", "vhea", "vmtx"};
    QList<QPair<QByteArray, QByteArray>> tables;
    for (const char* tag : tags) {
        QByteArray data;
        if (qstrcmp(tag, "name") == 0)
            data = nameTable(family, bold);
        else
            data = raw.fontTable(tag);
        if (data.isEmpty()) continue;
        if (qstrcmp(tag, "cmap") == 0 && !unmapControls(data)) return {};
        tables.append({QByteArray(tag, 4), data});
    }
    for (const char* need : {"cmap", "head", "hhea", "hmtx", "maxp", "glyf", "loca"})
        if (std::none_of(tables.cbegin(), tables.cend(), [need](const auto& t) { return t.first == need; }))
            return {};
    const int n = int(tables.size());
    int power = 1, log2 = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++log2;
    }
    QByteArray out;
    add32(out, 0x00010000);
    add16(out, quint16(n));
    add16(out, quint16(power * 16));
    add16(out, quint16(log2));
    add16(out, quint16(n * 16 - power * 16));
    quint32 offset = quint32(12 + 16 * n);
    for (const auto& [tag, data] : tables) {
        out += tag;
        add32(out, checksum(data));
        add32(out, offset);
        add32(out, quint32(data.size()));
        offset += quint32((data.size() + 3) & ~3);
    }
    for (const auto& t : tables) {
        out += t.second;
        while (out.size() % 4)
            out.append('\0');
    }
    return out;
}

struct Faces {
    QHash<QString, QString> family; // installed family -> the registered copy
};

const Faces& faces() {
    static const Faces f = [] {
        Faces out;
        for (const QString installed : {QStringLiteral("NanumGothic"), QStringLiteral("NanumGothicCoding")}) {
            const QString copy = installed + QStringLiteral(" Report");
            bool regular = false;
            for (const bool bold : {false, true}) {
                QFont font(installed);
                font.setBold(bold);
                const QByteArray face = patchedFace(font, copy, bold);
                if (face.isEmpty()) continue;
                const int id = QFontDatabase::addApplicationFontFromData(face);
                if (id >= 0 && !bold) regular = QFontDatabase::applicationFontFamilies(id).contains(copy);
            }
            if (regular) out.family.insert(installed, copy);
        }
        return out;
    }();
    return f;
}

} // namespace

QString ReportFont::installedFamily(const QString& family) {
    QString installed = family;
    if (family == QStringLiteral("굴림")) installed = QStringLiteral("NanumGothic");
    if (family == QStringLiteral("굴림체")) installed = QStringLiteral("NanumGothicCoding");
    return faces().family.value(installed, installed);
}

QFont ReportFont::qfont() const {
    QFont f(installedFamily(family));
    f.setPointSizeF(size);
    f.setBold(bold);
    f.setUnderline(underline);
    f.setKerning(false);
    return f;
}

QStringList ReportPage::texts() const {
    QStringList out;
    for (const PageItem& it : items)
        if (it.kind == PageItem::Text) out << it.text;
    return out;
}

namespace {

QString mm(double v) {
    return QString::number(v, 'f', 1);
}

QString alignName(ReportAlign a) {
    switch (a) {
    case ReportAlign::Left:
        return QStringLiteral("left");
    case ReportAlign::Center:
        return QStringLiteral("center");
    case ReportAlign::Right:
        return QStringLiteral("right");
    }
    return {};
}

QString kindName(PageItem::Kind k) {
    switch (k) {
    case PageItem::Text:
        return QStringLiteral("text");
    case PageItem::Line:
        return QStringLiteral("line");
    case PageItem::Frame:
        return QStringLiteral("frame");
    case PageItem::Image:
        return QStringLiteral("image");
    }
    return {};
}

QString box(const QRectF& r) {
    return mm(r.x()) + QLatin1Char(' ') + mm(r.y()) + QLatin1Char(' ') + mm(r.width()) + QLatin1Char(' ') +
           mm(r.height());
}

bool cutFixed(const PageItem& it) {
    return it.kind == PageItem::Text && it.fixed && it.cut;
}

QString cutLine(int number, const PageItem& it) {
    return QString::number(number) + QStringLiteral(" cut ") + box(it.rect) + QStringLiteral(" needs ") +
           mm(it.textWidth) + QLatin1Char(' ') + it.text;
}

QString itemLine(int number, const PageItem& it) {
    QString line =
        QString::number(number) + QLatin1Char(' ') + kindName(it.kind) + QLatin1Char(' ') + box(it.rect);
    if (it.kind == PageItem::Text) {
        QString flags;
        if (it.font.bold) flags += QLatin1Char('b');
        if (it.font.underline) flags += QLatin1Char('u');
        line += QLatin1Char(' ') + it.font.family + QLatin1Char('/') + QString::number(it.font.size) +
                (flags.isEmpty() ? QString() : QLatin1Char('/') + flags) + QLatin1Char(' ') +
                alignName(it.align) + QLatin1Char(' ') +
                QString(it.text).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    } else if (it.kind == PageItem::Image) {
        line += it.image.isNull() ? QStringLiteral(" empty")
                                  : QStringLiteral(" %1x%2").arg(it.image.width()).arg(it.image.height());
    }
    return line;
}

// The dump lines of one page, numbered from 1.
QString dumpPage(const ReportPage& page, int number) {
    QString out;
    for (const PageItem& it : page.items) {
        out += itemLine(number, it) + QLatin1Char('\n');
        if (cutFixed(it)) out += cutLine(number, it) + QLatin1Char('\n');
    }
    return out;
}

void paintItems(QPainter& painter, const ReportPage& page, double dotsPerMm) {
    const auto px = [dotsPerMm](const QRectF& r) {
        return QRectF(r.x() * dotsPerMm, r.y() * dotsPerMm, r.width() * dotsPerMm, r.height() * dotsPerMm);
    };
    painter.save();
    ReportFont font;
    bool fontSet = false;
    for (const PageItem& it : page.items) {
        const QRectF r = px(it.rect);
        switch (it.kind) {
        case PageItem::Text: {
            // Layout has cut the text to its box already, so no clipping here.
            if (it.text.isEmpty()) break;
            if (!fontSet || !(it.font == font)) {
                font = it.font;
                fontSet = true;
                painter.setFont(font.qfont());
            }
            painter.setPen(Qt::black);
            const Qt::Alignment h = it.align == ReportAlign::Left    ? Qt::AlignLeft
                                    : it.align == ReportAlign::Right ? Qt::AlignRight
                                                                     : Qt::AlignHCenter;
            painter.drawText(r, int(h | Qt::AlignTop), it.text);
            break;
        }
        case PageItem::Line:
        case PageItem::Frame: {
            QPen pen(Qt::black);
            pen.setWidthF(it.pen * dotsPerMm);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            if (it.kind == PageItem::Frame)
                painter.drawRect(r);
            else
                painter.drawLine(r.topLeft(), r.bottomRight());
            break;
        }
        case PageItem::Image:
            if (!it.image.isNull()) painter.drawImage(r, it.image);
            break;
        }
    }
    painter.restore();
}

// A PDF painted a page at a time under a temporary name, renamed when whole.
class PdfFile {
public:
    explicit PdfFile(const QString& file) : file_(file) {
        const QFileInfo fi(file);
        tmp_ = fi.absolutePath() + QStringLiteral("/.") + fi.fileName() + QStringLiteral(".part");
    }
    ~PdfFile() {
        if (!writer_) return;
        if (painter_.isActive()) painter_.end();
        writer_.reset();
        QFile::remove(tmp_);
    }
    PdfFile(const PdfFile&) = delete;
    PdfFile& operator=(const PdfFile&) = delete;

    void begin(const QString& title, const PageSetup& setup) {
        QFile::remove(tmp_);
        writer_ = std::make_unique<QPdfWriter>(tmp_);
        writer_->setTitle(title);
        writer_->setCreator(QStringLiteral("ZQSchool"));
        writer_->setResolution(600);
        writer_->setPageSize(QPageSize(QPageSize::A4));
        writer_->setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        writer_->setPageMargins(QMarginsF(0, 0, 0, 0));
        painting_ = painter_.begin(writer_.get());
        dotsPerMm_ = writer_->resolution() / 25.4;
    }
    void page(const ReportPage& page) {
        if (!painting_) return;
        if (pages_++ > 0) writer_->newPage();
        paintItems(painter_, page, dotsPerMm_);
    }
    bool commit(QString* error) {
        bool ok = painting_ && painter_.end();
        writer_.reset();
        if (ok) {
            QFile::remove(file_);
            ok = QFile::rename(tmp_, file_);
        }
        if (!ok) {
            QFile::remove(tmp_);
            if (error) *error = QStringLiteral("PDF 파일을 쓸 수 없습니다: ") + file_;
        }
        return ok;
    }

private:
    QString file_, tmp_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    bool painting_ = false;
    int pages_ = 0;
    double dotsPerMm_ = 1;
};

// The text dump written a page at a time; an uncommitted one leaves nothing.
class DumpFile {
public:
    explicit DumpFile(const QString& file) : file_(file) {}

    void page(const ReportPage& page, int number) {
        if (open() && file_.write(dumpPage(page, number).toUtf8()) < 0) ok_ = false;
    }
    bool commit(QString* error) {
        if (open() && file_.commit()) return true;
        if (error) *error = file_.errorString();
        return false;
    }

private:
    bool open() {
        if (!opened_) {
            opened_ = true;
            ok_ = file_.open(QIODevice::WriteOnly);
        }
        return ok_;
    }
    QSaveFile file_;
    bool opened_ = false, ok_ = false;
};

} // namespace

QString ReportDocument::dump() const {
    QString out;
    for (int p = 0; p < pages.size(); ++p)
        out += dumpPage(pages.at(p), firstPage + p + 1);
    return out;
}

QStringList ReportDocument::cutLabels() const {
    QStringList out;
    for (int p = 0; p < pages.size(); ++p)
        for (const PageItem& it : pages.at(p).items)
            if (cutFixed(it)) out << cutLine(firstPage + p + 1, it);
    return out;
}

bool ReportDocument::writeDump(const QString& file, QString* error) const {
    DumpFile f(file);
    for (int p = 0; p < pages.size(); ++p)
        f.page(pages.at(p), firstPage + p + 1);
    return f.commit(error);
}

void ReportDocument::paintPage(QPainter& painter, int page, double dotsPerMm) const {
    if (page < 0 || page >= pages.size()) return;
    paintItems(painter, pages.at(page), dotsPerMm);
}

bool ReportDocument::writePdf(const QString& file, QString* error) const {
    ReportWriter w(file, {});
    sendTo(w);
    return w.finish(error);
}

void ReportDocument::sendTo(ReportPageSink& sink) const {
    sink.begin(title, setup);
    for (const ReportPage& p : pages)
        sink.page(p);
}

void ReportDocument::print(QPrinter* printer) const {
    printer->setFullPage(true);
    printer->setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    int from = 1, to = int(pages.size());
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        from = std::max(from, printer->fromPage());
        to = std::min(to, printer->toPage() > 0 ? printer->toPage() : to);
    }
    QPainter p;
    if (from > to || !p.begin(printer)) return;
    const double dpmm = printer->resolution() / 25.4;
    for (int i = from; i <= to; ++i) {
        if (i > from) printer->newPage();
        paintPage(p, i - 1, dpmm);
    }
    p.end();
}

int ReportDocument::preview(QWidget* parent) const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(title);
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setWindowTitle(title.isEmpty() ? QStringLiteral("미리보기") : title);
    // Fits a 1366x768 screen with the task bar.
    dlg.resize(1200, 700);
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [this](QPrinter* p) { print(p); });
    return Modal::exec(&dlg);
}

// ---- the writer

struct ReportWriter::Files {
    std::unique_ptr<PdfFile> pdf;
    std::unique_ptr<DumpFile> dump;
};

ReportWriter::ReportWriter(const QString& pdf, const QString& dump) : files_(std::make_unique<Files>()) {
    if (!pdf.isEmpty()) files_->pdf = std::make_unique<PdfFile>(pdf);
    if (!dump.isEmpty()) files_->dump = std::make_unique<DumpFile>(dump);
}

ReportWriter::~ReportWriter() = default;

void ReportWriter::begin(const QString& title, const PageSetup& setup) {
    if (!started_ && files_->pdf) files_->pdf->begin(title, setup);
    started_ = true;
}

void ReportWriter::page(const ReportPage& page) {
    ++pages_;
    if (files_->pdf) files_->pdf->page(page);
    if (files_->dump) files_->dump->page(page, pages_);
}

bool ReportWriter::finish(QString* error) {
    if (!started_) begin({}, PageSetup{});
    const auto files = std::move(files_);
    files_ = std::make_unique<Files>();
    if (files->pdf && !files->pdf->commit(error)) return false;
    return !files->dump || files->dump->commit(error);
}
