#include "base/line_reader.h"

#include "base/text_files.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace q {

namespace {

constexpr qint64 kChunk = 64 * 1024;

bool ascii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

QString decoded(QByteArrayView line) { return ascii(line) ? QString::fromLatin1(line) : decodeText(line.toByteArray()); }

}  // namespace

Status LineReader::open(const QString& path) {
    m_path = path;
    struct stat info {};
    // stat() before open(): opening a pipe for reading waits for a writer.
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        if (errno == ENOENT) return Status::notFound(QStringLiteral("Datei %1 nicht gefunden").arg(path));
        return Status::io(QStringLiteral("Datei %1 kann nicht gelesen werden: %2").arg(path, QString::fromLocal8Bit(strerror(errno))));
    }
    if (!S_ISREG(info.st_mode)) return Status::invalid(QStringLiteral("Die Datei %1 ist keine gewöhnliche Datei").arg(path));
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return Status::io(QStringLiteral("Datei %1 kann nicht gelesen werden: %2").arg(path, m_file.errorString()));
    m_size = m_file.size();
    if (!fill()) return m_error;
    if (m_buffer.startsWith("\xFF\xFE") || m_buffer.startsWith("\xFE\xFF")) {
        // Notepad's "Unicode": the lines are found only after decoding.
        QByteArray all = m_buffer + m_file.readAll();
        m_wide = splitLines(decodeText(all));
        m_buffer.clear();
    } else if (m_buffer.startsWith("\xEF\xBB\xBF")) {
        m_at = 3;
    }
    return Status::ok();
}

bool LineReader::fill() {
    if (m_eof) return false;
    if (m_at > 0) {
        m_buffer.remove(0, m_at);
        m_at = 0;
    }
    const QByteArray more = m_file.read(kChunk);
    if (more.isEmpty()) {
        if (m_file.error() != QFileDevice::NoError)
            m_error = Status::io(QStringLiteral("Datei %1 kann nicht gelesen werden: %2").arg(m_path, m_file.errorString()));
        m_eof = true;
        return !m_buffer.isEmpty();
    }
    m_buffer += more;
    return true;
}

std::optional<QString> LineReader::next(bool* cut) {
    if (cut) *cut = false;
    if (m_wide) {
        if (m_wideAt >= m_wide->size()) return std::nullopt;
        return (*m_wide)[m_wideAt++];
    }
    QByteArray line;
    std::optional<QString> direct;
    bool longer = false;
    for (;;) {
        if (m_at >= m_buffer.size() && !fill()) {
            // The last line has no line end.
            if (line.isEmpty() && !longer) return std::nullopt;
            break;
        }
        if (m_at >= m_buffer.size()) {
            if (m_eof) break;
            continue;
        }
        const char* begin = m_buffer.constData() + m_at;
        const qsizetype left = m_buffer.size() - m_at;
        qsizetype end = 0;
        while (end < left && begin[end] != '\n' && begin[end] != '\r') ++end;
        const qsizetype keep = std::min(end, kLongestLine - line.size());
        if (keep < end) longer = true;
        // Nearly every line lies whole in the chunk: it is decoded straight from
        // there (before a fill below may move the buffer).
        if (line.isEmpty() && end < left) direct = decoded(QByteArrayView(begin, keep));
        else if (keep > 0) line.append(begin, keep);
        m_at += end;
        m_consumed += end;
        if (end == left) continue;  // the line goes on in the next chunk
        const char stop = m_buffer[m_at];
        ++m_at;
        ++m_consumed;
        if (stop == '\r') {
            // CRLF is one line end, also across two chunks.
            if (m_at >= m_buffer.size()) fill();
            if (m_at < m_buffer.size() && m_buffer[m_at] == '\n') {
                ++m_at;
                ++m_consumed;
            }
        }
        break;
    }
    if (cut) *cut = longer;
    if (direct) return direct;
    return decoded(line);
}

}  // namespace q
