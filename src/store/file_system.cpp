#include "store/file_system.h"

#include "base/text_files.h"
#include "store/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace q {

namespace {

QMutex g_mutex;
QHash<QString, std::optional<QString>> g_cache;  // directory -> network kind
QString g_pretendDir;
QString g_pretendKind;

// The nearest existing directory at or above `dir`, canonical.
QString existingDir(const QString& dir) {
    QString d = QDir::cleanPath(QDir(dir).absolutePath());
    while (!QFileInfo(d).isDir() && d != QLatin1String("/")) d = QFileInfo(d).absolutePath();
    const QString canonical = QFileInfo(d).canonicalFilePath();
    return canonical.isEmpty() ? d : canonical;
}

// FUSE carries local file systems too (NTFS, archives): the mount table names the
// ones that reach another computer.
std::optional<QString> fuseKind(const QString& dir) {
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (!mounts.open(QIODevice::ReadOnly)) return std::nullopt;
    QString best;
    QString bestType;
    const QList<QByteArray> lines = mounts.readAll().split('\n');
    for (const QByteArray& line : lines) {
        // "36 35 98:0 /root /mnt/point rw,noatime master:1 - fuse.sshfs host:/ rw"
        const QList<QByteArray> fields = line.split(' ');
        const int dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size()) continue;
        QString point = QString::fromUtf8(fields[4]);
        point.replace(QStringLiteral("\\040"), QStringLiteral(" "));
        const bool inside = dir == point || dir.startsWith(point == QLatin1String("/") ? point : point + QLatin1Char('/'));
        if (inside && point.size() >= best.size()) {
            best = point;
            bestType = QString::fromUtf8(fields[dash + 1]);
        }
    }
    static const QStringList remote = {QStringLiteral("fuse.sshfs"),    QStringLiteral("fuse.rclone"),
                                       QStringLiteral("fuse.s3fs"),     QStringLiteral("fuse.curlftpfs"),
                                       QStringLiteral("fuse.glusterfs"), QStringLiteral("fuse.gvfsd-fuse"),
                                       QStringLiteral("fuse.davfs"),    QStringLiteral("fuse.smbnetfs")};
    if (remote.contains(bestType)) return bestType;
    return std::nullopt;
}

std::optional<QString> detect(const QString& dir) {
    struct statfs s {};
    if (::statfs(QFile::encodeName(dir).constData(), &s) != 0) return std::nullopt;
    switch (static_cast<unsigned long>(s.f_type)) {
    case NFS_SUPER_MAGIC: return QStringLiteral("nfs");
    case SMB_SUPER_MAGIC: return QStringLiteral("smb");
    case CIFS_SUPER_MAGIC: return QStringLiteral("cifs");
    case SMB2_SUPER_MAGIC: return QStringLiteral("smb2");
    case AFS_SUPER_MAGIC:
    case AFS_FS_MAGIC: return QStringLiteral("afs");
    case CODA_SUPER_MAGIC: return QStringLiteral("coda");
    case NCP_SUPER_MAGIC: return QStringLiteral("ncp");
    case CEPH_SUPER_MAGIC: return QStringLiteral("ceph");
    case V9FS_MAGIC: return QStringLiteral("9p");
    case FUSE_SUPER_MAGIC: return fuseKind(dir);
    default: return std::nullopt;
    }
}

Status syncPath(const QString& path, bool directory) {
    const int fd = ::open(QFile::encodeName(path).constData(), directory ? (O_RDONLY | O_DIRECTORY) : O_RDONLY);
    if (fd < 0) return Status::io(QStringLiteral("Die Datei %1 kann nicht geöffnet werden").arg(path));
    const int rc = ::fsync(fd);
    ::close(fd);
    // A directory on some network shares cannot be flushed; its rename is then the
    // server's business.
    if (rc != 0 && !(directory && (errno == EINVAL || errno == EBADF)))
        return Status::io(QStringLiteral("Die Datei %1 kann nicht auf die Platte geschrieben werden (%2)")
                              .arg(path, QString::fromLocal8Bit(strerror(errno))));
    return Status::ok();
}

}  // namespace

std::optional<QString> networkFileSystem(const QString& dir) {
    const QString d = existingDir(dir);
    QMutexLocker lock(&g_mutex);
    if (!g_pretendDir.isEmpty() && (d == g_pretendDir || d.startsWith(g_pretendDir + QLatin1Char('/')))) return g_pretendKind;
    if (auto it = g_cache.constFind(d); it != g_cache.cend()) return *it;
    const std::optional<QString> kind = detect(d);
    g_cache.insert(d, kind);
    return kind;
}

