// Fuzz target: the quote-line parser on any text, as daily price file lines and as
// masked page lines with either separator.
#include "acquisition/quote_line.h"
#include "base/formats.h"
#include "base/text_files.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QDate today(2004, 3, 10);
    for (const QString& line : q::splitLines(q::decodeText(bytes))) {
        const q::ParsedLine daily = q::parseDailyLine(line);
        if (daily.kind == q::LineKind::Quote && (daily.quote.price == 0.0 || daily.quote.name.trimmed().isEmpty())) __builtin_trap();
        if (daily.kind == q::LineKind::Date && !daily.date.isValid()) __builtin_trap();
        for (const QChar separator : {QChar(';'), QChar('\t')}) {
            const q::ParsedLine page = q::parsePageLine(line, separator, today);
            if (page.kind == q::LineKind::Quote && page.quote.name != page.quote.name.trimmed().toUpper()) __builtin_trap();
        }
        (void)q::parsePriceText(line);
    }
    return 0;
}
