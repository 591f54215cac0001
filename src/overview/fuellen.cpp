#include "overview/fuellen.h"

#include "base/formats.h"
#include "overview/fill_statistics.h"

#include <algorithm>

namespace q {

namespace {

// How far back the display range reaches without the price filter.
constexpr int kDisplayDaysWithoutFilter = 10000;

// The first open purchase of the lots (in their order: by purchase date).
const Lot* firstOpenLot(const std::vector<Lot>& lots) {
    for (const Lot& lot : lots)
        if (!lot.isSold()) return &lot;
    return nullptr;
}

// Step 7 of the pass: the kept rows with their moving averages, the ranges and their
// extremes, the high since the purchase and the writes for the price table.
void mainLoop(const FillInput& in, FillResult& r) {
    const int displayFrom = dayNumber(r.displayStart);
    const int windowFrom = dayNumber(r.analysisStart);
    const int buyFrom = dayNumber(r.buyDate);
    double shortSum = 0, longSum = 0;
    bool displayed = false, inWindow = false;
    r.firstDisplayed = -1;
    for (auto* v : {&r.prices, &r.shortAverage, &r.longAverage}) v->reserve(in.prices.size());
    r.days.reserve(in.prices.size());
    for (const PriceRow& row : in.prices) {
        if (row.kurs == 0 || row.datum == 0) {
            r.maintenance.remove.push_back(row.datum);
            continue;
        }
        // A negative price is no price; it stays in the table for the user to mend.
        if (row.kurs < 0) continue;
        const int i = r.count();
        const double price = row.kurs;
        r.days.push_back(row.datum);
        r.prices.push_back(price);
        if (row.datum >= buyFrom && price > r.highSinceBuy) r.highSinceBuy = price;

        // The averages divide by the rows seen until the period is full.
        shortSum += price;
        if (i >= r.shortPeriod) shortSum -= r.prices[size_t(i - r.shortPeriod)];
        longSum += price;
        if (i >= r.longPeriod) longSum -= r.prices[size_t(i - r.longPeriod)];
        const double gl1 = shortSum / std::min(i + 1, r.shortPeriod);
        const double gl2 = longSum / std::min(i + 1, r.longPeriod);
        r.shortAverage.push_back(gl1);
        r.longAverage.push_back(gl2);
        if (in.hasGlD && (row.gld == 0 || row.gld != gl2)) r.maintenance.glD.push_back({row.datum, gl2});

        if (row.datum >= displayFrom) {
            if (!displayed) {
                displayed = true;
                r.firstDisplayed = i;
                r.firstPrice = price;
                r.displayHigh = r.displayLow = price;
            }
            r.displayHigh = std::max(r.displayHigh, price);
            r.displayLow = std::min(r.displayLow, price);
        } else {
            r.firstPrice = price;
        }
        if (row.datum >= windowFrom) {
            if (!inWindow) r.windowHigh = r.windowLow = price;
            inWindow = true;
            r.windowHigh = std::max(r.windowHigh, price);
            r.windowLow = std::min(r.windowLow, price);
        }
    }
    const int n = r.count();
    if (r.firstDisplayed < 0) r.firstDisplayed = n;
    if (n == 0) return;
    r.lastPrice = r.prices.back();
    r.lastDate = dateFromDayNumber(r.days.back());
    r.gl1 = r.shortAverage.back();
    r.gl2 = r.longAverage.back();
    // An empty range keeps the newest price as its high and low.
    if (!displayed) r.displayHigh = r.displayLow = r.lastPrice;
    if (!inWindow) r.windowHigh = r.windowLow = r.lastPrice;
}

// A crossing of the short average through the long one at row i (i ≥ 1): +1 from
// below (to or above), −1 from above (to or below), 0 otherwise. `strict` asks for a
// crossing past the long average.
int crossing(const FillResult& r, int i, bool strict) {
    const double a1p = r.shortAverage[size_t(i - 1)], a2p = r.longAverage[size_t(i - 1)];
    const double a1 = r.shortAverage[size_t(i)], a2 = r.longAverage[size_t(i)];
    if (a1p < a2p && (strict ? a1 > a2 : a1 >= a2)) return 1;
    if (a1p > a2p && (strict ? a1 < a2 : a1 <= a2)) return -1;
    return 0;
}

// The stochastic window of row k: the extremes of the `days` rows up to k and the
// sums of the rises and falls in it (design note 5).
struct StochasticWindow {
    double hh = 0, ll = 0, up = 0, down = 0;
};

StochasticWindow stochasticWindow(const std::vector<double>& p, int k, int days) {
    const int start = std::max(0, k - (days - 1));
    StochasticWindow w{p[size_t(start)], p[size_t(start)], 0, 0};
    for (int j = start; j <= k; ++j) {
        const double pj = p[size_t(j)];
        if (j > 0) {
            if (pj > w.hh) w.up += pj;
            if (pj < w.ll) w.down += pj;
            if (pj < p[size_t(j - 1)]) w.down += pj;
            if (pj > p[size_t(j - 1)]) w.up += pj;
        }
        w.hh = std::max(w.hh, pj);
        w.ll = std::min(w.ll, pj);
    }
    return w;
}

// Moves the last three %K values on by row k's window (price p) and sets Stoch;
// returns the sum of the three.
double advanceK(FillResult& r, const StochasticWindow& w, double p) {
    r.k2 = r.k1;
    r.k1 = r.k0;
    r.k0 = w.hh == w.ll ? 0.0 : (p - w.ll) * 100 / (w.hh - w.ll);
    const double sum = r.k0 + r.k1 + r.k2;
    r.stoch = sum > 0 ? sum / 3 : 0.0;
    return sum;
}

// One step of the strength recurrence: a window with falls sets it anew from its
// rises and falls; every row then maps it to 100 − 100 ÷ (1 + value).
double strengthStep(double value, const StochasticWindow& w) {
    if (w.down != 0) value = w.up / w.down;
    if (1 + value != 0) value = 100 - 100 / (1 + value);
    return value;
}

// The rating reads only the last three %K values, Stoch and the strength: a batch
// fill computes the windows of the last rows, back to the last one with falls (the
// strength before it is overwritten there), instead of every row's.
void stochasticTail(const FillSettings& s, FillResult& r) {
    const int n = r.count();
    const int days = stochasticDaysOf(s);
    const auto& p = r.prices;
    int from = n - 1;
    while (from > 0 && stochasticWindow(p, from, days).down == 0) --from;
    from = std::min(from, std::max(0, n - 3));
    double value = 0;
    for (int k = from; k < n; ++k) {
        const StochasticWindow w = stochasticWindow(p, k, days);
        advanceK(r, w, p[size_t(k)]);
        value = strengthStep(value, w);
    }
    r.strength = value;
}

// Step 9 (design note 5) with the chart's stochastic lines and marks of the display
// range.
void stochasticPass(const FillSettings& s, bool batch, FillResult& r) {
    if (batch) return stochasticTail(s, r);
    const int n = r.count();
    const int days = stochasticDaysOf(s);
    const auto& p = r.prices;
    double value = 0;
    for (int k = 0; k < n; ++k) {
        const StochasticWindow w = stochasticWindow(p, k, days);
        const double sum = advanceK(r, w, p[size_t(k)]);
        value = strengthStep(value, w);

        if (k < r.firstDisplayed) continue;
        const double x = r.days[size_t(k)];
        r.series.stochastic.push_back({x, r.stoch});
        if (k > 0) {
            const int c = crossing(r, k, true);
            if (c > 0 && r.k0 >= r.stoch) r.series.buyMarks.push_back({x, p[size_t(k)]});
            if (c < 0 && r.k0 <= r.stoch) r.series.sellMarks.push_back({x, p[size_t(k)]});
        }
        r.series.fastK.push_back({x, r.k0});
        const double fastD = sum > 0 ? (2 * r.k1 + r.k0) / 3 : 0.0;
        r.series.fastD.push_back({x, fastD});
        r.series.slow.push_back({x, fastD > 0 ? ((2 * r.k2 + r.k1) / 3 + fastD) / 3 : 0.0});
    }
    r.strength = value;
}

}  // namespace

QDate displayStartOf(const FillSettings& s, const QDate& today) {
    return s.Kursfilter && s.KursDatum.isValid() ? s.KursDatum : today.addDays(-kDisplayDaysWithoutFilter);
}

int shortPeriodOf(const FillSettings& s) { return s.ErsterGL <= 1 ? 5 : s.ErsterGL; }
int longPeriodOf(const FillSettings& s) { return s.ZweiterGL <= 1 ? 50 : s.ZweiterGL; }
int stochasticDaysOf(const FillSettings& s) { return s.StochastikTage < 2 || s.StochastikTage > 90 ? 15 : s.StochastikTage; }

std::span<const double> FillResult::displayedPrices() const {
    return std::span<const double>(prices).subspan(static_cast<size_t>(std::min(firstDisplayed, count())));
}

FillResult fuellen(const FillInput& in, const FillSettings& s, const QDate& today, bool batch) {
    FillResult r;
    r.security = in.security;
    r.displayStart = displayStartOf(s, today);
    r.analysisStart = std::max(today.addDays(-s.AnaTage), r.displayStart);
    r.shortPeriod = shortPeriodOf(s);
    r.longPeriod = longPeriodOf(s);
    r.buyDate = today;
    if (const Lot* lot = firstOpenLot(in.lots); lot && lot->Datum.isValid()) {
        r.buyDate = lot->Datum;
        r.highSinceBuy = lot->Ankauf;
    }
    if (r.buyDate < r.displayStart) {
        r.buyDate = r.displayStart;
        r.highSinceBuy = 0;
    }

    mainLoop(in, r);
    std::vector<VolumeRow> shown;
    for (const VolumeRow& v : in.volumes) {
        if (v.datum < dayNumber(r.displayStart)) continue;
        shown.push_back(v);
        r.series.volumes.push_back({double(v.datum), double(v.volumen)});
    }
    if (!in.volumes.empty()) r.newestVolume = in.volumes.back().volumen;
    r.position = openPosition(in.security.FirmenName, in.lots, r.days, r.prices);
    r.enoughPrices = r.count() > 1;
    if (!r.enoughPrices) return r;

    // The crossing marks are drawn only; the rating reads none.
    for (int i = std::max(1, r.firstDisplayed); i < r.count() && !batch; ++i) {
        const int c = crossing(r, i, false);
        if (c > 0) r.series.buyMarks.push_back({double(r.days[size_t(i)]), r.prices[size_t(i)]});
        if (c < 0) r.series.sellMarks.push_back({double(r.days[size_t(i)]), r.prices[size_t(i)]});
    }
    stochasticPass(s, batch, r);
    // A batch fill keeps what the rating reads of the bricks, not one per move.
    if (batch) {
        RenkoTail tail = renkoTail(r.days, r.prices, r.firstDisplayed, s.RenkoProzent);
        r.renkoCount = tail.count;
        r.series.renko = std::move(tail.last);
    } else {
        r.series.renko = renkoBricks(r.days, r.prices, r.firstDisplayed, s.RenkoProzent);
        r.renkoCount = qint64(r.series.renko.size());
    }
    // The candles feed the ADX of the chart, which the rating does not read.
    if (!batch) r.series.candles = groupCandles(r.days, r.prices, r.firstDisplayed, s.Candle_Tage);

    StatisticsOutcome stats = fillStatistics(r.prices, r.firstDisplayed, shown);
    r.statistics = std::move(stats.texts);
    r.stdDevDiff = stats.stdDevDiff;
    r.tarnrate = stats.tarnrate;
    r.averageVolume = stats.averageVolume;
    r.info = fillInfo(r);

    const SecurityRecord& sec = in.security;
    if (sec.Unteres_Limit != 0 && r.lastPrice < sec.Unteres_Limit) r.limit = LimitNotice::BelowLower;
    else if (sec.Oberes_Limit != 0 && r.lastPrice > sec.Oberes_Limit) r.limit = LimitNotice::AboveUpper;
    // The rating run lists the window's extremes as "Min.Kurs" and "Max.Kurs".
    if (batch) {
        r.displayHigh = r.windowHigh;
        r.displayLow = r.windowLow;
    }
    return r;
}

}  // namespace q
