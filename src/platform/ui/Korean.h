#pragma once
#include <QIcon>

class QApplication;

// The program speaks Korean whatever the desktop's language: Qt's own
// dialogs (print, file, preview, calendar) take the Korean translation and
// locale. Dates keep the program's own yyyy-MM-dd formats.
namespace Korean {

// Sets the default locale and installs Qt's Korean translation. False when
// no translation could be loaded (the dialogs then stay in English).
bool useKorean(QApplication& app);

// The program's icon, drawn once: every window and the MDI children take it
// instead of the toolkit's logo.
QIcon programIcon();

} // namespace Korean
