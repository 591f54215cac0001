// Secondary indexes of a table that is empty when a load begins: dropped inside
// the load's transaction and made again just before it commits. Building an index
// once from the loaded rows is several times faster than keeping it up to date row
// by row, and readers never see the table without it (the drop and the rebuild
// commit together, or roll back together).
#pragma once

#include "store/table.h"

#include <vector>

namespace q {

class DeferredIndexes {
public:
    // Inside an open transaction on `table`'s file: when the table holds no row,
    // drops its secondary indexes and remembers them. A table with rows is left as
    // it is. Fails with the store's message.
    Status dropIfEmpty(Table& table);
    // Makes the dropped indexes again (still inside the transaction) and forgets
    // them; nothing to do when none was dropped.
    Status rebuild();
    // Forgets the dropped indexes without making them: the transaction's rollback
    // brings them back.
    void forget() { m_dropped.clear(); }

private:
    Table* m_table = nullptr;
    std::vector<Index> m_dropped;
};

}  // namespace q
