#include "basic/JobLogView.h"

#include "platform/db/Database.h"

#include <QRegularExpression>

#include <algorithm>

namespace JobLogView {

namespace {

const QString kAll = QStringLiteral("전체");

// A LIKE pattern that matches the text itself: % and _ stand for themselves.
QString containsPattern(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    t.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    t.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + t + QLatin1Char('%');
}

Found run(Query& q) {
    Found f;
    if (!q.exec()) {
        f.error = q.error();
        return f;
    }
    while (q.next()) f.rows.append({q.str(0), q.str(1), q.str(2), q.str(3), q.str(4)});
    f.ok = true;
    return f;
}

} // namespace

QStringList months() {
    static const QRegularExpression re(QStringLiteral("^L_Log_(\\d{4})(\\d{2})$"));
    QStringList out;
    for (const QString& t : Database::listTables(QStringLiteral("L_Log_*"))) {
        const auto m = re.match(t);
        if (m.hasMatch()) out << m.captured(1) + QLatin1Char('-') + m.captured(2);
    }
    std::sort(out.begin(), out.end(), std::greater<QString>());
    return out;
}

QString monthTable(const QString& month) {
    return QStringLiteral("L_Log_") + month.left(4) + month.mid(5, 2);
}

QStringList dayItems(const QString& month, const QDate& today) {
    QStringList out{kAll};
    const QDate first(month.left(4).toInt(), month.mid(5, 2).toInt(), 1);
    if (!first.isValid()) return out;
    const int last = today.toString(QStringLiteral("yyyy-MM")) == month ? today.day()
                                                                         : first.addMonths(1).addDays(-1).day();
    for (int d = 1; d <= last; ++d) out << QStringLiteral("%1일").arg(d, 2);
    return out;
}

QString dayDate(const QString& month, const QString& dayItem) {
    if (dayItem.isEmpty() || dayItem == kAll) return {};
    QString dd = dayItem.left(2);
    if (dd.startsWith(QLatin1Char(' '))) dd[0] = QLatin1Char('0');
    return month.left(4) + month.mid(5, 2) + dd;
}

QStringList menus(const QString& month) {
    QStringList out{kAll};
    const QString t = Database::quoted(monthTable(month));
    if (t.isEmpty() || !Database::tableExists(monthTable(month))) return out;
    Query q(QStringLiteral("SELECT DISTINCT MenuName FROM %1 ORDER BY MenuName").arg(t));
    if (q.exec())
        while (q.next())
            if (!q.str(0).isEmpty()) out << q.str(0);
    return out;
}

Found search(const MonthFilter& f) {
    const QString table = monthTable(f.month);
    const QString t = Database::quoted(table);
    if (t.isEmpty() || !Database::tableExists(table)) {
        Found r;
        r.missing = true;
        return r;
    }
    QString sql =
        QStringLiteral("SELECT seq, LogDate, LogTime, MenuName, JobLog FROM %1 WHERE seq <> -1").arg(t);
    QVariantList binds;
    const QString from = dayDate(f.month, f.dayFrom);
    const QString to = dayDate(f.month, f.dayTo);
    if (!from.isEmpty()) {
        sql += QStringLiteral(" AND LogDate >= ?");
        binds << from;
    }
    if (!to.isEmpty()) {
        sql += QStringLiteral(" AND LogDate <= ?");
        binds << to;
    }
    if (!f.menu.isEmpty() && f.menu != kAll) {
        sql += QStringLiteral(" AND MenuName = ?");
        binds << f.menu.trimmed();
    }
    if (!f.kind.isEmpty() && f.kind != kAll) {
        sql += QStringLiteral(" AND JobLog LIKE ? ESCAPE '\\'");
        binds << containsPattern(f.kind);
    }
    if (!f.text.trimmed().isEmpty()) {
        sql += QStringLiteral(" AND JobLog LIKE ? ESCAPE '\\'");
        binds << containsPattern(f.text.trimmed());
    }
    sql += QStringLiteral(" ORDER BY seq DESC");
    Query q(sql);
    for (const QVariant& b : binds) q.add(b);
    return run(q);
}

Found searchOld(const QString& from, const QString& to, const QString& text) {
    if (!Database::tableExists(QStringLiteral("L_Log"))) {
        Found r;
        r.missing = true;
        return r;
    }
    // The old table has no seq: its rows come in stored order, the empty
    // first column keeps the row shape of the monthly viewer.
    QString sql = QStringLiteral(
        "SELECT '', LogDate, LogTime, MenuName, JobLog FROM L_Log WHERE LogDate >= ? AND LogDate <= ?");
    if (!text.trimmed().isEmpty()) sql += QStringLiteral(" AND JobLog LIKE ? ESCAPE '\\'");
    Query q(sql);
    q.add(from).add(to);
    if (!text.trimmed().isEmpty()) q.add(containsPattern(text.trimmed()));
    return run(q);
}

QString dateText(const QString& d) {
    if (d.size() < 8) return d;
    return d.left(4) + QLatin1Char('-') + d.mid(4, 2) + QLatin1Char('-') + d.mid(6, 2);
}

QString timeText(const QString& t) {
    if (t.size() < 6) return t;
    return t.left(2) + QLatin1Char(':') + t.mid(2, 2) + QLatin1Char(':') + t.mid(4, 2);
}

} // namespace JobLogView
