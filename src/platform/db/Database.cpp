#include "platform/db/Database.h"

#include "platform/text/Cp949.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

namespace {

int g_txDepth = 0;

struct ColumnInfo {
    QStringList names;
    QHash<QString, int> width;   // lower-case name -> CP949 width
    QHash<QString, bool> autoInc; // lower-case name -> auto-number
};

QHash<QString, ColumnInfo>& schemaCache() {
    static QHash<QString, ColumnInfo> c;
    return c;
}

void setError(QString* error, const QString& text) {
    if (error) *error = text;
}

// SQLITE_BUSY and SQLITE_LOCKED, as the driver reports them.
bool isBusy(const QSqlError& e) {
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6");
}

QString errorText(const QSqlError& e) {
    return isBusy(e) ? Database::busyText() : e.text();
}

QString typeSql(const FieldDef& f) {
    switch (f.type) {
    case FieldType::Text:
        return QStringLiteral("CHAR(%1)").arg(f.width);
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::AutoInc:
        return QStringLiteral("INTEGER AUTOINC");
    }
    return {};
}

const ColumnInfo& info(const QString& table) {
    const QString key = table.toLower();
    auto& cache = schemaCache();
    auto it = cache.find(key);
    if (it != cache.end()) return it.value();
    ColumnInfo ci;
    const QString q = Database::quoted(table);
    if (!q.isEmpty()) {
        QSqlQuery p(Database::db());
        if (p.exec(QStringLiteral("PRAGMA table_info(%1)").arg(q))) {
            static const QRegularExpression re(QStringLiteral("^CHAR\\((\\d+)\\)$"),
                                               QRegularExpression::CaseInsensitiveOption);
            while (p.next()) {
                const QString name = p.value(1).toString();
                const QString type = p.value(2).toString().trimmed();
                ci.names << name;
                auto m = re.match(type);
                if (m.hasMatch()) ci.width.insert(name.toLower(), m.captured(1).toInt());
                if (type.contains(QLatin1String("AUTOINC"), Qt::CaseInsensitive))
                    ci.autoInc.insert(name.toLower(), true);
            }
        }
    }
    if (ci.names.isEmpty()) {
        static ColumnInfo empty;
        return empty; // not cached: the table may be created later
    }
    return cache.insert(key, ci).value();
}

} // namespace

bool Database::open(const QString& file, QString* error) {
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
    db.setDatabaseName(file);
    if (!db.open()) {
        setError(error, db.lastError().text());
        return false;
    }
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs));
    q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    q.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    // Probe that the file really is a database we can write.
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        setError(error, q.lastError().text());
        close();
        return false;
    }
    return true;
}

QString Database::busyText() {
    return QStringLiteral("다른 프로그램이 자료를 사용하고 있습니다.\r잠시 후 다시 하십시오.");
}

void Database::close() {
    forgetSchema();
    g_txDepth = 0;
    if (QSqlDatabase::contains(kConnectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(kConnectionName, false);
            if (db.isOpen()) db.close();
        }
        QSqlDatabase::removeDatabase(kConnectionName);
    }
}

bool Database::isOpen() {
    return QSqlDatabase::contains(kConnectionName) && QSqlDatabase::database(kConnectionName, false).isOpen();
}

QSqlDatabase Database::db() { return QSqlDatabase::database(kConnectionName, false); }

QString Database::fileName() { return db().databaseName(); }

bool Database::exec(const QString& sql, QString* error) {
    QSqlQuery q(db());
    if (!q.exec(sql)) {
        setError(error, errorText(q.lastError()));
        return false;
    }
    if (sql.contains(QLatin1String("TABLE"), Qt::CaseInsensitive)) forgetSchema();
    return true;
}

bool Database::createTable(const TableDef& def, bool replace, QString* error) {
    const QString name = quoted(def.name);
    if (name.isEmpty()) {
        setError(error, QStringLiteral("invalid table name: %1").arg(def.name));
        return false;
    }
    QStringList cols;
    for (const FieldDef& f : def.fields) {
        if (!isPlainName(f.name)) {
            setError(error, QStringLiteral("invalid field name: %1").arg(f.name));
            return false;
        }
        cols << QStringLiteral("%1 %2").arg(quoted(f.name), typeSql(f));
    }
    if (!def.primaryKey.isEmpty()) {
        QStringList pk;
        for (const QString& k : def.primaryKey) pk << quoted(k);
        cols << QStringLiteral("PRIMARY KEY(%1)").arg(pk.join(QLatin1Char(',')));
    }
    Transaction tx;
    if (replace && tableExists(def.name) && !dropTable(def.name, error)) return false;
    if (!exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(name, cols.join(QLatin1String(", "))), error))
        return false;
    for (const IndexDef& ix : def.indexes)
        if (!addIndex(def.name, ix, error)) return false;
    forgetSchema();
    return tx.commit();
}

bool Database::tableExists(const QString& name) {
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name = ? COLLATE NOCASE"));
    q.addBindValue(name);
    return q.exec() && q.next();
}

