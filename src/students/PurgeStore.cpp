#include "students/PurgeStore.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"

namespace {

const QString kArchive = QStringLiteral("D_CUST");
const QString kRoster = QStringLiteral("M_CUST");

// The roster's columns: everything a student has.
QStringList rosterColumns() {
    QStringList c;
    for (const FieldDef& f : Tables::MCust().fields) c << f.name;
    return c;
}

struct Student {
    ColumnValues values; // roster columns in order
    QString custNo, sNo, nm;
};

// Reads whole students; false when the statement fails.
bool readStudents(Query& q, QList<Student>* out) {
    if (!q.exec()) return false;
    const QStringList cols = rosterColumns();
    while (q.next()) {
        Student s;
        for (int i = 0; i < cols.size(); ++i) s.values.append({cols.at(i), q.str(i)});
        s.custNo = q.str(0);
        s.sNo = q.str(2);
        s.nm = q.str(3);
        out->append(s);
    }
    return true;
}

QString selectText(const QString& table, const QString& where) {
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY rowid")
        .arg(rosterColumns().join(QStringLiteral(", ")), table, where);
}

PurgeResult failed(const QString& error) {
    PurgeResult r;
    r.outcome = PurgeResult::Outcome::Failed;
    r.error = error.isEmpty() ? QStringLiteral("database error") : error;
    return r;
}

} // namespace

namespace PurgeStore {

bool ensureArchive() {
    if (Database::tableExists(kArchive)) return true;
    return Database::createTable(Tables::DCust(), false);
}

PurgeResult purge(const Progress& progress) {
    if (!ensureArchive()) return failed(QStringLiteral("cannot create D_CUST"));
    Transaction tx;
    if (!tx.ok()) return failed(QStringLiteral("the database is busy"));
    QList<Student> students;
    Query sel(selectText(kRoster, QStringLiteral("UseTy = ?")));
    sel.add(QStringLiteral("0"));
    if (!readStudents(sel, &students)) return failed(sel.error());
    PurgeResult r;
    if (students.isEmpty()) return r;
    r.batch = Clock::today().toString(QStringLiteral("yyyy-MM-dd"));
    QString error;
    for (const Student& s : students) {
        ColumnValues row = s.values;
        row.append({QStringLiteral("v_x00d"), r.batch});
        if (!Database::insertRow(kArchive, row, &error)) return failed(error);
        // Only the student just copied leaves the roster.
        Query del(QStringLiteral("DELETE FROM M_CUST WHERE CustNo = ?"));
        del.add(s.custNo);
        if (!del.exec()) return failed(del.error());
        r.list += s.sNo + s.nm + QLatin1Char(',');
        ++r.count;
        if (progress) progress(r.count, int(students.size()));
    }
    if (!DMLib->WriteJobLog(QString::fromUtf16(kPurgeMenu), r.list.left(kLogChars)))
        return failed(QStringLiteral("job log"));
    if (!tx.commit()) return failed(QStringLiteral("commit"));
    r.outcome = PurgeResult::Outcome::Done;
    return r;
}

QString latestBatch() {
    if (!Database::tableExists(kArchive)) return {};
    Query q(QStringLiteral("SELECT max(v_x00d) FROM D_CUST"));
    if (!q.exec() || !q.next()) return {};
    return q.str(0).trimmed();
}

PurgeResult restore(const QString& batch, const Progress& progress) {
    if (batch.trimmed().isEmpty() || !Database::tableExists(kArchive)) return {};
    Transaction tx;
    if (!tx.ok()) return failed(QStringLiteral("the database is busy"));
    QList<Student> students;
    Query sel(selectText(kArchive, QStringLiteral("v_x00d = ?")));
    sel.add(batch);
    if (!readStudents(sel, &students)) return failed(sel.error());
    PurgeResult r;
    r.batch = batch;
    if (students.isEmpty()) return r;
    QString error;
    for (const Student& s : students) {
        if (!Database::insertRow(kRoster, s.values, &error)) return failed(error);
        Query del(QStringLiteral("DELETE FROM D_CUST WHERE v_x00d = ? AND CustNo = ?"));
        del.add(batch).add(s.custNo);
        if (!del.exec()) return failed(del.error());
        r.list += s.sNo + s.nm + QLatin1Char(',');
        ++r.count;
        if (progress) progress(r.count, int(students.size()));
    }
    // Another student may have been given the number meanwhile; both keep it
    // and the office is told.
    for (const Student& s : students) {
        if (s.sNo.trimmed().isEmpty()) continue;
        Query q(QStringLiteral("SELECT count(*) FROM M_CUST WHERE SNo = ? AND CustNo <> ?"));
        q.add(s.sNo).add(s.custNo);
        if (!q.exec() || !q.next()) return failed(q.error());
        if (q.num(0) > 0) r.clashes << s.sNo + QLatin1Char(' ') + s.nm;
    }
    if (!DMLib->WriteJobLog(QString::fromUtf16(kRestoreMenu), r.list.left(kLogChars)))
        return failed(QStringLiteral("job log"));
    if (!tx.commit()) return failed(QStringLiteral("commit"));
    r.outcome = PurgeResult::Outcome::Done;
    return r;
}

} // namespace PurgeStore
