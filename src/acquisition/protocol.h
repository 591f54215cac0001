// The protocol lists of a reading run: quotes whose name matched no security and
// quotes whose change against the last price was implausible. Kept per run, shown
// in the protocol window and written to "PNeue.txt" and "PExtrem.txt" in the work
// directory (Windows-1252, CRLF, fields separated by one tab).
#pragma once

#include "base/status.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>
#include <vector>

namespace q {

struct ProtocolEntry {
    QString name;
    QString priceText;
    QDate date;  // the quote's own date
    QTime time;  // the quote time (pages) or the time of reading (daily file)
    qint64 volume = 0;
    std::optional<double> change;  // implausible entries: the change in per cent
    QString reason = {};           // refused entries: why the value is no price (priceRefusal())
};

// Unmatched: name, price text, "dd.mm.yyyy hh:nn".
QString unmatchedLine(const ProtocolEntry& e);
// Implausible: name, price text, change rounded to two decimals + "%", date and
// time, and "\tKurs 1:" + ratio + " gesplittet?" when splitRatio() lies in 2 … 20.
// A refused value: name, price text, the reason in place of the change, date and time.
QString implausibleLine(const ProtocolEntry& e);
// trunc(100 / (100 + change)): the split a fall of `change` per cent suggests;
// 0 when the change is not a fall above -100 %.
int splitRatio(double change);

// The entries a list keeps in memory: a file of millions of unknown names would
// otherwise fill it. Entries beyond are counted in `leftOut`.
inline constexpr size_t kProtocolEntriesKept = 100000;

struct ProtocolLists {
    std::vector<ProtocolEntry> unmatched;
    std::vector<ProtocolEntry> implausible;
    qint64 leftOut = 0;  // entries not kept (kProtocolEntriesKept)

    void addUnmatched(ProtocolEntry e);
    void addImplausible(ProtocolEntry e);

    bool empty() const { return unmatched.empty() && implausible.empty(); }
    QStringList unmatchedLines() const;
    QStringList implausibleLines() const;
    // Writes both files into `workDir` when either list holds a line; nothing
    // otherwise. Fails Io naming the file.
    Status write(const QString& workDir) const;
};

inline const QString kUnmatchedFile = QStringLiteral("PNeue.txt");
inline const QString kImplausibleFile = QStringLiteral("PExtrem.txt");

// Daily price file lines for quotes taken from a protocol list ("Aufnehmen",
// "Splitten"): name, price text, the quote's date and, when known, the volume, so
// that each quote is booked on its own day when the file is read again.
QStringList dailyLinesOf(const std::vector<ProtocolEntry>& entries);

}  // namespace q
