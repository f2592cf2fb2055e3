#include "platform/sheet/SheetReader.h"

#include "platform/sheet/SheetFiles.h"
#include "platform/sheet/SheetValue.h"

#include <QFile>

QVariant SheetTable::value(int row, int col) const {
    if (row < 1 || row > rows_.size()) return {};
    const QList<QVariant>& r = rows_.at(row - 1);
    if (col < 1 || col > r.size()) return {};
    return r.at(col - 1);
}

QString SheetTable::text(int row, int col) const {
    const QVariant v = value(row, col);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::Double:
        return SheetValue::numberText(v.toDouble());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    default:
        return v.toString();
    }
}

int SheetTable::regionRows() const {
    for (int r = 0; r < rows_.size(); ++r) {
        bool any = false;
        for (const QVariant& v : rows_.at(r))
            if (v.isValid()) {
                any = true;
                break;
            }
        if (!any) return r;
    }
    return int(rows_.size());
}

void SheetTable::set(int row, int col, const QVariant& v) {
    if (row < 1 || col < 1 || !v.isValid()) return;
    if (v.typeId() == QMetaType::QString && v.toString().isEmpty()) return;
    while (rows_.size() < row) rows_.append(QList<QVariant>());
    QList<QVariant>& r = rows_[row - 1];
    while (r.size() < col) r.append(QVariant());
    r[col - 1] = v;
    cols_ = std::max(cols_, col);
}

namespace SheetReader {

namespace {

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
             QString* error) {
    switch (kindOf(path, error)) {
    case Kind::Xlsx:
        return SheetFiles::readXlsx(path, index, name, out, names, error);
    case Kind::Xls:
        return SheetFiles::readXls(path, index, name, out, names, error);
    case Kind::Unknown:
        break;
    }
    return false;
}

} // namespace

std::optional<SheetTable> read(const QString& path, int sheet, QString* error) {
    SheetTable t;
    QStringList names;
    if (sheet < 1) {
        if (error) *error = QStringLiteral("시트 번호가 올바르지 않습니다.");
        return std::nullopt;
    }
    if (!readAny(path, sheet - 1, QString(), &t, &names, error)) return std::nullopt;
    return t;
}

std::optional<SheetTable> read(const QString& path, const QString& sheetName, QString* error) {
    SheetTable t;
    QStringList names;
    if (!readAny(path, -1, sheetName, &t, &names, error)) return std::nullopt;
    return t;
}

std::optional<QStringList> sheetNames(const QString& path, QString* error) {
    QStringList names;
    if (!readAny(path, -1, QString(), nullptr, &names, error)) return std::nullopt;
    return names;
}

} // namespace SheetReader
