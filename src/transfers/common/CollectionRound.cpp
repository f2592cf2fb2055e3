#include "transfers/common/CollectionRound.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "transfers/common/Rounds.h"

namespace {

const QString kMenu = QStringLiteral("집금이체");

bool isNhFamily(const QString& b) {
    return b == QLatin1String("10") || b == QLatin1String("11") || b == QLatin1String("12");
}

qint64 count(const QString& sql, const QStringList& binds) {
    Query q(sql);
    for (const QString& b : binds)
        q.add(b);
    if (!q.exec() || !q.next()) return 0;
    return q.num(0);
}

} // namespace

namespace CollectionRound {

QStringList roundTables(const QStringList& masks) {
    QStringList out;
    const QStringList globs = masks.isEmpty() ? QStringList{QStringLiteral("H_200_*")} : masks;
    for (const QString& g : globs)
        for (const QString& t : Database::listTables(g))
            if (Database::isRoundTableName(t) && t.startsWith(QLatin1String("H_200_"), Qt::CaseInsensitive) &&
                !out.contains(t))
                out << t;
    out.sort(Qt::CaseInsensitive);
    return out;
}

QStringList quarterMasks(int quarter, const QDate& today) {
    if (quarter < 1 || quarter > 4) return {};
    QStringList out;
    for (QString p : Rounds::quarterMask(quarter, today).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (p.endsWith(QLatin1String(".db"), Qt::CaseInsensitive)) p.chop(3);
        out << p;
    }
    return out;
}

bool roundListed(const QStringList& tables, const QString& yearMon, const QString& seqNo) {
    const QString name = QStringLiteral("H_200_") + yearMon + seqNo;
    // A round needs its full key; a short year-month or round names no table.
    if (!Database::isRoundTableName(name)) return false;
    for (const QString& t : tables)
        if (t.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QStringList bankEntries(const QString& gcode) {
    QStringList out{QStringLiteral("00.모든은행"), QStringLiteral("99.은행없음")};
    Query q(QStringLiteral("select T1.BankCd, T2.BankNm from C_ACCT T1, C_BANK T2 "
                           "where T1.BankCd = T2.BankCd and T1.Gcode = ? and T1.Gubun = '집금' "
                           "group by T1.BankCd, T2.BankNm"));
    q.add(gcode);
    if (q.exec())
        while (q.next())
            out << q.str(0) + QLatin1Char('.') + q.str(1);
    return out;
}

QString lastBookedRound(const QString& yearMon, const QString& gcode) {
    Query q(
        QStringLiteral("select Max(SeqNo) from M_SRFILE where SRType = 'S' and YearMon = ? and Gcode = ?"));
    q.add(yearMon.mid(2, 4)).add(gcode);
    if (!q.exec() || !q.next()) return {};
    return q.str(0);
}

OpeningRound openingRound(const QStringList& tables, const QString& gcode) {
    OpeningRound r;
    if (tables.isEmpty()) {
        r.yearMon = Clock::yearMonthText();
        r.seqNo = QStringLiteral("01");
    } else {
        r.yearMon = tables.last().mid(6, 6);
        r.seqNo = tables.last().mid(12, 2);
    }
    r.seqNo = lastBookedRound(r.yearMon, gcode);
    return r;
}

QStringList studentGroups() {
    QStringList out;
    Query q(QStringLiteral("select GrpNm from C_GRP where GrpNm is not null group by GrpNm"));
    if (q.exec())
        while (q.next())
            out << q.str(0);
    return out;
}

QList<GroupItem> groupItems(const QString& gcode) {
    QList<GroupItem> out;
    Query q(QStringLiteral("SELECT ItemCd, ItemID, ItemNm FROM C_ITEM WHERE Gcode = ? ORDER BY ItemID ASC"));
    q.add(gcode);
    if (q.exec())
        while (q.next())
            out << GroupItem{q.str(1), q.str(2)};
    return out;
}

DateSpan procDateSpan(const QString& yearMon, const QString& seqNo) {
    DateSpan s;
    const QString t = Database::quoted(QStringLiteral("H_200_") + yearMon + seqNo);
    if (t.isEmpty() || !Database::isRoundTableName(QStringLiteral("H_200_") + yearMon + seqNo)) {
        s.ok = false;
        return s;
    }
    Query q(QStringLiteral("select min(ProcDt), max(ProcDt) from %1 where ProcDt is not null").arg(t));
    if (!q.exec()) {
        s.ok = false;
        return s;
    }
    if (q.next()) {
        s.first = q.str(0);
        s.last = q.str(1);
    }
    return s;
}

BookCond bookBankCond(const QString& bankCd) {
    const QString b = bankCd.left(2);
    if (!isNhFamily(b)) return {QStringLiteral(" and BankCd = ? "), {b}};
    const qint64 a = count(QStringLiteral("select count(*) from C_ACCT where BankCd in ('10','11')"), {});
    const qint64 c = count(QStringLiteral("select count(*) from C_ACCT where BankCd in ('12')"), {});
    if (a > 0 && c > 0) {
        if (b == QLatin1String("12")) return {QStringLiteral(" and BankCd = '12' "), {}};
        return {QStringLiteral(" and BankCd in ('10','11') "), {}};
    }
    if (a > 0 || c > 0) return {QStringLiteral(" and BankCd in ('10','11','12') "), {}};
    return {};
}

FileState fileState(const QString& yearMon, const QString& seqNo, const QString& bankCd) {
    const BookCond c = bookBankCond(bankCd);
    const QString base =
        QStringLiteral("select count(*) from M_SRFILE where SRType = ? and YearMon = ? and SeqNo = ?");
    QStringList binds{QString(), yearMon.mid(2, 4), seqNo};
    binds << c.binds;
    FileState s;
    binds[0] = QStringLiteral("S");
    s.sent = count(base + c.sql, binds);
    binds[0] = QStringLiteral("R");
    s.received = count(base + c.sql, binds);
    return s;
}

QString deleteLogLine(const RowDelete& r) {
    return QStringLiteral("[학생삭제] 항목그룹 : ") + r.groupText + QStringLiteral(", 회차:") + r.yearMon +
           QLatin1Char('-') + r.seqNo + QStringLiteral(", 학번:") + r.sno + QStringLiteral(", 성명:") + r.nm +
           QStringLiteral(", 항목:") + r.itemName;
}

DeleteResult deleteRow(const RowDelete& r, QString* error) {
    const QString name = QStringLiteral("H_200_") + r.yearMon + r.seqNo;
    if (!Database::isRoundTableName(name) || !Database::tableExists(name)) return DeleteResult::NotFound;
    Transaction tx;
    Query q(QStringLiteral("delete from %1 where YearMon = ? and SeqNo = ? and SNo = ? and ItemCd = ?")
                .arg(Database::quoted(name)));
    q.add(r.yearMon).add(r.seqNo).add(r.sno).add(r.itemCd);
    if (!q.exec()) {
        if (error) *error = q.error();
        return DeleteResult::Failed;
    }
    if (q.affected() == 0) return DeleteResult::NotFound;
    if (!DMLib->WriteJobLog(kMenu, deleteLogLine(r)) || !tx.commit()) {
        if (error) *error = QStringLiteral("job log");
        return DeleteResult::Failed;
    }
    return DeleteResult::Deleted;
}

} // namespace CollectionRound
