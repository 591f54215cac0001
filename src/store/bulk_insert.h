// Appending many rows to one table fast: one prepared statement, one transaction,
// and for a table that is empty when the load begins its secondary indexes made
// once at the end instead of row by row. On the server the rows stream in through
// COPY (a duplicate key then fails the whole load at commit()). Used by importers,
// the sample data and the benchmark.
#pragma once

#include "store/deferred_indexes.h"
#include "store/table.h"

namespace q {

class BulkInsert {
public:
    enum class OnDuplicate { Fail, Ignore, Replace };

    // `readsWhileLoading`: the caller reads the table between add() calls and must see
    // the rows added so far (on the server the rows then go in row by row instead of
    // through COPY, whose stream no other statement may interrupt).
    explicit BulkInsert(Table& table, OnDuplicate duplicates = OnDuplicate::Fail, bool readsWhileLoading = false)
        : m_table(table), m_duplicates(duplicates), m_readsWhileLoading(readsWhileLoading) {}
    // Without commit() nothing of the load is written.
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;
    // Starts the transaction (waiting for another writer up to the busy timeout).
    // Nothing is written for other connections to see until commit(). When the table
    // holds no row yet, its secondary indexes are dropped inside the transaction and
    // made again by commit(): readers never see the table without them. Until the
    // first add() the table's other operations may run in the same transaction (on
    // the server the COPY starts with the first row).
    Status begin();
    // Adds one row, values in the table's field order (missing trailing values are
    // NULL). Fails Invalid with the field's message (see Table::validate) or on a
    // duplicate key with OnDuplicate::Fail; the rows added before stay in the
    // transaction.
    Status add(const QVariantList& values);
    // Makes the deferred indexes and commits every row added since begin(); without
    // it (destroyed earlier) nothing of the load is written. begin() may follow again
    // for the next batch.
    Status commit();
    // The rows written since construction (a duplicate left out is not counted).
    qint64 added() const { return m_added; }

private:
    // What add() checks of each field, taken from the layout once.
    struct Check {
        bool required = false;
        bool emptyKey = false;
        int alphaSize = 0;  // > 0: an alpha field of at most this many characters
    };
    Status reject(const QVariantList& values) const;
    bool copying() const { return m_copying; }

    Table& m_table;
    OnDuplicate m_duplicates;
    bool m_readsWhileLoading;
    std::unique_ptr<Transaction> m_tx;
    Statement m_insert;
    std::vector<Check> m_checks;
    DeferredIndexes m_deferred;
    qint64 m_added = 0;
    bool m_copying = false;    // rows go to the server through COPY
    QString m_copyStatement;   // the COPY that the first add() starts
    QByteArray m_copy;         // COPY text not yet sent
    qint64 m_copied = 0;       // rows in the COPY so far
};

}  // namespace q
