// Cutting one line of captured teletext into a date, a time or a quote: the daily
// price file's lines (tab-separated) and the masked lines of a page (tab or ";").
// Pure functions: nothing is looked up or stored here.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

namespace q {

// A daily price file line is read up to this many characters; the rest is lost.
inline constexpr int kDailyLineLength = 255;

struct QuoteLine {
    QString name;       // trailing blanks removed
    QString priceText;  // the price field as written (blanks trimmed)
    double price = 0;
    std::optional<QDate> date;  // daily lines: the optional third field
    std::optional<QTime> time;  // page lines: the optional third field
    qint64 volume = 0;          // the optional fourth field; 0 when absent or no integer
};

enum class LineKind {
    Skip,   // nothing to book: no price, price 0, no name
    Date,   // sets the current quote date (and, on a page, maybe the time)
    Time,   // sets the current quote time (pages only)
    Quote,
};

struct ParsedLine {
    LineKind kind = LineKind::Skip;
    QDate date;                 // Date lines
    std::optional<QTime> time;  // Time lines, and Date lines of a page followed by a time
    QuoteLine quote;            // Quote lines
};

// A line of the daily price file: "dd.mm.yyyy" or "dd/mm/yyyy" in the first field
// makes a date line; otherwise name, price text, optional date, optional volume.
// The line is cut at kDailyLineLength characters first. The daily file's names lose
// their trailing blanks; a price text file keeps them (`NameBlanks::Keep`), since its
// names are matched as written.
enum class NameBlanks { Chop, Keep };
ParsedLine parseDailyLine(const QString& line, NameBlanks blanks = NameBlanks::Chop);

// A masked page line with `separator` between fields: a first field "hh:mm" is a
// time line, "dd.mm.[yyyy]" (or "/") a date line (the year of `today` when missing,
// then an optional time field), anything else a quote with name, price text,
// optional time and volume. The name is trimmed and upper-cased.
ParsedLine parsePageLine(const QString& line, QChar separator, const QDate& today);

}  // namespace q
