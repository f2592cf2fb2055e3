#include "frame/Main.h"
#include "platform/ui/Browser.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "shared/MainHooks.h"
#include "support/TestRoot.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTextEdit>

// Every form the menus can open, shown on the office's 1366x768 screen: the
// window fits the screen and every visible control can be reached (inside
// its window, or inside a scroll area that brings it into view). Forms added
// later are covered through the form registry.
//
// ZQ_SCREEN_SHOTS=DIR saves each window as DIR/<unit>.png.

namespace {

const QSize kOffice(1366, 768);

bool isControl(const QWidget* w) {
    if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
        qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
        qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QTextEdit*>(w) ||
        qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QGroupBox*>(w))
        return true;
    if (auto* l = qobject_cast<const QLabel*>(w)) return !l->text().trimmed().isEmpty();
    return false;
}

// Controls that belong to another control (a combo box's line edit, an
// item view's editor, the MDI frame's own buttons) are judged with it.
bool partOfAnother(const QWidget* w, const QWidget* top) {
    for (const QWidget* p = w->parentWidget(); p && p != top; p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractItemView*>(p) ||
            qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QMdiSubWindow*>(p))
            return true;
    return false;
}

QString describe(const QWidget* w) {
    QString text;
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        text = b->text();
    else if (auto* l = qobject_cast<const QLabel*>(w))
        text = l->text();
    else if (auto* g = qobject_cast<const QGroupBox*>(w))
        text = g->title();
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text);
}

// Where the control is cut off, or an empty string when all of it can be
// brought into view.
QString cutOff(const QWidget* w, const QWidget* top, const QRect& screen) {
    QRect r = w->rect();
    const QWidget* cur = w;
    while (cur != top) {
        const QWidget* p = cur->parentWidget();
        if (!p) return QStringLiteral("not inside its window");
        // Content of a scroll area is reached by scrolling; the area itself must show.
        if (auto* area = qobject_cast<const QScrollArea*>(p->parentWidget()); area && p == area->viewport()) {
            if (!cur->rect().contains(r)) return QStringLiteral("outside its scroll area's content");
            r = area->rect();
            cur = area;
            continue;
        }
        const QRect inParent = r.translated(cur->pos());
        if (!p->rect().contains(inParent))
            return QStringLiteral("cut off by %1 (%2,%3 %4x%5 in %6x%7)")
                .arg(describe(p))
                .arg(inParent.x())
                .arg(inParent.y())
                .arg(inParent.width())
                .arg(inParent.height())
                .arg(p->width())
                .arg(p->height());
        r = inParent;
        cur = p;
    }
    const QRect global(top->mapToGlobal(r.topLeft()), r.size());
    if (!screen.contains(global))
        return QStringLiteral("off the screen at %1,%2 %3x%4")
            .arg(global.x())
            .arg(global.y())
            .arg(global.width())
            .arg(global.height());
    return {};
}

QStringList faultsOf(const QWidget* window, const QRect& screen) {
    QStringList faults;
    const QWidget* top = window->window();
    if (!screen.contains(top->frameGeometry()))
        faults << QStringLiteral("window %1,%2 %3x%4 does not fit the screen")
                      .arg(top->frameGeometry().x())
                      .arg(top->frameGeometry().y())
                      .arg(top->frameGeometry().width())
                      .arg(top->frameGeometry().height());
    const QList<QWidget*> all = window->findChildren<QWidget*>();
    for (const QWidget* w : all) {
        if (!w->isVisibleTo(top) || !isControl(w) || partOfAnother(w, window)) continue;
        const QString why = cutOff(w, top, screen);
        if (!why.isEmpty()) faults << describe(w) + QStringLiteral(": ") + why;
    }
    return faults;
}

