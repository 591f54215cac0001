// The calculated columns of the price list (menu "Kursd&ifferenz berechnen"): the
// change of each day against the day before, and its distance to the stored long
// average `GlD`.
#pragma once

#include "overview/fill_input.h"

#include <span>

namespace q {

struct PriceDifference {
    int datum = 0;        // day number of the row
    double Differenz = 0; // Kurs × 100 ÷ the price before − 100; 0 without one, or for a price 0
    double DiffGlD = 0;   // Kurs × 100 ÷ GlD − 100; 0 where GlD is 0 or missing
};

// The columns of each row (rows in date order, as stored).
std::vector<PriceDifference> priceDifferences(std::span<const PriceRow> rows);

// "0.## %": up to two decimals ("1,5 %", "-2,35 %", "0 %").
QString formatDifferenz(double value);
// "0.####": up to four decimals.
QString formatDiffGlD(double value);

}  // namespace q
