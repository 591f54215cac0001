#include "sample/teletext_stream.h"

#include "acquisition/ts_demux.h"
#include "sample/sample_data.h"

#include <QFile>
#include <libzvbi.h>

#include <cstring>
#include <map>

namespace q::sample {

namespace {

// Lines 7 to 22 of the first field carry teletext in a DVB stream.
constexpr int kLinesPerFrame = 16;
constexpr int kFirstLine = 7;
// 90 kHz clock ticks per frame at 25 frames a second.
constexpr int64_t kPtsPerFrame = 3600;
// National option bits C12–C14 for the German character set.
constexpr int kGerman = 4;
constexpr int kFillerPid = 0x0200 - 1;

uint8_t germanChar(QChar c) {
    switch (c.unicode()) {
    case 0xE4: return '{';
    case 0xF6: return '|';
    case 0xFC: return '}';
    case 0xDF: return '~';
    case 0xC4: return '[';
    case 0xD6: return '\\';
    case 0xDC: return ']';
    default: return c.unicode() >= 0x20 && c.unicode() < 0x7F ? uint8_t(c.unicode()) : uint8_t(' ');
    }
}

vbi_sliced packet(int magazine, int row, const uint8_t* data40) {
    vbi_sliced s;
    std::memset(&s, 0, sizeof s);
    s.id = VBI_SLICED_TELETEXT_B;
    s.data[0] = vbi_ham8((magazine & 7) | ((row & 1) << 3));
    s.data[1] = vbi_ham8(row >> 1);
    std::memcpy(s.data + 2, data40, 40);
    return s;
}

vbi_sliced header(int page, int subpage, const QString& text) {
    uint8_t d[40];
    d[0] = vbi_ham8(page & 15);
    d[1] = vbi_ham8((page >> 4) & 15);
    d[2] = vbi_ham8(subpage & 15);
    d[3] = vbi_ham8((subpage >> 4) & 7);
    d[4] = vbi_ham8((subpage >> 8) & 15);
    d[5] = vbi_ham8((subpage >> 12) & 3);
    d[6] = vbi_ham8(0);
    d[7] = vbi_ham8(kGerman << 1);  // parallel transmission, German set
    for (int i = 0; i < 32; ++i) d[8 + i] = vbi_par8(i < text.size() ? germanChar(text[i]) : ' ');
    return packet((page >> 8) & 7, 0, d);
}

vbi_sliced row(int page, int r, const QString& text) {
    uint8_t d[40];
    for (int i = 0; i < 40; ++i) d[i] = vbi_par8(i < text.size() ? germanChar(text[i]) : ' ');
    return packet((page >> 8) & 7, r, d);
}

// A header of the magazine's filler page xFF: it completes the page before it.
vbi_sliced filler(int page) { return header((page & 0xF00) | 0xFF, 0, QString()); }

class Writer {
public:
    QByteArray out;

    void tsPacket(int pid, bool unitStart, const QByteArray& payload) {
        QByteArray p(kTsPacketSize, char(0xFF));
        p[0] = 0x47;
        p[1] = char((unitStart ? 0x40 : 0) | ((pid >> 8) & 0x1F));
        p[2] = char(pid & 0xFF);
        p[3] = char(0x10 | (m_cc[pid]++ & 15));
        std::memcpy(p.data() + 4, payload.constData(), size_t(std::min<qsizetype>(payload.size(), kTsPacketSize - 4)));
        out += p;
    }

    void section(int pid, QByteArray body) {
        // section_length counts what follows it, the CRC included.
        const int length = int(body.size()) - 3 + 4;
        body[1] = char(0xB0 | ((length >> 8) & 0x0F));
        body[2] = char(length & 0xFF);
        const uint32_t crc = mpegCrc32(reinterpret_cast<const uint8_t*>(body.constData()), size_t(body.size()));
        for (int s = 24; s >= 0; s -= 8) body += char((crc >> s) & 0xFF);
        tsPacket(pid, true, QByteArray(1, 0) + body);
    }

private:
    std::map<int, int> m_cc;
};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out += char(v & 0xFF);
    return out;
}

QByteArray u16(int v) { return bytes({v >> 8, v}); }

void tables(Writer& w, const StreamPlan& plan) {
    QByteArray pat = QByteArray(1, 0x00) + QByteArray(2, 0) + u16(1) + bytes({0xC1, 0, 0});
    for (size_t i = 0; i < plan.services.size(); ++i) pat += u16(int(i) + 1) + u16(0xE000 | (0x1000 + int(i)));
    w.section(0x0000, pat);
    for (size_t i = 0; i < plan.services.size(); ++i) {
        const TeletextService& s = plan.services[i];
        const QByteArray descriptor = bytes({0x56, 5, 'd', 'e', 'u', 0x08 | 1, 0x00});
        QByteArray pmt = QByteArray(1, 0x02) + QByteArray(2, 0) + u16(int(i) + 1) + bytes({0xC1, 0, 0}) + u16(0xE000 | 0x1FFF) +
                         u16(0xF000) + QByteArray(1, 0x06) + u16(0xE000 | s.pid) + u16(0xF000 | int(descriptor.size())) + descriptor;
        w.section(0x1000 + int(i), pmt);
    }
    QByteArray sdt = QByteArray(1, 0x42) + QByteArray(2, 0) + u16(1) + bytes({0xC1, 0, 0}) + u16(1) + QByteArray(1, char(0xFF));
    bool named = false;
    for (size_t i = 0; i < plan.services.size(); ++i) {
        const QByteArray name = plan.services[i].name.toLatin1();
        if (name.isEmpty()) continue;
        named = true;
        const QByteArray provider("Quintara");
        const QByteArray d = QByteArray(1, 0x48) + QByteArray(1, char(3 + provider.size() + name.size())) + QByteArray(1, 0x01) +
                             QByteArray(1, char(provider.size())) + provider + QByteArray(1, char(name.size())) + name;
        sdt += u16(int(i) + 1) + QByteArray(1, char(0xFC)) + u16(0x8000 | int(d.size())) + d;
    }
    if (named) w.section(0x0011, sdt);
}

// The teletext packets of the complete (or, with `complete` false, the incomplete)
// pages of a service, in sending order.
std::vector<vbi_sliced> pagePackets(const TeletextService& s, bool complete) {
    std::vector<vbi_sliced> lines;
    for (const TeletextPage& p : s.pages) {
        if (p.complete != complete) continue;
        lines.push_back(header(p.page, p.subpage, p.header));
        for (int r = 0; r < p.rows.size() && r < 23; ++r) lines.push_back(row(p.page, r + 1, p.rows[r]));
        if (p.complete) lines.push_back(filler(p.page));
    }
    return lines;
}

struct Mux {
    vbi_dvb_mux* mux = nullptr;
    std::vector<vbi_sliced> lines;
    size_t next = 0;
    int64_t pts = 0;
};

}  // namespace

