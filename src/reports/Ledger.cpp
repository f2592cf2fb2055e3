#include "reports/Ledger.h"

#include "data/DMModule.h"
#include "platform/report/Report.h"
#include "shared/StdListV.h"
#include "transfers/common/Rounds.h"

#include <QHash>
#include <QLocale>

#include <cstdio>
#include <cstring>
#include <map>

namespace Ledger {

namespace {

const QString kTable = QStringLiteral("MSUNAP");

QStringList listOf(const ReportSelection& s, const char* key) {
    QStringList out;
    for (const QString& v : s.get(QString::fromLatin1(key)).split(QLatin1Char(','), Qt::SkipEmptyParts))
        out << v.trimmed();
    return out;
}

QString marks(qsizetype n) {
    QStringList m;
    for (qsizetype i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return m.join(QStringLiteral(", "));
}

ReportBox plainBox(const QString& text) {
    return ReportBox{Rounds::programTitle(), text, MsgIcon::None};
}

// A month of the listing: "yyyymmdd/amount", from the stored date (UTF-8).
QString monthCell(QByteArrayView procDt, qint64 amt) {
    char buf[64];
    if (procDt.size() > 32) return QString::fromUtf8(procDt) + QLatin1Char('/') + QString::number(amt);
    if (!procDt.isEmpty()) std::memcpy(buf, procDt.data(), size_t(procDt.size()));
    qsizetype n = procDt.size();
    buf[n++] = '/';
    n += std::snprintf(buf + n, sizeof buf - size_t(n), "%lld", static_cast<long long>(amt));
    return QString::fromUtf8(buf, n);
}

// The month slots in the order the ledger shows them: 3 .. 12, 1, 2.
constexpr int kShown[12] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2};

} // namespace

TableDef tableDef() {
    TableDef d;
    d.name = kTable;
    d.fields << FieldDef{QStringLiteral("SNo"), FieldType::Text, 10}
             << FieldDef{QStringLiteral("ItemCd"), FieldType::Text, 2};
    for (int m = 1; m <= 12; ++m)
        d.fields << FieldDef{QStringLiteral("ProcDt%1").arg(m), FieldType::Text, 8}
                 << FieldDef{QStringLiteral("ProcAmt%1").arg(m), FieldType::Integer, 0};
    d.fields << FieldDef{QStringLiteral("Nm"), FieldType::Text, 20}
             << FieldDef{QStringLiteral("Num"), FieldType::Integer, 0};
    return d;
}

std::optional<ReportBox> check(const ReportSelection& s) {
    if (s.get(QStringLiteral("year")).trimmed().isEmpty())
        return ReportBox{QStringLiteral("입력에러"), QStringLiteral("회계년도를 입력하세요!!"),
                         MsgIcon::Information};
    if (listOf(s, "grades").isEmpty()) return plainBox(QStringLiteral("선택학년을 확인하세요."));
    if (listOf(s, "itemcds").isEmpty()) return plainBox(QStringLiteral("선택항목을 확인하세요."));
    return ReportSelect::checkStudents(s);
}

QStringList fiscalTables(const QString& year) {
    const QString next = QString::number(year.toInt() + 1);
    QStringList out;
    for (const QString& t : Rounds::collectionTables()) {
        const QString y = t.mid(6, 4), m = t.mid(10, 2);
        const bool early = m == QLatin1String("01") || m == QLatin1String("02");
        if ((y == year && !early) || (y == next && early)) out << t;
    }
    return out;
}

namespace {

// Every item's code by group and id, and the chosen items' group and id.
struct Items {
    QHash<QString, std::pair<QString, QString>> chosen; // ItemCd -> (Gcode, ItemID)
    QHash<QString, QString> codeOf;                     // Gcode + '/' + ItemID -> ItemCd
};

bool readItems(const QStringList& itemCds, Items* out, QString* error) {
    Query items(QStringLiteral("SELECT ItemCd, Gcode, ItemID FROM C_ITEM"));
    if (!items.exec()) {
        if (error) *error = items.error();
        return false;
    }
    while (items.next()) {
        out->codeOf.insert(items.str(1) + QLatin1Char('/') + items.str(2), items.str(0));
        if (itemCds.contains(items.str(0))) out->chosen.insert(items.str(0), {items.str(1), items.str(2)});
    }
    return true;
}

// A round's group: the first of its rows' groups.
bool roundGroup(const QString& table, QString* g, QString* error) {
    Query gq(QStringLiteral("SELECT Gcode FROM %1 GROUP BY Gcode ORDER BY Gcode").arg(table));
    if (!gq.exec()) {
        if (error) *error = gq.error();
        return false;
    }
    *g = gq.next() ? gq.str(0) : QString();
    gq.finish();
    return true;
}

// The conditions on a round's rows: the chosen items of its group, the
// students and grades, a transfer date.
ReportWhere roundWhere(const ReportSelection& s, const QString& g, const QStringList& ids) {
    ReportWhere w;
    // Rows of another group in the same round are not this group's items.
    w.sql = QStringLiteral("WHERE Gcode = ? and ItemCd IN (%1)").arg(marks(ids.size()));
    w.binds << g;
    for (const QString& i : ids)
        w.binds << i;
    ReportSelect::addStudents(w, s);
    const QStringList grades = listOf(s, "grades");
    QVariantList gv;
    for (const QString& gr : grades)
        gv << gr.left(1);
    w.add(QStringLiteral("and SCd IN (%1)").arg(marks(grades.size())), gv);
    w.add(QStringLiteral("and ProcDt <> '' and ProcDt <> '00000000' and ProcDt <> '0' ORDER BY SNo, ItemCd"));
    return w;
}

// SNo -> index of the student's first row, per ItemCd.
using FirstRows = std::map<QString, QHash<QString, int>>;

// An item id of a round as its rows hold it (UTF-8), its code, and the first
// rows of that code.
struct RoundItem {
    QByteArray id;
    QString code;
    QHash<QString, int>* first = nullptr;
};

// A round's rows into out: a student's item takes the month in its first row
// while that month is free there, else a row of its own.
void addRows(Query& q, const QList<RoundItem>& items, QList<Entry>* out) {
    while (q.next()) {
        const int m = QStringView(q.str(3)).mid(4, 2).toInt();
        if (m < 1 || m > 12) continue;
        const QByteArrayView id = q.utf8(2);
        const RoundItem* item = &items.first();
        for (const RoundItem& i : items)
            if (i.id == id) item = &i;
        const QString sNo = q.str(0).trimmed();
        const auto at = item->first->constFind(sNo);
        Entry* e = nullptr;
        if (at != item->first->constEnd() && !out->at(*at).used[m - 1]) {
            e = &(*out)[*at];
        } else {
            e = &out->emplaceBack();
            e->sNo = sNo;
            e->itemCd = item->code;
            e->nm = q.str(1).trimmed();
            e->num = int(out->size());
            if (at == item->first->constEnd()) item->first->insert(sNo, int(out->size()) - 1);
        }
        e->used[m - 1] = true;
        e->procDt[m - 1] = q.str(4).trimmed();
        e->procAmt[m - 1] = q.num(5) - q.num(6);
    }
}

} // namespace

bool collect(const ReportSelection& s, QList<Entry>* out, QString* error) {
    out->clear();
    const QStringList itemCds = listOf(s, "itemcds");
    Items known;
    if (!readItems(itemCds, &known, error)) return false;
    FirstRows firstRows;
    for (const QString& t : fiscalTables(s.get(QStringLiteral("year")).trimmed())) {
        const QString table = Database::quoted(t);
        if (table.isEmpty()) continue;
        QString g;
        if (!roundGroup(table, &g, error)) return false;
        QStringList ids;
        for (const QString& c : itemCds)
            if (known.chosen.contains(c) && known.chosen.value(c).first == g && !g.isEmpty())
                ids << known.chosen.value(c).second;
        if (ids.isEmpty()) continue;
        QList<RoundItem> items;
        for (const QString& i : ids) {
            // A row holds the id as it was bound: without trailing blanks.
            QString held = i;
            while (held.endsWith(QLatin1Char(' ')))
                held.chop(1);
            const QString code = known.codeOf.value(g + QLatin1Char('/') + held);
            items << RoundItem{held.toUtf8(), code, &firstRows[code]};
        }
        const ReportWhere w = roundWhere(s, g, ids);
        Query q(QStringLiteral("SELECT SNo, Nm, ItemCd, YearMon, ProcDt, Amt, COALESCE(REAmt, 0) FROM %1 %2")
                    .arg(table, w.sql));
        for (const QVariant& v : w.binds)
            q.add(v);
        if (!q.exec()) {
            if (error) *error = q.error();
            return false;
        }
        addRows(q, items, out);
    }
    return true;
}

namespace {

// The rows into MSUNAP through one statement; a month not paid stays NULL.
bool writeRows(const QList<Entry>& found, QString* error) {
    QStringList cols;
    for (const FieldDef& f : tableDef().fields)
        cols << f.name;
    RowInserter ins(kTable, cols);
    for (const Entry& e : found) {
        ins.add(e.sNo).add(e.itemCd);
        for (int m = 0; m < 12; ++m) {
            if (e.used[m])
                ins.add(e.procDt[m]).add(e.procAmt[m]);
            else
                ins.addNull().addNull();
        }
        ins.add(e.nm).add(e.num);
        if (!ins.exec(error)) return false;
    }
    return true;
}

} // namespace

bool build(const ReportSelection& s, int* rows, QString* error) {
    QString why;
    bool ok = false;
    {
        Transaction tx;
        QList<Entry> found;
        ok = tx.ok();
        if (!ok) why = tx.error();
        if (ok) ok = Database::createTable(tableDef(), true, &why);
        if (ok) ok = collect(s, &found, &why);
        if (ok) ok = writeRows(found, &why);
        if (ok) {
            ok = tx.commit();
            if (!ok) why = tx.error();
        } else {
            tx.rollback();
        }
        if (ok && rows) *rows = int(found.size());
    }
    // Written once the outcome stands, outside the build's transaction.
    if (DMLib)
        DMLib->WriteJobLog(kMenuName, ok ? QStringLiteral("수납테이블생성 성공")
                                         : QStringLiteral("수납테이블생성 실패"));
    if (!ok && error) *error = why;
    return ok;
}

namespace {

// MSUNAP's rows: SNo, ItemCd, ProcDt1, ProcAmt1 .. ProcDt12, ProcAmt12, Nm, Num.
QString readSql(const QString& order) {
    QStringList cols{QStringLiteral("SNo"), QStringLiteral("ItemCd")};
    for (int m = 1; m <= 12; ++m)
        cols << QStringLiteral("ProcDt%1").arg(m) << QStringLiteral("ProcAmt%1").arg(m);
    cols << QStringLiteral("Nm") << QStringLiteral("Num");
    return QStringLiteral("SELECT %1 FROM MSUNAP ORDER BY %2")
        .arg(cols.join(QStringLiteral(", ")),
             order == QLatin1String("Num") ? QStringLiteral("Num") : QStringLiteral("SNo, ItemCd, Num"));
}

} // namespace

bool entries(QList<Entry>* out, const QString& order) {
    out->clear();
    if (!Database::tableExists(kTable)) return false;
    Query q(readSql(order));
    if (!q.exec()) return false;
    while (q.next()) {
        Entry& e = out->emplaceBack();
        e.sNo = q.str(0);
        e.itemCd = q.str(1);
        for (int m = 0; m < 12; ++m) {
            e.procDt[m] = q.str(2 + 2 * m);
            e.used[m] = !q.isNull(2 + 2 * m) || !q.isNull(3 + 2 * m);
            e.procAmt[m] = q.num(3 + 2 * m);
        }
        e.nm = q.str(26);
        e.num = int(q.num(27));
    }
    return true;
}

qint64 count() {
    if (!Database::tableExists(kTable)) return 0;
    Query q(QStringLiteral("SELECT COUNT(*) FROM MSUNAP"));
    if (!q.exec() || !q.next()) return 0;
    return q.num(0);
}

ReportListing list(const ReportSelection& s) {
    ReportListing l;
    l.columns = {QStringLiteral("Num"), QStringLiteral("학번"), QStringLiteral("성명"),
                 QStringLiteral("항목")};
    for (int m : kShown)
        l.columns << QStringLiteral("%1월").arg(m);
    if ((l.box = check(s))) return l;
    QString error;
    int built = 0;
    if (!build(s, &built, &error)) {
        l.box = ReportBox{QStringLiteral("오류"), QStringLiteral("수납테이블생성 실패\n") + error,
                          MsgIcon::Error};
        return l;
    }
    // The rows as entries() reads them, straight into cells.
    if (!Database::tableExists(kTable)) return l;
    Query q(readSql(QStringLiteral("Num")));
    if (!q.exec()) return l;
    l.rows.reserve(built);
    while (q.next()) {
        QStringList& cells = l.rows.emplaceBack();
        cells.reserve(4 + 12);
        cells << QString::number(int(q.num(27))) << q.str(0) << q.str(26) << q.str(1);
        for (int m : kShown) {
            const int dt = 2 * m, amt = 2 * m + 1; // ProcDt<m>, ProcAmt<m>
            const bool used = !q.isNull(dt) || !q.isNull(amt);
            cells << (used ? monthCell(q.utf8(dt), q.num(amt)) : QString());
        }
        for (int m = 1; m <= 12; ++m)
            l.total += q.num(2 * m + 1);
        ++l.count;
    }
    return l;
}

QString ledgerAmount(qint64 v) {
    if (v == 0) return {};
    const qint64 a = v < 0 ? -v : v;
    const QString t = a < 100 ? QString::number(a).rightJustified(3, QLatin1Char('0'))
                              : QLocale(QLocale::Korean).toString(a);
    return v < 0 ? QLatin1Char('-') + t : t;
}

ReportDocument printTable() {
    // TFrmP102P00: the base list report with a class heading and the month
    // titles on every class's first page.
    TFrmStdListV form;
    Report& r = form.QuickRep1;
    r.headerFirstPageOnly = false;
    r.title = QStringLiteral("수납부");
    form.setTitle(QStringLiteral("수  납  부"));
    form.ChildBand1->enabled = false;
    form.QRBand3->enabled = false;
    form.QRBand4->enabled = false;
    const ReportFont plain{QStringLiteral("굴림"), 7};
    const ReportFont bold{QStringLiteral("굴림"), 8, true};

    QHash<QString, QString> names;
    Query iq(QStringLiteral("SELECT ItemCd, ItemNm FROM C_ITEM"));
    if (iq.exec())
        while (iq.next())
            names.insert(iq.str(0), iq.str(1));

    const double monthLeft = 46, monthW = (200 - monthLeft) / 12;
    Report::Group& g = r.addGroup([&r] { return r.value(QStringLiteral("SNo")).left(3); }, 13, 0, true);
    ReportBand* gh = g.header;
    gh->addLabel(QStringLiteral("QRExpr1"), {0, 0.5, 60, 5}, {}, bold);
    const char* heads[] = {"학번", "성명", "항목"};
    const double hx[] = {0, 14, 30, 46};
    for (int i = 0; i < 3; ++i)
        gh->addLabel(QStringLiteral("QRLabelH%1").arg(i), {hx[i], 7, hx[i + 1] - hx[i], 4.5},
                     QString::fromUtf8(heads[i]), bold, ReportAlign::Center);
    for (int k = 0; k < 12; ++k)
        gh->addLabel(QStringLiteral("QRLabelM%1").arg(k), {monthLeft + k * monthW, 7, monthW, 4.5},
                     QStringLiteral("%1월").arg(kShown[k]), bold, ReportAlign::Center);
    gh->addLine({0, 6.5, 200, 0});
    gh->addLine({0, 12.5, 200, 0});
    gh->beforePrint = [&r](ReportBand& b) {
        const QString sNo = r.value(QStringLiteral("SNo"));
        b.setText(QStringLiteral("QRExpr1"),
                  sNo.left(1) + QStringLiteral(" 학년 ") + sNo.mid(1, 2) + QStringLiteral(" 반"));
    };

    ReportBand* d = form.QRBand2;
    d->height = 9;
    d->addField(QStringLiteral("QRDBText1"), {0, 0.5, 14, 4}, QStringLiteral("SNo"), plain);
    d->addField(QStringLiteral("QRDBText2"), {14, 0.5, 16, 4}, QStringLiteral("Nm"), plain);
    d->addField(QStringLiteral("QRDBText4"), {30, 0.5, 16, 4}, QStringLiteral("ItemNm"), plain);
    ReportRows data;
    data.columns = {QStringLiteral("SNo"), QStringLiteral("Nm"), QStringLiteral("ItemNm")};
    for (int k = 0; k < 12; ++k) {
        const int m = kShown[k];
        data.columns << QStringLiteral("ProcDt%1").arg(m) << QStringLiteral("ProcAmt%1").arg(m);
        d->addField(QStringLiteral("QRDBDt%1").arg(m), {monthLeft + k * monthW, 0.5, monthW, 4},
                    QStringLiteral("ProcDt%1").arg(m), plain, ReportAlign::Center);
        d->addField(QStringLiteral("QRDBAmt%1").arg(m), {monthLeft + k * monthW, 4.5, monthW - 0.5, 4},
                    QStringLiteral("ProcAmt%1").arg(m), plain, ReportAlign::Right);
    }
    d->addLine({0, 8.8, 200, 0}, 0.1);
    {
        // The entries go before the layout starts: only the printed values stay.
        QList<Entry> rows;
        entries(&rows, QStringLiteral("SNo"));
        data.rows.reserve(rows.size());
        for (const Entry& e : rows) {
            QStringList cells{e.sNo, e.nm, names.value(e.itemCd)};
            for (int m : kShown)
                cells << e.procDt[m - 1] << ledgerAmount(e.procAmt[m - 1]);
            data.rows << cells;
        }
    }
    r.setRows(std::move(data));
    return r.layout();
}

std::optional<ReportBox> print(const ReportSelection&, ReportDocument* doc) {
    if (count() <= 0) return plainBox(QStringLiteral("인쇄할 내용이 없습니다."));
    *doc = printTable();
    return std::nullopt;
}

} // namespace Ledger
