#include "store/table_copy.h"

#include "store/database.h"
#include "store/file_system.h"
#include "store/raw_connection.h"
#include "store/table_health.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace q {

namespace {

// One megabyte per step at the usual page size: progress moves, and a cancel is
// answered within a step.
constexpr int kPagesPerStep = 256;

struct BackupHandle {
    sqlite3_backup* b = nullptr;
    ~BackupHandle() {
        if (b) sqlite3_backup_finish(b);
    }
};

// Runs the online backup from `src` to `dst`, reporting `what` by pages.
Status runBackup(RawConnection& src, RawConnection& dst, const QString& what, Progress* progress) {
    BackupHandle h;
    h.b = sqlite3_backup_init(dst.handle(), "main", src.handle(), "main");
    if (!h.b) return dst.error(QStringLiteral("Schreiben"));
    int rc;
    do {
        if (progress && progress->cancelRequested()) return Status::cancelled();
        rc = sqlite3_backup_step(h.b, kPagesPerStep);
        if (progress) {
            const int total = sqlite3_backup_pagecount(h.b);
            progress->step(what, total - sqlite3_backup_remaining(h.b), total);
        }
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) sqlite3_sleep(50);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    const int finished = sqlite3_backup_finish(h.b);
    h.b = nullptr;
    if (rc != SQLITE_DONE || finished != SQLITE_OK) {
        // The error of a failed step lies with the connection that failed.
        const int srcCode = sqlite3_errcode(src.handle()) & 0xff;
        return srcCode == SQLITE_CORRUPT || srcCode == SQLITE_NOTADB ? src.error(QStringLiteral("Lesen"))
                                                                       : dst.error(QStringLiteral("Schreiben"));
    }
    return Status::ok();
}

Status copyFromSnapshot(const QString& source, const QString& fresh, Progress* progress) {
    RawConnection src;
    Q_TRY(src.open(source));
    // One read transaction for the whole copy: the backup reads every page from
    // this snapshot, where a copy outside it restarts on each commit of another
    // connection and may never end while a writer is busy.
    Q_TRY(src.exec("BEGIN"));
    Q_TRY(src.exec("SELECT count(*) FROM sqlite_master"));
    RawConnection dst;
    Q_TRY(dst.open(fresh, RawConnection::Mode::Create));
    Q_TRY(runBackup(src, dst, source, progress));
    (void)src.exec("COMMIT");
    // A copy is one self-contained file: no -wal beside it to lose.
    return dst.exec("PRAGMA journal_mode=DELETE");
}

Status copyIntoLive(const QString& copy, const QString& live, Progress* progress) {
    RawConnection src;
    Q_TRY(src.open(copy));
    Q_TRY(src.exec("SELECT count(*) FROM sqlite_master"));
    RawConnection dst;
    Q_TRY(dst.open(live, RawConnection::Mode::Create));
    Q_TRY(dst.exec("SELECT count(*) FROM sqlite_master"));
    Q_TRY(runBackup(src, dst, copy, progress));
    return dst.exec(QStringLiteral("PRAGMA journal_mode=%1").arg(journalModeFor(live)).toUtf8().constData());
}

}  // namespace

Status makeSafetyCopy(const QString& source, const QString& target, const Layout& layout, const QStringList& mayLack,
                      Progress* progress) {
    if (!QFileInfo::exists(source)) return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(source));
    const QString fresh = target + QStringLiteral(".neu");
    removeWithJournal(fresh);
    Status s = copyFromSnapshot(source, fresh, progress);
    // Every page is read: what a failing disk or a torn write leaves shows there.
    if (s) s = fullCheck(fresh, layout, mayLack, CheckDepth::Pages);
    if (s) s = replaceFile(fresh, target);
    if (!s) {
        removeWithJournal(fresh);
        // The check names the copy; the damage lies in the table it was taken from.
        if (s.category() == Category::Corrupt) return Status::corrupt(QString(s.message()).replace(fresh, source));
    }
    return s;
}

Status putCopyBack(const QString& copy, const QString& live, Progress* progress) {
    if (!QFileInfo::exists(copy)) return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(copy));
    Status s = copyIntoLive(copy, live, progress);
    if (s || s.category() != Category::Corrupt || !QFileInfo::exists(live)) return s;
    // The live file is damaged beyond opening: build the table beside it, then rename
    // it over the damaged file. The damaged file's -wal and -shm belong to it alone.
    const QString fresh = live + QStringLiteral(".neu");
    removeWithJournal(fresh);
    if (Status f = copyIntoLive(copy, fresh, progress); !f) {
        removeWithJournal(fresh);
        return f;
    }
    QFile::remove(live + QStringLiteral("-wal"));
    QFile::remove(live + QStringLiteral("-shm"));
    if (Status r = replaceFile(fresh, live); !r) {
        removeWithJournal(fresh);
        return r;
    }
    return Status::ok();
}

}  // namespace q
