#include "van/TransferHistory.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/Workbook.h"
#include "transfers/common/Rounds.h"

#include <QHash>
#include <QLocale>

namespace TransferHistory {

const QStringList kTitles = {QStringLiteral("학번"),     QStringLiteral("성명"),   QStringLiteral("구분"),
                             QStringLiteral("이체년월"), QStringLiteral("회차"),   QStringLiteral("은행"),
                             QStringLiteral("계좌번호"), QStringLiteral("항목명"), QStringLiteral("금액"),
                             QStringLiteral("면제"),     QStringLiteral("이체"),   QStringLiteral("이체일"),
                             QStringLiteral("환불금액"), QStringLiteral("환불일")};

QList<qint64> Totals::values() const {
    return {procCnt1,    procAmt1, nonProcCnt1, nonProcAmt1, procCnt2, procAmt2, nonProcCnt2,
            nonProcAmt2, exempCnt, exempAmt,    reCnt,       reAmt,    reCnt2,   reAmt2};
}

namespace {

QString yearMonOfTable(const QString& table) {
    return table.mid(6, 4) + QLatin1Char('-') + table.mid(10, 2);
}

// "%4s.%2s.%2s" of a yyyymmdd text.
QString dateCell(const QString& d) {
    return QStringLiteral("%1.%2.%3").arg(d.left(4), 4).arg(d.mid(4, 2), 2).arg(d.mid(6, 2), 2);
}

QString numberText(qint64 v) {
    return QLocale(QLocale::English).toString(v);
}

bool isNumber(const QString& s, qint64* v) {
    bool ok = false;
    *v = s.trimmed().toLongLong(&ok);
    return ok;
}

// The text of a LIKE pattern that matches itself only: the name is taken as
// typed, never as wildcards.
QString likePrefix(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('%');
}

// The chosen students, as a condition on M_CUST.
QString studentQuery(const Selection& s, QVariantList* binds, QString* snoCondition) {
    QString students = QStringLiteral("select CustNo from M_CUST");
    if (!s.byName) {
        const QString p = MakeSNo(s.hak, s.ban, s.bun);
        *snoCondition = p;
        if (p.size() == SNoLen) {
            students += QStringLiteral(" where SNo = ?");
            *binds << p;
        } else if (!p.isEmpty()) {
            students += QStringLiteral(" where substr(SNo, 1, %1) = ?").arg(p.size());
            *binds << p;
        }
    } else {
        students += QStringLiteral(" where Nm like ? escape '\\'");
        *binds << likePrefix(s.name.trimmed());
    }
    return students;
}

// What follows "from <table>": the students, items, state and dates, then
// the order.
QString roundWhere(const Selection& s, QVariantList* binds, QString* snoCondition) {
    QString where =
        QStringLiteral(" where CustNo in (") + studentQuery(s, binds, snoCondition) + QStringLiteral(")");
    if (!s.itemIds.isEmpty()) {
        QStringList marks;
        for (const QString& id : s.itemIds) {
            marks << QStringLiteral("?");
            *binds << id.left(2);
        }
        where += QStringLiteral(" and ItemCd in (") + marks.join(QLatin1Char(',')) +
                 QStringLiteral(") and Gcode = ?");
        *binds << s.gcode.left(2);
    }
    switch (s.state) {
    case 1:
        where += QStringLiteral(" and ReplyTy in ('1','2','3')");
        break;
    case 2:
        where += QStringLiteral(" and ReplyTy = '0'");
        break;
    default:
        where += QStringLiteral(" and ReplyTy in ('0','1','2','3')");
        break;
    }
    if (!s.dateFrom.isEmpty()) {
        where += QStringLiteral(" and ProcDt >= ?");
        *binds << s.dateFrom;
    }
    if (!s.dateTo.isEmpty()) {
        where += QStringLiteral(" and ProcDt <= ?");
        *binds << s.dateTo;
    }
    // Within a table the student order is the roster's key order (payer
    // number), as reading student by student gave it.
    where += QStringLiteral(" order by CustNo, YearMon desc, SeqNo desc, ProcDt desc, ItemCd");
    return where;
}

// Item names by group and ItemID, read once for the whole search.
QHash<QString, QString> itemNamesByGroup() {
    QHash<QString, QString> itemNames;
    Query q(QStringLiteral("select Gcode, ItemID, ItemNm from C_ITEM"));
    if (q.exec())
        while (q.next())
            itemNames.insert(q.str(0) + QLatin1Char('|') + q.str(1), q.str(2));
    return itemNames;
}

// The grid rows of one round table.
bool readTable(const QString& table, const QString& where, const QVariantList& binds,
               const QHash<QString, QString>& itemNames, QList<QStringList>* rows, QString* error) {
    const bool collection = table.mid(2, 3) == QLatin1String("200");
    // A table without the refund fields (a distribution round) leaves
    // them empty.
    const bool refunds = Database::columns(table).contains(QStringLiteral("REAmt"), Qt::CaseInsensitive);
    Query q(QStringLiteral("select SNo, Nm, YearMon, SeqNo, BankCd, AcctNo, ItemCd, Gcode, Amt, ExempTy, "
                           "ReplyTy, ProcDt%1 from %2")
                .arg(refunds ? QStringLiteral(", REAmt, ReDt") : QString(), Database::quoted(table)) +
            where);
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        if (error) *error = q.error();
        return false;
    }
    while (q.next()) {
        QStringList c;
        const QString ym = q.str(2);
        c << q.str(0) << q.str(1) << (collection ? QStringLiteral("집금") : QStringLiteral("배분"))
          << ym.left(4) + QLatin1Char('/') + ym.mid(4, 2)
          << numberText(q.str(3).toLongLong()).rightJustified(3)
          << (DMData ? DMData->GetBankName(q.str(4)) : QString()) << q.str(5)
          << (collection ? itemNames.value(q.str(7) + QLatin1Char('|') + q.str(6)) : QString()) << q.str(8)
          << q.str(9) << q.str(10) << dateCell(q.str(11));
        if (refunds && collection)
            c << q.str(12) << dateCell(q.str(13));
        else
            c << QString() << QString();
        *rows << c;
    }
    if (!q.ok()) {
        if (error) *error = q.error();
        return false;
    }
    return true;
}

} // namespace

