#include "transfers/collection/RoundBuilder.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"
#include "platform/ui/Msg.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
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

// The columns of a fill's source rows: a student times an item, with the
// student's exemption of that item when there is one (E.CustNo not NULL); a
// group fill adds the group's name.
namespace Src {
enum { SNo, ItemCd, ItemId, BankCd, AcctNo, ItemAmt, CustNo, Nm, SCd, ExCustNo, ExFree, ExItemval, GrpNm };
}

const char* const kSourceColumns =
    "T1.SNo, T2.ItemCd, T2.ItemID, T1.BankCd, T1.AcctNo, T2.ItemAmt, T1.CustNo, T1.Nm, "
    "T1.SCd, E.CustNo, E.Free, E.Itemval";

// The statement of a fill by grades, bound.
bool prepareByGrade(Query& q, const QString& gc, const GradeSelection& s, const QStringList& banks,
                    QString* error) {
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
    return true;
}

QString gradeSourceSql(const GradeSelection& s, const QStringList& banks) {
    return QStringLiteral("SELECT %1 FROM M_CUST T1 JOIN C_ITEM T2 "
                          "LEFT JOIN M_EXEMP E ON E.CustNo = T1.CustNo AND E.ItemCd = T2.ItemCd "
                          "WHERE T1.SCd IN (%2) AND T2.Gcode = ? AND T2.ItemID IN (%3) AND T1.UseTy = '1' "
                          "AND T1.BankCd IN (%4) ORDER BY T1.SNo, T1.CustNo, T2.ItemID")
        .arg(QLatin1String(kSourceColumns), marks(int(s.grades.size())), marks(int(s.itemIds.size())),
             marks(int(banks.size())));
}

QString groupSourceSql() {
    return QStringLiteral(
               "SELECT %1, T3.GrpNm FROM M_CUST T1 JOIN C_GRP T3 ON T1.CustNo = T3.CustNo JOIN C_ITEM T2 "
               "LEFT JOIN M_EXEMP E ON E.CustNo = T1.CustNo AND E.ItemCd = T2.ItemCd "
               "WHERE T2.ItemID = ? AND T2.Gcode = ? AND T3.GrpNm = ? AND T1.UseTy = '1' "
               "ORDER BY T1.SNo, T1.CustNo")
        .arg(QLatin1String(kSourceColumns));
}

// Every column of a round table, in its order.
const char* const kRoundColumns = "YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ProcDt,ReplyTy,ReplyCd,ExempTy,"
                                  "CustNo,Nm,SCd,GrpNm,Unpaid,ReDt,REAmt,Gcode";

// A round row as written; the year-month and round are the writer's.
struct RoundRow {
    QString sno, itemCd, bankCd, acctNo;
    qint64 amt = 0;
    QString exempTy, custNo, nm, scd, grpNm;
    QString gcode; // blank: the round's item group
};

// The columns bound per row: the year-month and round, RoundRow's.
const char* const kRowColumns =
    "YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ExempTy,CustNo,Nm,SCd,GrpNm,Gcode";

// Writes round rows with one prepared statement: the rows of a creation
// come by the tens of thousands. Values are bound by position; the state
// columns start unprocessed.
class RowWriter {
public:
    RowWriter(const QString& table, const QString& ym, const QString& ss, const QString& gc)
        : q_(QStringLiteral("INSERT INTO %1 (%2,ProcDt,ReplyTy,ReplyCd,Unpaid,ReDt,REAmt) "
                            "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,NULL,'0',NULL,NULL,NULL,0)")
                 .arg(Database::quoted(table), QLatin1String(kRowColumns))),
          ym_(ym.toUtf8()), ss_(ss.toUtf8()), gc_(gc.toUtf8()) {
        ok_ = q_.ok();
        if (!ok_) error_ = q_.error();
    }
    // Writes one row: bind binds its values in kRowColumns' order from the
    // student number to the group name; a blank item group is the round's.
    template <typename Bind> bool write(Bind&& bind, const QString& gcode = {}) {
        if (!ok_) return false;
        q_.addBorrowedUtf8(ym_).addBorrowedUtf8(ss_);
        bind(q_);
        if (gcode.isEmpty())
            q_.addBorrowedUtf8(gc_);
        else
            q_.add(gcode);
        if (!q_.exec()) {
            error_ = q_.error();
            return false;
        }
        return true;
    }
    bool write(const RoundRow& r) {
        return write(
            [&r](Query& q) {
                q.add(r.sno).add(r.itemCd).add(r.bankCd).add(r.acctNo).add(r.amt).add(r.exempTy);
                q.add(r.custNo).add(r.nm).add(r.scd).add(r.grpNm);
            },
            r.gcode);
    }
    bool ok() const { return ok_; }
    QString error() const { return error_; }

private:
    Query q_;
    QByteArray ym_, ss_, gc_;
    bool ok_ = false;
    QString error_;
};

