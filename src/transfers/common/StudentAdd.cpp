#include "transfers/common/StudentAdd.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"

#include <algorithm>

namespace StudentAdd {

std::optional<Student> findStudent(const QString& sno) {
    Query q(
        QStringLiteral("select CustNo, Nm, BankCd, AcctNo, SCd from M_CUST where SNo = ? and UseTy = '1'"));
    q.add(sno);
    if (!q.exec() || !q.next()) return std::nullopt;
    return Student{q.str(0), q.str(1), q.str(2), q.str(3), q.str(4)};
}

QStringList itemsInRound(const QString& yearMon, const QString& seqNo, const QString& sno) {
    QStringList out;
    const QString name = QStringLiteral("H_200_") + yearMon + seqNo;
    if (!Database::isRoundTableName(name) || !Database::tableExists(name)) return out;
    Query q(
        QStringLiteral("select ItemCd from %1 where SNo = ? order by ItemCd").arg(Database::quoted(name)));
    q.add(sno);
    if (q.exec())
        while (q.next())
            out << q.str(0);
    return out;
}

Outcome save(const Request& r) {
    Outcome out;
    const QString name = QStringLiteral("H_200_") + r.yearMon + r.seqNo;
    if (!Database::isRoundTableName(name) || !Database::tableExists(name)) {
        out.error = QStringLiteral("회차 테이블이 없습니다: ") + name;
        return out;
    }
    const QString qt = Database::quoted(name);
    Transaction tx;
    for (const QString& entry : r.entries) {
        const QString itemId = entry.left(2);
        Query has(QStringLiteral(
                      "select count(*) from %1 where YearMon = ? and SeqNo = ? and SNo = ? and ItemCd = ?")
                      .arg(qt));
        has.add(r.yearMon).add(r.seqNo).add(r.sno).add(itemId);
        if (!has.exec() || !has.next()) {
            out.error = has.error();
            return out;
        }
        if (has.num(0) > 0) {
            out.skipped << entry;
            continue;
        }
        qint64 price = 0;
        QString itemCd;
        Query item(QStringLiteral("select ItemCd, ItemAmt from C_ITEM where ItemID = ? and Gcode = ?"));
        item.add(itemId).add(r.gcode);
        // A look-up that fails is no missing item or exemption: the row
        // would go in with the wrong amount.
        if (!item.exec()) {
            out.error = item.error();
            return out;
        }
        if (item.next()) {
            itemCd = item.str(0);
            price = item.num(1);
        }
        QString exempTy = QStringLiteral("1");
        qint64 exempted = 0;
        Query ex(QStringLiteral("select Free, Itemval from M_EXEMP where ItemCd = ? and CustNo = ?"));
        ex.add(itemCd).add(r.student.custNo);
        if (!ex.exec()) {
            out.error = ex.error();
            return out;
        }
        if (ex.next()) {
            const QString free = ex.str(0);
            exempTy =
                free.isEmpty() || free == QLatin1String("A") ? QStringLiteral("0") : QStringLiteral("2");
            exempted = ex.num(1);
        }
        // An exemption above the item's amount leaves nothing to collect.
        const qint64 amt = std::max<qint64>(0, price - exempted);
        QString err;
        if (!Database::insertRow(name,
                                 {{QStringLiteral("YearMon"), r.yearMon},
                                  {QStringLiteral("SeqNo"), r.seqNo},
                                  {QStringLiteral("SNo"), r.sno},
                                  {QStringLiteral("ItemCd"), itemId},
                                  {QStringLiteral("BankCd"), r.student.bankCd},
                                  {QStringLiteral("AcctNo"), r.student.acctNo},
                                  {QStringLiteral("Amt"), amt},
                                  {QStringLiteral("ReplyTy"), QStringLiteral("0")},
                                  {QStringLiteral("ExempTy"), exempTy},
                                  {QStringLiteral("CustNo"), r.student.custNo},
                                  {QStringLiteral("Nm"), r.nm},
                                  {QStringLiteral("SCd"), r.student.sCd},
                                  {QStringLiteral("Gcode"), r.gcode}},
                                 &err)) {
            out.error = err;
            return out;
        }
        AddedRow a{itemId, exempTy, amt, {}};
        a.logLine = QStringLiteral("[학생추가]회차:") + r.yearMon + QLatin1Char('-') + r.seqNo +
                    QStringLiteral(", 학번:") + r.sno + QStringLiteral(", 성명:") + r.nm +
                    QStringLiteral(", 항목:") + entry + QStringLiteral(", 은행:") + r.student.bankCd +
                    QStringLiteral(", 계좌번호:") + r.student.acctNo + QStringLiteral(", 금액:") +
                    QString::number(amt);
        if (!DMLib->WriteJobLog(QStringLiteral("집금이체"), a.logLine)) {
            out.error = QStringLiteral("job log");
            return out;
        }
        out.added << a;
    }
    if (!tx.commit()) {
        out.error = QStringLiteral("commit");
        out.added.clear();
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace StudentAdd
