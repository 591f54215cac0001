// The rating rules one by one, on a neutral security: every switch off, the trend
// line rising (rule 5: +1), the index flat, the Bollinger bands wide open. That one
// rates R = 3 + 1 = 4, index 4 × 20 = 80; each test changes what its rule reads.
#include "analysis/rating.h"

#include <gtest/gtest.h>

using namespace q;

namespace {

RatingSettings allOff() {
    RatingSettings s;
    for (bool* b : {&s.DividentePlus, &s.GewinnPlus, &s.CashFlowPlus, &s.MarktPlus, &s.BewertGL, &s.BewertGL1,
                    &s.BewertStochU, &s.BewertStochO, &s.BewertStochM, &s.BewertStochP, &s.RenkoTrend, &s.BewertUmsatz,
                    &s.BewertMACD, &s.BewertMoment, &s.BewertTrend, &s.BewertRSIP, &s.BewertRSIM, &s.BewertBolling,
                    &s.HochTief})
        *b = false;
    return s;
}

LineEnd line(int count, double beforeLast, double last) { return LineEnd{count, last, beforeLast}; }

RatingInput neutral() {
    RatingInput in;
    in.n = 10;
    in.lastPrice = 100;
    in.gl1 = 100;
    in.a1Before = in.a2Before = in.a1Last = in.a2Last = 100;
    in.k0 = in.k1 = in.k2 = in.stoch = 50;
    in.trendLine = line(3, 100, 101);
    in.upperBand = line(3, 120, 120);
    in.lowerBand = line(3, 80, 80);
    return in;
}

class Rules : public ::testing::Test {
protected:
    int rate() { return bewerten(in, s).rawR; }
    RatingInput in = neutral();
    RatingSettings s = allOff();
};

}  // namespace

TEST_F(Rules, EveryRuleOffRatesFourWithIndexEighty) {
    const Rating r = bewerten(in, s);
    EXPECT_EQ(r.R, 4);
    EXPECT_DOUBLE_EQ(r.index, 80);
    EXPECT_EQ(r.picture, 3);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(r.steps, QStringList{"Regel 5: +1"});
    in.trendLine = line(3, 101, 100);
    EXPECT_EQ(rate(), 2);
}

TEST_F(Rules, FundamentalsAddPointsOrTakeExactlyOne) {
    s.DividentePlus = s.GewinnPlus = s.CashFlowPlus = s.MarktPlus = true;
    s.DividentePunkte = s.GewinnPunkte = s.CashFlowPunkte = s.MarktPunkte = 2;
    // Yield 5 × 100 / 100 = 5 % > 4 %: +2. P/E 100 / 10 = 10 < 15: +2; P/CF 100 / 20 = 5: +2.
    // 50 million shares × 100 = 5 billion, above 100 million: +1 (never the points).
    in.Dividende = 5;
    in.Gewinn = 10;
    in.CashFlow = 20;
    in.Aktienzahl = 50e6;
    EXPECT_EQ(rate(), 4 + 2 + 2 + 2 + 1);
    // Yield exactly 4 % is no more than 4 %; P/E 20 and P/CF 16 take exactly 1 each; a
    // company worth 100 × 900,000 = 90 million takes the points.
    in.Dividende = 4;
    in.Gewinn = 5;
    in.CashFlow = 100.0 / 16;
    in.Aktienzahl = 900000;
    EXPECT_EQ(rate(), 4 - 1 - 1 - 2);
    // Losses and no share count: the rules do not apply.
    in.Gewinn = -3;
    in.CashFlow = 0;
    in.Aktienzahl = 0;
    EXPECT_EQ(rate(), 4);
}

TEST_F(Rules, AveragesCrossingAndPriceAgainstTheShortAverage) {
    s.BewertGL = s.BewertGL1 = true;
    s.BewertGLPunkt = 3;
    s.BewertGLPunkt1 = 2;
    in.a1Before = 99;  // below the long average the day before, on it now: +3
    EXPECT_EQ(rate(), 4 + 3);
    in.a1Before = 101;  // from above onto it: −3
    EXPECT_EQ(rate(), 4 - 3);
    in.a1Before = 100;
    in.gl1 = 95;  // price above the short average: +2
    EXPECT_EQ(rate(), 4 + 2);
    in.gl1 = 105;
    EXPECT_EQ(rate(), 4 - 2);
    // With two prices only, rules 5 to 7 are left out.
    in.n = 2;
    EXPECT_EQ(rate(), 3);
}