// The keys of a round's rows, student number and item as the database holds
// their text, with each row's payer number. A fill's rows come ordered by
// student number: its own keys are looked for among those of the student
// number at hand; the round's rows are taken in when the next fill starts.
class RoundKeys {
public:
    explicit RoundKeys(const QString& table) : table_(table) {}
    // Takes in the rows the round got since the last call (at first all).
    bool catchUp(QString* error) {
        Query q(QStringLiteral("SELECT rowid, SNo, ItemCd, CustNo FROM %1%2")
                    .arg(Database::quoted(table_), taken_ ? QStringLiteral(" WHERE rowid > ?") : QString()));
        if (taken_) q.add(lastRowid_);
        if (!q.exec()) {
            *error = q.error();
            return false;
        }
        while (q.next()) {
            const QByteArrayView cust = q.utf8(3);
            lastRowid_ = std::max(lastRowid_, q.num(0));
            before_.insert_or_assign(key(q.utf8(1), q.utf8(2)),
                                     std::string(cust.data(), size_t(cust.size())));
        }
        taken_ = true;
        fresh_ = true;
        return true;
    }
    // The payer number of the row with this key; null when there is none.
    const std::string* find(QByteArrayView sno, QByteArrayView item) {
        if (!before_.empty()) {
            auto it = before_.find(key(sno, item));
            if (it != before_.end()) return &it->second;
        }
        if (fresh_ || QByteArrayView(sno_) != sno) {
            sno_.assign(sno.data(), size_t(sno.size()));
            atHand_.clear();
            fresh_ = false;
            return nullptr;
        }
        for (const auto& [i, cust] : atHand_)
            if (QByteArrayView(i) == item) return &cust;
        return nullptr;
    }
    // A row written under the student number find() looked for last.
    void written(QByteArrayView item, QByteArrayView cust) {
        atHand_.emplace_back(std::string(item.data(), size_t(item.size())),
                             std::string(cust.data(), size_t(cust.size())));
    }

private:
    static std::string key(QByteArrayView sno, QByteArrayView item) {
        std::string k;
        k.reserve(size_t(sno.size() + item.size() + 1));
        k.append(sno.data(), size_t(sno.size())).append(1, '\x1f').append(item.data(), size_t(item.size()));
        return k;
    }

    QString table_;
    std::unordered_map<std::string, std::string> before_;
    qint64 lastRowid_ = 0;
    bool taken_ = false;
    std::string sno_;
    std::vector<std::pair<std::string, std::string>> atHand_;
    bool fresh_ = true;
};

// An M_EXEMP row saved without its kind, given one.
struct KindedExemption {
    QString free;
    qint64 itemval = 0;
    QString custNo, itemCd;
};

