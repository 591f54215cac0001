#include "store/bulk_insert.h"

namespace q {

Status BulkInsert::begin() {
    Q_ASSERT(!m_tx);
    // A bulk load touches pages all over the secondary indexes (a security's days
    // spread across the date index); a large page cache keeps them in memory.
    Q_TRY(m_table.db().exec(QStringLiteral("PRAGMA cache_size=-262144")));
    m_tx = std::make_unique<Transaction>(m_table.db());
    Q_TRY(m_tx->begin());
    QStringList cols, marks;
    for (const Field& f : m_table.layout().fields) {
        cols << quoted(f.name);
        marks << QStringLiteral("?");
    }
    const QString verb = m_duplicates == OnDuplicate::Ignore    ? QStringLiteral("INSERT OR IGNORE")
                         : m_duplicates == OnDuplicate::Replace ? QStringLiteral("INSERT OR REPLACE")
                                                                : QStringLiteral("INSERT");
    auto st = m_table.db().prepare(QStringLiteral("%1 INTO %2 (%3) VALUES (%4)")
                                       .arg(verb, quoted(m_table.layout().table), cols.join(QLatin1Char(',')),
                                            marks.join(QLatin1Char(','))));
    if (!st) return st.status();
    m_insert = std::move(*st);
    m_check = m_table.newRecord();
    return Status::ok();
}

Status BulkInsert::add(const QVariantList& values) {
    Q_ASSERT(m_tx);
    const int n = static_cast<int>(m_table.layout().fields.size());
    for (int i = 0; i < n; ++i) m_check.values()[i] = i < values.size() ? values[i] : QVariant();
    Q_TRY(m_table.validate(m_check));
    for (int i = 0; i < n; ++i) m_insert.bind(i + 1, m_check.values()[i]);
    auto r = m_insert.step();
    m_insert.reset();
    if (!r) {
        return r.status().category() == Category::Invalid ? m_table.duplicateKey() : r.status();
    }
    ++m_added;
    return Status::ok();
}

Status BulkInsert::commit() {
    Q_ASSERT(m_tx);
    m_insert = Statement();
    Q_TRY(m_tx->commit());
    m_tx.reset();
    return Status::ok();
}

}  // namespace q
