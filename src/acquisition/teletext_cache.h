// Decoding the teletext of a transport stream with libzvbi and keeping every page
// and subpage seen, one cache per teletext PID, so that page requests are answered
// from it.
//
// Design notes. Our demultiplexer (TsDemux) splits the stream into the teletext
// PIDs' PES data; libzvbi's PES demultiplexer turns that into teletext packets and
// its decoder into pages. A page is complete only when the next header of its
// magazine arrives: the last page of a magazine in a stream, and a page cut off by
// the end of a recording, never become available. libzvbi hands a video frame on
// only when the next one begins; finish() pushes the last one out with a frame that
// holds no valid teletext packet, so it completes no page.
#pragma once

#include "base/status.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace q {

class TsDemux;

// A page as the decoder shows it: 24 rows (the header row first) of 40 characters,
// national characters as the page's header selects them, control characters blank.
using TeletextRows = QStringList;

// Used on one thread; the pages stay until the cache is destroyed.
class TeletextCache {
public:
    explicit TeletextCache(QString source);
    ~TeletextCache();
    TeletextCache(const TeletextCache&) = delete;
    TeletextCache& operator=(const TeletextCache&) = delete;

    // The stream's name for messages (file or device).
    const QString& source() const { return m_source; }

    // Takes the next bytes of the transport stream.
    void feed(const char* data, qint64 size);
    // The end of the stream.
    void finish();
    qint64 bytes() const { return m_bytes; }

    struct StreamInfo {
        int pid = 0;
        QStringList services;                 // names from the stream's tables
        std::map<int, std::set<int>> pages;   // page (0x100 … 0x8FF) -> subpages seen
    };
    // The teletext streams that carried data, in the order they were found (a PID a
    // table announces but no packet fills is none).
    std::vector<StreamInfo> streams() const;

    // The teletext stream of a station: the PID `pid` when it is not 0; else the
    // stream whose service is named `station` (letter case ignored) when the stream
    // names its services; else the first teletext stream. Fails NotFound with
    // "Der Datenstrom … enthält keinen Videotext", "… enthält keinen Videotext auf PID …"
    // or "kann den Sender "…" nicht finden!".
    Result<int> streamFor(const QString& station, int pid) const;

    // The subpages of a page seen on a stream, in ascending order (0 for a page
    // without subpages).
    std::vector<int> subpages(int pid, int page) const;
    // The page with that subpage (any subpage: the newest); nullopt when it never
    // arrived complete.
    std::optional<TeletextRows> page(int pid, int page, std::optional<int> subpage) const;

private:
    struct Stream;
    Stream& stream(int pid);
    std::vector<int> activePids() const;

    QString m_source;
    std::unique_ptr<TsDemux> m_demux;
    std::map<int, std::unique_ptr<Stream>> m_streams;
    qint64 m_bytes = 0;
};

// Page numbers are written as three hex-like digits ("200" is 0x200), subpage numbers
// as up to four digits ("0001" is 0x0001). nullopt for anything else (page 100 … 899).
std::optional<int> teletextPageNumber(const QString& text);
std::optional<int> teletextSubpageNumber(const QString& text);
// "200", "0001".
QString teletextPageText(int page);
QString teletextSubpageText(int subpage);

}  // namespace q