// Writes source rows the round does not have yet, as they are read. A
// second student with the same student number cannot have a row of that
// item (the student number is part of the key): such students are
// collected for the report.
class Filler {
public:
    Filler(const RoundTarget& t)
        : writer_(t.table(), t.yearMon, t.seqNo, t.gcode()), keys_(t.table()),
          exUpdate_(
              QStringLiteral("UPDATE M_EXEMP SET Free = ?, Itemval = ? WHERE CustNo = ? AND ItemCd = ?")) {}
    // Rows already in the round, by key, with their payer number.
    bool loadExisting(QString* error) { return keys_.catchUp(error); }
    // Runs the bound source statement q (columns as Src) and writes its rows;
    // exemptions given their kind are saved once the reading is done.
    bool fill(Query& q, bool withGroup, QString* error) {
        if (!q.exec()) {
            *error = q.error();
            return false;
        }
        if (!writer_.ok()) {
            *error = writer_.error();
            return false;
        }
        // Rows of an earlier fill are looked for among the round's.
        if (rows_ > 0 && !keys_.catchUp(error)) return false;
        std::vector<KindedExemption> kinded;
        while (q.next())
            if (!fillRow(q, withGroup, kinded, error)) return false;
        return saveKinds(kinded, error);
    }
    int rows() const { return rows_; }
    QStringList skipped;

private:
    bool fillRow(const Query& q, bool withGroup, std::vector<KindedExemption>& kinded, QString* error) {
        const QByteArrayView item = q.utf8(Src::ItemId);
        const QByteArrayView cust = q.utf8(Src::CustNo);
        if (const std::string* holder = keys_.find(q.utf8(Src::SNo), item)) {
            if (QByteArrayView(*holder) != cust) skip(q, cust);
            return true;
        }
        const Rounds::Exemption e = Rounds::exemption(!q.isNull(Src::ExCustNo), q.str(Src::ExFree),
                                                      q.num(Src::ExItemval), q.num(Src::ItemAmt));
        if (e.normalise) kinded.push_back({e.newFree, e.newItemval, q.str(Src::CustNo), q.str(Src::ItemCd)});
        const bool written = writer_.write([&](Query& w) {
            w.addBorrowedUtf8(q.utf8(Src::SNo))
                .addBorrowedUtf8(item)
                .addBorrowedUtf8(q.utf8(Src::BankCd))
                .addBorrowedUtf8(q.utf8(Src::AcctNo));
            w.add(e.amt).add(e.exempTy).addBorrowedUtf8(cust).addBorrowedUtf8(q.utf8(Src::Nm)).addBorrowedUtf8(q.utf8(Src::SCd));
            w.addBorrowedUtf8(withGroup ? q.utf8(Src::GrpNm) : QByteArrayView());
        });
        if (!written) {
            *error = writer_.error();
            return false;
        }
        keys_.written(item, cust);
        ++rows_;
        return true;
    }
    void skip(const Query& q, QByteArrayView cust) {
        if (!skippedCust_.emplace(cust.data(), size_t(cust.size())).second) return;
        skipped << QStringLiteral("%1 %2 (%3)").arg(q.str(Src::SNo), q.str(Src::Nm), q.str(Src::CustNo));
    }
    bool saveKinds(const std::vector<KindedExemption>& kinded, QString* error) {
        for (const KindedExemption& k : kinded) {
            exUpdate_.add(k.free).add(k.itemval).add(k.custNo).add(k.itemCd);
            if (!exUpdate_.exec()) {
                *error = exUpdate_.error();
                return false;
            }
        }
        return true;
    }

    RowWriter writer_;
    RoundKeys keys_;
    Query exUpdate_;
    std::unordered_set<std::string> skippedCust_;
    int rows_ = 0;
};

// Fills by grades: the students of the grades and banks times the items.
bool fillByGrade(Filler& f, const QString& gc, const GradeSelection& s, QString* error) {
    const QStringList banks = Rounds::bankCodes(s.bank);
    Query q(gradeSourceSql(s, banks));
    return prepareByGrade(q, gc, s, banks, error) && f.fill(q, false, error);
}

// Fills by groups: the members of each group with its item.
bool fillByGroups(Filler& f, const QString& gc, const QList<GroupItem>& groups, QString* error) {
    Query q(groupSourceSql());
    if (!q.ok()) {
        *error = q.error();
        return false;
    }
    for (const GroupItem& g : groups) {
        q.add(g.itemId).add(gc).add(g.grpNm.trimmed());
        if (!f.fill(q, true, error)) return false;
    }
    return true;
}

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
        Filler f(t);
        if (!fillByGrade(f, t.gcode(), s, &r.error)) return false;
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
        if (!fillByGroups(f, t.gcode(), groups, &r.error)) return false;
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

// Why the rounds cannot be merged into t; Done when they can: collection
// rounds other than t, of one bank (or the bank family) and item group.
Status mergeRefusal(const RoundTarget& t, const QStringList& sources) {
    if (sources.isEmpty()) return Status::NoSource;
    if (t.table().isEmpty()) return Status::BadRound;
    for (const QString& s : sources)
        if (!isCollectionRound(s) || s.compare(t.table(), Qt::CaseInsensitive) == 0) return Status::NoSource;
    const QString firstBank = lowestOf(sources.first(), QStringLiteral("BankCd"), false);
    for (const QString& s : sources) {
        const QString b = lowestOf(s, QStringLiteral("BankCd"), false);
        if (b != firstBank && !(Rounds::isBankFamily(firstBank) && Rounds::isBankFamily(b)))
            return Status::BankMismatch;
    }
    const QString firstGroup = lowestOf(sources.first(), QStringLiteral("Gcode"), true);
    for (const QString& s : sources)
        if (lowestOf(s, QStringLiteral("Gcode"), true) != firstGroup) return Status::GroupMismatch;
    return Status::Done;
}

// One row of the merged round: a student, item group and item, its amount
// summed over the rounds' rows it takes.
struct MergeEntry {
    RoundRow row;
    QList<std::pair<int, qint64>> sources; // source table index, rowid
};

