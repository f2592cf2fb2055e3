// zq-driver van ...: VAN sessions against a given server (log-on, log-off,
// the send list, uploads, file lists, downloads, notices, password change),
// printing every message sent and received as a JSON line.
#include "data/DMMain.h"
#include "driver/Driver.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"
#include "van/SendList.h"
#include "van/VanLink.h"
#include "van/VanSession.h"
#include "van/VanSettings.h"
#include "van/VanTransfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QTimer>

#include <functional>

namespace {

QJsonObject fields(const TVanMsg& m, bool fromServer) {
    auto f = [&m](const QByteArray& b) { return m.field(b); };
    return QJsonObject{{QStringLiteral("name"), VanJob::name(m.JobCode, fromServer)},
                       {QStringLiteral("BizKind"), f(m.BizKind)},
                       {QStringLiteral("JobCode"), f(m.JobCode)},
                       {QStringLiteral("SenderCode"), f(m.SenderCode)},
                       {QStringLiteral("ReceiverCode"), f(m.ReceiverCode)},
                       {QStringLiteral("SendTime"), f(m.SendTime)},
                       {QStringLiteral("RecCount"), f(m.RecCount)},
                       {QStringLiteral("BlockNo"), f(m.BlockNo)},
                       {QStringLiteral("RespCode"), f(m.RespCode)},
                       {QStringLiteral("DirFlag"), f(m.DirFlag)},
                       {QStringLiteral("AuxInfo"), f(m.AuxInfo)},
                       {QStringLiteral("MsgData"), f(m.MsgData).trimmed()}};
}

// The session window without a window: the list is a table, the timers
// fire at once, every box goes to the driver's answers.
struct DriverHost : VanSessionHost, VanTransferHost {
    bool loggedOn = false;
    bool loggedOff = false;
    bool done = false;
    bool errorResponse = false;
    bool listDone = false;
    bool passwordChanged = false;
    QStringList sent, received;
    TVanTransfer* transfer = nullptr;
    VanRowTable* grid = nullptr;

    void vanStatus(const QString& t, VanColor c) override {
        Driver::print(
            {{QStringLiteral("status"), t},
             {QStringLiteral("color"), c == VanColor::Red ? QStringLiteral("red") : QStringLiteral("blue")}});
        if (t == QStringLiteral(u"암호가 변경되었습니다!!")) passwordChanged = true;
    }
    void vanLog(const QString&) override {}
    void vanClearLog() override {}
    bool vanAskLogIn(QString*, QString*) override {
        // No dialog without a window: the log-on is given on the command line.
        Driver::print({{QStringLiteral("dialog"), QStringLiteral(u"로그인")},
                       {QStringLiteral("answer"), QStringLiteral("cancel")}});
        done = true;
        return false;
    }
    void vanLoggedOn() override { loggedOn = true; }
    void vanLoggedOff() override { loggedOff = true; }
    void vanDisconnected() override {
        if (transfer) transfer->abort();
        Driver::print({{QStringLiteral("disconnected"), true}});
        done = true;
    }
    void vanHideTransferPanel() override {
        errorResponse = true;
        listDone = true;
        if (transfer) transfer->abort();
    }
    void vanListEntries(const QByteArray& job, const QList<QByteArray>& entries) override {
        if (grid) VanAppendListRows(*grid, job, entries);
    }
    // The session says when the blocks stopped coming.
    void vanListComplete(const QByteArray&) override {
        Driver::print({{QStringLiteral("listComplete"), true}});
        listDone = true;
    }
    Exchange vanExchange(const TVanMsg& msg) override {
        return transfer ? transfer->handle(msg) : Exchange::Unknown;
    }
    void vanSent(const TVanMsg& m) override {
        QJsonObject o = fields(m, false);
        o.insert(QStringLiteral("sent"), true);
        Driver::print(o);
    }
    void vanReceived(const TVanMsg& m) override {
        QJsonObject o = fields(m, true);
        o.insert(QStringLiteral("received"), true);
        Driver::print(o);
    }

