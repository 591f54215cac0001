// Reading an MPEG transport stream as DVB receivers deliver it: finding the
// 188-byte packets (and finding them again after garbage or a cut), handing on the
// payload of the teletext PIDs, and reading the program tables (PAT, PMT, SDT) for
// which PIDs carry teletext and what the services are called.
//
// Design notes. A PID is known to carry teletext when its program's PMT lists it
// with a teletext descriptor, or when one of its PES packets is private stream 1
// with an EBU data identifier (0x10 to 0x1F): recordings often lack the tables.
// Table sections are checked by their CRC; a section with a wrong CRC is dropped.
// Invariants: (1) no input makes a section buffer grow past kMaxSection bytes;
// (2) bytes that do not form a packet in sync are skipped, never passed on.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <set>

namespace q {

inline constexpr int kTsPacketSize = 188;
inline constexpr int kMaxSection = 4096;

// The CRC-32 of MPEG-2 tables (polynomial 0x04C11DB7, no reflection, start ~0).
uint32_t mpegCrc32(const uint8_t* data, size_t size);

// Used on one thread.
class TsDemux {
public:
    // The payload of one packet of a teletext PID; `unitStart`: a PES packet begins in it.
    std::function<void(int pid, const uint8_t* data, int size, bool unitStart)> onTeletext;

    // Takes the next bytes of the stream, in any portions.
    void feed(const uint8_t* data, size_t size);
    // The end of the stream: a last packet that waited for the next sync byte is read.
    void finish();

    // Teletext PIDs in the order they were recognised.
    const std::vector<int>& teletextPids() const { return m_teletextOrder; }
    // The names of the services whose programs carry teletext on `pid`.
    QStringList serviceNames(int pid) const;
    // True when the stream named any service (an SDT was read).
    bool hasServiceNames() const { return !m_serviceNames.empty(); }
    qint64 packets() const { return m_packets; }

private:
    void packet(const uint8_t* p);
    void sectionBytes(int pid, const uint8_t* data, int size, bool unitStart);
    void section(int pid, const QByteArray& s);
    void readPat(const QByteArray& s);
    void readPmt(const QByteArray& s);
    void readSdt(const QByteArray& s);
    void markTeletext(int pid);

    QByteArray m_buffer;                     // bytes not yet read as a packet
    std::map<int, QByteArray> m_sections;    // PID -> section being assembled
    std::map<int, int> m_pmtPids;            // PMT PID -> program number
    std::map<int, std::set<int>> m_programTeletext;  // program -> teletext PIDs
    std::map<int, QString> m_serviceNames;   // program (service id) -> name
    std::set<int> m_teletext;
    std::vector<int> m_teletextOrder;
    qint64 m_packets = 0;
};

}  // namespace q
