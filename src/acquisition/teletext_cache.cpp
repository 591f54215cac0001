#include "acquisition/teletext_cache.h"

#include "acquisition/ts_demux.h"

#include <libzvbi.h>

#include <algorithm>
#include <cstring>

namespace q {

namespace {

constexpr int kRows = 24;
constexpr int kColumns = 40;
// Seconds between video frames at 25 frames a second; the decoder wants a clock.
constexpr double kFrameSeconds = 0.04;

}  // namespace

struct TeletextCache::Stream {
    int pid = 0;
    vbi_decoder* decoder = nullptr;
    vbi_dvb_demux* demux = nullptr;
    double clock = 0;
    std::map<int, std::set<int>> pages;

    explicit Stream(int p) : pid(p) {
        decoder = vbi_decoder_new();
        // Pages are decoded and kept only while a page handler is registered.
        vbi_event_handler_register(decoder, VBI_EVENT_TTX_PAGE, &Stream::onPage, this);
        demux = vbi_dvb_pes_demux_new(&Stream::onFrame, this);
    }
    ~Stream() {
        if (demux) vbi_dvb_demux_delete(demux);
        if (decoder) vbi_decoder_delete(decoder);
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    static void onPage(vbi_event* event, void* self) {
        auto* s = static_cast<Stream*>(self);
        s->pages[event->ev.ttx_page.pgno].insert(event->ev.ttx_page.subno);
    }
    static vbi_bool onFrame(vbi_dvb_demux*, void* self, const vbi_sliced* sliced, unsigned int lines, int64_t) {
        auto* s = static_cast<Stream*>(self);
        // vbi_decode() takes a writable array; the demultiplexer's is its own.
        std::vector<vbi_sliced> copy(sliced, sliced + lines);
        s->clock += kFrameSeconds;
        vbi_decode(s->decoder, copy.data(), int(copy.size()), s->clock);
        return TRUE;
    }
};

TeletextCache::TeletextCache(QString source) : m_source(std::move(source)), m_demux(std::make_unique<TsDemux>()) {
    m_demux->onTeletext = [this](int pid, const uint8_t* data, int size, bool) {
        Stream& s = stream(pid);
        vbi_dvb_demux_feed(s.demux, data, unsigned(size));
    };
}

TeletextCache::~TeletextCache() = default;

TeletextCache::Stream& TeletextCache::stream(int pid) {
    auto& slot = m_streams[pid];
    if (!slot) slot = std::make_unique<Stream>(pid);
    return *slot;
}

void TeletextCache::feed(const char* data, qint64 size) {
    m_bytes += size;
    m_demux->feed(reinterpret_cast<const uint8_t*>(data), size_t(size));
}

void TeletextCache::finish() {
    m_demux->finish();
    // A frame with one line whose address does not decode: it makes the PES
    // demultiplexer hand on the frame before it and completes no page.
    std::vector<uint8_t> pes;
    vbi_dvb_mux* mux = vbi_dvb_pes_mux_new(
        [](vbi_dvb_mux*, void* out, const uint8_t* packet, unsigned int size) -> vbi_bool {
            auto* v = static_cast<std::vector<uint8_t>*>(out);
            v->insert(v->end(), packet, packet + size);
            return TRUE;
        },
        &pes);
    if (!mux) return;
    vbi_sliced line;
    std::memset(&line, 0, sizeof line);
    line.id = VBI_SLICED_TELETEXT_B;
    line.line = 7;
    // 0x00 0x00 in both address bytes would be corrected; 0x03 has two bit errors
    // against every Hamming 8/4 code word near it, so it cannot be.
    std::memset(line.data, 0x03, sizeof line.data);
    vbi_dvb_mux_feed(mux, &line, 1, VBI_SLICED_TELETEXT_B, nullptr, nullptr, 0);
    vbi_dvb_mux_delete(mux);
    for (auto& [pid, s] : m_streams)
        if (!pes.empty()) vbi_dvb_demux_feed(s->demux, pes.data(), unsigned(pes.size()));
}

std::vector<int> TeletextCache::activePids() const {
    std::vector<int> out;
    for (int pid : m_demux->teletextPids())
        if (m_streams.count(pid)) out.push_back(pid);
    return out;
}

std::vector<TeletextCache::StreamInfo> TeletextCache::streams() const {
    std::vector<StreamInfo> out;
    for (int pid : activePids()) out.push_back({pid, m_demux->serviceNames(pid), m_streams.at(pid)->pages});
    return out;
}

Result<int> TeletextCache::streamFor(const QString& station, int pid) const {
    const std::vector<int> pids = activePids();
    if (pids.empty()) return Status::notFound(QStringLiteral("Der Datenstrom %1 enthält keinen Videotext").arg(m_source));
    if (pid > 0) {
        if (std::find(pids.begin(), pids.end(), pid) == pids.end())
            return Status::notFound(QStringLiteral("Der Datenstrom %1 enthält keinen Videotext auf PID %2").arg(m_source).arg(pid));
        return pid;
    }
    if (!m_demux->hasServiceNames()) return pids.front();
    for (int p : pids)
        for (const QString& name : m_demux->serviceNames(p))
            if (name.compare(station.trimmed(), Qt::CaseInsensitive) == 0) return p;
    return Status::notFound(QStringLiteral("kann den Sender \"%1\" nicht finden!").arg(station));
}

std::vector<int> TeletextCache::subpages(int pid, int page) const {
    std::vector<int> out;
    const auto s = m_streams.find(pid);
    if (s == m_streams.end()) return out;
    const auto p = s->second->pages.find(page);
    if (p == s->second->pages.end()) return out;
    return std::vector<int>(p->second.begin(), p->second.end());
}

std::optional<TeletextRows> TeletextCache::page(int pid, int page, std::optional<int> subpage) const {
    const auto s = m_streams.find(pid);
    if (s == m_streams.end()) return std::nullopt;
    vbi_page pg;
    if (!vbi_fetch_vt_page(s->second->decoder, &pg, page, subpage.value_or(VBI_ANY_SUBNO), VBI_WST_LEVEL_1p5, 25, FALSE))
        return std::nullopt;
    TeletextRows rows;
    for (int r = 0; r < kRows && r < pg.rows; ++r) {
        QString row;
        row.reserve(kColumns);
        for (int c = 0; c < kColumns && c < pg.columns; ++c) {
            const unsigned int u = pg.text[r * pg.columns + c].unicode;
            row += (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0)) ? QChar(' ') : QChar(char16_t(u));
        }
        rows << row;
    }
    vbi_unref_page(&pg);
    return rows;
}

std::optional<int> teletextPageNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() != 3) return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit()) return std::nullopt;
    if (t[0] < QLatin1Char('1') || t[0] > QLatin1Char('8')) return std::nullopt;
    return t.toInt(nullptr, 16);
}

std::optional<int> teletextSubpageNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 4) return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit()) return std::nullopt;
    const int n = t.toInt(nullptr, 16);
    // Subcodes run to 3F7F; the digits a user writes stay well inside.
    if (n > 0x3F7F) return std::nullopt;
    return n;
}

QString teletextPageText(int page) { return QString::number(page, 16).toUpper(); }
QString teletextSubpageText(int subpage) { return QStringLiteral("%1").arg(subpage, 4, 16, QLatin1Char('0')).toUpper(); }

}  // namespace q
