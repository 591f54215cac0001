// The time-weighted and the internal rate of return on hand-worked flows.
#include "portfolio/performance.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace q;

namespace {

QDate day(int y, int m, int d) { return QDate(y, m, d); }

}  // namespace

TEST(Performance, ASingleBuyHeldAYear) {
    // 1000 bought on 01.01.2021, worth 1210 a year later (365 days): 21 % both ways.
    const std::vector<std::pair<QDate, double>> values = {{day(2021, 1, 1), 1000}, {day(2022, 1, 1), 1210}};
    const std::vector<DayFlow> flows = {{day(2021, 1, 1), 1000, 0}};
    EXPECT_NEAR(*ttwror(values, flows, day(2021, 1, 1), day(2022, 1, 1)), 21.0, 1e-9);
    EXPECT_NEAR(*irr(values, flows, day(2021, 1, 1), day(2022, 1, 1)), 21.0, 1e-6);
}

TEST(Performance, ASecondPurchaseChangesTheIrrButNotTheTimeWeightedReturn) {
    // +10 % to 30.06., 1100 more bought on 01.07., +10 % to 31.12.: the holdings grew
    // 1,1 × 1,1 = 21 % whatever the money put in.
    const std::vector<std::pair<QDate, double>> values = {
        {day(2021, 1, 1), 1000}, {day(2021, 6, 30), 1100}, {day(2021, 7, 1), 2200}, {day(2021, 12, 31), 2420}};
    const std::vector<DayFlow> flows = {{day(2021, 1, 1), 1000, 0}, {day(2021, 7, 1), 1100, 0}};
    EXPECT_NEAR(*ttwror(values, flows, day(2021, 1, 1), day(2021, 12, 31)), 21.0, 1e-9);
    // −1000 at day 0, −1100 at day 181, +2420 at day 364: r solves the sum.
    const double r = *irr(values, flows, day(2021, 1, 1), day(2021, 12, 31)) / 100.0;
    const double sum = -1000 - 1100 * std::pow(1 + r, -181.0 / 365) + 2420 * std::pow(1 + r, -364.0 / 365);
    EXPECT_NEAR(sum, 0.0, 1e-6);
    // Half the money worked only half the year: more than 21 % a year.
    EXPECT_GT(r, 0.21);
    // A sale and a dividend count as inflows of their day: sold all for 2420 on
    // 31.12. leaves the measures unchanged.
    std::vector<DayFlow> sold = flows;
    sold.push_back({day(2021, 12, 31), 0, 2420});
    std::vector<std::pair<QDate, double>> emptied = values;
    emptied.back().second = 0;
    EXPECT_NEAR(*ttwror(emptied, sold, day(2021, 1, 1), day(2021, 12, 31)), 21.0, 1e-9);
    EXPECT_NEAR(*irr(emptied, sold, day(2021, 1, 1), day(2021, 12, 31)) / 100.0, r, 1e-6);
}

TEST(Performance, ATotalLossHasNoInternalRate) {
    const std::vector<std::pair<QDate, double>> values = {{day(2021, 1, 1), 1000}, {day(2021, 6, 1), 0}};
    const std::vector<DayFlow> flows = {{day(2021, 1, 1), 1000, 0}};
    EXPECT_NEAR(*ttwror(values, flows, day(2021, 1, 1), day(2021, 12, 31)), -100.0, 1e-9);
    EXPECT_FALSE(irr(values, flows, day(2021, 1, 1), day(2021, 12, 31)).has_value());
    // Nothing held at all: no figure either.
    EXPECT_FALSE(ttwror({}, {}, day(2021, 1, 1), day(2021, 12, 31)).has_value());
    EXPECT_FALSE(solveRate({{0, 100}, {365, 50}}).has_value());
}
