#include "transfers/distribution/DistribRound.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Msg.h"

#include <QVariantList>

namespace DistribRound {

namespace {

const QString kMenu = QStringLiteral("배분이체");

QString placeholders(int n) {
    QStringList q;
    for (int i = 0; i < n; ++i)
        q << QStringLiteral("?");
    return q.join(QLatin1Char(','));
}

QString quotedJoin(const QStringList& l, const QString& sep) {
    QStringList q;
    for (const QString& s : l)
        q << QLatin1Char('"') + s + QLatin1Char('"');
    return q.join(sep);
}

Outcome refused(const QString& caption, const QString& text) {
    Outcome o;
    o.kind = Outcome::Refused;
    o.caption = caption;
    o.text = text;
    return o;
}

Outcome failed(const QString& why) {
    Outcome o;
    o.caption = QStringLiteral("오류");
    o.text = QStringLiteral("자료를 저장하지 못했습니다.\r") + why;
    return o;
}

// Appends the selected students' rows that the round lacks, in one
// statement; -1 on failure. from is the selection after its select list
// (T1 the student, T2 the item); an existing row keeps its amount and state.
int appendRows(const Target& t, const QString& from, const QVariantList& binds, QString* error) {
    Query q(QStringLiteral("insert or ignore into %1 (YearMon, SeqNo, SNo, ItemCd, BankCd, AcctNo, Amt, ReplyTy, "
                           "ExempTy, CustNo, Nm, SCd, Gcode) select ?, ?, T1.SNo, T2.ItemCd, T1.BankCd, T1.AcctNo, "
                           "coalesce(T2.ItemAmt, 0), '0', '1', T1.CustNo, T1.Nm, T1.SCd, ? ")
                .arg(Database::quoted(t.table())) +
            from);
    q.add(t.yearMon).add(t.seqNo).add(t.gcode());
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        *error = q.error();
        return -1;
    }
    return q.affected();
}

// Every exempt item of the round's students, partial ones too, marks its
// row; the amount stays.
bool markExemptions(const Target& t, QString* error) {
    Query q(QStringLiteral("update %1 set ExempTy = '0' where exists (select 1 from M_EXEMP e "
                           "where e.CustNo = %1.CustNo and e.ItemCd = %1.ItemCd)")
                .arg(Database::quoted(t.table())));
    if (!q.exec()) {
        *error = q.error();
        return false;
    }
    return true;
}

// Runs a creation: the table made when missing, rows, exemptions, log, all
// or nothing.
Outcome create(const Target& t, const std::function<int(QString*)>& rows, const QString& log) {
    if (!Database::isRoundTableName(t.table())) return failed(QStringLiteral("회차 이름이 올바르지 않습니다."));
    Transaction tx;
    if (!tx.ok()) return failed(QStringLiteral("데이터베이스를 사용할 수 없습니다."));
    QString error;
    const bool fresh = !Database::tableExists(t.table());
    if (fresh && !DMData->CreateH300(t.yearMon + t.seqNo)) return failed(QStringLiteral("회차를 만들 수 없습니다."));
    const int n = rows(&error);
    // A new round nobody was chosen for is not left behind empty.
    if (n == 0 && fresh)
        return refused(QStringLiteral("이체파일생성오류"), QStringLiteral("생성할 이체자료가 없습니다."));
    if (n < 0 || !markExemptions(t, &error) || !DMLib->WriteJobLog(kMenu, log) || !tx.commit())
        return failed(error);
    Outcome o;
    o.kind = Outcome::Done;
    o.rows = n;
    return o;
}

// Drops the round when no row is left; false on failure.
bool dropIfEmpty(const Target& t, const QString& groupText, bool* dropped, QString* error) {
    qint64 left = 0;
    {
        // The statement must be done before its table can be dropped.
        Query c(QStringLiteral("select count(*) from %1").arg(Database::quoted(t.table())));
        if (!c.exec() || !c.next()) {
            *error = c.error();
            return false;
        }
        left = c.num(0);
    }
    if (left >= 1) return true;
    if (!Database::dropTable(t.table(), error)) return false;
    *dropped = true;
    return DMLib->WriteJobLog(kMenu, QStringLiteral("[회차DB삭제] 항목그룹: ") + groupText + QStringLiteral(",  ") +
                                         t.yearMon + QLatin1Char('-') + t.seqNo + QStringLiteral("회차 DB 삭제"));
}

Outcome remove(const Target& t, const std::function<int(QString*)>& rows, const QString& log) {
    if (!Database::isRoundTableName(t.table()) || !Database::tableExists(t.table()))
        return refused(QStringLiteral("이체파일삭제"), QStringLiteral("이체년월/회차가 존재 않습니다!"));
    Transaction tx;
    if (!tx.ok()) return failed(QStringLiteral("데이터베이스를 사용할 수 없습니다."));
    QString error;
    Outcome o;
    const int n = rows(&error);
    if (n < 0 || !DMLib->WriteJobLog(kMenu, log) || !dropIfEmpty(t, t.groupText, &o.dropped, &error) ||
        !tx.commit())
        return failed(error);
    o.kind = Outcome::Done;
    o.rows = n;
    return o;
}

QString pairsText(const QList<GroupPair>& pairs) {
    QStringList l;
    for (const GroupPair& p : pairs)
        l << p.text;
    return l.join(QStringLiteral(", "));
}

} // namespace

