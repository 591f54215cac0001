// The built-in DVB teletext decoder as a page source: a transport stream (a recorded
// ".ts" file, a DVB device's DVR or a pipe) is decoded into a TeletextCache, and
// page requests are answered from it. Tuning the device is left to the system's tools.
#pragma once

#include "acquisition/page_source.h"
#include "acquisition/teletext_cache.h"
#include "base/interaction.h"

#include <memory>

namespace q {

// Reads the stream `source` and decodes its teletext: a regular file to its end;
// a device, a pipe or "-" (standard input) for `seconds` seconds or until it ends.
// Progress reports the bytes read; a cancel ends the reading early with what was
// read. Fails NotFound "Der Datenstrom … existiert nicht", Io when it cannot be read,
// Invalid "Der Datenstrom … ist leer" and NotFound "Der Datenstrom … enthält keinen
// Videotext" when no teletext PID was found.
Result<std::unique_ptr<TeletextCache>> readTransportStream(const QString& source, int seconds, Progress& progress);

class DvbPageSource final : public PageSource {
public:
    // `pid`: the teletext PID to read, 0 to choose by station (TeletextCache::streamFor).
    DvbPageSource(std::shared_ptr<const TeletextCache> cache, int pid) : m_cache(std::move(cache)), m_pid(pid) {}
    // Subpage n of the request is the page's (n+1)-th subpage in subcode order; a
    // page without subpages has just one. The text is the page's 24 rows.
    Result<std::optional<QString>> fetch(const PageRequest& request) override;

private:
    std::shared_ptr<const TeletextCache> m_cache;
    int m_pid;
};

}  // namespace q
