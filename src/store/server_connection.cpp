#include "store/server_connection.h"

#include "store/database.h"

#include <QList>
#include <cmath>
#include <cstring>
#include <libpq-fe.h>

namespace q {

namespace {

// Type oids of the server's built-in types (pg_type.dat; fixed for all releases).
constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701;

// The server as messages name it, from the connection string and libpq's defaults.
QString serverOf(const QString& uri) {
    QString host, hostaddr, port;
    if (PQconninfoOption* options = PQconninfoParse(uri.toUtf8().constData(), nullptr)) {
        for (PQconninfoOption* o = options; o->keyword; ++o) {
            if (!o->val || !*o->val) continue;
            if (std::strcmp(o->keyword, "host") == 0) host = QString::fromUtf8(o->val);
            else if (std::strcmp(o->keyword, "hostaddr") == 0) hostaddr = QString::fromUtf8(o->val);
            else if (std::strcmp(o->keyword, "port") == 0) port = QString::fromUtf8(o->val);
        }
        PQconninfoFree(options);
    }
    if (host.isEmpty()) host = hostaddr.isEmpty() ? qEnvironmentVariable("PGHOST", QStringLiteral("localhost")) : hostaddr;
    if (port.isEmpty()) port = qEnvironmentVariable("PGPORT", QStringLiteral("5432"));
    return host + QLatin1Char(':') + port;
}

// The server's message on one line (libpq ends lines and indents its hints).
QString trimmedMessage(const char* text) { return QString::fromUtf8(text ? text : "").simplified(); }

QByteArray numberText(double d) {
    if (std::isnan(d)) return QByteArrayLiteral("NaN");
    if (std::isinf(d)) return d > 0 ? QByteArrayLiteral("Infinity") : QByteArrayLiteral("-Infinity");
    return QByteArray::number(d, 'g', 17);
}

// The text a value binds as, and (escaped) stands in COPY text: the server converts
// it by the parameter's or the column's type.
QByteArray parameterText(const QVariant& v, bool* isNull) {
    *isNull = bindsNull(v);
    if (*isNull) return {};
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float: return numberText(v.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Long: return QByteArray::number(v.toLongLong());
    case QMetaType::QByteArray: return QByteArrayLiteral("\\x") + v.toByteArray().toHex();
    default: return v.toString().toUtf8();
    }
}

}  // namespace

// ---- ServerRows

ServerRows::ServerRows(pg_result* result) : m_result(result) {}
ServerRows::ServerRows(ServerRows&& o) noexcept : m_result(o.m_result) { o.m_result = nullptr; }
ServerRows& ServerRows::operator=(ServerRows&& o) noexcept {
    if (this != &o) {
        PQclear(m_result);
        m_result = o.m_result;
        o.m_result = nullptr;
    }
    return *this;
}
ServerRows::~ServerRows() { PQclear(m_result); }

int ServerRows::rows() const { return m_result ? PQntuples(m_result) : 0; }
int ServerRows::columns() const { return m_result ? PQnfields(m_result) : 0; }
QString ServerRows::columnName(int column) const { return QString::fromUtf8(PQfname(m_result, column)); }
qint64 ServerRows::affected() const {
    const char* n = m_result ? PQcmdTuples(m_result) : "";
    return *n ? std::strtoll(n, nullptr, 10) : 0;
}
bool ServerRows::isNull(int row, int column) const { return PQgetisnull(m_result, row, column) != 0; }
QString ServerRows::text(int row, int column) const {
    return QString::fromUtf8(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}
qint64 ServerRows::integer(int row, int column) const { return std::strtoll(PQgetvalue(m_result, row, column), nullptr, 10); }

QVariant ServerRows::value(int row, int column) const {
    if (isNull(row, column)) return {};
    const char* v = PQgetvalue(m_result, row, column);
    switch (PQftype(m_result, column)) {
    case kInt2:
    case kInt4:
    case kInt8: return QVariant(static_cast<qint64>(std::strtoll(v, nullptr, 10)));
    case kFloat4:
    case kFloat8: return QVariant(std::strtod(v, nullptr));
    case kBool: return QVariant(v[0] == 't');
    case kBytea: {
        size_t n = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(v), &n);
        QByteArray out(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(n));
        PQfreemem(bytes);
        return QVariant(out);
    }
    default: return QVariant(text(row, column));
    }
}

Status checkConnectionText(const QString& uri) {
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.toUtf8().constData(), &parseError);
    if (!options) {
        const QString detail = trimmedMessage(parseError);
        PQfreemem(parseError);
        return Status::invalid(QStringLiteral("Die Verbindungsangabe »%1« für den Datenbankserver ist ungültig (%2)").arg(uri, detail));
    }
    bool hasPassword = false;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (std::strcmp(o->keyword, "password") == 0 && o->val && *o->val) hasPassword = true;
    PQconninfoFree(options);
    if (hasPassword)
        return Status::invalid(QStringLiteral("Die Verbindungsangabe für den Datenbankserver enthält ein Kennwort. "
                                              "Tragen Sie es in ~/.pgpass ein (oder in die Datei, die PGPASSFILE nennt) "
                                              "und lassen Sie es in der Angabe weg."));
    return Status::ok();
}

