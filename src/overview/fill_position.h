// The open position of the quote overview: the shares and cost of the security's
// open lots, the day profits of the "Gewinn" bars, the position line and what the
// profit calculator receives. Works on the portfolio's lots (portfolio/lot.h).
//
// Lots whose text holds "Optionsschein" or "Zertifikat", and lots of a security
// number 0 or below, are left out; distribution and fee lots count with purchase
// price 0 (Lot::buyPrice()).
#pragma once

#include "portfolio/lot.h"

#include <span>
#include <vector>

namespace q {

struct ProfitBar {
    int datum = 0;  // day number
    double profit = 0;
    bool gain() const { return profit > 0; }  // green; a loss is red
};

struct Position {
    bool hasLots = false;        // the security has lots that count
    bool showProfitPage = false; // the "Gewinn" page: lots with shares and more than one price
    QString chartTitle;          // FirmenName + "(Gewinn)"
    double shares = 0;           // of the open lots
    double cost = 0;             // Σ buy price × shares of the open lots
    double value = 0;            // last price × shares
    // "        Anteile: … Ankauf: … Wert: … Differenz: … Prozent: …%"; empty when the
    // cost is 0.
    QString line;
    std::vector<ProfitBar> bars; // days with a profit other than 0
    // The profit calculator: caption, mean buy price (0 without shares) and its
    // slider, round((last × 100 ÷ mean − 100) × 10) (0 without a mean price).
    QString calculatorCaption;
    double meanBuyPrice = 0;
    int slider = 0;
};

// The position of the security named `firmenName` from its lots, over its price rows
// (day numbers and prices in date order; the last one is the newest price).
Position openPosition(const QString& firmenName, const std::vector<Lot>& lots, std::span<const int> days,
                      std::span<const double> prices);

// The lots that count for the position (see above), in their order.
std::vector<Lot> positionLots(const std::vector<Lot>& lots);

}  // namespace q
