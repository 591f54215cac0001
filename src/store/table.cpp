#include "store/table.h"

#include "store/schema.h"
#include "store/server_schema.h"

#include <algorithm>

namespace q {

namespace {

// The column as the case-insensitive indexes of the table's own store see it.
QString foldedColumn(const Database& db, const Field& field) {
    if (!db.onServer()) return Table::noCaseColumn(field);
    const bool text = field.type == FieldType::Alpha || field.type == FieldType::Memo;
    return text ? serverFoldExpression(quoted(field.name)) : quoted(field.name);
}

// An append on the server: the securities master's number, when the record has
// none, is handed out by the server; one given is taken, and the counter never falls
// behind it. A table in rowid order tells the new row's rowid.
Result<qint64> appendOnServer(Table& table, bool hasRowid, const Record& record) {
    const Layout& l = table.layout();
    const bool autoKey = l.autoNumberKey && l.primaryFields.size() == 1;
    QStringList cols, marks;
    QVariantList values;
    bool keyGiven = false;
    for (int i = 0; i < static_cast<int>(l.fields.size()); ++i) {
        const bool key = autoKey && l.fields[i].name.compare(l.primaryFields.first(), Qt::CaseInsensitive) == 0;
        if (key && record.values()[i].isNull()) continue;
        if (key) keyGiven = true;
        cols << quoted(l.fields[i].name);
        marks << QStringLiteral("?");
        values << record.values()[i];
    }
    auto st = table.db().prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)%4")
                                     .arg(quoted(l.table), cols.join(QStringLiteral(", ")), marks.join(QLatin1Char(',')),
                                          hasRowid ? QStringLiteral(" RETURNING rowid") : QString()),
                                 values);
    if (!st) return st.status();
    if (Status s = st->run(); !s) return s.category() == Category::Invalid ? table.duplicateKey() : s;
    const qint64 rowid = hasRowid ? table.db().lastInsertRowId() : 0;
    if (keyGiven) {
        auto bump = table.db().prepare(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), greatest(nextval(pg_get_serial_sequence(?, ?)) - 1, ?))"),
                                       {quoted(l.table), l.primaryFields.first(), quoted(l.table), l.primaryFields.first(),
                                        record.value(l.primaryFields.first())});
        if (!bump) return bump.status();
        Q_TRY(bump->run());
    }
    return rowid;
}

}  // namespace

QVariant Record::value(const QString& field) const {
    const int i = m_layout ? m_layout->fieldIndex(field) : -1;
    return i < 0 ? QVariant() : m_values[i];
}

void Record::set(const QString& field, const QVariant& value) {
    const int i = m_layout ? m_layout->fieldIndex(field) : -1;
    Q_ASSERT(i >= 0);
    if (i >= 0) m_values[i] = value;
}

Table::Table(std::unique_ptr<Database> db, Layout layout, bool hasRowid)
    : m_db(std::move(db)), m_layout(std::move(layout)), m_hasRowid(hasRowid) {
    QStringList cols;
    for (const Field& f : m_layout.fields) cols << quoted(f.name);
    m_columns = cols.join(QStringLiteral(", "));
}

Result<std::unique_ptr<Table>> Table::open(std::unique_ptr<Database> db, Layout layout) {
    auto fields = tableFields(*db, layout.table);
    if (!fields) return fields.status();
    // Keep the catalogue's sizes and flags where the file agrees on the type.
    for (Field& f : *fields) {
        if (const Field* known = layout.field(f.name); known && known->type == f.type) {
            f.name = known->name;
            f.size = known->size ? known->size : f.size;
            // An empty key is NOT NULL in the file, yet the empty text is a value.
            f.emptyKey = known->emptyKey;
            f.required = known->required || (f.required && !known->emptyKey);
        }
    }
    layout.fields = *fields;
    if (db->onServer()) {
        bool hasRowid = false;
        auto server = serverTableFields(*db->server(), db->schema(), layout.table, &hasRowid);
        if (!server) return server.status();
        return std::unique_ptr<Table>(new Table(std::move(db), std::move(layout), hasRowid));
    }
    auto st = db->prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name=? AND sql LIKE '%WITHOUT ROWID%'"));
    if (!st) return st.status();
    st->bind(1, layout.table);
    auto r = st->step();
    if (!r) return r.status();
    const bool withoutRowid = *r;
    st = Statement();
    return std::unique_ptr<Table>(new Table(std::move(db), std::move(layout), !withoutRowid));
}

