#pragma once
#include <QString>

class QWidget;

// The tools menu's backup and upload, and the backups on closing, with their
// questions and message boxes. The work is done by DataBackup.
namespace BackupMenu {

// "자료백업": the work-protection question, then the backup archive and its
// external copy. True when the backup was made and copied.
bool MnuT102B00Click(QWidget* mainWindow);
// Closing: the automatic backup once a month; silent.
void MonthlyBackup();
// "자료전송": the upload package, then the FTP upload. True on success.
bool MnuT104B00Click(QWidget* mainWindow);

// The work-protection question ("모두" or, with variant, "모드").
QString workProtectionText(bool variant);
// Closes every work window of the main window's MDI area.
void closeAllChildren(QWidget* mainWindow);

// The remote folders and the connect/response limit of the upload.
inline constexpr int kFtpTimeoutMs = 20000;

} // namespace BackupMenu
