#pragma once
#include <functional>

class QWidget;

// What the main window asks of units that live in other folders. Each unit
// sets its hook from a static initialiser; an unset hook is skipped.
struct MainHooks {
    // Start-up log-in when it is switched on; false ends the program.
    std::function<bool(QWidget* parent)> loginAtStart;
    // The notice pages on the first paint.
    std::function<void(QWidget* parent)> showNotices;
    // Closing: backupFirst is the answer Yes to the close question. Runs the
    // manual backup when asked, then the monthly automatic backup.
    std::function<void(QWidget* parent, bool backupFirst)> backupOnClose;
    // The tools menu's "자료백업" and "자료전송" (they open no form).
    std::function<void(QWidget* parent)> manualBackup;
    std::function<void(QWidget* parent)> dataUpload;
};

MainHooks& mainHooks();
