// "akt. Kurse in Datenbank eintragen": the last intraday price of every security
// becomes the daily price of its day.
#pragma once

#include "store/store.h"

namespace q {

struct IntradayCommitReport {
    int securities = 0;  // securities with intraday prices
    int written = 0;     // daily prices appended or changed
    int volumes = 0;     // volumes appended or changed
};

// For every security with intraday prices, its last one (latest `ZEIT`) is written
// as the price of that day in Aktien.db: a different price of the day is replaced,
// a missing one appended, an equal one left alone; a volume other than 0 likewise
// in Volumen.db. Fails NotFound when Intraday.db is missing, or with the store's
// message (prices written before stay).
Result<IntradayCommitReport> commitIntradayPrices(Store& store);

}  // namespace q