TEST_F(Rules, ReferenceIndex) {
    in.indexChange = 1.2;
    EXPECT_EQ(rate(), 5);
    in.indexChange = -1.5;
    EXPECT_EQ(rate(), 3);
    in.indexChange = 0;  // what TrendIndexaktuell makes of +0,8 %
    EXPECT_EQ(rate(), 4);
}

TEST_F(Rules, Stochastic) {
    s.BewertStochU = s.BewertStochO = s.BewertStochM = s.BewertStochP = true;
    s.BewertStochPunktU = 1;
    s.BewertStochPunktO = 2;
    s.BewertStochPunktM = 4;
    s.BewertStochPunktP = 8;
    // Rising from zero: K2 = 3 below 5, Stoch 21 above 0 and above 20: +1.
    in.k2 = 3;
    in.k1 = 20;
    in.k0 = 40;
    in.stoch = 21;
    EXPECT_EQ(rate(), 4 + 1);
    // Reaching 100: K0 = 98 above 95 and above Stoch 85, which is above 80: −2 − 8.
    in.k2 = 60;
    in.k1 = 97;
    in.k0 = 98;
    in.stoch = 85;
    EXPECT_EQ(rate(), 4 - 2 - 8);
    // Low: Stoch 15 below 20 (+4), K0 = 10 below Stoch? no: K0 10 < 15, no rule 10.
    in.k2 = 20;
    in.k1 = 15;
    in.k0 = 10;
    in.stoch = 15;
    EXPECT_EQ(rate(), 4 + 4);
}

TEST_F(Rules, RenkoAndTurnover) {
    s.RenkoTrend = s.BewertUmsatz = true;
    s.RenkoPunkte = 2;
    s.BewertUmsatzPunkt = 3;
    in.renkoBricks = 3;
    in.renkoRising = 2;
    EXPECT_EQ(rate(), 6);
    in.renkoRising = -2;
    EXPECT_EQ(rate(), 2);
    in.renkoBricks = 2;  // two bricks are no trend yet
    EXPECT_EQ(rate(), 4);
    // Turnover 1,000 × 100 = 100,000 below 500,000: −3; 10,000 × 100 is enough.
    in.averageVolume = 1000;
    EXPECT_EQ(rate(), 1);
    in.averageVolume = 10000;
    EXPECT_EQ(rate(), 4);
    in.averageVolume = 0;  // no volumes: no turnover to judge
    EXPECT_EQ(rate(), 4);
}

TEST_F(Rules, BandsMacdMomentumTrendAndRsi) {
    // Rule 15: lower × 1,05 ≥ upper: +1 when R is above 3 at that point, else −1.
    in.upperBand = line(3, 104, 104);
    in.lowerBand = line(3, 100, 100);
    EXPECT_EQ(rate(), 5);
    in.trendLine = line(3, 101, 100);  // R = 2 when rule 15 is reached
    EXPECT_EQ(rate(), 1);
    in = neutral();

    s.BewertMACD = s.BewertMoment = s.BewertTrend = true;
    s.BewertMACDPunkt = 2;
    s.BewertMomentPunkt = 3;
    s.BewertTrendPunkt = 1;
    // MACD rising through zero: +2 + 1; momentum falling through zero: −3 − 1; trend +1.
    in.macdLine = line(3, -0.5, 0.5);
    in.momentumLine = line(3, 2, -1);
    EXPECT_EQ(rate(), 4 + 3 - 4 + 1);
    in.macdLine = line(2, -0.5, 0.5);  // too few values: rule 16 left out
    EXPECT_EQ(rate(), 4 - 4 + 1);
    in = neutral();

    s = allOff();
    s.BewertRSIP = s.BewertRSIM = true;
    s.BewertRSIPunktP = 2;
    s.BewertRSIPunktM = 3;
    in.rsiLine = line(2, 60, 70);  // at 70: −2
    EXPECT_EQ(rate(), 2);
    in.rsiLine = line(2, 40, 30);  // at 30: +3
    EXPECT_EQ(rate(), 7);
    in.rsiLine = line(1, 0, 30);  // one value is not enough
    EXPECT_EQ(rate(), 4);
}

