// The limit lines of the price chart: dragging the upper or lower line stores the
// security's `Oberes_Limit` or `Unteres_Limit`.
#pragma once

#include "store/store.h"

namespace q {

enum class LimitLine { Upper, Lower };

// Stores `value`, rounded to 2 decimals, as the limit of `firma` that `line` stands
// for, and returns what was stored. A value that rounds to 0 leaves the limit as it
// is (nullopt). Fails NotFound for an unknown security, or with the store's message.
Result<std::optional<double>> storeChartLimit(Store& store, int firma, LimitLine line, double value);

}  // namespace q