void pretendNetworkFileSystem(const QString& dir, const QString& kind) {
    QMutexLocker lock(&g_mutex);
    g_pretendDir = dir.isEmpty() ? QString() : QDir::cleanPath(QDir(dir).absolutePath());
    if (!g_pretendDir.isEmpty()) g_pretendDir = QFileInfo(g_pretendDir).canonicalFilePath();
    g_pretendKind = kind;
}

Status syncFile(const QString& path) { return syncPath(path, false); }

Status replaceFile(const QString& from, const QString& to) {
    Q_TRY(syncFile(from));
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return Status::io(QStringLiteral("Die Datei %1 kann nicht durch %2 ersetzt werden (%3)")
                              .arg(to, from, QString::fromLocal8Bit(strerror(errno))));
    return syncPath(QFileInfo(to).absolutePath(), true);
}

Result<bool> publishFile(const QString& from, const QString& to) {
    Q_TRY(syncFile(from));
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    // A hard link fails when the name is taken, which no check-then-rename can do
    // without a race. Shares without hard links get the rename, which the check
    // before narrows to a moment.
    int rc = ::link(f.constData(), t.constData());
    if (rc != 0 && errno != EEXIST) {
        if (QFileInfo::exists(to)) {
            errno = EEXIST;
        } else {
            rc = ::rename(f.constData(), t.constData());
            if (rc == 0) {
                (void)syncPath(QFileInfo(to).absolutePath(), true);
                return true;
            }
        }
    }
    const int error = errno;
    ::unlink(f.constData());
    if (rc == 0) {
        (void)syncPath(QFileInfo(to).absolutePath(), true);
        return true;
    }
    if (error == EEXIST) return false;
    return Status::io(QStringLiteral("Die Datei %1 kann nicht angelegt werden (%2)").arg(to, QString::fromLocal8Bit(strerror(error))));
}

namespace {

const QString kDiskFull = QStringLiteral("Der Datenträger ist voll: ");

QString byteText(qint64 bytes) {
    if (bytes < 1024) return QStringLiteral("%1 Bytes").arg(bytes);
    if (bytes < 1024 * 1024) return QStringLiteral("%1 KB").arg(QString::number(bytes / 1024.0, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')));
    return QStringLiteral("%1 MB").arg(QString::number(bytes / (1024.0 * 1024.0), 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')));
}

QString dirOf(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() ? withSlash(info.absoluteFilePath()) : withSlash(info.absolutePath());
}

// The room left for this user in `dir`; -1 when unknown.
qint64 roomIn(const QString& dir) {
    struct statvfs fs {};
    return ::statvfs(QFile::encodeName(dir).constData(), &fs) == 0 ? qint64(fs.f_bavail) * qint64(fs.f_frsize) : -1;
}

}  // namespace

Status diskFull(const QString& path) {
    const QString dir = dirOf(path);
    return Status::io(kDiskFull + QStringLiteral("im Verzeichnis %1 sind noch %2 frei").arg(dir, byteText(std::max<qint64>(0, roomIn(dir)))));
}

bool roomRunsOut(const QString& path) {
    const qint64 room = roomIn(dirOf(path));
    return room >= 0 && room < kLeastRoom;
}

bool isDiskFull(const Status& status) { return status.category() == Category::Io && status.message().startsWith(kDiskFull); }

Result<std::unique_ptr<DirectoryLock>> DirectoryLock::acquire(const QString& dir, Kind kind, const QString& busyMessage) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht geöffnet werden (%2)")
                              .arg(dir, QString::fromLocal8Bit(strerror(errno))));
    std::unique_ptr<DirectoryLock> lock(new DirectoryLock(fd));
    const int operation = (kind == Kind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (int waited = 0;; waited += 20) {
        if (::flock(fd, operation) == 0) return lock;
        if (errno != EWOULDBLOCK) return lock;  // no locks on this file system
        if (waited >= busyTimeout()) return Status::busy(busyMessage);
        QThread::msleep(20);
    }
}

DirectoryLock::~DirectoryLock() {
    if (m_fd >= 0) ::close(m_fd);
}

void removeWithJournal(const QString& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) QFile::remove(path + QString::fromLatin1(suffix));
}

}  // namespace q
