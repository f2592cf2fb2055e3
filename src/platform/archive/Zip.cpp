#include "platform/archive/Zip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zip.h>

namespace Zip {

namespace {

// Deflate level of every archive: level 6 takes a third of the time of the
// highest level for an archive within 1% of its size.
constexpr zip_uint32_t kDeflateLevel = 6;

void setError(QString* error, const QString& text) {
    if (error) *error = text;
}

QString zipError(zip_t* za) {
    return QString::fromLocal8Bit(zip_strerror(za));
}

QString openError(int code) {
    zip_error_t e;
    zip_error_init_with_code(&e, code);
    const QString s = QString::fromLocal8Bit(zip_error_strerror(&e));
    zip_error_fini(&e);
    return s;
}

// The end-of-central-directory record alone: a valid archive with no entry.
// libzip does not write an archive that would be empty.
bool writeEmptyArchive(const QString& archive, QString* error) {
    QByteArray eocd(22, '\0');
    eocd[0] = 'P';
    eocd[1] = 'K';
    eocd[2] = 5;
    eocd[3] = 6;
    QSaveFile f(archive);
    if (!f.open(QIODevice::WriteOnly) || f.write(eocd) != eocd.size() || !f.commit()) {
        setError(error, f.errorString());
        return false;
    }
    return true;
}

} // namespace

QStringList folderFiles(const QString& folder) {
    QDir d(folder);
    QStringList names = d.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

bool add(const QString& archive, const QList<Entry>& entries, QString* error) {
    if (entries.isEmpty()) {
        if (QFileInfo::exists(archive)) return true;
        return writeEmptyArchive(archive, error);
    }
    for (const Entry& e : entries) {
        if (!isFlatName(e.name)) {
            setError(error, QStringLiteral("entry name with a path: %1").arg(e.name));
            return false;
        }
        if (!QFileInfo(e.source).isFile()) {
            setError(error, QStringLiteral("missing file: %1").arg(e.source));
            return false;
        }
    }
    int code = 0;
    const QByteArray path = QFile::encodeName(archive);
    zip_t* za = zip_open(path.constData(), ZIP_CREATE, &code);
    if (!za) {
        setError(error, QStringLiteral("%1: %2").arg(archive, openError(code)));
        return false;
    }
    for (const Entry& e : entries) {
        const QByteArray src = QFile::encodeName(e.source);
        zip_source_t* s = zip_source_file(za, src.constData(), 0, -1);
        if (!s) {
            setError(error, QStringLiteral("%1: %2").arg(e.source, zipError(za)));
            zip_discard(za);
            return false;
        }
        const QByteArray name = e.name.toUtf8();
        const zip_int64_t index = zip_file_add(za, name.constData(), s, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            setError(error, QStringLiteral("%1: %2").arg(e.name, zipError(za)));
            zip_source_free(s);
            zip_discard(za);
            return false;
        }
        if (zip_set_file_compression(za, zip_uint64_t(index), ZIP_CM_DEFLATE, kDeflateLevel) < 0) {
            setError(error, QStringLiteral("%1: %2").arg(e.name, zipError(za)));
            zip_discard(za);
            return false;
        }
    }
    if (zip_close(za) < 0) {
        setError(error, QStringLiteral("%1: %2").arg(archive, zipError(za)));
        zip_discard(za);
        return false;
    }
    return true;
}

bool addFolder(const QString& archive, const QString& folder, QString* error) {
    if (!QFileInfo(folder).isDir()) {
        setError(error, QStringLiteral("no folder %1").arg(folder));
        return false;
    }
    QList<Entry> list;
    const QDir d(folder);
    for (const QString& n : folderFiles(folder))
        list.append({n, d.filePath(n)});
    return add(archive, list, error);
}

bool entries(const QString& archive, QStringList* names, QString* error) {
    int code = 0;
    const QByteArray path = QFile::encodeName(archive);
    zip_t* za = zip_open(path.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!za) {
        setError(error, openError(code));
        return false;
    }
    const zip_int64_t n = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* nm = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (names) names->append(nm ? QString::fromUtf8(nm) : QString());
    }
    zip_discard(za);
    return true;
}

bool stats(const QString& archive, QList<EntryStat>* out, QString* error) {
    int code = 0;
    const QByteArray path = QFile::encodeName(archive);
    zip_t* za = zip_open(path.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!za) {
        setError(error, openError(code));
        return false;
    }
    const zip_int64_t n = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za, zip_uint64_t(i), 0, &st) < 0) {
            setError(error, zipError(za));
            zip_discard(za);
            return false;
        }
        EntryStat e;
        e.name = st.name ? QString::fromUtf8(st.name) : QString();
        e.size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
        e.compressedSize = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
        if (out) out->append(e);
    }
    zip_discard(za);
    return true;
}

bool isFlatName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) return false;
    if (name.contains(QChar(0)) || name.contains(QLatin1Char(':'))) return false; // "C:x" is drive-relative
    return true;
}

bool extractAll(const QString& archive, const QString& folder, QString* error, const QStringList& only) {
    int code = 0;
    const QByteArray path = QFile::encodeName(archive);
    zip_t* za = zip_open(path.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!za) {
        setError(error, openError(code));
        return false;
    }
    const zip_int64_t n = zip_get_num_entries(za, 0);
    QStringList names;
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* nm = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        const QString name = nm ? QString::fromUtf8(nm) : QString();
        if (!isFlatName(name)) {
            setError(error, QStringLiteral("refused entry name: %1").arg(name));
            zip_discard(za);
            return false;
        }
        names << name;
    }
    const QDir target(folder);
    bool ok = true;
    for (zip_int64_t i = 0; i < n && ok; ++i) {
        if (!only.isEmpty() && !only.contains(names.at(int(i)))) continue;
        zip_stat_t st;
        zip_stat_init(&st);
        zip_file_t* zf = nullptr;
        if (zip_stat_index(za, zip_uint64_t(i), 0, &st) < 0 ||
            !(zf = zip_fopen_index(za, zip_uint64_t(i), 0))) {
            setError(error, QStringLiteral("%1: %2").arg(names.at(int(i)), zipError(za)));
            ok = false;
            break;
        }
        QSaveFile out(target.filePath(names.at(int(i))));
        if (!out.open(QIODevice::WriteOnly)) {
            setError(error, out.errorString());
            zip_fclose(zf);
            ok = false;
            break;
        }
        char buf[1 << 16];
        zip_uint64_t total = 0;
        for (;;) {
            const zip_int64_t r = zip_fread(zf, buf, sizeof buf);
            if (r < 0) { // also a CRC mismatch at the end
                setError(error, QStringLiteral("%1: %2").arg(names.at(int(i)),
                                                             QString::fromLocal8Bit(zip_file_strerror(zf))));
                ok = false;
                break;
            }
            if (r == 0) break;
            if (out.write(buf, r) != r) {
                setError(error, out.errorString());
                ok = false;
                break;
            }
            total += zip_uint64_t(r);
        }
        zip_fclose(zf);
        if (ok && (st.valid & ZIP_STAT_SIZE) && total != st.size) {
            setError(error, QStringLiteral("%1: short entry").arg(names.at(int(i))));
            ok = false;
        }
        if (ok && !out.commit()) {
            setError(error, out.errorString());
            ok = false;
        }
    }
    zip_discard(za);
    return ok;
}

} // namespace Zip
