#include "platform/db/Database.h"

#include "platform/text/Cp949.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QStringEncoder>

#include <sqlite3.h>

#include <cmath>
#include <list>
#include <unordered_map>

namespace {

int g_txDepth = 0;
// Idle prepared statements kept per connection.
constexpr size_t kCacheSize = 96;

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

bool isBusy(int rc) { return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED; }

// The database's message; the Korean refusal when another copy of the
// program held it past the wait.
QString dbError(sqlite3* db) {
    if (!db) return QStringLiteral("database not open");
    if (isBusy(sqlite3_errcode(db))) return Database::busyText();
    return QString::fromUtf8(sqlite3_errmsg(db));
}

bool isAscii(QByteArrayView bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Text as it is stored: trailing blanks cut; nothing left is NULL.
qsizetype storedLength(const QString& s) {
    qsizetype end = s.size();
    while (end > 0 && s.at(end - 1) == QLatin1Char(' ')) --end;
    return end;
}

// Whole-number text as QString::toLongLong reads it (blanks around allowed,
// anything else is 0), so that num() reads stored text as it always did.
qint64 parseInt(const char* p, int n) {
    int i = 0;
    while (i < n && (p[i] == ' ' || (p[i] >= '\t' && p[i] <= '\r'))) ++i;
    while (n > i && (p[n - 1] == ' ' || (p[n - 1] >= '\t' && p[n - 1] <= '\r'))) --n;
    if (i >= n) return 0;
    bool neg = false;
    if (p[i] == '+' || p[i] == '-') neg = p[i++] == '-';
    if (i >= n) return 0;
    quint64 v = 0;
    for (; i < n; ++i) {
        const unsigned d = unsigned(p[i]) - '0';
        if (d > 9) return 0;
        if (v > (quint64(1) << 63) / 10) return 0;
        v = v * 10 + d;
    }
    if (neg) return v > (quint64(1) << 63) ? 0 : qint64(0 - v);
    return v > quint64(INT64_MAX) ? 0 : qint64(v);
}

const ColumnInfo& info(const QString& table) {
    const QString key = table.toLower();
    auto& cache = schemaCache();
    auto it = cache.find(key);
    if (it != cache.end()) return it.value();
    ColumnInfo ci;
    const QString q = Database::quoted(table);
    if (!q.isEmpty()) {
        Query p(QStringLiteral("PRAGMA table_info(%1)").arg(q));
        if (p.exec()) {
            static const QRegularExpression re(QStringLiteral("^CHAR\\((\\d+)\\)$"),
                                               QRegularExpression::CaseInsensitiveOption);
            while (p.next()) {
                const QString name = p.str(1);
                const QString type = p.str(2).trimmed();
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

Connection& mainConnection() {
    static Connection c;
    return c;
}

} // namespace

// ---- Connection

// Idle statements by their text, the least recently used first out.
struct Connection::Cached {
    struct Entry {
        QByteArray sql;
        sqlite3_stmt* st;
    };
    std::list<Entry> order; // most recent at the front
    std::unordered_multimap<QByteArray, std::list<Entry>::iterator> bySql;
};

Connection::Connection() = default;
Connection::~Connection() { close(); }

bool Connection::open(const QString& file, bool readOnly, QString* error) {
    close();
    sqlite3* db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                      SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(file.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        setError(error, dbError(db));
        sqlite3_close_v2(db);
        return false;
    }
    sqlite3_extended_result_codes(db, 0);
    sqlite3_busy_timeout(db, Database::kBusyTimeoutMs);
    db_ = db;
    file_ = file;
    ++generation_;
    cache_ = std::make_unique<Cached>();
    return true;
}

void Connection::close() {
    if (!db_) return;
    if (cache_) {
        for (auto& e : cache_->order) sqlite3_finalize(e.st);
        cache_.reset();
    }
    // Statements still held by live queries keep the handle alive until
    // they are finalized (close_v2); the generation tells them not to
    // return to this cache.
    sqlite3_close_v2(db_);
    db_ = nullptr;
    file_.clear();
    ++generation_;
}

bool Connection::exec(const QString& sql, QString* error) {
    if (!db_) {
        setError(error, dbError(nullptr));
        return false;
    }
    char* msg = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        setError(error, msg && !isBusy(rc) ? QString::fromUtf8(msg) : dbError(db_));
        sqlite3_free(msg);
        return false;
    }
    return true;
}

QString Connection::lastError() const { return dbError(db_); }

sqlite3_stmt* Connection::take(const QByteArray& sql, QString* error) {
    if (!db_) {
        setError(error, dbError(nullptr));
        return nullptr;
    }
    auto it = cache_->bySql.find(sql);
    if (it != cache_->bySql.end()) {
        sqlite3_stmt* st = it->second->st;
        cache_->order.erase(it->second);
        cache_->bySql.erase(it);
        return st;
    }
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v3(db_, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &st,
                                      nullptr);
    if (rc != SQLITE_OK || !st) {
        setError(error, rc == SQLITE_OK ? QStringLiteral("empty statement") : dbError(db_));
        sqlite3_finalize(st);
        return nullptr;
    }
    return st;
}

void Connection::give(const QByteArray& sql, sqlite3_stmt* st) {
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    cache_->order.push_front({sql, st});
    cache_->bySql.emplace(sql, cache_->order.begin());
    while (cache_->order.size() > kCacheSize) {
        auto last = std::prev(cache_->order.end());
        auto range = cache_->bySql.equal_range(last->sql);
        for (auto i = range.first; i != range.second; ++i)
            if (i->second == last) {
                cache_->bySql.erase(i);
                break;
            }
        sqlite3_finalize(last->st);
        cache_->order.erase(last);
    }
}

// ---- Database

bool Database::open(const QString& file, QString* error) {
    close();
    Connection& c = mainConnection();
    if (!c.open(file, false, error)) return false;
    c.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    c.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    c.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    // Probe that the file really is a database we can write.
    if (!c.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"), error)) {
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
    mainConnection().close();
}

bool Database::isOpen() { return mainConnection().isOpen(); }

Connection& Database::main() { return mainConnection(); }

QString Database::fileName() { return mainConnection().fileName(); }

bool Database::exec(const QString& sql, QString* error) {
    if (!mainConnection().exec(sql, error)) return false;
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
    Query q(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name = ? COLLATE NOCASE"));
    q.add(name);
    return q.exec() && q.next();
}

QStringList Database::listTables(const QString& glob) {
    QStringList out;
    Query q(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name GLOB ? ORDER BY name"));
    q.add(glob);
    if (q.exec())
        while (q.next()) out << q.str(0);
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
        const bool nocase = index.caseInsensitive && !index.exactFields.contains(f, Qt::CaseInsensitive);
        cols << (nocase ? quoted(f) + QLatin1String(" COLLATE NOCASE") : quoted(f));
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
    // Asked for every column of every row written: no regular expression.
    if (name.isEmpty() || name.size() > 128) return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
        if (!letter && (i == 0 || c < u'0' || c > u'9')) return false;
    }
    return true;
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
        const qsizetype end = storedLength(s);
        if (end == 0) return QVariant(QMetaType::fromType<QString>());
        return s.left(end);
    }
    return v;
}

QVariant Database::storableText(const QString& v, int width) {
    return storable(width > 0 ? Cp949::cutToBytes(v, width) : v);
}

namespace {

// "INSERT INTO t (columns) VALUES (?, ...)" of the columns named; an
// auto-number column not named takes the next number. Empty with the error
// when a name is not plain.
QString insertSql(const QString& table, const QStringList& columns, QString* error) {
    const QString t = Database::quoted(table);
    if (t.isEmpty()) {
        setError(error, QStringLiteral("invalid table name: %1").arg(table));
        return {};
    }
    const ColumnInfo& ci = info(table);
    QStringList names, marks;
    QSet<QString> given;
    for (const QString& col : columns) {
        if (!Database::isPlainName(col)) {
            setError(error, QStringLiteral("invalid field name: %1").arg(col));
            return {};
        }
        names << Database::quoted(col);
        marks << QStringLiteral("?");
        given.insert(col.toLower());
    }
    for (auto it = ci.autoInc.begin(); it != ci.autoInc.end(); ++it) {
        if (given.contains(it.key())) continue;
        for (const QString& n : ci.names) {
            if (n.toLower() != it.key()) continue;
            names << Database::quoted(n);
            marks << QStringLiteral("(SELECT COALESCE(MAX(%1),0)+1 FROM %2)").arg(Database::quoted(n), t);
        }
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(t, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

bool sameColumns(const ColumnValues& row, const QStringList& columns) {
    if (row.size() != columns.size()) return false;
    for (qsizetype i = 0; i < row.size(); ++i)
        if (row.at(i).first != columns.at(i)) return false;
    return true;
}

// A work table made anew and filled in one transaction; on any failure the
// previous table stands as it was.
bool rebuildTable(const TableDef& def, const std::function<bool(QString*)>& fill, QString* error) {
    Transaction t;
    if (!t.ok()) {
        setError(error, t.error());
        return false;
    }
    if (!Database::createTable(def, true, error) || !fill(error)) return false;
    if (!t.commit()) {
        setError(error, t.error());
        return false;
    }
    return true;
}

} // namespace

bool Database::insertRow(const QString& table, const ColumnValues& values, QString* error) {
    QStringList columns;
    columns.reserve(values.size());
    for (const auto& cv : values)
        columns << cv.first;
    const QString sql = insertSql(table, columns, error);
    if (sql.isEmpty()) return false;
    const ColumnInfo& ci = info(table);
    Query q(sql);
    for (const auto& [col, val] : values) {
        if (val.typeId() == QMetaType::QString)
            q.add(storableText(val.toString(), ci.width.value(col.toLower(), 0)));
        else
            q.add(val);
    }
    if (!q.exec()) {
        setError(error, q.error());
        return false;
    }
    return true;
}

bool Database::replaceTable(const TableDef& def, const QList<ColumnValues>& rows, QString* error) {
    // Rows of one column list share one statement; any other goes alone.
    QStringList columns;
    if (!rows.isEmpty())
        for (const auto& cv : rows.first())
            columns << cv.first;
    return rebuildTable(
        def,
        [&](QString* e) {
            std::unique_ptr<RowInserter> ins;
            for (const ColumnValues& v : rows) {
                if (!sameColumns(v, columns)) {
                    if (!insertRow(def.name, v, e)) return false;
                    continue;
                }
                if (!ins) ins = std::make_unique<RowInserter>(def.name, columns);
                for (const auto& cv : v)
                    ins->add(cv.second);
                if (!ins->exec(e)) return false;
            }
            return true;
        },
        error);
}

bool Database::replaceTable(const TableDef& def, const QStringList& columns,
                            const std::function<bool(RowInserter&, QString*)>& fill, QString* error) {
    return rebuildTable(
        def,
        [&](QString* e) {
            RowInserter ins(def.name, columns);
            if (!ins.ok()) {
                setError(e, ins.error());
                return false;
            }
            return fill(ins, e);
        },
        error);
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
            binds << v;
        }
    }
    QString sql = QStringLiteral("UPDATE %1 SET %2").arg(t, sets.join(QLatin1String(", ")));
    if (!conds.isEmpty()) sql += QLatin1String(" WHERE ") + conds.join(QLatin1String(" AND "));
    Query q(sql);
    for (const QVariant& b : binds) q.add(b);
    if (!q.exec()) {
        setError(error, q.error());
        return false;
    }
    if (affected) *affected = q.affected();
    return true;
}

bool Database::snapshotTo(const QString& file, QString* error) {
    QFile::remove(file);
    Query q(QStringLiteral("VACUUM INTO ?"));
    q.add(file);
    if (!q.exec()) {
        setError(error, q.error());
        return false;
    }
    return true;
}

bool Database::integrityCheck(const QString& file, QString* error) {
    Connection c;
    if (!c.open(file, true, error)) return false;
    Query q(c, QStringLiteral("PRAGMA integrity_check"));
    if (!q.exec() || !q.next()) {
        setError(error, q.error());
        return false;
    }
    const QString r = q.str(0);
    if (r != QLatin1String("ok")) {
        setError(error, r);
        return false;
    }
    return true;
}

// ---- Query

Query::Query(const QString& sql) : Query(mainConnection(), sql) {}

Query::Query(Connection& connection, const QString& sql) : conn_(&connection), sql_(sql.toUtf8()) {
    generation_ = connection.generation_;
    st_ = connection.take(sql_, &error_);
    ok_ = st_ != nullptr;
}

Query::~Query() { release(); }

void Query::release() {
    if (!st_) return;
    if (conn_->db_ && conn_->generation_ == generation_)
        conn_->give(sql_, st_);
    else
        sqlite3_finalize(st_);
    st_ = nullptr;
}

void Query::bindInt(int index, qint64 v) {
    if (st_) sqlite3_bind_int64(st_, index + 1, v);
}

void Query::bindText(int index, const QString& v) {
    if (!st_) return;
    const qsizetype n = storedLength(v);
    if (n == 0) {
        sqlite3_bind_null(st_, index + 1);
        return;
    }
    // Most values are short: encoded on the stack, as SQLite copies them anyway.
    const QStringView text = QStringView(v).left(n);
    char buf[256];
    if (n * 3 <= qsizetype(sizeof buf)) {
        QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
        const char* end = utf8.appendToBuffer(buf, text);
        sqlite3_bind_text64(st_, index + 1, buf, sqlite3_uint64(end - buf), SQLITE_TRANSIENT, SQLITE_UTF8);
        return;
    }
    const QByteArray u = text.toUtf8();
    sqlite3_bind_text64(st_, index + 1, u.constData(), sqlite3_uint64(u.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void Query::bindUtf8(int index, QByteArrayView v) {
    if (!st_) return;
    qsizetype n = v.size();
    while (n > 0 && v[n - 1] == ' ')
        --n;
    if (n == 0) {
        sqlite3_bind_null(st_, index + 1);
        return;
    }
    sqlite3_bind_text64(st_, index + 1, v.data(), sqlite3_uint64(n), SQLITE_STATIC, SQLITE_UTF8);
    borrowed_ = true;
}

// A run is over: text bound without a copy may be gone by the next.
void Query::forgetBorrowed() {
    if (!borrowed_) return;
    sqlite3_clear_bindings(st_);
    borrowed_ = false;
}

void Query::bindValue(int index, const QVariant& v) {
    if (!st_) return;
    if (v.isNull()) {
        sqlite3_bind_null(st_, index + 1);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::QString:
        bindText(index, v.toString());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        sqlite3_bind_int64(st_, index + 1, v.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st_, index + 1, v.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob64(st_, index + 1, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
        return;
    }
    default:
        bindText(index, v.toString());
        return;
    }
}

Query& Query::bind(const QString& placeholder, const QVariant& value) {
    if (!st_) return *this;
    const int i = sqlite3_bind_parameter_index(st_, placeholder.toUtf8().constData());
    if (i > 0) bindValue(i - 1, value);
    return *this;
}

Query& Query::bind(int index, const QVariant& value) {
    bindValue(index, value);
    return *this;
}

Query& Query::add(const QVariant& value) {
    bindValue(pos_++, value);
    return *this;
}

Query& Query::addUtf8(QByteArrayView utf8) {
    if (!isAscii(utf8)) return add(QString::fromUtf8(utf8));
    const int index = pos_++;
    if (!st_) return *this;
    qsizetype n = utf8.size();
    while (n > 0 && utf8.at(n - 1) == ' ')
        --n;
    if (n == 0)
        sqlite3_bind_null(st_, index + 1);
    else
        sqlite3_bind_text64(st_, index + 1, utf8.data(), sqlite3_uint64(n), SQLITE_TRANSIENT, SQLITE_UTF8);
    return *this;
}

bool Query::exec() {
    pos_ = 0;
    if (!st_) return false;
    if (stepped_) sqlite3_reset(st_);
    stepped_ = true;
    hasRow_ = onRow_ = false;
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) {
        hasRow_ = true;
        ok_ = true;
        affected_ = 0;
        return true;
    }
    if (rc == SQLITE_DONE) {
        affected_ = sqlite3_changes(conn_->db_);
        sqlite3_reset(st_); // lets go of its locks at once
        forgetBorrowed();
        stepped_ = false;
        ok_ = true;
        return true;
    }
    error_ = dbError(conn_->db_);
    sqlite3_reset(st_);
    forgetBorrowed();
    stepped_ = false;
    ok_ = false;
    return false;
}

bool Query::next() {
    if (hasRow_) {
        hasRow_ = false;
        onRow_ = true;
        return true;
    }
    if (!onRow_ || !st_) return false;
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    onRow_ = false;
    if (rc != SQLITE_DONE) {
        error_ = dbError(conn_->db_);
        ok_ = false;
    }
    sqlite3_reset(st_);
    forgetBorrowed();
    stepped_ = false;
    return false;
}

void Query::finish() {
    if (st_ && stepped_) sqlite3_reset(st_);
    forgetBorrowed();
    stepped_ = hasRow_ = onRow_ = false;
}

QString Query::error() const { return error_; }

int Query::columnCount() const { return st_ ? sqlite3_column_count(st_) : 0; }

QString Query::columnName(int column) const {
    if (!st_) return {};
    const char* n = sqlite3_column_name(st_, column);
    return n ? QString::fromUtf8(n) : QString();
}

int Query::indexOf(const QString& column) const {
    const int n = columnCount();
    for (int i = 0; i < n; ++i)
        if (columnName(i).compare(column, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QByteArrayView Query::utf8(int column) const {
    if (!onRow_) return {};
    const unsigned char* t = sqlite3_column_text(st_, column);
    if (!t) return {};
    return QByteArrayView(reinterpret_cast<const char*>(t), sqlite3_column_bytes(st_, column));
}

QString Query::str(int column) const {
    if (!onRow_) return {};
    switch (sqlite3_column_type(st_, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(st_, column), 'g', QLocale::FloatingPointShortest);
    default: {
        const QByteArrayView u = utf8(column);
        return QString::fromUtf8(u);
    }
    }
}

QString Query::str(const QString& column) const { return str(indexOf(column)); }

qint64 Query::num(int column) const {
    if (!onRow_) return 0;
    switch (sqlite3_column_type(st_, column)) {
    case SQLITE_INTEGER:
        return sqlite3_column_int64(st_, column);
    case SQLITE_FLOAT:
        return std::llround(sqlite3_column_double(st_, column));
    case SQLITE_NULL:
        return 0;
    default: {
        const QByteArrayView u = utf8(column);
        return parseInt(u.data(), int(u.size()));
    }
    }
}

qint64 Query::num(const QString& column) const { return num(indexOf(column)); }

QVariant Query::value(int column) const {
    if (!onRow_ || column < 0 || column >= columnCount()) return {};
    switch (sqlite3_column_type(st_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(st_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st_, column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st_, column)),
                                   sqlite3_column_bytes(st_, column)));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    default:
        return QVariant(QString::fromUtf8(utf8(column)));
    }
}

QVariant Query::value(const QString& column) const { return value(indexOf(column)); }

bool Query::isNull(int column) const {
    return !onRow_ || sqlite3_column_type(st_, column) == SQLITE_NULL;
}

bool Query::isInteger(int column) const {
    return onRow_ && sqlite3_column_type(st_, column) == SQLITE_INTEGER;
}

int Query::affected() const { return affected_; }

// ---- RowInserter

RowInserter::RowInserter(const QString& table, const QStringList& columns) {
    const QString sql = insertSql(table, columns, &error_);
    if (sql.isEmpty()) return;
    const ColumnInfo& ci = info(table);
    widths_.reserve(columns.size());
    for (const QString& c : columns)
        widths_ << ci.width.value(c.toLower(), 0);
    query_ = std::make_unique<Query>(sql);
    if (!query_->ok()) error_ = query_->error();
}

RowInserter::~RowInserter() = default;

RowInserter& RowInserter::add(const QString& text) {
    const int width = pos_ < widths_.size() ? widths_.at(pos_) : 0;
    if (query_) {
        if (width > 0)
            query_->add(Cp949::cutToBytes(text, width));
        else
            query_->add(text);
    }
    ++pos_;
    return *this;
}

RowInserter& RowInserter::add(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) return add(value.toString());
    if (query_) query_->add(value);
    ++pos_;
    return *this;
}

RowInserter& RowInserter::addUtf8(QByteArrayView utf8) {
    const int width = pos_ < widths_.size() ? widths_.at(pos_) : 0;
    // Plain ASCII within the width is never cut.
    if (width > 0 && (utf8.size() > width || !isAscii(utf8))) return add(QString::fromUtf8(utf8));
    if (query_) query_->addUtf8(utf8);
    ++pos_;
    return *this;
}

RowInserter& RowInserter::addStr(const Query& q, int column) {
    // Text as SQLite gives it, but for a real number, which str() writes its own way.
    if (!q.onRow_ || sqlite3_column_type(q.st_, column) == SQLITE_FLOAT) return add(q.str(column));
    return addUtf8(q.utf8(column));
}

RowInserter& RowInserter::addNull() {
    return add(QVariant());
}

bool RowInserter::exec(QString* error) {
    const int given = pos_;
    pos_ = 0;
    if (query_ && error_.isEmpty() && given != widths_.size())
        error_ = QStringLiteral("%1 values for %2 columns").arg(given).arg(widths_.size());
    if (!error_.isEmpty() || !query_) {
        query_.reset(); // nothing more goes in after a failure
        setError(error, error_);
        return false;
    }
    if (!query_->exec()) {
        error_ = query_->error();
        setError(error, error_);
        return false;
    }
    return true;
}

// ---- Transaction

Transaction::Transaction() {
    level_ = g_txDepth;
    ok_ = level_ == 0 ? Database::main().exec(QStringLiteral("BEGIN IMMEDIATE"), &error_)
                      : Database::main().exec(QStringLiteral("SAVEPOINT zq_sp%1").arg(level_), &error_);
    if (ok_) ++g_txDepth;
    else
        done_ = true;
}

Transaction::~Transaction() {
    if (!done_) rollback();
}

bool Transaction::commit() {
    if (done_) return false;
    Connection& c = Database::main();
    const bool r = level_ == 0 ? c.exec(QStringLiteral("COMMIT"), &error_)
                               : c.exec(QStringLiteral("RELEASE zq_sp%1").arg(level_), &error_);
    if (!r) {
        const QString e = error_;
        rollback();
        error_ = e;
        return false;
    }
    done_ = true;
    --g_txDepth;
    return true;
}

void Transaction::rollback() {
    if (done_) return;
    Connection& c = Database::main();
    if (level_ == 0) {
        c.exec(QStringLiteral("ROLLBACK"));
    } else {
        c.exec(QStringLiteral("ROLLBACK TO zq_sp%1").arg(level_));
        c.exec(QStringLiteral("RELEASE zq_sp%1").arg(level_));
    }
    done_ = true;
    --g_txDepth;
    // A rollback may undo DDL too.
    Database::forgetSchema();
}
