// The limit scan's rules on hand-made securities: which are examined, what the
// answers move, and how the answer carries over.
#include "portfolio/limits.h"
#include "portfolio_fixture.h"

#include <gtest/gtest.h>

using namespace q;

namespace {

LimitSubject subject(int firma, double kurs, double upper, double lower) {
    LimitSubject s;
    s.firma = firma;
    s.name = QStringLiteral("W%1").arg(firma);
    s.kurs = kurs;
    s.datum = QDate(2026, 12, 4);
    s.limits = {upper, lower};
    return s;
}

// Answers from a list, recording who was asked.
struct Script {
    std::vector<LimitAnswer> answers;
    std::vector<int> asked;
    LimitQuestion question() {
        return [this](LimitFinding& f, LimitScanOptions&) {
            asked.push_back(f.subject.firma);
            const LimitAnswer a = answers.empty() ? LimitAnswer::Nein : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            return a;
        };
    }
};

}  // namespace

TEST(LimitScan, AlleMovesOnlyBreachedLimitsAndTheStopLossOnlyRises) {
    LimitScanOptions o;
    o.upperPercent = 5;
    o.lowerPercent = 5;
    Script script{{LimitAnswer::Alle}, {}};
    // 1: price 110 over upper 100: 110 × 1,05 = 115,5. 2: price 102 over upper 101 with
    // lower 100 not breached: the lower limit stays (not 102 × 0,95 = 96,9). 3: below
    // lower 50 at 40: 40 × 0,95 = 38. 4: no breach, no stop-loss: not examined.
    const auto f = scanLimits({subject(1, 110, 100, 0), subject(2, 102, 101, 100), subject(3, 40, 0, 50), subject(4, 75, 80, 70)}, o,
                              script.question());
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(script.asked, std::vector<int>{1});  // "Alle" asks nobody after it
    EXPECT_DOUBLE_EQ(f[0].after.oberes, 115.5);
    EXPECT_NEAR(f[1].after.oberes, 107.1, 1e-9);
    EXPECT_DOUBLE_EQ(f[1].after.unteres, 100.0);
    EXPECT_DOUBLE_EQ(f[2].after.unteres, 38.0);

    // With the stop-loss on, a breached lower limit does not fall.
    o.stopLoss = true;
    Script again{{LimitAnswer::Alle}, {}};
    EXPECT_DOUBLE_EQ(scanLimits({subject(3, 40, 0, 50)}, o, again.question())[0].after.unteres, 50.0);
}

TEST(LimitScan, TheStopLossTrailsWithoutADialog) {
    LimitScanOptions o;
    o.stopLoss = true;
    o.lowerPercent = 5;
    Script script;
    // 120 × 0,95 = 114 > 100: raised; 104 × 0,95 = 98,8 < 100: stays; both limits 0: not visited.
    const auto f = scanLimits({subject(1, 120, 0, 100), subject(2, 104, 0, 100), subject(3, 50, 0, 0)}, o, script.question());
    ASSERT_EQ(f.size(), 2u);
    EXPECT_TRUE(script.asked.empty());
    EXPECT_DOUBLE_EQ(f[0].after.unteres, 114.0);
    EXPECT_FALSE(f[1].changed());
}

TEST(LimitScan, TheAnswerCarriesOverAndAbbrechenStops) {
    LimitScanOptions o;
    o.stopLoss = true;
    o.lowerPercent = 5;
    // 1 breached, answered "Nein": kept; 2 not breached: the last answer was "Nein",
    // so the stop-loss does not move it; 3 breached, "Abbrechen": nothing after it.
    Script script{{LimitAnswer::Nein, LimitAnswer::Abbrechen}, {}};
    const auto f = scanLimits({subject(1, 200, 150, 100), subject(2, 120, 0, 100), subject(3, 90, 0, 95), subject(4, 300, 250, 0)}, o,
                              script.question());
    EXPECT_EQ(script.asked, (std::vector<int>{1, 3}));
    ASSERT_EQ(f.size(), 3u);
    for (const LimitFinding& x : f) EXPECT_FALSE(x.changed()) << x.subject.firma;
    // A security without a price is passed over.
    Script none;
    EXPECT_TRUE(scanLimits({subject(5, 0, 10, 0)}, o, none.question()).empty());
}

TEST(Limits, FromAPriceOfZeroOrNegativeInputIsRefused) {
    EXPECT_DOUBLE_EQ(*upperFromPrice(110, 5), 115.5);
    EXPECT_DOUBLE_EQ(*lowerFromPrice(120, 5), 114.0);
    EXPECT_EQ(upperFromPrice(0, 5).status().message(), "Aus dem Kurs 0 kann kein Limit berechnet werden");
    EXPECT_FALSE(lowerFromPrice(100, -5).isOk());
    EXPECT_FALSE(checkLimit(-1).isOk());
    // 200 % below the price would be negative.
    EXPECT_FALSE(lowerFromPrice(100, 200).isOk());
}

namespace {

class LimitScanOnTables : public PortfolioTest {};

}  // namespace

// While the breach is asked about, another program sets the limits of that security:
// the scan keeps what that program wrote and says so, and still moves the others.
TEST_F(LimitScanOnTables, LimitsChangedMeanwhileAreKept) {
    const int a = security("Alpha AG");
    const int b = security("Beta AG");
    price(a, d("04.12.2026"), 80.0);
    price(b, d("04.12.2026"), 130.0);
    ASSERT_TRUE(writeLimits(*store, a, {120.0, 90.0}).isOk());
    ASSERT_TRUE(writeLimits(*store, b, {110.0, 70.0}).isOk());
    Store other(store->dirs());
    LimitScanOptions options;
    options.lowerPercent = 10;
    options.upperPercent = 10;
    auto result = LimitScan(*store, options, [&](LimitFinding& f, LimitScanOptions&) {
        if (f.subject.firma == a) EXPECT_TRUE(writeLimits(other, a, {150.0, 60.0}).isOk());
        return LimitAnswer::Alle;
    });
    ASSERT_TRUE(result.isOk()) << result.status().message().toStdString();
    EXPECT_EQ(result->changedMeanwhile, QStringList{"Alpha AG"});
    EXPECT_EQ(limitsChangedMeanwhile(result->changedMeanwhile),
              "Die Limits von Alpha AG wurden inzwischen von einem anderen Programm geändert und bleiben so");
    EXPECT_EQ(result->written, 1);
    auto kept = readLimits(*store, a);
    EXPECT_EQ(kept->oberes, 150.0);
    EXPECT_EQ(kept->unteres, 60.0);
    // Beta's breached upper limit moved with its price: 130 × 1,1.
    EXPECT_NEAR(readLimits(*store, b)->oberes, 143.0, 1e-9);
}
