// The indicator lines of the price chart and the rating: moving averages, standard
// deviation, momentum, linear trend, Bollinger bands, RSI, MACD and ADX, each over a
// series of values in date order (the prices of the display range). Pure functions:
// no table, no state.
//
// Design notes.
// 1. A Line belongs to the series it was computed from: values[k] stands beside
//    x[first + k]. The first index is where the definition has all it needs; before
//    it there is no value (never a zero or a NaN placeholder).
// 2. A period below 1, or a series too short for even one value, gives an empty
//    line. Callers test count() before reading last() or beforeLast().
// 3. Every value is finite: a division whose divisor is 0 takes the value the
//    definition gives for that case, stated at each function.
// 4. The definitions are the textbook ones. They were checked against R's TTR
//    package (tools/golden/indicators.R); where ours differs, the function says so.
#pragma once

#include <span>
#include <vector>

namespace q::indicators {

struct Line {
    int first = 0;               // index into the input of values[0]
    std::vector<double> values;  // values[k] belongs to input index first + k

    int count() const { return static_cast<int>(values.size()); }
    bool empty() const { return values.empty(); }
    // Requires count() >= 1.
    double last() const;
    // Requires count() >= 2.
    double beforeLast() const;
    // The value beside input index i. Requires first <= i < first + count().
    double at(int i) const;
};

// Simple moving average: the mean of the last n values. First index n − 1.
// TTR: SMA(x, n).
Line sma(std::span<const double> x, int n);

// Exponential moving average with α = 2 ÷ (n + 1), seeded with the simple average
// of the first n values at index n − 1. TTR: EMA(x, n).
Line ema(std::span<const double> x, int n);

// Wilder's smoothing: α = 1 ÷ n, seeded like ema(). TTR: EMA(x, n, wilder = TRUE).
Line wilder(std::span<const double> x, int n);

// Standard deviation of the last n values around their mean, dividing by n (the
// population deviation, as Bollinger bands use it). First index n − 1; 0 for equal
// values. TTR: runSD(x, n, sample = FALSE).
Line stddev(std::span<const double> x, int n);

// Momentum: x[i] − x[i − n], the change over n values; its zero line is the
// "Mittellinie". First index n. TTR: momentum(x, n).
Line momentum(std::span<const double> x, int n);

// Linear trend: the least-squares straight line through the last n values, taken
// at the newest of them (a rising line rises with the trend). First index n − 1;
// needs n ≥ 2. Checked against R's lm() over each window.
Line trend(std::span<const double> x, int n);

// Bollinger bands: middle = sma(x, n), upper and lower = middle ± k × stddev(x, n).
// First index n − 1. TTR: BBands(x, n, sd = k).
struct Bands {
    Line middle;
    Line upper;
    Line lower;
};
Bands bollinger(std::span<const double> x, int n, double k);

// Relative strength index after Wilder: the gains and losses of the changes
// x[i] − x[i − 1], each smoothed with wilder(n) (seeded with the mean of the first n
// changes), RSI = 100 × gain ÷ (gain + loss); 50 when both are 0 (no change at all,
// where TTR gives no number). First index n. TTR: RSI(x, n).
Line rsi(std::span<const double> x, int n);

// MACD: ema(x, fast) − ema(x, slow), and its signal line ema(macd, signal). The
// shorter of the two periods is the fast one, whichever way they are given. First
// index slow − 1, of the signal slow + signal − 2. TTR: MACD(x, fast, slow, signal,
// percent = FALSE).
struct Macd {
    Line macd;
    Line signal;
};
Macd macd(std::span<const double> x, int periodA, int periodB, int signal = 9);

// Average directional index after Wilder over bars (high, low, close of equal
// length). From the second bar on: true range TR = max(high, previous close) −
// min(low, previous close); +DM = high − previous high when that is above both 0 and
// previous low − low, else 0; −DM likewise. TR, +DM and −DM are summed with Wilder's
// sums (the plain sum of the first n, then S − S ÷ n + value), DI± = 100 × DM ÷ TR
// (0 when TR is 0), DX = 100 × |DI+ − DI−| ÷ (DI+ + DI−) (0 when both are 0), and the
// ADX is wilder(DX, n). First index of DI and DX: n; of the ADX: 2n − 1.
// TTR differs on purpose in the seed of its sums (it starts from (n − 1) ÷ n of the
// first n − 1 values plus the n-th); the two agree once the seed has faded, which
// the tests allow for.
struct Adx {
    Line plusDI;
    Line minusDI;
    Line dx;
    Line adx;
};
Adx adx(std::span<const double> high, std::span<const double> low, std::span<const double> close, int n);

}  // namespace q::indicators
