#include "frame/Startup.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "frame/StartRepair.h"

#include <QFileInfo>

namespace Startup {

// Checked before anything is created, so that a root the program cannot
// write to is left exactly as it was.
static bool usableRoot(const QString& dataRoot, QString* error) {
    const QFileInfo root(dataRoot);
    const QFileInfo data(dataRoot + QStringLiteral("/data"));
    const QFileInfo db(dataRoot + QStringLiteral("/data/school.db"));
    QString bad;
    if (!root.isDir() || !root.isWritable())
        bad = root.filePath();
    else if (data.exists() && (!data.isDir() || !data.isWritable()))
        bad = data.filePath();
    else if (db.exists() && (!db.isFile() || !db.isWritable()))
        bad = db.filePath();
    if (bad.isEmpty()) return true;
    if (error) *error = bad;
    return false;
}

bool createServices(const QString& dataRoot, QString* error) {
    if (!usableRoot(dataRoot, error)) return false;
    const bool alone = StartRepair::takeRootLock(dataRoot);
    if (alone) StartRepair::beforeOpen(dataRoot);
    DMLib = new TDMLib(dataRoot);
    DMData = new TDMData();
    if (!DMData->DMDataCreate(error)) {
        destroyServices();
        return false;
    }
    DMBankLib = new TDMBankLib();
    if (alone) StartRepair::afterOpen(DMLib->FDataDir);
    return true;
}

void destroyServices() {
    delete DMBankLib;
    DMBankLib = nullptr;
    delete DMData;
    DMData = nullptr;
    delete DMLib;
    DMLib = nullptr;
    StartRepair::releaseRootLock();
}

} // namespace Startup
