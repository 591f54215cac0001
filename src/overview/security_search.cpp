#include "overview/security_search.h"

#include <unordered_map>

namespace q {

Result<std::vector<SearchFields>> searchFieldsOf(Store& store, const std::vector<int>& order) {
    auto table = store.table(QStringLiteral("Firma.db"));
    if (!table) return table.status();
    std::unordered_map<int, SearchFields> byNumber;
    Q_TRY((*table)->forEach({}, [&](const Record& r) {
        SearchFields f;
        f.Firma = r.value(QStringLiteral("Firma")).toInt();
        f.FirmenName = r.value(QStringLiteral("FirmenName")).toString();
        f.Ticker = r.value(QStringLiteral("Ticker")).toString();
        f.Kennung = r.value(QStringLiteral("Kennung")).toString();
        f.ISIN = r.value(QStringLiteral("ISIN")).toString();
        byNumber[f.Firma] = f;
        return true;
    }));
    std::vector<SearchFields> rows;
    rows.reserve(order.size());
    for (int firma : order) {
        auto it = byNumber.find(firma);
        rows.push_back(it != byNumber.end() ? it->second : SearchFields{firma, {}, {}, {}, {}});
    }
    return rows;
}

int nextMatch(const std::vector<SearchFields>& rows, int start, const QString& text, SearchKind kind) {
    const QString wanted = text.toUpper();
    if (wanted.isEmpty()) return -1;
    for (int i = std::max(0, start); i < static_cast<int>(rows.size()); ++i) {
        const SearchFields& f = rows[size_t(i)];
        const QString& a = kind == SearchKind::Name ? f.FirmenName : f.Kennung;
        const QString& b = kind == SearchKind::Name ? f.Ticker : f.ISIN;
        if (a.toUpper().contains(wanted) || b.toUpper().contains(wanted)) return i;
    }
    return -1;
}

}  // namespace q
