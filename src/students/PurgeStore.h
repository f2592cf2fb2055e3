#pragma once
#include <QString>
#include <QStringList>

#include <functional>

// The purge of transferred-out students into the archive D_CUST and the
// restore of the latest purge batch. Each run is one transaction: every
// student moves whole (all roster columns) or nothing changes.

struct PurgeResult {
    enum class Outcome { Done, Nothing, Failed };
    Outcome outcome = Outcome::Nothing;
    int count = 0;
    QString batch;       // v_x00d of the batch written or restored
    QString list;        // SNo + Nm + "," per student, in order
    QStringList clashes; // restored students whose number another student holds: "SNo Nm"
    QString error;
};

namespace PurgeStore {

inline constexpr const char16_t* kPurgeMenu = u"전출생일괄삭제";
inline constexpr const char16_t* kRestoreMenu = u"전출생삭제복구";
// The job-log text keeps the list's first characters.
inline constexpr int kLogChars = 725;

// Called after each student copied, with the count so far and the total.
using Progress = std::function<void(int done, int total)>;

// Creates the archive when the data folder has none.
bool ensureArchive();

// Moves every transferred-out student (UseTy '0') into the archive,
// stamped with today as yyyy-mm-dd.
PurgeResult purge(const Progress& progress = {});

// The most recent batch (the greatest v_x00d); empty when there is none.
QString latestBatch();

// Brings the students of that batch back into the roster and removes them
// from the archive.
PurgeResult restore(const QString& batch, const Progress& progress = {});

} // namespace PurgeStore
