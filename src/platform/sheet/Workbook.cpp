#include "platform/sheet/Workbook.h"

#include "platform/sheet/SheetValue.h"
#include "platform/text/Cp949.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

QVariant normalised(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return {};
    switch (v.typeId()) {
    case QMetaType::QString: {
        QString s = v.toString();
        if (s.startsWith(QLatin1Char('\''))) s.remove(0, 1);
        if (s.isEmpty()) return {};
        return s;
    }
    case QMetaType::Bool:
        return v;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QVariant(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QVariant(v.toDouble());
    default:
        return v.toString().isEmpty() ? QVariant() : QVariant(v.toString());
    }
}

// What the cell shows, for fitting its column.
QString shown(const QVariant& v, const SheetFormat& f) {
    if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double) {
        QString s = SheetValue::numberText(v.toDouble());
        if (f.numberFormat.contains(QLatin1Char(','))) {
            const int dot = s.indexOf(QLatin1Char('.'));
            const int end = dot < 0 ? s.size() : dot;
            const int start = s.startsWith(QLatin1Char('-')) ? 1 : 0;
            for (int i = end - 3; i > start; i -= 3) s.insert(i, QLatin1Char(','));
        }
        const int dot = f.numberFormat.indexOf(QLatin1Char('.'));
        if (dot >= 0) s += QString(f.numberFormat.size() - dot, QLatin1Char('0'));
        return s;
    }
    return v.toString();
}

int widestLine(const QString& s) {
    int best = 0;
    for (const QString& line : s.split(QLatin1Char('\n')))
        best = std::max(best, Cp949::byteLength(line));
    return best;
}

lxw_format* makeFormat(lxw_workbook* wb, const SheetFormat& f) {
    lxw_format* fmt = workbook_add_format(wb);
    if (f.bold) format_set_bold(fmt);
    if (!f.numberFormat.isEmpty()) format_set_num_format(fmt, f.numberFormat.toUtf8().constData());
    switch (f.align) {
    case SheetFormat::Align::General:
        break;
    case SheetFormat::Align::Left:
        format_set_align(fmt, LXW_ALIGN_LEFT);
        break;
    case SheetFormat::Align::Center:
        format_set_align(fmt, LXW_ALIGN_CENTER);
        break;
    case SheetFormat::Align::Right:
        format_set_align(fmt, LXW_ALIGN_RIGHT);
        break;
    }
    return fmt;
}

struct WorkbookCloser {
    void operator()(lxw_workbook* wb) const {
        // Closing writes the file; a workbook given up is only freed.
        if (wb) lxw_workbook_free(wb);
    }
};

} // namespace

int Workbook::addFormat(const SheetFormat& f) {
    formats_ << f;
    return int(formats_.size()) - 1;
}

void Workbook::writeCell(int row, int col, const QVariant& value, int format) {
    if (row < 1 || col < 1) return;
    const QVariant v = normalised(value);
    if (!v.isValid()) {
        auto it = rows_.find(row);
        if (it != rows_.end()) it->second.erase(col);
        return;
    }
    rows_[row][col] = Cell{v, (format >= 0 && format < formats_.size()) ? format : 0};
}

void Workbook::writeRow(int row, int col, const QVariantList& values, int format) {
    for (int i = 0; i < values.size(); ++i)
        writeCell(row, col + i, values.at(i), format);
}

void Workbook::writeCell(const QString& ref, const QVariant& value, int format) {
    int r = 0, c = 0;
    if (parseRef(ref, &r, &c)) writeCell(r, c, value, format);
}

void Workbook::writeRow(const QString& firstCell, const QVariantList& values, int format) {
    int r = 0, c = 0;
    if (parseRef(firstCell, &r, &c)) writeRow(r, c, values, format);
}

int Workbook::lastRow() const {
    for (auto it = rows_.rbegin(); it != rows_.rend(); ++it)
        if (!it->second.empty()) return it->first;
    return 0;
}

QVariant Workbook::cell(int row, int col) const {
    auto r = rows_.find(row);
    if (r == rows_.end()) return {};
    auto c = r->second.find(col);
    return c == r->second.end() ? QVariant() : c->second.value;
}

double Workbook::columnWidth(int col) const {
    int bytes = -1;
    bool bold = false;
    for (const auto& [row, cells] : rows_) {
        auto c = cells.find(col);
        if (c == cells.end()) continue;
        const SheetFormat& f = formats_.at(c->second.format);
        const int w = widestLine(shown(c->second.value, f));
        if (w > bytes) {
            bytes = w;
            bold = f.bold;
        }
    }
    if (bytes < 0) return 0;
    // A column unit is about one Latin digit; the margin keeps the widest
    // value off the cell border, as the spreadsheet's own fitting does.
    const double w = (bold ? 1.1 : 1.0) * bytes + 2;
    return std::min(255.0, w);
}

