#include "reports/YearEndTax.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/Workbook.h"
#include "platform/sys/Clock.h"
#include "transfers/common/Rounds.h"

#include <QHash>
#include <QMap>

namespace YearEndTax {

namespace {

ReportBox plain(const QString& text) {
    return ReportBox{Rounds::programTitle(), text, MsgIcon::None};
}

QString year(const ReportSelection& s) {
    return extraOr(s, QStringLiteral("year"), Clock::today().toString(QStringLiteral("yyyy"))).trimmed();
}

bool refundsOff(const ReportSelection& s) {
    return s.get(QStringLiteral("refund")) != QLatin1String("1");
}

// The student-number checks of the search, focus on the first grade edit.
std::optional<Refusal> checkStudents(const ReportSelection& s) {
    if (const std::optional<ReportBox> b = ReportSelect::checkStudents(s))
        return Refusal{*b, QStringLiteral("SHakFromEdit")};
    return std::nullopt;
}

const QStringList kSumTaxColumns{QStringLiteral("seq"),   QStringLiteral("CustNo"), QStringLiteral("Sno"),
                                 QStringLiteral("Name"),  QStringLiteral("ItemCd"), QStringLiteral("Gcode"),
                                 QStringLiteral("Amt"),   QStringLiteral("ProcDt"), QStringLiteral("SocId"),
                                 QStringLiteral("NapCd"), QStringLiteral("ProcMon")};

// The paid rows of the fiscal year under a condition on items and groups,
// one round table after the other, with the student of each row, each handed
// to take as the query stands on it: CustNo, Gcode, ItemCd, ProcDt, amount,
// SNo, Nm, Ju_No_Stud. A null REAmt reads 0; the round tables are never
// written.
bool readPaid(const ReportSelection& s, const ReportWhere& items, bool takeRefunds,
              const std::function<bool(const Query&, QString*)>& take, QString* error) {
    const QString y = year(s);
    ReportWhere w;
    w.sql = QStringLiteral("WHERE t1.ReplyTy <> '0'");
    w.add(items.sql, items.binds);
    if (takeRefunds) w.add(QStringLiteral("and t1.Amt > COALESCE(t1.REAmt, 0)"));
    w.add(QStringLiteral("and t1.ProcDt LIKE ?"), {y + QLatin1Char('%')});
    addStudentRange(w, QStringLiteral("t2.SNo"), MakeSNo(s.hak1, s.ban1, s.bun1),
                    MakeSNo(s.hak2, s.ban2, s.bun2));
    const QString amt =
        takeRefunds ? QStringLiteral("t1.Amt - COALESCE(t1.REAmt, 0)") : QStringLiteral("t1.Amt");
    const QString columns =
        QStringLiteral("t1.CustNo, t1.Gcode, t1.ItemCd, t1.ProcDt, %1, t2.SNo, t2.Nm, t2.Ju_No_Stud")
            .arg(amt);
    return readJoined(fiscalRounds(y), columns, w, take, error);
}

// The payment code of a paid row by its group and item; none for the
// quarterly listing.
using CodeOf = std::function<QString(const QString& gcode, const QString& itemCd)>;

// M_SumTax made anew from the paid rows as they are read (seq 1, 2, ...),
// in one transaction; with codeOf each row also gets its payment code and
// month. rows: how many were written.
bool writePaid(const ReportSelection& s, const ReportWhere& items, const CodeOf& codeOf, int* rows,
               QString* error) {
    *rows = 0;
    const auto fill = [&](RowInserter& ins, QString* e) {
        const auto take = [&](const Query& q, QString* why) {
            ins.add(++*rows).addStr(q, 0).addStr(q, 5).addStr(q, 6).addStr(q, 2).addStr(q, 1);
            ins.add(q.num(4)).addStr(q, 3).addStr(q, 7);
            if (codeOf)
                ins.add(codeOf(q.str(1), q.str(2))).add(q.str(3).left(6));
            else
                ins.addNull().addNull();
            return ins.exec(why);
        };
        return readPaid(s, items, refundsOff(s), take, e);
    };
    return Database::replaceTable(Tables::MSumTax(), kSumTaxColumns, fill, error);
}

// A quarter's period code and its dates (yyyymmdd), as the selection gives
// them or the window's defaults.
struct Period {
    QString from, to, code;
};

QList<Period> periods(const ReportSelection& s) {
    const int y = year(s).toInt();
    QList<Period> out;
    for (int k = 1; k <= 4; ++k) {
        const QString n = QString::number(k);
        out << Period{extraOr(s, QLatin1Char('q') + n + QLatin1Char('s'),
                              quarterStart(y, k).toString(QStringLiteral("yyyyMMdd"))),
                      extraOr(s, QLatin1Char('q') + n + QLatin1Char('e'),
                              quarterEnd(y, k).toString(QStringLiteral("yyyyMMdd"))),
                      extraOr(s, QLatin1Char('q') + n, kQuarterCodes.at(k - 1))};
    }
    return out;
}

QString periodOf(const QList<Period>& periods, const QString& procDt) {
    for (const Period& p : periods)
        if (procDt >= p.from && procDt <= p.to) return p.code;
    return {};
}

const QStringList kQuarterNapNames{QStringLiteral("입학금"), QStringLiteral("수업료"),
                                   QStringLiteral("학교운영지원비")};

QString napDefault(int n) {
    return QString::number(100 + n);
}

// Item id -> payment code of one group: the first of the lists that holds
// the item gives its code.
QMap<QString, QString> codesOf(const ReportSelection& s, const QList<int>& lists) {
    QMap<QString, QString> out;
    for (int n : lists) {
        const QString code = extraOr(s, QStringLiteral("nap%1").arg(n), napDefault(n > 20 ? n - 20 : n));
        for (const QString& id : ids(s, QStringLiteral("items%1").arg(n)))
            if (!out.contains(id)) out.insert(id, code);
    }
    return out;
}

// Item id -> payment code of the quarterly lists 1 to 3. The lists share no
// item; were one named twice, the later list's code would stand.
QHash<QString, QString> quarterCodes(const ReportSelection& s) {
    QHash<QString, QString> out;
    for (int n = 1; n <= 3; ++n) {
        const QString code = extraOr(s, QStringLiteral("nap%1").arg(n), napDefault(n));
        for (const QString& id : ids(s, QStringLiteral("items%1").arg(n)))
            out.insert(id, code);
    }
    return out;
}

ReportListing refused(const ReportListing& base, const ReportBox& box) {
    ReportListing l = base;
    l.box = box;
    return l;
}

std::optional<ReportBox> writeBook(const QList<QVariantList>& rows, const QStringList& titles,
                                   const QString& path) {
    if (rows.isEmpty())
        return ReportBox{QStringLiteral("엑셀저장실패"), QStringLiteral("조회된 자료가 없습니다!"),
                         MsgIcon::Error};
    Workbook wb;
    QVariantList head;
    for (const QString& t : titles)
        head << t;
    wb.writeRow(1, 1, head);
    int r = 1;
    for (const QVariantList& row : rows)
        wb.writeRow(++r, 1, row);
    QString error;
    if (!wb.save(path, &error)) return ReportBox{QStringLiteral("엑셀저장실패"), error, MsgIcon::Error};
    return std::nullopt;
}

// A text of digits as a number cell, anything else as text.
QVariant numberCell(const QString& t) {
    bool ok = false;
    const qint64 v = t.trimmed().toLongLong(&ok);
    return ok ? QVariant(v) : QVariant(t);
}

} // namespace

QDate quarterStart(int year, int k) {
    return QDate(year, 3 * (k - 1) + 1, 1);
}

QDate quarterEnd(int year, int k) {
    return quarterStart(year, k).addMonths(3).addDays(-1);
}

QString extraOr(const ReportSelection& s, const QString& key, const QString& def) {
    return s.extra.contains(key) ? s.extra.value(key) : def;
}

ReportBox failed(const QString& text) {
    return ReportBox{QStringLiteral("오류"), text, MsgIcon::Error};
}

QStringList ids(const ReportSelection& s, const QString& key) {
    QStringList out;
    for (const QString& i : s.get(key).split(QLatin1Char(','), Qt::SkipEmptyParts))
        out << i.trimmed().left(2);
    return out;
}

QStringList fiscalRounds(const QString& y) {
    QStringList out;
    bool ok = false;
    const int n = y.toInt(&ok);
    if (y.size() != 4 || !ok) return out;
    const QString december = QString::number(n - 1) + QStringLiteral("12");
    for (const QString& t : Rounds::collectionTables())
        if (t.mid(6, 4) == y || t.mid(6, 6) == december) out << t;
    return out;
}

void addStudentRange(ReportWhere& w, const QString& col, const QString& first, const QString& last) {
    const auto bound = [&w, &col](const QString& p, const char* op) {
        const QString o = QString::fromLatin1(op);
        if (p.size() == SNoLen)
            w.add(QStringLiteral("and %1 %2 ?").arg(col, o), {p});
        else if (p.size() == 3 || p.size() == 1)
            w.add(QStringLiteral("and substr(%1, 1, %2) %3 ?").arg(col).arg(p.size()).arg(o), {p});
    };
    bound(first, ">=");
    bound(last, "<=");
}

TwoGroups twoGroups(const ReportSelection& s) {
    TwoGroups g;
    g.g1 = s.gcode;
    g.g2 = s.get(QStringLiteral("group2")).left(2);
    g.items1 = s.itemIds;
    if (!g.g2.isEmpty()) g.items2 = ids(s, QStringLiteral("items2"));
    return g;
}

void addGroups(ReportWhere& w, const QList<std::pair<QString, QStringList>>& groups) {
    QStringList parts;
    QVariantList binds;
    for (const auto& [g, items] : groups) {
        if (items.isEmpty()) continue;
        parts << groupPart(g, items, &binds);
    }
    w.add(QStringLiteral("and (%1)").arg(parts.join(QStringLiteral(" or "))), binds);
}

bool readJoined(const QStringList& tables, const QString& columns, const ReportWhere& where,
                const std::function<void(const Query&)>& take, QString* error) {
    return readJoined(
        tables, columns, where,
        [&take](const Query& q, QString*) {
            take(q);
            return true;
        },
        error);
}

bool readJoined(const QStringList& tables, const QString& columns, const ReportWhere& where,
                const std::function<bool(const Query&, QString*)>& take, QString* error) {
    for (const QString& t : tables) {
        Query q(QStringLiteral("SELECT %1 FROM %2 t1 JOIN M_CUST t2 ON t1.CustNo = t2.CustNo %3 "
                               "ORDER BY t2.rowid, t1.rowid")
                    .arg(columns, Database::quoted(t), where.sql));
        for (const QVariant& v : where.binds)
            q.add(v);
        if (!q.exec()) {
            if (error) *error = q.error();
            return false;
        }
        while (q.next())
            if (!take(q, error)) return false;
    }
    return true;
}

QString marks(int n) {
    QStringList m;
    for (int i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return m.join(QLatin1Char(','));
}

// "(Gcode = ? and ItemCd IN (...))" of one group's items.
QString groupPart(const QString& gcode, const QStringList& items, QVariantList* binds) {
    *binds << gcode;
    for (const QString& i : items)
        *binds << i;
    return QStringLiteral("(t1.Gcode = ? and t1.ItemCd IN (%1))").arg(marks(int(items.size())));
}

bool rebuildSumTax(const QList<SumTaxRow>& rows, QString* error) {
    const auto fill = [&rows](RowInserter& ins, QString* e) {
        int seq = 0;
        for (const SumTaxRow& r : rows) {
            ins.add(++seq).add(r.custNo).add(r.sno).add(r.name).add(r.itemCd).add(r.gcode).add(r.amt);
            ins.add(r.procDt).add(r.socId).add(r.napCd).add(r.procMon);
            if (!ins.exec(e)) return false;
        }
        return true;
    };
    return Database::replaceTable(Tables::MSumTax(), kSumTaxColumns, fill, error);
}

std::optional<Refusal> checkQuarterly(const ReportSelection& s) {
    if (year(s).isEmpty())
        return Refusal{plain(QStringLiteral("회계년도를 입력해주세요.")), QStringLiteral("MEdtYear")};
    for (int k = 1; k <= 4; ++k) {
        const QString key = QStringLiteral("q%1").arg(k);
        if (extraOr(s, key, kQuarterCodes.at(k - 1)).trimmed().isEmpty())
            return Refusal{plain(QStringLiteral("%1분기 차수코드를 입력해주세요.").arg(k)),
                           QStringLiteral("EdtS%1_nm").arg(k)};
    }
    for (int n = 1; n <= 3; ++n)
        if (extraOr(s, QStringLiteral("nap%1").arg(n), napDefault(n)).trimmed().isEmpty())
            return Refusal{plain(kQuarterNapNames.at(n - 1) + QStringLiteral("-납입금코드를 입력해주세요.")),
                           QStringLiteral("EdtNapCd%1_nm").arg(n)};
    return checkStudents(s);
}

std::optional<Refusal> checkMonthly(const ReportSelection& s) {
    if (year(s).isEmpty())
        return Refusal{plain(QStringLiteral("회계년도를 입력해주세요.")), QStringLiteral("MEdtYear")};
    return checkStudents(s);
}

ReportListing quarterly(const ReportSelection& s) {
    ReportListing l;
    l.gcode = s.gcode;
    l.columns = {QStringLiteral("학번"),     QStringLiteral("이름"),        QStringLiteral("항목명"),
                 QStringLiteral("금액"),     QStringLiteral("수납일"),      QStringLiteral("납입금코드"),
                 QStringLiteral("차수코드"), QStringLiteral("학생주민번호")};
    if (const std::optional<Refusal> r = checkQuarterly(s)) return refused(l, r->box);
    QStringList items;
    for (int n = 1; n <= 3; ++n)
        items << ids(s, QStringLiteral("items%1").arg(n));
    QString error;
    if (items.isEmpty()) {
        if (!rebuildSumTax({}, &error)) return refused(l, failed(error));
        return refused(l, plain(QStringLiteral("선택된 항목이 하나도 없습니다..")));
    }
    ReportWhere w;
    QVariantList binds;
    for (const QString& i : items)
        binds << i;
    binds << s.gcode;
    w.add(QStringLiteral("and t1.ItemCd IN (%1) and t1.Gcode = ?").arg(marks(int(items.size()))), binds);
    int written = 0;
    if (!writePaid(s, w, {}, &written, &error)) return refused(l, failed(error));

    const bool byDate = s.get(QStringLiteral("sort")) == QLatin1String("1");
    Query q(
        QStringLiteral("SELECT Sno, Name, ItemCd, Gcode, Amt, ProcDt, SocId FROM M_SumTax ORDER BY %1, seq")
            .arg(byDate ? QStringLiteral("ProcDt, Sno, Gcode, ItemCd")
                        : QStringLiteral("Sno, ProcDt, Gcode, ItemCd")));
    if (!q.exec()) return refused(l, failed(q.error()));
    const QHash<QString, QString> naps = quarterCodes(s);
    const QList<Period> quarters = periods(s);
    l.rows.reserve(written);
    l.source.reserve(written);
    while (q.next()) {
        RoundRow& r = l.source.emplaceBack();
        r.sNo = q.str(0);
        r.nm = q.str(1);
        r.itemCd = q.str(2);
        r.gcode = q.str(3);
        r.amt = q.num(4);
        r.procDt = q.str(5);
        l.rows << QStringList{r.sNo,
                              r.nm,
                              DMData ? DMData->FindGItemName(r.gcode, r.itemCd) : r.itemCd,
                              ReportSelect::amount(r.amt),
                              ReportSelect::dateText(r.procDt),
                              naps.value(r.itemCd),
                              periodOf(quarters, r.procDt),
                              q.str(6)};
        ++l.count;
        l.total += r.amt;
    }
    return l;
}

ReportListing monthly(const ReportSelection& s) {
    ReportListing l;
    l.gcode = s.gcode;
    l.columns = {QStringLiteral("학번"),        QStringLiteral("이름"),       QStringLiteral("금액"),
                 QStringLiteral("수납일"),      QStringLiteral("납입금코드"), QStringLiteral("차수코드"),
                 QStringLiteral("학생주민번호")};
    if (const std::optional<Refusal> r = checkMonthly(s)) return refused(l, r->box);
    const QString g1 = s.gcode, g2 = s.get(QStringLiteral("group2")).left(2);
    const QMap<QString, QString> codes1 = codesOf(s, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const QMap<QString, QString> codes2 =
        g2.isEmpty() ? QMap<QString, QString>() : codesOf(s, {21, 22, 23, 24});
    QString error;
    if (codes1.isEmpty() && codes2.isEmpty()) {
        if (!rebuildSumTax({}, &error)) return refused(l, failed(error));
        return refused(l, plain(QStringLiteral("선택된 항목이 하나도 없습니다..")));
    }
    ReportWhere w;
    addGroups(w, {{g1, codes1.keys()}, {g2, codes2.keys()}});
    const auto codeOf = [&](const QString& gcode, const QString& itemCd) {
        // Group 2's code wins when both groups name the item.
        QString code;
        if (gcode == g1 && codes1.contains(itemCd)) code = codes1.value(itemCd);
        if (gcode == g2 && codes2.contains(itemCd)) code = codes2.value(itemCd);
        return code;
    };
    int written = 0;
    if (!writePaid(s, w, codeOf, &written, &error)) return refused(l, failed(error));

    // One line per payer, code and month: two students who share a number
    // keep their own sums.
    const bool byDate = s.get(QStringLiteral("sort")) == QLatin1String("1");
    Query q(QStringLiteral(
                "SELECT Sno, Name, SocId, NapCd, ProcMon, SUM(Amt) AS SumAmt, MAX(ProcDt) AS LastDt, "
                "CustNo FROM M_SumTax GROUP BY CustNo, Sno, Name, SocId, NapCd, ProcMon ORDER BY %1, CustNo")
                .arg(byDate ? QStringLiteral("LastDt, Sno, NapCd") : QStringLiteral("Sno, LastDt, NapCd")));
    if (!q.exec()) return refused(l, failed(q.error()));
    // At most a line per row written.
    l.rows.reserve(written);
    l.source.reserve(written);
    while (q.next()) {
        RoundRow& r = l.source.emplaceBack();
        r.sNo = q.str(0);
        r.nm = q.str(1);
        r.amt = q.num(5);
        r.procDt = q.str(6);
        r.custNo = q.str(7);
        l.rows << QStringList{r.sNo,
                              r.nm,
                              ReportSelect::amount(r.amt),
                              ReportSelect::dateText(r.procDt),
                              q.str(3),
                              QStringLiteral("2") + q.str(4).mid(4, 2),
                              q.str(2)};
        ++l.count;
        l.total += r.amt;
    }
    return l;
}

QString workbookName(const QString& year) {
    return year + QStringLiteral("_연말정산자료.xlsx");
}

std::optional<ReportBox> writeQuarterly(const ReportListing& l, const QString& year, const QString& path) {
    QList<QVariantList> rows;
    for (int i = 0; i < l.rows.size() && i < l.source.size(); ++i) {
        const QStringList& c = l.rows.at(i);
        rows << QVariantList{numberCell(year),
                             QStringLiteral("'") + c.value(5),
                             QStringLiteral("'") + c.value(6),
                             QStringLiteral("'") + c.value(7),
                             c.value(1),
                             numberCell(l.source.at(i).procDt),
                             l.source.at(i).amt};
    }
    return writeBook(rows,
                     {QStringLiteral("회계년도"), QStringLiteral("납입금코드"), QStringLiteral("차수코드"),
                      QStringLiteral("주민등록번호"), QStringLiteral("성명"), QStringLiteral("수납일"),
                      QStringLiteral("수납액")},
                     path);
}

std::optional<ReportBox> writeMonthly(const ReportListing& l, const QString& year, const QString& path) {
    QList<QVariantList> rows;
    for (int i = 0; i < l.rows.size() && i < l.source.size(); ++i) {
        const QStringList& c = l.rows.at(i);
        const QString sno = c.value(0);
        // Grade, class and number are cut from the student number by
        // position; they stay text so a class "01" keeps its zero.
        rows << QVariantList{sno.left(1),
                             sno.mid(1, 2),
                             sno.mid(3, 3),
                             numberCell(year),
                             QStringLiteral("'") + c.value(4),
                             QStringLiteral("'") + c.value(5),
                             QStringLiteral("'") + c.value(6),
                             c.value(1),
                             numberCell(l.source.at(i).procDt),
                             l.source.at(i).amt};
    }
    return writeBook(rows,
                     {QStringLiteral("학년"), QStringLiteral("반"), QStringLiteral("번호"),
                      QStringLiteral("회계년도"), QStringLiteral("납입금코드"), QStringLiteral("차수코드"),
                      QStringLiteral("주민등록번호"), QStringLiteral("성명"), QStringLiteral("수납일"),
                      QStringLiteral("수납액")},
                     path);
}

std::optional<ReportBox> exportQuarterly(const ReportSelection& s, const QString& path, int* rows) {
    const ReportListing l = quarterly(s);
    if (l.box) return l.box;
    if (rows) *rows = int(l.rows.size());
    return writeQuarterly(l, year(s), path);
}

std::optional<ReportBox> exportMonthly(const ReportSelection& s, const QString& path, int* rows) {
    const ReportListing l = monthly(s);
    if (l.box) return l.box;
    if (rows) *rows = int(l.rows.size());
    return writeMonthly(l, year(s), path);
}

} // namespace YearEndTax
