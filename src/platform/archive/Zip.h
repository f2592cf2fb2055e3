#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// Zip archives as the backups use them: flat entry names (no folders), files
// taken in name order, extraction that refuses any name which could land
// outside the target folder.
namespace Zip {

struct Entry {
    QString name;   // name inside the archive, no folder part
    QString source; // file on disk
};

// Files directly in the folder (no sub-folders), sorted by name without
// regard to case.
QStringList folderFiles(const QString& folder);

// Adds the entries to the archive, creating it when missing; an entry whose
// name is already in the archive is replaced. The archive is written through
// a temporary file, so a failure leaves an existing archive as it was and
// makes no new one. With no entries and no archive, an empty archive is made.
bool add(const QString& archive, const QList<Entry>& entries, QString* error = nullptr);
// Every file of the folder under its own name.
bool addFolder(const QString& archive, const QString& folder, QString* error = nullptr);

// Entry names in archive order; false when the file is not a readable zip.
bool entries(const QString& archive, QStringList* names, QString* error = nullptr);

struct EntryStat {
    QString name;
    quint64 size = 0;           // uncompressed
    quint64 compressedSize = 0; // as stored
};
// Names and sizes of every entry, in archive order.
bool stats(const QString& archive, QList<EntryStat>* out, QString* error = nullptr);

// A name that may be extracted: not empty, no '/' or '\', not "." or "..",
// no drive letter.
bool isFlatName(const QString& name);

// Extracts every entry into the folder (which must exist). Every name is
// checked before anything is written; a name with a path, ".." or an
// absolute form refuses the whole archive. With only, just the entries of
// those names are written.
bool extractAll(const QString& archive, const QString& folder, QString* error = nullptr,
                const QStringList& only = {});

} // namespace Zip
