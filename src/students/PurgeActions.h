#pragma once
#include "students/PurgeStore.h"

class QWidget;

// The roster's "일괄삭제" and "삭제자료복구" with their questions and boxes,
// for the window and the driver. caption is the window's caption. Each
// returns what was done (Nothing when the user said No or there was nothing).
namespace PurgeActions {

// Runs once the students were moved (or the run failed), before the closing
// box: the window hides its progress panel and searches again.
using Finish = std::function<void(const PurgeResult&)>;

PurgeResult outDel(const QString& caption, QWidget* parent, const PurgeStore::Progress& progress = {},
                   const Finish& finish = {});
PurgeResult dCancel(const QString& caption, QWidget* parent, const PurgeStore::Progress& progress = {},
                    const Finish& finish = {});

} // namespace PurgeActions
