#include "transfers/collection/MealItems.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"

#include <QDir>

namespace MealItems {

namespace {
const QString kKey = QStringLiteral("SchoolInfo");
const QString kTable = QStringLiteral("D_ITEM");
} // namespace

QString defaultFolder() {
    const QString root = DMLib ? DMLib->FDataDir : QDir::currentPath();
    return QDir(root).absolutePath() + QStringLiteral("/hxls/");
}

Settings read() {
    const std::optional<int> use = Registry::readInteger(kKey, QStringLiteral("UxAutS"));
    if (use && Registry::valueExists(kKey, QStringLiteral("UxHxls")))
        return Settings{*use == 1, Registry::readString(kKey, QStringLiteral("UxHxls"))};
    const Settings d{false, defaultFolder()};
    write(d);
    return d;
}

bool write(const Settings& s) {
    return Registry::writeInteger(kKey, QStringLiteral("UxAutS"), s.use ? 1 : 0) &&
           Registry::writeString(kKey, QStringLiteral("UxHxls"), s.folder);
}

bool ensureTable(QString* error) {
    if (Database::tableExists(kTable)) {
        Query q(QStringLiteral("SELECT COUNT(*) FROM \"D_ITEM\""));
        if (q.exec()) return true;
    }
    return Database::createTable(TableDef{kTable,
                                          {FieldDef{QStringLiteral("itemcd"), FieldType::Text, 2},
                                           FieldDef{QStringLiteral("itemnm"), FieldType::Text, 10},
                                           FieldDef{QStringLiteral("itemtp"), FieldType::Text, 1}},
                                          {},
                                          {}},
                                 true, error);
}

QList<Item> chosen() {
    QList<Item> out;
    if (!Database::tableExists(kTable)) return out;
    Query q(QStringLiteral("SELECT itemcd, itemnm, itemtp FROM \"D_ITEM\" ORDER BY itemcd"));
    if (q.exec())
        while (q.next())
            out << Item{q.str(0), q.str(1), q.str(2)};
    return out;
}

QList<Item> available(const QList<Item>& chosen) {
    QList<Item> out;
    Query q(QStringLiteral("SELECT ItemCd, ItemNm FROM C_ITEM ORDER BY ItemCd"));
    if (!q.exec()) return out;
    while (q.next()) {
        const QString code = q.str(0);
        bool taken = false;
        for (const Item& c : chosen)
            if (c.code.trimmed() == code.trimmed()) taken = true;
        if (!taken) out << Item{code, q.str(1), QString()};
    }
    return out;
}

bool save(const QList<Item>& rows, QString* error) {
    if (!ensureTable(error)) return false;
    Transaction tx;
    if (!tx.ok()) {
        if (error) *error = QStringLiteral("BEGIN");
        return false;
    }
    Query del(QStringLiteral("DELETE FROM \"D_ITEM\""));
    if (!del.exec()) {
        if (error) *error = del.error();
        return false;
    }
    for (const Item& r : rows) {
        if (r.code.trimmed().isEmpty()) continue; // an empty row would match nothing
        if (!Database::insertRow(kTable,
                                 {{QStringLiteral("itemcd"), r.code.trimmed()},
                                  {QStringLiteral("itemnm"), r.name.trimmed()},
                                  {QStringLiteral("itemtp"), kindLetter(r.kind.trimmed())}},
                                 error))
            return false;
    }
    if (!tx.commit()) {
        if (error) *error = QStringLiteral("COMMIT");
        return false;
    }
    return true;
}

QString kindLetter(const QString& typed) {
    if (typed.isEmpty()) return {};
    return typed.left(1).toUpper();
}

} // namespace MealItems
