#include "data/DMMain.h"

#include "data/DMModule.h"
#include "platform/text/Cp949.h"

#include <QHash>

#include <algorithm>
#include <optional>

// Layout changes of older data folders, run at every start right after the
// table checks, and the rebuild of old collection round tables. Each step
// tests the layout it changes, so a second run does nothing.

namespace {

// The current row of an old table's query, read by column name whatever
// the old layout. Names are looked up once per query, not per row.
class OldRow {
public:
    explicit OldRow(const Query& q) : q_(q) {
        for (int i = 0; i < q.columnCount(); ++i)
            idx_.insert(q.columnName(i).toLower(), i);
    }
    bool has(const char* name) const { return index(name) >= 0; }
    QString text(const char* name) const {
        const int i = index(name);
        if (i < 0) return {};
        return q_.str(i);
    }
    // The first of the names that the old layout has, else the fallback.
    QString firstOf(std::initializer_list<const char*> names, const QString& fallback) const {
        for (const char* n : names)
            if (has(n)) return text(n);
        return fallback;
    }

private:
    int index(const char* name) const {
        auto it = byName_.constFind(name);
        if (it != byName_.constEnd()) return it.value();
        const int i = idx_.value(QString::fromLatin1(name).toLower(), -1);
        byName_.insert(name, i);
        return i;
    }
    const Query& q_;
    QHash<QString, int> idx_;
    mutable QHash<const char*, int> byName_; // the callers' literals
};

// An amount of an old row: blank is zero; text that is no whole number
// cannot be copied.
std::optional<qint64> amount(const QString& s) {
    const QString t = s.trimmed();
    if (t.isEmpty()) return 0;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (ok) return v;
    const double d = t.toDouble(&ok);
    if (ok && d == double(qint64(d))) return qint64(d);
    return std::nullopt;
}

// One prepared INSERT with every column of the new table, in order.
class Inserter {
public:
    explicit Inserter(const QString& table) : cols_(Database::columns(table)), q_(sql(table, cols_)) {
        for (const QString& c : cols_)
            widths_ << Database::columnWidth(table, c);
        ok_ = q_.ok();
    }
    bool ok() const { return ok_; }
    int columnCount() const { return int(cols_.size()); }
    // Values in column order; text is cut to its width, blank text is NULL.
    bool insert(const QVariantList& values) {
        if (!ok_ || values.size() != cols_.size()) return false;
        for (int i = 0; i < values.size(); ++i) {
            const QVariant& v = values.at(i);
            if (v.typeId() != QMetaType::QString) {
                q_.bind(i, v);
                continue;
            }
            // A CP949 character takes at most two bytes: short text needs no cut.
            const QString t = v.toString();
            const int w = widths_.at(i);
            q_.bind(i, w <= 0 || t.size() * 2 <= w ? Database::storable(t) : Database::storableText(t, w));
        }
        return q_.exec();
    }

private:
    static QString sql(const QString& table, const QStringList& cols) {
        QStringList names, marks;
        for (const QString& c : cols) {
            names << Database::quoted(c);
            marks << QStringLiteral("?");
        }
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(Database::quoted(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    }
    QStringList cols_;
    Query q_;
    QList<int> widths_;
    bool ok_ = false;
};

QString bk(const QString& table) {
    return QStringLiteral("bk_") + table;
}

// Moves a table aside as bk_ + name, replacing an older copy.
bool moveAside(const QString& table) {
    Database::dropTable(bk(table));
    if (!Database::renameTable(table, bk(table))) return false;
    // Index names carry the table's name and would block its new indexes.
    QStringList names;
    {
        Query q(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL"));
        q.add(bk(table));
        if (q.exec())
            while (q.next())
                names << q.str(0);
    }
    for (const QString& n : names)
        if (!Database::quoted(n).isEmpty())
            Database::exec(QStringLiteral("DROP INDEX %1").arg(Database::quoted(n)));
    return true;
}

using RowMapper = std::function<std::optional<QVariantList>(const OldRow& row, int n)>;

// The rebuild pattern: move aside, create anew, copy row by row with bound
// values. A row that cannot be copied stays in the bk_ copy and is counted;
// the whole rebuild happens in one transaction.
RebuildResult rebuild(const QString& table, const std::function<bool()>& create, const QString& select,
                      const RowMapper& map, const QString& menuName, const QString& logText,
                      const std::function<void()>& perRow = {}) {
    RebuildResult r;
    Transaction tx;
    if (!tx.ok() || !moveAside(table) || !create()) return r;
    Query q(select);
    if (!q.exec()) return r;
    Inserter ins(table);
    if (!ins.ok()) return r;
    int n = 0;
    const OldRow row(q);
    while (q.next()) {
        if (perRow) perRow();
        ++n;
        const std::optional<QVariantList> values = map(row, n);
        if (values && ins.insert(*values))
            ++r.copied;
        else
            ++r.failed;
    }
    r.rows = n;
    if (n > 0) {
        DMLib->WriteJobLog(menuName, logText);
        if (r.failed > 0)
            DMLib->WriteJobLog(
                menuName,
                QStringLiteral("%1 복사실패 %2건(%3에 보관)").arg(logText).arg(r.failed).arg(bk(table)));
    }
    r.ok = tx.commit();
    if (!r.ok) r.copied = 0;
    return r;
}

bool hasColumn(const QString& table, const char* name) {
    return Database::columns(table).contains(QString::fromLatin1(name), Qt::CaseInsensitive);
}

} // namespace

bool TDMData::RunLayoutChanges() {
    ConvertItemGroups();
    ConvertItems();
    ConvertAccounts();
    ConvertExemptions();
    ConvertStudents();
    const bool book = ConvertFileBook();
    return ConvertPurgeArchive() && book;
}

bool TDMData::ConvertPurgeArchive() {
    const QString t = QStringLiteral("D_CUST");
    if (!Database::tableExists(t)) return true;
    QStringList adds;
    for (const FieldDef& f : Tables::DCust().fields)
        if (!Database::columns(t).contains(f.name, Qt::CaseInsensitive))
            adds << QStringLiteral("ALTER TABLE D_CUST ADD %1 CHAR(%2)").arg(f.name).arg(f.width);
    if (adds.isEmpty()) return true;
    Transaction tx;
    if (!tx.ok()) return false;
    for (const QString& a : adds)
        if (!Database::exec(a)) return false;
    return tx.commit();
}

// The item groups lived in C_ITEM_GRP; group 01 is in G_GROUP already.
RebuildResult TDMData::ConvertItemGroups() {
    RebuildResult r;
    const QString old = QStringLiteral("C_ITEM_GRP");
    if (!Database::tableExists(old)) return r;
    Transaction tx;
    if (!tx.ok() || !moveAside(old)) return r;
    Query q(QStringLiteral("SELECT * FROM bk_C_ITEM_GRP WHERE GrpNo <> ?"));
    q.add(QStringLiteral("01"));
    if (!q.exec()) return r;
    const OldRow row(q);
    while (q.next()) {
        ++r.rows;
        if (Database::insertRow(QStringLiteral("G_GROUP"), {{QStringLiteral("G_CODE"), row.text("GrpNo")},
                                                            {QStringLiteral("G_NAME"), row.text("GrpName")},
                                                            {QStringLiteral("G_MEMO"), QString()}}))
            ++r.copied;
        else
            ++r.failed;
    }
    const QString menu = QStringLiteral("항목그룹DB 재구성");
    if (r.rows > 0) {
        DMLib->WriteJobLog(menu, QStringLiteral("[항목그룹DB 재구성]"));
        if (r.failed > 0)
            DMLib->WriteJobLog(
                menu,
                QStringLiteral("[항목그룹DB 재구성] 복사실패 %1건(bk_C_ITEM_GRP에 보관)").arg(r.failed));
    }
    r.ok = tx.commit();
    return r;
}

RebuildResult TDMData::ConvertItems() {
    const QString t = QStringLiteral("C_ITEM");
    if (!Database::tableExists(t) || (Database::columns(t).size() == 8 && hasColumn(t, "Gcode"))) return {};
    // Items are numbered anew across groups; the old code becomes the
    // item's code within its group. A row that fails still uses its number.
    return rebuild(
        t, [this] { return CreateCItem(); }, QStringLiteral("select * from bk_C_ITEM"),
        [](const OldRow& row, int n) -> std::optional<QVariantList> {
            const auto amt = amount(row.text("ItemAmt"));
            if (!amt) return std::nullopt;
            return QVariantList{QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')),
                                row.text("ItemNm"),
                                row.text("Kwan"),
                                row.text("Hang"),
                                *amt,
                                row.text("EduType"),
                                row.firstOf({"Gcode", "ItemGrp"}, QStringLiteral("01")),
                                row.text("ItemCd")};
        },
        QStringLiteral("항목DB 재구성"), QStringLiteral("[항목DB 재구성]"));
}

RebuildResult TDMData::ConvertAccounts() {
    const QString t = QStringLiteral("C_ACCT");
    if (!Database::tableExists(t)) return {};
    const int count = int(Database::columns(t).size());
    const bool gcode = hasColumn(t, "Gcode");
    if (count == 8 && gcode) {
        Database::exec(QStringLiteral("ALTER TABLE C_ACCT ADD RepCd CHAR(20)")); // an error is ignored
        return {};
    }
    if (count == 9 && gcode) return {};
    RebuildResult r = rebuild(
        t, [this] { return CreateCAcct(); }, QStringLiteral("select * from bk_C_ACCT"),
        [](const OldRow& row, int) -> std::optional<QVariantList> {
            return QVariantList{row.text("BankCd"),
                                row.text("Gubun"),
                                row.text("AcctNo"),
                                row.text("CompyNo"),
                                row.text("Passwd"),
                                row.firstOf({"Gcode", "ItemGrp"}, QStringLiteral("01")),
                                row.firstOf({"EduCode", "EduCd"}, QString()),
                                QString(),
                                QString()};
        },
        QStringLiteral("은행계약DB 재구성"), QStringLiteral("[은행계약DB 재구성]"));
    if (!r.ok) return r;
    // Per bank and account kind the smallest institution code becomes the
    // representative account.
    Transaction tx;
    Query reps(
        QStringLiteral("select BankCd, Gubun, MIN(CompyNo) as repno from C_ACCT group by BankCd, Gubun"));
    if (reps.exec()) {
        while (reps.next())
            Database::updateRows(t, {{QStringLiteral("RepYn"), QStringLiteral("Y")}},
                                 {{QStringLiteral("BankCd"), reps.str(0)},
                                  {QStringLiteral("Gubun"), reps.str(1)},
                                  {QStringLiteral("CompyNo"), reps.str(2)}});
    }
    tx.commit();
    return r;
}

RebuildResult TDMData::ConvertExemptions() {
    const QString t = QStringLiteral("M_EXEMP");
    if (!Database::tableExists(t) || (Database::columns(t).size() == 4 && hasColumn(t, "Free"))) return {};
    return rebuild(
        t, [this] { return CreateMExemp(); }, QStringLiteral("select * from bk_M_EXEMP"),
        [](const OldRow& row, int) -> std::optional<QVariantList> {
            QVariant val; // no amount in the old layout: empty
            if (row.has("Itemval")) {
                const QString s = row.text("Itemval");
                if (!s.trimmed().isEmpty()) {
                    const auto a = amount(s);
                    if (!a) return std::nullopt;
                    val = *a;
                }
            }
            return QVariantList{row.text("CustNo"), row.text("ItemCd"), val, row.text("Free")};
        },
        QStringLiteral("면제학생DB 재구성"), QStringLiteral("[면제학생DB 재구성]"));
}

bool TDMData::ConvertStudents() {
    const QString t = QStringLiteral("M_CUST");
    if (!Database::tableExists(t)) return true;
    const int count = int(Database::columns(t).size());
    if (count == 18) return true;
    const bool juNo = hasColumn(t, "Ju_No");
    QStringList adds;
    if (count == 11 && !juNo)
        adds = {QStringLiteral("Ju_No CHAR(13)"),      QStringLiteral("AcctRegYn_1 CHAR(1)"),
                QStringLiteral("AcctRegYn_2 CHAR(1)"), QStringLiteral("AcctRegDt CHAR(8)"),
                QStringLiteral("MTelNo CHAR(20)"),     QStringLiteral("smsYN CHAR(1)"),
                QStringLiteral("Ju_No_Stud CHAR(13)")};
    else if (count == 12 && juNo)
        adds = {QStringLiteral("AcctRegYn_1 CHAR(1)"), QStringLiteral("AcctRegYn_2 CHAR(1)"),
                QStringLiteral("AcctRegDt CHAR(8)"),   QStringLiteral("MTelNo CHAR(20)"),
                QStringLiteral("smsYN CHAR(1)"),       QStringLiteral("Ju_No_Stud CHAR(13)")};
    else if (count == 15 && juNo)
        adds = {QStringLiteral("MTelNo CHAR(20)"), QStringLiteral("smsYN CHAR(1)"),
                QStringLiteral("Ju_No_Stud CHAR(13)")};
    else if (count == 17 && juNo)
        adds = {QStringLiteral("Ju_No_Stud CHAR(13)")};

    // The statement as the log shows it; the values go in bound.
    QString updateText;
    ColumnValues set;
    if (count == 11 || count == 12) {
        updateText =
            QStringLiteral("UPDATE M_CUST SET AcctRegYn_1 = \"N\", AcctRegYn_2 = \"N\", smsYN=\"2\" \r\n");
        set = {{QStringLiteral("AcctRegYn_1"), QStringLiteral("N")},
               {QStringLiteral("AcctRegYn_2"), QStringLiteral("N")},
               {QStringLiteral("smsYN"), QStringLiteral("2")}};
    } else if (count == 15) {
        updateText = QStringLiteral("UPDATE M_CUST SET smsYN=\"2\" \r\n");
        set = {{QStringLiteral("smsYN"), QStringLiteral("2")}};
    }
    Transaction tx;
    bool added = true;
    for (const QString& a : adds)
        added = Database::exec(QStringLiteral("ALTER TABLE M_CUST ADD ") + a) && added;
    if (!added) {
        // All columns or none: a half-changed table would be counted wrongly next time.
        tx.rollback();
    } else {
        if (!set.isEmpty()) Database::updateRows(t, set, {});
        tx.commit();
    }
    DMLib->WriteJobLog(QStringLiteral("테이블변경"), QStringLiteral("[학생명부테이블변경] ") + updateText);
    return added;
}

bool TDMData::ConvertFileBook() {
    // M_SRFILE is created with eight fields, so a new table is completed here too.
    const QString t = QStringLiteral("M_SRFILE");
    if (!Database::tableExists(t) || hasColumn(t, "Gcode")) return true;
    Transaction tx;
    if (!Database::exec(QStringLiteral("ALTER TABLE M_SRFILE ADD Gcode CHAR(2)"))) return false;
    if (!Database::updateRows(t, {{QStringLiteral("Gcode"), QStringLiteral("01")}}, {})) return false;
    return tx.commit();
}

// ---- collection round tables

QStringList TDMData::RoundTablesToCheck() {
    QStringList out;
    for (const QString& n : Database::listTables(QStringLiteral("[Hh]_200_*")))
        if (Database::isRoundTableName(n)) out << n;
    std::sort(out.begin(), out.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return out;
}

bool TDMData::RoundTableIsOld(const QString& tableName) {
    return !(Database::columns(tableName).size() == 19 && hasColumn(tableName, "Gcode"));
}

RebuildResult TDMData::RebuildRoundTable(const QString& tableName, const std::function<void()>& perRow) {
    if (!Database::isRoundTableName(tableName) ||
        !tableName.startsWith(QLatin1String("H_200_"), Qt::CaseInsensitive))
        return {};
    const QString suffix = tableName.mid(6);
    return rebuild(
        tableName, [this, suffix] { return CreateH200(suffix); },
        QStringLiteral("select * from %1").arg(Database::quoted(bk(tableName))),
        [](const OldRow& row, int) -> std::optional<QVariantList> {
            const auto amt = amount(row.text("Amt"));
            const auto reAmt = amount(row.text("REAmt"));
            if (!amt || !reAmt) return std::nullopt;
            return QVariantList{row.text("YearMon"),
                                row.text("SeqNo"),
                                row.text("SNo"),
                                row.text("ItemCd"),
                                row.text("BankCd"),
                                row.text("AcctNo"),
                                *amt,
                                row.text("ProcDt"),
                                row.text("ReplyTy"),
                                row.text("ReplyCd"),
                                row.text("ExempTy"),
                                row.text("CustNo"),
                                row.text("Nm"),
                                row.text("SCd"),
                                row.text("GrpNm"),
                                row.text("Unpaid"),
                                row.text("ReDt"),
                                *reAmt,
                                row.firstOf({"Gcode", "ItemGrp"}, QStringLiteral("01"))};
        },
        QStringLiteral("회차DB 재구성"), QStringLiteral("[회차DB 재구성]:") + tableName, perRow);
}
