// Fuzz target: the mask engine. The input's first byte picks the separator; up to
// the first 0x01 byte comes the mask file, after it the page text.
#include "acquisition/mask.h"
#include "base/text_files.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const QChar separator = (data[0] & 1) ? QChar(';') : QChar('\t');
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype cut = rest.indexOf('\x01');
    const QByteArray maskBytes = cut < 0 ? rest : rest.left(cut);
    const QByteArray pageBytes = cut < 0 ? QByteArray() : rest.mid(cut + 1);
    const q::MaskFile mask = q::parseMaskFile(q::splitLines(q::decodeText(maskBytes)));
    const QStringList page = q::pageLines(q::decodeText(pageBytes));
    const QStringList out = q::applyMask(page, &mask, separator);
    // Each mask column adds at most one character and one separator.
    for (const QString& line : out)
        if (line.size() > 2 * q::kMaskColumns || line.isEmpty() || line.back() == QChar(' ')) __builtin_trap();
    (void)q::applyMask(page, nullptr, separator);
    return 0;
}
