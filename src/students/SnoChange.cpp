#include "students/SnoChange.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Msg.h"
#include "platform/ui/TextViewer.h"
#include "students/StudentStore.h"

#include <QHash>
#include <QRegularExpression>

namespace SnoChange {

namespace {

QString logText(const QString& oldSNo, const QString& name, const QString& newSNo) {
    return QStringLiteral("[수정] (학번:") + oldSNo + QStringLiteral(", 성명:") + name + QStringLiteral(") ") +
           QStringLiteral("변경학번 : ") + newSNo;
}

// Grade character, two-digit class, number of the school's length.
bool wellFormed(const QString& sNo) {
    static const QRegularExpression re(QStringLiteral("^[0-9A-Za-z][0-9]+$"));
    return sNo.size() == SNoLen && re.match(sNo).hasMatch();
}

// The payer number holding the number now, other than custNo; empty if none.
QString holder(const QString& sNo, const QString& custNo) {
    Query q(QStringLiteral("SELECT CustNo FROM M_CUST WHERE SNo = ? AND CustNo <> ? LIMIT 1"));
    q.add(sNo).add(custNo);
    return q.exec() && q.next() ? q.str(0) : QString();
}

bool update(const QString& custNo, const QString& newSNo, const QString* name, const QString& log, QString* error) {
    ColumnValues set{{QStringLiteral("SNo"), newSNo}, {QStringLiteral("SCd"), newSNo.left(1)}};
    if (name) set.append({QStringLiteral("Nm"), *name});
    int n = 0;
    if (!Database::updateRows(QStringLiteral("M_CUST"), set, {{QStringLiteral("CustNo"), custNo}}, error, &n))
        return false;
    if (n != 1) {
        if (error) *error = QStringLiteral("no student %1").arg(custNo);
        return false;
    }
    return DMLib->WriteJobLog(QString::fromUtf16(kMenu), log) || (error && (*error = QStringLiteral("job log"), false));
}

} // namespace

QList<Student> gradeStudents(const QString& grade) {
    QList<Student> out;
    Query q(QStringLiteral("SELECT CustNo, SNo, Nm FROM M_CUST WHERE SCd = ? ORDER BY SNo"));
    q.add(grade.trimmed());
    if (grade.trimmed().isEmpty() || !q.exec()) return out;
    while (q.next()) out.append({q.str(0), q.str(1), q.str(2)});
    return out;
}

Outcome change(const QString& custNo, const QString& newSNo, const QString& name, QString* error) {
    const QString sNo = newSNo.trimmed();
    if (sNo.isEmpty()) return Outcome::Empty;
    if (const QString p = StudentStore::rosterProblem({{QStringLiteral("SNo"), sNo},
                                                       {QStringLiteral("SCd"), sNo.left(1)},
                                                       {QStringLiteral("Nm"), name}});
        !p.isEmpty()) {
        if (error) *error = p;
        return Outcome::Refused;
    }
    Transaction tx;
    if (!tx.ok()) return Outcome::Failed;
    Query cur(QStringLiteral("SELECT SNo, Nm FROM M_CUST WHERE CustNo = ?"));
    cur.add(custNo);
    if (!cur.exec()) return Outcome::Failed;
    if (!cur.next()) return Outcome::NotFound;
    const QString oldSNo = cur.str(0);
    // Another student's number, or his own: the number exists.
    Query taken(QStringLiteral("SELECT 1 FROM M_CUST WHERE SNo = ?"));
    taken.add(sNo);
    if (!taken.exec()) return Outcome::Failed;
    if (taken.next()) return Outcome::Taken;
    if (!update(custNo, sNo, &name, logText(oldSNo, name, sNo), error) || !tx.commit()) return Outcome::Failed;
    return Outcome::Changed;
}

ImportResult importSheet(const SheetTable& sheet) {
    ImportResult r;
    struct Row {
        int line;
        QString custNo, sNo, oldSNo, nm;
    };
    QList<Row> rows;
    QHash<QString, int> byNumber, byCust;
    const int last = sheet.regionRows();
    for (int i = 2; i <= last; ++i) {
        Row row{i, sheet.text(i, 1).trimmed(), sheet.text(i, 2).trimmed(), {}, {}};
        const QString at = QStringLiteral("%1행: ").arg(i);
        if (row.custNo.isEmpty()) {
            r.errors << at + QStringLiteral("학생고유번호가 없습니다!!");
            continue;
        }
        Query q(QStringLiteral("SELECT SNo, Nm FROM M_CUST WHERE CustNo = ?"));
        q.add(row.custNo);
        if (!q.exec()) {
            r.error = q.error();
            return r;
        }
        if (!q.next()) {
            r.errors << at + row.custNo + QStringLiteral(" 동일한 학생고유번호가 존재하지 않습니다.");
            continue;
        }
        row.oldSNo = q.str(0);
        row.nm = q.str(1);
        if (const QString p = StudentStore::rosterProblem(
                {{QStringLiteral("SNo"), row.sNo}, {QStringLiteral("SCd"), row.sNo.left(1)}});
            !p.isEmpty()) {
            r.errors << at + row.custNo + QLatin1Char(' ') + p;
            continue;
        }
        if (!wellFormed(row.sNo)) {
            r.errors << at + row.custNo + QStringLiteral(" 학번 형식이 올바르지 않습니다: ") + row.sNo;
            continue;
        }
        if (byCust.contains(row.custNo)) {
            r.errors << at + row.custNo + QStringLiteral(" 학생고유번호가 %1행에도 있습니다.").arg(byCust.value(row.custNo));
            continue;
        }
        if (byNumber.contains(row.sNo)) {
            r.errors << at + row.sNo + QStringLiteral(" 학번이 %1행에도 있습니다.").arg(byNumber.value(row.sNo));
            continue;
        }
        byCust.insert(row.custNo, i);
        byNumber.insert(row.sNo, i);
        rows << row;
    }
    // A number held now by a student who keeps it is taken; a holder who
    // moves to another number in the same sheet frees it.
    for (const Row& row : rows) {
        const QString h = holder(row.sNo, row.custNo);
        if (!h.isEmpty() && !byCust.contains(h))
            r.errors << QStringLiteral("%1행: ").arg(row.line) + row.sNo + QStringLiteral(" 존재하는 학번입니다 (") + h +
                            QLatin1Char(')');
    }
    if (!r.errors.isEmpty()) return r;
    Transaction tx;
    if (!tx.ok()) {
        r.error = QStringLiteral("the database is busy");
        return r;
    }
    for (const Row& row : rows) {
        if (!update(row.custNo, row.sNo, nullptr, logText(row.oldSNo, row.nm, row.sNo), &r.error)) return r;
        ++r.changed;
    }
    if (!tx.commit()) {
        r.error = QStringLiteral("commit");
        r.changed = 0;
        return r;
    }
    r.ok = true;
    return r;
}

ImportResult importWithDialogs(QWidget* parent) {
    ImportResult none;
    FileDialogSpec spec;
    spec.title = QStringLiteral("엑셀파일에서 학생자료 불러오기");
    spec.filter = QStringLiteral("엑셀화일|*.xlsx;*.xls|모든화일|*.*");
    spec.folder = DMLib->FDataDir;
    const std::optional<QString> file = FileDialog::pick(spec, parent);
    if (!file) return none;
    QString error;
    const std::optional<SheetTable> sheet = SheetReader::read(*file, 1, &error);
    if (!sheet) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("엑셀파일을 읽을 수 없습니다.\r") + error, parent);
        none.error = error;
        return none;
    }
    if (sheet->regionRows() < 2) {
        Msg::info(QStringLiteral("알림"), QStringLiteral("불러올 자료가 없습니다."), parent);
        none.ok = true;
        return none;
    }
    const ImportResult r = importSheet(*sheet);
    const int rows = sheet->regionRows() - 1;
    if (!r.errors.isEmpty()) {
        // The sheet is taken whole or not at all: the rows without a fault
        // are not stored either.
        Msg::error(QStringLiteral("확인요망"),
                   QStringLiteral("불러온 자료에 오류가 있어 아무것도 저장하지 않았습니다.\r"
                                  "저장 0건, 오류 %1건 (전체 %2건)\r확인한 후 다시 입력하세요!!")
                       .arg(r.errors.size())
                       .arg(rows),
                   parent);
        TextViewer::showText(QStringLiteral("학번변경 오류"), r.errors.join(QLatin1Char('\n')), parent);
        return r;
    }
    if (!r.ok) {
        Msg::error(QStringLiteral("저장오류"), QStringLiteral("저장이 안되었습니다!\r") + r.error, parent);
        return r;
    }
    Msg::info(QStringLiteral("저장완료"),
              QStringLiteral("저장이 완료되었습니다!!\r저장 %1건, 오류 0건").arg(r.changed), parent);
    return r;
}

} // namespace SnoChange
