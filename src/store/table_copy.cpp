#include "store/table_copy.h"

#include "store/database.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <cstdio>

namespace q {

namespace {

constexpr int kPagesPerStep = 1024;

struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
};

Status fail(const QString& what, const QString& path, sqlite3* db) {
    const int code = db ? (sqlite3_extended_errcode(db) & 0xff) : SQLITE_CANTOPEN;
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
        return Status::corrupt(QStringLiteral("Die Datei %1 ist keine gültige Datenbank").arg(path));
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return Status::busy(QStringLiteral("Die Datei %1 wird von einem anderen Programm benutzt (%2)").arg(path, detail));
    return Status::io(QStringLiteral("Fehler beim %1 der Datei %2 (%3)").arg(what, path, detail));
}

Status openRaw(const QString& path, Handle& h, bool create) {
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &h.db, flags, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("Öffnen"), path, h.db);
    sqlite3_busy_timeout(h.db, busyTimeout());
    return Status::ok();
}

Status backupInto(const QString& source, const QString& target, CopyJournal journal, Progress* progress) {
    Handle src, dst;
    Q_TRY(openRaw(source, src, false));
    // Reading the schema proves each file is a database before the copy starts.
    if (sqlite3_exec(src.db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const Status s = fail(QStringLiteral("Lesen"), source, src.db);
        return s.category() == Category::Corrupt ? Status::io(s.message()) : s;
    }
    Q_TRY(openRaw(target, dst, true));
    if (sqlite3_exec(dst.db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("Öffnen"), target, dst.db);
    sqlite3_backup* b = sqlite3_backup_init(dst.db, "main", src.db, "main");
    if (!b) return fail(QStringLiteral("Schreiben"), target, dst.db);
    int rc;
    do {
        rc = sqlite3_backup_step(b, kPagesPerStep);
        if (progress) {
            const int total = sqlite3_backup_pagecount(b);
            progress->step(source, total - sqlite3_backup_remaining(b), total);
        }
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) sqlite3_sleep(50);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) return fail(QStringLiteral("Schreiben"), target, dst.db);
    const char* mode = journal == CopyJournal::Standalone ? "PRAGMA journal_mode=DELETE" : "PRAGMA journal_mode=WAL";
    if (sqlite3_exec(dst.db, mode, nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("Schreiben"), target, dst.db);
    return Status::ok();
}

}  // namespace

Status copyDatabase(const QString& source, const QString& target, CopyJournal journal, Progress* progress) {
    if (!QFileInfo::exists(source)) return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(source));
    Status s = backupInto(source, target, journal, progress);
    if (s || s.category() != Category::Corrupt || !QFileInfo::exists(target)) return s;
    // The target is damaged beyond opening: build the copy beside it, then rename it
    // over the damaged file. The damaged file's -wal and -shm belong to it alone.
    const QString fresh = target + QStringLiteral(".neu");
    QFile::remove(fresh);
    if (Status f = backupInto(source, fresh, journal, progress); !f) {
        QFile::remove(fresh);
        return f;
    }
    QFile::remove(target + QStringLiteral("-wal"));
    QFile::remove(target + QStringLiteral("-shm"));
    if (::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(fresh);
        return Status::io(QStringLiteral("Die Datei %1 kann nicht ersetzt werden").arg(target));
    }
    return Status::ok();
}

}  // namespace q
