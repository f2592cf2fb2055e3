#pragma once
#include <QString>

// Creation of the long-lived objects in their order: TDMLib (fixes the data
// root), TDMData (the database), TDMBankLib. The main window follows in the
// program entry.
namespace Startup {

// False (and a reason) when the data root cannot be used; nothing is left
// half-made then.
bool createServices(const QString& dataRoot, QString* error);
void destroyServices();

} // namespace Startup
