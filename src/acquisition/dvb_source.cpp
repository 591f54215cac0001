#include "acquisition/dvb_source.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace q {

namespace {

constexpr qint64 kChunk = 188 * 512;
// How long one wait for a live device may block: short enough to report progress
// and notice a cancel.
constexpr int kPollMs = 200;

Status readFile(const QString& path, TeletextCache& cache, Progress& progress) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return Status::io(QStringLiteral("Der Datenstrom %1 kann nicht gelesen werden: %2").arg(path, f.errorString()));
    const qint64 total = f.size();
    QByteArray chunk(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 n = f.read(chunk.data(), kChunk);
        if (n < 0) return Status::io(QStringLiteral("Der Datenstrom %1 kann nicht gelesen werden: %2").arg(path, f.errorString()));
        if (n == 0) break;
        cache.feed(chunk.constData(), n);
        progress.step(QStringLiteral("Lese Videotext aus %1").arg(path), cache.bytes(), total);
        if (progress.cancelRequested()) break;
    }
    return Status::ok();
}

// A device or pipe delivers for as long as it is open; it is read for `seconds`.
Status readLive(const QString& path, int seconds, TeletextCache& cache, Progress& progress) {
    const bool stdinput = path == QLatin1String("-");
    const int fd = stdinput ? 0 : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return Status::io(QStringLiteral("Der Datenstrom %1 kann nicht geöffnet werden: %2").arg(path, QString::fromLocal8Bit(strerror(errno))));
    QByteArray chunk(kChunk, Qt::Uninitialized);
    QElapsedTimer clock;
    clock.start();
    Status result;
    const qint64 limitMs = qint64(std::max(1, seconds)) * 1000;
    while (clock.elapsed() < limitMs && !progress.cancelRequested()) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, kPollMs);
        progress.step(QStringLiteral("Lese Videotext aus %1").arg(path), clock.elapsed() / 1000, seconds);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) {
            result = Status::io(QStringLiteral("Der Datenstrom %1 kann nicht gelesen werden: %2").arg(path, QString::fromLocal8Bit(strerror(errno))));
            break;
        }
        if (ready == 0) continue;
        const ssize_t n = ::read(fd, chunk.data(), size_t(kChunk));
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        // A DVR reports an overflow once when the reader was too slow; reading on is right.
        if (n < 0 && errno == EOVERFLOW) continue;
        if (n < 0) {
            result = Status::io(QStringLiteral("Der Datenstrom %1 kann nicht gelesen werden: %2").arg(path, QString::fromLocal8Bit(strerror(errno))));
            break;
        }
        if (n == 0) break;  // the writer closed the pipe
        cache.feed(chunk.constData(), n);
    }
    if (!stdinput) ::close(fd);
    return result;
}

}  // namespace

Result<std::unique_ptr<TeletextCache>> readTransportStream(const QString& source, int seconds, Progress& progress) {
    auto cache = std::make_unique<TeletextCache>(source);
    const QFileInfo info(source);
    if (source != QLatin1String("-") && !info.exists())
        return Status::notFound(QStringLiteral("Der Datenstrom %1 existiert nicht").arg(source));
    Q_TRY(source != QLatin1String("-") && info.isFile() ? readFile(source, *cache, progress) : readLive(source, seconds, *cache, progress));
    cache->finish();
    if (cache->bytes() == 0) return Status::invalid(QStringLiteral("Der Datenstrom %1 ist leer").arg(source));
    if (cache->streams().empty()) return Status::notFound(QStringLiteral("Der Datenstrom %1 enthält keinen Videotext").arg(source));
    return cache;
}

Result<std::optional<QString>> DvbPageSource::fetch(const PageRequest& request) {
    auto pid = m_cache->streamFor(request.station, m_pid);
    if (!pid) return pid.status();
    const auto page = teletextPageNumber(request.page);
    if (!page || request.subpage < 0) return std::optional<QString>();
    const std::vector<int> subpages = m_cache->subpages(*pid, *page);
    if (request.subpage >= int(subpages.size())) return std::optional<QString>();
    const auto rows = m_cache->page(*pid, *page, subpages[size_t(request.subpage)]);
    if (!rows) return std::optional<QString>();
    return std::optional<QString>(rows->join(QLatin1Char('\n')));
}

}  // namespace q
