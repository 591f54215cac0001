#include "store/deferred_indexes.h"

#include "store/schema.h"
#include "store/server_schema.h"

namespace q {

Status DeferredIndexes::dropIfEmpty(Table& table) {
    m_table = &table;
    m_dropped.clear();
    Database& db = table.db();
    const Layout& layout = table.layout();
    auto any = db.texts(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(quoted(layout.table)));
    if (!any) return any.status();
    if (!any->isEmpty()) return Status::ok();
    auto present = indexNames(db, layout);
    if (!present) return present.status();
    for (const Index& i : layout.indexes) {
        if (!present->contains(i.name)) continue;
        Q_TRY(db.exec(QStringLiteral("DROP INDEX %1").arg(quoted(db.onServer() ? serverIndexName(layout.table, i.name) : i.name))));
        m_dropped.push_back(i);
    }
    return Status::ok();
}

Status DeferredIndexes::rebuild() {
    Database& db = m_table->db();
    for (const Index& i : m_dropped)
        Q_TRY(db.exec(db.onServer() ? serverIndexStatement(db.schema(), m_table->layout(), i) : createIndexStatement(m_table->layout(), i)));
    m_dropped.clear();
    return Status::ok();
}

}  // namespace q
