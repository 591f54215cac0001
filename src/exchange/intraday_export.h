// The intraday prices of one security condensed into bars ("Textexport Intraday
// Open||High|Low|Close"): one text line per bar of 5 minutes to a day with open,
// high, low, close, the volume traded within the bar and its last price.
//
// Design notes. Times are whole seconds since midnight (a tick's stored day fraction
// rounded to the nearest second), so bar ends are exact. Invariants: (1) a bar opens
// at its first tick; it ends at the first tick's time rounded down to a multiple of
// the bar length, plus the length (10:16 opens the half hour ending 10:30); (2) a
// tick at or before the end belongs to the bar; (3) a bar's volume is the rise of the
// day's running `Volumen` within it: its last volume less the last volume before it
// (0 at the day's start), never below 0; (4) the day's last bar carries the last
// tick's time instead of its end.
#pragma once

#include "store/store.h"

#include <QDate>
#include <vector>

namespace q {

struct IntradayTickV {
    int second = 0;  // since midnight
    double kurs = 0;
    qint64 volumen = 0;  // the day's running volume; 0 when the source gave none
};

struct IntradayBar {
    int end = 0;  // seconds since midnight: the bar's end, or the last tick's time for the day's last bar
    double open = 0, high = 0, low = 0, close = 0;
    qint64 volumen = 0;
};

// The bars of `minutes` over one day's ticks (in time order). Requires: minutes > 0.
std::vector<IntradayBar> intradayBars(const std::vector<IntradayTickV>& ticks, int minutes);

// `moment` written with a date or time pattern of the options window: "dd", "d",
// "mm", "m", "yyyy", "yy" for the day, month and year; "hh", "h", "nn", "n", "ss",
// "s" for the time, where "mm" and "m" after an hour are minutes; "/" is the date
// separator "."; every other character stands as it is ("dd.mm.yy", "hh:mm:ss").
QString formatDatePattern(const QDateTime& moment, const QString& pattern);

// The bar lengths the options window offers, in minutes ("  5 Minuten" … "1 Tag").
const std::vector<int>& intradayBarMinutes();
// The patterns of the options window, the first one the preset.
const QStringList& intradayDateFormats();
const QStringList& intradayTimeFormats();

struct IntradayExportOptions {
    QDate from, to;
    int minutes = 5;
    QChar separator = QLatin1Char(' ');
    QString dateFormat = QStringLiteral("ddmmyy");
    QString timeFormat = QStringLiteral("hh:mm:ss");
    int decimals = 2;      // `DezimalStellen`, for the last price
    QString intradayDir;   // the day archives ("dd.mm.yyyy.DB")
    QDate today;           // which days the live Intraday.db holds
};

struct IntradayExportReport {
    qint64 days = 0;  // days with a daily price looked at
    qint64 bars = 0;  // lines after the header
};

// Writes the header "Datum", "Zeit", "Open", "High", "Low", "Close", "Volumen",
// "Last" and one line per bar for each day from `from` to `to` on which `firma` has a
// daily price, its ticks taken from the day's archive or the live table as the
// intraday chart chooses (intradaySourceFor()): end date, end time, open, high, low,
// close with 3 decimals and a decimal point, the volume, and the close with
// `decimals` places and a decimal point. Windows-1252 with CR LF; the file replaces
// the target only when complete. Fails Invalid for a bar length not offered, Io
// naming the directory or the file, or with the store's message.
Result<IntradayExportReport> exportIntraday(Store& store, int firma, const QString& file, const IntradayExportOptions& options);

}  // namespace q
