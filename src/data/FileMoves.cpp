#include "data/FileMoves.h"

#include "data/AppliedFiles.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/CrashPoint.h"
#include "platform/sys/System.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace FileMoves {

namespace {

const QString kTable = QStringLiteral("M_FILEMOVE");
const QString kHash = QStringLiteral("Hash");

// Stored relative to the data root, so a moved root keeps its records.
QString relative(const QString& path) {
    if (!DMLib) return path;
    return QDir(DMLib->FDataDir).relativeFilePath(path);
}

QString absolute(const QString& stored) {
    if (!DMLib || QDir::isAbsolutePath(stored)) return stored;
    return QDir(DMLib->FDataDir).filePath(stored);
}

bool forget(const QString& from, const QString& to) {
    Query q(QStringLiteral("DELETE FROM M_FILEMOVE WHERE Source = ? AND Target = ?"));
    q.add(relative(from)).add(relative(to));
    return q.exec();
}

// To the target, or to the next free name beside it when that is taken.
bool place(const QString& from, const QString& to, QString* placed) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QString dst = System::freeFilePath(to);
        if (System::moveFileNoReplace(from, dst)) {
            if (placed) *placed = dst;
            return true;
        }
        // Taken meanwhile: look for the next free name.
        if (!QFile::exists(dst)) return false;
    }
    return false;
}

} // namespace

bool ensureTable(QString* error) {
    if (Database::tableExists(kTable)) {
        // Records of older runs have no fingerprint; they stay usable.
        if (Database::columns(kTable).contains(kHash, Qt::CaseInsensitive)) return true;
        return Database::exec(QStringLiteral("ALTER TABLE M_FILEMOVE ADD Hash CHAR(64)"), error);
    }
    return Database::createTable({kTable,
                                  {{QStringLiteral("Source"), FieldType::Text, 255},
                                   {QStringLiteral("Target"), FieldType::Text, 255},
                                   {kHash, FieldType::Text, 64}},
                                  {},
                                  {}},
                                 false, error);
}

bool record(const QString& from, const QString& to, QString* error) {
    return record(from, to, AppliedFiles::fingerprintOfFile(from), error);
}

bool record(const QString& from, const QString& to, const QString& hash, QString* error) {
    if (hash.isEmpty()) {
        if (error) *error = from;
        return false;
    }
    return Database::insertRow(
        kTable,
        {{QStringLiteral("Source"), relative(from)}, {QStringLiteral("Target"), relative(to)}, {kHash, hash}},
        error);
}

bool carryOut(const QString& from, const QString& to, QString* placed) {
    const bool moved = place(from, to, placed);
    CrashPoint::hit("filemove-after-move");
    // A failed move stays recorded: the next start tries it again.
    if (moved) forget(from, to);
    return moved;
}

QStringList finishPending(const QString& fromDir) {
    QStringList done;
    const QString only = fromDir.isEmpty() ? QString() : QDir::cleanPath(QDir(fromDir).absolutePath());
    struct Move {
        QString from, to, hash;
    };
    QList<Move> moves;
    {
        Query q(QStringLiteral("SELECT Source, Target, %1 FROM M_FILEMOVE").arg(kHash));
        if (!q.exec()) return done;
        while (q.next())
            moves.append({q.str(0), q.str(1), q.str(2).trimmed()});
    }
    for (const Move& m : moves) {
        const QString src = absolute(m.from), dst = absolute(m.to);
        if (!only.isEmpty() && QDir::cleanPath(QFileInfo(src).absolutePath()) != only) continue;
        if (QFile::exists(src)) {
            // Only the recorded file moves: another file that took its name
            // since (its own move done) stays where it is, to be dealt with
            // as any new file. A record without a fingerprint moves only to
            // a free target.
            const bool recorded =
                m.hash.isEmpty() ? !QFile::exists(dst) : AppliedFiles::fingerprintOfFile(src) == m.hash;
            QString placed;
            if (recorded) {
                if (!place(src, dst, &placed)) continue; // tried again next time
                done << placed;
            }
        }
        forget(src, dst);
    }
    return done;
}

} // namespace FileMoves
