#pragma once
#include "platform/ui/Msg.h"

#include <QJsonObject>
#include <QStringList>

#include <functional>

class QDialog;

// The headless test driver: runs the program's services on a data root
// without any window, answers message boxes from a list and prints every box
// (and every result) as one JSON line.
namespace Driver {

int run(int argc, char** argv);

// A subcommand gets its arguments (after the command word) and returns the
// exit code.
using Command = std::function<int(const QStringList& args)>;
void addCommand(const QString& name, const QString& usage, Command c);
// Runs a registered command (one command word handing over to another);
// fails when there is none of that name.
int runCommand(const QString& name, const QStringList& args);

// The value after "--name" in args, or def.
QString opt(const QStringList& args, const QString& name, const QString& def = QString());
// The comma-separated values after "--name"; empty when absent.
QStringList listOpt(const QStringList& args, const QString& name);

// Prints one JSON line on standard output.
void print(const QJsonObject& o);
// Prints {"error": text} and returns 2.
int fail(const QString& text);

// Answers a box (or a dialog that asks like one) with the next --answers
// value and prints it as a box line; what every message box goes through.
MsgResult answer(const MsgBox& box);

// The runner of modal dialogs a command has not scripted itself: a text
// viewer prints {"viewer": title, "text": ...} and is closed; any other
// dialog prints {"dialog": title, "class": ...} and is cancelled, so no
// command ever waits for a window nobody sees. A command that scripts its
// own dialogs hands the others to it and puts it back when done.
int runModal(QDialog* dialog);

// File dialogs are answered from --file options in order (an empty value or
// "cancel" is Cancel; none left is Cancel); each dialog prints
// {"dialog": title, "proposed": name, "answer": path}. A command that takes
// its file as an argument queues it first.
void queueFile(const QString& path);

} // namespace Driver
