#include "platform/ui/Korean.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFileDialog>
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

TEST(Korean, ProgramIconIsDrawn) {
    const QIcon icon = Korean::programIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_FALSE(icon.pixmap(32, 32).isNull());
}