void show(const Outcome& o) {
    if (o.text.isEmpty()) return;
    Msg::error(o.caption, o.text);
}

QString nextSeqNo(const QString& yearMon) {
    const QStringList t = Database::listTables(QStringLiteral("H_300_") + yearMon + QStringLiteral("[0-9][0-9]"));
    if (t.isEmpty()) return QStringLiteral("01");
    return QStringLiteral("%1").arg(t.last().mid(12, 2).toInt() + 1, 2, 10, QLatin1Char('0'));
}

bool exists(const Target& t) {
    return Database::isRoundTableName(t.table()) && Database::tableExists(t.table());
}

Outcome createByGrade(const Target& t, const QStringList& grades, const QStringList& itemCds,
                      const QStringList& itemLines) {
    if (grades.isEmpty())
        return refused(QStringLiteral("이체파일생성오류"), QStringLiteral("선택된 학생이 없습니다 "));
    if (itemCds.isEmpty())
        return refused(QStringLiteral("이체파일생성오류"), QStringLiteral("선택된 항목이 없습니다 "));
    const QString log = QStringLiteral("[학년별회차생성] 항목그룹: ") + t.groupText + QStringLiteral(", 회차:") +
                        t.yearMon + QLatin1Char('-') + t.seqNo + QStringLiteral(", 학년:") +
                        quotedJoin(grades, QStringLiteral(",")) + QStringLiteral(", 항목:") +
                        quotedJoin(itemLines, QStringLiteral(" ,")) + QLatin1Char(' ');
    return create(
        t,
        [&](QString* error) {
            QVariantList binds;
            for (const QString& g : grades)
                binds << g;
            for (const QString& i : itemCds)
                binds << i;
            return appendRows(t,
                              QStringLiteral("from M_CUST T1, C_ITEM T2 where T1.SCd in (%1) and T2.ItemCd in (%2) "
                                             "and T1.UseTy = '1'")
                                  .arg(placeholders(int(grades.size())), placeholders(int(itemCds.size()))),
                              binds, error);
        },
        log);
}

Outcome createByGroup(const Target& t, const QList<GroupPair>& pairs) {
    const QString log = QStringLiteral("[그룹별회차생성] 항목그룹: ") + t.groupText + QStringLiteral(", 회차:") +
                        t.yearMon + QLatin1Char('-') + t.seqNo + QStringLiteral(", 그룹항목:") + pairsText(pairs);
    return create(
        t,
        [&](QString* error) {
            int total = 0;
            for (const GroupPair& p : pairs) {
                const int n = appendRows(t,
                                         QStringLiteral("from M_CUST T1, C_ITEM T2, C_GRP T3 where T1.CustNo = "
                                                        "T3.CustNo and T2.ItemCd = ? and T3.GrpNm = ? and "
                                                        "T1.UseTy = '1'"),
                                         {p.itemCd, p.grpNm.trimmed()}, error);
                if (n < 0) return -1;
                total += n;
            }
            return total;
        },
        log);
}

Outcome deleteByGrade(const Target& t, const QStringList& grades, const QStringList& itemCds,
                      const QStringList& itemLines) {
    if (grades.isEmpty() || itemCds.isEmpty())
        return refused(QStringLiteral("이체파일삭제오류"), QStringLiteral("선택된 학생 또는 항목이 없습니다 "));
    const QString log = QStringLiteral("[학년별회차삭제]회차:") + t.yearMon + QLatin1Char('-') + t.seqNo +
                        QStringLiteral(", 학년:") + quotedJoin(grades, QStringLiteral(",")) +
                        QStringLiteral(", 항목:") + quotedJoin(itemLines, QStringLiteral(" ,")) + QLatin1Char(' ');
    return remove(
        t,
        [&](QString* error) {
            Query q(QStringLiteral("delete from %1 where SCd in (%2) and ItemCd in (%3) and ReplyTy <> '1'")
                        .arg(Database::quoted(t.table()), placeholders(int(grades.size())),
                             placeholders(int(itemCds.size()))));
            for (const QString& g : grades)
                q.add(g);
            for (const QString& i : itemCds)
                q.add(i);
            if (!q.exec()) {
                *error = q.error();
                return -1;
            }
            return q.affected();
        },
        log);
}

