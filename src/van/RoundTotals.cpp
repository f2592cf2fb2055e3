#include "van/RoundTotals.h"

#include "platform/db/Database.h"
#include "transfers/common/Rounds.h"

#include <QLocale>

#include <functional>

namespace RoundTotals {

qint64 Sums::subAmt() const {
    qint64 t = 0;
    for (qint64 a : amt)
        t += a;
    return t;
}

void Sums::add(const Sums& o) {
    for (int i = 0; i < States; ++i) {
        cnt[i] += o.cnt[i];
        amt[i] += o.amt[i];
    }
}

namespace {

QString number(qint64 v, int width = 0) {
    const QString t = QLocale(QLocale::English).toString(v);
    return width > 0 ? t.rightJustified(width) : t;
}

// One row into the sums, by the order of the states' rules.
void classify(Sums& s, bool refunds, const QString& exempTy, const QString& replyTy, qint64 amt,
              qint64 reAmt) {
    if (exempTy == QLatin1String("0")) {
        ++s.cnt[Sums::Exempt];
        s.amt[Sums::Exempt] += amt;
    } else if (replyTy == QLatin1String("1") || replyTy == QLatin1String("2") ||
               (!refunds && replyTy == QLatin1String("3"))) {
        // A distribution round has no refunds.
        ++s.cnt[Sums::Proc];
        s.amt[Sums::Proc] += amt;
    } else if (replyTy == QLatin1String("3")) {
        if (reAmt == amt) {
            ++s.cnt[Sums::Refund];
            s.amt[Sums::Refund] += reAmt;
        } else {
            ++s.cnt[Sums::Proc];
            s.amt[Sums::Proc] += amt - reAmt;
            ++s.cnt[Sums::Partial];
            s.amt[Sums::Partial] += reAmt;
        }
    } else if (replyTy == QLatin1String("0")) {
        ++s.cnt[Sums::NonProc];
        s.amt[Sums::NonProc] += amt;
    }
}

// The rows of one grade under the selection; each row's class key and sums
// go to row(). Grade codes are compared as text.
bool readGrade(const Selection& s, const QString& grade,
               const std::function<void(const QString&, qint64, qint64, const QString&, const QString&)>& row,
               QString* error) {
    const QString table = tableName(s);
    if (table.isEmpty() || !Database::tableExists(table)) {
        if (error) *error = QStringLiteral("no such table: ") + table;
        return false;
    }
    const bool refunds = s.kind == Kind::Collection;
    QString sql =
        QStringLiteral("select SNo, Amt, ReplyTy, ExempTy%1 from %2 where SCd = ?")
            .arg(refunds ? QStringLiteral(", coalesce(REAmt, 0)") : QString(), Database::quoted(table));
    QVariantList binds{grade};
    const QString bank = s.bank.left(2);
    if (Rounds::isBankFamily(bank)) {
        sql += QStringLiteral(" and BankCd in ('10','11','12')");
    } else if (bank != QLatin1String("00") && !bank.isEmpty()) {
        sql += QStringLiteral(" and BankCd = ?");
        binds << bank;
    }
    const QString item = s.item.left(2);
    if (item != QLatin1String("00") && !item.isEmpty()) {
        sql += QStringLiteral(" and ItemCd = ?");
        binds << item;
    }
    if (!s.date.trimmed().isEmpty()) {
        sql += QStringLiteral(" and ProcDt = ?");
        binds << s.date.trimmed();
    }
    sql += QStringLiteral(" order by SNo, ItemCd");
    Query q(sql);
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        if (error) *error = q.error();
        return false;
    }
    while (q.next())
        row(q.str(0), q.num(1), refunds ? q.num(4) : 0, q.str(3), q.str(2));
    if (!q.ok()) {
        if (error) *error = q.error();
        return false;
    }
    return true;
}

QString codeOf(const QString& entry) {
    return entry.section(QLatin1Char('.'), 0, 0).trimmed();
}

} // namespace

QString tableName(const Selection& s) {
    if (!Rounds::isYearMon(s.yearMon) || !Rounds::isSeqNo(s.seqNo)) return {};
    return (s.kind == Kind::Collection ? QStringLiteral("H_200_") : QStringLiteral("H_300_")) + s.yearMon +
           s.seqNo;
}

QStringList gradeEntries() {
    QStringList out;
    Query q(QStringLiteral("select SCd, SCdNm from C_SCD order by SCd"));
    if (!q.exec()) return out;
    while (q.next())
        out << q.str(0) + QLatin1Char('.') + q.str(1);
    return out;
}

QStringList bankEntries(const QString& gcode) {
    QStringList out;
    Query q(QStringLiteral("select T1.BankCd, T2.BankNm from C_ACCT T1, C_BANK T2 "
                           "where T1.BankCd = T2.BankCd and T1.Gcode = ? group by T1.BankCd, T2.BankNm "
                           "order by T1.BankCd"));
    q.add(gcode);
    if (!q.exec()) return out;
    while (q.next())
        out << q.str(0) + QLatin1Char('.') + q.str(1);
    return out;
}

QString roundGroup(const QString& table) {
    if (!Database::isRoundTableName(table) || !Database::tableExists(table)) return {};
    Query q(QStringLiteral("select Gcode from %1 group by Gcode").arg(Database::quoted(table)));
    if (!q.exec() || !q.next()) return {};
    return q.str(0);
}

bool run(const Selection& s, const QStringList& grades, Result* out, QString* error) {
    *out = Result{};
    const bool refunds = s.kind == Kind::Collection;
    const QString chosen = codeOf(s.grade);
    if (!chosen.isEmpty() && chosen != QLatin1String("00")) {
        // One grade: a line per class, in student-number order.
        out->byClass = true;
        QString key;
        bool started = false;
        Line line;
        const bool ok = readGrade(
            s, chosen,
            [&](const QString& sno, qint64 amt, qint64 reAmt, const QString& exempTy,
                const QString& replyTy) {
                const QString k = sno.left(3);
                if (!started || k != key) {
                    if (started) out->lines << line;
                    line = Line{};
                    line.label = k.mid(1, 2) + QStringLiteral(" 반");
                    key = k;
                    started = true;
                }
                classify(line.sums, refunds, exempTy, replyTy, amt, reAmt);
            },
            error);
        if (!ok) return false;
        if (started) out->lines << line;
    } else {
        for (const QString& g : grades) {
            Line line;
            line.label = codeOf(g);
            const bool ok = readGrade(
                s, line.label,
                [&](const QString&, qint64 amt, qint64 reAmt, const QString& exempTy,
                    const QString& replyTy) { classify(line.sums, refunds, exempTy, replyTy, amt, reAmt); },
                error);
            if (!ok) return false;
            out->lines << line;
        }
    }
    for (const Line& l : out->lines)
        out->total.add(l.sums);
    return true;
}

QStringList cells(const Line& l) {
    QStringList c{l.label};
    for (int i = 0; i < Sums::States; ++i)
        c << number(l.sums.cnt[i], 8);
    c << number(l.sums.subCnt(), 8);
    for (int i = 0; i < Sums::States; ++i)
        c << number(l.sums.amt[i], 11);
    c << number(l.sums.subAmt(), 11);
    return c;
}

QStringList totalTexts(const Sums& t) {
    QStringList c;
    for (int i = 0; i < Sums::States; ++i)
        c << number(t.cnt[i]);
    c << number(t.subCnt());
    for (int i = 0; i < Sums::States; ++i)
        c << number(t.amt[i]);
    c << number(t.subAmt());
    return c;
}

} // namespace RoundTotals
