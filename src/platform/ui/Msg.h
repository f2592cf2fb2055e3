#pragma once
#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, so that tests and the
// driver can answer them.
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MsgBox {
    QString caption;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // Questions whose Yes cannot be undone default to No.
    bool defaultNo = false;
};

namespace Msg {

// Shows a box and returns the button pressed (Korean button texts).
MsgResult show(const QString& caption, const QString& text, MsgIcon icon = MsgIcon::None,
               MsgButtons buttons = MsgButtons::Ok, QWidget* parent = nullptr, bool defaultNo = false);

// Short forms for the common kinds.
void error(const QString& caption, const QString& text, QWidget* parent = nullptr);
void info(const QString& caption, const QString& text, QWidget* parent = nullptr);
void warning(const QString& caption, const QString& text, QWidget* parent = nullptr);
bool askYesNo(const QString& caption, const QString& text, QWidget* parent = nullptr,
              MsgIcon icon = MsgIcon::Question, bool defaultNo = false);

// Replaces the real boxes (tests, the headless driver). Pass an empty
// function to restore them.
using Handler = std::function<MsgResult(const MsgBox&)>;
void setHandler(Handler h);
bool hasHandler();

// Names used in logs and JSON.
QString iconName(MsgIcon icon);
QString resultName(MsgResult r);
QString buttonsName(MsgButtons b);

} // namespace Msg
