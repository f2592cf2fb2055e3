#include "students/NewTerm.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "students/StudentStore.h"

#include "platform/text/Cp949.h"

#include <QCollator>
#include <QSaveFile>
#include <QHash>

#include <algorithm>

namespace NewTerm {

namespace {

const QString kTable = QStringLiteral("V_TEMP");

TableDef vTempDef() {
    const auto t = [](const char* n, int w) { return FieldDef{QString::fromLatin1(n), FieldType::Text, w}; };
    return {kTable,
            {FieldDef{QStringLiteral("v_idxs"), FieldType::AutoInc, 0}, t("custno", 12), t("sno", 10), t("scd", 2),
             t("ban", 5), t("bun", 5), t("nm", 20), t("v_a01v", 2), t("v_a02v", 5), t("v_a03v", 5), t("v_x00c", 1)},
            {QStringLiteral("v_idxs")},
            {IndexDef{QStringLiteral("INDEX1"), {QStringLiteral("sno")}, true, false}}};
}

// A bound of the old number: full length compares the number, 3 or 1
// characters its start.
void addBound(QString* sql, QVariantList* binds, const QString& bound, const char* op) {
    const int n = int(bound.size());
    if (n == SNoLen)
        *sql += QStringLiteral(" AND sno %1 ?").arg(QLatin1String(op));
    else if (n == 3 || n == 1)
        *sql += QStringLiteral(" AND substr(sno, 1, %1) %2 ?").arg(n).arg(QLatin1String(op));
    else
        return;
    *binds << bound;
}

QString pad(const QString& s, int len) { return TDMLib::PadRightSpace(s, len); }

bool allZero(const QString& s) { return !s.isEmpty() && s.count(QLatin1Char('0')) == s.size(); }

QString oldPart(const NewTermRow& r) {
    return QStringLiteral("(구) ") + r.sCd.trimmed() + r.ban.trimmed() + r.bun.trimmed() + QLatin1Char(' ') +
           pad(r.nm.trimmed(), 10);
}

// One line per pair of students given the same new number.
QString sameNumberLine(const NewTermRow& a, const NewTermRow& b) {
    return oldPart(a) + QStringLiteral("(신) ") + a.newGrade + a.newBan + a.newBun + QStringLiteral("  =  ") +
           oldPart(b) + QLatin1Char(' ') + QStringLiteral("(신) ") + b.newGrade + b.newBan + b.newBun +
           QStringLiteral("  신학반번호 동일");
}

QStringList graduatesOf(const ApplyOptions& o) {
    QStringList g;
    for (const QString& s : {o.graduate1.trimmed(), o.graduate2.trimmed()})
        if (!s.isEmpty()) g << s;
    return g;
}

// A line for each row (graduates aside) without its whole new number; the
// others go to staying.
QStringList incompleteLines(const QList<NewTermRow>& all, const QStringList& graduates,
                            QList<NewTermRow>* staying) {
    QStringList lines;
    for (const NewTermRow& row : all) {
        if (graduates.contains(row.sCd.trimmed())) continue;
        if (row.newGrade.trimmed().isEmpty() || row.newBan.trimmed().isEmpty() ||
            row.newBun.trimmed().isEmpty())
            lines << QStringLiteral("기존학번 ") + row.sNo.trimmed() + QStringLiteral(", ") +
                         row.sCd.trimmed() + QStringLiteral(", ") + row.ban.trimmed() + QStringLiteral(", ") +
                         row.bun.trimmed() + QStringLiteral(", ") + row.nm.trimmed() +
                         QStringLiteral("  신학번 ") + row.newGrade.trimmed() + QStringLiteral(", ") +
                         row.newBan.trimmed() + QStringLiteral(", ") + row.newBun.trimmed();
        else
            *staying << row;
    }
    return lines;
}

// The work table holds what was typed; the roster takes it only whole.
QStringList rosterLines(const QList<NewTermRow>& staying) {
    QStringList lines;
    for (const NewTermRow& row : staying) {
        const QString grade = row.newGrade.trimmed();
        const QString p = StudentStore::rosterProblem(
            {{QStringLiteral("SCd"), grade},
             {QStringLiteral("SNo"), grade + row.newBan.trimmed() + row.newBun.trimmed()}});
        if (!p.isEmpty())
            lines << QStringLiteral("기존학번 ") + row.sNo.trimmed() + QStringLiteral(", ") +
                         row.nm.trimmed() + QStringLiteral("  ") + p;
    }
    return lines;
}

// Duplicates over the whole table, not only the rows on screen.
QStringList duplicateLines(const QList<NewTermRow>& staying) {
    QStringList lines;
    QHash<QString, const NewTermRow*> byKey;
    for (const NewTermRow& row : staying) {
        const QString key = row.newGrade.trimmed() + row.newBan.trimmed() + row.newBun.trimmed();
        // The box says what is wrong once; each line names the two students.
        if (const NewTermRow* first = byKey.value(key))
            lines << sameNumberLine(*first, row);
        else
            byKey.insert(key, &row);
    }
    return lines;
}

// Graduates and, when chosen, transferred students deleted from the roster
// (graduates from the work table too).
bool removeLeaving(const ApplyOptions& o, const QStringList& graduates, QString* error) {
    // Students about to be deleted keep their payer numbers taken.
    QStringList gone;
    {
        QString sql = QStringLiteral("SELECT CustNo FROM M_CUST WHERE 1 = 0");
        if (o.deleteTransferred) sql += QStringLiteral(" OR OutDate IS NOT NULL");
        for (int i = 0; i < graduates.size(); ++i)
            sql += QStringLiteral(" OR SCd = ?");
        Query q(sql);
        for (const QString& g : graduates)
            q.add(g);
        if (!q.exec()) {
            *error = q.error();
            return false;
        }
        while (q.next())
            gone << q.str(0);
    }
    for (const QString& c : gone)
        if (!StudentStore::rememberCustNo(c)) {
            *error = QStringLiteral("M_CUSTSEQ");
            return false;
        }
    if (o.deleteTransferred) {
        Query q(QStringLiteral("DELETE FROM M_CUST WHERE OutDate IS NOT NULL"));
        if (!q.exec()) {
            *error = q.error();
            return false;
        }
    }
    for (const QString& g : graduates) {
        Query a(QStringLiteral("DELETE FROM M_CUST WHERE SCd = ?"));
        a.add(g);
        Query b(QStringLiteral("DELETE FROM V_TEMP WHERE scd = ?"));
        b.add(g);
        if (!a.exec()) {
            *error = a.error();
            return false;
        }
        if (!b.exec()) {
            *error = b.error();
            return false;
        }
    }
    return true;
}

// The new grades and numbers into the roster.
bool renumber(const QList<NewTermRow>& staying, const std::function<void(int, int)>& progress, int* updated,
              QString* error) {
    int i = 0;
    for (const NewTermRow& row : staying) {
        Query q(QStringLiteral("UPDATE M_CUST SET SCd = ?, SNo = ? WHERE CustNo = ?"));
        q.add(row.newGrade.trimmed())
            .add(row.newGrade.trimmed() + row.newBan.trimmed() + row.newBun.trimmed())
            .add(row.custNo);
        if (!q.exec()) {
            *error = q.error();
            return false;
        }
        *updated += q.affected();
        if (progress) progress(++i, int(staying.size()));
    }
    return true;
}

} // namespace

bool VTempExists() { return Database::tableExists(kTable); }

bool CreateVTemp() { return Database::createTable(vTempDef(), false); }

QString gradeUp(const QString& oldGrade) {
    bool ok = false;
    const int g = oldGrade.trimmed().toInt(&ok);
    return ok ? QString::number(g + 1) : QString();
}

FillResult FillVTemp(const std::function<void(int, int)>& progress) {
    FillResult r;
    if (!VTempExists() && !CreateVTemp()) {
        r.error = QStringLiteral("cannot create V_TEMP");
        return r;
    }
    Transaction tx;
    if (!tx.ok()) {
        r.error = QStringLiteral("the database is busy");
        return r;
    }
    struct S {
        QString custNo, sCd, sNo, nm, outDate;
    };
    QList<S> students;
    Query q(QStringLiteral("SELECT CustNo, SCd, SNo, Nm, OutDate FROM M_CUST ORDER BY rowid"));
    if (!q.exec()) {
        r.error = q.error();
        return r;
    }
    while (q.next()) students.append({q.str(0), q.str(1), q.str(2), q.str(3), q.str(4)});
    r.students = int(students.size());
    QSet<QString> present;
    {
        Query p(QStringLiteral("SELECT custno FROM V_TEMP"));
        if (!p.exec()) {
            r.error = p.error();
            return r;
        }
        while (p.next()) present.insert(p.str(0));
    }
    RowInserter ins(kTable, {QStringLiteral("custno"), QStringLiteral("sno"), QStringLiteral("scd"),
                             QStringLiteral("ban"), QStringLiteral("bun"), QStringLiteral("nm"),
                             QStringLiteral("v_a01v")});
    int i = 0;
    for (const S& s : students) {
        if (!s.outDate.trimmed().isEmpty()) {
            Query d(QStringLiteral("DELETE FROM V_TEMP WHERE custno = ?"));
            d.add(s.custNo);
            if (!d.exec()) {
                r.error = d.error();
                return r;
            }
            r.removed += d.affected() > 0 ? 1 : 0;
        } else if (!present.contains(s.custNo)) {
            ins.add(s.custNo).add(s.sNo).add(s.sCd).add(s.sNo.mid(1, 2)).add(s.sNo.mid(3, 3)).add(s.nm);
            if (!ins.add(gradeUp(s.sCd)).exec(&r.error)) return r;
            present.insert(s.custNo);
            ++r.added;
        }
        if (progress) progress(++i, r.students);
    }
    if (!tx.commit()) {
        r.error = QStringLiteral("commit");
        return r;
    }
    r.ok = true;
    return r;
}

QList<NewTermRow> rows(const QString& from, const QString& to, bool* ok) {
    QList<NewTermRow> out;
    QString sql = QStringLiteral(
        "SELECT v_idxs, custno, sno, scd, ban, bun, nm, v_a01v, v_a02v, v_a03v FROM V_TEMP WHERE v_idxs > 0");
    QVariantList binds;
    addBound(&sql, &binds, from, ">=");
    addBound(&sql, &binds, to, "<=");
    sql += QStringLiteral(" ORDER BY sno, v_idxs");
    if (!VTempExists()) {
        if (ok) *ok = true;
        return out;
    }
    Query q(sql);
    for (const QVariant& b : binds) q.add(b);
    const bool done = q.exec();
    if (ok) *ok = done;
    while (done && q.next()) {
        NewTermRow r;
        r.idx = q.num(0);
        QString* f[] = {&r.custNo, &r.sNo, &r.sCd, &r.ban, &r.bun, &r.nm, &r.newGrade, &r.newBan, &r.newBun};
        for (int i = 0; i < 9; ++i) *f[i] = q.str(i + 1);
        out.append(r);
    }
    return out;
}

bool reset(const QString& from, const QString& to, QString* error) {
    QString sql = QStringLiteral("UPDATE V_TEMP SET v_a01v = NULL, v_a02v = NULL, v_a03v = NULL WHERE 1 = 1");
    QVariantList binds;
    addBound(&sql, &binds, from, ">=");
    addBound(&sql, &binds, to, "<=");
    Transaction tx;
    Query q(sql);
    for (const QVariant& b : binds) q.add(b);
    if (!tx.ok() || !q.exec()) {
        if (error) *error = q.error();
        return false;
    }
    return tx.commit();
}

bool save(const QList<NewTermRow>& list, QString* error) {
    Transaction tx;
    if (!tx.ok()) {
        if (error) *error = QStringLiteral("the database is busy");
        return false;
    }
    for (const NewTermRow& r : list) {
        Query q(QStringLiteral("UPDATE V_TEMP SET v_a01v = ?, v_a02v = ?, v_a03v = ? WHERE v_idxs = ?"));
        q.add(r.newGrade.trimmed()).add(r.newBan.trimmed()).add(r.newBun.trimmed()).add(r.idx);
        if (!q.exec()) {
            if (error) *error = q.error();
            return false;
        }
    }
    if (!DMLib->WriteJobLog(QString::fromUtf16(kCaption), QStringLiteral("작업내용저장"))) {
        if (error) *error = QStringLiteral("job log");
        return false;
    }
    return tx.commit();
}

void setGrades(QList<NewTermRow>& list, bool promote) {
    for (NewTermRow& r : list) r.newGrade = promote ? gradeUp(r.sCd) : r.sCd.trimmed();
}

void setClass(QList<NewTermRow>& list, const QString& ban) {
    for (NewTermRow& r : list) r.newBan = ban;
}

void keepOldClassAndNumber(QList<NewTermRow>& list) {
    for (NewTermRow& r : list) {
        if (r.newBan.trimmed().isEmpty()) r.newBan = r.ban.trimmed();
        if (r.newBun.trimmed().isEmpty()) r.newBun = r.bun.trimmed();
    }
}

QString classEntry(const QString& text, QString* error) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *error = QStringLiteral("새반이 입력되어 있지 않습니다.\r확인하시고 다시 입력하십시오.");
        return {};
    }
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n < 1 || n > 99) {
        *error = QStringLiteral("새반은 1 ~ 99 사이의 값으로 입력하셔야 합니다.\r확인하시고 다시 입력하십시오.");
        return {};
    }
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

