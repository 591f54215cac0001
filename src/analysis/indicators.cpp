#include "analysis/indicators.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace q::indicators {

double Line::last() const {
    Q_ASSERT(!values.empty());
    return values.empty() ? 0.0 : values.back();
}

double Line::beforeLast() const {
    Q_ASSERT(values.size() >= 2);
    return values.size() < 2 ? 0.0 : values[values.size() - 2];
}

double Line::at(int i) const {
    Q_ASSERT(i >= first && i < first + count());
    return values[static_cast<size_t>(i - first)];
}

namespace {

int size(std::span<const double> x) { return static_cast<int>(x.size()); }

// A moving average that starts with the mean of the first n values and then moves
// by alpha towards each new value.
Line smoothed(std::span<const double> x, int n, double alpha) {
    Line line;
    if (n < 1 || size(x) < n) return line;
    line.first = n - 1;
    line.values.reserve(x.size() - static_cast<size_t>(n) + 1);
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += x[static_cast<size_t>(i)];
    double value = sum / n;
    line.values.push_back(value);
    for (size_t i = static_cast<size_t>(n); i < x.size(); ++i) {
        value += alpha * (x[i] - value);
        line.values.push_back(value);
    }
    return line;
}

// The line of `inner` moved to stand beside a series that has `offset` more values
// in front (a line over the changes x[1..] stands beside x).
Line shifted(Line inner, int offset) {
    inner.first += offset;
    return inner;
}

}  // namespace

Line sma(std::span<const double> x, int n) {
    Line line;
    if (n < 1 || size(x) < n) return line;
    line.first = n - 1;
    line.values.reserve(x.size() - static_cast<size_t>(n) + 1);
    // Sums of the values less the first one keep the sums small, so that adding and
    // removing thousands of values loses no digits that matter.
    const double shift = x[0];
    double sum = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        sum += x[i] - shift;
        if (i >= static_cast<size_t>(n)) sum -= x[i - static_cast<size_t>(n)] - shift;
        if (i + 1 >= static_cast<size_t>(n)) line.values.push_back(shift + sum / n);
    }
    return line;
}

Line ema(std::span<const double> x, int n) { return smoothed(x, n, 2.0 / (n + 1.0)); }

Line wilder(std::span<const double> x, int n) { return smoothed(x, n, 1.0 / n); }

Line stddev(std::span<const double> x, int n) {
    Line line;
    if (n < 1 || size(x) < n) return line;
    line.first = n - 1;
    line.values.reserve(x.size() - static_cast<size_t>(n) + 1);
    const double shift = x[0];
    double sum = 0, squares = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        const double in = x[i] - shift;
        sum += in;
        squares += in * in;
        if (i >= static_cast<size_t>(n)) {
            const double out = x[i - static_cast<size_t>(n)] - shift;
            sum -= out;
            squares -= out * out;
        }
        if (i + 1 < static_cast<size_t>(n)) continue;
        const double mean = sum / n;
        // Rounding may leave a hair below 0 where all values are equal.
        line.values.push_back(std::sqrt(std::max(0.0, squares / n - mean * mean)));
    }
    return line;
}

Line momentum(std::span<const double> x, int n) {
    Line line;
    if (n < 1 || size(x) <= n) return line;
    line.first = n;
    for (size_t i = static_cast<size_t>(n); i < x.size(); ++i) line.values.push_back(x[i] - x[i - static_cast<size_t>(n)]);
    return line;
}

Line trend(std::span<const double> x, int n) {
    Line line;
    if (n < 2 || size(x) < n) return line;
    line.first = n - 1;
    // Over the window j = i − n + 1 … i with t = j − (i − n + 1) = 0 … n − 1:
    // slope = Σ (t − t̄)(y − ȳ) ÷ Σ (t − t̄)², value at t = n − 1 is ȳ + slope × (n − 1) ÷ 2.
    // S0 = Σ y and S1 = Σ t·y are moved along: when the window moves one on, every t
    // drops by one (S1 −= S0 without the leaving value) and the new value enters at
    // t = n − 1.
    const double shift = x[0];
    const double tMean = (n - 1) / 2.0;
    const double tSquares = n * (static_cast<double>(n) * n - 1.0) / 12.0;
    double s0 = 0, s1 = 0;
    for (int t = 0; t < n; ++t) {
        const double y = x[static_cast<size_t>(t)] - shift;
        s0 += y;
        s1 += t * y;
    }
    for (size_t i = static_cast<size_t>(n) - 1;; ++i) {
        const double slope = (s1 - tMean * s0) / tSquares;
        line.values.push_back(shift + s0 / n + slope * tMean);
        if (i + 1 >= x.size()) break;
        const double leaving = x[i + 1 - static_cast<size_t>(n)] - shift;
        const double entering = x[i + 1] - shift;
        s1 -= s0 - leaving;
        s0 += entering - leaving;
        s1 += (n - 1) * entering;
    }
    return line;
}

