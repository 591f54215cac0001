#include "overview/chart_series.h"

#include "base/formats.h"

#include <algorithm>

namespace q {

namespace {

// The walk of renkoBricks(), handing each brick to `emit` in order.
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
            const int c = static_cast<int>(roundHalfEven((p - r) / b, 0));
            for (int j = 1; j <= c; ++j) emit(Candle{day + double(j - 1) / c, r + (j - 1) * b, r + j * b, r + (j - 1) * b, r + j * b});
            r = p;
        }
        if (r - p > q * r) {
            const double b = q * r;
            const int c = static_cast<int>(roundHalfEven((r - p) / b, 0));
            for (int j = 1; j <= c; ++j) emit(Candle{day + double(j - 1) / c, r - (j - 1) * b, r - (j - 1) * b, r - j * b, r - j * b});
            r = p;
        }
    }
}

}  // namespace

std::vector<Candle> renkoBricks(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int percent) {
    std::vector<Candle> bricks;
    walkRenko(days, prices, firstDisplayed, percent, [&](const Candle& c) { bricks.push_back(c); });
    return bricks;
}

RenkoTail renkoTail(std::span<const int> days, std::span<const double> prices, int firstDisplayed, int percent) {
    RenkoTail tail;
    Candle before{}, lastBrick{};
    walkRenko(days, prices, firstDisplayed, percent, [&](const Candle& c) {
        before = lastBrick;
        lastBrick = c;
        ++tail.count;
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