bool Workbook::save(const QString& path, QString* error) const {
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QFileInfo target(path);
    if (path.isEmpty() || target.isDir()) return fail(QStringLiteral("파일 이름이 올바르지 않습니다: ") + path);

    QTemporaryFile tmp(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                       QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(true);
    if (!tmp.open()) return fail(QStringLiteral("파일을 만들 수 없습니다: ") + path + QStringLiteral(" (") +
                                 tmp.errorString() + QLatin1Char(')'));
    const QString tmpName = tmp.fileName();
    tmp.close();

    const QByteArray tmpPath = QFile::encodeName(tmpName);
    lxw_workbook_options opts{};
    std::unique_ptr<lxw_workbook, WorkbookCloser> wb(workbook_new_opt(tmpPath.constData(), &opts));
    if (!wb) return fail(QStringLiteral("엑셀화일을 만들 수 없습니다: ") + path);
    lxw_worksheet* ws = workbook_add_worksheet(wb.get(), sheetName_.toUtf8().constData());
    if (!ws) return fail(QStringLiteral("시트 이름이 올바르지 않습니다: ") + sheetName_);

    QList<lxw_format*> fmts;
    fmts << nullptr;
    for (int i = 1; i < formats_.size(); ++i)
        fmts << makeFormat(wb.get(), formats_.at(i));

    int lastCol = 0;
    for (const auto& [row, cells] : rows_) {
        for (const auto& [col, c] : cells) {
            lastCol = std::max(lastCol, col);
            const lxw_row_t r = lxw_row_t(row - 1);
            const lxw_col_t k = lxw_col_t(col - 1);
            lxw_format* f = fmts.at(c.format);
            lxw_error e = LXW_NO_ERROR;
            switch (c.value.typeId()) {
            case QMetaType::Bool:
                e = worksheet_write_boolean(ws, r, k, c.value.toBool() ? 1 : 0, f);
                break;
            case QMetaType::LongLong:
            case QMetaType::Double:
                e = worksheet_write_number(ws, r, k, c.value.toDouble(), f);
                break;
            default:
                e = worksheet_write_string(ws, r, k, c.value.toString().toUtf8().constData(), f);
                break;
            }
            if (e != LXW_NO_ERROR)
                return fail(QStringLiteral("%1%2: %3")
                                .arg(columnName(col))
                                .arg(row)
                                .arg(QString::fromUtf8(lxw_strerror(e))));
        }
    }
    for (int col = 1; col <= lastCol; ++col) {
        const double w = columnWidth(col);
        if (w > 0) worksheet_set_column(ws, lxw_col_t(col - 1), lxw_col_t(col - 1), w, nullptr);
    }
    worksheet_set_selection(ws, 0, 0, 0, 0);

    const lxw_error closed = workbook_close(wb.release());
    if (closed != LXW_NO_ERROR)
        return fail(QStringLiteral("엑셀화일을 저장하지 못했습니다: ") + path + QStringLiteral(" (") +
                    QString::fromUtf8(lxw_strerror(closed)) + QLatin1Char(')'));

    // Readable like any other file the program writes, not only by its owner.
    QFile::setPermissions(tmpName, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                       QFileDevice::ReadOther);
    if (std::rename(tmpPath.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        return fail(QStringLiteral("파일을 저장하지 못했습니다: ") + path);
    tmp.setAutoRemove(false);
    return true;
}

bool Workbook::parseRef(const QString& ref, int* row, int* col) {
    int i = 0, c = 0, r = 0;
    const QString s = ref.trimmed().toUpper();
    while (i < s.size() && s.at(i) >= QLatin1Char('A') && s.at(i) <= QLatin1Char('Z')) {
        c = c * 26 + (s.at(i).unicode() - 'A' + 1);
        if (c > 16384) return false;
        ++i;
    }
    if (i == 0 || i == s.size()) return false;
    for (; i < s.size(); ++i) {
        if (!s.at(i).isDigit()) return false;
        r = r * 10 + s.at(i).digitValue();
        if (r > 1048576) return false;
    }
    if (r < 1) return false;
    *row = r;
    *col = c;
    return true;
}

QString Workbook::columnName(int col) {
    QString out;
    while (col > 0) {
        const int m = (col - 1) % 26;
        out.prepend(QChar('A' + m));
        col = (col - 1) / 26;
    }
    return out;
}
