#include "platform/settings/IniFile.h"

#include "platform/text/Cp949.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

IniFile::IniFile(QString path, Encoding enc) : path_(std::move(path)), enc_(enc) {}

bool IniFile::load() {
    sections_.clear();
    QFile f(path_);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray raw = f.readAll();
    QString text = enc_ == Encoding::Cp949 ? Cp949::decode(raw) : QString::fromUtf8(raw);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    Section* cur = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';'))) continue;
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            const QString name = t.mid(1, t.size() - 2).trimmed();
            cur = find(name);
            if (!cur) {
                sections_.append(Section{name, {}});
                cur = &sections_.last();
            }
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || !cur) continue;
        const QString key = line.left(eq).trimmed();
        const QString val = line.mid(eq + 1);
        bool replaced = false;
        for (Entry& e : cur->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
                e.value = val;
                replaced = true;
            }
        if (!replaced) cur->entries.append(Entry{key, val});
    }
    return true;
}

bool IniFile::save() const {
    QString text;
    for (const Section& s : sections_) {
        text += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        for (const Entry& e : s.entries) text += e.key + QLatin1Char('=') + e.value + QLatin1String("\r\n");
        text += QLatin1String("\r\n");
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const QByteArray bytes = enc_ == Encoding::Cp949 ? Cp949::encode(text) : text.toUtf8();
    if (mode_ >= 0) return saveWithMode(bytes);
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

// The file is created with its mode, never wider for a moment: a settings
// file holds passwords.
bool IniFile::saveWithMode(const QByteArray& bytes) const {
    const QByteArray target = QFile::encodeName(path_);
    const QByteArray part = target + ".part";
    ::unlink(part.constData());
    const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode_));
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, mode_t(mode_)) == 0;
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (w <= 0) ok = false;
        else done += w;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(part.constData(), target.constData()) == 0;
    if (!ok) ::unlink(part.constData());
    return ok;
}

IniFile::Section* IniFile::find(const QString& section) {
    for (Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

const IniFile::Section* IniFile::find(const QString& section) const {
    for (const Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

bool IniFile::contains(const QString& section, const QString& key) const {
    const Section* s = find(section);
    if (!s) return false;
    for (const Entry& e : s->entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString IniFile::value(const QString& section, const QString& key, const QString& def) const {
    const Section* s = find(section);
    if (!s) return def;
    for (const Entry& e : s->entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) return e.value;
    return def;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    Section* s = find(section);
    if (!s) {
        sections_.append(Section{section, {}});
        s = &sections_.last();
    }
    for (Entry& e : s->entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.value = value;
            return;
        }
    s->entries.append(Entry{key, value});
}

void IniFile::remove(const QString& section, const QString& key) {
    Section* s = find(section);
    if (!s) return;
    s->entries.removeIf([&](const Entry& e) { return e.key.compare(key, Qt::CaseInsensitive) == 0; });
}

QStringList IniFile::sections() const {
    QStringList out;
    for (const Section& s : sections_) out << s.name;
    return out;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList out;
    if (const Section* s = find(section))
        for (const Entry& e : s->entries) out << e.key;
    return out;
}
