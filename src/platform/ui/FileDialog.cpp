#include "platform/ui/FileDialog.h"

#include "platform/ui/Modal.h"

#include <QFileDialog>
#include <QStringList>

namespace {
FileDialog::Picker& picker() {
    static FileDialog::Picker p;
    return p;
}
} // namespace

namespace FileDialog {

QString qtFilter(const QString& filter) {
    if (!filter.contains(QLatin1Char('|'))) return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts.at(i) + QStringLiteral(" (") + QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                   QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}

std::optional<QString> pick(const FileDialogSpec& spec, QWidget* parent) {
    if (picker()) return picker()(spec);
    QFileDialog dlg(parent, spec.title, spec.folder, qtFilter(spec.filter));
    const bool save = spec.mode == FileDialogSpec::Mode::Save;
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!spec.defaultSuffix.isEmpty()) dlg.setDefaultSuffix(spec.defaultSuffix);
    if (!spec.fileName.isEmpty()) dlg.selectFile(spec.fileName);
    // Qt's own dialog, so it looks and sizes the same on every desktop; a
    // chosen existing file is replaced without a question, as the exports
    // have always done.
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (Modal::exec(&dlg) != QDialog::Accepted) return std::nullopt;
    const QStringList files = dlg.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first();
}

void setPicker(Picker p) { picker() = std::move(p); }

} // namespace FileDialog
