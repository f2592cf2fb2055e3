#include "van/VanSettings.h"

#include "platform/settings/Registry.h"

#include <QStringList>

namespace VanSettings {

// The operator's endpoint is set per site in 통신환경설정; this only fills
// the field on a first start.
const char* const DefaultAddress = "van.torva.example";
const char* const DefaultPort = "29993";

namespace {
const QString kComm = QStringLiteral("Communication");
const QString kRecv = QStringLiteral("RecvFile");
} // namespace

Server readServer() {
    return {Registry::readString(kComm, QStringLiteral("Address")),
            Registry::readString(kComm, QStringLiteral("PortNo"))};
}

void writeServer(const Server& s) {
    Registry::writeString(kComm, QStringLiteral("Address"), s.address);
    Registry::writeString(kComm, QStringLiteral("PortNo"), s.portNo);
}

bool ensureServerDefaults() {
    if (Registry::keyExists(kComm)) return false;
    writeServer({QString::fromLatin1(DefaultAddress), QString::fromLatin1(DefaultPort)});
    return true;
}

bool parsePort(const QString& text, quint16* port) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok, 10);
    if (!ok || n <= 0 || n > 65535) return false;
    *port = quint16(n);
    return true;
}

namespace {
const QStringList& counterTypes() {
    static const QStringList kTypes = {QStringLiteral("000"), QStringLiteral("100"), QStringLiteral("200"),
                                       QStringLiteral("300"), QStringLiteral("400"), QStringLiteral("500"),
                                       QStringLiteral("600"), QStringLiteral("700"), QStringLiteral("800"),
                                       QStringLiteral("R00")};
    return kTypes;
}
} // namespace

void resetRecvCounters(const QString& todayYmd) {
    const QStringList& kTypes = counterTypes();
    const bool exists = Registry::keyExists(kRecv);
    if (exists && Registry::readString(kRecv, QStringLiteral("Date")) == todayYmd) {
        if (Registry::readString(kRecv, QStringLiteral("R00")).isEmpty())
            Registry::writeString(kRecv, QStringLiteral("R00"), QStringLiteral("0"));
        return;
    }
    Registry::writeString(kRecv, QStringLiteral("Date"), todayYmd);
    for (const QString& t : kTypes)
        Registry::writeString(kRecv, t, QStringLiteral("0"));
}

QString recvCounterName(const QString& fileType) {
    if (counterTypes().contains(fileType)) return fileType;
    return fileType.left(1) + QStringLiteral("00");
}

int takeRecvCounter(const QString& fileType, const QString& todayYmd) {
    resetRecvCounters(todayYmd);
    const QString name = recvCounterName(fileType);
    bool ok = false;
    int n = Registry::readString(kRecv, name).trimmed().toInt(&ok);
    if (!ok || n < 0) n = 0;
    ++n;
    Registry::writeString(kRecv, name, QString::number(n));
    return n;
}

QString recvCounterDigits(int value) {
    const QString d = QString::number(value);
    return value >= 100 ? d.left(2) : d.rightJustified(2, QLatin1Char('0'));
}

} // namespace VanSettings
