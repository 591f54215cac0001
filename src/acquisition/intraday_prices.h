// Writing intraday prices into `Intraday.db`, as every intraday source does.
#pragma once

#include "store/table.h"

#include <QDateTime>
#include <optional>

namespace q {

// Appends the intraday price of `firma` at `at`; a moment that has a price already
// keeps it. With `startPrice` (StartKursEintragen and a last daily price), a
// security's first intraday price of the table is preceded by that price one
// minute earlier, so the day's course starts at the close before.
Status appendIntradayPrice(Table& intraday, int firma, const QDateTime& at, double kurs, qint64 volume,
                           std::optional<double> startPrice = std::nullopt);

}  // namespace q
