#include "portfolio/value_development.h"

#include <gtest/gtest.h>

using namespace q;

// Ten shares bought at 50 on average, now at 60.
TEST(ValueDevelopment, TrialPriceAgainstBuyAndCurrentPrice) {
    // +20 %: 50 × 1.2 = 60, ten shares gain 100 over the buy price, nothing over today.
    ValueDevelopment up = valueDevelopment(10, 50, 60, 200);
    EXPECT_EQ(up.gain.text, " Kurs: 60,00  Ankauf: 50,00  Diff: 20,00%   100,00");
    EXPECT_EQ(up.current.text, " Kurs: 60,00  Akt.Kurs: 60,00  Diff: 0,0%   0,00");
    EXPECT_FALSE(up.gain.red);
    EXPECT_FALSE(up.current.red);

    // −10.5 %: 50 × 0.895 = 44.75; (44.75 − 50) × 10 = −52.50; against 60:
    // 4475 ÷ 60 − 100 = −25.4166…, (44.75 − 60) × 10 = −152.50.
    ValueDevelopment down = valueDevelopment(10, 50, 60, -105);
    EXPECT_EQ(down.gain.text, " Kurs: 44,75  Ankauf: 50,00  Diff: -10,50%   -52,50");
    EXPECT_EQ(down.current.text, " Kurs: 44,75  Akt.Kurs: 60,00  Diff: -25,4%   -152,50");
    EXPECT_TRUE(down.gain.red);
    EXPECT_TRUE(down.current.red);

    // +5 %: 52.50, still below today's 60: the first line black, the second red
    // (5250 ÷ 60 − 100 = −12.5).
    ValueDevelopment mixed = valueDevelopment(10, 50, 60, 50);
    EXPECT_FALSE(mixed.gain.red);
    EXPECT_TRUE(mixed.current.red);
    EXPECT_EQ(mixed.current.text, " Kurs: 52,50  Akt.Kurs: 60,00  Diff: -12,5%   -75,00");
}

TEST(ValueDevelopment, WithoutBuyPriceOrCurrentPrice) {
    // Nothing bought: the trial price moves from the current price 8 (+25 % = 10).
    ValueDevelopment none = valueDevelopment(0, 0, 8, 250);
    EXPECT_EQ(none.gain.text, " Kurs: 10,00  Ankauf: 0,00  Diff: 25,00%   0,00");
    EXPECT_EQ(none.current.text, " Kurs: 10,00  Akt.Kurs: 8,00  Diff: 25,0%   0,00");

    // No current price: a single blank in both lines, whatever else is known.
    ValueDevelopment blank = valueDevelopment(10, 50, 0, -300);
    EXPECT_EQ(blank.gain.text, " ");
    EXPECT_EQ(blank.current.text, " ");
    EXPECT_FALSE(blank.gain.red);
    EXPECT_FALSE(blank.current.red);
}
