// The rating rules: from the figures of one fill pass and the last values of the
// indicator lines to the rating R, its picture and the rating index I. One pure
// function; the rules are numbered 1 to 21 in the order they apply ("Regel 7" in
// Rating::steps).
//
// Design notes.
// 1. R starts at 3. The rules are applied in order 1 to 21; a rule "with points"
//    adds or subtracts the points setting of its switch, a rule "always" has no
//    switch. Rules 15 and 21 read R as it stands when they are reached.
// 2. Failure: where a rule needs a value that is not there (rule 5 without two
//    values of the trend line, rule 15 without a value of the Bollinger bands), or a
//    division would divide by 0, R is set to 3 and the remaining rules are skipped;
//    picture and index are still produced. Every division is guarded so that the
//    failure happens exactly there.
// 3. Display: R below 1 is raised to 1; pictures by R: 5 → 1, 4 → 3, 3 → 5, 2 → 4,
//    1 → 2, above 5 → 1 (R keeps its value).
// 4. Index: with HochTief and window high, window low and last price above 0,
//    X = 100 × high ÷ last + 100 × low ÷ last (X in (0, 1) becomes 1, in (−1, 0)
//    becomes −1) and I = R × X × 0.1; otherwise I = R × 20.
#pragma once

#include "analysis/analysis_settings.h"

#include <QStringList>
#include <vector>

namespace q {

// The last two values of an indicator line and how many it has.
struct LineEnd {
    int count = 0;
    double last = 0;
    double beforeLast = 0;  // meaningful when count >= 2
};

struct RatingInput {
    int n = 0;                 // price rows of the fill pass
    double lastPrice = 0;      // P[n], the newest price
    double gl1 = 0;            // final short average
    double a1Before = 0, a1Last = 0;  // short average of the last two days
    double a2Before = 0, a2Last = 0;  // long average of the last two days
    double k0 = 0, k1 = 0, k2 = 0, stoch = 0;
    double windowHigh = 0, windowLow = 0;
    double averageVolume = 0;  // the overview's mean volume (0 without volumes)
    double Dividende = 0, Gewinn = 0, CashFlow = 0, Aktienzahl = 0;
    double indexChange = 0;    // of the reference index (TrendIndexaktuell)
    LineEnd trendLine, macdLine, momentumLine, rsiLine, upperBand, lowerBand;
    int renkoBricks = 0;       // Renko bricks of the display range
    int renkoRising = 0;       // of its last two bricks: 2 both rising, −2 both falling, else 0
};

struct Rating {
    int R = 3;            // after the display rule (design note 3)
    int rawR = 3;         // as the rules left it
    int picture = 5;      // trend picture 1 to 5
    double index = 0;     // the rating index I
    bool failed = false;  // design note 2
    // What each rule did, for the curious: "Regel 7: +1" in rule order.
    QStringList steps;
};

// The rating of `input` under `settings` (design notes).
Rating bewerten(const RatingInput& input, const RatingSettings& settings);

// The picture for a rating (design note 3).
int ratingPicture(int r);

}  // namespace q
