// Appending many rows to one table fast: one prepared statement, one transaction.
// Used by importers, the sample data and the benchmark.
#pragma once

#include "store/table.h"

namespace q {

class BulkInsert {
public:
    enum class OnDuplicate { Fail, Ignore, Replace };

    explicit BulkInsert(Table& table, OnDuplicate duplicates = OnDuplicate::Fail)
        : m_table(table), m_duplicates(duplicates) {}
    // Starts the transaction. Nothing is written until commit().
    Status begin();
    // Adds one row, values in the table's field order. Fails Invalid with the
    // field's message (see Table::validate) or on a duplicate key with OnDuplicate::Fail.
    Status add(const QVariantList& values);
    // Commits every row added since begin(); without it (destroyed earlier) those rows
    // are not written. begin() may follow again for the next batch.
    Status commit();
    qint64 added() const { return m_added; }

private:
    Table& m_table;
    OnDuplicate m_duplicates;
    std::unique_ptr<Transaction> m_tx;
    Statement m_insert;
    Record m_check;
    qint64 m_added = 0;
};

}  // namespace q
