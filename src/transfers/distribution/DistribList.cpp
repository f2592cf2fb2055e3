#include "transfers/distribution/DistribList.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/Msg.h"
#include "shared/InputCheck.h"

#include <QVariantList>

#include <functional>

namespace DistribList {

namespace {

const QString kMenu = QStringLiteral("배분이체");

Result inTransaction(const std::function<int(QString*)>& change, const QString& log) {
    Result res;
    Transaction tx;
    if (!tx.ok()) {
        res.error = QStringLiteral("데이터베이스를 사용할 수 없습니다.");
        return res;
    }
    const int n = change(&res.error);
    if (n < 0) return res;
    res.rows = n;
    if (n == 0 && !log.isEmpty()) {
        res.outcome = Outcome::NotFound;
        return res;
    }
    if ((!log.isEmpty() && !DMLib->WriteJobLog(kMenu, log)) || !tx.commit()) {
        res.error = QStringLiteral("저장할 수 없습니다.");
        return res;
    }
    res.outcome = Outcome::Done;
    return res;
}

int run(const QString& sql, const QVariantList& binds, QString* error) {
    Query q(sql);
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        *error = q.error();
        return -1;
    }
    return q.affected();
}

QString roundText(const DistribRound::Target& t) {
    return t.yearMon + QLatin1Char('-') + t.seqNo;
}

} // namespace

Listing list(const DistribRound::Target& t, const Selection& s) {
    Listing l;
    l.tableExists = DistribRound::exists(t);
    if (!l.tableExists) return l;
    QString sql = QStringLiteral("select SNo, Nm, ItemCd, BankCd, AcctNo, Amt, ExempTy, ReplyTy, ReplyCd, ProcDt, "
                                 "Gcode from %1 where YearMon = ? and SeqNo = ?")
                      .arg(Database::quoted(t.table()));
    QVariantList binds{t.yearMon, t.seqNo};
    if (!s.itemCds.isEmpty()) {
        QStringList q;
        for (const QString& i : s.itemCds) {
            q << QStringLiteral("?");
            binds << i;
        }
        sql += QStringLiteral(" and ItemCd in (%1)").arg(q.join(QLatin1Char(',')));
    }
    const QString b = s.bankCd;
    if (b == QLatin1String("10") || b == QLatin1String("11") || b == QLatin1String("12")) {
        sql += QStringLiteral(" and BankCd in ('10','11','12')");
    } else if (!b.isEmpty() && b != QLatin1String("00")) {
        sql += QStringLiteral(" and BankCd = ?");
        binds << b;
    }
    if (!s.snoPrefix.isEmpty()) {
        sql += QStringLiteral(" and substr(SNo, 1, ?) = ?");
        binds << int(s.snoPrefix.size()) << s.snoPrefix;
    }
    if (!s.procDt.isEmpty()) {
        sql += QStringLiteral(" and ProcDt = ?");
        binds << s.procDt;
    }
    if (s.procIdx == 1) sql += QStringLiteral(" and ReplyTy = '1'");
    if (s.procIdx == 2) sql += QStringLiteral(" and ReplyTy = '0'");
    sql += QStringLiteral(" order by YearMon, SeqNo, SNo, ItemCd");
    Query q(sql);
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        l.error = q.error();
        return l;
    }
    while (q.next()) {
        Row r{q.str(0), q.str(1), q.str(2), q.str(3), q.str(4), q.str(6), q.str(7), q.str(8), q.str(9), q.str(10),
              q.num(5)};
        if (r.Gcode != t.gcode()) {
            l.rows.clear();
            l.wrongGroup = QStringLiteral("조회하신 그룹이 틀립니다. 확인해주세요");
            l.procCnt = l.procAmt = l.nonProcCnt = l.nonProcAmt = 0;
            return l;
        }
        if (r.ReplyTy == QLatin1String("0")) {
            ++l.nonProcCnt;
            l.nonProcAmt += r.Amt;
        } else {
            ++l.procCnt;
            l.procAmt += r.Amt;
        }
        l.rows << r;
    }
    return l;
}

Listing reload(const DistribRound::Target& t, const QString& bankCd) {
    Listing l;
    l.tableExists = DistribRound::exists(t);
    if (!l.tableExists) return l;
    QString sql =
        QStringLiteral("select SNo, Nm, ItemCd, BankCd, AcctNo, Amt, ExempTy, ReplyTy, ReplyCd, ProcDt, "
                       "Gcode from %1")
            .arg(Database::quoted(t.table()));
    QVariantList binds;
    if (bankCd == QLatin1String("10") || bankCd == QLatin1String("11") || bankCd == QLatin1String("12")) {
        sql += QStringLiteral(" where BankCd in ('10','11','12')");
    } else {
        sql += QStringLiteral(" where BankCd = ?");
        binds << bankCd;
    }
    sql += QStringLiteral(" order by YearMon, SeqNo, SNo, ItemCd");
    Query q(sql);
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        l.error = q.error();
        return l;
    }
    while (q.next()) {
        Row r{q.str(0), q.str(1), q.str(2), q.str(3),  q.str(4), q.str(6),
              q.str(7), q.str(8), q.str(9), q.str(10), q.num(5)};
        if (r.ExempTy == QLatin1String("0") || r.Amt == 0) {
            ++l.exempCnt;
            l.exempAmt += r.Amt;
        } else if (r.ReplyTy == QLatin1String("0")) {
            ++l.nonProcCnt;
            l.nonProcAmt += r.Amt;
        } else {
            ++l.procCnt;
            l.procAmt += r.Amt;
        }
        l.rows << r;
    }
    return l;
}