QStringList yearMons() {
    QStringList out;
    for (const QString& t : Rounds::collectionTables()) {
        const QString ym = yearMonOfTable(t);
        if (!out.contains(ym)) out << ym;
    }
    std::sort(out.begin(), out.end(), std::greater<QString>());
    return out;
}

QStringList yearMonsFrom(const QStringList& newestFirst, const QString& chosen) {
    QStringList out;
    const int i = int(newestFirst.indexOf(chosen));
    for (int k = i; k >= 0; --k)
        out << newestFirst[k];
    return out;
}

QStringList roundTables(const QString& yearFrom, const QString& yearTo) {
    QStringList out;
    for (const QString& t : Rounds::tablesByMask(QStringLiteral("H_200_*;H_300_*"))) {
        const QString ym = yearMonOfTable(t);
        if (ym >= yearFrom && ym <= yearTo) out << t;
    }
    return out; // in name order: every collection round before every distribution round
}

std::optional<Refusal> check(const Selection& s) {
    if (!s.byName) {
        if (!IsValidSNoInput(s.hak, s.ban, s.bun))
            return Refusal{QStringLiteral("학번입력 오류"),
                           QStringLiteral("학번 입력 정보가 올바르지 않습니다."), true, false};
    } else if (s.name.trimmed().isEmpty()) {
        return Refusal{Rounds::programTitle(), QStringLiteral("성명을 1자 이상 입력하세요."), false, true};
    }
    return std::nullopt;
}

bool broad(const Selection& s) {
    return s.bun.trimmed().isEmpty() && s.name.trimmed().isEmpty();
}

