#include "store/data_lock.h"

#include "base/text_files.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace q {

namespace {

// Tries the lock until `waitMs` have passed; true when it was taken.
bool take(int fd, LockMode mode, const QString& dir, int waitMs, const DataLock::Waiting& waiting) {
    const int op = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    if (::flock(fd, op) == 0) return true;
    if (waiting)
        waiting(QStringLiteral("Das Datenverzeichnis %1 wird von einem anderen Auftrag benutzt; es wird bis zu %2 s gewartet")
                    .arg(dir)
                    .arg(waitMs / 1000));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < waitMs) {
        QThread::msleep(50);
        if (::flock(fd, op) == 0) return true;
    }
    return false;
}

Status busy(const QString& dir) {
    return Status::busy(QStringLiteral("Das Datenverzeichnis %1 ist von einem anderen Auftrag belegt").arg(dir));
}

}  // namespace

Result<std::unique_ptr<DataLock>> DataLock::acquire(const QString& dir, LockMode mode, int waitMs, const Waiting& waiting) {
    const QString path = withSlash(dir) + kLockFile;
    // O_NOFOLLOW: the lock file is never a link to somewhere else.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return Status::io(QStringLiteral("Die Sperrdatei %1 kann nicht angelegt werden: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    if (!take(fd, mode, dir, waitMs, waiting)) {
        ::close(fd);
        return busy(dir);
    }
    return std::unique_ptr<DataLock>(new DataLock(dir, fd, mode));
}

DataLock::~DataLock() {
    if (m_fd >= 0) ::close(m_fd);
}

Status DataLock::makeExclusive(int waitMs, const Waiting& waiting) {
    if (m_mode == LockMode::Exclusive) return Status::ok();
    (void)::flock(m_fd, LOCK_UN);
    if (!take(m_fd, LockMode::Exclusive, m_dir, waitMs, waiting)) {
        // Back to what the job had, so that it may go on reading.
        (void)::flock(m_fd, LOCK_SH);
        return busy(m_dir);
    }
    m_mode = LockMode::Exclusive;
    return Status::ok();
}

}  // namespace q
