// Table layouts: the fields, primary key and named secondary indexes of one table
// as the catalogue defines them. Companion programs rely on these names and
// orders, so they are an external format.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace q {

// Stored in the declared SQL type of every column: never renumber or rename.
enum class FieldType { Long, Short, Alpha, Number, Money, Logical, Date, Timestamp, Memo };

struct Field {
    QString name;
    FieldType type = FieldType::Long;
    int size = 0;  // characters, Alpha only
    bool required = false;
    // A key field whose empty text is a value of its own (`Waehrung.Symbol`: ""
    // is "no currency"): stored NOT NULL, a blank written as "".
    bool emptyKey = false;
};

enum class IndexKind { CaseInsensitive, Descending };

struct Index {
    QString name;
    QStringList fields;
    IndexKind kind = IndexKind::CaseInsensitive;
};

// A seed row: values in field order (missing trailing values are NULL).
using Row = QVariantList;

struct Layout {
    QString table;  // the table's name, also the stem of its file
    std::vector<Field> fields;
    QString primaryName;      // logical name of the primary key; empty: none
    QStringList primaryFields;
    std::vector<Index> indexes;
    // The security number counts up and is never handed out twice.
    bool autoNumberKey = false;
    // False: the primary fields order the rows but do not tell them apart (each row
    // is its own, by its rowid), as the bookings: two equal purchases are two rows.
    // The order is then an ordinary index named keyIndexName().
    bool primaryUnique = true;

    int fieldIndex(const QString& name) const;  // -1 when absent; case-insensitive
    const Field* field(const QString& name) const;
    // The SQL name of the index of a non-unique primary order: the primary name with
    // "Index" appended (SQLite keeps tables and indexes in one namespace, so the
    // index cannot carry the table's name); empty for a unique key.
    QString keyIndexName() const;
    // The fields that make the file's primary key: none for a non-unique order.
    QStringList uniqueKey() const { return primaryUnique ? primaryFields : QStringList(); }
};

// The declared SQL type for a field, e.g. "VARCHAR(30)" or "MONEY REAL"; it keeps
// the field's meaning readable in the sqlite3 shell and maps back with fieldTypeOf.
QString sqlType(const Field& field);
// The field type for a declared SQL type; Number for anything unknown.
FieldType fieldTypeOf(const QString& declaredType, int* size);

}  // namespace q