// Gathers the merge: one entry per student, item group and item, summed over
// the rounds; the first round in the user's order gives the bank and
// account.
class MergeGather {
public:
    bool read(const QStringList& sources, QString* error) {
        for (int si = 0; si < sources.size(); ++si) {
            Query q(QStringLiteral(
                        "SELECT rowid, SNo, ItemCd, BankCd, AcctNo, Amt, ExempTy, CustNo, Nm, SCd, Gcode "
                        "FROM %1 WHERE ReplyTy = '0' AND ExempTy = '1' ORDER BY rowid")
                        .arg(Database::quoted(sources[si])));
            if (!q.exec()) {
                *error = q.error();
                return false;
            }
            while (q.next())
                take(q, si);
        }
        return true;
    }
    QList<MergeEntry> entries;

private:
    void take(const Query& q, int si) {
        const QString cust = q.str(7);
        const QString key = cust + QChar(0x1f) + q.str(10) + QChar(0x1f) + q.str(2);
        auto it = index_.find(key);
        if (it != index_.end()) {
            MergeEntry& e = entries[it.value()];
            e.row.amt += q.num(5);
            e.sources.append({si, q.num(0)});
            return;
        }
        // The row goes in under the student's current number.
        if (!currentSNo_.contains(cust)) currentSNo_.insert(cust, DMData->GetSNo(cust).trimmed());
        const QString cur = currentSNo_.value(cust);
        MergeEntry e;
        e.row = RoundRow{cur.isEmpty() ? q.str(1) : cur,
                         q.str(2),
                         q.str(3),
                         q.str(4),
                         q.num(5),
                         q.str(6),
                         cust,
                         q.str(8),
                         q.str(9),
                         {},
                         q.str(10)};
        e.sources.append({si, q.num(0)});
        index_.insert(key, int(entries.size()));
        entries << e;
    }

    QHash<QString, int> index_;
    QHash<QString, QString> currentSNo_;
};

// Writes the merged rows and takes exactly the rows summed out of their
// rounds. A student whose number another holds keeps the rows in their
// rounds and is reported.
bool writeMerge(const RoundTarget& t, const QStringList& sources, const QList<MergeEntry>& entries,
                RoundResult& r) {
    RowWriter w(t.table(), t.yearMon, t.seqNo, t.gcode());
    std::vector<std::unique_ptr<Query>> removers;
    for (const QString& s : sources)
        removers.push_back(std::make_unique<Query>(
            QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(Database::quoted(s))));
    QSet<QString> keys;
    for (const MergeEntry& e : entries) {
        const QString key = e.row.sno + QChar(0x1f) + e.row.itemCd;
        if (keys.contains(key)) {
            // Another student holds this student number: the rows stay in
            // their rounds and the user is told.
            r.skipped << QStringLiteral("%1 %2 (%3)").arg(e.row.sno, e.row.nm, e.row.custNo);
            continue;
        }
        keys.insert(key);
        if (!w.write(e.row)) {
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
    return true;
}

QString mergeLog(const RoundTarget& t, const QStringList& sources) {
    QStringList rounds;
    for (const QString& s : sources)
        rounds << Rounds::yearMonOf(s) + QLatin1Char('-') + Rounds::seqNoOf(s);
    return QStringLiteral("[미처리합치기 회차생성] 항목그룹 : %1, 회차:%2-%3, 미처리회차:%4")
        .arg(t.groupLine, t.yearMon, t.seqNo, rounds.join(QStringLiteral(", ")));
}

} // namespace

RoundResult createMerged(const RoundTarget& t, const QStringList& sources, const QString& title) {
    const Status refusal = mergeRefusal(t, sources);
    if (refusal != Status::Done) return fail(refusal);
    return createRound(t, title, [&](RoundResult& r) {
        MergeGather g;
        return g.read(sources, &r.error) && writeMerge(t, sources, g.entries, r) &&
               writeLog(mergeLog(t, sources), &r.error);
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
    if (!f.loadExisting(&r.error) || !fill(f, r)) {
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
        if (!fillByGrade(f, t.gcode(), s, &r.error)) return false;
        return writeLog(gradeLog(QStringLiteral("학년별회차자료 추가"), t, s), &r.error);
    });
}

RoundResult addByGroup(const RoundTarget& t, const QList<GroupItem>& groups) {
    if (groups.isEmpty()) return fail(Status::NoSelection);
    return addToRound(t, [&](Filler& f, RoundResult& r) {
        if (!fillByGroups(f, t.gcode(), groups, &r.error)) return false;
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
