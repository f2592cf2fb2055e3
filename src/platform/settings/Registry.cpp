#include "platform/settings/Registry.h"

#include "platform/settings/IniFile.h"

#include <QDir>
#include <QStandardPaths>

namespace {

IniFile openFile(bool* loaded = nullptr) {
    IniFile f(Registry::path(), IniFile::Encoding::Utf8);
    f.setFileMode(0600);
    const bool ok = f.load();
    if (loaded) *loaded = ok;
    return f;
}

// Opens the file for a change. A file that exists but cannot be read is
// never written: saving would replace every value in it by the one change.
std::optional<IniFile> openForWrite() {
    bool loaded = false;
    IniFile f = openFile(&loaded);
    if (!loaded) return std::nullopt;
    return f;
}

} // namespace

QString Registry::path() {
    const QByteArray env = qgetenv("ZQ_REGISTRY");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    QString base = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/TORVA/ZQSchool.ini");
}

bool Registry::keyExists(const QString& key) { return openFile().sections().contains(key, Qt::CaseInsensitive); }

bool Registry::valueExists(const QString& key, const QString& name) { return openFile().contains(key, name); }

QString Registry::readString(const QString& key, const QString& name) { return openFile().value(key, name); }

std::optional<int> Registry::readInteger(const QString& key, const QString& name) {
    IniFile f = openFile();
    if (!f.contains(key, name)) return std::nullopt;
    bool ok = false;
    int v = f.value(key, name).trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return v;
}

bool Registry::writeString(const QString& key, const QString& name, const QString& value) {
    std::optional<IniFile> f = openForWrite();
    if (!f) return false;
    f->setValue(key, name, value);
    return f->save();
}

bool Registry::writeInteger(const QString& key, const QString& name, int value) {
    return writeString(key, name, QString::number(value));
}

bool Registry::writeDefault(const QString& key, const QString& name, const QString& value) {
    std::optional<IniFile> f = openForWrite();
    if (!f || f->contains(key, name)) return false;
    f->setValue(key, name, value);
    return f->save();
}

bool Registry::deleteValue(const QString& key, const QString& name) {
    std::optional<IniFile> f = openForWrite();
    if (!f) return false;
    f->remove(key, name);
    return f->save();
}
