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

// The widest value of each column, for fitting it.
class ColumnFit {
public:
    void see(int col, const QVariant& v, const SheetFormat& f) {
        const int w = widestLine(shown(v, f));
        auto it = widest_.find(col);
        if (it == widest_.end()) widest_.emplace(col, Widest{w, f.bold});
        else if (w > it->second.bytes) it->second = Widest{w, f.bold};
    }
    double width(int col) const {
        auto it = widest_.find(col);
        if (it == widest_.end()) return 0;
        // A column unit is about one Latin digit; the margin keeps the widest
        // value off the cell border, as the spreadsheet's own fitting does.
        const double w = (it->second.bold ? 1.1 : 1.0) * it->second.bytes + 2;
        return std::min(255.0, w);
    }
    int lastCol() const { return widest_.empty() ? 0 : widest_.rbegin()->first; }

private:
    struct Widest {
        int bytes;
        bool bold;
    };
    std::map<int, Widest> widest_;
};

bool failWith(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

// The file being written: a temporary name beside the target, the
// libxlsxwriter workbook on it and its one sheet. Given up (destroyed
// before finish), it leaves nothing behind.
class SheetFile {
public:
    SheetFile() = default;
    SheetFile(const SheetFile&) = delete;
    SheetFile& operator=(const SheetFile&) = delete;
    ~SheetFile() { giveUp(); }

    // constantMemory: each row goes to a file of the workbook's own (in the
    // target folder) when the next row starts; rows must then come in order.
    bool open(const QString& path, const QString& sheetName, bool constantMemory, QString* error) {
        path_ = path;
        const QFileInfo target(path);
        if (path.isEmpty() || target.isDir())
            return failWith(error, QStringLiteral("파일 이름이 올바르지 않습니다: ") + path);
        tmp_ = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                                QStringLiteral(".XXXXXX"));
        tmp_->setAutoRemove(true);
        if (!tmp_->open())
            return failWith(error, QStringLiteral("파일을 만들 수 없습니다: ") + path + QStringLiteral(" (") +
                                       tmp_->errorString() + QLatin1Char(')'));
        tmp_->close();
        tmpPath_ = QFile::encodeName(tmp_->fileName());
        tmpDir_ = QFile::encodeName(target.absolutePath());

        lxw_workbook_options opts{};
        opts.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
        if (constantMemory) opts.tmpdir = tmpDir_.data();
        wb_ = workbook_new_opt(tmpPath_.constData(), &opts);
        if (!wb_) return failWith(error, QStringLiteral("엑셀화일을 만들 수 없습니다: ") + path);
        ws_ = workbook_add_worksheet(wb_, sheetName.toUtf8().constData());
        if (!ws_) return failWith(error, QStringLiteral("시트 이름이 올바르지 않습니다: ") + sheetName);
        return true;
    }

    lxw_format* addFormat(const SheetFormat& f) { return wb_ ? makeFormat(wb_, f) : nullptr; }

    bool write(int row, int col, const QVariant& v, lxw_format* f, QString* error) {
        if (!ws_) return failWith(error, QStringLiteral("엑셀화일을 만들 수 없습니다: ") + path_);
        const lxw_row_t r = lxw_row_t(row - 1);
        const lxw_col_t k = lxw_col_t(col - 1);
        lxw_error e = LXW_NO_ERROR;
        switch (v.typeId()) {
        case QMetaType::Bool:
            e = worksheet_write_boolean(ws_, r, k, v.toBool() ? 1 : 0, f);
            break;
        case QMetaType::LongLong:
        case QMetaType::Double:
            e = worksheet_write_number(ws_, r, k, v.toDouble(), f);
            break;
        default:
            e = worksheet_write_string(ws_, r, k, v.toString().toUtf8().constData(), f);
            break;
        }
        if (e == LXW_NO_ERROR) return true;
        return failWith(error, QStringLiteral("%1%2: %3")
                                   .arg(Workbook::columnName(col))
                                   .arg(row)
                                   .arg(QString::fromUtf8(lxw_strerror(e))));
    }

    // Fits the columns, selects A1, writes the file and renames it over the
    // target.
    bool finish(const ColumnFit& fit, QString* error) {
        if (!ws_) return failWith(error, QStringLiteral("엑셀화일을 만들 수 없습니다: ") + path_);
        for (int col = 1; col <= fit.lastCol(); ++col) {
            const double w = fit.width(col);
            if (w > 0) worksheet_set_column(ws_, lxw_col_t(col - 1), lxw_col_t(col - 1), w, nullptr);
        }
        worksheet_set_selection(ws_, 0, 0, 0, 0);

        lxw_workbook* wb = wb_;
        wb_ = nullptr;
        ws_ = nullptr;
        const lxw_error closed = workbook_close(wb);
        if (closed != LXW_NO_ERROR)
            return failWith(error, QStringLiteral("엑셀화일을 저장하지 못했습니다: ") + path_ + QStringLiteral(" (") +
                                       QString::fromUtf8(lxw_strerror(closed)) + QLatin1Char(')'));

        // Readable like any other file the program writes, not only by its owner.
        QFile::setPermissions(tmp_->fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ReadGroup | QFileDevice::ReadOther);
        if (std::rename(tmpPath_.constData(), QFile::encodeName(QFileInfo(path_).absoluteFilePath()).constData()) != 0)
            return failWith(error, QStringLiteral("파일을 저장하지 못했습니다: ") + path_);
        tmp_->setAutoRemove(false);
        tmp_.reset();
        return true;
    }

    // Frees the workbook without writing it and removes the temporary file.
    void giveUp() {
        if (wb_) {
            // The row file of the constant-memory mode is only closed when
            // the workbook is written; freeing alone would leave it open.
            if (ws_ && ws_->optimize_tmpfile) {
                std::fclose(ws_->optimize_tmpfile);
                ws_->optimize_tmpfile = nullptr;
            }
            lxw_workbook_free(wb_);
            wb_ = nullptr;
            ws_ = nullptr;
        }
        tmp_.reset();
    }

private:
    QString path_;
    std::unique_ptr<QTemporaryFile> tmp_;
    QByteArray tmpPath_, tmpDir_;
    lxw_workbook* wb_ = nullptr;
    lxw_worksheet* ws_ = nullptr;
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
    ColumnFit fit;
    for (const auto& [row, cells] : rows_) {
        auto c = cells.find(col);
        if (c != cells.end()) fit.see(col, c->second.value, formats_.at(c->second.format));
    }
    return fit.width(col);
}

