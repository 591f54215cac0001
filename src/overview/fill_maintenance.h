// The writes that follow a fill of the overview: price rows whose `Kurs` or `Datum`
// is 0 are deleted, and the stored long average `GlD` of each day is brought up to
// date where the price table has that field.
#pragma once

#include "overview/fuellen.h"
#include "store/store.h"

namespace q {

// Applies `maintenance` to the prices of `firma` in Aktien.db, in one transaction of
// its own: on failure nothing is written. Fails with the store's message.
Status applyFillMaintenance(Store& store, int firma, const FillMaintenance& maintenance);

}  // namespace q