bool search(const Selection& s, Result* out, QString* error, const std::function<void(int, int)>& progress) {
    *out = Result{};
    const QStringList tables = roundTables(s.yearFrom, s.yearTo);
    QVariantList binds;
    const QString where = roundWhere(s, &binds, &out->snoCondition);
    const QHash<QString, QString> itemNames = itemNamesByGroup();
    const int n = int(tables.size());
    for (int i = 0; i < n; ++i) {
        if (progress) progress(i + 1, n);
        if (!readTable(tables[i], where, binds, itemNames, &out->rows, error)) return false;
    }
    out->tables = n;
    out->totals = totals(out->rows);
    return true;
}

Totals totals(const QList<QStringList>& rows) {
    Totals t;
    for (const QStringList& r : rows) {
        qint64 amt = 0, reAmt = 0;
        isNumber(r.value(ColAmt), &amt);
        isNumber(r.value(ColReAmt), &reAmt); // blank counts 0
        const QString reply = r.value(ColReply);
        if (r.value(ColExemp) == QLatin1String("0")) {
            ++t.exempCnt;
            t.exempAmt += amt;
        } else if (r.value(ColKind) != QStringLiteral("집금")) {
            if (reply == QLatin1String("0")) {
                ++t.nonProcCnt2;
                t.nonProcAmt2 += amt;
            } else {
                ++t.procCnt2;
                t.procAmt2 += amt;
            }
        } else if (reply == QLatin1String("0")) {
            ++t.nonProcCnt1;
            t.nonProcAmt1 += amt;
        } else if (reply == QLatin1String("3")) {
            if (reAmt == amt) {
                ++t.reCnt;
                t.reAmt += reAmt;
            } else {
                ++t.procCnt1;
                t.procAmt1 += amt - reAmt;
                ++t.reCnt2;
                t.reAmt2 += reAmt;
            }
        } else {
            ++t.procCnt1;
            t.procAmt1 += amt;
        }
    }
    return t;
}

QString exempMark(const QString& e) {
    if (e == QLatin1String("0")) return QStringLiteral("O");
    if (e == QLatin1String("1")) return QStringLiteral("X");
    return {};
}

QString exempPrint(const QString& e) {
    const QString m = exempMark(e);
    return m.isEmpty() ? e : m;
}

QString replyText(const QString& r) {
    if (r == QLatin1String("0")) return QStringLiteral("미처리");
    if (r == QLatin1String("1")) return QStringLiteral("처리");
    if (r == QLatin1String("2")) return QStringLiteral("현금수납");
    if (r == QLatin1String("3")) return QStringLiteral("환불처리");
    return {};
}

QString replyPrint(const QString& r) {
    const QString t = replyText(r);
    return t.isEmpty() ? r : t;
}

QString amountCell(const QString& stored) {
    qint64 v = 0;
    if (!isNumber(stored, &v)) return {};
    return numberText(v).rightJustified(12) + QLatin1Char(' ');
}

QString panelText(qint64 v) {
    return numberText(v);
}

QString conditionText(const Selection& s, const QString& snoCondition) {
    return QStringLiteral("작성년월: ") + s.yearFrom + QStringLiteral(" ~ ") + s.yearTo +
           QStringLiteral("학번: ") + snoCondition + QStringLiteral(", ") + QStringLiteral("성명: ") +
           s.name + QStringLiteral(" 으로 조회한 결과.");
}

bool exportTo(const QList<QStringList>& rows, const QString& path, QString* error) {
    Workbook wb;
    QVariantList titles;
    for (const QString& t : kTitles)
        titles << t;
    wb.writeRow(1, 1, titles);
    int r = 2;
    for (const QStringList& c : rows) {
        QVariantList v;
        for (int col = 0; col < ColCount; ++col) {
            const QString cell = c.value(col);
            qint64 n = 0;
            if (col == ColExemp)
                v << exempPrint(cell);
            else if (col == ColReply)
                v << replyPrint(cell);
            else if ((col == ColAmt || col == ColReAmt || col == ColSeqNo) && isNumber(cell, &n))
                v << n; // the sheet takes these as numbers
            else
                v << cell; // year-month and account stay text
        }
        wb.writeRow(r++, 1, v);
    }
    return wb.save(path, error);
}

} // namespace TransferHistory
