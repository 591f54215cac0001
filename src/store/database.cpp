#include "store/database.h"

#include "store/file_system.h"
#include "store/server_connection.h"
#include "store/server_dialect.h"
#include "store/sqlite_memory.h"

#include <QElapsedTimer>
#include <cerrno>
#include <QFileInfo>
#include <QThread>
#include <mutex>
#include <sqlite3.h>

namespace q {

namespace {

// How long a writer waits for another process (an unattended job, a second window)
// before the user is told the table is busy.
int g_busyTimeoutMs = 15000;

}  // namespace

// A statement on the server: run when first stepped, its rows kept until the next
// run.
struct ServerStatement {
    QString sql;  // as the server reads it
    QVariantList values;
    ServerRows rows;
    int row = -1;
    bool executed = false;
    bool insert = false;
};

QString journalModeFor(const QString& path) {
    return networkFileSystem(QFileInfo(path).absolutePath()) ? QStringLiteral("DELETE") : QStringLiteral("WAL");
}

void setBusyTimeout(int milliseconds) { g_busyTimeoutMs = milliseconds; }
int busyTimeout() { return g_busyTimeoutMs; }

QString quoted(const QString& identifier) {
    QString s = identifier;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// ---- Statement

Statement::Statement() = default;
Statement::Statement(Database* db, sqlite3_stmt* stmt) : m_db(db), m_stmt(stmt) {}
Statement::Statement(Database* db, std::unique_ptr<ServerStatement> server) : m_db(db), m_server(std::move(server)) {}

Statement::Statement(Statement&& o) noexcept : m_db(o.m_db), m_stmt(o.m_stmt), m_server(std::move(o.m_server)) { o.m_stmt = nullptr; }

Statement& Statement::operator=(Statement&& o) noexcept {
    if (this != &o) {
        sqlite3_finalize(m_stmt);
        m_db = o.m_db;
        m_stmt = o.m_stmt;
        o.m_stmt = nullptr;
        m_server = std::move(o.m_server);
    }
    return *this;
}

void Statement::bindOnServer(int position, const QVariant& v) {
    if (m_server->values.size() < position) m_server->values.resize(position);
    m_server->values[position - 1] = bindsNull(v) ? QVariant() : v;
}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

void Statement::bind(int position, const QVariant& v) {
    if (m_server) [[unlikely]] {
        bindOnServer(position, v);
        return;
    }
    if (bindsNull(v)) {
        sqlite3_bind_null(m_stmt, position);
        return;
    }
    // The types of nearly every value bound, told by their metatype's address and
    // read in place: the generic conversion costs as much as SQLite's own work on a
    // row of a bulk load.
    const QVariant::Private& d = v.data_ptr();
    const QtPrivate::QMetaTypeInterface* type = d.typeInterface();
    if (type == QMetaType::fromType<int>().iface()) {
        sqlite3_bind_int64(m_stmt, position, d.get<int>());
        return;
    }
    if (type == QMetaType::fromType<double>().iface()) {
        sqlite3_bind_double(m_stmt, position, d.get<double>());
        return;
    }
    if (type == QMetaType::fromType<qlonglong>().iface()) {
        sqlite3_bind_int64(m_stmt, position, d.get<qlonglong>());
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool: sqlite3_bind_int(m_stmt, position, v.toBool() ? 1 : 0); break;
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::Long: sqlite3_bind_int64(m_stmt, position, v.toLongLong()); break;
    case QMetaType::Float: sqlite3_bind_double(m_stmt, position, v.toDouble()); break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(m_stmt, position, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(m_stmt, position, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
    }
    }
}

Result<bool> Statement::step() {
    if (m_server) {
        ServerStatement& s = *m_server;
        if (!s.executed) {
            auto rows = m_db->m_server->query(s.sql, s.values);
            if (!rows) return rows.status();
            s.rows = std::move(*rows);
            s.executed = true;
            s.row = -1;
            // As sqlite3_changes(): the rows a write changed; a query leaves it alone.
            if (s.insert || s.rows.columns() == 0) m_db->m_serverChanges = s.rows.affected();
            if (s.insert && s.rows.rows() > 0 && s.rows.columnName(0) == QLatin1String("rowid")) m_db->m_serverLastRowId = s.rows.integer(0, 0);
        }
        return ++s.row < s.rows.rows();
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    return m_db->lastError(QStringLiteral("Zugriff"));
}

Status Statement::run() {
    for (;;) {
        auto r = step();
        if (!r) return r.status();
        if (!*r) break;
    }
    reset();
    return Status::ok();
}

void Statement::rewind() {
    if (m_server) {
        m_server->executed = false;
        m_server->rows = ServerRows();
        return;
    }
    sqlite3_reset(m_stmt);
}

void Statement::reset() {
    if (m_server) {
        rewind();
        for (QVariant& v : m_server->values) v = QVariant();
        return;
    }
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

QVariant Statement::column(int i) const {
    if (m_server) {
        const QVariant v = m_server->rows.value(m_server->row, i);
        // A logical field reads as the files store it: 1 or 0.
        return v.typeId() == QMetaType::Bool ? QVariant(static_cast<qint64>(v.toBool() ? 1 : 0)) : v;
    }
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER: return QVariant(static_cast<qint64>(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_TEXT: return QVariant(columnText(i));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt, i)), sqlite3_column_bytes(m_stmt, i)));
    default: return QVariant();
    }
}

qint64 Statement::columnInt(int i) const { return m_server ? column(i).toLongLong() : sqlite3_column_int64(m_stmt, i); }
double Statement::columnDouble(int i) const { return m_server ? column(i).toDouble() : sqlite3_column_double(m_stmt, i); }
QString Statement::columnText(int i) const {
    if (m_server) return m_server->rows.isNull(m_server->row, i) ? QString() : m_server->rows.text(m_server->row, i);
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
    return t ? QString::fromUtf8(t, sqlite3_column_bytes(m_stmt, i)) : QString();
}
bool Statement::columnIsNull(int i) const {
    return m_server ? m_server->rows.isNull(m_server->row, i) : sqlite3_column_type(m_stmt, i) == SQLITE_NULL;
}
int Statement::columnCount() const { return m_server ? m_server->rows.columns() : sqlite3_column_count(m_stmt); }

// ---- Database

Result<std::unique_ptr<Database>> Database::open(const QString& path, Mode mode) {
    if (mode == Mode::OpenExisting && !QFileInfo::exists(path))
        return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(path));
    sqlite3* handle = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (mode == Mode::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    const int rc = openSqlite(path.toUtf8().constData(), &handle, flags);
    std::unique_ptr<Database> db(new Database(path, handle));
    if (rc != SQLITE_OK) return db->lastError(QStringLiteral("Öffnen"));
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, g_busyTimeoutMs);
    // The first statement reads the file header: this is where a file that is not a
    // database shows. Switching the journal mode needs the file to itself; two
    // processes opening it at once can each hold the other off, which SQLite reports
    // at once instead of waiting, so the wait happens here.
    const QString journal = QStringLiteral("PRAGMA journal_mode=%1").arg(journalModeFor(path));
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        Status s = db->exec(journal);
        if (s) break;
        if (s.category() != Category::Busy || waited.elapsed() > g_busyTimeoutMs) return s;
        QThread::msleep(10);
    }
    // NORMAL is safe with WAL; the rollback journal needs FULL to survive a power cut.
    const bool wal = journal.endsWith(QLatin1String("WAL"));
    if (Status s = db->exec(wal ? QStringLiteral("PRAGMA synchronous=NORMAL") : QStringLiteral("PRAGMA synchronous=FULL")); !s)
        return s;
    return db;
}