// ---- ServerConnection

Result<std::unique_ptr<ServerConnection>> ServerConnection::open(const QString& uri) {
    Q_TRY(checkConnectionText(uri));
    const QString server = serverOf(uri);
    // The program's own name in the server's activity list; a string of its own
    // given by the user wins.
    const QByteArray conninfo = uri.toUtf8();
    const char* keys[] = {"application_name", "connect_timeout", "dbname", nullptr};
    const char* values[] = {"quintara", "10", conninfo.constData(), nullptr};
    pg_conn* conn = PQconnectdbParams(keys, values, 1);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        const QString detail = conn ? trimmedMessage(PQerrorMessage(conn)) : QStringLiteral("kein Speicher");
        PQfinish(conn);
        return Status::io(QStringLiteral("Datenbankserver %1 nicht erreichbar (%2)").arg(server, detail));
    }
    PQsetClientEncoding(conn, "UTF8");
    std::unique_ptr<ServerConnection> c(new ServerConnection(conn, server));
    // Notices ("relation already exists, skipping") are not the user's business.
    PQsetNoticeProcessor(conn, [](void*, const char*) {}, nullptr);
    // Floating point text that reads back to the same double.
    Q_TRY(c->exec(QStringLiteral("SET extra_float_digits = 3")));
    return c;
}

ServerConnection::~ServerConnection() { PQfinish(m_conn); }

bool ServerConnection::reusable() const {
    return PQstatus(m_conn) == CONNECTION_OK && PQtransactionStatus(m_conn) == PQTRANS_IDLE;
}

Status ServerConnection::lastError(const QString& what, pg_result* result) const {
    if (PQstatus(m_conn) != CONNECTION_OK)
        return Status::io(QStringLiteral("Datenbankserver %1 nicht erreichbar (%2)").arg(m_server, trimmedMessage(PQerrorMessage(m_conn))));
    const QString detail = result ? trimmedMessage(PQresultErrorMessage(result)) : trimmedMessage(PQerrorMessage(m_conn));
    const QByteArray state = result ? QByteArray(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QByteArray();
    // 40001 serialization failure, 40P01 deadlock, 55P03 lock not available.
    if (state == "40001" || state == "40P01" || state == "55P03")
        return Status::busy(QStringLiteral("Die Tabellen auf dem Datenbankserver %1 werden gerade von einem anderen Programm geändert (%2)").arg(m_server, detail));
    // Class 23: integrity constraint violations; 22: data exceptions (a too long text).
    if (state.startsWith("23") || state.startsWith("22"))
        return Status::invalid(QStringLiteral("Datenbankserver %1: %2").arg(m_server, detail));
    // Class 08: connection exceptions; 57P01-03: the server shuts down.
    if (state.startsWith("08") || state.startsWith("57P"))
        return Status::io(QStringLiteral("Datenbankserver %1 nicht erreichbar (%2)").arg(m_server, detail));
    if (state == "53100") return Status::io(QStringLiteral("Der Datenbankserver %1 hat keinen Platz mehr (%2)").arg(m_server, detail));
    return Status::internal(QStringLiteral("Fehler beim %1 auf dem Datenbankserver %2: %3").arg(what, m_server, detail));
}

Status ServerConnection::exec(const QString& sql) {
    pg_result* r = PQexec(m_conn, sql.toUtf8().constData());
    const ExecStatusType s = PQresultStatus(r);
    Status out = s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK ? Status::ok() : lastError(QStringLiteral("Zugriff"), r);
    PQclear(r);
    return out;
}

Result<ServerRows> ServerConnection::query(const QString& sql, const QVariantList& values) {
    std::vector<QByteArray> texts(values.size());
    std::vector<const char*> pointers(values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        bool isNull = false;
        texts[i] = parameterText(values[i], &isNull);
        pointers[i] = isNull ? nullptr : texts[i].constData();
    }
    pg_result* r = PQexecParams(m_conn, sql.toUtf8().constData(), static_cast<int>(values.size()), nullptr, pointers.data(),
                                nullptr, nullptr, 0);
    const ExecStatusType s = PQresultStatus(r);
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK) {
        Status e = lastError(QStringLiteral("Zugriff"), r);
        PQclear(r);
        return e;
    }
    return ServerRows(r);
}

Status ServerConnection::startCopy(const QString& copySql) {
    pg_result* r = PQexec(m_conn, copySql.toUtf8().constData());
    Status out = PQresultStatus(r) == PGRES_COPY_IN ? Status::ok() : lastError(QStringLiteral("Schreiben"), r);
    PQclear(r);
    return out;
}

