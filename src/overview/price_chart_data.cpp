#include "overview/price_chart_data.h"

#include "base/formats.h"
#include "portfolio/currency.h"

#include <numeric>

namespace q {

namespace {

// The points of a line over the displayed prices of `fill`.
std::vector<ChartPoint> pointsOf(const FillResult& fill, const indicators::Line& line) {
    std::vector<ChartPoint> points;
    points.reserve(line.values.size());
    for (int k = 0; k < line.count(); ++k)
        points.push_back({double(fill.days[size_t(fill.firstDisplayed + line.first + k)]), line.values[size_t(k)]});
    return points;
}

// Displayed values of a per-row series (the averages).
std::vector<ChartPoint> displayed(const FillResult& fill, const std::vector<double>& values) {
    std::vector<ChartPoint> points;
    points.reserve(size_t(fill.count() - fill.firstDisplayed));
    for (int i = fill.firstDisplayed; i < fill.count(); ++i) points.push_back({double(fill.days[size_t(i)]), values[size_t(i)]});
    return points;
}

}  // namespace

const std::vector<ChartPoint>& PriceChartData::line(const QString& name) const {
    static const std::vector<ChartPoint> none;
    const auto it = lines.find(name);
    return it == lines.end() ? none : it->second;
}

PriceChartData priceChartData(const SecurityAnalysis& a, const PriceChartOptions& o) {
    const FillResult& f = a.fill;
    const IndicatorLines& l = a.lines;
    PriceChartData d;
    d.firma = f.security.Firma;
    d.title = f.security.FirmenName;
    d.upperLimit = f.security.Oberes_Limit;
    d.lowerLimit = f.security.Unteres_Limit;
    const ChartSeries& s = f.series;
    d.lines[series::Kurs] = displayed(f, f.prices);
    d.lines[series::Durchschnitt1] = displayed(f, f.shortAverage);
    d.lines[series::Durchschnitt2] = displayed(f, f.longAverage);
    d.lines[series::Kaufen] = s.buyMarks;
    d.lines[series::Verkauf] = s.sellMarks;
    d.lines[series::Volumen] = s.volumes;
    d.lines[series::Stochastik] = s.stochastic;
    d.lines[series::FastK] = s.fastK;
    d.lines[series::FastD] = s.fastD;
    d.lines[series::Slow] = s.slow;
    d.candles = o.intradayCandles ? *o.intradayCandles : s.candles;
    d.renko = s.renko;
    const int reference = std::max(0, f.firstDisplayed - 1);
    if (reference < f.count() && f.prices[size_t(reference)] <= 0)
        d.notices << QStringLiteral("%1: erster Kurs 0, keine Renko-Steine").arg(d.title);

    d.lines[series::Trend] = pointsOf(f, l.trend);
    d.lines[series::Momentum] = pointsOf(f, l.momentum);
    d.lines[series::Standardabw] = pointsOf(f, l.stddev);
    d.lines[series::TrendPlus] = pointsOf(f, l.channelUpper);
    d.lines[series::TrendMinus] = pointsOf(f, l.channelLower);
    d.lines[series::Bollinger] = pointsOf(f, l.bollinger.upper);
    d.lines[series::BollingerUnten] = pointsOf(f, l.bollinger.lower);
    d.lines[series::RSI] = pointsOf(f, l.rsi);
    d.lines[series::MACD] = pointsOf(f, l.macd.macd);
    d.lines[series::Durchschnitt3] = pointsOf(f, l.thirdAverage);
    // The ADX stands beside the candles it was computed from, or beside the prices.
    std::vector<ChartPoint> adx;
    for (int k = 0; k < l.adx.adx.count(); ++k) {
        const int i = l.adx.adx.first + k;
        const double x = s.candles.empty() ? double(f.days[size_t(f.firstDisplayed + i)]) : s.candles[size_t(i)].x;
        adx.push_back({x, l.adx.adx.values[size_t(k)]});
    }
    d.lines[series::ADX] = std::move(adx);
    // "Mittelwert": the mean of the displayed prices, across the whole range.
    const auto shown = f.displayedPrices();
    if (!shown.empty()) {
        const double mean = std::accumulate(shown.begin(), shown.end(), 0.0) / double(shown.size());
        const auto& price = d.lines[series::Kurs];
        d.lines[series::Mittelwert] = {{price.front().x, mean}, {price.back().x, mean}};
    }
    if (!o.currencyFactors.empty()) {
        std::vector<ChartPoint> converted;
        const auto& price = d.lines[series::Kurs];
        for (size_t i = 0; i < price.size() && i < o.currencyFactors.size(); ++i)
            converted.push_back({price[i].x, price[i].y * o.currencyFactors[i]});
        d.lines[series::Waehrung] = std::move(converted);
        d.currencyActive = true;
    }

    if (o.rightAxisPercent && f.firstPrice != 0) {
        const Position& p = f.position;
        const bool held = p.shares != 0 && p.meanBuyPrice != 0;
        const double base = held ? p.meanBuyPrice : f.firstPrice;
        d.rightAxis.percent = true;
        d.rightAxis.title = held ? QStringLiteral("Prozent zum Ankaufskurs") : QStringLiteral("Prozent zum 1.Kurs");
        d.rightAxis.maximum = f.displayHigh * 100 / base - 100;
        d.rightAxis.minimum = f.displayLow * 100 / base - 100;
    }
    return d;
}

Result<std::vector<double>> currencyFactors(const FillResult& fill, CurrencyConverter& converter) {
    std::vector<double> factors;
    const QString symbol = fill.security.Waehrung.trimmed();
    if (symbol.isEmpty() || symbol.compare(converter.settings().homeSymbol, Qt::CaseInsensitive) == 0) return factors;
    for (int i = fill.firstDisplayed; i < fill.count(); ++i) {
        auto rate = converter.toHome(symbol, dateFromDayNumber(fill.days[size_t(i)]));
        if (!rate) return rate.status();
        factors.push_back(*rate > 0 ? *rate : 1.0);
    }
    return factors;
}

void setPriceDrawing(ChartAppearance& look, PriceDrawing drawing) {
    const std::pair<const QString*, PriceDrawing> switched[] = {
        {&series::Kurs, PriceDrawing::Line}, {&series::Kerzen, PriceDrawing::Candles}, {&series::Renko, PriceDrawing::Renko}};
    for (const auto& [name, when] : switched)
        if (SeriesStyle* s = look.find(*name)) s->active = drawing == when;
}

PriceDrawing priceDrawingOf(const ChartAppearance& look) {
    auto on = [&](const QString& name) {
        const SeriesStyle* s = look.find(name);
        return s && s->active;
    };
    return on(series::Renko) ? PriceDrawing::Renko : on(series::Kerzen) ? PriceDrawing::Candles : PriceDrawing::Line;
}

DateAxisLabels dateAxisLabels(double days, bool afterZoom) {
    const double upper = afterZoom ? 365 : 500;
    if (days <= 90) return {1, QStringLiteral("dd.MMM.yy"), false, 0};
    if (days < upper) return {30, afterZoom ? QStringLiteral("MMMM yyyy") : QStringLiteral("MMM yyyy"), false, 0};
    return {365, QStringLiteral("yyyy"), true, 11};
}

}  // namespace q
