#include "transfers/common/CollectionListing.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/text/CodeText.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>

#include <cstring>
#include <string>

namespace {

QString dashedDate(const QString& d) {
    return d.size() == 8 ? d.left(4) + QLatin1Char('-') + d.mid(4, 2) + QLatin1Char('-') + d.mid(6, 2)
                         : QString();
}

// Column 8: the reply code when it is set and not zero, else the date.
QString dateOrCode(const QString& replyCd, const QString& procDt) {
    bool isNum = false;
    const qint64 v = replyCd.toLongLong(&isNum);
    if (!replyCd.isEmpty() && (!isNum || v != 0)) return replyCd;
    return procDt.size() == 8 ? dashedDate(procDt) : procDt;
}

QString inList(int n) {
    return QStringList(QList<QString>(n, QStringLiteral("?"))).join(QLatin1Char(','));
}

void snoBound(QString& sql, QVariantList& binds, const QString& bound, const char* op) {
    if (bound.isEmpty()) return;
    if (bound.size() == SNoLen)
        sql += QStringLiteral(" and t1.SNo %1 ? ").arg(QLatin1String(op));
    else if (bound.size() == 3 || bound.size() == 1)
        sql += QStringLiteral(" and substr(t1.SNo, 1, %1) %2 ? ").arg(bound.size()).arg(QLatin1String(op));
    else
        return;
    binds << bound;
}

// Amount that a wholly exempt row adds to the exempt total when its own
// amount is 0: the item's amount, else the amount of a non-exempt row of the
// same item in the round.
class ExemptAmounts {
public:
    ExemptAmounts(const QString& table, const QString& gcode) : table_(table), gcode_(gcode) {}
    qint64 of(const QString& itemId) {
        auto it = cache_.constFind(itemId);
        if (it != cache_.constEnd()) return *it;
        qint64 v = 0;
        Query q(QStringLiteral("select ItemAmt from C_ITEM where ItemID = ? and Gcode = ?"));
        q.add(itemId).add(gcode_);
        if (q.exec() && q.next()) v = q.num(0);
        if (v == 0) {
            // "The first row": in key order, as the table hands them out.
            Query r(QStringLiteral("select Amt from %1 where ItemCd = ? and ExempTy = '1' "
                                   "order by YearMon, SeqNo, SNo, ItemCd limit 1")
                        .arg(Database::quoted(table_)));
            r.add(itemId);
            if (r.exec() && r.next()) v = r.num(0);
        }
        cache_.insert(itemId, v);
        return v;
    }

private:
    QString table_, gcode_;
    QHash<QString, qint64> cache_;
};

// A column of the round table, or NULL under its name when the table is of
// an older layout that lacks it, so that such a round still lists.
QString col(const QStringList& have, const char* name, const char* alias = "t1.") {
    const QString n = QLatin1String(name);
    if (have.contains(n, Qt::CaseInsensitive)) return QLatin1String(alias) + n;
    return QStringLiteral("NULL as ") + n;
}

// A row that is not wholly exempt, counted by its transfer state.
void countByState(CollectionTotals& t, const QString& replyTy, qint64 amt, qint64 reAmt) {
    if (replyTy == QLatin1String("1") || replyTy == QLatin1String("2")) {
        ++t.procCnt;
        t.procAmt += amt;
    } else if (replyTy == QLatin1String("3")) {
        if (reAmt == amt) {
            ++t.reCnt;
            t.reAmt += reAmt;
        } else {
            ++t.reCnt2;
            ++t.procCnt;
            t.procAmt += amt - reAmt;
            t.reAmt2 += reAmt;
        }
    } else {
        ++t.nonProcCnt;
        t.nonProcAmt += amt;
    }
}

void countRow(CollectionTotals& t, const QString& exempTy, const QString& replyTy, qint64 amt, qint64 reAmt,
              bool amtNull, ExemptAmounts& exempt, const QString& itemCd) {
    // Mostly the bare code: trimmed only when it is longer.
    const bool whollyExempt =
        exempTy.size() == 1 ? exempTy.front() == u'0' : exempTy.trimmed() == QLatin1String("0");
    if (whollyExempt) {
        ++t.exempCnt;
        // An amount of 0 (round creation zeroes wholly exempt rows) stands for
        // the item's amount; a blank amount adds nothing.
        if (amtNull) return;
        t.exempAmt += amt != 0 ? amt : exempt.of(itemCd);
    } else {
        countByState(t, replyTy, amt, reAmt);
    }
}

// The same text by its storage: one shared copy, one static code or both
// empty.
bool sameText(const QString& x, const QString& y) {
    return x.size() == y.size() && x.constData() == y.constData() && x.isNull() == y.isNull();
}

// Values a column has taken, with their text, so that a repeated value is
// shared instead of decoded again: the value found last, else the one kept
// in the value's place of a small table.
class RecentValues {
public:
    const QString* find(QByteArrayView v) {
        if (kept_[last_].is(v)) return &kept_[last_].text;
        const unsigned i = place(v);
        if (!kept_[i].is(v)) return nullptr;
        last_ = i;
        return &kept_[i].text;
    }
    const QString& keep(QByteArrayView v) {
        last_ = place(v);
        Value& e = kept_[last_];
        e.used = true;
        e.bytes.assign(v.data(), size_t(v.size()));
        e.text = CodeText::isCode(v) ? CodeText::text(v) : QString::fromUtf8(v);
        return e.text;
    }

private:
    static constexpr unsigned kPlaces = 16;
    struct Value {
        bool used = false;
        std::string bytes; // a buffer kept from value to value
        QString text;
        // Values are short: compared in place, eight bytes at a time.
        bool is(QByteArrayView v) const {
            if (!used || size_t(v.size()) != bytes.size()) return false;
            const char* a = v.data();
            const char* b = bytes.data();
            size_t n = bytes.size();
            for (; n >= 8; n -= 8, a += 8, b += 8) {
                quint64 x, y;
                std::memcpy(&x, a, 8);
                std::memcpy(&y, b, 8);
                if (x != y) return false;
            }
            for (; n > 0; --n, ++a, ++b)
                if (*a != *b) return false;
            return true;
        }
    };
    static unsigned place(QByteArrayView v) {
        unsigned h = unsigned(v.size());
        for (char c : v)
            h = h * 31 + uchar(c);
        return (h ^ (h >> 4)) % kPlaces;
    }
    Value kept_[kPlaces];
    unsigned last_ = 0;
};

// Text made from two column texts, kept for the last few pairs it was made
// from: the pairs repeat as their column values do.
class RecentDerived {
public:
    template <typename F> const QString& get(const QString& a, const QString& b, F&& make) {
        for (int i = 0; i < count_; ++i)
            if (sameText(kept_[i].a, a) && sameText(kept_[i].b, b)) return kept_[i].text;
        next_ = (next_ + 1) % kKept;
        count_ = std::min(count_ + 1, kKept);
        Made& m = kept_[next_];
        m.a = a;
        m.b = b;
        m.text = make(a, b);
        return m.text;
    }

private:
    static constexpr int kKept = 8;
    struct Made {
        QString a, b, text;
    };
    Made kept_[kKept];
    int count_ = 0, next_ = kKept - 1;
};

// Column text of the current row. Rows come in student order, so a
// student's rows repeat most columns and the codes repeat everywhere: a
// value the column had lately is shared, not decoded again.
class Cells {
public:
    explicit Cells(const Query& q) : q_(q) {}
    const QString& str(int col) {
        RecentValues& r = slots_[col];
        const QByteArrayView v = q_.utf8(col);
        if (const QString* t = r.find(v)) return *t;
        return r.keep(v);
    }
    // A number column as text, blank when NULL.
    QString number(int col) {
        // Stored as an integer, its text is the number's text.
        if (q_.isInteger(col)) return str(col);
        if (q_.isNull(col)) return {};
        return QString::number(q_.num(col));
    }
    // The item's name, looked up once per item and listing.
    const QString& itemName(const QString& itemCd, const std::function<QString(const QString&)>& lookup) {
        if (!lookup) return kNone;
        if (!haveItem_ || !sameText(lastItem_, itemCd)) {
            haveItem_ = true;
            lastItem_ = itemCd;
            auto it = names_.constFind(itemCd);
            if (it == names_.constEnd()) it = names_.insert(itemCd, lookup(itemCd));
            lastName_ = *it;
        }
        return lastName_;
    }
    template <typename F> const QString& derived(int slot, const QString& a, const QString& b, F&& make) {
        return derived_[slot].get(a, b, std::forward<F>(make));
    }

private:
    static inline const QString kNone;
    const Query& q_;
    RecentValues slots_[20];
    RecentDerived derived_[2];
    QHash<QString, QString> names_;
    bool haveItem_ = false;
    QString lastItem_, lastName_;
};

// A cell set to a shared copy of v (the copy and the move are inline; the
// plain assignment is a call into the library).
inline void put(QString& cell, const QString& v) {
    cell = QString(v);
}

// The grid cells of a row whose first sixteen columns are SNo, Nm, ItemCd,
// BankCd, AcctNo, Amt, ExempTy, ReplyTy, ReplyCd, ProcDt, CustNo, GrpNm,
// Unpaid, REAmt, ReDt, Gcode.
QStringList gridRow(Cells& cells, const std::function<QString(const QString&)>& itemName,
                    const QString& gname) {
    QStringList row(ColCount);
    QString* c = row.data();
    const QString& itemCd = cells.str(2);
    put(c[ColSNo], cells.str(0));
    put(c[ColNm], cells.str(1));
    put(c[ColItem], cells.itemName(itemCd, itemName));
    put(c[ColBank], cells.str(3));
    put(c[ColAcct], cells.str(4));
    c[ColAmt] = cells.number(5);
    put(c[ColExemp], cells.str(6));
    put(c[ColReply], cells.str(7));
    put(c[ColDate], cells.derived(0, cells.str(8), cells.str(9), dateOrCode));
    put(c[ColGrp], cells.str(11));
    put(c[ColUnpaid], cells.str(12));
    c[ColReAmt] = cells.number(13);
    put(c[ColReDt], cells.derived(1, cells.str(14), QString(),
                                  [](const QString& d, const QString&) { return dashedDate(d); }));
    put(c[ColCustNo], cells.str(10));
    put(c[ColGcode], cells.str(15));
    put(c[ColItemCd], itemCd);
    put(c[ColGName], gname);
    return row;
}

QString groupName(const QString& gcode) {
    Query g(QStringLiteral("select G_NAME from G_GROUP where G_CODE = ?"));
    g.add(gcode);
    return g.exec() && g.next() ? g.str(0) : QString();
}

} // namespace