Outcome deleteByGroup(const Target& t, const QList<GroupPair>& pairs) {
    if (pairs.isEmpty()) return refused(QStringLiteral("이체파일삭제오류"), QStringLiteral("선택된 그룹이 없습니다."));
    const QString log = QStringLiteral("[그룹별회차삭제] 항목그룹: ") + t.groupText + QStringLiteral(", 회차:") +
                        t.yearMon + QLatin1Char('-') + t.seqNo + QStringLiteral(", 그룹항목:") + pairsText(pairs);
    return remove(
        t,
        [&](QString* error) {
            int total = 0;
            for (const GroupPair& p : pairs) {
                Query q(QStringLiteral("delete from %1 where ItemCd = ? and CustNo in (select CustNo from C_GRP "
                                       "where GrpNm = ?)")
                            .arg(Database::quoted(t.table())));
                q.add(p.itemCd).add(p.grpNm.trimmed());
                if (!q.exec()) {
                    *error = q.error();
                    return -1;
                }
                total += q.affected();
            }
            return total;
        },
        log);
}

QStringList studentItems(const Target& t, const QString& sno) {
    QStringList out;
    if (!exists(t)) return out;
    Query q(QStringLiteral("select ItemCd from %1 where SNo = ? order by ItemCd")
                .arg(Database::quoted(t.table())));
    q.add(sno);
    if (q.exec())
        while (q.next())
            out << q.str(0);
    return out;
}

AddOutcome addStudent(const Target& t, const StudentItems& s) {
    AddOutcome out;
    Transaction tx;
    if (!tx.ok()) {
        out.error = QStringLiteral("데이터베이스를 사용할 수 없습니다.");
        return out;
    }
    if (!exists(t)) {
        out.error = QStringLiteral("존재하지 않은 이체년월/회차입니다! 확인하시기 바랍니다.");
        return out;
    }
    const QString qt = Database::quoted(t.table());
    for (int i = 0; i < s.itemCds.size(); ++i) {
        const QString& itemCd = s.itemCds[i];
        const QString line = s.itemLines.value(i, itemCd);
        qint64 amt = 0;
        {
            Query a(QStringLiteral("select ItemAmt from C_ITEM where ItemCd = ?"));
            a.add(itemCd);
            if (!a.exec()) {
                out.error = a.error();
                return out;
            }
            if (a.next()) amt = a.num(0);
        }
        Query ins(QStringLiteral(
                      "insert or ignore into %1 (YearMon, SeqNo, SNo, ItemCd, BankCd, AcctNo, Gcode, Amt, "
                      "ReplyTy, ExempTy, CustNo, Nm, SCd) values (?,?,?,?,?,?,?,?,'0','1',?,?,?)")
                      .arg(qt));
        ins.add(t.yearMon).add(t.seqNo).add(s.sno).add(itemCd).add(s.student.bankCd).add(s.student.acctNo);
        ins.add(t.gcode()).add(amt).add(s.student.custNo).add(s.nm).add(s.student.sCd);
        if (!ins.exec()) {
            out.error = ins.error();
            return out;
        }
        if (ins.affected() == 0) {
            out.skipped << line;
            continue;
        }
        if (!DMLib->WriteJobLog(kMenu, QStringLiteral("[학생추가]회차:") + t.yearMon + QLatin1Char('-') +
                                           t.seqNo + QStringLiteral(", 학번:") + s.sno +
                                           QStringLiteral(", 성명:") + s.nm + QStringLiteral(", 항목:") +
                                           line + QStringLiteral(", 은행:") + s.student.bankCd +
                                           QStringLiteral(", 계좌번호:") + s.student.acctNo +
                                           QStringLiteral(", 금액:") + QString::number(amt))) {
            out.error = QStringLiteral("작업내역을 저장할 수 없습니다.");
            return out;
        }
        out.added << line;
    }
    if (!tx.commit()) {
        out.error = QStringLiteral("저장할 수 없습니다.");
        out.added.clear();
        return out;
    }
    out.ok = true;
    return out;
}

QStringList selectorLines(const QString& gcode) {
    QStringList out;
    QStringList tables = Database::listTables(QStringLiteral("H_300_*"));
    for (int i = int(tables.size()) - 1; i >= 0; --i) {
        const QString& t = tables[i];
        if (!Database::isRoundTableName(t)) continue;
        if (!gcode.trimmed().isEmpty()) {
            Query q(QStringLiteral("select max(Gcode) from %1").arg(Database::quoted(t)));
            if (!q.exec() || !q.next() || q.str(0).trimmed() != gcode.trimmed()) continue;
        }
        out << t.mid(6, 6) + QStringLiteral(" / ") + t.mid(12, 2);
    }
    return out;
}

} // namespace DistribRound
