#include "data/AppliedFiles.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <openssl/evp.h>

namespace AppliedFiles {

namespace {

const QString kTable = QStringLiteral("M_APPLIED");

TableDef tableDef() {
    return {kTable,
            {{QStringLiteral("Sha256"), FieldType::Text, 64},
             {QStringLiteral("FileName"), FieldType::Text, 40},
             {QStringLiteral("ApplyDate"), FieldType::Text, 8}},
            {QStringLiteral("Sha256")},
            {}};
}

} // namespace

QString fingerprint(const QByteArray& content) {
    // OpenSSL's digest uses the processor's SHA instructions where it has them.
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (EVP_Digest(content.constData(), size_t(content.size()), md, &len, EVP_sha256(), nullptr) != 1)
        return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(md), int(len)).toHex());
}

QString fingerprintOfFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f)) return {};
    return QString::fromLatin1(h.result().toHex());
}

bool ensureTable(QString* error) {
    if (Database::tableExists(kTable)) return true;
    Transaction tx;
    if (!tx.ok()) {
        if (error) *error = tx.error();
        return false;
    }
    if (!Database::createTable(tableDef(), false, error) || !fillFromRback(error)) return false;
    if (!tx.commit()) {
        if (error) *error = tx.error();
        return false;
    }
    return true;
}

bool fillFromRback(QString* error) {
    if (!DMLib) return true;
    const QDir rback(DMLib->dir(QStringLiteral("rback")));
    Query ins(
        QStringLiteral("INSERT OR IGNORE INTO M_APPLIED (Sha256, FileName, ApplyDate) VALUES (?, ?, ?)"));
    for (const QString& n : rback.entryList(QDir::Files, QDir::Name)) {
        const QString hash = fingerprintOfFile(rback.filePath(n));
        if (hash.isEmpty()) continue;
        ins.add(hash).add(n).add(QString());
        if (!ins.exec()) {
            if (error) *error = ins.error();
            return false;
        }
    }
    return true;
}

bool isApplied(const QString& hash) {
    Query q(QStringLiteral("SELECT 1 FROM M_APPLIED WHERE Sha256 = ?"));
    q.add(hash);
    return q.exec() && q.next();
}

bool record(const QString& hash, const QString& archiveName, QString* error) {
    return Database::insertRow(kTable,
                               {{QStringLiteral("Sha256"), hash},
                                {QStringLiteral("FileName"), archiveName},
                                {QStringLiteral("ApplyDate"), Clock::todayText()}},
                               error);
}

QString archiveName(const QString& hash) {
    Query q(QStringLiteral("SELECT FileName FROM M_APPLIED WHERE Sha256 = ?"));
    q.add(hash);
    if (q.exec() && q.next()) return q.str(0);
    return {};
}

} // namespace AppliedFiles
