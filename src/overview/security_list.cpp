#include "overview/security_list.h"

namespace q {

bool SecurityFilter::accepts(const SecurityRecord& s) const {
    return s.Firma > 0 && (!favouritesOnly || s.Aktiv) && (gruppe == 0 || s.Gruppe == gruppe) &&
           (branche == 0 || s.Branche == branche) && (merkmal == 0 || s.Merkmal == merkmal);
}

Result<std::vector<SecurityRecord>> listSecurities(Store& store, const SecurityFilter& filter) {
    auto table = store.table(QStringLiteral("Firma.db"));
    if (!table) return table.status();
    std::vector<SecurityRecord> list;
    Query byName;
    byName.order = QStringLiteral("IFirma");
    Q_TRY((*table)->forEach(byName, [&](const Record& r) {
        SecurityRecord s = securityFromRecord(r);
        if (filter.accepts(s)) list.push_back(std::move(s));
        return true;
    }));
    return list;
}

}  // namespace q
