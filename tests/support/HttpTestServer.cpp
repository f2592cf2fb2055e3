#include "support/HttpTestServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

namespace {

// Binds port 0 and prints the port it got, so there is no race for a port.
const char* kScript = R"PY(
import functools, http.server, os, sys
root, log, trunc_file = sys.argv[1], sys.argv[2], sys.argv[3]

class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        with open(log, 'a') as f:
            f.write(self.path + '\n')
        trunc = set()
        if os.path.exists(trunc_file):
            trunc = set(open(trunc_file).read().split())
        if self.path in trunc:
            data = open(os.path.join(root, self.path.lstrip('/')), 'rb').read()
            self.send_response(200)
            self.send_header('Content-Length', str(len(data)))
            self.end_headers()
            self.wfile.write(data[:len(data) // 2])
            self.wfile.flush()
            self.close_connection = True
            return
        super().do_GET()

    def log_message(self, *args):
        pass

srv = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=root))
print(srv.server_address[1], flush=True)
srv.serve_forever()
)PY";

} // namespace

HttpTestServer::HttpTestServer() {
    // The loopback server must never be reached through a proxy.
    qputenv("no_proxy", "127.0.0.1,localhost");
    qputenv("NO_PROXY", "127.0.0.1,localhost");
}

HttpTestServer::~HttpTestServer() {
    stop();
}

void HttpTestServer::put(const QString& relPath, const QByteArray& body) const {
    const QString p = dir_.path() + QLatin1Char('/') + relPath;
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(body);
}

bool HttpTestServer::start(QString* error) {
    proc_.setProcessChannelMode(QProcess::SeparateChannels);
    proc_.start(QStringLiteral("python3"),
                {QStringLiteral("-c"), QString::fromUtf8(kScript), dir_.path(),
                 state_.filePath(QStringLiteral("log")), state_.filePath(QStringLiteral("truncate"))});
    if (!proc_.waitForStarted(10000)) {
        if (error) *error = proc_.errorString();
        return false;
    }
    while (!proc_.canReadLine()) {
        if (!proc_.waitForReadyRead(10000)) {
            if (error) *error = QString::fromLocal8Bit(proc_.readAllStandardError());
            stop();
            return false;
        }
    }
    port_ = quint16(proc_.readLine().trimmed().toUInt());
    return port_ != 0;
}

void HttpTestServer::stop() {
    if (proc_.state() == QProcess::NotRunning) return;
    proc_.kill();
    proc_.waitForFinished(5000);
}

void HttpTestServer::truncate(const QStringList& paths) {
    QFile f(state_.filePath(QStringLiteral("truncate")));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(paths.join(QLatin1Char('\n')).toUtf8());
}

QStringList HttpTestServer::requests() const {
    QFile f(state_.filePath(QStringLiteral("log")));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString HttpTestServer::unreachableUrl() {
    // A port that was free a moment ago: nothing answers there.
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const quint16 port = s.serverPort();
    s.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}
