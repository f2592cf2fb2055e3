#include "frame/Startup.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"

#include <QFileInfo>

namespace Startup {

bool createServices(const QString& dataRoot, QString* error) {
    const QFileInfo root(dataRoot);
    if (!root.isDir() || !root.isWritable()) {
        if (error) *error = dataRoot;
        return false;
    }
    DMLib = new TDMLib(dataRoot);
    DMData = new TDMData();
    if (!DMData->DMDataCreate(error)) {
        destroyServices();
        return false;
    }
    DMBankLib = new TDMBankLib();
    return true;
}

void destroyServices() {
    delete DMBankLib;
    DMBankLib = nullptr;
    delete DMData;
    DMData = nullptr;
    delete DMLib;
    DMLib = nullptr;
}

} // namespace Startup
