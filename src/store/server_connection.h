// One connection to the PostgreSQL server that holds the shared tables: statements
// with bound parameters only, COPY in and out for whole tables, transactions, and
// the translation of the server's errors into the user's German messages. The
// connection string is libpq's (a URI or key=value pairs); it must not carry a
// password: that comes from ~/.pgpass or PGPASSFILE, never from settings or argv.
// A ServerConnection is used by one thread at a time.
#pragma once

#include "base/status.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

struct pg_conn;
struct pg_result;

namespace q {

// The rows a query returned (all in memory: for small results; whole tables go
// through copyOut).
class ServerRows {
public:
    ServerRows() = default;
    explicit ServerRows(pg_result* result);
    ServerRows(ServerRows&& other) noexcept;
    ServerRows& operator=(ServerRows&& other) noexcept;
    ~ServerRows();

    int rows() const;
    int columns() const;
    QString columnName(int column) const;
    // The rows an INSERT, UPDATE or DELETE changed (0 for other statements).
    qint64 affected() const;
    bool isNull(int row, int column) const;
    QString text(int row, int column) const;
    qint64 integer(int row, int column) const;
    // The value typed by its column: integers as qint64, floating point as double,
    // boolean as bool, bytea as QByteArray, anything else as text; NULL as QVariant().
    QVariant value(int row, int column) const;

private:
    pg_result* m_result = nullptr;
};

// Checks a connection text without connecting: Invalid when libpq cannot parse it
// or when it carries a password (that belongs in ~/.pgpass or PGPASSFILE).
Status checkConnectionText(const QString& uri);

class ServerConnection {
public:
    // Connects. Invalid when the string cannot be parsed or names a password; Io
    // "Datenbankserver HOST nicht erreichbar (…)" when no connection comes about
    // (also a refused login, with the server's reason).
    static Result<std::unique_ptr<ServerConnection>> open(const QString& uri);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // "host:port" (or the socket directory) as the messages name the server.
    const QString& server() const { return m_server; }
    // Whether the connection is up and outside any transaction: it may serve the
    // next table opened.
    bool reusable() const;

    // Runs SQL without parameters (several statements separated by ";" allowed).
    [[nodiscard]] Status exec(const QString& sql);
    // Runs one statement with the values bound to $1, $2, … (never pasted into the
    // text): null binds NULL, bool 1/0 (a boolean or an integer field takes it), QByteArray bytea, numbers exactly.
    [[nodiscard]] Result<ServerRows> query(const QString& sql, const QVariantList& values = {});

    // COPY … FROM STDIN: `next` fills the next chunk of COPY text and returns false
    // when there is no more; a failed status from it ends the copy with an error.
    [[nodiscard]] Status copyIn(const QString& copySql, const std::function<Status(QByteArray& chunk, bool* more)>& next);
    // The same as three steps, for a loader that is handed its rows one at a time:
    // startCopy() runs the COPY, putCopy() sends text, endCopy() ends it (with
    // `failure` set the server discards every row) and tells the server's verdict.
    [[nodiscard]] Status startCopy(const QString& copySql);
    [[nodiscard]] Status putCopy(const QByteArray& text);
    [[nodiscard]] Status endCopy(const QString& failure = {});
    // COPY … TO STDOUT: `line` gets each row's line of COPY text (without the
    // newline); a failed status from it stops the copy.
    [[nodiscard]] Status copyOut(const QString& copySql, const std::function<Status(const QByteArray& line)>& line);

    Status begin();
    Status commit();
    Status rollback();

    // The message for the last failure: the server gone ("Datenbankserver … nicht
    // erreichbar"), a conflict of two writers (Busy), a violated key or check
    // (Invalid), anything else Internal with the server's text.
    Status lastError(const QString& what, pg_result* result = nullptr) const;

private:
    ServerConnection(pg_conn* conn, QString server) : m_conn(conn), m_server(std::move(server)) {}
    pg_conn* m_conn = nullptr;
    QString m_server;
};

// Runs the writes between begin() and commit() as one transaction on the server;
// destroying it before commit() rolls back.
class ServerTransaction {
public:
    explicit ServerTransaction(ServerConnection& server) : m_server(server) {}
    ~ServerTransaction();
    // `how`: "BEGIN" or "BEGIN ISOLATION LEVEL …".
    [[nodiscard]] Status begin(const QString& how = QStringLiteral("BEGIN"));
    [[nodiscard]] Status commit();

private:
    ServerConnection& m_server;
    bool m_open = false;
};

// Escapes one value into COPY text format (tab-separated, \N for NULL), appended to
// `out`: numbers written so that they read back exactly.
void appendCopyValue(QByteArray& out, const QVariant& value);
// Splits one line of COPY text into its fields, undoing the escapes; a NULL field is
// a null QByteArray, an empty text an empty one that is not null.
QList<QByteArray> splitCopyLine(const QByteArray& line);

// A double-quoted, schema-qualified name: "quintara"."Firma".
QString qualified(const QString& schema, const QString& name);

}  // namespace q
