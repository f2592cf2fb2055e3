#pragma once
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

// The one database connection "DBMain" and the table services every part of
// the program uses, on SQLite's own interface. Every value goes in as a bound
// parameter; a table name built from data is checked before use.

struct sqlite3;
struct sqlite3_stmt;

enum class FieldType { Text, Integer, AutoInc };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int width = 0; // CP949 bytes, text only
};

struct IndexDef {
    QString name; // as the program calls it; stored prefixed with the table name
    QStringList fields;
    bool caseInsensitive = true;
    bool unique = false;
    QStringList exactFields; // compared as stored even when caseInsensitive
};

struct TableDef {
    QString name;
    QList<FieldDef> fields;
    QStringList primaryKey;
    QList<IndexDef> indexes;
};

using ColumnValues = QList<std::pair<QString, QVariant>>;

class Query;
class RowInserter;

// A connection to one database file. DBMain is one; a check of another file
// (a backup, a restore candidate) opens its own for as long as it needs it.
// Prepared statements are kept by their text and reused.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool open(const QString& file, bool readOnly = false, QString* error = nullptr);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString fileName() const { return file_; }
    bool exec(const QString& sql, QString* error = nullptr);
    QString lastError() const;
    sqlite3* handle() const { return db_; }

private:
    friend class Query;
    struct Cached;
    sqlite3_stmt* take(const QByteArray& sql, QString* error);
    void give(const QByteArray& sql, sqlite3_stmt* st);

    sqlite3* db_ = nullptr;
    QString file_;
    quint64 generation_ = 0;
    std::unique_ptr<Cached> cache_;
};

class Database {
public:
    static constexpr const char* kConnectionName = "DBMain";
    // How long a statement waits for another copy of the program to finish
    // its write before it gives up.
    static constexpr int kBusyTimeoutMs = 5000;

    // The refusal shown when the database stayed busy past the wait.
    static QString busyText();

    // Opens DBMain on the given file (created when missing).
    static bool open(const QString& file, QString* error = nullptr);
    static void close();
    static bool isOpen();
    static Connection& main();
    static QString fileName();

    // Runs one statement without result rows (DDL or a bound-free update).
    static bool exec(const QString& sql, QString* error = nullptr);

    // Creates a table from its definition. With replace an existing table of
    // that name is dropped first (with its rows); without, an existing table
    // makes the call fail.
    static bool createTable(const TableDef& def, bool replace, QString* error = nullptr);
    static bool tableExists(const QString& name);
    // Table names matching a GLOB pattern (case as stored), sorted by name.
    static QStringList listTables(const QString& glob);
    static bool dropTable(const QString& name, QString* error = nullptr);
    static bool renameTable(const QString& from, const QString& to, QString* error = nullptr);
    static bool addIndex(const QString& table, const IndexDef& index, QString* error = nullptr);
    static bool dropIndex(const QString& table, const QString& index, QString* error = nullptr);
    static bool reindex(const QString& table, QString* error = nullptr);
    // Column names of a table, in order; empty when it does not exist.
    static QStringList columns(const QString& table);
    // CP949 byte width of a text column (0 when unknown or not text).
    static int columnWidth(const QString& table, const QString& column);
    static void forgetSchema();

    // Identifier checks. A plain name is letters, digits and '_' and does not
    // start with a digit; round tables are "H_" + 2|3|R + "00_" + 8 digits.
    static bool isPlainName(const QString& name);
    static bool isRoundTableName(const QString& name);
    // The name quoted as an identifier; empty when it is not a plain name.
    static QString quoted(const QString& name);

    // Inserts one row; text is cut to its column width at a character
    // boundary and stored without trailing blanks, blank text as NULL; an
    // auto-number column left out gets the next number.
    static bool insertRow(const QString& table, const ColumnValues& values, QString* error = nullptr);
    // A work table made anew from its definition and filled with rows, in one
    // transaction: on any failure the previous table stands as it was.
    static bool replaceTable(const TableDef& def, const QList<ColumnValues>& rows, QString* error = nullptr);
    // The same with the rows written by fill through one inserter of the
    // columns named; fill returns false with the error on the first failure.
    static bool replaceTable(const TableDef& def, const QStringList& columns,
                             const std::function<bool(RowInserter&, QString* error)>& fill,
                             QString* error = nullptr);
    // Updates the rows matching every (column, value) of where.
    static bool updateRows(const QString& table, const ColumnValues& set, const ColumnValues& where,
                           QString* error = nullptr, int* affected = nullptr);

    // Consistent copy of the whole database into a new file.
    static bool snapshotTo(const QString& file, QString* error = nullptr);
    static bool integrityCheck(const QString& file, QString* error = nullptr);

    // Normalises a value for storage: text right-trimmed, blank text NULL.
    static QVariant storable(const QVariant& v);
    static QVariant storableText(const QString& v, int width);
};

