// The old .xls format, read through libfreexl. Date cells come back as
// dates, as from the .xlsx reader.

#include "platform/sheet/SheetFiles.h"
#include "platform/sheet/SheetValue.h"

#include <QFile>

#include <freexl.h>

namespace SheetFiles {

namespace {

QVariant dateValue(const char* text, int type) {
    const QString s = QString::fromUtf8(text);
    QDate d;
    if (type == FREEXL_CELL_DATE) d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
    else if (type == FREEXL_CELL_DATETIME) d = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss")).date();
    else {
        const QTime t = QTime::fromString(s, QStringLiteral("HH:mm:ss"));
        if (t.isValid()) return QVariant(t.msecsSinceStartOfDay() / 86400000.0);
    }
    return d.isValid() ? QVariant(d) : QVariant(s);
}

quint32 le32(const uchar* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3]) << 24); }
quint16 le16(const uchar* p) { return quint16(p[0] | (p[1] << 8)); }

// libfreexl sets aside a cell for every row and column a sheet's DIMENSION
// record declares, for every sheet, while it opens the file: a small file
// declaring 65,536 rows by 256 columns takes a quarter of a gigabyte. The
// records are looked for in the file's bytes before it is handed over. The
// workbook stream's sectors need not lie in order, so the bytes are searched
// rather than walked; the same four bytes also begin any cell record at row
// 513, column K or O, so only a match shaped like a DIMENSION body counts
// (first row and column not past the last, reserved word zero). Its width
// is not held to 256 columns: a wider declaration is still measured.
QString dimensionProblem(const QByteArray& file, qint64 limit) {
    const uchar* p = reinterpret_cast<const uchar*>(file.constData());
    const qsizetype n = file.size();
    for (qsizetype i = 0; i + 14 <= n; ++i) {
        if (p[i] != 0x00 || p[i + 1] != 0x02 || p[i + 3] != 0x00) continue;
        qint64 firstRow = 0, rows = 0, firstCol = 0, cols = 0, reserved = 0;
        if (p[i + 2] == 0x0E && i + 18 <= n) { // BIFF8: 32-bit rows
            firstRow = le32(p + i + 4);
            rows = le32(p + i + 8);
            firstCol = le16(p + i + 12);
            cols = le16(p + i + 14);
            reserved = le16(p + i + 16);
        } else if (p[i + 2] == 0x0A) { // BIFF5/7
            firstRow = le16(p + i + 4);
            rows = le16(p + i + 6);
            firstCol = le16(p + i + 8);
            cols = le16(p + i + 10);
            reserved = le16(p + i + 12);
        } else continue;
        if (reserved != 0 || firstRow > rows || firstCol > cols) continue;
        if (rows * cols > limit)
            return QStringLiteral("행과 열이 %1칸을 넘는 시트가 있어 읽지 않습니다").arg(limit);
    }
    return {};
}

struct Handle {
    const void* h = nullptr;
    ~Handle() {
        if (h) freexl_close(h);
    }
};

} // namespace

bool readXls(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
             QString* error, const SheetOptions& options) {
    const auto fail = [error, &path](const QString& why) {
        if (error) *error = why + QStringLiteral(": ") + path;
        return false;
    };
    const SheetLimits& limits = SheetReader::limits();
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return fail(QStringLiteral("엑셀화일을 열 수 없습니다"));
        const QString tooBig =
            QStringLiteral("%1MB를 넘는 .xls 화일은 읽지 않습니다").arg(limits.xlsBytes / (1024 * 1024));
        if (f.size() > limits.xlsBytes) return fail(tooBig);
        // Read no further than the limit, should the file grow after its size was taken.
        const QByteArray bytes = f.read(limits.xlsBytes + 1);
        if (bytes.size() > limits.xlsBytes) return fail(tooBig);
        const QString why = dimensionProblem(bytes, limits.xlsCells);
        if (!why.isEmpty()) return fail(why);
    }
    Handle xl;
    if (freexl_open(QFile::encodeName(path).constData(), &xl.h) != FREEXL_OK)
        return fail(QStringLiteral("엑셀화일을 열 수 없습니다"));
    unsigned int info = 0;
    if (freexl_get_info(xl.h, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
        return fail(QStringLiteral("암호가 걸린 엑셀화일은 읽을 수 없습니다"));
    unsigned int count = 0;
    if (freexl_get_info(xl.h, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return fail(QStringLiteral("엑셀화일의 시트를 읽을 수 없습니다"));
    QStringList sheetNames;
    for (unsigned int i = 0; i < count; ++i) {
        const char* n = nullptr;
        sheetNames << (freexl_get_worksheet_name(xl.h, (unsigned short)i, &n) == FREEXL_OK && n
                           ? QString::fromUtf8(n)
                           : QString());
    }
    if (names) *names = sheetNames;
    if (!out) return true;

    int pick = index;
    if (!name.isEmpty()) pick = int(sheetNames.indexOf(name));
    if (pick < 0 || pick >= sheetNames.size())
        return fail(QStringLiteral("시트를 찾을 수 없습니다(") + (name.isEmpty() ? QString::number(index + 1) : name) +
                    QLatin1Char(')'));
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(xl.h, (unsigned short)pick) != FREEXL_OK ||
        freexl_worksheet_dimensions(xl.h, &rows, &cols) != FREEXL_OK)
        return fail(QStringLiteral("시트를 읽을 수 없습니다"));
    const unsigned short keep =
        options.columns > 0 && options.columns < cols ? (unsigned short)options.columns : cols;
    int rowsHeld = 0;
    qint64 chars = 0;
    for (unsigned int r = 0; r < rows; ++r) {
        bool held = false;
        for (unsigned short c = 0; c < keep; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(xl.h, r, c, &v) != FREEXL_OK) continue;
            QVariant value;
            switch (v.type) {
            case FREEXL_CELL_INT:
                value = double(v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                value = v.value.double_value;
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT: {
                const QString text = QString::fromUtf8(v.value.text_value);
                if (text.size() > limits.cellChars) return fail(cellTooLong(limits.cellChars));
                chars += text.size();
                if (chars > limits.textChars) return fail(tooMuchText(limits.textChars));
                value = text;
                break;
            }
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                value = dateValue(v.value.text_value, v.type);
                break;
            default:
                break;
            }
            if (!value.isValid()) continue;
            if (!held && ++rowsHeld > limits.rows) return fail(tooManyRows(limits.rows));
            held = true;
            out->set(int(r) + 1, int(c) + 1, value);
        }
        // A row holding values only past the kept columns (a memo far to the
        // right) still counts and still ends no region, as in an .xlsx.
        for (unsigned short c = keep; c < cols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(xl.h, r, c, &v) != FREEXL_OK || v.type == FREEXL_CELL_NULL) continue;
            if (!held && ++rowsHeld > limits.rows) return fail(tooManyRows(limits.rows));
            out->markRow(int(r) + 1);
            break;
        }
    }
    return true;
}

} // namespace SheetFiles
