#include "platform/report/ReportDocument.h"

#include "platform/ui/Modal.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>

QString ReportFont::installedFamily(const QString& family) {
    if (family == QStringLiteral("굴림")) return QStringLiteral("NanumGothic");
    if (family == QStringLiteral("굴림체")) return QStringLiteral("NanumGothicCoding");
    return family;
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

} // namespace

QString ReportDocument::dump() const {
    QString out;
    for (int p = 0; p < pages.size(); ++p) {
        for (const PageItem& it : pages.at(p).items) {
            QString line = QString::number(p + 1) + QLatin1Char(' ');
            switch (it.kind) {
            case PageItem::Text:
                line += QStringLiteral("text");
                break;
            case PageItem::Line:
                line += QStringLiteral("line");
                break;
            case PageItem::Frame:
                line += QStringLiteral("frame");
                break;
            case PageItem::Image:
                line += QStringLiteral("image");
                break;
            }
            line += QLatin1Char(' ') + mm(it.rect.x()) + QLatin1Char(' ') + mm(it.rect.y()) +
                    QLatin1Char(' ') + mm(it.rect.width()) + QLatin1Char(' ') + mm(it.rect.height());
            if (it.kind == PageItem::Text) {
                QString flags;
                if (it.font.bold) flags += QLatin1Char('b');
                if (it.font.underline) flags += QLatin1Char('u');
                line += QLatin1Char(' ') + it.font.family + QLatin1Char('/') + QString::number(it.font.size) +
                        (flags.isEmpty() ? QString() : QLatin1Char('/') + flags) + QLatin1Char(' ') +
                        alignName(it.align) + QLatin1Char(' ') +
                        QString(it.text).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            } else if (it.kind == PageItem::Image) {
                line += it.image.isNull()
                            ? QStringLiteral(" empty")
                            : QStringLiteral(" %1x%2").arg(it.image.width()).arg(it.image.height());
            }
            out += line + QLatin1Char('\n');
        }
    }
    return out;
}

bool ReportDocument::writeDump(const QString& file, QString* error) const {
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(dump().toUtf8()) < 0 || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

void ReportDocument::paintPage(QPainter& painter, int page, double dotsPerMm) const {
    if (page < 0 || page >= pages.size()) return;
    const auto px = [dotsPerMm](const QRectF& r) {
        return QRectF(r.x() * dotsPerMm, r.y() * dotsPerMm, r.width() * dotsPerMm, r.height() * dotsPerMm);
    };
    painter.save();
    ReportFont font;
    bool fontSet = false;
    for (const PageItem& it : pages.at(page).items) {
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

bool ReportDocument::writePdf(const QString& file, QString* error) const {
    const QFileInfo fi(file);
    const QString tmp = fi.absolutePath() + QStringLiteral("/.") + fi.fileName() + QStringLiteral(".part");
    QFile::remove(tmp);
    bool ok = false;
    {
        QPdfWriter w(tmp);
        w.setTitle(title);
        w.setCreator(QStringLiteral("ZQSchool"));
        w.setResolution(600);
        w.setPageSize(QPageSize(QPageSize::A4));
        w.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        w.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p;
        if (p.begin(&w)) {
            const double dpmm = w.resolution() / 25.4;
            for (int i = 0; i < pages.size(); ++i) {
                if (i > 0) w.newPage();
                paintPage(p, i, dpmm);
            }
            ok = p.end();
        }
    }
    if (ok) {
        QFile::remove(file);
        ok = QFile::rename(tmp, file);
    }
    if (!ok) {
        QFile::remove(tmp);
        if (error) *error = QStringLiteral("PDF 파일을 쓸 수 없습니다: ") + file;
    }
    return ok;
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
