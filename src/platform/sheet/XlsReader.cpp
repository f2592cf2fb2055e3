// The old .xls format, read through libfreexl. Dates come back as their
// serial numbers, as from the .xlsx reader.

#include "platform/sheet/SheetFiles.h"
#include "platform/sheet/SheetValue.h"

#include <QFile>

#include <freexl.h>

namespace SheetFiles {

namespace {

QVariant dateValue(const char* text, int type) {
    const QString s = QString::fromUtf8(text);
    QDateTime dt;
    if (type == FREEXL_CELL_DATE) dt = QDateTime(QDate::fromString(s, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    else if (type == FREEXL_CELL_DATETIME) dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    else {
        const QTime t = QTime::fromString(s, QStringLiteral("HH:mm:ss"));
        if (t.isValid()) return QVariant(t.msecsSinceStartOfDay() / 86400000.0);
    }
    return dt.isValid() ? QVariant(SheetValue::serialOf(dt)) : QVariant(s);
}

struct Handle {
    const void* h = nullptr;
    ~Handle() {
        if (h) freexl_close(h);
    }
};

} // namespace

bool readXls(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
             QString* error) {
    const auto fail = [error, &path](const QString& why) {
        if (error) *error = why + QStringLiteral(": ") + path;
        return false;
    };
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
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
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
            case FREEXL_CELL_SST_TEXT:
                value = QString::fromUtf8(v.value.text_value);
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                value = dateValue(v.value.text_value, v.type);
                break;
            default:
                break;
            }
            out->set(int(r) + 1, int(c) + 1, value);
        }
    }
    return true;
}

} // namespace SheetFiles