    // VanTransferHost
    void xferLabel(const QString&) override {}
    void xferShowPanel(int) override {}
    void xferProgress(int) override {}
    void xferHidePanel() override {}
    void xferStatus(const QString& t, VanColor c) override { vanStatus(t, c); }
    void xferSchedule(bool upload) override {
        QTimer::singleShot(0, [this, upload] {
            if (!transfer) return;
            if (upload)
                transfer->TmrSndTimer();
            else
                transfer->TmrRecvTimer();
        });
    }
    void xferShowNotice(const QString& path) override {
        QFile f(path);
        Driver::print(
            {{QStringLiteral("notice"), path},
             {QStringLiteral("text"), f.open(QIODevice::ReadOnly) ? Cp949::decode(f.readAll()) : QString()}});
    }
    void xferSent(const QString& name) override {
        sent << name;
        Driver::print({{QStringLiteral("confirmed"), name}});
    }
    void xferReceived(const QString& path, int count) override {
        received << QFileInfo(path).fileName();
        Driver::print({{QStringLiteral("file"), path}, {QStringLiteral("count"), count}});
    }
};

struct Options {
    QString host, port, company, password;
    int timeoutMs = 0;
    QStringList positional;
    QMap<QString, QString> extra; // options of the subcommand
};

// Session options anywhere; anything else starting with "--" takes a value
// and belongs to the subcommand.
bool parseOptions(const QStringList& argsIn, Options* o, QString* error) {
    QStringList args = argsIn;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (!a.startsWith(QLatin1String("--"))) {
            o->positional << a;
            continue;
        }
        if (args.isEmpty()) {
            *error = QStringLiteral("missing value for ") + a;
            return false;
        }
        const QString val = args.takeFirst();
        if (a == QLatin1String("--host"))
            o->host = val;
        else if (a == QLatin1String("--port"))
            o->port = val;
        else if (a == QLatin1String("--company"))
            o->company = val;
        else if (a == QLatin1String("--password"))
            o->password = val;
        else if (a == QLatin1String("--timeout"))
            o->timeoutMs = val.toInt();
        else
            o->extra.insert(a.mid(2), val);
    }
    return true;
}

// One logged-on session with its exchanges.
struct DriverSession {
    DriverHost h;
    VanLink link;
    TVanSession session{&h, &link};
    VanRowTable grid;
    SendFolderState sendState;
    TVanTransfer transfer{session, grid, h, sendState};
    bool connectFailed = false;

    DriverSession() {
        h.transfer = &transfer;
        h.grid = &grid;
    }
    ~DriverSession() {
        link.setSession(nullptr);
        link.closeSilently();
        // As the window does when it goes: merges that were not sent are undone.
        transfer.abort();
        SendFolder::UndoPendingMerges(sendState);
    }

    // Sleeps in the event loop until an event makes the condition hold (or
    // the connection ends); the link's read time-out bounds a silent server.
    bool wait(const std::function<bool()>& done) {
        QEventLoop loop;
        while (!h.done && !connectFailed && !done())
            loop.processEvents(QEventLoop::WaitForMoreEvents);
        return done();
    }

    // Connects and logs on; false (after printing why) when it did not.
    bool open(const Options& o) {
        QString host = o.host, port = o.port;
        if (host.isEmpty() || port.isEmpty()) {
            const VanSettings::Server s = VanSettings::readServer();
            if (host.isEmpty()) host = s.address;
            if (port.isEmpty()) port = s.portNo;
        }
        quint16 p = 0;
        if (!VanSettings::parsePort(port, &p)) {
            Driver::print({{QStringLiteral("error"), QStringLiteral("bad port: ") + port}});
            return false;
        }
        link.setSession(&session);
        session.LoadSettings();
        if (!o.company.isEmpty()) {
            session.FRegUxAut = 1;
            session.FRegSchCode = o.company;
            session.FRegUxPwd = o.password;
        }
        if (o.timeoutMs > 0) link.setReadTimeout(o.timeoutMs);
        QObject::connect(&link, &VanLink::connectFailed, [this](const QString& e) {
            Driver::print({{QStringLiteral("connectError"), e}});
            connectFailed = true;
        });
        link.connectTo(host, p);
        return wait([this] { return h.loggedOn; });
    }

    bool logOff() {
        if (!link.isConnected()) return false;
        session.LogOff();
        return wait([this] { return h.loggedOff; });
    }

    // A list request; waits until the session finds the list complete (or
    // an error, or the end of the connection).
    void list(const TVanMsg& request, int columns) {
        grid.reset(columns);
        h.listDone = false;
        session.SendVanMsg(request);
        wait([this] { return h.listDone; });
        for (int r = 0; r < grid.rowCount(); ++r)
            if (!grid.cell(r, 0).isEmpty())
                Driver::print({{QStringLiteral("row"), QJsonArray::fromStringList(rowCells(r))}});
    }

    QStringList rowCells(int r) const {
        QStringList cells;
        for (int c = 0; c < grid.columnCount(); ++c)
            cells << grid.cell(r, c);
        return cells;
    }