QStringList bankEntries(const QString& gcode) {
    QStringList out{QStringLiteral("00.모든은행")};
    Query q(
        QStringLiteral("select T1.BankCd, T2.BankNm from C_ACCT T1, C_BANK T2 where T1.BankCd = T2.BankCd "
                       "and T1.Gcode = ? and T1.Gubun = '배분' group by T1.BankCd, T2.BankNm"));
    q.add(gcode);
    if (q.exec())
        while (q.next())
            out << q.str(0) + QLatin1Char('.') + q.str(1);
    return out;
}

QStringList allItemLines() {
    QStringList out;
    Query q(QStringLiteral("select ItemCd, ItemNm from C_ITEM"));
    if (q.exec())
        while (q.next())
            out << q.str(0) + QLatin1Char('.') + q.str(1);
    return out;
}

namespace {
// The amount dialogs' rule: whole won, commas allowed, never blank.
Result amountRefusal(const QString& text) {
    Result r;
    const QString p = InputCheck::amountProblem(text);
    if (p.isEmpty()) return r;
    r.outcome = Outcome::Refused;
    r.caption = QStringLiteral("금액입력오류");
    r.error = p;
    return r;
}
} // namespace

void showRefusal(const Result& r, QWidget* parent) {
    if (r.outcome == Outcome::Refused) Msg::error(r.caption, r.error, parent);
}

Result editAmount(const DistribRound::Target& t, const QString& sno, const QString& itemCd, const QString& nm,
                  const QString& amountText) {
    if (Result r = amountRefusal(amountText); r.outcome == Outcome::Refused) return r;
    const qint64 amount = *InputCheck::wholeWon(amountText);
    if (!DistribRound::exists(t)) return {Outcome::NotFound, {}, 0};
    return inTransaction(
        [&](QString* error) {
            return run(QStringLiteral("update %1 set Amt = ? where YearMon = ? and SeqNo = ? and SNo = ? and ItemCd = ?")
                           .arg(Database::quoted(t.table())),
                       {amount, t.yearMon, t.seqNo, sno, itemCd}, error);
        },
        QStringLiteral("[금액수정]회차:") + roundText(t) + QStringLiteral(", 학번:") + sno +
            QStringLiteral(", 성명:") + nm + QStringLiteral(", 항목:") + itemCd + QStringLiteral(", 금액:") +
            QString::number(amount));
}

Result bulkAmount(const DistribRound::Target& t, const QString& itemLine, const QString& snoPrefix,
                  const QString& amountText) {
    if (Result r = amountRefusal(amountText); r.outcome == Outcome::Refused) return r;
    const qint64 amount = *InputCheck::wholeWon(amountText);
    // The dialog keeps only the digits of the student number.
    if (!TDMLib::IsAllDigits(snoPrefix) && !snoPrefix.isEmpty()) {
        Result r;
        r.outcome = Outcome::Refused;
        r.caption = QStringLiteral("학번입력 오류");
        r.error = QStringLiteral("학번 입력 정보가 올바르지 않습니다.");
        return r;
    }
    if (!DistribRound::exists(t)) return {Outcome::NotFound, {}, 0};
    return inTransaction(
        [&](QString* error) {
            return run(QStringLiteral("update %1 set Amt = ? where ItemCd = ? and substr(SNo, 1, ?) = ?")
                           .arg(Database::quoted(t.table())),
                       {amount, itemLine.left(2), int(snoPrefix.size()), snoPrefix}, error);
        },
        QStringLiteral("[금액수정]회차:") + roundText(t) + QStringLiteral(", 학번:") + snoPrefix +
            QStringLiteral(", 항목:") + itemLine + QStringLiteral(", 금액:") + QString::number(amount));
}

Result deleteRow(const DistribRound::Target& t, const QString& sno, const QString& itemCd, const QString& nm) {
    if (!DistribRound::exists(t)) return {Outcome::NotFound, {}, 0};
    return inTransaction(
        [&](QString* error) {
            return run(QStringLiteral("delete from %1 where YearMon = ? and SeqNo = ? and SNo = ? and ItemCd = ?")
                           .arg(Database::quoted(t.table())),
                       {t.yearMon, t.seqNo, sno, itemCd}, error);
        },
        QStringLiteral("[학생삭제]회차:") + roundText(t) + QStringLiteral(", 학번:") + sno + QStringLiteral(", 성명:") +
            nm + QStringLiteral(", 항목:") + itemCd);
}

Result resetDate(const DistribRound::Target& t, const QString& procDt) {
    if (!DistribRound::exists(t)) return {Outcome::NotFound, {}, 0};
    return inTransaction(
        [&](QString* error) {
            return run(QStringLiteral("update %1 set ReplyTy = '0', ReplyCd = NULL, ProcDt = NULL where YearMon = ? "
                                      "and SeqNo = ? and ProcDt = ? and ExempTy = '1' and ReplyTy = '1'")
                           .arg(Database::quoted(t.table())),
                       {t.yearMon, t.seqNo, procDt}, error);
        },
        QString());
}

} // namespace DistribList