Database::Database(QString path, sqlite3* db) : m_path(std::move(path)), m_db(db) {}
Database::Database(QString label, std::unique_ptr<ServerConnection> server, QString schema, QString uri)
    : m_path(std::move(label)), m_server(std::move(server)), m_schema(std::move(schema)), m_uri(std::move(uri)) {}

namespace {

// Connections a closed table left to the server: the next table opened takes one
// instead of connecting anew, which costs the server a process each time (a start
// opens every table once to check it, then again to work with it).
struct IdleConnections {
    std::mutex mutex;
    std::vector<std::pair<QString, std::unique_ptr<ServerConnection>>> list;
};
constexpr size_t kIdleKept = 8;

IdleConnections& idleConnections() {
    static IdleConnections idle;
    return idle;
}

std::unique_ptr<ServerConnection> takeIdle(const QString& uri) {
    IdleConnections& idle = idleConnections();
    std::lock_guard lock(idle.mutex);
    for (auto it = idle.list.begin(); it != idle.list.end(); ++it) {
        if (it->first != uri) continue;
        auto c = std::move(it->second);
        idle.list.erase(it);
        return c;
    }
    return nullptr;
}

void giveBack(const QString& uri, std::unique_ptr<ServerConnection> c) {
    if (!c || !c->reusable()) return;
    IdleConnections& idle = idleConnections();
    std::lock_guard lock(idle.mutex);
    if (idle.list.size() < kIdleKept) idle.list.emplace_back(uri, std::move(c));
}

}  // namespace