Status ServerConnection::copyIn(const QString& copySql, const std::function<Status(QByteArray& chunk, bool* more)>& next) {
    Q_TRY(startCopy(copySql));
    Status failed;
    QByteArray chunk;
    for (bool more = true; more;) {
        chunk.clear();
        failed = next(chunk, &more);
        if (!failed) break;
        if (!chunk.isEmpty() && PQputCopyData(m_conn, chunk.constData(), static_cast<int>(chunk.size())) != 1) break;
    }
    // An error of ours ends the copy with a message: the server discards every row.
    PQputCopyEnd(m_conn, failed ? nullptr : "abgebrochen");
    Status out = failed;
    while (pg_result* end = PQgetResult(m_conn)) {
        if (out && PQresultStatus(end) != PGRES_COMMAND_OK) out = lastError(QStringLiteral("Schreiben"), end);
        PQclear(end);
    }
    return out;
}

Status ServerConnection::putCopy(const QByteArray& text) {
    if (text.isEmpty() || PQputCopyData(m_conn, text.constData(), static_cast<int>(text.size())) == 1) return Status::ok();
    return lastError(QStringLiteral("Schreiben"));
}

Status ServerConnection::endCopy(const QString& failure) {
    const QByteArray reason = failure.toUtf8();
    PQputCopyEnd(m_conn, failure.isEmpty() ? nullptr : reason.constData());
    Status out;
    while (pg_result* end = PQgetResult(m_conn)) {
        if (out && failure.isEmpty() && PQresultStatus(end) != PGRES_COMMAND_OK) out = lastError(QStringLiteral("Schreiben"), end);
        PQclear(end);
    }
    return out;
}

Status ServerConnection::copyOut(const QString& copySql, const std::function<Status(const QByteArray& line)>& line) {
    pg_result* r = PQexec(m_conn, copySql.toUtf8().constData());
    Status out = PQresultStatus(r) == PGRES_COPY_OUT ? Status::ok() : lastError(QStringLiteral("Lesen"), r);
    PQclear(r);
    Q_TRY(out);
    for (;;) {
        char* buffer = nullptr;
        const int n = PQgetCopyData(m_conn, &buffer, 0);
        if (n < 0) break;  // -1: done, -2: failed (told by the result below)
        if (out) {
            QByteArray text = QByteArray::fromRawData(buffer, n > 0 && buffer[n - 1] == '\n' ? n - 1 : n);
            out = line(text);
        }
        PQfreemem(buffer);
        // After a failed line the rest is read and dropped: the connection stays usable.
    }
    while (pg_result* end = PQgetResult(m_conn)) {
        if (out && PQresultStatus(end) != PGRES_COMMAND_OK) out = lastError(QStringLiteral("Lesen"), end);
        PQclear(end);
    }
    return out;
}

Status ServerConnection::begin() { return exec(QStringLiteral("BEGIN")); }
Status ServerConnection::commit() { return exec(QStringLiteral("COMMIT")); }
Status ServerConnection::rollback() { return exec(QStringLiteral("ROLLBACK")); }

ServerTransaction::~ServerTransaction() {
    if (m_open) (void)m_server.rollback();
}

Status ServerTransaction::begin(const QString& how) {
    Q_TRY(m_server.exec(how));
    m_open = true;
    return Status::ok();
}

Status ServerTransaction::commit() {
    m_open = false;
    return m_server.commit();
}

// ---- COPY text

void appendCopyValue(QByteArray& out, const QVariant& v) {
    bool isNull = false;
    const QByteArray text = parameterText(v, &isNull);
    if (isNull) {
        out += "\\N";
        return;
    }
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

QList<QByteArray> splitCopyLine(const QByteArray& line) {
    QList<QByteArray> fields;
    QByteArray field("");  // not null: an empty text
    bool escaped = false;
    auto finish = [&] {
        if (field == "\\N" && !escaped) fields << QByteArray();
        else fields << field;
        field = QByteArray("");
        escaped = false;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            finish();
            continue;
        }
        if (c != '\\' || i + 1 >= line.size()) {
            field += c;
            continue;
        }
        const char e = line[++i];
        if (e == 'N' && field.isEmpty() && (i + 1 == line.size() || line[i + 1] == '\t')) {
            field = "\\N";  // the NULL marker; finish() tells it from an escaped text
            continue;
        }
        escaped = true;
        switch (e) {
        case 't': field += '\t'; break;
        case 'n': field += '\n'; break;
        case 'r': field += '\r'; break;
        case 'b': field += '\b'; break;
        case 'f': field += '\f'; break;
        case 'v': field += '\v'; break;
        default: field += e;
        }
    }
    finish();
    return fields;
}

QString qualified(const QString& schema, const QString& name) {
    auto quote = [](QString s) { return QLatin1Char('"') + s.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'); };
    return quote(schema) + QLatin1Char('.') + quote(name);
}

}  // namespace q