namespace CollectionList {

std::optional<ShowRefusal> checkShow(const CollectionSelection& sel) {
    bool numbers = true;
    if (!IsValidSNoRange(sel.fromSNo, sel.toSNo, &numbers) || !numbers)
        return ShowRefusal{QStringLiteral("학번범위 설정 오류"),
                           QStringLiteral("학번범위 설정이 올바르지 않습니다.")};
    if (!DMData->GcodeUsed(roundTable(sel.yearMon, sel.seqNo), sel.gcode))
        return ShowRefusal{QCoreApplication::applicationName(),
                           QStringLiteral("입력하신 회차와 항목그룹이 맞지않습니다."), false};
    return std::nullopt;
}

QString roundTable(const QString& yearMon, const QString& seqNo) {
    return QStringLiteral("H_200_") + yearMon + seqNo;
}

QString panelText(qint64 v) {
    return QLocale(QLocale::Korean).toString(v) + QLatin1Char(' ');
}

QString bankFamily(const QString& bankCd, QVariantList& binds, const QString& column) {
    const QString b = bankCd.left(2);
    if (b == QLatin1String("10") || b == QLatin1String("11") || b == QLatin1String("12"))
        return QStringLiteral("and %1 in ('10','11','12') ").arg(column);
    if (b == QLatin1String("81")) return QStringLiteral("and %1 in ('81','25') ").arg(column);
    if (b == QLatin1String("00")) return {};
    binds << b;
    return QStringLiteral("and %1 = ? ").arg(column);
}

CollectionListing list(const CollectionSelection& sel,
                       const std::function<QString(const QString&)>& itemName, const RowSink& sink) {
    CollectionListing out;
    const QString table = roundTable(sel.yearMon, sel.seqNo);
    if (!Database::isRoundTableName(table) || !Database::tableExists(table)) return out;
    out.tableExists = true;
    const QString qt = Database::quoted(table);
    const QStringList have = Database::columns(table);

    const QString gname = groupName(sel.gcode);

    QVariantList binds{sel.yearMon, sel.seqNo};
    QString from = QStringLiteral(" from %1 t1 LEFT OUTER JOIN M_CUST t2 ON t1.CustNo = t2.CustNo "
                                  "WHERE t1.YearMon = ? and t1.SeqNo = ? ")
                       .arg(qt);
    from += bankFamily(sel.bankCd, binds);
    if (!sel.itemIds.isEmpty()) {
        from += QStringLiteral("and t1.ItemCd in (%1) ").arg(inList(int(sel.itemIds.size())));
        for (const QString& i : sel.itemIds)
            binds << i.left(2);
    }
    if (!sel.groups.isEmpty()) {
        from +=
            QStringLiteral("and %1 in (%2) ")
                .arg(have.contains(QStringLiteral("GrpNm"), Qt::CaseInsensitive) ? QStringLiteral("t1.GrpNm")
                                                                                 : QStringLiteral("NULL"),
                     inList(int(sel.groups.size())));
        for (const QString& g : sel.groups)
            binds << g;
    }
    snoBound(from, binds, sel.fromSNo, ">=");
    snoBound(from, binds, sel.toSNo, "<=");
    const struct {
        const QString& v;
        const char* cond;
    } dates[] = {{sel.setlDt, " and t1.ProcDt >= ? "},
                 {sel.setlDt2, " and t1.ProcDt <= ? "},
                 {sel.reDt, " and t1.ReDt >= ? "},
                 {sel.reDt2, " and t1.ReDt <= ? "}};
    const bool hasReDt = have.contains(QStringLiteral("ReDt"), Qt::CaseInsensitive);
    for (const auto& d : dates)
        if (!d.v.trimmed().isEmpty()) {
            QString cond = QLatin1String(d.cond);
            if (!hasReDt) cond.replace(QStringLiteral("t1.ReDt"), QStringLiteral("NULL"));
            from += cond;
            binds << d.v.trimmed();
        }
    if (sel.exempIdx == 1) from += QStringLiteral("and t1.ExempTy = '0' ");
    if (sel.exempIdx == 2) from += QStringLiteral("and ifnull(t1.ExempTy, '') <> '0' ");
    static const char* proc[] = {"",
                                 "and t1.ReplyTy in ('1', '2', '3') ",
                                 "and t1.ReplyTy = '0' ",
                                 "and t1.ReplyTy = '1' ",
                                 "and t1.ReplyTy = '2' ",
                                 "and t1.ReplyTy = '3' "};
    if (sel.procIdx > 0 && sel.procIdx < 6) from += QLatin1String(proc[sel.procIdx]);
    if (sel.smsIdx == 1) from += QStringLiteral("and t2.smsYN = '1' ");
    if (sel.smsIdx == 2) from += QStringLiteral("and t2.smsYN = '2' ");
    from += QStringLiteral("order by t1.SNo, t1.ItemCd");
    const QString select =
        QStringLiteral(
            "select t1.SNo, t1.Nm, t1.ItemCd, t1.BankCd, t1.AcctNo, t1.Amt, t1.ExempTy, t1.ReplyTy, "
            "t1.ReplyCd, t1.ProcDt, t1.CustNo, %1, %2, %3, %4, %5, t1.SCd, t2.MTelNo, t2.smsYN")
            .arg(col(have, "GrpNm"), col(have, "Unpaid"), col(have, "REAmt"), col(have, "ReDt"),
                 col(have, "Gcode"));
    out.listFromSql = from;
    out.listSql = select + from + QLatin1Char(' ');
    out.binds = binds;

    Query q(out.listSql);
    for (const QVariant& b : binds)
        q.add(b);
    if (!q.exec()) {
        out.error = q.error();
        return out;
    }
    ExemptAmounts exempt(table, sel.gcode);
    CollectionTotals& t = out.totals;
    Cells cells(q);
    while (q.next()) {
        QStringList row = gridRow(cells, itemName, gname);
        QString* c = row.data();
        const qint64 amt = q.num(5), reAmt = q.num(13);
        put(c[ColTel], cells.str(17));
        put(c[ColSms], cells.str(18));
        put(c[ColSCd], cells.str(16));
        countRow(t, c[ColExemp], c[ColReply], amt, reAmt, q.isNull(5), exempt, c[ColItemCd]);
        if (sink)
            sink(std::move(row));
        else
            out.rows.append(std::move(row));
    }
    return out;
}

CollectionListing listTable(const QString& table, const QString& bankCd, const QString& gcode,
                            const std::function<QString(const QString&)>& itemName, const RowSink& sink) {
    CollectionListing out;
    if (!Database::isRoundTableName(table) || !Database::tableExists(table)) return out;
    out.tableExists = true;
    const QString gname = groupName(gcode);
    QVariantList binds;
    const QStringList have = Database::columns(table);
    QString sql =
        QStringLiteral("select SNo, Nm, ItemCd, BankCd, AcctNo, Amt, ExempTy, ReplyTy, ReplyCd, ProcDt, "
                       "CustNo, %1, %2, %3, %4, %5 from %6 where 1 = 1 ")
            .arg(col(have, "GrpNm", ""), col(have, "Unpaid", ""), col(have, "REAmt", ""),
                 col(have, "ReDt", ""), col(have, "Gcode", ""), Database::quoted(table));
    // Here "81" is not widened to "25".
    const QString b = bankCd.left(2);
    if (b == QLatin1String("10") || b == QLatin1String("11") || b == QLatin1String("12")) {
        sql += QStringLiteral("and BankCd in ('10','11','12') ");
    } else if (b != QLatin1String("00")) {
        sql += QStringLiteral("and BankCd = ? ");
        binds << b;
    }
    sql += QStringLiteral("order by YearMon, SeqNo, SNo, ItemCd");
    Query q(sql);
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        out.error = q.error();
        return out;
    }
    CollectionTotals& t = out.totals;
    Cells cells(q);
    while (q.next()) {
        QStringList c = gridRow(cells, itemName, gname);
        const QString replyTy = c.at(ColReply), exempTy = c.at(ColExemp);
        const qint64 amt = q.num(5), reAmt = q.num(13);
        if (exempTy != QLatin1String("1")) {
            ++t.exempCnt;
            t.exempAmt += amt;
        } else {
            // The relisting shows a refunded row's remaining amount.
            if (replyTy == QLatin1String("3")) c[ColAmt] = QString::number(amt - reAmt);
            countByState(t, replyTy, amt, reAmt);
        }
        if (sink)
            sink(std::move(c));
        else
            out.rows << std::move(c);
    }
    return out;
}

} // namespace CollectionList
