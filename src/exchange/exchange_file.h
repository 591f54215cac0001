// The daily exchange file ("&Neuer Markt Tagesdatei", `NeuerMarkt1Click`): one
// quote per line, fields separated by ";", double quotes removed; field 1 the
// security's name, field 4 the price (decimal comma), field 5 the date.
#pragma once

#include "acquisition/quote_book.h"
#include "acquisition/read_report.h"
#include "acquisition/reading_settings.h"
#include "base/interaction.h"

namespace q {

// The date field: "dd.mm.yyyy" or "dd.mm.yy" (two-digit years are 1990 to 2089);
// nullopt when it is no date.
std::optional<QDate> exchangeDate(const QString& field);

// Books the file: a line without a valid date is dated today, a date after today
// becomes today, a line whose price does not convert (or is 0) is skipped. The name
// is matched on `FirmenName` with letter case and umlauts folded; a security that
// has a price that day keeps it (counted as already there); an unknown name becomes
// a new security ("Neue Aktie aufgenommen! Bitte überprüfen" in the editor when
// `bestaetigen` is set) with its price. Fails (in the report's status) NotFound or
// Io naming the file, with the store's message, or Cancelled.
ReadReport importExchangeFile(Store& store, const QString& file, const ReadingSettings& settings, ReadingHooks& hooks, Progress& progress);

}  // namespace q
