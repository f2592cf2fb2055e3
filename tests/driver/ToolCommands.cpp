// zq-driver purge, delete students|rounds, reindex and joblog: the tools'
// bulk work and log viewers, and the roster's purge of transferred-out
// students, without a window.

#include "driver/Driver.h"

#include "basic/ToolActions.h"
#include "platform/db/Database.h"
#include "students/PurgeActions.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

const QString kRosterCaption = QStringLiteral("학생명부");

QJsonObject purged(const PurgeResult& r) {
    const char* outcome = r.outcome == PurgeResult::Outcome::Done      ? "done"
                          : r.outcome == PurgeResult::Outcome::Failed ? "failed"
                                                                       : "nothing";
    return {{QStringLiteral("result"), QString::fromLatin1(outcome)},
            {QStringLiteral("count"), r.count},
            {QStringLiteral("batch"), r.batch},
            {QStringLiteral("clashes"), QJsonArray::fromStringList(r.clashes)}};
}

// Every roster column of the student, or nothing.
QJsonObject studentRow(const QString& custNo) {
    QJsonObject o{{QStringLiteral("custNo"), custNo}};
    Query q(QStringLiteral("SELECT * FROM M_CUST WHERE CustNo = ?"));
    q.add(custNo);
    if (!q.exec() || !q.next()) {
        o.insert(QStringLiteral("found"), false);
        return o;
    }
    const QStringList cols = Database::columns(QStringLiteral("M_CUST"));
    for (int i = 0; i < cols.size(); ++i) o.insert(cols.at(i), q.str(i));
    return o;
}

int purge(const QStringList& a) {
    if (a.value(0) == QLatin1String("restore")) {
        const PurgeResult r = PurgeActions::dCancel(kRosterCaption, nullptr);
        Driver::print(purged(r));
        for (int i = 1; i < a.size(); ++i) Driver::print(QJsonObject{{QStringLiteral("student"), studentRow(a.at(i))}});
        return r.outcome == PurgeResult::Outcome::Done ? 0 : 1;
    }
    if (!a.isEmpty()) return Driver::fail(QStringLiteral("usage: purge | purge restore [CUSTNO...]"));
    const PurgeResult r = PurgeActions::outDel(kRosterCaption, nullptr);
    Driver::print(purged(r));
    return r.outcome == PurgeResult::Outcome::Done ? 0 : 1;
}

int deleteStudents(const QStringList& a) {
    if (a.size() != 1) return Driver::fail(QStringLiteral("usage: delete students GRADE"));
    const auto custNos = ToolActions::askGrade(a.at(0), nullptr);
    if (!custNos) return 1;
    const BulkDelete::GradeResult r = ToolActions::runGrade(a.at(0), nullptr);
    Driver::print(QJsonObject{{QStringLiteral("deleted"), r.ok ? r.students : 0},
                              {QStringLiteral("custNos"), QJsonArray::fromStringList(*custNos)}});
    return r.ok ? 0 : 1;
}

int deleteRounds(const QStringList& a) {
    const QList<BulkDelete::RoundRow> rows = BulkDelete::roundTables();
    if (a.value(0) == QLatin1String("--list")) {
        for (const BulkDelete::RoundRow& r : rows)
            Driver::print(QJsonObject{{QStringLiteral("row"), QJsonArray{r.yearMon, r.seqNo, r.name}}});
        return 0;
    }
    // Marks go on listed rows only, top to bottom, as the grid has them.
    QStringList marked;
    for (const BulkDelete::RoundRow& r : rows)
        if (a.contains(r.name)) marked << r.name;
    for (const QString& n : a)
        if (!marked.contains(n)) return Driver::fail(QStringLiteral("not a listed round table: ") + n);
    const QStringList dropped = ToolActions::deleteRounds(!rows.isEmpty(), marked, nullptr);
    Driver::print(QJsonObject{{QStringLiteral("dropped"), QJsonArray::fromStringList(dropped)}});
    return marked.isEmpty() || !dropped.isEmpty() ? 0 : 1;
}

