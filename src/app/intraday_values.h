// The intraday prices of one security as the value list edits them: read in time
// order, and saved back as a whole.
#pragma once

#include "store/store.h"

#include <optional>

namespace q {

struct IntradayValue {
    double ZEIT = 0;                 // day number with the time of day as fraction
    double Kurs = 0;
    std::optional<qint64> Volumen;   // empty when the source gave none
};

// The intraday prices of `firma` in Intraday.db, oldest first (the list opens on
// the last one). NotFound when the table is missing.
Result<std::vector<IntradayValue>> intradayValues(Store& store, int firma);

// Replaces the intraday prices of `firma` with `values`, in one transaction: on
// failure nothing changes. Fails Invalid "Der Zeitpunkt <dd.mm.yyyy hh:nn> kommt
// doppelt vor" when two values share a time, "Der Kurs um <hh:nn> muss größer als 0
// sein" for a price of 0 or less, or with the store's message.
Status saveIntradayValues(Store& store, int firma, const std::vector<IntradayValue>& values);

}  // namespace q
