#include "driver/Driver.h"

#include "data/DMModule.h"
#include "frame/AutoUpdate.h"
#include "frame/Main.h"
#include "frame/Startup.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Korean.h"
#include "platform/ui/Msg.h"

#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QMap>

#include <cstdio>

namespace Driver {

namespace {

struct Entry {
    QString usage;
    Command command;
};

QMap<QString, Entry>& commands() {
    static QMap<QString, Entry> c;
    return c;
}

void registerBuiltins();

int usage() {
    std::fprintf(stderr,
                 "usage: zq-driver --root DIR [--today yyyymmdd] [--answers yes,no,...] COMMAND ...\n");
    for (auto it = commands().begin(); it != commands().end(); ++it)
        std::fprintf(stderr, "  %s\n", it.value().usage.toLocal8Bit().constData());
    return 2;
}

MsgResult parseAnswer(const QString& a, const MsgBox& box, bool* known) {
    *known = true;
    if (a == QLatin1String("yes")) return MsgResult::Yes;
    if (a == QLatin1String("no")) return MsgResult::No;
    if (a == QLatin1String("ok")) return MsgResult::Ok;
    if (a == QLatin1String("cancel")) return MsgResult::Cancel;
    *known = false;
    return box.buttons == MsgButtons::Ok      ? MsgResult::Ok
           : box.buttons == MsgButtons::YesNo ? MsgResult::No
                                              : MsgResult::Cancel;
}

} // namespace

void addCommand(const QString& name, const QString& usage, Command c) {
    commands().insert(name, Entry{usage, c});
}

namespace {

// "print roster ..." runs "print-roster" when no command "print" takes the
// whole line itself, so each area adds its own words to a shared verb.
QMap<QString, Entry>::const_iterator findCommand(const QString& name, QStringList* args) {
    auto it = commands().constFind(name);
    if (it == commands().constEnd() && !args->isEmpty()) {
        it = commands().constFind(name + QLatin1Char('-') + args->first());
        if (it != commands().constEnd()) args->removeFirst();
    }
    return it;
}

} // namespace

int runCommand(const QString& name, const QStringList& args) {
    QStringList rest = args;
    const auto it = findCommand(name, &rest);
    if (it == commands().constEnd()) return fail(QStringLiteral("unknown command ") + name);
    return it->command(rest);
}

QString opt(const QStringList& args, const QString& name, const QString& def) {
    const int i = args.indexOf(QStringLiteral("--") + name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : def;
}

QStringList listOpt(const QStringList& args, const QString& name) {
    const QString v = opt(args, name);
    return v.isEmpty() ? QStringList() : v.split(QLatin1Char(','));
}

void print(const QJsonObject& o) {
    const QByteArray line = QJsonDocument(o).toJson(QJsonDocument::Compact);
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int fail(const QString& text) {
    print(QJsonObject{{QStringLiteral("error"), text}});
    return 2;
}

int run(int argc, char** argv) {
    QApplication app(argc, argv);
    Korean::useKorean(app);
    QApplication::setWindowIcon(Korean::programIcon());
    registerBuiltins();
    QStringList args = app.arguments().mid(1);
    QString root;
    QString today;
    QStringList answers;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (args.isEmpty()) return usage();
        const QString val = args.takeFirst();
        if (opt == QLatin1String("--root"))
            root = val;
        else if (opt == QLatin1String("--today"))
            today = val;
        else if (opt == QLatin1String("--answers"))
            answers = val.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else
            return usage();
    }
    if (root.isEmpty() || args.isEmpty()) return usage();
    const QString name = args.takeFirst();
    const auto it = findCommand(name, &args);
    if (it == commands().constEnd()) return usage();

    if (!today.isEmpty()) {
        const QDate d = QDate::fromString(today, QStringLiteral("yyyyMMdd"));
        if (!d.isValid()) return fail(QStringLiteral("bad --today"));
        Clock::set(QDateTime(d, QTime(9, 0, 0)));
    }
    // When the list runs out, an information box is acknowledged and a
    // question is answered No (or Cancel), the safe choice.
    Msg::setHandler([&answers](const MsgBox& box) {
        bool known = false;
        MsgResult r = parseAnswer(answers.isEmpty() ? QString() : answers.takeFirst(), box, &known);
        print(QJsonObject{{QStringLiteral("box"), box.caption},
                          {QStringLiteral("text"), box.text},
                          {QStringLiteral("icon"), Msg::iconName(box.icon)},
                          {QStringLiteral("buttons"), Msg::buttonsName(box.buttons)},
                          {QStringLiteral("answer"), Msg::resultName(r)}});
        return r;
    });

    QDir().mkpath(root);
    QString error;
    if (!Startup::createServices(QDir(root).absolutePath(), &error)) return fail(error);
    const int rc = it.value().command(args);
    Startup::destroyServices();
    return rc;
}

namespace {

void registerBuiltins() {
    addCommand(QStringLiteral("init"),
               QStringLiteral("init                 create the data root and its tables"),
               [](const QStringList&) {
                   // The tables the main window makes sure of, too.
                   TFrmMain::CheckTables(ProgramTitle);
                   print(QJsonObject{{QStringLiteral("root"), DMLib->FDataDir},
                                     {QStringLiteral("machineId"), DMLib->FMachineId}});
                   return 0;
               });
}

} // namespace

} // namespace Driver