Bands bollinger(std::span<const double> x, int n, double k) {
    Bands b;
    b.middle = sma(x, n);
    const Line deviation = stddev(x, n);
    b.upper = b.middle;
    b.lower = b.middle;
    for (int i = 0; i < b.middle.count(); ++i) {
        const double d = k * deviation.values[static_cast<size_t>(i)];
        b.upper.values[static_cast<size_t>(i)] += d;
        b.lower.values[static_cast<size_t>(i)] -= d;
    }
    return b;
}

Line rsi(std::span<const double> x, int n) {
    Line line;
    if (n < 1 || size(x) <= n) return line;
    std::vector<double> gains, losses;
    gains.reserve(x.size() - 1);
    losses.reserve(x.size() - 1);
    for (size_t i = 1; i < x.size(); ++i) {
        const double change = x[i] - x[i - 1];
        gains.push_back(change > 0 ? change : 0.0);
        losses.push_back(change < 0 ? -change : 0.0);
    }
    const Line gain = wilder(gains, n);
    const Line loss = wilder(losses, n);
    line.first = gain.first + 1;
    line.values.reserve(gain.values.size());
    for (size_t i = 0; i < gain.values.size(); ++i) {
        const double g = gain.values[i], l = loss.values[i];
        line.values.push_back(g + l > 0 ? 100.0 * g / (g + l) : 50.0);
    }
    return line;
}

Macd macd(std::span<const double> x, int periodA, int periodB, int signal) {
    Macd m;
    const int fast = std::min(periodA, periodB);
    const int slow = std::max(periodA, periodB);
    const Line f = ema(x, fast);
    const Line s = ema(x, slow);
    if (f.empty() || s.empty()) return m;
    m.macd.first = s.first;
    for (int i = s.first; i < s.first + s.count(); ++i) m.macd.values.push_back(f.at(i) - s.at(i));
    m.signal = shifted(ema(m.macd.values, signal), m.macd.first);
    if (m.signal.empty()) m.signal.first = 0;
    return m;
}

Adx adx(std::span<const double> high, std::span<const double> low, std::span<const double> close, int n) {
    Adx a;
    const size_t bars = std::min({high.size(), low.size(), close.size()});
    if (n < 1 || bars < static_cast<size_t>(n) + 1) return a;
    // Movements from bar 1 on; index k of these vectors is bar k + 1.
    std::vector<double> tr, plus, minus;
    for (size_t i = 1; i < bars; ++i) {
        const double prevClose = close[i - 1];
        tr.push_back(std::max(high[i], prevClose) - std::min(low[i], prevClose));
        const double up = high[i] - high[i - 1];
        const double down = low[i - 1] - low[i];
        plus.push_back(up > down && up > 0 ? up : 0.0);
        minus.push_back(down > up && down > 0 ? down : 0.0);
    }
    // Wilder's sums: the first n movements added, then S − S ÷ n + value.
    double sTr = 0, sPlus = 0, sMinus = 0;
    const size_t un = static_cast<size_t>(n);
    std::vector<double> dx;
    a.plusDI.first = a.minusDI.first = a.dx.first = n;
    for (size_t k = 0; k < tr.size(); ++k) {
        if (k < un) {
            sTr += tr[k];
            sPlus += plus[k];
            sMinus += minus[k];
            if (k + 1 < un) continue;
        } else {
            sTr += tr[k] - sTr / n;
            sPlus += plus[k] - sPlus / n;
            sMinus += minus[k] - sMinus / n;
        }
        const double pdi = sTr > 0 ? 100.0 * sPlus / sTr : 0.0;
        const double mdi = sTr > 0 ? 100.0 * sMinus / sTr : 0.0;
        a.plusDI.values.push_back(pdi);
        a.minusDI.values.push_back(mdi);
        a.dx.values.push_back(pdi + mdi > 0 ? 100.0 * std::fabs(pdi - mdi) / (pdi + mdi) : 0.0);
    }
    a.adx = shifted(wilder(a.dx.values, n), n);
    if (a.adx.empty()) a.adx.first = 0;
    return a;
}

}  // namespace q::indicators
