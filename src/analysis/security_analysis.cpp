#include "analysis/security_analysis.h"

#include "overview/fill_maintenance.h"
#include "overview/trend_index.h"

#include <algorithm>
#include <limits>

namespace q {

namespace {

LineEnd endOf(const indicators::Line& line) {
    LineEnd e;
    e.count = line.count();
    if (e.count >= 1) e.last = line.last();
    if (e.count >= 2) e.beforeLast = line.beforeLast();
    return e;
}

// The trend line moved up or down by the standard deviation, where both have a value.
indicators::Line channel(const indicators::Line& trend, const indicators::Line& deviation, double sign) {
    indicators::Line c;
    if (trend.empty() || deviation.empty()) return c;
    c.first = std::max(trend.first, deviation.first);
    const int end = std::min(trend.first + trend.count(), deviation.first + deviation.count());
    for (int i = c.first; i < end; ++i) c.values.push_back(trend.at(i) + sign * deviation.at(i));
    return c;
}

}  // namespace

IndicatorLines indicatorLines(const FillResult& fill, const IndicatorPeriods& p, bool forRating) {
    IndicatorLines l;
    const std::span<const double> x = fill.displayedPrices();
    l.trend = indicators::trend(x, p.Function6_Period);
    l.momentum = indicators::momentum(x, p.Function10_Period);
    l.bollinger = indicators::bollinger(x, p.Function1_Period, p.Function1_Deviation);
    l.rsi = indicators::rsi(x, p.Function4_Period);
    l.macd = indicators::macd(x, p.Function8_Period, p.Function8_Period2);
    if (forRating) return l;
    l.stddev = indicators::stddev(x, p.Function9_Period);
    l.channelUpper = channel(l.trend, l.stddev, 1);
    l.channelLower = channel(l.trend, l.stddev, -1);
    l.thirdAverage = indicators::sma(x, p.Function5_Period);
    const std::vector<Candle>& candles = fill.series.candles;
    if (!candles.empty()) {
        std::vector<double> high, low, close;
        for (const Candle& c : candles) {
            high.push_back(c.high);
            low.push_back(c.low);
            close.push_back(c.close);
        }
        l.adx = indicators::adx(high, low, close, p.Function11_Period);
    } else {
        l.adx = indicators::adx(x, x, x, p.Function11_Period);
    }
    return l;
}

RatingInput ratingInput(const FillResult& f, const IndicatorLines& l, double indexChange) {
    RatingInput in;
    const int n = f.count();
    in.n = n;
    in.lastPrice = f.lastPrice;
    in.gl1 = f.gl1;
    if (n >= 1) {
        in.a1Last = f.shortAverage[size_t(n - 1)];
        in.a2Last = f.longAverage[size_t(n - 1)];
    }
    if (n >= 2) {
        in.a1Before = f.shortAverage[size_t(n - 2)];
        in.a2Before = f.longAverage[size_t(n - 2)];
    }
    in.k0 = f.k0;
    in.k1 = f.k1;
    in.k2 = f.k2;
    in.stoch = f.stoch;
    in.windowHigh = f.windowHigh;
    in.windowLow = f.windowLow;
    in.averageVolume = f.averageVolume ? double(*f.averageVolume) : 0.0;
    in.Dividende = f.security.Dividende;
    in.Gewinn = f.security.Gewinn;
    in.CashFlow = f.security.CashFlow;
    in.Aktienzahl = f.security.Aktienzahl;
    in.indexChange = indexChange;
    in.trendLine = endOf(l.trend);
    in.macdLine = endOf(l.macd.macd);
    in.momentumLine = endOf(l.momentum);
    in.rsiLine = endOf(l.rsi);
    in.upperBand = endOf(l.bollinger.upper);
    in.lowerBand = endOf(l.bollinger.lower);
    const std::vector<Candle>& bricks = f.series.renko;
    in.renkoBricks = static_cast<int>(std::min<qint64>(f.renkoCount, std::numeric_limits<int>::max()));
    if (bricks.size() >= 2) {
        const Candle& a = bricks[bricks.size() - 2];
        const Candle& b = bricks.back();
        if (a.rising() && b.rising()) in.renkoRising = 2;
        if (a.falling() && b.falling()) in.renkoRising = -2;
    }
    return in;
}

SecurityAnalysis analyseSecurity(const FillInput& input, const AnalysisSettings& settings, const QDate& today,
                                 double indexChange, bool batch) {
    SecurityAnalysis a;
    a.fill = fuellen(input, settings.fill, today, batch);
    if (!a.fill.enoughPrices) return a;
    a.lines = indicatorLines(a.fill, settings.periods, batch);
    a.rating = bewerten(ratingInput(a.fill, a.lines, indexChange), settings.rating);
    return a;
}

Result<SecurityAnalysis> analyseStored(Store& store, int firma, const AnalysisSettings& settings, const QDate& today,
                                       bool maintain) {
    auto security = readSecurity(store, firma);
    if (!security) return security.status();
    auto indexChange = TrendIndexaktuell(store, settings.KursIndex);
    if (!indexChange) return indexChange.status();
    auto input = readFillInput(store, *security, displayStartOf(settings.fill, today));
    if (!input) return input.status();
    SecurityAnalysis a = analyseSecurity(*input, settings, today, *indexChange);
    if (maintain) Q_TRY(applyFillMaintenance(store, firma, a.fill.maintenance));
    return a;
}

}  // namespace q
