// VAN messages built, encrypted, sent, answered and decrypted per second
// against the local operator simulator (tests/support/van_sim.py).
#include "BenchSupport.h"

#include "platform/crypto/RsaSeed.h"
#include "van/VanMsg.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QByteArray readExactly(QTcpSocket& s, int n) {
    QByteArray out;
    while (out.size() < n) {
        if (s.bytesAvailable() == 0 && !s.waitForReadyRead(10000)) return {};
        out += s.read(n - out.size());
    }
    return out;
}

void BM_VanRoundTrip(benchmark::State& state) {
    benchInitApp();
    QTemporaryDir dir;
    const QString pub = dir.filePath(QStringLiteral("van_pub.pem"));
    QProcess sim;
    const QString script =
        QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../tests/support/van_sim.py");
    sim.start(QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                : QStringLiteral("python3"),
              {script, QStringLiteral("--public-key"), pub});
    QByteArray line;
    while (!line.contains('\n') && sim.waitForReadyRead(20000))
        line += sim.readAllStandardOutput();
    if (!line.startsWith("PORT ")) {
        state.SkipWithError("simulator did not start");
        return;
    }
    qputenv("ZQ_VAN_PUBKEY", pub.toLocal8Bit());

    QTcpSocket s;
    s.connectToHost(QStringLiteral("127.0.0.1"), quint16(line.mid(5).trimmed().toUInt()));
    s.waitForConnected(5000);
    s.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    RsaSeed seed;
    QByteArray block;
    if (seed.GetRSASeedKey(&block) != 1) {
        state.SkipWithError("no session key");
        return;
    }
    s.write(VanFrame::keyFrame(block));
    if (VanFrame::kindOf(readExactly(s, VanFrame::FrameSize)) != VanFrame::Kind::KeyOk) {
        state.SkipWithError("key refused");
        return;
    }
    VanMsgBuilder b;
    b.SessionCompCd = QStringLiteral("A123");
    b.MachineId = QStringLiteral("1A2B-3C4D");
    b.ProgVersion = QStringLiteral("3189");
    for (auto _ : state) {
        // A password change keeps the same password: one request, one reply.
        const TVanMsg m = b.PasswordChangeRequest(QStringLiteral("pw1234"), QStringLiteral("pw1234"));
        s.write(VanFrame::dataFrame(seed.rs_Encrypt(m.toBytes())));
        s.flush();
        const QByteArray frame = readExactly(s, VanFrame::FrameSize);
        const auto plain = seed.rs_Decrypt(VanFrame::body(frame));
        if (!plain) {
            state.SkipWithError("reply did not decrypt");
            break;
        }
        const TVanMsg reply = TVanMsg::fromBytes(*plain);
        benchmark::DoNotOptimize(reply.JobCode);
    }
    state.SetItemsProcessed(state.iterations());
    s.abort();
    sim.kill();
    sim.waitForFinished();
}
BENCHMARK(BM_VanRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The client's own share: build, encrypt, decrypt, parse.
void BM_VanBuildEncryptDecrypt(benchmark::State& state) {
    RsaSeed seed;
    seed.setSessionKey(QByteArray(16, 'k'), QByteArray(16, 'i'));
    VanMsgBuilder b;
    b.SessionCompCd = QStringLiteral("A123");
    for (auto _ : state) {
        const QByteArray c = seed.rs_Encrypt(b.LogOnRequest(QStringLiteral("pw1234")).toBytes());
        const auto p = seed.rs_Decrypt(c);
        benchmark::DoNotOptimize(TVanMsg::fromBytes(*p).JobCode);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VanBuildEncryptDecrypt);

} // namespace

BENCHMARK_MAIN();
