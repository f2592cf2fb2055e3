#include "platform/ui/FileDialog.h"
#include "platform/ui/Korean.h"
#include "platform/ui/Modal.h"
#include "support/Wait.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include <gtest/gtest.h>

// The test executables start as the program does (Korean whatever LANG
// says), so Qt's own dialogs are judged here as the office sees them.

TEST(Korean, CalendarAndDefaultLocale) {
    EXPECT_EQ(QLocale().language(), QLocale::Korean);
    QCalendarWidget calendar;
    EXPECT_EQ(calendar.locale().monthName(12), QStringLiteral("12월"));
    EXPECT_EQ(calendar.locale().dayName(1, QLocale::ShortFormat), QStringLiteral("월"));
}

TEST(Korean, FileDialogSpeaksKorean) {
    QFileDialog d(nullptr, QString(), QDir::tempPath());
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList english{QStringLiteral("Look in:"), QStringLiteral("File name:"), QStringLiteral("&Save"),
                              QStringLiteral("Save"), QStringLiteral("Cancel"), QStringLiteral("Files of type:")};
    QStringList seen;
    for (const QLabel* l : d.findChildren<QLabel*>()) seen << l->text();
    for (const QPushButton* b : d.findChildren<QPushButton*>()) seen << b->text();
    for (const QString& e : english) EXPECT_FALSE(seen.contains(e)) << e.toStdString();
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const QString& t) {
        return std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; });
    })) << seen.join(QLatin1Char('|')).toStdString();
}

// The file list words sizes, the folder kind and dates as the program does,
// whatever the system's locale says (the screen test checks that every column
// shows whole on the office's screen).
TEST(Korean, FileDialogListsSizesKindsAndDatesInKorean) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("자료")));
    {
        QFile f(dir.filePath(QStringLiteral("명부.xlsx")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1500, 'x'));
        ASSERT_TRUE(f.flush());
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2025, 12, 11), QTime(9, 5)), QFileDevice::FileModificationTime));
    }
    QStringList titles;
    QHash<QString, QStringList> rows; // by name: size, kind, date
    Modal::setRunner([&](QDialog* d) {
        auto* dlg = qobject_cast<QFileDialog*>(d);
        auto* tree = dlg ? dlg->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
        EXPECT_NE(tree, nullptr);
        if (!tree) return int(QDialog::Rejected);
        EXPECT_EQ(dlg->locale().language(), QLocale::Korean);
        EXPECT_EQ(dlg->viewMode(), QFileDialog::Detail);
        dlg->show();
        QAbstractItemModel* m = tree->model();
        const auto cell = [&](int r, int c) { return m->index(r, c, tree->rootIndex()).data().toString(); };
        EXPECT_TRUE(waitFor([&] {
            if (m->rowCount(tree->rootIndex()) != 2) return false;
            for (int r = 0; r < 2; ++r)
                if (cell(r, 0) == QStringLiteral("명부.xlsx") && cell(r, 1).isEmpty()) return false;
            return true;
        }));
        for (int c = 0; c < 4; ++c)
            titles << m->headerData(c, Qt::Horizontal).toString();
        for (int r = 0; r < m->rowCount(tree->rootIndex()); ++r)
            rows.insert(cell(r, 0), {cell(r, 1), cell(r, 2), cell(r, 3)});
        return int(QDialog::Rejected);
    });
    FileDialogSpec spec;
    spec.title = QStringLiteral("열기");
    spec.folder = dir.path();
    EXPECT_FALSE(FileDialog::pick(spec).has_value());
    Modal::setRunner({});

    EXPECT_EQ(titles, (QStringList{QStringLiteral("이름"), QStringLiteral("크기"), QStringLiteral("형식"),
                                   QStringLiteral("수정한 날짜")}));
    ASSERT_EQ(rows.size(), 2);
    const QStringList folder = rows.value(QStringLiteral("자료"));
    ASSERT_EQ(folder.size(), 3);
    EXPECT_EQ(folder.at(0), QString());
    EXPECT_EQ(folder.at(1), QStringLiteral("폴더"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d$")).match(folder.at(2)).hasMatch())
        << folder.at(2).toStdString();
    const QStringList sheet = rows.value(QStringLiteral("명부.xlsx"));
    ASSERT_EQ(sheet.size(), 3);
    EXPECT_EQ(sheet.at(0), QStringLiteral("1.5 kB"));
    EXPECT_EQ(sheet.at(2), QStringLiteral("2025-12-11 09:05"));
    for (const QString& t : titles + folder + sheet)
        for (const char* english : {"Folder", "bytes", "Dec"})
            EXPECT_FALSE(t.contains(QLatin1String(english))) << t.toStdString();

    // Sizes from bytes to gigabytes, each in Korean.
    EXPECT_EQ(FileDialog::sizeText(0), QStringLiteral("0 바이트"));
    EXPECT_EQ(FileDialog::sizeText(1023), QStringLiteral("1,023 바이트"));
    EXPECT_EQ(FileDialog::sizeText(5LL * 1024 * 1024 * 1024), QStringLiteral("5.0 GB"));
}

TEST(Korean, ProgramIconIsDrawn) {
    const QIcon icon = Korean::programIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_FALSE(icon.pixmap(32, 32).isNull());
}
