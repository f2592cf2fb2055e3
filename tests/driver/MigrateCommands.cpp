#include "driver/Driver.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"

#include <QJsonArray>

namespace {

// The start-up conversions have run when the services were created on the
// root; this rebuilds the old collection round tables as the main window's
// activation does and reports the layout of every converted table.
int migrate(const QStringList&) {
    QJsonObject shared;
    for (const char* t : {"G_GROUP", "C_ITEM", "C_ACCT", "M_EXEMP", "M_CUST", "M_SRFILE"})
        shared.insert(QString::fromLatin1(t), int(Database::columns(QString::fromLatin1(t)).size()));
    Driver::print(QJsonObject{{QStringLiteral("shared"), shared}});

    const QStringList all = TDMData::RoundTablesToCheck();
    QJsonArray rebuilt;
    int failed = 0;
    bool ok = true;
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (!TDMData::RoundTableIsOld(*it)) continue;
        const RebuildResult r = DMData->RebuildRoundTable(*it);
        rebuilt.append(QJsonObject{{QStringLiteral("table"), *it},
                                   {QStringLiteral("ok"), r.ok},
                                   {QStringLiteral("rows"), r.rows},
                                   {QStringLiteral("copied"), r.copied},
                                   {QStringLiteral("failed"), r.failed}});
        failed += r.failed;
        ok = ok && r.ok;
    }
    Driver::print(QJsonObject{{QStringLiteral("roundTables"), int(all.size())},
                              {QStringLiteral("rebuilt"), rebuilt},
                              {QStringLiteral("failedRows"), failed},
                              {QStringLiteral("backups"),
                               QJsonArray::fromStringList(Database::listTables(QStringLiteral("bk_*")))}});
    return ok ? 0 : 1;
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(
            QStringLiteral("migrate"),
            QStringLiteral("migrate              convert old table layouts and rebuild old round tables"),
            migrate);
    }
} registrar;

} // namespace
