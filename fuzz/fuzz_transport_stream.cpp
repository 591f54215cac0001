// Fuzz target: a transport stream through our demultiplexer and libzvbi into the
// page cache, and every page the cache says it holds read back.
#include "acquisition/teletext_cache.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    q::TeletextCache cache(QStringLiteral("fuzz"));
    // In two portions, so that packets cut between reads are put together again.
    const size_t half = size / 2;
    cache.feed(reinterpret_cast<const char*>(data), qint64(half));
    cache.feed(reinterpret_cast<const char*>(data + half), qint64(size - half));
    cache.finish();
    for (const auto& stream : cache.streams()) {
        (void)cache.streamFor(QStringLiteral("ZDF"), 0);
        for (const auto& [page, subpages] : stream.pages)
            for (int sub : subpages) {
                const auto rows = cache.page(stream.pid, page, sub);
                if (rows && rows->size() > 24) __builtin_trap();
            }
    }
    return 0;
}
