#include "platform/ui/FileDialog.h"

#include "platform/ui/Modal.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QListView>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStringList>
#include <QTreeView>

#include <algorithm>

namespace {
FileDialog::Picker& picker() {
    static FileDialog::Picker p;
    return p;
}

// The file list's columns as the toolkit numbers them.
enum Column { ColName = 0, ColSize = 1, ColKind = 2, ColDate = 3 };

QLocale korean() {
    return QLocale(QLocale::Korean, QLocale::SouthKorea);
}

// The file model words sizes, the folder kind and dates after the system's
// locale; the program speaks Korean and writes dates yyyy-MM-dd whatever the
// system's locale is.
class KoreanFileModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return QIdentityProxyModel::data(index, role);
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files) return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        switch (index.column()) {
        case ColSize:
            return files->isDir(source) ? QString() : FileDialog::sizeText(files->size(source));
        case ColKind:
            if (files->isDir(source)) return QStringLiteral("폴더");
            break;
        case ColDate:
            return FileDialog::dateText(files->lastModified(source));
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// Widths that show every column whole: the date and size columns for their
// widest text, the kind column for the longest kinds the office meets, and
// room for a long file name.
void sizeColumns(QFileDialog& dlg) {
    auto* tree = dlg.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!tree) return;
    const QFontMetrics fm(tree->font());
    const int pad = 2 * fm.horizontalAdvance(QLatin1Char('M'));
    const auto widest = [&](const QStringList& texts) {
        int w = 0;
        for (const QString& t : texts)
            w = std::max(w, fm.horizontalAdvance(t));
        return w + pad;
    };
    QHeaderView* header = tree->header();
    const auto title = [&](int c) { return tree->model()->headerData(c, Qt::Horizontal).toString(); };
    header->setStretchLastSection(false);
    // Room for a name of some thirty Korean syllables beside its icon.
    header->resizeSection(ColName, std::max(widest({title(ColName)}), 30 * fm.horizontalAdvance(QChar(0xAC00)) +
                                                                          tree->iconSize().width()));
    header->resizeSection(ColSize, widest({title(ColSize), FileDialog::sizeText(999),
                                           FileDialog::sizeText(1023 * 1024 - 1),
                                           FileDialog::sizeText(1023LL * 1024 * 1024 - 1)}));
    header->resizeSection(ColKind, widest({title(ColKind), QStringLiteral("폴더"), QStringLiteral("Excel 2007 스프레드시트"),
                                           QStringLiteral("DOS/Windows 실행 파일")}));
    header->resizeSection(ColDate, widest({title(ColDate), FileDialog::dateText(QDateTime(QDate(2026, 12, 28),
                                                                                          QTime(20, 58)))}));
    // Once the folder is read, a longer kind widens its column, and a longer
    // name takes what room the list has left.
    const auto* proxy = qobject_cast<const QAbstractProxyModel*>(tree->model());
    if (auto* files = proxy ? qobject_cast<QFileSystemModel*>(proxy->sourceModel()) : nullptr) {
        QObject::connect(files, &QFileSystemModel::directoryLoaded, tree, [tree] {
            QHeaderView* h = tree->header();
            const auto grow = [&](int c, int most) {
                const int before = h->sectionSize(c);
                tree->resizeColumnToContents(c);
                h->resizeSection(c, std::clamp(h->sectionSize(c), before, std::max(before, most)));
            };
            for (const int c : {ColSize, ColKind, ColDate})
                grow(c, h->sectionSize(c) * 2);
            grow(ColName, tree->viewport()->width() - h->sectionSize(ColSize) - h->sectionSize(ColKind) -
                              h->sectionSize(ColDate));
        });
    }

    int columns = 0;
    for (const int c : {ColName, ColSize, ColKind, ColDate})
        columns += header->sectionSize(c);
    columns += tree->verticalScrollBar()->sizeHint().width() + 2 * tree->frameWidth() + 4;
    int side = 0;
    if (auto* sidebar = dlg.findChild<QListView*>(QStringLiteral("sidebar")))
        side = std::max(sidebar->sizeHint().width(), 16 * fm.horizontalAdvance(QLatin1Char('x')));
    if (auto* splitter = dlg.findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({side, columns});
    // The margins and the splitter's handle around the two lists.
    int width = side + columns + 40;
    int height = 26 * fm.height();
    if (const QScreen* screen = dlg.screen() ? dlg.screen() : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        width = std::min(width, room.width() - 20);
        height = std::min(height, room.height() - 60);
    }
    dlg.resize(std::max(width, dlg.sizeHint().width()), std::max(height, dlg.sizeHint().height()));
}

} // namespace

namespace FileDialog {

QString qtFilter(const QString& filter) {
    if (!filter.contains(QLatin1Char('|'))) return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString masks = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString bracketed = QLatin1Char('(') + masks + QLatin1Char(')');
        out << (parts.at(i).endsWith(bracketed) ? parts.at(i) : parts.at(i) + QLatin1Char(' ') + bracketed);
    }
    return out.join(QStringLiteral(";;"));
}

std::optional<QString> pick(const FileDialogSpec& spec, QWidget* parent) {
    if (picker()) return picker()(spec);
    QFileDialog dlg(parent, spec.title, spec.folder, qtFilter(spec.filter));
    // Qt's own dialog, so it looks and sizes the same on every desktop.
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dress(dlg);
    const bool save = spec.mode == FileDialogSpec::Mode::Save;
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (spec.mode == FileDialogSpec::Mode::Folder) {
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly, true);
    }
    if (!spec.defaultSuffix.isEmpty()) dlg.setDefaultSuffix(spec.defaultSuffix);
    if (!spec.fileName.isEmpty()) dlg.selectFile(spec.fileName);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
    if (Modal::exec(&dlg) != QDialog::Accepted) return std::nullopt;
    const QStringList files = dlg.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first();
}

QString sizeText(qint64 bytes) {
    return korean().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString dateText(const QDateTime& when) {
    return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

void dress(QFileDialog& dlg) {
    dlg.setLocale(korean());
    dlg.setViewMode(QFileDialog::Detail);
    dlg.setProxyModel(new KoreanFileModel(&dlg));
    sizeColumns(dlg);
}

void setPicker(Picker p) { picker() = std::move(p); }

} // namespace FileDialog
