// The comparison chart "&Vergleich": up to five securities and the depot as the
// percentage change since a start date. Computed here, drawn by the chart library.
#pragma once

#include "overview/chart_series.h"
#include "portfolio/value_history.h"
#include "store/store.h"

#include <QDate>
#include <QStringList>
#include <optional>

namespace q {

// p × 100 ÷ base − 100 for every price dated on or after `startDay`, base being the
// first of them. nullopt when that first price is 0 or less (a line over it would
// divide by zero); an empty line when no price is that recent.
std::optional<std::vector<ChartPoint>> percentSince(std::span<const int> days, std::span<const double> prices, int startDay);

// The depot line: (KursIst × 100 ÷ KursKauf − 100) − base for every record dated on
// or after `start`, base being that value of the first such record, so the line starts
// at 0. Records with KursKauf 0 are left out.
std::vector<ChartPoint> depotPercent(const std::vector<HistoryRecord>& records, const QDate& start);

struct ComparisonLine {
    QString name;     // as entered in the name box
    bool active = false;
    std::vector<ChartPoint> points;
};

struct ComparisonChart {
    std::vector<ComparisonLine> lines;  // one per name box, empty boxes included
    ComparisonLine depot;               // "Depot", active when asked for
    QStringList notices;                // lines left out, in German
    // The legend is shown when the chart draws two lines or more.
    bool legend() const;
};

// The comparison of the securities named in `names` (empty names stay inactive lines)
// since `start`, and the depot line from Anlagen.DB when `withDepot`. A name not in
// the securities master deactivates its line; a security whose first price since the
// start is 0 is left out with the notice "<name>: erster Kurs 0, nicht verglichen".
// Fails with the store's message.
Result<ComparisonChart> readComparison(Store& store, const QStringList& names, const QDate& start, bool withDepot);

}  // namespace q
