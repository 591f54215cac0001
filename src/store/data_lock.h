// The lock of a data directory between the program's own processes: jobs that
// write rows share it, jobs that replace whole tables (restore, the repair of
// check, the change of the data directory) hold it alone, so that no import runs
// into a restore and no restore replaces tables under an import. flock(2) on the
// file kLockFile in the directory: the kernel releases it when the process ends,
// also when it is killed, so a lock never outlives its job.
#pragma once

#include "base/status.h"

#include <QString>
#include <functional>
#include <memory>

namespace q {

inline const QString kLockFile = QStringLiteral("Quintara.lock");

enum class LockMode { Shared, Exclusive };

// Held for the life of the object; not copied. Used on one thread.
class DataLock {
public:
    using Waiting = std::function<void(const QString& message)>;

    // Takes the lock of `dir` in `mode`. When another job holds it, calls `waiting`
    // once with "Das Datenverzeichnis … wird von einem anderen Auftrag benutzt; es
    // wird bis zu … s gewartet", and tries again until `waitMs` have passed; then fails
    // Busy "Das Datenverzeichnis … ist von einem anderen Auftrag belegt". Fails Io naming
    // the lock file when it cannot be made.
    static Result<std::unique_ptr<DataLock>> acquire(const QString& dir, LockMode mode, int waitMs, const Waiting& waiting);
    // The exclusive lock of the file `file` itself, for a job that reads it through
    // (two imports of one file run one after the other). Waits as acquire(), saying
    // "Die Datei … wird von einem anderen Auftrag eingelesen; es wird bis zu … s
    // gewartet", and fails Busy "Die Datei … wird von einem anderen Auftrag
    // eingelesen"; NotFound or Io naming the file when it cannot be opened.
    static Result<std::unique_ptr<DataLock>> onFile(const QString& file, int waitMs, const Waiting& waiting);
    ~DataLock();
    DataLock(const DataLock&) = delete;
    DataLock& operator=(const DataLock&) = delete;

    LockMode mode() const { return m_mode; }
    const QString& dir() const { return m_dir; }
    // Changes to the exclusive lock, waiting as acquire() does. While it waits the
    // shared lock is given up (flock cannot change it in place), so that two jobs
    // wanting to change never wait for each other for ever.
    Status makeExclusive(int waitMs, const Waiting& waiting);
    // Back to the shared lock, at once (flock changes this way in place).
    void makeShared();

private:
    DataLock(QString dir, int fd, LockMode mode) : m_dir(std::move(dir)), m_fd(fd), m_mode(mode) {}
    QString m_dir;
    int m_fd = -1;
    LockMode m_mode;
};

// How long a job waits for the lock unless told otherwise: long enough for a
// running import to end, short enough that a cron job does not hang.
inline constexpr int kDataLockWaitMs = 120 * 1000;

}  // namespace q
