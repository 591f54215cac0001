// The fee calculation of the purchase and sale assistants: the costs of a trade
// from the fee rates, folded into the price per share that is booked (costs are
// never stored on their own).
#pragma once

#include "portfolio/portfolio_settings.h"

namespace q {

enum class Trade { Purchase, Sale };

struct FeeCalculation {
    double gross = 0;     // price × shares
    double costs = 0;     // gross × Makler ÷ 1000 + gross × Bank ÷ 100 + Clearing
    double net = 0;       // purchase: gross + costs; sale: gross − costs
    double perShare = 0;  // net ÷ shares, unrounded: the price that is booked
};

// The costs and the booked price of `shares` shares at `price`. With 0 shares the
// price per share is 0 (the assistants refuse such a booking before).
FeeCalculation calculateFees(Trade trade, double price, double shares, const FeeRates& rates);

}  // namespace q
