// The value history `Anlagen.DB`: one record per calendar day with the depot's
// shares, invested sum and value in the home currency, written by the valuation for
// its report date and by the backfill (`BerechnungAnlagen`) for every day between
// the newest record and yesterday; and the series the two history charts draw.
//
// A record keeps `Anteile`, `KursKauf` = invested ÷ `Anteile` and `KursIst` =
// value ÷ `Anteile`, so that `Anteile` × `KursKauf` is the invested sum and
// `Anteile` × `KursIst` the value. Cash lots make the share count an odd figure
// (amounts of money, possibly negative); where it sums to 0 the record keeps
// `Anteile` 1 so that both products still hold.
#pragma once

#include "base/interaction.h"
#include "portfolio/currency.h"
#include "portfolio/valuation.h"

#include <optional>

namespace q {

inline const QString kHistory = QStringLiteral("Anlagen.DB");

struct HistoryRecord {
    QDate DATUM;
    double Anteile = 0;
    double KursKauf = 0;
    double KursIst = 0;
    double invested() const { return Anteile * KursKauf; }
    double value() const { return Anteile * KursIst; }
};

// The record for `sums` on `day`.
HistoryRecord historyRecord(const QDate& day, const Sums& sums);

// Writes the record of its day: replaces one of that day, else appends (one
// statement). Creates Anlagen.DB when it is missing. Fails with the store's message.
Status writeHistoryRecord(Store& store, const HistoryRecord& record);

// The records from `from` on (invalid: all), oldest first; none when Anlagen.DB is
// missing. Fails with the store's message.
Result<std::vector<HistoryRecord>> readHistory(Store& store, const QDate& from = QDate());

struct Backfill {
    QDate start;      // the first day computed
    int written = 0;  // records written
};

// `BerechnungAnlagen`: writes a record for every day d from the start while d is
// before today, for the lots open at d (a lot without a sale date stays open),
// each valued at its newest price on or before d (its purchase price when there is
// none, 1 for cash), converted into the home currency. A day without an open lot
// gets no record. The start is the day after the newest record; today when the
// table is empty; `startWhenMissing` when Anlagen.DB does not exist yet (it is made
// then). All records in one transaction. Fails Cancelled when the table is missing
// and no start is given (nothing is made), or with the store's message; stops
// between days (Cancelled) when `progress` asks.
Result<Backfill> BerechnungAnlagen(Store& store, CurrencyConverter& converter, const std::optional<QDate>& startWhenMissing,
                                   Progress& progress);

// A point of the history charts, amounts multiplied by the display factor.
struct HistoryPoint {
    QDate datum;
    double value = 0;     // depot value
    double invested = 0;  // invested sum
    double gain = 0;      // value − invested
    std::optional<double> percent;  // KursIst × 100 ÷ KursKauf − 100, where KursKauf ≠ 0
};

// The chart series of the records; `factor` is 1 for the home currency and the
// rate in use for the second currency.
std::vector<HistoryPoint> historySeries(const std::vector<HistoryRecord>& records, double factor);

}  // namespace q
