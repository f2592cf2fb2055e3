#include "data/DMMain.h"

// Layout changes of older data folders, run at every start right after the
// table checks. Each step tests the layout it changes, so a second run does
// nothing.
bool TDMData::RunLayoutChanges() {
    bool ok = true;
    // M_SRFILE gained the item group of the file.
    if (Database::tableExists(QStringLiteral("M_SRFILE")) &&
        !Database::columns(QStringLiteral("M_SRFILE")).contains(QStringLiteral("Gcode"), Qt::CaseInsensitive))
        ok = Database::exec(QStringLiteral("ALTER TABLE \"M_SRFILE\" ADD COLUMN \"Gcode\" CHAR(2)")) && ok;
    return ok;
}
