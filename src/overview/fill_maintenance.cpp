#include "overview/fill_maintenance.h"

namespace q {

Status applyFillMaintenance(Store& store, int firma, const FillMaintenance& m) {
    if (m.empty()) return Status::ok();
    auto table = store.table(QStringLiteral("Aktien.db"));
    if (!table) return table.status();
    Table& aktien = **table;
    Transaction tx(aktien.db());
    Q_TRY(tx.begin());
    for (int datum : m.remove) {
        Query row = Query::detailOf(firma);
        row.equal.push_back({QStringLiteral("Datum"), datum});
        auto removed = aktien.removeWhere(row);
        if (!removed) return removed.status();
    }
    if (!m.glD.empty() && aktien.hasField(QStringLiteral("GlD"))) {
        for (const auto& [datum, value] : m.glD) {
            auto found = aktien.findKey({firma, datum});
            if (!found) return found.status();
            if (!found->has_value()) continue;
            Record after = **found;
            after.set(QStringLiteral("GlD"), value);
            Q_TRY(aktien.update(**found, after));
        }
    }
    return tx.commit();
}

}  // namespace q