int reindex(const QStringList& a) {
    if (a.isEmpty()) {
        for (const IndexRepair::TableRow& r : IndexRepair::tables())
            Driver::print(QJsonObject{{QStringLiteral("row"), QJsonArray{r.name, r.description}}});
        return 0;
    }
    const QStringList marked = a.contains(QStringLiteral("--all")) ? QStringList() : a;
    QStringList names = marked;
    if (a.contains(QStringLiteral("--all")))
        for (const IndexRepair::TableRow& r : IndexRepair::tables()) names << r.name;
    const IndexRepair::Outcome o = ToolActions::repairIndexes(names, nullptr);
    Driver::print(QJsonObject{{QStringLiteral("repaired"), QJsonArray::fromStringList(o.repaired)},
                              {QStringLiteral("failed"), QJsonArray::fromStringList(o.failed)},
                              {QStringLiteral("integrity"), QJsonArray::fromStringList(o.integrity)}});
    return o.failed.isEmpty() && o.integrityOk ? 0 : 1;
}

void printRows(const QList<JobLogView::LogRow>& rows) {
    for (const JobLogView::LogRow& r : rows)
        Driver::print(QJsonObject{{QStringLiteral("row"), QJsonArray{r.seq, r.logDate, r.logTime, r.menuName, r.jobLog}}});
}

int joblog(const QStringList& a) {
    QMap<QString, QString> o;
    for (int i = 0; i + 1 < a.size(); i += 2) {
        if (!a.at(i).startsWith(QLatin1String("--")))
            return Driver::fail(QStringLiteral("unexpected ") + a.at(i));
        o.insert(a.at(i).mid(2), a.at(i + 1));
    }
    if (a.size() % 2) return Driver::fail(QStringLiteral("option without value: ") + a.last());
    if (o.contains(QStringLiteral("old"))) {
        const QStringList range = o.value(QStringLiteral("old")).split(QLatin1Char('-'));
        const auto rows = ToolActions::searchOld(range.value(0), range.value(1), o.value(QStringLiteral("search")),
                                                 nullptr);
        if (!rows) return 1;
        printRows(*rows);
        return 0;
    }
    if (o.contains(QStringLiteral("months"))) {
        for (const QString& m : JobLogView::months()) Driver::print(QJsonObject{{QStringLiteral("month"), m}});
        return 0;
    }
    const QString ym = o.value(QStringLiteral("month"));
    if (ym.size() != 6) return Driver::fail(QStringLiteral("usage: joblog --month yyyymm [--search TEXT] ..."));
    JobLogView::MonthFilter f;
    f.month = ym.left(4) + QLatin1Char('-') + ym.mid(4, 2);
    const auto day = [](const QString& d) { return d.isEmpty() ? QString() : QStringLiteral("%1일").arg(d.toInt(), 2); };
    f.dayFrom = day(o.value(QStringLiteral("from")));
    f.dayTo = day(o.value(QStringLiteral("to")));
    if (!f.dayFrom.isEmpty() && f.dayTo.isEmpty()) f.dayTo = f.dayFrom; // the to list starts at the from day
    f.menu = o.value(QStringLiteral("menu"), QStringLiteral("전체"));
    f.kind = o.value(QStringLiteral("kind"), QStringLiteral("전체"));
    f.text = o.value(QStringLiteral("search"));
    const auto rows = ToolActions::searchMonth(f, nullptr);
    if (!rows) return 1;
    printRows(*rows);
    return 0;
}

const struct Registrar {
    Registrar() {
        Driver::addCommand(QStringLiteral("purge"),
                           QStringLiteral("purge | purge restore [CUSTNO...]   transferred-out students (전출생 "
                                          "일괄삭제/복구)"),
                           purge);
        Driver::addCommand(QStringLiteral("delete-students"),
                           QStringLiteral("delete students GRADE   학생일괄삭제"), deleteStudents);
        Driver::addCommand(QStringLiteral("delete-rounds"),
                           QStringLiteral("delete rounds --list | TABLE...   이체자료삭제"), deleteRounds);
        Driver::addCommand(QStringLiteral("reindex"), QStringLiteral("reindex [--all | TABLE...]   인덱스복구"),
                           reindex);
        Driver::addCommand(QStringLiteral("joblog"),
                           QStringLiteral("joblog --month yyyymm [--from D] [--to D] [--menu M] [--kind 송신|수신] "
                                          "[--search TEXT] | --months | --old yyyymmdd-yyyymmdd [--search TEXT]"),
                           joblog);
    }
} registrar;

} // namespace