QString Table::noCaseColumn(const Field& field) {
    const bool text = field.type == FieldType::Alpha || field.type == FieldType::Memo;
    return text ? foldExpression(quoted(field.name)) : quoted(field.name);
}

bool Table::hasBlankKey(const QVariantList& values) const {
    for (int i = 0; i < static_cast<int>(m_layout.fields.size()) && i < values.size(); ++i)
        if (m_layout.fields[i].emptyKey && values[i].isNull()) return true;
    return false;
}

void Table::normalise(QVariantList& values) const {
    for (int i = 0; i < static_cast<int>(m_layout.fields.size()) && i < values.size(); ++i)
        if (m_layout.fields[i].emptyKey && values[i].isNull()) values[i] = QString(QLatin1String(""));
}

Result<QString> Table::whereClause(const Query& query, QVariantList* binds) const {
    QStringList parts;
    for (const auto& [field, value] : query.equal) {
        if (!hasField(field))
            return Status::internal(QStringLiteral("Tabelle %1 hat kein Feld %2").arg(m_layout.table, field));
        parts << quoted(field) + QStringLiteral(" = ?");
        *binds << value;
    }
    for (const auto& [field, text] : query.equalNoCase) {
        if (!hasField(field))
            return Status::internal(QStringLiteral("Tabelle %1 hat kein Feld %2").arg(m_layout.table, field));
        // The same expression as the field's case-insensitive index, so that the
        // index serves the look-up; the text is folded here once.
        parts << foldedColumn(*m_db, *m_layout.field(field)) + QStringLiteral(" = ?");
        *binds << foldText(text);
    }
    if (!query.amongField.isEmpty()) {
        if (!hasField(query.amongField))
            return Status::internal(QStringLiteral("Tabelle %1 hat kein Feld %2").arg(m_layout.table, query.amongField));
        const bool numbers = std::all_of(query.among.cbegin(), query.among.cend(), [](const QVariant& v) {
            return v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong;
        });
        if (query.among.isEmpty()) {
            parts << QStringLiteral("0 = 1");
        } else if (numbers && m_db->onServer()) {
            // The server gets the numbers as one array: one parameter to plan, not hundreds.
            QStringList list;
            list.reserve(query.among.size());
            for (const QVariant& v : query.among) list << QString::number(v.toLongLong());
            parts << quoted(query.amongField) + QStringLiteral(" = ANY(CAST(? AS bigint[]))");
            *binds << QStringLiteral("{%1}").arg(list.join(QLatin1Char(',')));
        } else {
            QStringList marks;
            marks.reserve(query.among.size());
            for (const QVariant& v : query.among) {
                marks << QStringLiteral("?");
                *binds << v;
            }
            parts << quoted(query.amongField) + QStringLiteral(" IN (") + marks.join(QLatin1Char(',')) + QLatin1Char(')');
        }
    }
    if (!query.rangeField.isEmpty()) {
        if (!hasField(query.rangeField))
            return Status::internal(QStringLiteral("Tabelle %1 hat kein Feld %2").arg(m_layout.table, query.rangeField));
        if (!query.from.isNull()) {
            parts << quoted(query.rangeField) + QStringLiteral(" >= ?");
            *binds << query.from;
        }
        if (!query.to.isNull()) {
            parts << quoted(query.rangeField) + QStringLiteral(" <= ?");
            *binds << query.to;
        }
    }
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

Result<QString> Table::orderClause(const Query& query) const {
    QStringList cols;
    auto add = [&](const QString& name, bool noCase, bool desc) {
        const Field* f = m_layout.field(name);
        QString c = noCase && f ? foldedColumn(*m_db, *f) : quoted(f ? f->name : name);
        c += (desc != query.reverse) ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
        cols << c;
    };
    if (query.order.isEmpty() || query.order.compare(m_layout.primaryName, Qt::CaseInsensitive) == 0) {
        for (const QString& p : m_layout.primaryFields) add(p, false, false);
        if (m_layout.uniqueKey().isEmpty() && m_hasRowid)
            cols << (query.reverse ? QStringLiteral("rowid DESC") : QStringLiteral("rowid ASC"));
    } else {
        const Index* index = nullptr;
        for (const Index& i : m_layout.indexes)
            if (i.name.compare(query.order, Qt::CaseInsensitive) == 0) index = &i;
        if (!index)
            return Status::notFound(QStringLiteral("Tabelle %1 hat keinen Index %2").arg(m_layout.table, query.order));
        for (const QString& f : index->fields)
            add(f, index->kind == IndexKind::CaseInsensitive, index->kind == IndexKind::Descending);
        // Ties in key order. A key field the index orders already is not named twice:
        // SQLite would then sort the rows again instead of walking the index.
        for (const QString& p : m_layout.primaryFields)
            if (!index->fields.contains(p, Qt::CaseInsensitive)) add(p, false, false);
        // Rows without a key (bookings) tie in the order they were written.
        if (m_layout.uniqueKey().isEmpty() && m_hasRowid)
            cols << (query.reverse ? QStringLiteral("rowid DESC") : QStringLiteral("rowid ASC"));
    }
    return QStringLiteral(" ORDER BY ") + cols.join(QStringLiteral(", "));
}

Result<QString> Table::selectStatement(const Query& query, QVariantList* binds) const {
    auto where = whereClause(query, binds);
    if (!where) return where.status();
    auto order = orderClause(query);
    if (!order) return order.status();
    QString sql = QStringLiteral("SELECT %1%2 FROM %3%4%5")
                      .arg(m_hasRowid ? QStringLiteral("rowid, ") : QString(), m_columns, quoted(m_layout.table), *where, *order);
    if (query.limit >= 0) sql += QStringLiteral(" LIMIT %1").arg(query.limit);
    return sql;
}

Result<QString> Table::queryPlan(const Query& query) {
    QVariantList binds;
    auto sql = selectStatement(query, &binds);
    if (!sql) return sql.status();
    auto st = m_db->prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + *sql, binds);
    if (!st) return st.status();
    QStringList steps;
    for (;;) {
        auto r = st->step();
        if (!r) return r.status();
        if (!*r) break;
        steps << st->columnText(m_db->onServer() ? 0 : 3);
    }
    return steps.join(QLatin1Char('\n'));
}

