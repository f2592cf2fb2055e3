#include "data/AppliedFiles.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <functional>
#include <memory>

#include <openssl/evp.h>

namespace AppliedFiles {

namespace {

const QString kTable = QStringLiteral("M_APPLIED");

const QString kForm = QStringLiteral("Form");

TableDef tableDef() {
    return {kTable,
            {{QStringLiteral("Sha256"), FieldType::Text, 64},
             {QStringLiteral("FileName"), FieldType::Text, 40},
             {QStringLiteral("ApplyDate"), FieldType::Text, 8},
             {kForm, FieldType::Text, 1}},
            {QStringLiteral("Sha256")},
            {}};
}

// What a print was taken over: 'L' the lines, 'B' the bytes (NULL in rows
// of older versions, which took the bytes).
const QString kLines = QStringLiteral("L");
const QString kBytes = QStringLiteral("B");

QString hex(const unsigned char* md, unsigned int len) {
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(md), int(len)).toHex());
}

bool inTransaction(const std::function<bool(QString*)>& step, QString* error) {
    Transaction tx;
    if (!tx.ok()) {
        if (error) *error = tx.error();
        return false;
    }
    if (!step(error)) return false;
    if (!tx.commit()) {
        if (error) *error = tx.error();
        return false;
    }
    return true;
}

} // namespace

QList<QByteArray> lines(const QByteArray& content) {
    QList<QByteArray> out;
    const qsizetype n = content.size();
    const char* d = content.constData();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (d[i] != '\r' && d[i] != '\n') continue;
        out.append(QByteArray(d + start, i - start));
        if (d[i] == '\r' && i + 1 < n && d[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) out.append(QByteArray(d + start, n - start));
    auto dropEmpty = [&out] {
        while (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
    };
    dropEmpty();
    // The end-of-file mark of older editors, alone or after the last record.
    if (!out.isEmpty() && out.last().endsWith('\x1a')) {
        out.last().chop(1);
        dropEmpty();
    }
    return out;
}

QString fingerprint(const QByteArray& content) {
    // OpenSSL's digest uses the processor's SHA instructions where it has them.
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (EVP_Digest(content.constData(), size_t(content.size()), md, &len, EVP_sha256(), nullptr) != 1)
        return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
    return hex(md, len);
}

QString fingerprintOfLines(const QList<QByteArray>& lines) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    bool ok = ctx && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) == 1;
    for (qsizetype i = 0; ok && i < lines.size(); ++i)
        ok = EVP_DigestUpdate(ctx.get(), lines[i].constData(), size_t(lines[i].size())) == 1 &&
             EVP_DigestUpdate(ctx.get(), "\r\n", 2) == 1;
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (ok && EVP_DigestFinal_ex(ctx.get(), md, &len) == 1) return hex(md, len);
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const QByteArray& l : lines) {
        h.addData(l);
        h.addData(QByteArrayView("\r\n"));
    }
    return QString::fromLatin1(h.result().toHex());
}

Prints printsOf(const QByteArray& content) {
    return printsOf(content, lines(content));
}

namespace {

// The content is its lines, each ended by CR LF: no other line end, no blank
// line or ^Z dropped at its end. lines is content as split by lines().
bool isRecordsAsSaved(const QByteArray& content, const QList<QByteArray>& lines) {
    const char* d = content.constData();
    const qsizetype n = content.size();
    qsizetype pos = 0;
    for (const QByteArray& l : lines) {
        pos += l.size();
        if (pos + 2 > n || d[pos] != '\r' || d[pos + 1] != '\n') return false;
        pos += 2;
    }
    return pos == n;
}

} // namespace

Prints printsOf(const QByteArray& content, const QList<QByteArray>& split) {
    const QString bytes = fingerprint(content);
    if (isRecordsAsSaved(content, split)) return {bytes, bytes};
    return {fingerprintOfLines(split), bytes};
}

Prints printsOfFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return printsOf(f.readAll());
}

QString fingerprintOfFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f)) return {};
    return QString::fromLatin1(h.result().toHex());
}

bool ensureTable(QString* error) {
    if (!Database::tableExists(kTable))
        return inTransaction(
            [](QString* e) { return Database::createTable(tableDef(), false, e) && fillFromRback(e); }, error);
    if (Database::columns(kTable).contains(kForm, Qt::CaseInsensitive)) return true;
    // A book of an older version knew files by their bytes: the records'
    // prints of the archives join them, so a copy with other line ends of a
    // file applied then is refused as well.
    return inTransaction(
        [](QString* e) {
            return Database::exec(QStringLiteral("ALTER TABLE M_APPLIED ADD Form CHAR(1)"), e) && fillFromRback(e);
        },
        error);
}

bool fillFromRback(QString* error) {
    if (!DMLib) return true;
    const QDir rback(DMLib->dir(QStringLiteral("rback")));
    Query ins(QStringLiteral(
        "INSERT OR IGNORE INTO M_APPLIED (Sha256, FileName, ApplyDate, Form) VALUES (?, ?, ?, ?)"));
    for (const QString& n : rback.entryList(QDir::Files, QDir::Name)) {
        const Prints p = printsOfFile(rback.filePath(n));
        if (!p.valid()) continue;
        for (const auto& [hash, form] : {std::pair{p.records, kLines}, std::pair{p.bytes, kBytes}}) {
            ins.add(hash).add(n).add(QString()).add(form);
            if (!ins.exec()) {
                if (error) *error = ins.error();
                return false;
            }
        }
    }
    return true;
}

bool isApplied(const QString& hash) {
    Query q(QStringLiteral("SELECT 1 FROM M_APPLIED WHERE Sha256 = ?"));
    q.add(hash);
    return q.exec() && q.next();
}

bool isApplied(const Prints& p) {
    return p.valid() && (isApplied(p.records) || (p.bytes != p.records && isApplied(p.bytes)));
}

bool record(const QString& hash, const QString& archiveName, QString* error) {
    return Database::insertRow(kTable,
                               {{QStringLiteral("Sha256"), hash},
                                {QStringLiteral("FileName"), archiveName},
                                {QStringLiteral("ApplyDate"), Clock::todayText()},
                                {kForm, kLines}},
                               error);
}

QString archiveName(const QString& hash) {
    Query q(QStringLiteral("SELECT FileName FROM M_APPLIED WHERE Sha256 = ?"));
    q.add(hash);
    if (q.exec() && q.next()) return q.str(0);
    return {};
}

QString archiveName(const Prints& p) {
    const QString byRecords = archiveName(p.records);
    return byRecords.isEmpty() ? archiveName(p.bytes) : byRecords;
}

} // namespace AppliedFiles
