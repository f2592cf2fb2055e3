#include "platform/ui/FileDialog.h"
#include "platform/ui/Modal.h"
#include "support/Wait.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <gtest/gtest.h>

// The open and save dialogs on the office's 1366x768 screen: they fit it and
// their file list shows every file's name, size, kind and date whole, without
// scrolling sideways, for the widest values a folder of the office holds.

namespace {

void makeFile(const QString& path, qint64 size, const QDateTime& when) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(size));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

TEST(FileDialogFit, EveryColumnShowsWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("2026학년도 자료")));
    const QDateTime late(QDate(2026, 12, 28), QTime(23, 58));
    makeFile(dir.filePath(QStringLiteral("2026학년도 학생명부 (1학년 전체 반별 정리본).xlsx")), 1023 * 1024 - 1, late);
    makeFile(dir.filePath(QStringLiteral("StudentData.xls")), 999, late);
    makeFile(dir.filePath(QStringLiteral("26030104.201")), 1023LL * 1024 * 1024 - 1, late);

    for (const auto mode : {FileDialogSpec::Mode::Open, FileDialogSpec::Mode::Save}) {
        SCOPED_TRACE(mode == FileDialogSpec::Mode::Open ? "open" : "save");
        QStringList misfits;
        QSize size;
        int rows = 0;
        Modal::setRunner([&](QDialog* d) {
            auto* dlg = qobject_cast<QFileDialog*>(d);
            auto* tree = dlg ? dlg->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
            EXPECT_NE(tree, nullptr);
            if (!tree) return int(QDialog::Rejected);
            dlg->show();
            QAbstractItemModel* m = tree->model();
            const auto cell = [&](int r, int c) { return m->index(r, c, tree->rootIndex()).data().toString(); };
            EXPECT_TRUE(waitFor([&] {
                if (m->rowCount(tree->rootIndex()) != 4) return false;
                for (int r = 0; r < 4; ++r)
                    if (cell(r, 2) != QStringLiteral("폴더") && cell(r, 1).isEmpty()) return false;
                return true;
            }));
            QCoreApplication::processEvents();
            rows = m->rowCount(tree->rootIndex());
            const QFontMetrics fm(tree->font());
            const QFontMetrics hm(tree->header()->font());
            int total = 0;
            for (int c = 0; c < 4; ++c) {
                if (tree->isColumnHidden(c)) misfits << QStringLiteral("column %1 hidden").arg(c);
                const int width = tree->header()->sectionSize(c);
                total += width;
                const QString title = m->headerData(c, Qt::Horizontal).toString();
                if (hm.horizontalAdvance(title) > width) misfits << title;
                for (int r = 0; r < rows; ++r) {
                    // The name follows its icon.
                    const int need =
                        fm.horizontalAdvance(cell(r, c)) + (c == 0 ? tree->iconSize().width() + 8 : 0);
                    if (need > width)
                        misfits << QStringLiteral("%1 (%2 > %3)").arg(cell(r, c)).arg(need).arg(width);
                }
            }
            if (total > tree->viewport()->width())
                misfits << QStringLiteral("columns %1 > list %2").arg(total).arg(tree->viewport()->width());
            if (tree->horizontalScrollBar()->maximum() > 0) misfits << QStringLiteral("scrolls sideways");
            size = dlg->frameGeometry().size();
            return int(QDialog::Rejected);
        });
        FileDialogSpec spec;
        spec.mode = mode;
        spec.title = QStringLiteral("파일 선택");
        spec.folder = dir.path();
        spec.filter = QStringLiteral("모든화일|*.*");
        EXPECT_FALSE(FileDialog::pick(spec).has_value());
        Modal::setRunner({});

        EXPECT_EQ(rows, 4);
        EXPECT_TRUE(misfits.isEmpty()) << misfits.join(QStringLiteral(" | ")).toStdString();
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        EXPECT_LE(size.width(), screen.width());
        EXPECT_LE(size.height(), screen.height());
    }
}

} // namespace