int duplicateOf(const QList<NewTermRow>& list, const QString& key) {
    int seen = 0;
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).key() == key && ++seen == 2) return i;
    return -1;
}

QString duplicateText(const NewTermRow& r) {
    return QStringLiteral("신학년번호가 동일하게 입력된 자료가 존재 합니다( 구-") + r.sCd + QLatin1Char('-') + r.ban +
           QLatin1Char('-') + r.bun + QStringLiteral("  ") + r.nm + QStringLiteral("  신-") + r.newGrade +
           QLatin1Char('-') + r.newBan + QLatin1Char('-') + r.newBun + QLatin1Char(')');
}

QStringList check(QList<NewTermRow>& list) {
    const int numLen = SNoLen - 3;
    for (NewTermRow& r : list) {
        if (!r.newGrade.trimmed().isEmpty()) r.newGrade = PadZero(r.newGrade.trimmed(), 1, false);
        if (!r.newBan.trimmed().isEmpty()) r.newBan = PadZero(r.newBan.trimmed(), 2, false);
        if (!r.newBun.trimmed().isEmpty()) r.newBun = PadZero(r.newBun.trimmed(), numLen, false);
    }
    QStringList lines;
    for (int i = 0; i < list.size(); ++i) {
        const NewTermRow& r = list.at(i);
        const QString key = r.newGrade.trimmed() + r.newBan + r.newBun;
        const bool fits = key.size() == SNoLen && r.newBun.trimmed().size() == numLen;
        if (fits && !allZero(r.newGrade) && !allZero(r.newBan) && !allZero(r.newBun)) {
            for (int j = i + 1; j < list.size(); ++j) {
                const NewTermRow& o = list.at(j);
                if (o.newGrade.trimmed() + o.newBan + o.newBun != key) continue;
                lines << sameNumberLine(r, o);
            }
        } else if (fits) {
            lines << oldPart(r) + QStringLiteral("(신) ") + pad(r.newGrade, 1) + pad(r.newBan, 2) +
                         pad(r.newBun, 3) + QStringLiteral("  신 학반번호 미등록");
        } else {
            lines << oldPart(r) + QStringLiteral("(신) ") + pad(r.newGrade, 1) + pad(r.newBan, 2) +
                         pad(r.newBun, 3) + QStringLiteral("  신 학반번호 입력 오류");
        }
    }
    return lines;
}

