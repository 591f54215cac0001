// The series the price chart draws that the fill pass computes itself: buy and sell
// marks, the stochastic lines, Renko bricks, candles and volume bars. Data only; the
// chart draws them. x values are day numbers (a Renko brick's carries a fraction,
// so that several bricks of one day stand side by side).
#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

namespace q {

struct ChartPoint {
    double x = 0;  // day number
    double y = 0;
};

struct Candle {
    double x = 0;  // day number
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
    bool rising() const { return close > open; }
    bool falling() const { return close < open; }
};

struct ChartSeries {
    std::vector<ChartPoint> buyMarks;   // "Kaufen"
    std::vector<ChartPoint> sellMarks;  // "Verkauf"
    std::vector<ChartPoint> stochastic; // "Stochastik": Stoch per displayed day
    std::vector<ChartPoint> fastK;      // "Fast Stochastik %K"
    std::vector<ChartPoint> fastD;      // "Fast Stochastik %D"
    std::vector<ChartPoint> slow;       // "Slow Stochastik"
    std::vector<Candle> renko;          // "Renko"
    std::vector<Candle> candles;        // "Kerzen"
    std::vector<ChartPoint> volumes;    // "Volumen"
};

// Renko bricks of the displayed prices (days and prices of equal length, the display
// range from `firstDisplayed`). The reference r starts at the price before the display
// range (the first price when there is none); for each displayed price p with
// q = percent ÷ 100: a rise p − r > q × r adds round((p − r) ÷ b) rising bricks of
// size b = q × p from r upwards, a fall r − p > q × r as many falling bricks of size
// b = q × r downwards; either sets r = p. A move of exactly q × r adds none.
// The brick is measured on the higher of the two prices, so one move gives at most
// 100 ÷ percent bricks (measured on the lower price a fall from 40 to 1 at 1 % would
// give 3,900). A reference of 0 or less gives no bricks at all; a later price of 0
// or less is skipped.
std::vector<Candle> renkoBricks(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int percent);

// What the rating reads of the same bricks: their number and the last two (fewer
// when there are fewer), without keeping a brick per move of a long series.
struct RenkoTail {
    qint64 count = 0;
    std::vector<Candle> last;  // the last two bricks, in order
};
RenkoTail renkoTail(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int percent);

// Candles of `perCandle` price rows each, counted from the first row: open and close
// the group's first and last price, high and low its extremes, dated with its last
// row; a candle is kept when that date is displayed. Rows after the last complete
// group form none. perCandle 1 (candles from the intraday files) gives none here.
std::vector<Candle> groupCandles(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int perCandle);

}  // namespace q
