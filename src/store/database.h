// One SQLite database file: opening with the program's connection settings (WAL
// journal on local disks, rollback journal on network shares; busy timeout), statements, transactions, and the translation of SQLite
// errors into the user's German messages. Nothing of the program's own is needed
// to open a file: the stock sqlite3 shell and Python read and write them alike.
// A Database may stand instead for a table's place on a PostgreSQL server
// (openServer): the same statements, written as for SQLite, are translated for the
// server (store/server_dialect.h) and run on a connection of its own.
// A Database is used by one thread at a time.
#pragma once

#include "base/status.h"
#include "store/text_fold.h"

#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace q {

class Database;
class ServerConnection;
struct ServerStatement;

// True for a value that binds NULL: invalid, or a typed null. Inline and without
// the metatype lookups of QVariant::isNull, as bulk loads ask it for every value.
inline bool bindsNull(const QVariant& v) {
    const QVariant::Private& d = v.data_ptr();
    return d.is_null || !d.typeInterface();
}

// A prepared statement; finalised when destroyed.
class Statement {
public:
    Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    ~Statement();

    // Binds by 1-based position. A null QVariant binds NULL; bool binds 0/1.
    void bind(int position, const QVariant& value);
    // Runs one step: true when a row is ready, false when done.
    [[nodiscard]] Result<bool> step();
    // Runs to the end, ignoring rows.
    [[nodiscard]] Status run();
    // Makes the statement ready to run again and clears its bindings.
    void reset();
    // Makes the statement ready to run again; the bindings stay (a loop that binds
    // every value anew each time needs no clearing).
    void rewind();
    QVariant column(int i) const;
    qint64 columnInt(int i) const;
    double columnDouble(int i) const;
    QString columnText(int i) const;
    bool columnIsNull(int i) const;
    int columnCount() const;

private:
    friend class Database;
    Statement(Database* db, sqlite3_stmt* stmt);
    Statement(Database* db, std::unique_ptr<ServerStatement> server);
    void bindOnServer(int position, const QVariant& value);
    Database* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    std::unique_ptr<ServerStatement> m_server;  // a statement on the server instead
};

class Database {
public:
    enum class Mode { OpenExisting, CreateIfMissing };

    // Opens the file, sets its journal mode (journalModeFor) and a busy timeout. Fails NotFound
    // when the file is missing and `mode` is OpenExisting, Corrupt when the file is
    // not a database ("Die Datei … ist keine gültige Datenbank"), Io otherwise.
    static Result<std::unique_ptr<Database>> open(const QString& path, Mode mode);
    // A table's place on the PostgreSQL server `uri`: a connection of its own whose
    // statements name the tables of `schema` (then of "quintara") unqualified.
    // `label` stands for the path in messages ("quintara.Firma"). Fails as
    // ServerConnection::open does.
    static Result<std::unique_ptr<Database>> openServer(const QString& uri, const QString& schema, const QString& label);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return m_path; }
    sqlite3* handle() const { return m_db; }
    bool onServer() const { return m_server != nullptr; }
    ServerConnection* server() const { return m_server.get(); }
    const QString& schema() const { return m_schema; }

    [[nodiscard]] Status exec(const QString& sql);
    [[nodiscard]] Result<Statement> prepare(const QString& sql);
    // Prepares and binds the values to the statement's "?" in order.
    [[nodiscard]] Result<Statement> prepare(const QString& sql, const QVariantList& values);
    // The first column of every row the query returns, as text.
    [[nodiscard]] Result<QStringList> texts(const QString& sql, const QVariantList& values = {});
    qint64 lastInsertRowId() const;
    int changes() const;

    // The current SQLite error as a Status whose message names the file;
    // `what` says what was being done ("Lesen", "Schreiben").
    Status lastError(const QString& what) const;

    // The names of the tables in the file (SQLite's own tables left out).
    Result<QStringList> tableNames();

private:
    friend class Statement;
    Database(QString path, sqlite3* db);
    Database(QString label, std::unique_ptr<ServerConnection> server, QString schema, QString uri);
    QString m_path;
    sqlite3* m_db = nullptr;
    std::unique_ptr<ServerConnection> m_server;
    QString m_schema;
    QString m_uri;                 // the server's connection string, for the connection's reuse
    qint64 m_serverChanges = 0;   // rows the last statement on the server changed
    qint64 m_serverLastRowId = 0; // the rowid the last INSERT … RETURNING rowid gave
};

// Runs the writes between begin() and commit() as one transaction; destroying it
// before commit() rolls back, so an early `return status;` leaves nothing half-written.
class Transaction {
public:
    explicit Transaction(Database& db) : m_db(db) {}
    ~Transaction();
    // BEGIN IMMEDIATE: takes the write lock at once (waiting up to the busy timeout),
    // so that two processes never both decide to create the same table. On the
    // server the transaction is SERIALIZABLE: of two programs that read and then
    // change the same rows (two sales of one lot) one commits, the other fails Busy
    // and changes nothing.
    [[nodiscard]] Status begin();
    [[nodiscard]] Status commit();

private:
    Database& m_db;
    bool m_open = false;
};

// How long a connection waits for another process's write lock before it reports
// Busy; 15 s unless changed (tests shorten it). Applies to connections opened later.
void setBusyTimeout(int milliseconds);
int busyTimeout();

// The journal mode for a table file: "WAL" lets the program and its jobs on one
// computer read while another writes; WAL needs shared memory that a network file
// system does not share between computers, so tables there use "DELETE", the
// rollback journal, and rely on the file server's locks.
QString journalModeFor(const QString& path);

// Double-quotes an identifier ("N-TV").
QString quoted(const QString& identifier);

}  // namespace q
