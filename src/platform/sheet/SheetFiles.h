#pragma once
#include "platform/sheet/SheetReader.h"

// The two file formats behind SheetReader. A sheet is picked by its
// position (0-based) when name is empty, else by name; with out == nullptr
// only the names are read.
namespace SheetFiles {

bool readXlsx(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
              QString* error);
bool readXls(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
             QString* error);

} // namespace SheetFiles
