#include "platform/settings/IniFile.h"

#include "platform/text/Cp949.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

IniFile::IniFile(QString path, Encoding enc) : path_(std::move(path)), enc_(enc) {}

namespace {

int hangulCount(const QString& s) {
    int n = 0;
    for (QChar c : s)
        if (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3) ++n;
    return n;
}

bool isAscii(const QByteArray& b) {
    for (char c : b)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// The text of the file as its writer meant it.
QString decodeFile(const QByteArray& raw, IniFile::Encoding enc) {
    if (raw.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(raw.mid(3));
    // UTF-16 by its mark, or without one by the zero byte beside the first
    // character (text of any other encoding holds no zero byte).
    const bool markLe = raw.startsWith("\xFF\xFE"), markBe = raw.startsWith("\xFE\xFF");
    const bool bareLe = raw.size() >= 2 && raw[0] != 0 && raw[1] == 0;
    const bool bareBe = raw.size() >= 2 && raw[0] == 0 && raw[1] != 0;
    if (markLe || markBe || bareLe || bareBe) {
        const bool le = markLe || bareLe;
        QString s;
        s.reserve(raw.size() / 2);
        for (qsizetype i = markLe || markBe ? 2 : 0; i + 1 < raw.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(raw[le ? i : i + 1]);
            const auto hi = static_cast<unsigned char>(raw[le ? i + 1 : i]);
            s += QChar(char16_t(hi << 8 | lo));
        }
        return s;
    }
    if (enc == IniFile::Encoding::Utf8 || isAscii(raw)) return QString::fromUtf8(raw);
    // Without a mark: valid UTF-8 is read as UTF-8, unless the bytes read as
    // CP949 give more Hangul (a few CP949 syllables also form valid UTF-8).
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(raw);
    bool cpOk = false;
    const QString asCp949 = Cp949::decode(raw, &cpOk);
    if (!utf8.hasError() && (!cpOk || hangulCount(asUtf8) >= hangulCount(asCp949))) return asUtf8;
    return asCp949;
}

QString sizeRefusal(const QString& path) {
    return QStringLiteral("설정파일이 너무 큽니다. (최대 %1 MB)\r\n%2")
        .arg(IniFile::MaxBytes / (1024 * 1024))
        .arg(path);
}

} // namespace

bool IniFile::load() {
    sections_.clear();
    error_.clear();
    unread_ = false;
    QFile f(path_);
    if (!f.exists()) return true;
    auto refuse = [&](const QString& why) {
        error_ = why;
        unread_ = true;
        return false;
    };
    if (!f.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("설정파일을 읽을 수 없습니다.\r\n") + path_);
    // Read one byte past the limit: a file growing meanwhile is refused too.
    const QByteArray raw = f.read(MaxBytes + 1);
    if (raw.size() > MaxBytes) return refuse(sizeRefusal(path_));
    if (f.error() != QFileDevice::NoError)
        return refuse(QStringLiteral("설정파일을 읽을 수 없습니다.\r\n") + path_);
    QString text = decodeFile(raw, enc_);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    Section* cur = nullptr;
    // Look-ups while reading, so a long file is read in one pass.
    QHash<QString, qsizetype> sectionAt;
    QList<QSet<QString>> keysOf;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';'))) continue;
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            const QString name = t.mid(1, t.size() - 2).trimmed();
            const QString folded = name.toCaseFolded();
            auto it = sectionAt.constFind(folded);
            if (it == sectionAt.cend()) {
                it = sectionAt.insert(folded, sections_.size());
                sections_.append(Section{name, {}});
                keysOf.append(QSet<QString>());
            }
            cur = &sections_[*it];
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || !cur) continue;
        const QString key = line.left(eq).trimmed();
        QSet<QString>& seen = keysOf[cur - sections_.data()];
        // The first of a key held twice is the one read; the others go.
        if (seen.contains(key.toCaseFolded())) continue;
        seen.insert(key.toCaseFolded());
        cur->entries.append(Entry{key, line.mid(eq + 1)});
    }
    return true;
}

bool IniFile::save() const {
    error_.clear();
    if (unread_) {
        error_ = QStringLiteral("설정파일을 읽지 못하여 저장하지 않았습니다.\r\n") + path_;
        return false;
    }
    QString text;
    for (const Section& s : sections_) {
        text += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        for (const Entry& e : s.entries) text += e.key + QLatin1Char('=') + e.value + QLatin1String("\r\n");
        text += QLatin1String("\r\n");
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    bool encoded = true;
    const QByteArray bytes = enc_ == Encoding::Cp949 ? Cp949::encode(text, &encoded) : text.toUtf8();
    if (!encoded) {
        error_ =
            QStringLiteral("완성형 한글(CP949)로 쓸 수 없는 글자가 있어 저장하지 않았습니다.\r\n") + path_;
        return false;
    }
    const QString failed = QStringLiteral("설정파일을 쓸 수 없습니다.\r\n") + path_;
    if (mode_ >= 0) {
        if (saveWithMode(bytes)) return true;
        error_ = failed;
        return false;
    }
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) {
        error_ = failed;
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        error_ = failed;
        return false;
    }
    if (f.commit()) return true;
    error_ = failed;
    return false;
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
