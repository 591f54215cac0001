// Row access to one table: walk in the order of a named index, filter by field
// values (the master-detail link by `Firma` is such a filter), find by key, and
// append, edit and delete rows. Values are checked against the layout before they
// are written (required fields, alpha sizes), so the user reads which field is wrong.
#pragma once

#include "store/database.h"
#include "store/layout.h"

#include <functional>
#include <optional>
#include <vector>

namespace q {

// One row: values in the order of the table's fields in the file.
class Record {
public:
    Record() = default;
    explicit Record(const Layout* layout) : m_layout(layout), m_values(static_cast<int>(layout->fields.size())) {}
    QVariant value(const QString& field) const;
    void set(const QString& field, const QVariant& value);
    bool has(const QString& field) const { return m_layout && m_layout->fieldIndex(field) >= 0; }
    const QVariantList& values() const { return m_values; }
    QVariantList& values() { return m_values; }
    const Layout* layout() const { return m_layout; }
    // Row identity: the rowid, or -1 for tables stored in key order (then the
    // primary key fields identify the row).
    qint64 rowid = -1;

private:
    const Layout* m_layout = nullptr;
    QVariantList m_values;
};

struct Query {
    QString order;                                   // index name; empty: primary key order
    std::vector<std::pair<QString, QVariant>> equal; // field = value (master-detail link)
    // field equals text with letter case and umlauts folded, as the case-insensitive
    // indexes order them (compareNoCase); served by such an index where one exists,
    // so a look-up by name stays fast on a large table.
    std::vector<std::pair<QString, QString>> equalNoCase;
    // field is one of `among` (a look-up of many keys in one query); with a field and
    // an empty list no row matches.
    QString amongField;
    QVariantList among;
    QString rangeField;                              // rangeField >= from and <= to (null: open)
    QVariant from;
    QVariant to;
    bool reverse = false;                            // walk from the end of the order
    qint64 limit = -1;

    static Query detailOf(int firma) {
        Query q;
        q.equal.push_back({QStringLiteral("Firma"), firma});
        return q;
    }
};

class Table {
public:
    // Opens the table `layout.table` in `db`. The layout's fields are replaced by what
    // the file holds (a table may carry extra fields such as `GlD`, or lack fields an
    // upgrade adds); its keys and index definitions stay. Fails NotFound when the
    // table is missing.
    static Result<std::unique_ptr<Table>> open(std::unique_ptr<Database> db, Layout layout);

    Database& db() { return *m_db; }
    const Layout& layout() const { return m_layout; }
    bool hasField(const QString& name) const { return m_layout.fieldIndex(name) >= 0; }
    Record newRecord() const { return Record(&m_layout); }

    // Calls `visit` for each matching row in order until it returns false.
    Status forEach(const Query& query, const std::function<bool(const Record&)>& visit);
    Result<std::vector<Record>> rows(const Query& query);
    Result<std::optional<Record>> first(const Query& query);
    Result<qint64> count(const Query& query);
    // How SQLite walks the rows of the query (EXPLAIN QUERY PLAN, one line per
    // step), to check that an index serves it.
    Result<QString> queryPlan(const Query& query);
    // The row whose primary key fields have these values.
    Result<std::optional<Record>> findKey(const QVariantList& key);

    // Appends the record; returns its rowid (or 0 for key-ordered tables). Fails
    // Invalid when a required field is empty, a text too long, or the key exists.
    Result<qint64> append(const Record& record);
    // Replaces the row `before` (as read) with `after`.
    Status update(const Record& before, const Record& after);
    Status remove(const Record& record);
    // Deletes the rows matching the query's `equal` and range conditions.
    Result<qint64> removeWhere(const Query& query);

    // Makes the secondary index in the file when it is not there yet (a sort order the
    // user asks for, such as "IAnteile"), so that Query::order can name it. The file
    // keeps it for companion programs. Fails with the store's message.
    Status addIndex(const Index& index);
    bool hasIndex(const QString& name) const;

    // Checks a record against the layout without writing.
    Status validate(const Record& record) const;
    // Writes a blank empty key (see Field::emptyKey) as "", in field order.
    void normalise(QVariantList& values) const;
    // Whether normalise() would change `values`.
    bool hasBlankKey(const QVariantList& values) const;
    // The column as the case-insensitive indexes see it: the folded text of a text
    // field (foldExpression), the plain column otherwise.
    static QString noCaseColumn(const Field& field);
    // The user's message for a key that exists already.
    Status duplicateKey() const;

private:
    Table(std::unique_ptr<Database> db, Layout layout, bool hasRowid);
    Result<QString> whereClause(const Query& query, QVariantList* binds) const;
    Result<QString> orderClause(const Query& query) const;
    Result<QString> selectStatement(const Query& query, QVariantList* binds) const;
    Result<QString> identity(const Record& record, QVariantList* binds) const;

    std::unique_ptr<Database> m_db;
    Layout m_layout;
    bool m_hasRowid;
    QString m_columns;
    // The INSERT of append(), prepared once: a long import appends row after row.
    Statement m_append;
    bool m_appendPrepared = false;
};

}  // namespace q
