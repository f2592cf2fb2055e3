#include "basic/BulkDelete.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "shared/CustNoHandOver.h"

namespace BulkDelete {

QStringList gradeStudents(const QString& grade) {
    QStringList out;
    Query q(QStringLiteral("SELECT CustNo FROM M_CUST WHERE SCd = ? ORDER BY CustNo"));
    q.add(grade);
    if (!q.exec()) return out;
    while (q.next()) out << q.str(0);
    return out;
}

GradeResult deleteGrade(const QString& grade, const StepProgress& progress) {
    GradeResult r;
    Transaction tx;
    if (!tx.ok()) {
        r.error = QStringLiteral("the database is busy");
        return r;
    }
    const QStringList custNos = gradeStudents(grade);
    const int n = int(custNos.size());
    const auto step = [&](int s, const QString& sql) -> bool {
        for (int i = 0; i < n; ++i) {
            Query q(sql);
            q.add(custNos.at(i));
            if (!q.exec()) {
                r.error = q.error();
                return false;
            }
            if (progress) progress(s, i + 1, n);
        }
        return true;
    };
    if (!step(1, QStringLiteral("DELETE FROM M_EXEMP WHERE CustNo = ?")) ||
        !step(2, QStringLiteral("DELETE FROM C_GRP WHERE CustNo = ?")))
        return r;
    // Their payer numbers stay taken after they are gone.
    for (const QString& c : custNos)
        if (!CustNoHandOver::rememberCustNo(c)) {
            r.error = QStringLiteral("M_CUSTSEQ");
            return r;
        }
    Query del(QStringLiteral("DELETE FROM M_CUST WHERE SCd = ?"));
    del.add(grade);
    if (!del.exec()) {
        r.error = del.error();
        return r;
    }
    if (progress) progress(3, n, n);
    if (!DMLib->WriteJobLog(QStringLiteral("학생일괄삭제"),
                            QStringLiteral("[일괄삭제] ") + grade + QStringLiteral("학년 일괄삭제"))) {
        r.error = QStringLiteral("job log");
        return r;
    }
    if (!tx.commit()) {
        r.error = QStringLiteral("commit");
        return r;
    }
    r.ok = true;
    r.students = n;
    return r;
}

QList<RoundRow> roundTables() {
    QList<RoundRow> out;
    for (const QString& t : Database::listTables(QStringLiteral("H_*00_*"))) {
        if (!Database::isRoundTableName(t)) continue;
        out.append({t.mid(6, 4) + QLatin1Char('-') + t.mid(10, 2), t.mid(12, 2), t});
    }
    return out;
}

RoundsResult dropRounds(const QStringList& names) {
    RoundsResult r;
    QStringList known;
    for (const RoundRow& row : roundTables()) known << row.name;
    Transaction tx;
    if (!tx.ok()) {
        r.error = QStringLiteral("the database is busy");
        return r;
    }
    const bool titles = Database::tableExists(QStringLiteral("M_TITLE"));
    for (const QString& name : names) {
        // Only a table of the list, as listed: nothing else can be named here.
        if (!known.contains(name)) {
            r.error = QStringLiteral("no round table %1").arg(name);
            r.dropped.clear();
            return r;
        }
        if (!Database::dropTable(name, &r.error)) {
            r.dropped.clear();
            return r;
        }
        if (name.startsWith(QLatin1String("H_200"), Qt::CaseInsensitive) && titles) {
            Query q(QStringLiteral("DELETE FROM M_TITLE WHERE yearmon = ? AND seqno = ?"));
            q.add(name.mid(6, 6)).add(name.mid(12, 2));
            if (!q.exec()) {
                r.error = q.error();
                r.dropped.clear();
                return r;
            }
        }
        if (!DMLib->WriteJobLog(QStringLiteral("이체자료삭제"),
                                QStringLiteral("[이체DB삭제] ") + name + QStringLiteral(" 파일삭제"))) {
            r.error = QStringLiteral("job log");
            r.dropped.clear();
            return r;
        }
        r.dropped << name;
    }
    if (!tx.commit()) {
        r.error = QStringLiteral("commit");
        r.dropped.clear();
        return r;
    }
    r.ok = true;
    return r;
}

} // namespace BulkDelete
