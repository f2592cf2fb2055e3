#include "transfers/collection/RoundBuilder.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/CrashPoint.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Msg.h"

#include <QHash>
#include <QSet>

#include <memory>
#include <vector>

using Status = RoundResult::Status;

namespace {

RoundResult fail(Status s, const QString& error = {}) {
    RoundResult r;
    r.status = s;
    r.error = error;
    return r;
}

QString marks(int n) {
    QStringList m;
    for (int i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return m.join(QLatin1Char(','));
}

QString quotedList(const QStringList& values, const QString& after = {}) {
    QStringList out;
    for (const QString& v : values)
        out << QLatin1Char('"') + v + QLatin1Char('"') + after;
    return out.join(QLatin1Char(','));
}

QString groupLines(const QList<GroupItem>& groups) {
    QStringList lines;
    for (const GroupItem& g : groups)
        lines << g.line();
    return lines.join(QStringLiteral(", "));
}

bool writeLog(const QString& text, QString* error, const QString& menu = Rounds::kMenuName) {
    if (DMLib && DMLib->WriteJobLog(menu, text)) return true;
    *error = QStringLiteral("job log not written");
    return false;
}

bool isCollectionRound(const QString& table) {
    return Database::isRoundTableName(table) &&
           table.startsWith(QLatin1String("H_200_"), Qt::CaseInsensitive) && Database::tableExists(table);
}

// One source row of a fill: a student times an item, with the student's
// exemption of that item when there is one.
struct SourceRow {
    QVariant sno, itemCd, itemId, bankCd, acctNo, custNo, nm, scd, grpNm;
    qint64 itemAmt = 0;
    bool exFound = false;
    QString exFree;
    qint64 exItemval = 0;
};

const char* const kSourceColumns =
    "T1.SNo, T2.ItemCd, T2.ItemID, T1.BankCd, T1.AcctNo, T2.ItemAmt, T1.CustNo, T1.Nm, "
    "T1.SCd, E.CustNo, E.Free, E.Itemval";

bool readSource(Query& q, bool withGroup, std::vector<SourceRow>& out, QString* error) {
    if (!q.exec()) {
        *error = q.error();
        return false;
    }
    while (q.next()) {
        SourceRow r;
        r.sno = q.value(0);
        r.itemCd = q.value(1);
        r.itemId = q.value(2);
        r.bankCd = q.value(3);
        r.acctNo = q.value(4);
        r.itemAmt = q.num(5);
        r.custNo = q.value(6);
        r.nm = q.value(7);
        r.scd = q.value(8);
        r.exFound = !q.isNull(9);
        r.exFree = q.str(10);
        r.exItemval = q.num(11);
        if (withGroup) r.grpNm = q.value(12);
        out.push_back(std::move(r));
    }
    return true;
}

bool sourceByGrade(const QString& gc, const GradeSelection& s, std::vector<SourceRow>& out, QString* error) {
    const QStringList banks = Rounds::bankCodes(s.bank);
    const QString sql =
        QStringLiteral("SELECT %1 FROM M_CUST T1 JOIN C_ITEM T2 "
                       "LEFT JOIN M_EXEMP E ON E.CustNo = T1.CustNo AND E.ItemCd = T2.ItemCd "
                       "WHERE T1.SCd IN (%2) AND T2.Gcode = ? AND T2.ItemID IN (%3) AND T1.UseTy = '1' "
                       "AND T1.BankCd IN (%4) ORDER BY T1.SNo, T1.CustNo, T2.ItemID")
            .arg(QLatin1String(kSourceColumns), marks(int(s.grades.size())), marks(int(s.itemIds.size())),
                 marks(int(banks.size())));
    Query q(sql);
    if (!q.ok()) {
        *error = q.error();
        return false;
    }
    for (const QString& g : s.grades)
        q.add(g);
    q.add(gc);
    for (const QString& i : s.itemIds)
        q.add(i);
    for (const QString& b : banks)
        q.add(b);
    return readSource(q, false, out, error);
}

bool sourceByGroup(const QString& gc, const GroupItem& g, std::vector<SourceRow>& out, QString* error) {
    const QString sql =
        QStringLiteral(
            "SELECT %1, T3.GrpNm FROM M_CUST T1 JOIN C_GRP T3 ON T1.CustNo = T3.CustNo JOIN C_ITEM T2 "
            "LEFT JOIN M_EXEMP E ON E.CustNo = T1.CustNo AND E.ItemCd = T2.ItemCd "
            "WHERE T2.ItemID = ? AND T2.Gcode = ? AND T3.GrpNm = ? AND T1.UseTy = '1' "
            "ORDER BY T1.SNo, T1.CustNo")
            .arg(QLatin1String(kSourceColumns));
    Query q(sql);
    if (!q.ok()) {
        *error = q.error();
        return false;
    }
    q.add(g.itemId);
    q.add(gc);
    q.add(g.grpNm.trimmed());
    return readSource(q, true, out, error);
}

QString rowKey(const QVariant& sno, const QVariant& item) {
    return sno.toString() + QChar(0x1f) + item.toString();
}

const char* const kRoundColumns = "YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ProcDt,ReplyTy,ReplyCd,ExempTy,"
                                  "CustNo,Nm,SCd,GrpNm,Unpaid,ReDt,REAmt,Gcode";

// Writes fill rows into a round table with one prepared statement: the round
// rows of a creation come by the tens of thousands.
class RowWriter {
public:
    RowWriter(const QString& table, const QString& ym, const QString& ss, const QString& gc)
        : q_(QStringLiteral("INSERT INTO %1 (%2) VALUES (?,?,?,?,?,?,?,NULL,'0',NULL,?,?,?,?,?,NULL,NULL,0,?)")
                 .arg(Database::quoted(table), QLatin1String(kRoundColumns))),
          ym_(ym), ss_(ss), gc_(gc) {
        ok_ = q_.ok();
        if (!ok_) error_ = q_.error();
    }
    bool write(const QVariant& sno, const QVariant& itemId, const QVariant& bank, const QVariant& acct,
               qint64 amt, const QString& exempTy, const QVariant& custNo, const QVariant& nm,
               const QVariant& scd, const QVariant& grpNm, const QString& gcode) {
        if (!ok_) return false;
        q_.bind(0, ym_);
        q_.bind(1, ss_);
        q_.bind(2, sno);
        q_.bind(3, itemId);
        q_.bind(4, bank);
        q_.bind(5, acct);
        q_.bind(6, amt);
        q_.bind(7, exempTy);
        q_.bind(8, custNo);
        q_.bind(9, nm);
        q_.bind(10, scd);
        q_.bind(11, Database::storable(grpNm));
        q_.bind(12, gcode.isEmpty() ? gc_ : gcode);
        if (!q_.exec()) {
            error_ = q_.error();
            return false;
        }
        return true;
    }
    bool ok() const { return ok_; }
    QString error() const { return error_; }

private:
    Query q_;
    QString ym_, ss_, gc_;
    bool ok_ = false;
    QString error_;
};

// Writes source rows the round does not have yet. A second student with the
// same student number cannot have a row of that item (the student number is
// part of the key): such students are collected for the report.
class Filler {
public:
    Filler(const RoundTarget& t)
        : writer_(t.table(), t.yearMon, t.seqNo, t.gcode()),
          exUpdate_(QStringLiteral("UPDATE M_EXEMP SET Free = ?, Itemval = ? WHERE CustNo = ? AND ItemCd = ?")) {}
    // Rows already in the round, by key, with their payer number.
    bool loadExisting(const QString& table, QString* error) {
        Query q(QStringLiteral("SELECT SNo, ItemCd, CustNo FROM %1").arg(Database::quoted(table)));
        if (!q.exec()) {
            *error = q.error();
            return false;
        }
        while (q.next())
            keys_.insert(rowKey(q.value(0), q.value(1)), q.str(2));
        return true;
    }
    bool fill(const std::vector<SourceRow>& rows, QString* error) {
        if (!writer_.ok()) {
            *error = writer_.error();
            return false;
        }
        for (const SourceRow& r : rows) {
            const QString key = rowKey(r.sno, r.itemId);
            auto it = keys_.constFind(key);
            if (it != keys_.cend()) {
                const QString cust = r.custNo.toString();
                if (it.value() != cust && !skippedCust_.contains(cust)) {
                    skippedCust_.insert(cust);
                    skipped << QStringLiteral("%1 %2 (%3)").arg(r.sno.toString(), r.nm.toString(), cust);
                }
                continue;
            }
            const Rounds::Exemption e = Rounds::exemption(r.exFound, r.exFree, r.exItemval, r.itemAmt);
            if (e.normalise) {
                exUpdate_.bind(0, e.newFree);
                exUpdate_.bind(1, e.newItemval);
                exUpdate_.bind(2, r.custNo);
                exUpdate_.bind(3, r.itemCd);
                if (!exUpdate_.exec()) {
                    *error = exUpdate_.error();
                    return false;
                }
            }
            if (!writer_.write(r.sno, r.itemId, r.bankCd, r.acctNo, e.amt, e.exempTy, r.custNo, r.nm, r.scd,
                               r.grpNm, {})) {
                *error = writer_.error();
                return false;
            }
            keys_.insert(key, r.custNo.toString());
            ++rows_;
        }
        return true;
    }
    int rows() const { return rows_; }
    QStringList skipped;

private:
    RowWriter writer_;
    Query exUpdate_;
    QHash<QString, QString> keys_;
    QSet<QString> skippedCust_;
    int rows_ = 0;
};

QString gradeLog(const QString& action, const RoundTarget& t, const GradeSelection& s) {
    return QStringLiteral("[%1] 항목그룹 : %2, 회차:%3-%4, 학년:%5, 항목:%6")
        .arg(action, t.groupLine, t.yearMon, t.seqNo, quotedList(s.grades),
             quotedList(s.itemLines, QStringLiteral(" ")));
}

QString groupLog(const QString& action, const RoundTarget& t, const QList<GroupItem>& groups) {
    return QStringLiteral("[%1] 항목그룹 : %2, 회차:%3-%4, 그룹항목:%5")
        .arg(action, t.groupLine, t.yearMon, t.seqNo, groupLines(groups));
}

// Checks common to every new round; the fill runs inside the transaction
// that also creates the table, so a failure leaves no table behind.
template <typename Fill> RoundResult createRound(const RoundTarget& t, const QString& title, Fill&& fill) {
    const QString table = t.table();
    // Checked inside the write, so two copies of the program cannot both
    // find the round free.
    Transaction tx;
    if (!tx.ok()) return fail(Status::Failed, tx.error());
    if (Database::tableExists(table)) return fail(Status::Exists);
    CrashPoint::hit("round-after-check");
    if (!DMData || !DMData->CreateH200(t.yearMon + t.seqNo))
        return fail(Status::Failed, QStringLiteral("cannot create %1").arg(table));
    RoundResult r;
    if (!fill(r)) {
        r.status = Status::Failed;
        return r;
    }
    if (!Rounds::saveTitle(t.yearMon, t.seqNo, title))
        return fail(Status::Failed, QStringLiteral("title not saved"));
    CrashPoint::hit("round-before-commit");
    if (!tx.commit()) return fail(Status::Failed, tx.error());
    return r;
}

} // namespace

namespace RoundBuilder {

RoundResult createByGrade(const RoundTarget& t, const GradeSelection& s, const QString& title) {
    if (t.table().isEmpty()) return fail(Status::BadRound);
    if (s.grades.isEmpty() || s.itemIds.isEmpty()) return fail(Status::NoSelection);
    return createRound(t, title, [&](RoundResult& r) {
        std::vector<SourceRow> rows;
        Filler f(t);
        if (!sourceByGrade(t.gcode(), s, rows, &r.error) || !f.fill(rows, &r.error)) return false;
        r.rows = f.rows();
        r.skipped = f.skipped;
        return writeLog(gradeLog(QStringLiteral("학년별회차생성"), t, s), &r.error);
    });
}

RoundResult createByGroup(const RoundTarget& t, const QList<GroupItem>& groups, const QString& title) {
    if (t.table().isEmpty()) return fail(Status::BadRound);
    if (groups.isEmpty()) return fail(Status::NoSelection);
    return createRound(t, title, [&](RoundResult& r) {
        Filler f(t);
        for (const GroupItem& g : groups) {
            std::vector<SourceRow> rows;
            if (!sourceByGroup(t.gcode(), g, rows, &r.error) || !f.fill(rows, &r.error)) return false;
        }
        r.rows = f.rows();
        r.skipped = f.skipped;
        return writeLog(groupLog(QStringLiteral("그룹별회차생성"), t, groups), &r.error);
    });
}

namespace {

// The lowest bank code and item group of a round, the merge's sameness test.
QString lowestOf(const QString& table, const QString& column, bool skipNull) {
    Query q(QStringLiteral("SELECT %1 FROM %2 %3 GROUP BY %1 ORDER BY %1 LIMIT 1")
                .arg(column, Database::quoted(table),
                     skipNull ? QStringLiteral("WHERE %1 IS NOT NULL").arg(column) : QString()));
    if (!q.exec() || !q.next()) return {};
    return q.str(0);
}

struct MergeEntry {
    QVariant sno, itemCd, bankCd, acctNo, custNo, nm, scd, gcode;
    QString exempTy;
    qint64 amt = 0;
    QList<std::pair<int, qint64>> sources; // source table index, rowid
};

} // namespace

RoundResult createMerged(const RoundTarget& t, const QStringList& sources, const QString& title) {
    if (sources.isEmpty()) return fail(Status::NoSource);
    if (t.table().isEmpty()) return fail(Status::BadRound);
    for (const QString& s : sources)
        if (!isCollectionRound(s) || s.compare(t.table(), Qt::CaseInsensitive) == 0)
            return fail(Status::NoSource);
    const QString firstBank = lowestOf(sources.first(), QStringLiteral("BankCd"), false);
    for (const QString& s : sources) {
        const QString b = lowestOf(s, QStringLiteral("BankCd"), false);
        if (b != firstBank && !(Rounds::isBankFamily(firstBank) && Rounds::isBankFamily(b)))
            return fail(Status::BankMismatch);
    }
    const QString firstGroup = lowestOf(sources.first(), QStringLiteral("Gcode"), true);
    for (const QString& s : sources)
        if (lowestOf(s, QStringLiteral("Gcode"), true) != firstGroup) return fail(Status::GroupMismatch);

    return createRound(t, title, [&](RoundResult& r) {
        // Gather first, then write: one row per student, item group and
        // item, summed over the rounds; the first round in the user's order
        // gives the bank and account.
        QList<MergeEntry> entries;
        QHash<QString, int> index;
        QHash<QString, QString> currentSNo;
        for (int si = 0; si < sources.size(); ++si) {
            Query q(QStringLiteral(
                        "SELECT rowid, SNo, ItemCd, BankCd, AcctNo, Amt, ExempTy, CustNo, Nm, SCd, Gcode "
                        "FROM %1 WHERE ReplyTy = '0' AND ExempTy = '1' ORDER BY rowid")
                        .arg(Database::quoted(sources[si])));
            if (!q.exec()) {
                r.error = q.error();
                return false;
            }
            while (q.next()) {
                const QString key = q.str(7) + QChar(0x1f) + q.str(10) + QChar(0x1f) + q.str(2);
                auto it = index.find(key);
                if (it != index.end()) {
                    MergeEntry& e = entries[it.value()];
                    e.amt += q.num(5);
                    e.sources.append({si, q.num(0)});
                    continue;
                }
                MergeEntry e;
                const QString cust = q.str(7);
                // The row goes in under the student's current number.
                if (!currentSNo.contains(cust)) currentSNo.insert(cust, DMData->GetSNo(cust).trimmed());
                const QString cur = currentSNo.value(cust);
                e.sno = cur.isEmpty() ? q.value(1) : QVariant(cur);
                e.itemCd = q.value(2);
                e.bankCd = q.value(3);
                e.acctNo = q.value(4);
                e.amt = q.num(5);
                e.exempTy = q.str(6);
                e.custNo = q.value(7);
                e.nm = q.value(8);
                e.scd = q.value(9);
                e.gcode = q.value(10);
                e.sources.append({si, q.num(0)});
                index.insert(key, int(entries.size()));
                entries << e;
            }
        }
        RowWriter w(t.table(), t.yearMon, t.seqNo, t.gcode());
        std::vector<std::unique_ptr<Query>> removers;
        for (const QString& s : sources)
            removers.push_back(
                std::make_unique<Query>(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(Database::quoted(s))));
        QHash<QString, QString> keys;
        for (const MergeEntry& e : entries) {
            const QString key = rowKey(e.sno, e.itemCd);
            if (keys.contains(key)) {
                // Another student holds this student number: the rows stay
                // in their rounds and the user is told.
                r.skipped << QStringLiteral("%1 %2 (%3)")
                                 .arg(e.sno.toString(), e.nm.toString(), e.custNo.toString());
                continue;
            }
            keys.insert(key, e.custNo.toString());
            if (!w.write(e.sno, e.itemCd, e.bankCd, e.acctNo, e.amt, e.exempTy, e.custNo, e.nm, e.scd, {},
                         e.gcode.toString())) {
                r.error = w.error();
                return false;
            }
            // Exactly the rows summed leave their rounds.
            for (const auto& [si, rowid] : e.sources) {
                Query& d = *removers[si];
                d.add(rowid);
                if (!d.exec()) {
                    r.error = d.error();
                    return false;
                }
                ++r.rows;
            }
        }
        QStringList rounds;
        for (const QString& s : sources)
            rounds << Rounds::yearMonOf(s) + QLatin1Char('-') + Rounds::seqNoOf(s);
        return writeLog(QStringLiteral("[미처리합치기 회차생성] 항목그룹 : %1, 회차:%2-%3, 미처리회차:%4")
                            .arg(t.groupLine, t.yearMon, t.seqNo, rounds.join(QStringLiteral(", "))),
                        &r.error);
    });
}

RoundResult createCopy(const RoundTarget& t, const QString& source, const QString& title) {
    if (source.isEmpty() || !isCollectionRound(source)) return fail(Status::NoSource);
    if (t.table().isEmpty()) return fail(Status::BadRound);
    return createRound(t, title, [&](RoundResult& r) {
        // Student, item, bank, account, amount, group and item group go
        // over; the copy starts unprocessed and without exemption mark.
        Query q(
            QStringLiteral(
                "INSERT INTO %1 (%2) SELECT ?, ?, SNo, ItemCd, BankCd, AcctNo, Amt, NULL, '0', NULL, "
                "'1', CustNo, Nm, SCd, GrpNm, NULL, NULL, 0, Gcode FROM %3 ORDER BY SNo")
                .arg(Database::quoted(t.table()), QLatin1String(kRoundColumns), Database::quoted(source)));
        q.add(t.yearMon).add(t.seqNo);
        if (!q.exec()) {
            r.error = q.error();
            return false;
        }
        r.rows = q.affected();
        return true;
    });
}

namespace {

template <typename Fill> RoundResult addToRound(const RoundTarget& t, Fill&& fill) {
    if (t.table().isEmpty()) return fail(Status::BadRound);
    if (!isCollectionRound(t.table())) return fail(Status::Missing);
    Transaction tx;
    if (!tx.ok()) return fail(Status::Failed, tx.error());
    RoundResult r;
    Filler f(t);
    if (!f.loadExisting(t.table(), &r.error) || !fill(f, r)) {
        r.status = Status::Failed;
        return r;
    }
    r.rows = f.rows();
    r.skipped = f.skipped;
    if (!tx.commit()) return fail(Status::Failed, tx.error());
    return r;
}

} // namespace

RoundResult addByGrade(const RoundTarget& t, const GradeSelection& s) {
    if (s.grades.isEmpty() || s.itemIds.isEmpty()) return fail(Status::NoSelection);
    return addToRound(t, [&](Filler& f, RoundResult& r) {
        std::vector<SourceRow> rows;
        if (!sourceByGrade(t.gcode(), s, rows, &r.error) || !f.fill(rows, &r.error)) return false;
        return writeLog(gradeLog(QStringLiteral("학년별회차자료 추가"), t, s), &r.error);
    });
}

RoundResult addByGroup(const RoundTarget& t, const QList<GroupItem>& groups) {
    if (groups.isEmpty()) return fail(Status::NoSelection);
    return addToRound(t, [&](Filler& f, RoundResult& r) {
        for (const GroupItem& g : groups) {
            std::vector<SourceRow> rows;
            if (!sourceByGroup(t.gcode(), g, rows, &r.error) || !f.fill(rows, &r.error)) return false;
        }
        return writeLog(groupLog(QStringLiteral("그룹별회차자료 추가"), t, groups), &r.error);
    });
}

namespace {

template <typename Del> RoundResult deleteFromRound(const RoundTarget& t, Del&& del) {
    if (t.table().isEmpty()) return fail(Status::BadRound);
    if (!isCollectionRound(t.table())) return fail(Status::Missing);
    Transaction tx;
    if (!tx.ok()) return fail(Status::Failed, tx.error());
    RoundResult r;
    if (!del(r)) {
        r.status = Status::Failed;
        return r;
    }
    // A round left without rows goes with its table.
    Query c(QStringLiteral("SELECT count(*) FROM %1").arg(Database::quoted(t.table())));
    if (!c.exec() || !c.next()) return fail(Status::Failed, c.error());
    if (c.num(0) < 1) {
        c.finish();
        if (!Database::dropTable(t.table(), &r.error) ||
            !writeLog(QStringLiteral("[회차DB삭제] %1-%2회차 DB 삭제").arg(t.yearMon, t.seqNo), &r.error)) {
            r.status = Status::Failed;
            return r;
        }
        r.dropped = true;
    }
    c.finish();
    if (!tx.commit()) return fail(Status::Failed, tx.error());
    return r;
}

} // namespace

RoundResult deleteByGrade(const RoundTarget& t, const QStringList& grades, const QStringList& itemIds,
                          const QStringList& itemLines) {
    if (grades.isEmpty() || itemIds.isEmpty()) {
        if (t.table().isEmpty()) return fail(Status::BadRound);
        if (!isCollectionRound(t.table())) return fail(Status::Missing);
        return fail(Status::NoSelection);
    }
    return deleteFromRound(t, [&](RoundResult& r) {
        // Transferred rows stay; cash and refund rows go too.
        Query q(
            QStringLiteral(
                "DELETE FROM %1 WHERE SCd IN (%2) AND ItemCd IN (%3) AND (ReplyTy IS NULL OR ReplyTy <> '1')")
                .arg(Database::quoted(t.table()), marks(int(grades.size())), marks(int(itemIds.size()))));
        for (const QString& g : grades)
            q.add(g);
        for (const QString& i : itemIds)
            q.add(i);
        if (!q.exec()) {
            r.error = q.error();
            return false;
        }
        r.rows = q.affected();
        return writeLog(
            QStringLiteral("[학년별회차삭제]회차:%1-%2, 학년:%3, 항목:%4")
                .arg(t.yearMon, t.seqNo, quotedList(grades), quotedList(itemLines, QStringLiteral(" "))),
            &r.error);
    });
}

RoundResult deleteByGroup(const RoundTarget& t, const QList<GroupItem>& groups) {
    if (groups.isEmpty()) {
        if (t.table().isEmpty()) return fail(Status::BadRound);
        if (!isCollectionRound(t.table())) return fail(Status::Missing);
        return fail(Status::NoSelection);
    }
    return deleteFromRound(t, [&](RoundResult& r) {
        // The members' rows of the item go whatever their state; a group
        // without members deletes nothing.
        Query q(
            QStringLiteral(
                "DELETE FROM %1 WHERE ItemCd = ? AND CustNo IN (SELECT CustNo FROM C_GRP WHERE GrpNm = ?)")
                .arg(Database::quoted(t.table())));
        for (const GroupItem& g : groups) {
            q.bind(0, g.itemId);
            q.bind(1, g.grpNm.trimmed());
            if (!q.exec()) {
                r.error = q.error();
                return false;
            }
            r.rows += q.affected();
        }
        return writeLog(QStringLiteral("[그룹별회차삭제]회차:%1-%2, 그룹항목:%3")
                            .arg(t.yearMon, t.seqNo, groupLines(groups)),
                        &r.error);
    });
}

namespace {

// Every row unprocessed and no request file out: a round in flight (its
// file written, its results not back) has a result file coming for it.
bool neverUsed(const QString& t) {
    if (Rounds::requestBooked(t)) return false;
    Query q(QStringLiteral("SELECT count(*) FROM %1 WHERE ReplyTy <> '0'").arg(Database::quoted(t)));
    return q.exec() && q.next() && q.num(0) == 0;
}

} // namespace

QStringList unusedRounds(const QStringList& tables) {
    QStringList out;
    const QString month = Clock::yearMonthText();
    for (const QString& t : tables) {
        if (!isCollectionRound(t) || Rounds::yearMonOf(t) == month) continue;
        if (neverUsed(t)) out << t;
    }
    return out;
}

int dropRounds(const QStringList& tables) {
    static const QString menu = QStringLiteral("사용하지 않는 회차정리");
    Transaction tx;
    int dropped = 0;
    for (const QString& t : tables) {
        const QString statement = QStringLiteral("drop table ") + t;
        // Judged again here: a caller's list is no guard.
        const bool ok = isCollectionRound(t) && neverUsed(t) && Database::dropTable(t);
        if (ok) ++dropped;
        QString error;
        writeLog(statement + (ok ? QStringLiteral(" 성공") : QStringLiteral(" 실패")), &error, menu);
    }
    if (!tx.commit()) return 0;
    return dropped;
}

} // namespace RoundBuilder

namespace RoundMessages {

using A = Action;

void badRound() {
    Msg::error(QStringLiteral("이체파일생성"),
               QStringLiteral(
                   "이체년월/회차가 올바르지 않습니다!\r회차는 01회차부터 99회차까지 생성할 수 있습니다."));
}

void show(Action a, const RoundResult& r) {
    const bool deleting = a == A::DeleteByGrade || a == A::DeleteByGroup;
    switch (r.status) {
    case Status::Done:
        if (!r.skipped.isEmpty())
            Msg::warning(QStringLiteral("확인요망"),
                         QStringLiteral("학번이 같은 학생이 있어 다음 학생의 자료는 만들지 않았습니다.\r") +
                             r.skipped.join(QLatin1Char('\r')));
        return;
    case Status::Exists:
        if (a == A::Merge)
            Msg::error(
                QStringLiteral("이체파일생성"),
                QStringLiteral(
                    "이체년월/회차가 이미 존재합니다\r\n미처리합치기는 새로운 회차에 생성하셔야 합니다."));
        else if (a == A::Copy)
            Msg::error(QStringLiteral("이체파일생성"),
                       QStringLiteral(
                           "이체년월/회차가 이미 존재합니다\r\n회차복사는 새로운 회차로 생성하셔야 합니다."));
        else
            Msg::error(QStringLiteral("이체파일생성"),
                       QStringLiteral("이체년월/회차가 존재합니다! 다른회차를 입력하세요"));
        return;
    case Status::Missing:
        Msg::error(deleting ? QStringLiteral("이체파일삭제") : QStringLiteral("자료추가"),
                   QStringLiteral("이체년월/회차가 존재 않습니다!"));
        return;
    case Status::BadRound:
        badRound();
        return;
    case Status::NoSelection:
        if (a == A::DeleteByGroup)
            Msg::error(QStringLiteral("이체파일삭제오류"), QStringLiteral("선택된 그룹이 없습니다."));
        else if (a == A::CreateByGroup || a == A::AddByGroup)
            Rounds::plainBox(QStringLiteral("그룹을 추가하세요."));
        else
            Msg::error(deleting ? QStringLiteral("이체파일삭제오류") : QStringLiteral("이체파일생성오류"),
                       QStringLiteral("선택된 학생 또는 항목이 없습니다 "));
        return;
    case Status::NoSource:
        Rounds::plainBox(a == A::Copy ? QStringLiteral("복사할 회차를 선택하세요.")
                                      : QStringLiteral("회차를 선택하세요."));
        return;
    case Status::BankMismatch:
        Rounds::plainBox(QStringLiteral("미처리 합치기는 같은 은행별로 하셔야 합니다."));
        return;
    case Status::GroupMismatch:
        Rounds::plainBox(QStringLiteral("미처리 합치기는 같은 항목그룹별로 하셔야 합니다."));
        return;
    case Status::Failed:
        Msg::error(QStringLiteral("오류"), QStringLiteral("자료를 처리하지 못했습니다.\r") + r.error);
        return;
    }
}

} // namespace RoundMessages