QStringList Database::listTables(const QString& glob) {
    QStringList out;
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name GLOB ? ORDER BY name"));
    q.addBindValue(glob);
    if (q.exec())
        while (q.next()) out << q.value(0).toString();
    return out;
}

bool Database::dropTable(const QString& name, QString* error) {
    const QString q = quoted(name);
    if (q.isEmpty()) {
        setError(error, QStringLiteral("invalid table name: %1").arg(name));
        return false;
    }
    bool r = exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(q), error);
    forgetSchema();
    return r;
}

bool Database::renameTable(const QString& from, const QString& to, QString* error) {
    const QString a = quoted(from), b = quoted(to);
    if (a.isEmpty() || b.isEmpty()) {
        setError(error, QStringLiteral("invalid table name"));
        return false;
    }
    bool r = exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(a, b), error);
    forgetSchema();
    return r;
}

static QString indexName(const QString& table, const QString& index) { return table + QLatin1Char('_') + index; }

bool Database::addIndex(const QString& table, const IndexDef& index, QString* error) {
    const QString t = quoted(table);
    const QString n = quoted(indexName(table, index.name));
    if (t.isEmpty() || n.isEmpty()) {
        setError(error, QStringLiteral("invalid index name"));
        return false;
    }
    QStringList cols;
    for (const QString& f : index.fields) {
        if (!isPlainName(f)) {
            setError(error, QStringLiteral("invalid field name: %1").arg(f));
            return false;
        }
        cols << (index.caseInsensitive ? quoted(f) + QLatin1String(" COLLATE NOCASE") : quoted(f));
    }
    return exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                    .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), n, t, cols.join(QLatin1Char(','))),
                error);
}

bool Database::dropIndex(const QString& table, const QString& index, QString* error) {
    const QString n = quoted(indexName(table, index));
    if (n.isEmpty()) {
        setError(error, QStringLiteral("invalid index name"));
        return false;
    }
    return exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(n), error);
}

bool Database::reindex(const QString& table, QString* error) {
    const QString t = quoted(table);
    if (t.isEmpty()) {
        setError(error, QStringLiteral("invalid table name"));
        return false;
    }
    return exec(QStringLiteral("REINDEX %1").arg(t), error);
}

QStringList Database::columns(const QString& table) { return info(table).names; }

int Database::columnWidth(const QString& table, const QString& column) {
    return info(table).width.value(column.toLower(), 0);
}

void Database::forgetSchema() { schemaCache().clear(); }

bool Database::isPlainName(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,127}$"));
    return re.match(name).hasMatch();
}

bool Database::isRoundTableName(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^[Hh]_[23Rr]00_\\d{8}$"));
    return re.match(name).hasMatch();
}

QString Database::quoted(const QString& name) {
    if (!isPlainName(name)) return {};
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QVariant Database::storable(const QVariant& v) {
    if (v.typeId() == QMetaType::QString) {
        QString s = v.toString();
        int end = s.size();
        while (end > 0 && s.at(end - 1) == QLatin1Char(' ')) --end;
        if (end == 0) return QVariant(QMetaType::fromType<QString>());
        return s.left(end);
    }
    return v;
}

QVariant Database::storableText(const QString& v, int width) {
    return storable(width > 0 ? Cp949::cutToBytes(v, width) : v);
}

bool Database::insertRow(const QString& table, const ColumnValues& values, QString* error) {
    const QString t = quoted(table);
    if (t.isEmpty()) {
        setError(error, QStringLiteral("invalid table name: %1").arg(table));
        return false;
    }
    const ColumnInfo& ci = info(table);
    QStringList names, marks;
    QVariantList binds;
    QSet<QString> given;
    for (const auto& [col, val] : values) {
        if (!isPlainName(col)) {
            setError(error, QStringLiteral("invalid field name: %1").arg(col));
            return false;
        }
        names << quoted(col);
        marks << QStringLiteral("?");
        given.insert(col.toLower());
        if (val.typeId() == QMetaType::QString)
            binds << storableText(val.toString(), ci.width.value(col.toLower(), 0));
        else
            binds << val;
    }
    for (auto it = ci.autoInc.begin(); it != ci.autoInc.end(); ++it) {
        if (given.contains(it.key())) continue;
        for (const QString& n : ci.names) {
            if (n.toLower() != it.key()) continue;
            names << quoted(n);
            marks << QStringLiteral("(SELECT COALESCE(MAX(%1),0)+1 FROM %2)").arg(quoted(n), t);
        }
    }
    QSqlQuery q(db());
    if (!q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(t, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))))) {
        setError(error, q.lastError().text());
        return false;
    }
    for (const QVariant& b : binds) q.addBindValue(b);
    if (!q.exec()) {
        setError(error, errorText(q.lastError()));
        return false;
    }
    return true;
}

