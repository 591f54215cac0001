#include "base/text_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace q {

namespace {
// Windows-1252 differs from Latin-1 only in 0x80-0x9F; 0 marks the five unused codes.
const char16_t k1252[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
}  // namespace

QString fromWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0 && k1252[b - 0x80] != 0)
            out += QChar(k1252[b - 0x80]);
        else
            out += QChar(b);
    }
    return out;
}

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += static_cast<char>(u);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (k1252[i] == u && u != 0) mapped = static_cast<char>(0x80 + i);
        out += mapped;
    }
    return out;
}

int unmappableCount(const QStringList& lines) {
    int n = 0;
    for (const QString& line : lines) {
        const QByteArray bytes = toWindows1252(line);
        for (int i = 0; i < line.size(); ++i)
            if (bytes[i] == '?' && line[i] != QLatin1Char('?')) ++n;
    }
    return n;
}

namespace {

Result<QByteArray> readBytes(const QString& path) {
    QFile f(path);
    if (!f.exists()) return Status::notFound(QStringLiteral("Datei %1 nicht gefunden").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        return Status::io(QStringLiteral("Datei %1 kann nicht gelesen werden: %2").arg(path, f.errorString()));
    return f.readAll();
}

// True when the bytes hold at least one multi-byte sequence and nothing that is
// not well-formed UTF-8 (no overlong forms, no surrogates).
bool looksLikeUtf8(const QByteArray& bytes) {
    bool multiByte = false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int follow = 0;
        unsigned int cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if ((follow == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (follow == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        multiByte = true;
        i += follow + 1;
    }
    return multiByte;
}

}  // namespace

QString decodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    // Notepad's "Unicode" and "Unicode big endian".
    if (bytes.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    return looksLikeUtf8(bytes) ? QString::fromUtf8(bytes) : fromWindows1252(bytes);
}

Result<QStringList> readTextLines(const QString& path) {
    auto bytes = readBytes(path);
    if (!bytes) return bytes.status();
    return splitLines(fromWindows1252(*bytes));
}

Result<QStringList> readTextLinesAnyEncoding(const QString& path) {
    auto bytes = readBytes(path);
    if (!bytes) return bytes.status();
    return splitLines(decodeText(*bytes));
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines << text.mid(start);
    return lines;
}

Status writeTextLines(const QString& path, const QStringList& lines) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return Status::io(QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(path, f.errorString()));
    for (const QString& line : lines) {
        f.write(toWindows1252(line));
        f.write("\r\n", 2);
    }
    if (!f.commit())
        return Status::io(QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(path, f.errorString()));
    return Status::ok();
}

QString withSlash(const QString& dir) {
    QString d = dir;
    while (d.endsWith(QLatin1Char('/')) && d.size() > 1) d.chop(1);
    return d.endsWith(QLatin1Char('/')) ? d : d + QLatin1Char('/');
}

QString findFile(const QString& dir, const QString& name) {
    const QString base = withSlash(dir);
    if (QFileInfo::exists(base + name)) return base + name;
    const QDir d(base);
    const QStringList entries = d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return base + e;
    return {};
}

bool fileExists(const QString& dir, const QString& name) { return !findFile(dir, name).isEmpty(); }

QString filePath(const QString& dir, const QString& name) {
    const QString found = findFile(dir, name);
    return found.isEmpty() ? withSlash(dir) + name : found;
}

}  // namespace q