// What a clerk would see as foreign in a window: a date edit whose separator
// is not the program's "-", a grid header left as a column name.
QStringList clerkFaultsOf(const QWidget* window) {
    QStringList faults;
    for (const QLineEdit* e : window->findChildren<QLineEdit*>())
        if (e->inputMask().contains(QLatin1Char('/')))
            faults << QStringLiteral("%1 shows \"/\" in %2").arg(e->objectName(), e->displayText());
    static const QRegularExpression columnName(QStringLiteral("^(?=.*[a-z])(?=.*[A-Z])[A-Za-z0-9_]+$"));
    for (const QTableWidget* g : window->findChildren<QTableWidget*>())
        for (int c = 0; c < g->columnCount(); ++c)
            if (const QTableWidgetItem* h = g->isColumnHidden(c) ? nullptr : g->horizontalHeaderItem(c);
                h && columnName.match(h->text()).hasMatch())
                faults << QStringLiteral("%1 header \"%2\"").arg(g->objectName(), h->text());
    return faults;
}

void shoot(QWidget* w, const QString& unit) {
    const QString dir = qEnvironmentVariable("ZQ_SCREEN_SHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    w->window()->grab().save(dir + QLatin1Char('/') + unit + QStringLiteral(".png"));
}

class ScreenFit : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        // Boxes and sub-dialogs a form may raise while opening are not judged here.
        msg.allowUnexpected(true);
        Modal::setRunner([](QDialog*) { return int(QDialog::Rejected); });
        Browser::setOpener([](const QString&) { return true; });
        savedHooks_ = mainHooks();
        mainHooks() = MainHooks{};
    }
    void TearDown() override {
        mainHooks() = savedHooks_;
        Browser::setOpener({});
        Modal::setRunner({});
        TestRoot::TearDown();
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

private:
    MainHooks savedHooks_;
};

TEST_F(ScreenFit, TheScreenIsTheOfficeOne) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), kOffice)
        << "the screen test needs QT_QPA_PLATFORM=offscreen:configfile=support/screen-1366x768.json";
}

TEST_F(ScreenFit, MainWindowOpensInsideTheScreen) {
    TFrmMain main;
    main.ShowOnScreen();
    QApplication::processEvents();
    EXPECT_TRUE(screen().contains(main.frameGeometry()))
        << main.frameGeometry().x() << "," << main.frameGeometry().y() << " " << main.frameGeometry().width()
        << "x" << main.frameGeometry().height();
    const QStringList faults = faultsOf(&main, screen());
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    shoot(&main, QStringLiteral("Main"));
}

TEST_F(ScreenFit, EveryRegisteredFormFits) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), kOffice);
    const QStringList units = FormRegistry::units();
    ASSERT_FALSE(units.isEmpty());
    TFrmMain main;
    main.ShowOnScreen();
    QApplication::processEvents();
    for (const QString& unit : units) {
        SCOPED_TRACE(unit.toStdString());
        const FormEntry* e = FormRegistry::find(unit);
        ASSERT_TRUE(e && e->create);
        if (e->mode == FormEntry::Mode::WorkWindow) {
            main.CloseAllChildren();
            QApplication::processEvents();
            QWidget* w = e->create(main.mdiArea());
            if (!w) continue;
            auto* sub = qobject_cast<QMdiSubWindow*>(w);
            if (!sub) sub = main.mdiArea()->addSubWindow(w);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            sub->showMaximized();
            QApplication::processEvents();
            EXPECT_FALSE(sub->windowIcon().isNull()) << "a maximized window shows the toolkit's logo";
            const QStringList faults = faultsOf(w, screen()) + clerkFaultsOf(w);
            EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
            shoot(w, unit);
            main.CloseAllChildren();
            QApplication::processEvents();
        } else {
            QWidget* w = e->create(&main);
            if (!w) continue;
            w->show();
            QApplication::processEvents();
            const QStringList faults = faultsOf(w, screen()) + clerkFaultsOf(w);
            EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
            shoot(w, unit);
            w->hide();
            delete w;
            QApplication::processEvents();
        }
    }
}

} // namespace
