#include "overview/chart_limit.h"

#include "base/formats.h"
#include "store/firma_hooks.h"

namespace q {

Result<std::optional<double>> storeChartLimit(Store& store, int firma, LimitLine line, double value) {
    const double rounded = roundHalfEven(value, 2);
    if (rounded == 0) return std::optional<double>();
    auto table = store.table(QStringLiteral("Firma.db"));
    if (!table) return table.status();
    auto found = (*table)->findKey({firma});
    if (!found) return found.status();
    if (!*found) return Status::notFound(QStringLiteral("Wertpapier \"%1\" nicht gefunden").arg(firma));
    Record after = **found;
    after.set(line == LimitLine::Upper ? QStringLiteral("Oberes_Limit") : QStringLiteral("Unteres_Limit"), rounded);
    Q_TRY(postSecurity(**table, **found, after));
    return std::optional<double>(rounded);
}

}  // namespace q
