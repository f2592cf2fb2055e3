#pragma once
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

// The one database connection "DBMain" and the table services every part of
// the program uses. Every value goes in as a bound parameter; a table name
// built from data is checked before use.

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
};

struct TableDef {
    QString name;
    QList<FieldDef> fields;
    QStringList primaryKey;
    QList<IndexDef> indexes;
};

using ColumnValues = QList<std::pair<QString, QVariant>>;

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
    static QSqlDatabase db();
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

// A prepared statement on DBMain. Blank text binds as NULL; reads turn NULL
// into empty text or 0.
class Query {
public:
    explicit Query(const QString& sql);
    Query& bind(const QString& placeholder, const QVariant& value);
    Query& add(const QVariant& value); // positional '?'
    bool exec();
    bool next();
    bool ok() const { return ok_; }
    // The database's message; the Korean refusal when it was busy.
    QString error() const;
    QString str(int column) const;
    QString str(const QString& column) const;
    qint64 num(int column) const;
    qint64 num(const QString& column) const;
    QVariant value(int column) const;
    bool isNull(int column) const;
    int affected() const;
    QSqlQuery& raw() { return q_; }

private:
    QSqlQuery q_;
    bool ok_ = true;
    QString prepareError_;
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
