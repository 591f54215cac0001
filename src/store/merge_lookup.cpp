#include "store/merge_lookup.h"

#include "store/table.h"

#include <QStringList>

namespace q {

Result<MergeLookup> MergeLookup::prepare(Table& table, const std::vector<int>& identity, const QString& key) {
    const Layout& layout = table.layout();
    MergeLookup lookup;
    lookup.m_identity = identity;
    QStringList conditions;
    // Equal or both NULL: SQLite's IS, the server's IS NOT DISTINCT FROM.
    const QString same = table.db().onServer() ? QStringLiteral(" IS NOT DISTINCT FROM ?") : QStringLiteral(" IS ?");
    for (int i : identity) conditions << quoted(layout.fields[static_cast<size_t>(i)].name) + same;
    if (conditions.isEmpty()) conditions << QStringLiteral("1 = 0");
    auto present = table.db().prepare(
        QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1").arg(quoted(layout.table), conditions.join(QStringLiteral(" AND "))));
    if (!present) return present.status();
    lookup.m_present = std::move(*present);
    if (!key.isEmpty()) {
        auto taken = table.db().prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(quoted(layout.table), quoted(key)));
        if (!taken) return taken.status();
        lookup.m_taken = std::move(*taken);
        auto highest =
            table.db().texts(QStringLiteral("SELECT coalesce(max(%1), 0) FROM %2").arg(quoted(key), quoted(layout.table)));
        if (!highest) return highest.status();
        lookup.m_highest = highest->value(0).toLongLong();
    }
    return lookup;
}

Result<bool> MergeLookup::hasSameRow(const QVariantList& row) {
    for (size_t i = 0; i < m_identity.size(); ++i) m_present.bind(static_cast<int>(i) + 1, row.value(m_identity[i]));
    auto found = m_present.step();
    m_present.reset();
    return found;
}

Result<bool> MergeLookup::keyTaken(const QVariant& key) {
    m_taken.bind(1, key);
    auto used = m_taken.step();
    m_taken.reset();
    return used;
}

}  // namespace q
