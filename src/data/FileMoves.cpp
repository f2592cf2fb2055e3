#include "data/FileMoves.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/System.h"

#include <QDir>
#include <QFile>

namespace FileMoves {

namespace {

const QString kTable = QStringLiteral("M_FILEMOVE");

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

} // namespace

bool ensureTable(QString* error) {
    if (Database::tableExists(kTable)) return true;
    return Database::createTable(
        {kTable,
         {{QStringLiteral("Source"), FieldType::Text, 255}, {QStringLiteral("Target"), FieldType::Text, 255}},
         {},
         {}},
        false, error);
}

bool record(const QString& from, const QString& to, QString* error) {
    return Database::insertRow(
        kTable, {{QStringLiteral("Source"), relative(from)}, {QStringLiteral("Target"), relative(to)}},
        error);
}

bool carryOut(const QString& from, const QString& to) {
    const bool moved = System::moveFileReplace(from, to);
    // A failed move stays recorded: the next start tries it again.
    if (moved) forget(from, to);
    return moved;
}

QStringList finishPending() {
    QStringList done;
    QList<std::pair<QString, QString>> moves;
    {
        Query q(QStringLiteral("SELECT Source, Target FROM M_FILEMOVE"));
        if (!q.exec()) return done;
        while (q.next())
            moves.append({q.str(0), q.str(1)});
    }
    for (const auto& [from, to] : moves) {
        const QString src = absolute(from), dst = absolute(to);
        if (QFile::exists(src)) {
            if (!System::moveFileReplace(src, dst)) continue;
            done << dst;
        }
        forget(src, dst);
    }
    return done;
}

} // namespace FileMoves
