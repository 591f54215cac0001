// The look-ups a merge into a table makes for each offered row, prepared once per
// table: does a row with the same identity exist, is a key number taken, which is
// the highest key number.
#pragma once

#include "base/status.h"
#include "store/database.h"

#include <QVariantList>
#include <vector>

namespace q {

class Table;

class MergeLookup {
public:
    // `identity` are field positions of the table's layout; two blank values count
    // as the same value, as in a Paradox key. `key` names the numbered key field
    // (empty: no key look-ups).
    [[nodiscard]] static Result<MergeLookup> prepare(Table& table, const std::vector<int>& identity, const QString& key);

    // True when a stored row has the identity fields of `row` (full table rows).
    [[nodiscard]] Result<bool> hasSameRow(const QVariantList& row);
    [[nodiscard]] Result<bool> keyTaken(const QVariant& key);
    // The highest key number stored when prepared (0 for an empty table).
    qint64 highestKey() const { return m_highest; }

private:
    std::vector<int> m_identity;
    Statement m_present;
    Statement m_taken;
    qint64 m_highest = 0;
};

}  // namespace q
