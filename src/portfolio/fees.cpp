#include "portfolio/fees.h"

namespace q {

FeeCalculation calculateFees(Trade trade, double price, double shares, const FeeRates& rates) {
    FeeCalculation f;
    f.gross = price * shares;
    f.costs = f.gross * rates.makler / 1000.0 + f.gross * rates.bank / 100.0 + rates.clearing;
    f.net = trade == Trade::Purchase ? f.gross + f.costs : f.gross - f.costs;
    f.perShare = shares != 0.0 ? f.net / shares : 0.0;
    return f;
}

}  // namespace q