Result<std::unique_ptr<Database>> Database::openServer(const QString& uri, const QString& schema, const QString& label) {
    const QString path = QStringLiteral("SET search_path = %1, \"quintara\"").arg(quoted(schema));
    // A connection left idle is used when it still answers; a server restarted since
    // has dropped it, and a new one is made.
    if (auto reused = takeIdle(uri); reused && reused->exec(path))
        return std::unique_ptr<Database>(new Database(label, std::move(reused), schema, uri));
    auto server = ServerConnection::open(uri);
    if (!server) return server.status();
    Q_TRY((*server)->exec(path));
    return std::unique_ptr<Database>(new Database(label, std::move(*server), schema, uri));
}

Database::~Database() {
    sqlite3_close_v2(m_db);
    giveBack(m_uri, std::move(m_server));
}

Status Database::exec(const QString& sql) {
    if (m_server) return m_server->exec(serverSql(sql));
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) return lastError(QStringLiteral("Zugriff"));
    return Status::ok();
}

Result<Statement> Database::prepare(const QString& sql) {
    if (m_server) {
        auto s = std::make_unique<ServerStatement>();
        int parameters = 0;
        s->sql = serverSql(sql, &parameters);
        s->values.resize(parameters);
        s->insert = sql.trimmed().startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive);
        return Statement(this, std::move(s));
    }
    sqlite3_stmt* stmt = nullptr;
    const QByteArray u = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, u.constData(), static_cast<int>(u.size()), &stmt, nullptr) != SQLITE_OK)
        return lastError(QStringLiteral("Zugriff"));
    return Statement(this, stmt);
}

Result<Statement> Database::prepare(const QString& sql, const QVariantList& values) {
    auto st = prepare(sql);
    if (!st) return st;
    for (int i = 0; i < values.size(); ++i) st->bind(i + 1, values[i]);
    return st;
}

qint64 Database::lastInsertRowId() const { return m_server ? m_serverLastRowId : sqlite3_last_insert_rowid(m_db); }
int Database::changes() const { return m_server ? static_cast<int>(m_serverChanges) : sqlite3_changes(m_db); }

Status Database::lastError(const QString& what) const {
    if (m_server) return m_server->lastError(what);
    const int code = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_CANTOPEN;
    const QString detail = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Status::busy(QStringLiteral("Die Datei %1 wird von einem anderen Programm benutzt (%2)").arg(m_path, detail));
    case SQLITE_NOTADB:
        return Status::corrupt(QStringLiteral("Die Datei %1 ist keine gültige Datenbank").arg(m_path));
    case SQLITE_CORRUPT:
        return Status::corrupt(QStringLiteral("Die Datenbank %1 ist beschädigt (%2)").arg(m_path, detail));
    case SQLITE_CONSTRAINT:
        return Status::invalid(QStringLiteral("%1: %2").arg(m_path, detail));
    case SQLITE_FULL: return diskFull(m_path);
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        // A write into the journal or the shared memory may meet the full disk as an I/O error.
        if ((m_db && sqlite3_system_errno(m_db) == ENOSPC) || roomRunsOut(m_path)) return diskFull(m_path);
        [[fallthrough]];
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Status::io(QStringLiteral("Fehler beim %1 der Datei %2 (%3)").arg(what, m_path, detail));
    default:
        return Status::internal(QStringLiteral("Datenbankfehler in %1: %2").arg(m_path, detail));
    }
}

Result<QStringList> Database::texts(const QString& sql, const QVariantList& values) {
    auto st = prepare(sql, values);
    if (!st) return st.status();
    QStringList out;
    for (;;) {
        auto r = st->step();
        if (!r) return r.status();
        if (!*r) break;
        out << st->columnText(0);
    }
    return out;
}

Result<QStringList> Database::tableNames() {
    if (m_server)
        return texts(QStringLiteral("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                                    "WHERE n.nspname = ? AND c.relkind IN ('r', 'p') ORDER BY c.oid"),
                     {m_schema});
    return texts(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid"));
}

// ---- Transaction

Transaction::~Transaction() {
    if (m_open) (void)m_db.exec(QStringLiteral("ROLLBACK"));
}

Status Transaction::begin() {
    Q_ASSERT(!m_open);
    Q_TRY(m_db.exec(QStringLiteral("BEGIN IMMEDIATE")));
    m_open = true;
    return Status::ok();
}

Status Transaction::commit() {
    Q_ASSERT(m_open);
    Q_TRY(m_db.exec(QStringLiteral("COMMIT")));
    m_open = false;
    return Status::ok();
}

}  // namespace q