bool Workbook::save(const QString& path, QString* error) const {
    SheetFile file;
    if (!file.open(path, sheetName_, false, error)) return false;
    QList<lxw_format*> fmts;
    fmts << nullptr;
    for (int i = 1; i < formats_.size(); ++i)
        fmts << file.addFormat(formats_.at(i));
    ColumnFit fit;
    for (const auto& [row, cells] : rows_) {
        for (const auto& [col, c] : cells) {
            fit.see(col, c.value, formats_.at(c.format));
            if (!file.write(row, col, c.value, fmts.at(c.format), error)) return false;
        }
    }
    return file.finish(fit, error);
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

// ---- WorkbookStream

struct WorkbookStream::Impl {
    SheetFile file;
    QList<SheetFormat> formats{SheetFormat{}};
    QList<lxw_format*> lxwFormats{nullptr};
    ColumnFit fit;
    int row = 0;                         // the row being written
    std::map<int, std::pair<QVariant, int>> cells; // its cells: value, format
    int lastFlushed = 0;                 // the last row written out that holds a cell
    bool closed = false;
    QString error;

    bool failed() const { return closed || !error.isEmpty(); }

    // The current row goes to the sheet.
    bool flush() {
        for (const auto& [col, c] : cells) {
            fit.see(col, c.first, formats.at(c.second));
            if (!file.write(row, col, c.first, lxwFormats.at(c.second), &error)) {
                file.giveUp();
                return false;
            }
        }
        if (!cells.empty()) lastFlushed = row;
        cells.clear();
        return true;
    }
};

WorkbookStream::WorkbookStream(const QString& path, const QString& sheetName) : d_(std::make_unique<Impl>()) {
    if (!d_->file.open(path, sheetName, true, &d_->error)) d_->file.giveUp();
}

WorkbookStream::~WorkbookStream() = default;

int WorkbookStream::addFormat(const SheetFormat& f) {
    d_->formats << f;
    d_->lxwFormats << (d_->failed() ? nullptr : d_->file.addFormat(f));
    return int(d_->formats.size()) - 1;
}

bool WorkbookStream::writeCell(int row, int col, const QVariant& value, int format) {
    if (d_->failed()) return false;
    if (row < 1 || col < 1) return true;
    if (row < d_->row) {
        d_->error = QStringLiteral("엑셀화일을 만들 수 없습니다: %1행 다음에 %2행을 쓸 수 없습니다")
                        .arg(d_->row)
                        .arg(row);
        d_->file.giveUp();
        return false;
    }
    if (row > d_->row) {
        if (!d_->flush()) return false;
        d_->row = row;
    }
    const QVariant v = normalised(value);
    if (!v.isValid()) d_->cells.erase(col);
    else d_->cells[col] = {v, (format >= 0 && format < d_->formats.size()) ? format : 0};
    return true;
}

bool WorkbookStream::writeRow(int row, int col, const QVariantList& values, int format) {
    for (int i = 0; i < values.size(); ++i)
        if (!writeCell(row, col + i, values.at(i), format)) return false;
    return !d_->failed();
}

bool WorkbookStream::writeCell(const QString& ref, const QVariant& value, int format) {
    int r = 0, c = 0;
    return Workbook::parseRef(ref, &r, &c) ? writeCell(r, c, value, format) : !d_->failed();
}

bool WorkbookStream::writeRow(const QString& firstCell, const QVariantList& values, int format) {
    int r = 0, c = 0;
    return Workbook::parseRef(firstCell, &r, &c) ? writeRow(r, c, values, format) : !d_->failed();
}

int WorkbookStream::lastRow() const { return d_->cells.empty() ? d_->lastFlushed : d_->row; }

double WorkbookStream::columnWidth(int col) const {
    ColumnFit fit = d_->fit;
    auto c = d_->cells.find(col);
    if (c != d_->cells.end()) fit.see(col, c->second.first, d_->formats.at(c->second.second));
    return fit.width(col);
}

bool WorkbookStream::finish(QString* error) {
    if (d_->closed && d_->error.isEmpty()) d_->error = QStringLiteral("엑셀화일이 이미 닫혔습니다");
    if (!d_->failed() && d_->flush()) d_->file.finish(d_->fit, &d_->error);
    d_->closed = true;
    if (!d_->error.isEmpty()) d_->file.giveUp();
    if (error) *error = d_->error;
    return d_->error.isEmpty();
}

QString WorkbookStream::error() const { return d_->error; }
