#include "driver/Driver.h"

#include "data/DMModule.h"
#include "frame/AutoUpdate.h"
#include "frame/Main.h"
#include "frame/Startup.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Korean.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "platform/ui/TextViewer.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMap>

#include <cstdio>
#include <optional>

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

QStringList& answers() {
    static QStringList a;
    return a;
}

QStringList& files() {
    static QStringList f;
    return f;
}

std::optional<QString> pickFile(const FileDialogSpec& spec) {
    const QString next = files().isEmpty() ? QString() : files().takeFirst();
    const bool cancel = next.isEmpty() || next == QLatin1String("cancel");
    const QString path = cancel ? QString() : QFileInfo(next).absoluteFilePath();
    print(QJsonObject{{QStringLiteral("dialog"), spec.title},
                      {QStringLiteral("proposed"), spec.fileName},
                      {QStringLiteral("answer"), cancel ? QStringLiteral("cancel") : path}});
    if (cancel) return std::nullopt;
    return path;
}

int usage() {
    std::fprintf(stderr,
                 "usage: zq-driver --root DIR [--today yyyymmdd] [--answers yes,no,...] [--file PATH]... "
                 "COMMAND ...\n");
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

// When the list runs out, an information box is acknowledged and a question
// is answered No (or Cancel), the safe choice.
MsgResult answer(const MsgBox& box) {
    bool known = false;
    const MsgResult r = parseAnswer(answers().isEmpty() ? QString() : answers().takeFirst(), box, &known);
    print(QJsonObject{{QStringLiteral("box"), box.caption},
                      {QStringLiteral("text"), box.text},
                      {QStringLiteral("icon"), Msg::iconName(box.icon)},
                      {QStringLiteral("buttons"), Msg::buttonsName(box.buttons)},
                      {QStringLiteral("answer"), Msg::resultName(r)}});
    return r;
}

int runModal(QDialog* dialog) {
    if (auto* viewer = qobject_cast<TextViewer*>(dialog)) {
        print(QJsonObject{{QStringLiteral("viewer"), viewer->windowTitle()},
                          {QStringLiteral("text"), viewer->text()}});
        viewer->accept();
        return viewer->result();
    }
    print(QJsonObject{{QStringLiteral("dialog"), dialog->windowTitle()},
                      {QStringLiteral("class"), QString::fromLatin1(dialog->metaObject()->className())},
                      {QStringLiteral("answer"), QStringLiteral("cancel")}});
    dialog->reject();
    return dialog->result();
}

void queueFile(const QString& path) {
    files().prepend(path);
}

int run(int argc, char** argv) {
    QApplication app(argc, argv);
    Korean::useKorean(app);
    QApplication::setWindowIcon(Korean::programIcon());
    registerBuiltins();
    QStringList args = app.arguments().mid(1);
    QString root;
    QString today;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (args.isEmpty()) return usage();
        const QString val = args.takeFirst();
        if (opt == QLatin1String("--root"))
            root = val;
        else if (opt == QLatin1String("--today"))
            today = val;
        else if (opt == QLatin1String("--answers"))
            answers() = val.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (opt == QLatin1String("--file"))
            files() << val;
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
    Msg::setHandler(answer);
    // No window is ever shown: every dialog is scripted.
    Modal::setRunner(runModal);
    FileDialog::setPicker(pickFile);

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
