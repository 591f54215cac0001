// `TrendIndexaktuell`: the change of the reference index (the security named by the
// setting `KursIndex`) between its two newest prices, which the rating reads.
#pragma once

#include "store/store.h"

namespace q {

// new × 100 ÷ previous − 100 of the two newest prices of the security whose
// `FirmenName` is `name` (letter case and umlauts folded); 0 when there is no such
// security, fewer than two prices or a previous price of 0. A change strictly
// between −1 and 1 is 0. Fails with the store's message.
Result<double> TrendIndexaktuell(Store& store, const QString& name);

}  // namespace q
