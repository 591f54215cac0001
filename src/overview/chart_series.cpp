#include "overview/chart_series.h"

#include "base/formats.h"

#include <algorithm>

namespace q {

namespace {

// One move of renkoBricks(): c bricks of size b from the reference r, on `day`.
struct RenkoMove {
    double day, r, b;
    int c;
    bool rising;
    Candle brick(int j) const {
        const double x = day + double(j - 1) / c;
        if (rising) return {x, r + (j - 1) * b, r + j * b, r + (j - 1) * b, r + j * b};
        return {x, r - (j - 1) * b, r - (j - 1) * b, r - j * b, r - j * b};
    }
};

// The walk of renkoBricks(), handing each move to `emit` in order.
template <typename Emit>
void walkRenko(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int percent, Emit emit) {
    const int n = static_cast<int>(prices.size());
    if (n == 0 || percent <= 0 || firstDisplayed >= n) return;
    const double q = percent / 100.0;
    double r = prices[static_cast<size_t>(firstDisplayed > 0 ? firstDisplayed - 1 : 0)];
    if (r <= 0) return;
    for (int i = firstDisplayed; i < n; ++i) {
        const double p = prices[static_cast<size_t>(i)];
        if (p <= 0) continue;
        const double day = days[static_cast<size_t>(i)];
        if (p - r > q * r) {
            const double b = q * p;
            emit(RenkoMove{day, r, b, static_cast<int>(roundHalfEven((p - r) / b, 0)), true});
            r = p;
        }
        if (r - p > q * r) {
            const double b = q * r;
            emit(RenkoMove{day, r, b, static_cast<int>(roundHalfEven((r - p) / b, 0)), false});
            r = p;
        }
    }
}

}  // namespace

std::vector<Candle> renkoBricks(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int percent) {
    std::vector<Candle> bricks;
    walkRenko(days, prices, firstDisplayed, percent, [&](const RenkoMove& m) {
        for (int j = 1; j <= m.c; ++j) bricks.push_back(m.brick(j));
    });
    return bricks;
}

RenkoTail renkoTail(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int percent) {
    RenkoTail tail;
    Candle before{}, lastBrick{};
    walkRenko(days, prices, firstDisplayed, percent, [&](const RenkoMove& m) {
        if (m.c <= 0) return;
        before = m.c >= 2 ? m.brick(m.c - 1) : lastBrick;
        lastBrick = m.brick(m.c);
        tail.count += m.c;
    });
    if (tail.count >= 2) tail.last.push_back(before);
    if (tail.count >= 1) tail.last.push_back(lastBrick);
    return tail;
}

std::vector<Candle> groupCandles(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int perCandle) {
    std::vector<Candle> candles;
    if (perCandle < 2) return candles;
    const size_t group = static_cast<size_t>(perCandle);
    for (size_t start = 0; start + group <= prices.size(); start += group) {
        const size_t end = start + group - 1;
        if (static_cast<int>(end) < firstDisplayed) continue;
        const auto span = prices.subspan(start, group);
        const auto [low, high] = std::minmax_element(span.begin(), span.end());
        candles.push_back({double(days[end]), prices[start], *high, *low, prices[end]});
    }
    return candles;
}

}  // namespace q
