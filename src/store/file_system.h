// What the tables need of the file system beyond reading and writing: whether a
// directory lies on a network file system (where SQLite's WAL mode cannot be
// shared between computers), files made durable and renamed into place, and a lock
// on a directory that serialises jobs working on the same copies.
#pragma once

#include "base/status.h"

#include <QString>
#include <memory>
#include <optional>

namespace q {

// The kind of network file system `dir` (or its nearest existing parent) lies on:
// "nfs", "cifs", "smb2", "fuse.sshfs", …; nullopt for a local one. Cached per
// directory for the life of the process.
std::optional<QString> networkFileSystem(const QString& dir);
// Tests: treats `dir` and everything below it as lying on the network file system
// `kind` (an empty `dir` ends every such override).
void pretendNetworkFileSystem(const QString& dir, const QString& kind);

// The failure of a write that found the disk full (SQLITE_FULL, ENOSPC): Io "Der
// Datenträger ist voll: im Verzeichnis … sind noch … frei", naming the directory
// of `path` (a file or directory) and the space left. A full disk damages nothing,
// so it never offers the restore; isDiskFull() tells it apart.
Status diskFull(const QString& path);
bool isDiskFull(const Status& status);
// True when the file system of `path` has less than kLeastRoom left: an I/O error
// there is a full disk, whatever code the failing call gave (SQLite's shared
// memory file reports it as a plain I/O error).
inline constexpr qint64 kLeastRoom = 1024 * 1024;
bool roomRunsOut(const QString& path);

// Flushes the file's content to the disk. Fails Io naming the file.
Status syncFile(const QString& path);
// Renames `from` over `to` after flushing `from`, then flushes the directory, so
// that after a crash `to` is either the old or the whole new file. Fails Io naming
// both files; `from` stays then.
Status replaceFile(const QString& from, const QString& to);
// Gives the complete file `from` the name `to` unless `to` exists (another process
// was faster): returns false then and removes `from`. Fails Io naming the files.
Result<bool> publishFile(const QString& from, const QString& to);
// Removes a table file a job built and gave up, with its journal, log and shared memory.
void removeWithJournal(const QString& path);

// An advisory lock on a directory, held until destroyed: exclusive for a job that
// writes copies there, shared for one that reads them. Waits for another process's
// lock up to the store's busy timeout. Where the file system offers no locks (some
// network shares) the lock is taken as granted.
class DirectoryLock {
public:
    enum class Kind { Shared, Exclusive };
    // Fails Busy with `busyMessage` when the wait runs out, Io when the directory
    // cannot be opened.
    static Result<std::unique_ptr<DirectoryLock>> acquire(const QString& dir, Kind kind, const QString& busyMessage);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

private:
    explicit DirectoryLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

}  // namespace q