    // Ticks the rows named by 1-based numbers ("all" or empty: every
    // selectable row).
    void tick(const QString& rows, int markCol, bool resultsOnly) {
        const QStringList wanted = rows.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (int r = 0; r < grid.rowCount(); ++r) {
            if (grid.cell(r, 0).isEmpty()) continue;
            if (resultsOnly && grid.cell(r, 0) != QLatin1String("R")) continue;
            if (rows.isEmpty() || rows == QLatin1String("all") || wanted.contains(QString::number(r + 1)))
                grid.setCell(r, markCol, QStringLiteral(u"◎"));
        }
    }

    bool runTransfer(bool started) {
        if (!started) return false;
        wait([this] { return !transfer.running(); });
        return !h.errorResponse && !h.done;
    }
};

void printResult(bool ok, const QString& what, const QJsonObject& extra = {}) {
    QJsonObject o{{QStringLiteral("result"), ok ? what : QStringLiteral("failed")}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        o.insert(it.key(), it.value());
    Driver::print(o);
}

QStringList groupCodes() {
    QStringList codes;
    if (DMData)
        for (const QString& g : DMData->GroupTexts())
            codes << g.left(2);
    return codes;
}

void printSendList(const SendListResult& res) {
    for (const SendListRow& r : res.rows)
        Driver::print({{QStringLiteral("row"), QJsonArray::fromStringList(r.cells())}});
}

int runSession(const QStringList& args, bool logOff) {
    Options o;
    QString error;
    if (!parseOptions(args, &o, &error)) return Driver::fail(error);
    DriverSession s;
    bool ok = s.open(o);
    if (ok && logOff) ok = s.logOff();
    Driver::print(
        {{QStringLiteral("result"), ok ? (logOff ? QStringLiteral("loggedOff") : QStringLiteral("loggedOn"))
                                       : QStringLiteral("failed")}});
    return ok ? 0 : 1;
}

int sendList(const QStringList& args) {
    if (!args.isEmpty()) return Driver::fail(QStringLiteral("van send-list takes no arguments"));
    SendFolderState st;
    const SendListResult res = SendFolder::BuildSendList(st, groupCodes(), Clock::todayText());
    printSendList(res);
    // Nothing is sent: a merge made for the list is undone, as on closing
    // the window.
    SendFolder::UndoPendingMerges(st);
    printResult(!res.stopped, QStringLiteral("listed"), {{QStringLiteral("rows"), int(res.rows.size())}});
    return res.stopped ? 1 : 0;
}

int upload(const QStringList& args) {
    Options o;
    QString error;
    if (!parseOptions(args, &o, &error)) return Driver::fail(error);
    if (o.positional.isEmpty()) return Driver::fail(QStringLiteral("van upload FILE..."));
    DriverSession s;
    if (!s.open(o)) {
        printResult(false, {});
        return 1;
    }
    s.grid.reset(9);
    const SendListResult res = SendFolder::BuildSendList(s.sendState, groupCodes(), Clock::todayText());
    QStringList wanted;
    for (const SendListRow& r : res.rows) {
        s.grid.appendRow(r.cells());
        const QStringList sources = s.sendState.PendingMerges.value(r.FileName);
        bool tick = o.positional.contains(r.FileName);
        for (const QString& src : sources)
            tick = tick || o.positional.contains(src);
        if (tick) {
            s.grid.setCell(s.grid.rowCount() - 1, 8, QStringLiteral(u"◎"));
            wanted << r.FileName;
        }
    }
    printSendList(res);
    bool ok = s.runTransfer(s.transfer.BBtnFileSndClick());
    for (const QString& w : wanted)
        ok = ok && s.h.sent.contains(w);
    s.logOff();
    printResult(ok, QStringLiteral("sent"),
                {{QStringLiteral("files"), QJsonArray::fromStringList(s.h.sent)}});
    return ok ? 0 : 1;
}

int listFiles(const QStringList& args) {
    Options o;
    QString error;
    if (!parseOptions(args, &o, &error)) return Driver::fail(error);
    if (o.positional.size() != 3 ||
        (o.positional[0] != QLatin1String("R") && o.positional[0] != QLatin1String("S")))
        return Driver::fail(QStringLiteral("van list R|S FROM TO"));
    DriverSession s;
    if (!s.open(o)) {
        printResult(false, {});
        return 1;
    }
    s.list(s.session.builder.FileListRequest(o.positional[1], o.positional[2], o.positional[0]), 10);
    const bool ok = !s.h.errorResponse;
    s.logOff();
    printResult(ok, QStringLiteral("listed"));
    return ok ? 0 : 1;
}

int download(const QStringList& args) {
    Options o;
    QString error;
    if (!parseOptions(args, &o, &error)) return Driver::fail(error);
    if (o.positional.size() != 2)
        return Driver::fail(QStringLiteral("van download FROM TO [--rows all|N,N]"));
    DriverSession s;
    if (!s.open(o)) {
        printResult(false, {});
        return 1;
    }
    s.list(s.session.builder.FileListRequest(o.positional[0], o.positional[1], QStringLiteral("R")), 10);
    s.tick(o.extra.value(QStringLiteral("rows")), 9, true);
    int ticked = 0;
    for (int r = 0; r < s.grid.rowCount(); ++r)
        ticked += s.grid.marked(r, 9) ? 1 : 0;
    bool ok = !s.h.errorResponse && s.runTransfer(s.transfer.BBtnFileRecvClick());
    ok = ok && s.h.received.size() == ticked;
    s.logOff();
    printResult(ok, QStringLiteral("received"),
                {{QStringLiteral("files"), QJsonArray::fromStringList(s.h.received)}});
    return ok ? 0 : 1;
}

int notices(const QStringList& args) {
    Options o;
    QString error;
    if (!parseOptions(args, &o, &error)) return Driver::fail(error);
    DriverSession s;
    if (!s.open(o)) {
        printResult(false, {});
        return 1;
    }
    s.list(s.session.builder.NoticeListRequest(QStringLiteral("20020601"), Clock::todayText()), 5);
    bool ok = !s.h.errorResponse;
    if (ok && o.extra.contains(QStringLiteral("fetch"))) {
        s.tick(o.extra.value(QStringLiteral("fetch")), 4, false);
        // Each 공지파일수신 fetches the first notice still ticked.
        auto anyTicked = [&s] {
            for (int r = 0; r < s.grid.rowCount(); ++r)
                if (s.grid.marked(r, 4)) return true;
            return false;
        };
        while (ok && anyTicked())
            ok = s.runTransfer(s.transfer.BBtnGongjiFileClick());
    }
    s.logOff();
    printResult(ok, QStringLiteral("listed"),
                {{QStringLiteral("files"), QJsonArray::fromStringList(s.h.received)}});
    return ok ? 0 : 1;
}

int password(const QStringList& args) {
    Options o;
    QString error;
    if (!parseOptions(args, &o, &error)) return Driver::fail(error);
    if (o.positional.size() < 2 || o.positional.size() > 3)
        return Driver::fail(QStringLiteral("van password CURRENT NEW [CONFIRM]"));
    DriverSession s;
    if (!s.open(o)) {
        printResult(false, {});
        return 1;
    }
    const QString confirm = o.positional.value(2, o.positional[1]);
    bool ok = s.transfer.ChangePassword(o.positional[0], o.positional[1], confirm);
    if (ok) ok = s.wait([&s] { return s.h.passwordChanged || s.h.errorResponse; }) && s.h.passwordChanged;
    s.logOff();
    printResult(ok, QStringLiteral("changed"));
    return ok ? 0 : 1;
}

struct Registrar {
    Registrar() {
        Driver::addCommand(
            QStringLiteral("van"),
            QStringLiteral("van logon|logoff|send-list|upload FILE...|list R|S FROM TO|download FROM TO "
                           "[--rows all|N,N]|notices [--fetch all|N,N]|password CURRENT NEW [CONFIRM] "
                           "[--host H] [--port P] [--company C --password P] [--timeout ms]"),
            [](const QStringList& args) {
                const QString usage =
                    QStringLiteral("van logon|logoff|send-list|upload|list|download|notices|password");
                if (args.isEmpty()) return Driver::fail(usage);
                const QString what = args.first();
                const QStringList rest = args.mid(1);
                if (what == QLatin1String("logon")) return runSession(rest, false);
                if (what == QLatin1String("logoff")) return runSession(rest, true);
                if (what == QLatin1String("send-list")) return sendList(rest);
                if (what == QLatin1String("upload")) return upload(rest);
                if (what == QLatin1String("list")) return listFiles(rest);
                if (what == QLatin1String("download")) return download(rest);
                if (what == QLatin1String("notices")) return notices(rest);
                if (what == QLatin1String("password")) return password(rest);
                return Driver::fail(usage);
            });
    }
} registrar;

} // namespace
