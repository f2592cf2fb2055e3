#pragma once
#include "platform/sheet/SheetReader.h"

// The two file formats behind SheetReader. A sheet is picked by its
// position (0-based) when name is empty, else by name; with out == nullptr
// only the names are read. Both keep the columns of `options` only and
// refuse what goes past SheetReader::limits().
namespace SheetFiles {

bool readXlsx(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
              QString* error, const SheetOptions& options);
bool readXls(const QString& path, int index, const QString& name, SheetTable* out, QStringList* names,
             QString* error, const SheetOptions& options);

// The refusal texts, naming the limit.
QString tooManyRows(int limit);
QString tooMuchText(qint64 limit);
QString cellTooLong(int limit);

} // namespace SheetFiles
