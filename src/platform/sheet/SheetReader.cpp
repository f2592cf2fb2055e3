#include "platform/sheet/SheetReader.h"

#include "platform/sheet/SheetFiles.h"
#include "platform/sheet/SheetValue.h"

#include <QFile>

#include <algorithm>

const SheetTable::Row* SheetTable::rowAt(int row) const {
    const auto it = std::lower_bound(rows_.cbegin(), rows_.cend(), row,
                                     [](const Row& r, int n) { return r.row < n; });
    return it != rows_.cend() && it->row == row ? &*it : nullptr;
}

SheetTable::Row* SheetTable::rowAt(int row, bool create) {
    // Rows come in order from the readers: the last one is the usual answer.
    if (!rows_.isEmpty() && rows_.last().row == row) return &rows_.last();
    if (rows_.isEmpty() || rows_.last().row < row) {
        if (!create) return nullptr;
        rows_.append(Row{row, {}});
        return &rows_.last();
    }
    auto it = std::lower_bound(rows_.begin(), rows_.end(), row, [](const Row& r, int n) { return r.row < n; });
    if (it != rows_.end() && it->row == row) return &*it;
    if (!create) return nullptr;
    return &*rows_.insert(it, Row{row, {}});
}

QVariant SheetTable::value(int row, int col) const {
    const Row* r = rowAt(row);
    if (!r) return {};
    const auto it = std::lower_bound(r->cells.cbegin(), r->cells.cend(), col,
                                     [](const std::pair<int, QVariant>& c, int n) { return c.first < n; });
    return it != r->cells.cend() && it->first == col ? it->second : QVariant();
}

QString SheetTable::text(int row, int col) const {
    const QVariant v = value(row, col);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::Double:
        return SheetValue::numberText(v.toDouble());
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyyMMdd"));
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    default:
        return v.toString();
    }
}

int SheetTable::regionRows() const {
    int expect = 1;
    for (const Row& r : rows_) {
        if (r.row != expect) break;
        ++expect;
    }
    return expect - 1;
}

void SheetTable::set(int row, int col, const QVariant& v) {
    if (row < 1 || col < 1 || !v.isValid()) return;
    if (v.typeId() == QMetaType::QString && v.toString().isEmpty()) return;
    Row* r = rowAt(row, true);
    auto& cells = r->cells;
    if (cells.isEmpty() || cells.last().first < col) cells.append({col, v});
    else {
        auto it = std::lower_bound(cells.begin(), cells.end(), col,
                                   [](const std::pair<int, QVariant>& c, int n) { return c.first < n; });
        if (it != cells.end() && it->first == col) it->second = v;
        else cells.insert(it, {col, v});
    }
    cols_ = std::max(cols_, col);
}

void SheetTable::markRow(int row) {
    if (row >= 1) rowAt(row, true);
}

namespace SheetFiles {

QString tooManyRows(int limit) {
    return QStringLiteral("자료가 있는 행이 %1행을 넘는 시트는 읽지 않습니다").arg(limit);
}
QString tooMuchText(qint64 limit) {
    return QStringLiteral("시트의 글자가 모두 %1자를 넘어 읽지 않습니다").arg(limit);
}
QString cellTooLong(int limit) {
    return QStringLiteral("셀 하나의 글자가 %1자를 넘어 읽지 않습니다").arg(limit);
}

} // namespace SheetFiles

namespace SheetReader {

namespace {

SheetLimits& currentLimits() {
    static SheetLimits l;
    return l;
}

enum class Kind { Xlsx, Xls, Unknown };

Kind kindOf(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("파일을 열 수 없습니다: ") + path;
        return Kind::Unknown;
    }
    const QByteArray head = f.read(8);
    if (head.startsWith("PK\x03\x04")) return Kind::Xlsx;
    if (head == QByteArray::fromHex("d0cf11e0a1b11ae1")) return Kind::Xls;
    if (error) *error = QStringLiteral("엑셀화일(.xlsx, .xls)이 아닙니다: ") + path;
    return Kind::Unknown;
}

bool readAny(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
             QString* error, const SheetOptions& options) {
    switch (kindOf(path, error)) {
    case Kind::Xlsx:
        return SheetFiles::readXlsx(path, index, name, out, names, error, options);
    case Kind::Xls:
        return SheetFiles::readXls(path, index, name, out, names, error, options);
    case Kind::Unknown:
        break;
    }
    return false;
}

} // namespace

const SheetLimits& limits() { return currentLimits(); }
void setLimits(const SheetLimits& l) { currentLimits() = l; }

std::optional<SheetTable> read(const QString& path, int sheet, QString* error, const SheetOptions& options) {
    SheetTable t;
    QStringList names;
    if (sheet < 1) {
        if (error) *error = QStringLiteral("시트 번호가 올바르지 않습니다.");
        return std::nullopt;
    }
    if (!readAny(path, sheet - 1, QString(), &t, &names, error, options)) return std::nullopt;
    return t;
}

std::optional<SheetTable> read(const QString& path, const QString& sheetName, QString* error,
                               const SheetOptions& options) {
    SheetTable t;
    QStringList names;
    if (!readAny(path, -1, sheetName, &t, &names, error, options)) return std::nullopt;
    return t;
}

std::optional<QStringList> sheetNames(const QString& path, QString* error) {
    QStringList names;
    if (!readAny(path, -1, QString(), nullptr, &names, error, {})) return std::nullopt;
    return names;
}

} // namespace SheetReader
