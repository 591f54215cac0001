// The four watch lists `Watch.db` … `Watch4.db`: one row per security (`Firma`, the
// primary key), so a security is on a list once or not at all.
#pragma once

#include "store/store.h"

#include <vector>

namespace q {

// Puts the security on list k, or takes it off when it is there; returns whether it
// is on the list now. Requires: 1 ≤ k ≤ 4. The table is created when missing.
Result<bool> toggleWatch(Store& store, int k, int firma);

// Whether the security is on list k (false without the table).
Result<bool> isOnWatch(Store& store, int k, int firma);

// Adds each of `firmen` that list k does not hold yet, in one transaction (all or
// nothing), and returns how many it added.
Result<int> addAllToWatch(Store& store, int k, const std::vector<int>& firmen);

// Deletes every entry of list k; returns how many.
Result<qint64> clearWatch(Store& store, int k);

}  // namespace q
