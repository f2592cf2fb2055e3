#include "platform/ui/Msg.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
Msg::Handler& handler() {
    static Msg::Handler h;
    return h;
}
} // namespace

namespace Msg {

void setHandler(Handler h) {
    handler() = std::move(h);
}
bool hasHandler() {
    return static_cast<bool>(handler());
}

MsgResult show(const QString& caption, const QString& text, MsgIcon icon, MsgButtons buttons, QWidget* parent,
               bool defaultNo) {
    if (handler()) return handler()(MsgBox{caption, text, icon, buttons, defaultNo});

    QWidget* owner = parent ? parent : QApplication::activeWindow();
    // A box asked for before its window is on the screen (the first start's
    // questions) is centred on the screen, not on where the window will be.
    if (owner && !owner->isVisible()) owner = nullptr;
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    // The program's texts separate lines with carriage returns.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (buttons) {
    case MsgButtons::Ok:
        ok = box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
        box.setEscapeButton(ok);
        break;
    case MsgButtons::OkCancel:
        ok = box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("취소"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        break;
    case MsgButtons::YesNo:
        yes = box.addButton(QStringLiteral("예"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("아니오"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        break;
    case MsgButtons::YesNoCancel:
        yes = box.addButton(QStringLiteral("예"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("아니오"), QMessageBox::NoRole);
        cancel = box.addButton(QStringLiteral("취소"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        break;
    }
    if (defaultNo && no) box.setDefaultButton(no);
    box.exec();
    QAbstractButton* c = box.clickedButton();
    if (c && c == yes) return MsgResult::Yes;
    if (c && c == no) return MsgResult::No;
    if (c && c == ok) return MsgResult::Ok;
    if (buttons == MsgButtons::YesNo) return MsgResult::No;
    if (buttons == MsgButtons::Ok) return MsgResult::Ok;
    return MsgResult::Cancel;
}

void error(const QString& caption, const QString& text, QWidget* parent) {
    show(caption, text, MsgIcon::Error, MsgButtons::Ok, parent);
}
void info(const QString& caption, const QString& text, QWidget* parent) {
    show(caption, text, MsgIcon::Information, MsgButtons::Ok, parent);
}
void warning(const QString& caption, const QString& text, QWidget* parent) {
    show(caption, text, MsgIcon::Warning, MsgButtons::Ok, parent);
}
bool askYesNo(const QString& caption, const QString& text, QWidget* parent, MsgIcon icon, bool defaultNo) {
    return show(caption, text, icon, MsgButtons::YesNo, parent, defaultNo) == MsgResult::Yes;
}

QString iconName(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None:
        return QStringLiteral("none");
    case MsgIcon::Information:
        return QStringLiteral("information");
    case MsgIcon::Warning:
        return QStringLiteral("warning");
    case MsgIcon::Error:
        return QStringLiteral("error");
    case MsgIcon::Question:
        return QStringLiteral("question");
    }
    return {};
}

QString resultName(MsgResult r) {
    switch (r) {
    case MsgResult::Ok:
        return QStringLiteral("ok");
    case MsgResult::Cancel:
        return QStringLiteral("cancel");
    case MsgResult::Yes:
        return QStringLiteral("yes");
    case MsgResult::No:
        return QStringLiteral("no");
    }
    return {};
}

QString buttonsName(MsgButtons b) {
    switch (b) {
    case MsgButtons::Ok:
        return QStringLiteral("ok");
    case MsgButtons::OkCancel:
        return QStringLiteral("ok,cancel");
    case MsgButtons::YesNo:
        return QStringLiteral("yes,no");
    case MsgButtons::YesNoCancel:
        return QStringLiteral("yes,no,cancel");
    }
    return {};
}

} // namespace Msg
