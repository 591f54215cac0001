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

QString waitText(const QString& dir, int waitMs) {
    return QStringLiteral("Das Datenverzeichnis %1 wird von einem anderen Auftrag benutzt; es wird bis zu %2 s gewartet").arg(dir).arg(waitMs / 1000);
}

// Tries the lock until `waitMs` have passed, telling `waiting` the text `message`
// first; true when it was taken.
bool take(int fd, LockMode mode, const QString& message, const DataLock::Waiting& waiting, int waitMs) {
    const int op = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    if (::flock(fd, op) == 0) return true;
    // A file system without locks (some network shares): taken as granted, as the
    // server's own locks of the table files still hold.
    if (errno != EWOULDBLOCK) return true;
    if (waiting) waiting(message);
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
    if (!take(fd, mode, waitText(dir, waitMs), waiting, waitMs)) {
        ::close(fd);
        return busy(dir);
    }
    return std::unique_ptr<DataLock>(new DataLock(dir, fd, mode));
}

Result<std::unique_ptr<DataLock>> DataLock::onFile(const QString& file, int waitMs, const Waiting& waiting) {
    // O_NONBLOCK: opening a pipe would wait for a writer; the reader refuses it later.
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return Status::notFound(QStringLiteral("Datei %1 nicht gefunden").arg(file));
        return Status::io(QStringLiteral("Datei %1 kann nicht gelesen werden: %2").arg(file, QString::fromLocal8Bit(std::strerror(errno))));
    }
    const QString message =
        QStringLiteral("Die Datei %1 wird von einem anderen Auftrag eingelesen; es wird bis zu %2 s gewartet").arg(file).arg(waitMs / 1000);
    if (!take(fd, LockMode::Exclusive, message, waiting, waitMs)) {
        ::close(fd);
        return Status::busy(QStringLiteral("Die Datei %1 wird von einem anderen Auftrag eingelesen").arg(file));
    }
    return std::unique_ptr<DataLock>(new DataLock(file, fd, LockMode::Exclusive));
}

DataLock::~DataLock() {
    if (m_fd >= 0) ::close(m_fd);
}

void DataLock::makeShared() {
    if (m_mode == LockMode::Shared) return;
    (void)::flock(m_fd, LOCK_SH);
    m_mode = LockMode::Shared;
}

Status DataLock::makeExclusive(int waitMs, const Waiting& waiting) {
    if (m_mode == LockMode::Exclusive) return Status::ok();
    (void)::flock(m_fd, LOCK_UN);
    if (!take(m_fd, LockMode::Exclusive, waitText(m_dir, waitMs), waiting, waitMs)) {
        // Back to what the job had, so that it may go on reading.
        (void)::flock(m_fd, LOCK_SH);
        return busy(m_dir);
    }
    m_mode = LockMode::Exclusive;
    return Status::ok();
}

}  // namespace q
