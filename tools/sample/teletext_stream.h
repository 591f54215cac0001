// Transport streams with teletext, made up for tests and measurements: pages of
// 24 rows (header packet 0 and rows 1 to 23, Hamming 8/4 and odd parity) muxed as
// DVB teletext PES into 188-byte packets, with the program tables that name the
// services, as a DVB receiver records them.
#pragma once

#include "base/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace q::sample {

struct TeletextPage {
    int page = 0x100;    // 0x100 … 0x899, written "100" … "899"
    int subpage = 0;     // subcode, 0x0001 for "0001"; 0 for a page without subpages
    QString header;      // the header row's text (columns 8 to 39)
    QStringList rows;    // rows 1, 2, … (at most 23), up to 40 characters; ä, ö, ü, ß as the German set has them
    // false: sent once, after all cycles, with no header of its magazine after it,
    // so that it never completes.
    bool complete = true;
};

struct TeletextService {
    int pid = 0x100;     // the teletext PID
    QString name;        // the service name in the SDT; empty: none
    std::vector<TeletextPage> pages;  // sent in this order, one cycle
};

struct StreamPlan {
    std::vector<TeletextService> services;
    bool tables = true;   // PAT, PMT and SDT before the pages
    int cycles = 1;       // how often each service's pages are sent
    int fillerPackets = 0;  // packets of another PID per video frame (the picture's share)
};

// A demonstration: station "ZDF" with a price page 200 of three subpages (names of
// the sample securities' match texts Q00001 …) and a news page 150, station "n-tv"
// with page 200; each sent `cycles` times.
StreamPlan demoTeletextPlan(int cycles = 2);

// The stream as bytes. Pages of the services go out interleaved frame by frame.
QByteArray teletextStream(const StreamPlan& plan);
// Writes the stream to `path`. Fails Io naming the file.
Status writeTeletextStream(const QString& path, const StreamPlan& plan);

// The frames of teletext a stream of `seconds` seconds at 25 frames a second carries.
inline constexpr int kFramesPerSecond = 25;

}  // namespace q::sample