StreamPlan demoTeletextPlan(int cycles) {
    TeletextService zdf{0x100, QStringLiteral("ZDF"), {}};
    for (int sub = 1; sub <= 3; ++sub) {
        QStringList rows{QStringLiteral("Aktien %1/3              ZDFtext").arg(sub)};
        for (int i = 0; i < 10; ++i) {
            const int n = (sub - 1) * 10 + i + 1;
            // The names the sample securities have in their `ZDF` column.
            rows << stationName(n - 1).leftJustified(20) +
                        QStringLiteral("%1,%2").arg(20 + n * 3).arg(n * 7 % 100, 2, 10, QLatin1Char('0'));
        }
        zdf.pages.push_back({0x200, sub, QStringLiteral("ZDFtext 200"), rows, true});
    }
    zdf.pages.push_back({0x150, 0, QStringLiteral("ZDFtext 150"),
                         {QStringLiteral("Nordlicht Energie erh\u00f6ht Prognose"), QStringLiteral("WKN: Q00001"),
                          QStringLiteral("Der Umsatz stieg um 12 Prozent.")},
                         true});
    TeletextService ntv{0x101, QStringLiteral("n-tv"),
                        {{0x200, 0, QStringLiteral("n-tv text 200"), {QStringLiteral("DAX          4.012,35")}, true}}};
    StreamPlan plan;
    plan.services = {zdf, ntv};
    plan.cycles = cycles;
    return plan;
}

QByteArray teletextStream(const StreamPlan& plan) {
    Writer w;
    if (plan.tables) tables(w, plan);
    std::vector<Mux> muxes(plan.services.size());
    for (size_t i = 0; i < plan.services.size(); ++i) {
        muxes[i].mux = vbi_dvb_ts_mux_new(unsigned(plan.services[i].pid),
                                          [](vbi_dvb_mux*, void* out, const uint8_t* p, unsigned int n) -> vbi_bool {
                                              static_cast<QByteArray*>(out)->append(reinterpret_cast<const char*>(p), n);
                                              return TRUE;
                                          },
                                          &w.out);
        const std::vector<vbi_sliced> one = pagePackets(plan.services[i], true);
        for (int c = 0; c < plan.cycles; ++c) muxes[i].lines.insert(muxes[i].lines.end(), one.begin(), one.end());
        const std::vector<vbi_sliced> last = pagePackets(plan.services[i], false);
        muxes[i].lines.insert(muxes[i].lines.end(), last.begin(), last.end());
    }
    const QByteArray picture(kTsPacketSize - 4, char(0x5A));
    for (bool more = true; more;) {
        more = false;
        for (Mux& m : muxes) {
            if (m.next >= m.lines.size()) continue;
            std::vector<vbi_sliced> frame;
            for (int l = 0; l < kLinesPerFrame && m.next < m.lines.size(); ++l) {
                vbi_sliced s = m.lines[m.next++];
                s.line = unsigned(kFirstLine + l);
                frame.push_back(s);
            }
            vbi_dvb_mux_feed(m.mux, frame.data(), unsigned(frame.size()), VBI_SLICED_TELETEXT_B, nullptr, nullptr, m.pts);
            m.pts += kPtsPerFrame;
            more = more || m.next < m.lines.size();
        }
        for (int f = 0; f < plan.fillerPackets; ++f) w.tsPacket(kFillerPid, f == 0, picture);
    }
    for (Mux& m : muxes) vbi_dvb_mux_delete(m.mux);
    return w.out;
}

Status writeTeletextStream(const QString& path, const StreamPlan& plan) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(teletextStream(plan)) < 0)
        return Status::io(QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(path, f.errorString()));
    return Status::ok();
}

}  // namespace q::sample
