#include "overview/trend_index.h"

#include "base/formats.h"
#include "portfolio/currency.h"

namespace q {

Result<double> TrendIndexaktuell(Store& store, const QString& name) {
    if (name.trimmed().isEmpty()) return 0.0;
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto number = securityNamed(**firma, name.trimmed());
    if (!number) return number.status();
    if (!number->has_value()) return 0.0;
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Query newest = Query::detailOf(**number);
    newest.reverse = true;
    newest.limit = 2;
    auto rows = (*aktien)->rows(newest);
    if (!rows) return rows.status();
    if (rows->size() < 2) return 0.0;
    const double last = (*rows)[0].value(QStringLiteral("Kurs")).toDouble();
    const double previous = (*rows)[1].value(QStringLiteral("Kurs")).toDouble();
    const double change = percentChange(last, previous);
    // Small moves of the index say nothing about the market's direction.
    return change > -1 && change < 1 ? 0.0 : change;
}

}  // namespace q
