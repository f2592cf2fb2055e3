#pragma once
#include <QString>

#include <functional>
#include <optional>

class QDateTime;
class QFileDialog;
class QWidget;

// Open and save dialogs. Tests and the driver install a picker that answers
// with a path (or nothing, for Cancel) instead of showing a dialog.
struct FileDialogSpec {
    enum class Mode { Open, Save, Folder };
    Mode mode = Mode::Open;
    QString title;
    QString filter;        // "엑셀화일|*.xls|모든화일|*.*" or Qt's "Text (*.txt);;All (*)"
    QString defaultSuffix; // added to a saved name typed without one
    QString fileName;      // proposed name
    QString folder;        // starting folder
    // A save dialog asks before an existing file is replaced; the exports
    // replace theirs without a question.
    bool confirmOverwrite = false;
};

namespace FileDialog {

// The chosen path, or nothing when the user cancelled.
std::optional<QString> pick(const FileDialogSpec& spec, QWidget* parent = nullptr);

using Picker = std::function<std::optional<QString>(const FileDialogSpec&)>;
// Replaces the dialogs; an empty function restores them.
void setPicker(Picker p);

// Makes Qt's own dialog speak as the program does: Korean sizes, kinds and
// yyyy-MM-dd dates whatever the system's locale, opened wide enough to show
// each file's name, size, kind and date. pick() does it to every dialog.
void dress(QFileDialog& dlg);
// A file's size and date as the dialogs show them.
QString sizeText(qint64 bytes);
QString dateText(const QDateTime& when);

// Turns the "name|mask|name|mask" filter form into Qt's; a name that
// already ends with its masks in brackets stands as it is.
QString qtFilter(const QString& filter);

} // namespace FileDialog
