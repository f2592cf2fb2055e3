// Upload and download of a 36,000-record 200-byte file against the local
// operator simulator (tests/support/van_sim.py): 9,000 blocks each way, every
// one encrypted, sent, answered and decrypted.
#include "BenchSupport.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/ui/Msg.h"
#include "van/SendList.h"
#include "van/VanLink.h"
#include "van/VanSession.h"
#include "van/VanTransfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRecords = 36000;

QByteArray requestFile() {
    QByteArray out;
    out.reserve((kRecords + 2) * 202);
    out += QByteArray("S999011").leftJustified(200, ' ') + "\r\n";
    for (int i = 1; i <= kRecords; ++i)
        out += ("D" + QByteArray::number(i).rightJustified(7, '0')).leftJustified(200, 'd') + "\r\n";
    out += QByteArray("E").leftJustified(200, ' ') + "\r\n";
    return out;
}

struct Host : VanSessionHost, VanTransferHost {
    TVanTransfer* transfer = nullptr;
    bool loggedOn = false, gone = false;
    void vanStatus(const QString&, VanColor) override {}
    void vanLog(const QString&) override {}
    void vanClearLog() override {}
    bool vanAskLogIn(QString*, QString*) override { return false; }
    void vanLoggedOn() override { loggedOn = true; }
    void vanLoggedOff() override {}
    void vanDisconnected() override {
        gone = true;
        transfer->abort();
    }
    void vanHideTransferPanel() override { transfer->abort(); }
    Exchange vanExchange(const TVanMsg& m) override { return transfer->handle(m); }
    void xferLabel(const QString&) override {}
    void xferShowPanel(int) override {}
    void xferProgress(int) override {}
    void xferHidePanel() override {}
    void xferStatus(const QString&, VanColor) override {}
    void xferSchedule(bool upload) override {
        QTimer::singleShot(0,
                           [this, upload] { upload ? transfer->TmrSndTimer() : transfer->TmrRecvTimer(); });
    }
    void xferShowNotice(const QString&) override {}
};

// The simulator as a child process, and one logged-on session.
struct Rig {
    QTemporaryDir dir;
    QProcess sim;
    Host host;
    VanRowTable grid;
    SendFolderState state;
    std::unique_ptr<VanLink> link;
    std::unique_ptr<TVanSession> session;
    std::unique_ptr<TVanTransfer> transfer;
    QString error;

    bool start(const QStringList& options) {
        const QString pub = dir.filePath(QStringLiteral("van_pub.pem"));
        const QString script = QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                               QStringLiteral("/../tests/support/van_sim.py");
        sim.start(QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                    : QStringLiteral("python3"),
                  QStringList{script, QStringLiteral("--public-key"), pub} + options);
        QByteArray line;
        while (!line.contains('\n') && sim.waitForReadyRead(20000))
            line += sim.readAllStandardOutput();
        if (!line.startsWith("PORT ")) {
            error = QStringLiteral("simulator did not start");
            return false;
        }
        qputenv("ZQ_VAN_PUBKEY", pub.toLocal8Bit());
        Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 1);
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"),
                              QStringLiteral("A123"));
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxPwd"),
                              QStringLiteral("pw1234"));
        link = std::make_unique<VanLink>();
        session = std::make_unique<TVanSession>(&host, link.get());
        transfer = std::make_unique<TVanTransfer>(*session, grid, host, state);
        host.transfer = transfer.get();
        link->setSession(session.get());
        link->setReadTimeout(20000);
        session->LoadSettings();
        link->connectTo(QStringLiteral("127.0.0.1"), quint16(line.mid(5).trimmed().toUInt()));
        if (!waitFor([this] { return host.loggedOn; })) {
            error = QStringLiteral("no log-on");
            return false;
        }
        return true;
    }
    bool waitFor(const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && !host.gone && t.elapsed() < 600000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return done();
    }
    ~Rig() {
        transfer.reset();
        session.reset();
        link.reset();
        sim.kill();
        sim.waitForFinished();
    }
};

void BM_VanUpload36000(benchmark::State& state) {
    benchInitApp();
    BenchRoot root;
    Msg::setHandler([](const MsgBox&) { return MsgResult::Ok; });
    Rig rig;
    if (!rig.start({})) {
        state.SkipWithError(rig.error.toStdString().c_str());
        return;
    }
    const QByteArray content = requestFile();
    const QString name = QStringLiteral("26030111.201");
    for (auto _ : state) {
        state.PauseTiming();
        QFile f(DMLib->dir(QStringLiteral("send")) + name);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        f.close();
        rig.grid.reset(9);
        rig.grid.appendRow({QStringLiteral("S"),
                            QStringLiteral("0011"),
                            QStringLiteral("200"),
                            QString::number(kRecords),
                            name,
                            QStringLiteral("20990101"),
                            {},
                            {},
                            QStringLiteral(u"◎")});
        state.ResumeTiming();
        rig.transfer->BBtnFileSndClick();
        if (!rig.waitFor([&rig] { return !rig.transfer->running(); }) ||
            !QFile::exists(DMLib->dir(QStringLiteral("sback")) + name)) {
            state.SkipWithError("upload did not complete");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.SetBytesProcessed(state.iterations() * content.size());
    Msg::setHandler({});
}
BENCHMARK(BM_VanUpload36000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_VanDownload36000(benchmark::State& state) {
    benchInitApp();
    BenchRoot root;
    Msg::setHandler([](const MsgBox&) { return MsgResult::Ok; });
    QTemporaryDir files;
    const QString result = files.filePath(QStringLiteral("result.txt"));
    const QByteArray content = requestFile();
    {
        QFile f(result);
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }
    Rig rig;
    if (!rig.start({QStringLiteral("--result-file"), result})) {
        state.SkipWithError(rig.error.toStdString().c_str());
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString& f : QDir(DMLib->dir(QStringLiteral("recv"))).entryList(QDir::Files))
            QFile::remove(DMLib->dir(QStringLiteral("recv")) + f);
        rig.grid.reset(10);
        rig.grid.appendRow({QStringLiteral("R"), QStringLiteral("0011"), QStringLiteral("200"),
                            QStringLiteral("20260316"), QStringLiteral("090000"), QStringLiteral("091000"),
                            QString::number(kRecords), QStringLiteral("001"), QStringLiteral("0000"),
                            QStringLiteral(u"◎")});
        state.ResumeTiming();
        rig.transfer->BBtnFileRecvClick();
        if (!rig.waitFor([&rig] { return !rig.transfer->running(); }) ||
            QDir(DMLib->dir(QStringLiteral("recv"))).entryList(QDir::Files).size() != 1) {
            state.SkipWithError("download did not complete");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * (kRecords + 2));
    state.SetBytesProcessed(state.iterations() * content.size());
    Msg::setHandler({});
}
BENCHMARK(BM_VanDownload36000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

BENCHMARK_MAIN();
