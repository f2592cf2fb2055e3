#pragma once
#include "reports/ReportSelection.h"

#include <QStringList>

namespace Driver {

// The report selection options of `report list` into s; false (after
// printing why, rc set) on a bad option.
bool reportSelection(const QStringList& args, ReportSelection* s, int* rc);

} // namespace Driver
