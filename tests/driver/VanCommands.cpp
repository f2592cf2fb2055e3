// zq-driver van logon|logoff: one VAN session against a given server,
// printing every message sent and received as a JSON line.
#include "driver/Driver.h"
#include "van/VanLink.h"
#include "van/VanSession.h"
#include "van/VanSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonObject>
#include <QTimer>

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

struct DriverHost : VanSessionHost {
    bool loggedOn = false;
    bool loggedOff = false;
    bool done = false;
    void vanStatus(const QString& t, VanColor c) override {
        Driver::print(
            {{QStringLiteral("status"), t},
             {QStringLiteral("color"), c == VanColor::Red ? QStringLiteral("red") : QStringLiteral("blue")}});
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
        Driver::print({{QStringLiteral("disconnected"), true}});
        done = true;
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
};

int runSession(const QStringList& argsIn, bool logOff) {
    QStringList args = argsIn;
    QString host, company, password;
    QString port;
    int timeoutMs = 0;
    while (!args.isEmpty()) {
        const QString opt = args.takeFirst();
        if (args.isEmpty()) return Driver::fail(QStringLiteral("missing value for ") + opt);
        const QString val = args.takeFirst();
        if (opt == QLatin1String("--host"))
            host = val;
        else if (opt == QLatin1String("--port"))
            port = val;
        else if (opt == QLatin1String("--company"))
            company = val;
        else if (opt == QLatin1String("--password"))
            password = val;
        else if (opt == QLatin1String("--timeout"))
            timeoutMs = val.toInt();
        else
            return Driver::fail(QStringLiteral("unknown option ") + opt);
    }
    if (host.isEmpty() || port.isEmpty()) {
        const VanSettings::Server s = VanSettings::readServer();
        if (host.isEmpty()) host = s.address;
        if (port.isEmpty()) port = s.portNo;
    }
    quint16 p = 0;
    if (!VanSettings::parsePort(port, &p)) return Driver::fail(QStringLiteral("bad port: ") + port);

    DriverHost h;
    VanLink link;
    TVanSession session(&h, &link);
    link.setSession(&session);
    session.LoadSettings();
    if (!company.isEmpty()) {
        session.FRegUxAut = 1;
        session.FRegSchCode = company;
        session.FRegUxPwd = password;
    }
    if (timeoutMs > 0) link.setReadTimeout(timeoutMs);
    bool connectFailed = false;
    QObject::connect(&link, &VanLink::connectFailed, [&](const QString& e) {
        Driver::print({{QStringLiteral("connectError"), e}});
        connectFailed = true;
    });
    link.connectTo(host, p);

    bool loggedOffSent = false;
    while (!h.done && !connectFailed) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (h.loggedOn && !logOff) break;
        if (h.loggedOn && logOff && !loggedOffSent) {
            loggedOffSent = true;
            session.LogOff();
        }
    }
    const bool ok = logOff ? h.loggedOff : h.loggedOn;
    link.setSession(nullptr);
    link.closeSilently();
    Driver::print(
        {{QStringLiteral("result"), ok ? (logOff ? QStringLiteral("loggedOff") : QStringLiteral("loggedOn"))
                                       : QStringLiteral("failed")}});
    return ok ? 0 : 1;
}

struct Registrar {
    Registrar() {
        Driver::addCommand(
            QStringLiteral("van"),
            QStringLiteral(
                "van logon|logoff [--host H] [--port P] [--company C --password P] [--timeout ms]"),
            [](const QStringList& args) {
                if (args.isEmpty()) return Driver::fail(QStringLiteral("van logon|logoff"));
                const QString what = args.first();
                if (what == QLatin1String("logon")) return runSession(args.mid(1), false);
                if (what == QLatin1String("logoff")) return runSession(args.mid(1), true);
                return Driver::fail(QStringLiteral("van logon|logoff"));
            });
    }
} registrar;

} // namespace
