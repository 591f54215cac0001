// Reading a user's text file line by line in constant memory, whatever its size:
// the importers run over files of any length, and a file that never ends a line
// must not fill the memory.
#pragma once

#include "base/status.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <optional>

namespace q {

// Reads a text file as decodeText() would decode it: UTF-16 by its byte-order mark
// (the whole file, which is rare), otherwise line by line UTF-8 when a line is
// valid UTF-8 holding more than ASCII, else Windows-1252. CRLF, LF and CR all end a
// line. Used on one thread.
class LineReader {
public:
    // The longest line kept, in bytes; the rest of a longer line is skipped.
    static constexpr qsizetype kLongestLine = 4096;

    // Opens `path`. Fails NotFound naming the file when it does not exist, Invalid
    // "Die Datei … ist keine gewöhnliche Datei" for a directory, a pipe or a device
    // (which might never end), and Io naming the file when it cannot be read.
    Status open(const QString& path);
    // The next line; nullopt at the end of the file or on a read error (error()).
    // `*cut` (when given) tells whether the line was longer than kLongestLine.
    std::optional<QString> next(bool* cut = nullptr);
    // Io naming the file when reading failed; OK otherwise.
    const Status& error() const { return m_error; }
    // Bytes read so far and the file's size, for progress.
    qint64 position() const { return m_consumed; }
    qint64 size() const { return m_size; }

private:
    bool fill();

    QString m_path;
    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    qint64 m_consumed = 0;
    qint64 m_size = 0;
    bool m_eof = false;
    std::optional<QStringList> m_wide;  // a UTF-16 file, decoded whole
    qsizetype m_wideAt = 0;
    Status m_error;
};

}  // namespace q
