// The statistics of the quote overview (the panel below the chart) and its info
// texts: price mean and deviations, volume mean and deviations, the volatility ratios
// "Tarnfaktor" and "Tarnrate", and the percentages and fundamentals ratios of the
// info panel. Texts are formatted here, once, for the window and quintara-cli alike.
//
// Rounding is half to even throughout; Round2(x) rounds to cents. Each figure is
// computed from the rounded figures it builds on, as the panel shows them.
#pragma once

#include "overview/fuellen.h"

namespace q {

struct StatisticsOutcome {
    FillStatistics texts;
    std::optional<double> stdDevDiff;     // the change deviation as shown
    std::optional<double> tarnrate;
    std::optional<qint64> averageVolume;
};

// Steps 10 to 12 over the prices P[first..n) and the volume rows of the display
// range (in date order):
//   Mittelwert = Round2(Σ P ÷ m) over the m displayed prices;
//   Standardabweichung = Round2(√(Σ (P − Mittelwert)² ÷ (m − 1)));
//   Mittelwert der Kursdifferenzen = Round2(Σ (P[i] − P[i−1]) ÷ (m − 1)) over the
//     displayed changes (from the second displayed price on);
//   Standardabweichung der Kursdifferenzen = Round2(√(Σ (change − mean change)² ÷
//     (m − 2))) over the displayed changes other than 0, "0" when that sum is 0;
//   Mittelwert der Volumen = round(Σ v ÷ c) over the c volume rows;
//   Mittelwert der Volumendifferenzen = round(Σ (v − previous v) ÷ (c − 1)) over the
//     rows whose previous volume is not 0; 0 when c ≤ 1 or the sum is 0;
//   Standardabweichung der Volumen = round(√(Σ (v − mean)² ÷ c)), "0" when 0;
//   Standardabweichung der Volumendifferenzen = round(√(Σ (change − mean change)² ÷
//     (c − 1))) over those rows, "0" when 0;
//   Tarnfaktor = round(100,000 × |sd − change sd| ÷ |volume sd − volume change sd|)
//     ÷ 1000, "0" when the two volume deviations are equal;
//   Tarnrate = round(1000 × |sd × (1 − Tarnfaktor)|) ÷ 1000.
// A figure whose divisor is 0 (one displayed price, no volume row) is empty, and so is
// every figure built on it.
StatisticsOutcome fillStatistics(std::span<const double> prices, int first, std::span<const VolumeRow> volumes);

// Step 13: the info texts, F(x) being 2 decimals within 5 significant digits:
// stochastic and strength; the percentages of the display range ("0 %" where the low
// is 0, "0,00 %" for the rise where a price is 0); the dividend yield (empty without
// `Dividende`); "KGV", "KCV" (empty when the divisor is 0) and the market
// capitalisation (3 decimals, " Mrd"), these three only where the master has them.
FillInfo fillInfo(const FillResult& fill);

}  // namespace q