// A prepared statement on DBMain (or another connection). Blank text binds as
// NULL; reads turn NULL into empty text or 0. Rows are stepped forward only;
// exec() runs the statement and leaves it before its first row.
class Query {
public:
    explicit Query(const QString& sql);
    Query(Connection& connection, const QString& sql);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& bind(const QString& placeholder, const QVariant& value);
    Query& bind(int index, const QVariant& value); // 0-based, positional
    Query& add(const QVariant& value);             // positional '?'
    // Typed binds without a QVariant (same storage rules).
    template <typename T>
        requires(std::integral<T> && !std::same_as<T, bool>)
    Query& add(T v) {
        bindInt(pos_++, qint64(v));
        return *this;
    }
    template <typename T>
        requires std::same_as<std::remove_cvref_t<T>, QString>
    Query& add(T&& v) {
        bindText(pos_++, v);
        return *this;
    }
    // UTF-8 text, bound as add(QString::fromUtf8(utf8)) binds it; plain
    // ASCII goes in without a copy into UTF-16.
    Query& addUtf8(QByteArrayView utf8);
    // Text given as UTF-8 bytes, as utf8() reads a column (same storage
    // rules), for rows copied from a select by the ten thousand: the bytes
    // are not copied, they must stay as they are until the statement has run.
    // A statement given such text forgets every value once it has run; bind
    // them all again for the next run.
    Query& addBorrowedUtf8(QByteArrayView text) {
        bindUtf8(pos_++, text);
        return *this;
    }
    bool exec();
    bool next();
    // Ends a stepping early: the statement lets go of its read lock.
    void finish();
    bool ok() const { return ok_; }
    // The database's message; the Korean refusal when it was busy.
    QString error() const;

    int columnCount() const;
    QString columnName(int column) const;
    QString str(int column) const;
    QString str(const QString& column) const;
    qint64 num(int column) const;
    qint64 num(const QString& column) const;
    QVariant value(int column) const;
    QVariant value(const QString& column) const;
    bool isNull(int column) const;
    // True when the column holds an integer (read before any text of it).
    bool isInteger(int column) const;
    // The column's text as UTF-8 bytes, valid until the next step; empty
    // for NULL.
    QByteArrayView utf8(int column) const;
    int affected() const;

private:
    friend class RowInserter;
    void bindInt(int index, qint64 v);
    void bindText(int index, const QString& v);
    void bindUtf8(int index, QByteArrayView v);
    void forgetBorrowed();
    void bindValue(int index, const QVariant& v);
    int indexOf(const QString& column) const;
    void release();

    Connection* conn_ = nullptr;
    sqlite3_stmt* st_ = nullptr;
    QByteArray sql_;
    quint64 generation_ = 0;
    int pos_ = 0;
    bool borrowed_ = false; // text bound by addBorrowedUtf8(), not copied
    bool ok_ = true;
    bool hasRow_ = false;   // the row exec() stepped onto, not yet handed out
    bool onRow_ = false;    // next() handed out a row
    bool stepped_ = false;  // exec() ran since the last reset
    int affected_ = -1;
    QString error_;
};

// Rows of one table written through one prepared statement: the statement
// and the columns' widths are worked out once, and each row binds its values
// in the order of the columns named. A value is stored as insertRow stores
// it; an auto-number column not named gets the next number.
class RowInserter {
public:
    RowInserter(const QString& table, const QStringList& columns);
    ~RowInserter();
    RowInserter(const RowInserter&) = delete;
    RowInserter& operator=(const RowInserter&) = delete;

    // False when a name is not plain, the statement could not be made or a
    // row failed; error() says why, and nothing more is written.
    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }

    RowInserter& add(const QString& text);
    RowInserter& add(const QVariant& value);
    template <typename T>
        requires(std::integral<T> && !std::same_as<T, bool>)
    RowInserter& add(T v) {
        if (query_) query_->add(v);
        ++pos_;
        return *this;
    }
    // UTF-8 text, stored as add(QString::fromUtf8(utf8)) stores it.
    RowInserter& addUtf8(QByteArrayView utf8);
    // A column of a query's row, stored as add(q.str(column)) stores it.
    RowInserter& addStr(const Query& q, int column);
    // NULL, as a column left out of insertRow.
    RowInserter& addNull();
    // Inserts the row bound so far; the next add starts the next row.
    bool exec(QString* error = nullptr);

private:
    std::unique_ptr<Query> query_;
    QList<int> widths_; // CP949 width of each column named, 0 when not cut
    int pos_ = 0;
    QString error_;
};

// One atomic action: begins a transaction (or a savepoint inside another),
// rolls back unless commit() was called.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool ok() const { return ok_; }
    bool commit();
    void rollback();
    // Why the begin or the commit failed; the Korean refusal when another
    // copy of the program held the database past the wait.
    QString error() const { return error_; }

private:
    QString error_;
    bool ok_ = false;
    bool done_ = false;
    int level_ = 0;
};
