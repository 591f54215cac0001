// The indicator lines against golden values computed by R's TTR package from the
// same 300 bars (tools/golden/indicators.R wrote tests/data/analysis/
// indicators_golden.csv), and a few cases small enough to work by hand.
#include "analysis/indicators.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace q::indicators;

namespace {

// The golden file's columns by name; NA (no value yet) is NaN.
std::map<QString, std::vector<double>> golden() {
    std::map<QString, std::vector<double>> columns;
    QFile f(QStringLiteral(QUINTARA_TEST_DATA "/analysis/indicators_golden.csv"));
    if (!f.open(QIODevice::ReadOnly)) return columns;
    const QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList names = lines.value(0).split(QLatin1Char(','));
    for (int l = 1; l < lines.size(); ++l) {
        const QStringList cells = lines[l].split(QLatin1Char(','));
        for (int c = 0; c < names.size(); ++c)
            columns[names[c]].push_back(cells.value(c) == QLatin1String("NA") ? NAN : cells.value(c).toDouble());
    }
    return columns;
}

class Golden : public ::testing::Test {
protected:
    void SetUp() override {
        g = golden();
        ASSERT_EQ(g["close"].size(), 300u);
    }
    // The line has a value exactly where R has one, equal within `tolerance`, from
    // index `from` on (earlier values are only checked for presence).
    void expectLine(const Line& line, const char* column, double tolerance = 1e-9, int from = 0) {
        const std::vector<double>& want = g[QString::fromLatin1(column)];
        int firstR = 0;
        while (firstR < int(want.size()) && std::isnan(want[size_t(firstR)])) ++firstR;
        EXPECT_EQ(line.first, firstR) << column;
        EXPECT_EQ(line.first + line.count(), int(want.size())) << column;
        for (int i = std::max(line.first, from); i < line.first + line.count(); ++i)
            ASSERT_NEAR(line.at(i), want[size_t(i)], tolerance) << column << " index " << i;
    }
    std::map<QString, std::vector<double>> g;
};

}  // namespace

TEST_F(Golden, MovingAveragesDeviationAndMomentum) {
    expectLine(sma(g["close"], 10), "sma10");
    expectLine(ema(g["close"], 10), "ema10");
    expectLine(stddev(g["close"], 7), "sd7");
    expectLine(momentum(g["close"], 7), "momentum7");
}

TEST_F(Golden, TrendLineIsTheLeastSquaresLineOfEachWindow) { expectLine(trend(g["close"], 7), "trend7", 1e-8); }

TEST_F(Golden, BollingerBands) {
    const Bands b = bollinger(g["close"], 20, 2.0);
    expectLine(b.lower, "bbLower20");
    expectLine(b.middle, "bbMiddle20");
    expectLine(b.upper, "bbUpper20");
}

TEST_F(Golden, RsiAndMacd) {
    expectLine(rsi(g["close"], 14), "rsi14");
    // Given the other way round, the shorter period is still the fast one.
    const Macd m = macd(g["close"], 26, 12, 9);
    expectLine(m.macd, "macd");
    expectLine(m.signal, "signal");
}

TEST_F(Golden, AdxAgreesOnceTheSeedOfTheSumsHasFaded) {
    const Adx a = adx(g["high"], g["low"], g["close"], 14);
    // TTR seeds its sums with 13/14 of the first 13 values plus the 14th; the
    // difference to the plain sum shrinks by 13/14 a bar: below 1e-6 after ~200 bars.
    // The ADX smooths the DX once more, so its difference fades later.
    expectLine(a.plusDI, "diPlus14", 1e-6, 200);
    expectLine(a.minusDI, "diMinus14", 1e-6, 200);
    expectLine(a.adx, "adx14", 1e-5, 220);
    // And early on they are near each other already.
    expectLine(a.adx, "adx14", 2.0, 0);
}

TEST(Indicators, WorkedByHand) {
    const std::vector<double> x{10, 11, 13, 12, 14};
    // Averages of 3: (10+11+13)/3 = 11.333…, (11+13+12)/3 = 12, (13+12+14)/3 = 13.
    const Line a = sma(x, 3);
    EXPECT_EQ(a.first, 2);
    ASSERT_EQ(a.count(), 3);
    EXPECT_NEAR(a.at(2), 34.0 / 3, 1e-12);
    EXPECT_DOUBLE_EQ(a.beforeLast(), 12);
    EXPECT_DOUBLE_EQ(a.last(), 13);
    // EMA(3): α = 0.5, seed 34/3, then 34/3 + (12 − 34/3)/2 = 35/3, then 35/3 + (14 − 35/3)/2 = 77/6.
    EXPECT_NEAR(ema(x, 3).last(), 77.0 / 6, 1e-12);
    // Momentum(2): 13−10, 12−11, 14−13.
    EXPECT_EQ(momentum(x, 2).values, (std::vector<double>{3, 1, 1}));
    // Trend of 3 over 13, 12, 14: slope (14 − 13)/2 = 0.5, mean 13, at the end 13.5.
    EXPECT_NEAR(trend(x, 3).last(), 13.5, 1e-12);
    // Population deviation of 12, 14, 13 around 13: √(2/3).
    EXPECT_NEAR(stddev(x, 3).last(), std::sqrt(2.0 / 3), 1e-12);
    // RSI(2): changes +1, +2, −1, +2. Seed gain 1.5, loss 0; then gain 0.75, loss 0.5;
    // then gain 1.375, loss 0.25: 100 × 1.375 / 1.625 = 84.615…
    const Line r = rsi(x, 2);
    EXPECT_EQ(r.first, 2);
    EXPECT_DOUBLE_EQ(r.at(2), 100);
    EXPECT_NEAR(r.at(3), 60, 1e-12);
    EXPECT_NEAR(r.last(), 100 * 1.375 / 1.625, 1e-12);
}

TEST(Indicators, ShortSeriesAndFlatPricesGiveNoNumberThatIsNotOne) {
    const std::vector<double> two{5, 5};
    EXPECT_TRUE(sma(two, 3).empty());
    EXPECT_TRUE(momentum(two, 2).empty());
    EXPECT_TRUE(trend(two, 1).empty());
    EXPECT_TRUE(macd(two, 12, 26).macd.empty());
    EXPECT_TRUE(sma(two, 0).empty());
    const std::vector<double> flat(30, 7.0);
    // No change at all: RSI 50, deviation 0, bands closed, ADX 0.
    EXPECT_DOUBLE_EQ(rsi(flat, 14).last(), 50);
    EXPECT_DOUBLE_EQ(stddev(flat, 5).last(), 0);
    const Bands b = bollinger(flat, 5, 2);
    EXPECT_DOUBLE_EQ(b.upper.last(), b.lower.last());
    const Adx a = adx(flat, flat, flat, 5);
    ASSERT_FALSE(a.adx.empty());
    EXPECT_DOUBLE_EQ(a.adx.last(), 0);
    EXPECT_EQ(a.adx.first, 9);
}
