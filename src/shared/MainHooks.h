#pragma once
#include <QHash>
#include <QString>

#include <functional>

class QWidget;

// The seams between the main window and the units of the folders beside and
// below it, declared here so that neither includes the other. Each hook is
// set from a static initialiser by the unit that answers it; an unset hook is
// skipped.
struct MainHooks {
    // Start-up log-in when it is switched on; false ends the program.
    std::function<bool(QWidget* parent)> loginAtStart;
    // The notice pages on the first paint.
    std::function<void(QWidget* parent)> showNotices;
    // Closing: backupFirst is the answer Yes to the close question. Runs the
    // manual backup when asked, then the monthly automatic backup.
    std::function<void(QWidget* parent, bool backupFirst)> backupOnClose;
    // Menu items that run a routine instead of opening a form, by menu item
    // name: "MnuT102B00" (manual backup), "MnuT104B00" (data upload),
    // "MnuT201B00" / "MnuT202B00" (student exports), "MnuF403B00" (new-term
    // preparation and its form). A set action replaces the item's default
    // dispatch; an item without form or action stands disabled.
    QHash<QString, std::function<void(QWidget* parent)>> menuActions;

    // Set by the main window: makes sure of its own tables (item groups, the
    // school, the round titles), which an older backup may lack; the restore
    // runs it once the restored data is open.
    std::function<void()> checkTables;

    // Set by the main window, called by 학교등록 once the school's settings
    // are saved: the caption shows the company code at once.
    std::function<void()> schoolSaved;
};

MainHooks& mainHooks();
