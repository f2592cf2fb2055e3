#include "platform/ui/FormRegistry.h"

#include <QMap>

namespace {
QMap<QString, FormEntry>& entries() {
    static QMap<QString, FormEntry> e;
    return e;
}
} // namespace

namespace FormRegistry {
void add(const FormEntry& e) { entries().insert(e.unit, e); }
const FormEntry* find(const QString& unit) {
    auto it = entries().constFind(unit);
    return it == entries().constEnd() ? nullptr : &it.value();
}
QStringList units() { return entries().keys(); }
} // namespace FormRegistry
