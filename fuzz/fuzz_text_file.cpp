// Fuzz target: the text-file reader. Any bytes decode; lines never hold a line end;
// Windows-1252 reads every byte as one character and writes it back as that byte
// (the five codes it leaves unused come back as "?"); lines written as a file read
// back as written.
#include "base/text_files.h"

#include <QDir>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace {

// Memory rather than disk: every run writes and flushes a file.
QString scratchDir() { return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = q::splitLines(q::decodeText(bytes));
    for (const QString& line : lines)
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) __builtin_trap();

    const QString latin = q::fromWindows1252(bytes);
    if (latin.size() != bytes.size()) __builtin_trap();
    const QByteArray back = q::toWindows1252(latin);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool unused = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        if (back[i] != (unused ? '?' : bytes[i])) __builtin_trap();
    }

    static const QString path = scratchDir() + QStringLiteral("/quintara-fuzz-text-%1.txt").arg(::getpid());
    const QStringList written = q::splitLines(latin);
    if (!q::writeTextLines(path, written)) return 0;
    auto read = q::readTextLines(path);
    if (!read) __builtin_trap();
    QStringList expected;
    for (const QString& line : written) expected << q::fromWindows1252(q::toWindows1252(line));
    if (*read != expected) __builtin_trap();
    return 0;
}
