// One day's intraday prices for the charts: which table holds the day (its archive
// in the intraday directory, or the live Intraday.db), the prices of a security on
// it, the candles of M minutes, the day candles the price chart builds when
// `Candle_Tage` is 1, and when the day's live prices update its daily price.
#pragma once

#include "overview/chart_series.h"
#include "store/store.h"

#include <QDate>
#include <optional>

namespace q {

enum class IntradaySource { None, Archive, Live };

// The table of `day`: its archive when that exists; else the live table when it
// exists and holds `day`'s prices: `day` is today, or the last trading day before a
// weekend: today is Saturday and `day` Friday, or today is Monday and `day` the
// Friday before. None otherwise.
IntradaySource intradaySourceFor(const QDate& day, const QDate& today, bool archiveExists, bool liveExists);

struct IntradayTick {
    double zeit = 0;  // day number with the time of day as fraction
    double kurs = 0;
};

struct IntradayDay {
    IntradaySource source = IntradaySource::None;
    std::vector<IntradayTick> ticks;  // in time order
};

// The intraday prices of `firma` on `day` from the table intradaySourceFor() picks
// (`intradayDir` the intraday directory, the live table in the store's data
// directory). No table gives source None and no ticks. Fails with the store's
// message.
Result<IntradayDay> readIntradayDay(Store& store, const QString& intradayDir, int firma, const QDate& day, const QDate& today);

// Candles of `minutes` minutes over the ticks: the first interval starts at the
// first tick's time rounded down to a multiple of `minutes` since midnight and ends
// `minutes` later; a tick past the interval's end closes it (a candle drawn at the
// interval's middle) and opens the next, aligned the same way. The last interval is
// closed at the end. None for minutes below 1.
std::vector<Candle> intradayCandles(const std::vector<IntradayTick>& ticks, int minutes);

// The candle of a whole day: open the first price, close the last, high and low the
// extremes, dated with `day`. nullopt without ticks.
std::optional<Candle> dayCandle(const std::vector<IntradayTick>& ticks, int day);

// The price chart's candles when `Candle_Tage` is 1: one per displayed day that has
// intraday prices (its archive, or the live table for today). Days without prices get
// none. Fails with the store's message.
Result<std::vector<Candle>> intradayDayCandles(Store& store, const QString& intradayDir, int firma, std::span<const int> days,
                                               const QDate& today);

// The new daily price of `rowDate` from its live intraday prices: the last price,
// when it is above 0, differs from `rowKurs`, and was taken on `rowDate` itself (a
// Monday's live prices never rewrite Friday's close). nullopt otherwise, and always
// for prices from an archive.
std::optional<double> dailyCloseFromIntraday(const QDate& rowDate, double rowKurs, const IntradayDay& day);

// Deletes the archive tables of `days` in `intradayDir` ("Intraday-Kurse löschen");
// returns how many there were. A day without an archive is passed over. Fails Io
// "<file> kann nicht gelöscht werden", after deleting the ones before it.
Result<int> deleteIntradayArchives(const QString& intradayDir, const std::vector<QDate>& days);

}  // namespace q