bool Database::updateRows(const QString& table, const ColumnValues& set, const ColumnValues& where, QString* error,
                          int* affected) {
    const QString t = quoted(table);
    if (t.isEmpty() || set.isEmpty()) {
        setError(error, QStringLiteral("invalid update of %1").arg(table));
        return false;
    }
    const ColumnInfo& ci = info(table);
    QStringList sets, conds;
    QVariantList binds;
    for (const auto& [col, val] : set) {
        if (!isPlainName(col)) {
            setError(error, QStringLiteral("invalid field name: %1").arg(col));
            return false;
        }
        sets << quoted(col) + QLatin1String(" = ?");
        binds << (val.typeId() == QMetaType::QString ? storableText(val.toString(), ci.width.value(col.toLower(), 0))
                                                      : val);
    }
    for (const auto& [col, val] : where) {
        if (!isPlainName(col)) {
            setError(error, QStringLiteral("invalid field name: %1").arg(col));
            return false;
        }
        QVariant v = storable(val);
        if (v.isNull()) {
            conds << quoted(col) + QLatin1String(" IS NULL");
        } else {
            conds << quoted(col) + QLatin1String(" = ?");
        }
    }
    QSqlQuery q(db());
    QString sql = QStringLiteral("UPDATE %1 SET %2").arg(t, sets.join(QLatin1String(", ")));
    if (!conds.isEmpty()) sql += QLatin1String(" WHERE ") + conds.join(QLatin1String(" AND "));
    if (!q.prepare(sql)) {
        setError(error, q.lastError().text());
        return false;
    }
    for (const QVariant& b : binds) q.addBindValue(b);
    for (const auto& w : where) {
        QVariant v = storable(w.second);
        if (!v.isNull()) q.addBindValue(v);
    }
    if (!q.exec()) {
        setError(error, errorText(q.lastError()));
        return false;
    }
    if (affected) *affected = q.numRowsAffected();
    return true;
}

bool Database::snapshotTo(const QString& file, QString* error) {
    QFile::remove(file);
    QSqlQuery q(db());
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(file);
    if (!q.exec()) {
        setError(error, q.lastError().text());
        return false;
    }
    return true;
}

bool Database::integrityCheck(const QString& file, QString* error) {
    const QString name = QStringLiteral("zq_check_%1").arg(quintptr(&file));
    bool ok = false;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        c.setDatabaseName(file);
        c.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!c.open()) {
            setError(error, c.lastError().text());
        } else {
            QSqlQuery q(c);
            if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next()) {
                const QString r = q.value(0).toString();
                ok = r == QLatin1String("ok");
                if (!ok) setError(error, r);
            } else {
                setError(error, q.lastError().text());
            }
            c.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// ---- Query

Query::Query(const QString& sql) : q_(Database::db()) {
    ok_ = q_.prepare(sql);
    if (!ok_) prepareError_ = q_.lastError().text();
}

Query& Query::bind(const QString& placeholder, const QVariant& value) {
    q_.bindValue(placeholder, Database::storable(value));
    return *this;
}

Query& Query::add(const QVariant& value) {
    q_.addBindValue(Database::storable(value));
    return *this;
}

bool Query::exec() {
    if (!ok_) return false;
    ok_ = q_.exec();
    return ok_;
}

bool Query::next() { return q_.next(); }

QString Query::error() const { return prepareError_.isEmpty() ? errorText(q_.lastError()) : prepareError_; }

QString Query::str(int column) const {
    QVariant v = q_.value(column);
    return v.isNull() ? QString() : v.toString();
}

QString Query::str(const QString& column) const {
    QVariant v = q_.value(column);
    return v.isNull() ? QString() : v.toString();
}

qint64 Query::num(int column) const { return q_.value(column).toLongLong(); }

qint64 Query::num(const QString& column) const { return q_.value(column).toLongLong(); }

QVariant Query::value(int column) const { return q_.value(column); }

bool Query::isNull(int column) const { return q_.value(column).isNull(); }

int Query::affected() const { return q_.numRowsAffected(); }

// ---- Transaction

Transaction::Transaction() {
    level_ = g_txDepth;
    QSqlQuery q(Database::db());
    ok_ = level_ == 0 ? q.exec(QStringLiteral("BEGIN IMMEDIATE"))
                      : q.exec(QStringLiteral("SAVEPOINT zq_sp%1").arg(level_));
    if (ok_) ++g_txDepth;
    else {
        done_ = true;
        error_ = errorText(q.lastError());
    }
}

Transaction::~Transaction() {
    if (!done_) rollback();
}

bool Transaction::commit() {
    if (done_) return false;
    QSqlQuery q(Database::db());
    bool r = level_ == 0 ? q.exec(QStringLiteral("COMMIT")) : q.exec(QStringLiteral("RELEASE zq_sp%1").arg(level_));
    if (!r) {
        error_ = errorText(q.lastError());
        rollback();
        return false;
    }
    done_ = true;
    --g_txDepth;
    return true;
}

void Transaction::rollback() {
    if (done_) return;
    QSqlQuery q(Database::db());
    if (level_ == 0) {
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        q.exec(QStringLiteral("ROLLBACK TO zq_sp%1").arg(level_));
        q.exec(QStringLiteral("RELEASE zq_sp%1").arg(level_));
    }
    done_ = true;
    --g_txDepth;
    // A rollback may undo DDL too.
    Database::forgetSchema();
}
