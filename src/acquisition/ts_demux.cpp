#include "acquisition/ts_demux.h"

namespace q {

namespace {

constexpr uint8_t kSync = 0x47;
constexpr int kPatPid = 0x0000;
constexpr int kSdtPid = 0x0011;
constexpr int kNullPid = 0x1FFF;

int u16(const QByteArray& s, int i) { return (uint8_t(s[i]) << 8) | uint8_t(s[i + 1]); }

// Service names in DVB tables may start with a character table selector; the rest
// is read as UTF-8 (selector 0x15) or Latin-1, which the German stations use.
QString dvbText(const uint8_t* p, int n) {
    if (n <= 0) return {};
    int skip = 0;
    bool utf8 = false;
    if (p[0] < 0x20) {
        utf8 = p[0] == 0x15;
        skip = p[0] == 0x10 ? 3 : p[0] == 0x1F ? 2 : 1;
    }
    if (skip >= n) return {};
    const QByteArray bytes(reinterpret_cast<const char*>(p + skip), n - skip);
    QString text = utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    // Emphasis and line-break codes of the DVB character tables.
    text.removeIf([](QChar c) { return c.unicode() >= 0x80 && c.unicode() <= 0x9F; });
    return text.trimmed();
}

}  // namespace

uint32_t mpegCrc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= uint32_t(data[i]) << 24;
        for (int b = 0; b < 8; ++b) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

void TsDemux::feed(const uint8_t* data, size_t size) {
    m_buffer.append(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto* b = reinterpret_cast<const uint8_t*>(m_buffer.constData());
    const qsizetype n = m_buffer.size();
    qsizetype i = 0;
    // A packet is taken when its sync byte is followed by the next one; without the
    // next byte yet, the packet waits for more data (or for finish()).
    while (n - i >= kTsPacketSize + 1) {
        if (b[i] == kSync && b[i + kTsPacketSize] == kSync) {
            packet(b + i);
            i += kTsPacketSize;
        } else {
            ++i;
        }
    }
    m_buffer.remove(0, i);
}

void TsDemux::finish() {
    const auto* b = reinterpret_cast<const uint8_t*>(m_buffer.constData());
    qsizetype i = 0;
    while (m_buffer.size() - i >= kTsPacketSize && b[i] != kSync) ++i;
    if (m_buffer.size() - i >= kTsPacketSize) packet(b + i);
    m_buffer.clear();
}

void TsDemux::packet(const uint8_t* p) {
    ++m_packets;
    if (p[1] & 0x80) return;  // the receiver marked a transmission error
    const bool unitStart = p[1] & 0x40;
    const int pid = ((p[1] & 0x1F) << 8) | p[2];
    const int scrambling = p[3] >> 6;
    const int adaptation = (p[3] >> 4) & 3;
    if (pid == kNullPid || scrambling != 0 || !(adaptation & 1)) return;
    int offset = 4;
    if (adaptation & 2) offset += 1 + p[4];
    if (offset >= kTsPacketSize) return;
    const uint8_t* payload = p + offset;
    const int size = kTsPacketSize - offset;

    if (pid == kPatPid || pid == kSdtPid || m_pmtPids.count(pid)) {
        sectionBytes(pid, payload, size, unitStart);
        return;
    }
    if (!m_teletext.count(pid) && unitStart && size > 9 && payload[0] == 0 && payload[1] == 0 && payload[2] == 1 &&
        payload[3] == 0xBD) {
        const int identifier = 9 + payload[8];
        if (identifier < size && payload[identifier] >= 0x10 && payload[identifier] <= 0x1F) markTeletext(pid);
    }
    if (m_teletext.count(pid) && onTeletext) onTeletext(pid, payload, size, unitStart);
}

void TsDemux::sectionBytes(int pid, const uint8_t* data, int size, bool unitStart) {
    QByteArray& s = m_sections[pid];
    auto drain = [&] {
        // Complete sections are read; stuffing (0xFF) ends the packet's tables.
        while (s.size() >= 3) {
            if (uint8_t(s[0]) == 0xFF) {
                s.clear();
                return;
            }
            const int total = 3 + (((uint8_t(s[1]) & 0x0F) << 8) | uint8_t(s[2]));
            if (total > kMaxSection) {
                s.clear();
                return;
            }
            if (s.size() < total) return;
            section(pid, s.left(total));
            s.remove(0, total);
        }
    };
    if (unitStart) {
        const int pointer = data[0];
        if (1 + pointer > size) {
            s.clear();
            return;
        }
        // The bytes before the pointer end the section begun in earlier packets.
        if (!s.isEmpty()) {
            s.append(reinterpret_cast<const char*>(data + 1), pointer);
            drain();
        }
        s = QByteArray(reinterpret_cast<const char*>(data + 1 + pointer), size - 1 - pointer);
    } else {
        if (s.isEmpty()) return;  // the middle of a section whose start was missed
        s.append(reinterpret_cast<const char*>(data), size);
    }
    drain();
    if (s.size() > kMaxSection) s.clear();
}

void TsDemux::section(int pid, const QByteArray& s) {
    if (s.size() < 12) return;
    if (mpegCrc32(reinterpret_cast<const uint8_t*>(s.constData()), size_t(s.size())) != 0) return;
    const int table = uint8_t(s[0]);
    if (pid == kPatPid && table == 0x00) readPat(s);
    else if (pid == kSdtPid && table == 0x42) readSdt(s);
    else if (table == 0x02) readPmt(s);
}

void TsDemux::readPat(const QByteArray& s) {
    for (int i = 8; i + 4 <= s.size() - 4; i += 4) {
        const int program = u16(s, i);
        const int pid = u16(s, i + 2) & 0x1FFF;
        // Program 0 names the network information PID, which has no teletext.
        if (program != 0 && pid != kPatPid && pid != kSdtPid && pid != kNullPid) m_pmtPids[pid] = program;
    }
}

void TsDemux::readPmt(const QByteArray& s) {
    const int program = u16(s, 3);
    const int end = s.size() - 4;
    int i = 12 + (u16(s, 10) & 0x0FFF);
    while (i + 5 <= end) {
        const int streamType = uint8_t(s[i]);
        const int pid = u16(s, i + 1) & 0x1FFF;
        const int infoLength = u16(s, i + 3) & 0x0FFF;
        int d = i + 5;
        const int infoEnd = std::min(end, d + infoLength);
        bool teletext = false;
        while (d + 2 <= infoEnd) {
            const int tag = uint8_t(s[d]);
            // 0x56: teletext, 0x46: VBI teletext (both on private PES, stream type 6).
            if (streamType == 0x06 && (tag == 0x56 || tag == 0x46)) teletext = true;
            d += 2 + uint8_t(s[d + 1]);
        }
        if (teletext) {
            m_programTeletext[program].insert(pid);
            markTeletext(pid);
        }
        i += 5 + infoLength;
    }
}

void TsDemux::readSdt(const QByteArray& s) {
    const int end = s.size() - 4;
    int i = 11;
    while (i + 5 <= end) {
        const int service = u16(s, i);
        const int loopLength = u16(s, i + 3) & 0x0FFF;
        int d = i + 5;
        const int loopEnd = std::min(end, d + loopLength);
        while (d + 2 <= loopEnd) {
            const int tag = uint8_t(s[d]);
            const int length = uint8_t(s[d + 1]);
            if (tag == 0x48 && d + 2 + length <= loopEnd && length >= 3) {
                const auto* p = reinterpret_cast<const uint8_t*>(s.constData()) + d + 2;
                const int providerLength = p[1];
                if (2 + providerLength < length) {
                    const int nameLength = p[2 + providerLength];
                    if (3 + providerLength + nameLength <= length)
                        m_serviceNames[service] = dvbText(p + 3 + providerLength, nameLength);
                }
            }
            d += 2 + length;
        }
        i += 5 + loopLength;
    }
}

void TsDemux::markTeletext(int pid) {
    if (m_teletext.insert(pid).second) m_teletextOrder.push_back(pid);
}

QStringList TsDemux::serviceNames(int pid) const {
    QStringList names;
    for (const auto& [program, pids] : m_programTeletext) {
        if (!pids.count(pid)) continue;
        const auto it = m_serviceNames.find(program);
        if (it != m_serviceNames.end() && !it->second.isEmpty()) names << it->second;
    }
    return names;
}

}  // namespace q
