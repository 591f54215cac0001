// The stock split: the prices up to the split's end date are divided by the ratio,
// and the lots held then get ratio times the shares at a ratio-th of the price, in
// this depot and in the depots its lots are linked to.
#pragma once

#include "portfolio/lot.h"
#include "store/store.h"

namespace q {

struct Split {
    int firma = 0;
    double ratio = 0;  // X: new price = price ÷ X
    QDate ende;        // the last day traded before the split
};

struct SplitResult {
    int prices = 0;           // price rows divided
    int lots = 0;             // lots of this depot changed
    QStringList linkedDepots; // tables of linked depots changed
};

// Divides every price of the security dated on or before `ende` (one transaction on
// the price table), then changes the lots that are open and were bought on or
// before `ende` (one transaction; sold lots and lots bought after the split stay as
// they are), then the matching open lots of each linked depot (a lot's text naming
// it, see linkedDepotTable()). Fails Invalid "Das Splitverhältnis muss größer als 0
// sein: …" or "Ungültiges Datum"; NotFound for an unknown security.
Result<SplitResult> splitSecurity(Store& store, const Split& split);

// The lots `split` changes among `lots`, and how.
LotChanges planSplit(const std::vector<Lot>& lots, const Split& split);

}  // namespace q
