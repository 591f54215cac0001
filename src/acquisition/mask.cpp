#include "acquisition/mask.h"

#include "base/text_files.h"

#include <QRegularExpression>

#include <algorithm>

namespace q {

namespace {

constexpr int kRowWidth = 40;

std::optional<QString> directive(const QString& line, const char* name) {
    const QRegularExpression re(QLatin1String(name) + QStringLiteral("=\"([^\"]*)\""), QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(line);
    if (!m.hasMatch()) return std::nullopt;
    return m.captured(1);
}

// Digits, "," "-" "." "/" and ":": what a price, a change or a time is made of.
bool isNumberChar(QChar c) { return c >= QLatin1Char(',') && c <= QLatin1Char(':'); }

QChar national(QChar c) {
    switch (c.unicode()) {
    case '{': return QChar(0xE4);  // ä
    case '}': return QChar(0xFC);  // ü
    case '|': return QChar(0xF6);  // ö
    case '~': return QChar(0xDF);  // ß
    default: return c;
    }
}

void copyInside(QStringList& lines, const MaskFile::Copy& copy) {
    if (copy.count <= 0 || copy.from < 0 || copy.to < 0) return;
    // A copy longer than the page it can touch is cut: no page has more than a few
    // thousand characters, and a wild count must not make the loop run for ages.
    const qint64 limit = qint64(kPageLineLength) * kRowWidth;
    const qint64 count = std::min<qint64>(copy.count, limit);
    const QStringList before = lines;
    const auto at = [](const QStringList& l, qint64 p) -> QChar {
        const qint64 row = p / kRowWidth;
        const qint64 col = p % kRowWidth;
        if (row >= l.size() || col >= l[row].size()) return QLatin1Char(' ');
        return l[row][col];
    };
    for (qint64 i = 0; i < count; ++i) {
        const qint64 src = qint64(copy.from) + i;
        const qint64 dst = qint64(copy.to) + i;
        const qint64 row = dst / kRowWidth;
        const qint64 col = dst % kRowWidth;
        if (row >= kPageLineLength) break;
        while (lines.size() <= row) lines << QString();
        QString& line = lines[row];
        if (line.size() <= col) line = line.leftJustified(col + 1, QLatin1Char(' '));
        line[col] = at(before, src);
    }
}

QString rewrite(QString line, const MaskFile& mask) {
    for (QChar& c : line) c = national(c);
    for (int i = 0; i < line.size(); ++i) {
        const bool digitFollows = i + 1 < line.size() && line[i + 1].isDigit();
        const QChar c = line[i];
        switch (mask.dec) {
        case 1: if (c == QLatin1Char(',') && digitFollows) line[i] = QLatin1Char('.'); break;
        case 2: if (c == QLatin1Char('.') && digitFollows) line[i] = QLatin1Char(','); break;
        case 3: if (c == QLatin1Char(',')) line[i] = QLatin1Char('.'); break;
        case 4: if (c == QLatin1Char('.')) line[i] = QLatin1Char(','); break;
        default: break;
        }
    }
    if (mask.fill) {
        const QChar f = *mask.fill;
        for (int i = 0; i + 1 < line.size(); ++i)
            if (line[i] == f && (line[i + 1] == f || line[i + 1] == QLatin1Char(' '))) line[i] = QLatin1Char(' ');
    }
    return line;
}

// Inserts `mark` before the trailing run of number characters of `out`, when that
// run starts after the second character.
void splitNumber(QString& out, QChar mark) {
    int start = out.size();
    while (start > 0 && isNumberChar(out[start - 1])) --start;
    if (start >= 2) out.insert(start, mark);
}

std::optional<QString> maskLine(const QString& line, const QString& mask, QChar separator) {
    QString out;
    const int columns = std::min<int>(kMaskColumns, std::max(line.size(), mask.size()));
    for (int col = 0; col < columns; ++col) {
        const QChar m = col < mask.size() ? mask[col] : QChar();
        const bool onPage = col < line.size();
        if (m == QLatin1Char('$')) {
            if (!onPage || line[col] == QLatin1Char(' ')) return std::nullopt;
            out += line[col];
            continue;
        }
        if (!onPage) continue;
        if (m == QLatin1Char('#')) continue;
        out += line[col];
        if (m == QLatin1Char('|')) splitNumber(out, separator);
        else if (m == QLatin1Char('<')) splitNumber(out, QLatin1Char(' '));
    }
    return out;
}

}  // namespace

MaskFile parseMaskFile(const QStringList& lines) {
    MaskFile mask;
    const QString head = lines.value(0);
    if (const auto copy = directive(head, "copy")) {
        const QStringList parts = copy->split(QLatin1Char('/'));
        bool ok[3] = {false, false, false};
        if (parts.size() == 3) {
            MaskFile::Copy c{parts[0].trimmed().toInt(&ok[0]), parts[1].trimmed().toInt(&ok[1]), parts[2].trimmed().toInt(&ok[2])};
            if (ok[0] && ok[1] && ok[2]) mask.copy = c;
        }
    }
    if (const auto dec = directive(head, "dec")) {
        bool ok = false;
        const int m = dec->trimmed().toInt(&ok);
        if (ok && m >= 1 && m <= 4) mask.dec = m;
    }
    if (const auto fill = directive(head, "fill"); fill && !fill->isEmpty()) mask.fill = fill->at(0);
    for (int i = 1; i < lines.size(); ++i) mask.masks << lines[i].left(kPageLineLength);
    return mask;
}

Result<MaskFile> readMaskFile(const QString& path) {
    auto lines = readTextLinesAnyEncoding(path);
    if (!lines) return lines.status();
    return parseMaskFile(*lines);
}

QStringList pageLines(const QString& pageText) {
    QStringList lines = splitLines(pageText);
    for (QString& l : lines) l.truncate(kPageLineLength);
    return lines;
}

QStringList applyMask(const QStringList& page, const MaskFile* mask, QChar separator) {
    static const MaskFile none;
    const MaskFile& m = mask ? *mask : none;
    QStringList lines = page;
    if (m.copy) copyInside(lines, *m.copy);
    QStringList out;
    for (int k = 0; k < lines.size(); ++k) {
        const QString line = rewrite(lines[k].left(kMaskColumns), m);
        auto masked = maskLine(line, m.masks.value(k), separator);
        if (!masked) continue;
        while (!masked->isEmpty() && masked->back() == QLatin1Char(' ')) masked->chop(1);
        // A "|" under a blank row leaves nothing but the separator: no line either.
        const bool nothing = std::all_of(masked->cbegin(), masked->cend(), [separator](QChar c) { return c == QLatin1Char(' ') || c == separator; });
        if (!nothing) out << *masked;
    }
    return out;
}

}  // namespace q