QList<NewTermRow> preview(const QList<NewTermRow>& list) {
    QList<NewTermRow> out = list;
    QCollator c;
    std::stable_sort(out.begin(), out.end(),
                     [&c](const NewTermRow& a, const NewTermRow& b) { return c.compare(a.key(), b.key()) < 0; });
    return out;
}

ApplyResult apply(const ApplyOptions& o, const std::function<void(int, int)>& progress) {
    ApplyResult r;
    Transaction tx;
    if (!tx.ok()) {
        r.error = QStringLiteral("the database is busy");
        return r;
    }
    const QStringList graduates = graduatesOf(o);
    bool ok = false;
    const QList<NewTermRow> all = rows(QString(), QString(), &ok);
    if (!ok) {
        r.error = QStringLiteral("V_TEMP");
        return r;
    }
    QList<NewTermRow> staying;
    r.lines = incompleteLines(all, graduates, &staying);
    if (!r.lines.isEmpty()) {
        r.outcome = ApplyResult::Outcome::Incomplete;
        return r;
    }
    r.lines = rosterLines(staying);
    if (!r.lines.isEmpty()) {
        r.outcome = ApplyResult::Outcome::Refused;
        return r;
    }
    r.lines = duplicateLines(staying);
    if (!r.lines.isEmpty()) {
        r.outcome = ApplyResult::Outcome::Duplicate;
        return r;
    }
    const auto fail = [&r](const QString& e) {
        r.outcome = ApplyResult::Outcome::Failed;
        r.error = e;
        r.updated = 0;
        return r;
    };
    QString error;
    if (!removeLeaving(o, graduates, &error)) return fail(error);
    if (!renumber(staying, progress, &r.updated, &error)) return fail(error);
    Query empty(QStringLiteral("DELETE FROM V_TEMP"));
    if (!empty.exec()) return fail(empty.error());
    if (!DMLib->WriteJobLog(QString::fromUtf16(kCaption), QStringLiteral("변경최종확정 실행")))
        return fail(QStringLiteral("job log"));
    if (!tx.commit()) return fail(QStringLiteral("commit"));
    r.outcome = ApplyResult::Outcome::Done;
    return r;
}

bool writeList(const QString& fileName, const QStringList& lines, QString* path) {
    const QString file = DMLib->FDataDir + QLatin1Char('/') + fileName;
    if (path) *path = file;
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QByteArray bytes;
    for (const QString& l : lines) bytes += Cp949::encode(l) + "\r\n";
    f.write(bytes);
    return f.commit();
}

} // namespace NewTerm