Status Table::forEach(const Query& query, const std::function<bool(const Record&)>& visit) {
    QVariantList binds;
    auto sql = selectStatement(query, &binds);
    if (!sql) return sql.status();
    auto st = m_db->prepare(*sql, binds);
    if (!st) return st.status();
    const int offset = m_hasRowid ? 1 : 0;
    Record rec(&m_layout);
    for (;;) {
        auto r = st->step();
        if (!r) return r.status();
        if (!*r) break;
        rec.rowid = m_hasRowid ? st->columnInt(0) : -1;
        for (int i = 0; i < rec.values().size(); ++i) rec.values()[i] = st->column(i + offset);
        if (!visit(rec)) break;
    }
    return Status::ok();
}

Result<std::vector<Record>> Table::rows(const Query& query) {
    std::vector<Record> out;
    Q_TRY(forEach(query, [&out](const Record& r) {
        out.push_back(r);
        return true;
    }));
    return out;
}

Result<std::optional<Record>> Table::first(const Query& query) {
    Query q = query;
    q.limit = 1;
    std::optional<Record> found;
    Q_TRY(forEach(q, [&found](const Record& r) {
        found = r;
        return false;
    }));
    return found;
}

Result<qint64> Table::count(const Query& query) {
    QVariantList binds;
    auto where = whereClause(query, &binds);
    if (!where) return where.status();
    auto st = m_db->prepare(QStringLiteral("SELECT count(*) FROM %1%2").arg(quoted(m_layout.table), *where), binds);
    if (!st) return st.status();
    auto r = st->step();
    if (!r) return r.status();
    return st->columnInt(0);
}

Result<std::optional<Record>> Table::findKey(const QVariantList& key) {
    Q_ASSERT(key.size() == m_layout.primaryFields.size());
    Query q;
    for (int i = 0; i < key.size() && i < m_layout.primaryFields.size(); ++i) q.equal.push_back({m_layout.primaryFields[i], key[i]});
    return first(q);
}

Status Table::validate(const Record& record) const {
    for (int i = 0; i < static_cast<int>(m_layout.fields.size()); ++i) {
        const Field& f = m_layout.fields[i];
        const QVariant& v = record.values()[i];
        const bool empty = v.isNull() || (f.type == FieldType::Alpha && v.toString().isEmpty());
        const bool autoKey = m_layout.autoNumberKey && m_layout.primaryFields.value(0) == f.name;
        if (f.required && empty && !autoKey)
            return Status::invalid(QStringLiteral("Feld %1 der Tabelle %2 muss ausgefüllt sein").arg(f.name, m_layout.table));
        if (f.type == FieldType::Alpha && f.size > 0 && v.toString().size() > f.size)
            return Status::invalid(QStringLiteral("Feld %1 der Tabelle %2 darf höchstens %3 Zeichen haben: \"%4\"")
                                       .arg(f.name, m_layout.table)
                                       .arg(f.size)
                                       .arg(v.toString()));
    }
    return Status::ok();
}

