// One security analysed: the fill pass, the indicator lines of its price chart over
// the prices of the display range, and its rating. What the overview page, the
// price chart, quintara-cli and the rating run all start from.
#pragma once

#include "analysis/indicators.h"
#include "analysis/rating.h"

#include <optional>

namespace q {

// The indicator lines over the chart's price line (the displayed prices). Indexes
// of the lines count from the first displayed price.
struct IndicatorLines {
    indicators::Line trend;         // "Trend"
    indicators::Line momentum;      // "Momentum"
    indicators::Line stddev;        // "Standardabw."
    indicators::Line channelUpper;  // "Trend+Std.Abw.": trend + standard deviation
    indicators::Line channelLower;  // "Trend-Std.Abw.": trend − standard deviation
    indicators::Bands bollinger;    // "Bollinger Bänder"
    indicators::Line rsi;           // "R.S.I."
    indicators::Macd macd;          // "MACD"
    indicators::Line thirdAverage;  // "3. Gl.Durchschnitt"
    indicators::Adx adx;            // "ADX", over the candles where there are some
};

// The lines of `fill` with `periods`. `forRating` computes only what the rating
// reads (trend, momentum, Bollinger, RSI, MACD), as the rating run needs no more.
IndicatorLines indicatorLines(const FillResult& fill, const IndicatorPeriods& periods, bool forRating = false);

// What the rating reads of a fill pass and its lines.
RatingInput ratingInput(const FillResult& fill, const IndicatorLines& lines, double indexChange);

struct SecurityAnalysis {
    FillResult fill;
    IndicatorLines lines;
    std::optional<Rating> rating;  // none with one price or none
};

// The fill pass, the lines and the rating of one security. `batch`: as in the
// rating run (fuellen() and indicatorLines(forRating)).
SecurityAnalysis analyseSecurity(const FillInput& input, const AnalysisSettings& settings, const QDate& today,
                                 double indexChange, bool batch = false);

// The security `firma` of `store` analysed as the overview shows it: its record and
// rows read, the reference index change of `KursIndex`, the fill, lines and rating.
// With `maintain` the writes of the fill follow (fill_maintenance.h): rows with a
// price or date of 0 deleted, the stored long average brought up to date. Fails
// NotFound for an unknown number, or with the store's message.
Result<SecurityAnalysis> analyseStored(Store& store, int firma, const AnalysisSettings& settings, const QDate& today,
                                       bool maintain);

}  // namespace q