TEST_F(Rules, BollingerNetsZeroInsideTheBands) {
    s.BewertBolling = true;
    s.BewertBollingPunkt = 2;
    EXPECT_EQ(rate(), 4);  // inside: −2 + 2
    in.lastPrice = 120;  // exactly on the upper band, above the lower: −2 + 2
    in.gl1 = 120;
    EXPECT_EQ(rate(), 4);
    in.lastPrice = in.gl1 = 130;  // above the upper band: +2
    EXPECT_EQ(rate(), 6);
    in.lastPrice = in.gl1 = 70;  // below the lower band: −2
    EXPECT_EQ(rate(), 2);
    // Bands closer than 5 % of the price: +2 more when R is above 3, else −2.
    in.lastPrice = in.gl1 = 100;
    in.upperBand = line(2, 102, 102);
    in.lowerBand = line(2, 99, 99);
    EXPECT_EQ(rate(), 4 + 1 + 2);  // rule 15 +1 (99 × 1,05 ≥ 102), then the squeeze +2
}

TEST_F(Rules, AMissingLineSetsThreeAndSkipsTheRest) {
    s.DividentePlus = true;
    in.Dividende = 10;  // +1 before the failure, lost with it
    in.trendLine = line(1, 0, 101);
    Rating r = bewerten(in, s);
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.R, 3);
    EXPECT_DOUBLE_EQ(r.index, 60);
    in = neutral();
    in.upperBand = LineEnd{};
    in.indexChange = 5;
    r = bewerten(in, s);
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.R, 3);
    EXPECT_EQ(r.picture, 5);
}

TEST(RatingDisplay, PicturesAndIndex) {
    EXPECT_EQ(ratingPicture(5), 1);
    EXPECT_EQ(ratingPicture(4), 3);
    EXPECT_EQ(ratingPicture(3), 5);
    EXPECT_EQ(ratingPicture(2), 4);
    EXPECT_EQ(ratingPicture(1), 2);
    EXPECT_EQ(ratingPicture(7), 1);

    // R = 3 − 1 (trend falling) − 4 (price below the short average) = −2 shows 1 with
    // picture 2, index 20; R = 3 + 1 + 2 + 1 (index rising) = 7 keeps 7, picture 1,
    // index 140.
    RatingSettings s = allOff();
    s.BewertGL1 = true;
    s.BewertGLPunkt1 = 4;
    RatingInput in = neutral();
    in.trendLine = line(3, 101, 100);
    in.gl1 = 110;
    Rating r = bewerten(in, s);
    EXPECT_EQ(r.rawR, -2);
    EXPECT_EQ(r.R, 1);
    EXPECT_EQ(r.picture, 2);
    EXPECT_DOUBLE_EQ(r.index, 20);
    in = neutral();
    s.BewertGLPunkt1 = 2;
    in.indexChange = 2;
    in.gl1 = 90;
    r = bewerten(in, s);
    EXPECT_EQ(r.R, 7);
    EXPECT_EQ(r.picture, 1);
    EXPECT_DOUBLE_EQ(r.index, 140);

    // HochTief: window 90 … 120 around 100: X = 120 + 90 = 210, I = 4 × 210 × 0,1 = 84.
    s = allOff();
    s.HochTief = true;
    in = neutral();
    in.windowHigh = 120;
    in.windowLow = 90;
    EXPECT_NEAR(bewerten(in, s).index, 84, 1e-12);
    in.windowLow = 0;  // no window low: R × 20
    EXPECT_DOUBLE_EQ(bewerten(in, s).index, 80);
}
