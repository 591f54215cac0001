#include "store/raw_connection.h"

#include "store/database.h"
#include "store/file_system.h"
#include "store/schema_conversion.h"
#include "store/sqlite_memory.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace q {

RawConnection::~RawConnection() { sqlite3_close_v2(m_db); }

Status RawConnection::open(const QString& path, Mode mode) {
    Q_ASSERT(!m_db);
    m_path = path;
    if (mode == Mode::ReadWrite && !QFileInfo::exists(path))
        return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(path));
    int flags = SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    if (mode == Mode::ReadWrite && !QFileInfo(path).isWritable()) flags = SQLITE_OPEN_READONLY;
    if (openSqlite(path.toUtf8().constData(), &m_db, flags) != SQLITE_OK) return error(QStringLiteral("Öffnen"));
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, busyTimeout());
    // Copies made by earlier releases carry indexes on their own collation.
    registerLegacyCollation(m_db);
    return Status::ok();
}

Status RawConnection::exec(const char* sql) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) return error(QStringLiteral("Zugriff"));
    return Status::ok();
}

Result<QStringList> RawConnection::texts(const QString& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) return error(QStringLiteral("Lesen"));
    QStringList out;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        out << (t ? QString::fromUtf8(t) : QString());
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) return error(QStringLiteral("Lesen"));
    return out;
}

Result<qint64> RawConnection::rowCount(const QString& table) {
    auto n = texts(QStringLiteral("SELECT count(*) FROM %1").arg(quoted(table)));
    if (!n) return n.status();
    return n->value(0).toLongLong();
}

Status RawConnection::error(const QString& what) const {
    const int code = m_db ? (sqlite3_extended_errcode(m_db) & 0xff) : SQLITE_CANTOPEN;
    const QString detail = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
    switch (code) {
    case SQLITE_NOTADB: return Status::corrupt(QStringLiteral("Die Datei %1 ist keine gültige Datenbank").arg(m_path));
    case SQLITE_CORRUPT: return Status::corrupt(QStringLiteral("Die Datenbank %1 ist beschädigt (%2)").arg(m_path, detail));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Status::busy(QStringLiteral("Die Datei %1 wird von einem anderen Programm benutzt (%2)").arg(m_path, detail));
    case SQLITE_FULL: return diskFull(m_path);
    default:
        // The shared memory file reports a full disk as a plain I/O error.
        if (code == SQLITE_IOERR && roomRunsOut(m_path)) return diskFull(m_path);
        return Status::io(QStringLiteral("Fehler beim %1 der Datei %2 (%3)").arg(what, m_path, detail));
    }
}

}  // namespace q