Result<qint64> Table::append(const Record& given) {
    // A blank empty key is written as ""; a record without one is written as it is,
    // without a copy: a long import appends row after row.
    std::optional<Record> normalised;
    if (hasBlankKey(given.values())) {
        normalised = given;
        normalise(normalised->values());
    }
    const Record& record = normalised ? *normalised : given;
    Q_TRY(validate(record));
    if (m_db->onServer()) return appendOnServer(*this, m_hasRowid, record);
    if (!m_appendPrepared) {
        QStringList marks;
        for (size_t i = 0; i < m_layout.fields.size(); ++i) marks << QStringLiteral("?");
        auto st = m_db->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(quoted(m_layout.table), m_columns, marks.join(QLatin1Char(','))));
        if (!st) return st.status();
        m_append = std::move(*st);
        m_appendPrepared = true;
    }
    // Every parameter is bound anew; the statement is rewound after each step, also
    // after a failed one.
    for (int i = 0; i < record.values().size(); ++i) m_append.bind(i + 1, record.values()[i]);
    auto r = m_append.step();
    m_append.rewind();
    if (!r) {
        return r.status().category() == Category::Invalid ? duplicateKey() : r.status();
    }
    return m_hasRowid ? m_db->lastInsertRowId() : 0;
}

Status Table::duplicateKey() const {
    return Status::invalid(QStringLiteral("Einen Datensatz mit diesem Schlüssel gibt es in der Tabelle %1 schon").arg(m_layout.table));
}

Result<QString> Table::identity(const Record& record, QVariantList* binds) const {
    if (m_hasRowid && record.rowid >= 0) {
        *binds << record.rowid;
        return QStringLiteral(" WHERE rowid = ?");
    }
    if (m_layout.primaryFields.isEmpty())
        return Status::internal(QStringLiteral("Datensatz der Tabelle %1 ist nicht bestimmbar").arg(m_layout.table));
    QStringList parts;
    for (const QString& p : m_layout.primaryFields) {
        const QVariant v = record.value(p);
        if (v.isNull()) {
            parts << quoted(p) + QStringLiteral(" IS NULL");
        } else {
            parts << quoted(p) + QStringLiteral(" = ?");
            *binds << v;
        }
    }
    return QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

Status Table::update(const Record& before, const Record& given) {
    Record after = given;
    normalise(after.values());
    Q_TRY(validate(after));
    QVariantList binds;
    QStringList sets;
    for (int i = 0; i < static_cast<int>(m_layout.fields.size()); ++i) {
        sets << quoted(m_layout.fields[i].name) + QStringLiteral(" = ?");
        binds << after.values()[i];
    }
    auto where = identity(before, &binds);
    if (!where) return where.status();
    auto st = m_db->prepare(QStringLiteral("UPDATE %1 SET %2%3").arg(quoted(m_layout.table), sets.join(QStringLiteral(", ")), *where), binds);
    if (!st) return st.status();
    return st->run();
}

Status Table::remove(const Record& record) {
    QVariantList binds;
    auto where = identity(record, &binds);
    if (!where) return where.status();
    auto st = m_db->prepare(QStringLiteral("DELETE FROM %1%2").arg(quoted(m_layout.table), *where), binds);
    if (!st) return st.status();
    return st->run();
}

Status Table::addIndex(const Index& index) {
    for (const Index& i : m_layout.indexes)
        if (i.name.compare(index.name, Qt::CaseInsensitive) == 0) return Status::ok();
    for (const QString& f : index.fields)
        if (!hasField(f)) return Status::internal(QStringLiteral("Tabelle %1 hat kein Feld %2").arg(m_layout.table, f));
    Q_TRY(m_db->exec(m_db->onServer() ? serverIndexStatement(m_db->schema(), m_layout, index) : createIndexStatement(m_layout, index)));
    m_layout.indexes.push_back(index);
    return Status::ok();
}

bool Table::hasIndex(const QString& name) const {
    for (const Index& i : m_layout.indexes)
        if (i.name.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

Result<qint64> Table::removeWhere(const Query& query) {
    QVariantList binds;
    auto where = whereClause(query, &binds);
    if (!where) return where.status();
    auto st = m_db->prepare(QStringLiteral("DELETE FROM %1%2").arg(quoted(m_layout.table), *where), binds);
    if (!st) return st.status();
    Q_TRY(st->run());
    return static_cast<qint64>(m_db->changes());
}

}  // namespace q
