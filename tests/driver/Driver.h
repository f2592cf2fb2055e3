#pragma once
#include <QJsonObject>
#include <QStringList>

#include <functional>

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

} // namespace Driver
