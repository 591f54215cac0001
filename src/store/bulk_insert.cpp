#include "store/bulk_insert.h"

#include "store/schema.h"
#include "store/server_connection.h"

namespace q {

BulkInsert::~BulkInsert() {
    // An abandoned COPY is ended as failed, so that the transaction can roll back.
    if (m_copying) (void)m_table.db().server()->endCopy(QStringLiteral("abgebrochen"));
}

Status BulkInsert::begin() {
    Q_ASSERT(!m_tx);
    Database& db = m_table.db();
    const Layout& layout = m_table.layout();
    // A bulk load touches pages all over a secondary index (a security's days spread
    // across the date index); a large page cache keeps them in memory.
    if (!db.onServer()) Q_TRY(db.exec(QStringLiteral("PRAGMA cache_size=-262144")));
    m_tx = std::make_unique<Transaction>(db);
    Q_TRY(m_tx->begin());

    // Into an empty table the indexes are made once at the end.
    Q_TRY(m_deferred.dropIfEmpty(m_table));

    QStringList cols, marks;
    m_checks.clear();
    for (const Field& f : layout.fields) {
        cols << quoted(f.name);
        marks << QStringLiteral("?");
        const bool autoKey = layout.autoNumberKey && layout.primaryFields.value(0) == f.name;
        m_checks.push_back({f.required && !autoKey, f.emptyKey, f.type == FieldType::Alpha ? f.size : 0});
    }
    if (db.onServer() && m_duplicates == OnDuplicate::Fail && !m_readsWhileLoading) {
        m_copyStatement = QStringLiteral("COPY %1 (%2) FROM STDIN").arg(quoted(layout.table), cols.join(QLatin1Char(',')));
        m_copy.clear();
        m_copied = 0;
        return Status::ok();
    }
    if (db.onServer() && m_duplicates == OnDuplicate::Replace) {
        // INSERT OR REPLACE on the server: the row of the same key takes the new values.
        QStringList key, sets;
        for (const QString& p : layout.uniqueKey()) key << quoted(p);
        for (const Field& f : layout.fields)
            if (!layout.uniqueKey().contains(f.name, Qt::CaseInsensitive)) sets << QStringLiteral("%1 = excluded.%1").arg(quoted(f.name));
        auto st = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) ON CONFLICT (%4) DO %5")
                                 .arg(quoted(layout.table), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')), key.join(QLatin1Char(',')),
                                      sets.isEmpty() ? QStringLiteral("NOTHING") : QStringLiteral("UPDATE SET ") + sets.join(QStringLiteral(", "))));
        if (!st) return st.status();
        m_insert = std::move(*st);
        return Status::ok();
    }
    const QString verb = m_duplicates == OnDuplicate::Ignore    ? QStringLiteral("INSERT OR IGNORE")
                         : m_duplicates == OnDuplicate::Replace ? QStringLiteral("INSERT OR REPLACE")
                                                                : QStringLiteral("INSERT");
    auto st = db.prepare(QStringLiteral("%1 INTO %2 (%3) VALUES (%4)")
                             .arg(verb, quoted(layout.table), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    if (!st) return st.status();
    m_insert = std::move(*st);
    return Status::ok();
}

Status BulkInsert::reject(const QVariantList& values) const {
    Record r = m_table.newRecord();
    for (int i = 0; i < r.values().size() && i < values.size(); ++i) r.values()[i] = values[i];
    m_table.normalise(r.values());
    Status s = m_table.validate(r);
    Q_ASSERT(!s.isOk());
    return s;
}

Status BulkInsert::add(const QVariantList& values) {
    Q_ASSERT(m_tx);
    if (!m_copyStatement.isEmpty()) {
        Q_TRY(m_table.db().server()->startCopy(m_copyStatement));
        m_copyStatement.clear();
        m_copying = true;
    }
    // The checks of Table::validate, without copying the row; the message comes
    // from there when a row is refused.
    static const QVariant kNull;
    const int n = static_cast<int>(m_checks.size());
    for (int i = 0; i < n; ++i) {
        const Check& c = m_checks[static_cast<size_t>(i)];
        const QVariant* v = i < values.size() ? &values[i] : nullptr;
        const bool null = !v || bindsNull(*v);
        if (null && c.emptyKey) {
            if (m_copying) {
                if (i) m_copy += '\t';
            } else {
                m_insert.bind(i + 1, QString(QLatin1String("")));
            }
            continue;
        }
        if (c.alphaSize > 0 && !null) {
            const QString text = v->toString();
            if ((c.required && text.isEmpty()) || text.size() > c.alphaSize) return reject(values);
        } else if (c.required && null) {
            return reject(values);
        }
        if (m_copying) {
            if (i) m_copy += '\t';
            appendCopyValue(m_copy, null ? kNull : *v);
        } else {
            m_insert.bind(i + 1, null ? kNull : *v);
        }
    }
    if (m_copying) {
        m_copy += '\n';
        ++m_copied;
        // About a megabyte at a time; a refused row shows at commit().
        if (m_copy.size() >= (1 << 20)) {
            Q_TRY(m_table.db().server()->putCopy(m_copy));
            m_copy.clear();
        }
        return Status::ok();
    }
    auto r = m_insert.step();
    m_insert.rewind();
    if (!r) return r.status().category() == Category::Invalid ? m_table.duplicateKey() : r.status();
    // A row left out as a duplicate (OnDuplicate::Ignore) changed nothing; any other
    // step that succeeded wrote its row.
    m_added += m_duplicates == OnDuplicate::Ignore ? m_table.db().changes() : 1;
    return Status::ok();
}

Status BulkInsert::commit() {
    Q_ASSERT(m_tx);
    m_insert = Statement();
    m_copyStatement.clear();  // no row came: no COPY to end
    if (m_copying) {
        m_copying = false;
        ServerConnection& server = *m_table.db().server();
        Status sent = server.putCopy(m_copy);
        m_copy.clear();
        Status done = server.endCopy(sent ? QString() : sent.message());
        if (!sent) return sent;
        // The rows were checked as they came: what the server refuses is a key twice.
        if (!done) return done.category() == Category::Invalid ? m_table.duplicateKey() : done;
        m_added += m_copied;
    }
    Q_TRY(m_deferred.rebuild());
    Q_TRY(m_tx->commit());
    m_tx.reset();
    return Status::ok();
}

}  // namespace q
