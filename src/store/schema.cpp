#include "store/schema.h"

#include "store/server_schema.h"

namespace q {

namespace {

bool isText(FieldType t) { return t == FieldType::Alpha || t == FieldType::Memo; }

QString columnDefinition(const Field& f, bool autoNumberKey) {
    // AUTOINCREMENT keeps the highest number ever handed out, so a deleted
    // security's number is never given to another one. NULL written to it hands out
    // the next number; NOT NULL only states that no row is without one.
    if (autoNumberKey) return quoted(f.name) + QStringLiteral(" INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT");
    QString d = quoted(f.name) + QLatin1Char(' ') + sqlType(f);
    if (f.required || f.emptyKey) d += QStringLiteral(" NOT NULL");
    // Another program that leaves the field out writes the empty key.
    if (f.emptyKey) d += QStringLiteral(" DEFAULT ''");
    if (f.type == FieldType::Alpha)
        d += QStringLiteral(" CHECK(length(%1) <= %2)").arg(quoted(f.name)).arg(f.size);
    return d;
}

bool primaryAllRequired(const Layout& l) {
    if (!l.primaryUnique) return false;
    for (const QString& p : l.primaryFields) {
        const Field* f = l.field(p);
        if (!f || !f->required) return false;
    }
    return !l.primaryFields.isEmpty();
}

}  // namespace

QString createIndexStatement(const Layout& layout, const Index& index) {
    QStringList cols;
    for (const QString& name : index.fields) {
        const Field* f = layout.field(name);
        QString c = quoted(f ? f->name : name);
        if (index.kind == IndexKind::CaseInsensitive && f && isText(f->type)) c = foldExpression(c);
        if (index.kind == IndexKind::Descending) c += QStringLiteral(" DESC");
        cols << c;
    }
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(quoted(index.name), quoted(layout.table), cols.join(QStringLiteral(", ")));
}

QString keyIndexStatement(const Layout& layout) {
    QStringList cols;
    for (const QString& p : layout.primaryFields) cols << quoted(p);
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(quoted(layout.keyIndexName()), quoted(layout.table), cols.join(QStringLiteral(", ")));
}

QStringList createStatements(const Layout& layout) {
    QStringList defs;
    const bool autoKey = layout.autoNumberKey && layout.primaryFields.size() == 1;
    for (const Field& f : layout.fields)
        defs << columnDefinition(f, autoKey && f.name == layout.primaryFields.first());
    if (!layout.uniqueKey().isEmpty() && !autoKey) {
        QStringList pk;
        for (const QString& p : layout.primaryFields) pk << quoted(p);
        defs << QStringLiteral("PRIMARY KEY (%1)").arg(pk.join(QStringLiteral(", ")));
    }
    // Tables keyed on required fields are stored in key order, which makes reading
    // one security's prices a single range scan.
    const bool clustered = !autoKey && primaryAllRequired(layout);
    QStringList out;
    out << QStringLiteral("CREATE TABLE %1 (%2)%3")
               .arg(quoted(layout.table), defs.join(QStringLiteral(", ")),
                    clustered ? QStringLiteral(" WITHOUT ROWID") : QString());
    if (const QString key = layout.keyIndexName(); !key.isEmpty()) out << keyIndexStatement(layout);
    for (const Index& i : layout.indexes) out << createIndexStatement(layout, i);
    return out;
}

Status createTableIn(Database& db, const Layout& layout, const std::vector<Row>& seed) {
    for (const QString& sql : db.onServer() ? serverCreateStatements(db.schema(), layout) : createStatements(layout)) Q_TRY(db.exec(sql));
    if (seed.empty()) return Status::ok();
    QStringList marks;
    for (size_t i = 0; i < layout.fields.size(); ++i) marks << QStringLiteral("?");
    auto st = db.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(quoted(layout.table), marks.join(QLatin1Char(','))));
    if (!st) return st.status();
    for (const Row& row : seed) {
        for (int i = 0; i < static_cast<int>(layout.fields.size()); ++i) st->bind(i + 1, i < row.size() ? row[i] : QVariant());
        Q_TRY(st->run());
    }
    return Status::ok();
}

Status ensureTable(Database& db, const Layout& layout, const std::vector<Row>& seed, bool* created) {
    if (created) *created = false;
    Transaction tx(db);
    Q_TRY(tx.begin());
    if (db.onServer()) {
        // A schema holds many tables: only this one's presence counts. Two programs
        // creating it at once: the second waits here and then finds it made.
        Q_TRY(ensureServerSchema(*db.server(), db.schema()));
        auto tables = serverTables(*db.server(), db.schema());
        if (!tables) return tables.status();
        if (tables->contains(layout.table)) return Status::ok();
        Q_TRY(createTableIn(db, layout, seed));
        Q_TRY(tx.commit());
        if (created) *created = true;
        return Status::ok();
    }
    auto names = db.tableNames();
    if (!names) return names.status();
    for (const QString& n : *names)
        if (n.compare(layout.table, Qt::CaseInsensitive) == 0) return Status::ok();
    if (!names->isEmpty())
        return Status::corrupt(QStringLiteral("Die Datei %1 enthält nicht die Tabelle %2").arg(db.path(), layout.table));
    Q_TRY(createTableIn(db, layout, seed));
    Q_TRY(tx.commit());
    if (created) *created = true;
    return Status::ok();
}

Status recreateTable(Database& db, const Layout& layout, const std::vector<Row>& seed) {
    Transaction tx(db);
    Q_TRY(tx.begin());
    if (db.onServer()) Q_TRY(ensureServerSchema(*db.server(), db.schema()));
    Q_TRY(db.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(quoted(layout.table))));
    Q_TRY(createTableIn(db, layout, seed));
    return tx.commit();
}

Result<std::vector<Field>> tableFields(Database& db, const QString& table) {
    if (db.onServer()) return serverTableFields(*db.server(), db.schema(), table);
    auto st = db.prepare(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
    if (!st) return st.status();
    std::vector<Field> fields;
    for (;;) {
        auto r = st->step();
        if (!r) return r.status();
        if (!*r) break;
        Field f;
        f.name = st->columnText(1);
        f.type = fieldTypeOf(st->columnText(2), &f.size);
        f.required = st->columnInt(3) != 0;
        fields.push_back(f);
    }
    if (fields.empty())
        return Status::notFound(QStringLiteral("Die Datei %1 enthält nicht die Tabelle %2").arg(db.path(), table));
    return fields;
}

bool hasField(const std::vector<Field>& fields, const QString& name) {
    for (const Field& f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

Result<QStringList> primaryKeyFields(Database& db, const QString& table) {
    if (db.onServer()) return serverPrimaryKey(*db.server(), db.schema(), table);
    auto names = db.texts(QStringLiteral("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk"), {table});
    if (!names) return names.status();
    return *names;
}

Result<QStringList> indexNames(Database& db, const Layout& layout) {
    QStringList names;
    if (db.onServer()) {
        auto key = serverPrimaryKey(*db.server(), db.schema(), layout.table);
        if (!key) return key.status();
        auto fields = serverTableFields(*db.server(), db.schema(), layout.table);
        if (!fields) return fields.status();
        auto secondary = serverIndexNames(*db.server(), db.schema(), layout.table);
        if (!secondary) return secondary.status();
        bool hasPrimary = !key->isEmpty();
        const QString keyIndex = layout.keyIndexName();
        if (!keyIndex.isEmpty() && secondary->removeAll(keyIndex) > 0) hasPrimary = true;
        if (hasPrimary && !layout.primaryName.isEmpty()) names << layout.primaryName;
        return names + *secondary;
    }
    auto info = db.prepare(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(layout.table)));
    if (!info) return info.status();
    bool hasPrimary = false;
    bool anyColumn = false;
    for (;;) {
        auto r = info->step();
        if (!r) return r.status();
        if (!*r) break;
        anyColumn = true;
        if (info->columnInt(5) > 0) hasPrimary = true;
    }
    if (!anyColumn)
        return Status::notFound(QStringLiteral("Die Datei %1 enthält nicht die Tabelle %2").arg(db.path(), layout.table));
    auto secondary = db.texts(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=? AND sql IS NOT NULL ORDER BY rowid"),
        {layout.table});
    if (!secondary) return secondary.status();
    // A non-unique primary order stands under its logical name, first, as a key would.
    const QString key = layout.keyIndexName();
    if (!key.isEmpty() && secondary->removeAll(key) > 0) hasPrimary = true;
    if (hasPrimary && !layout.primaryName.isEmpty()) names << layout.primaryName;
    return names + *secondary;
}

Status checkFields(Database& db, const Layout& layout, const QStringList& mayLack) {
    auto fields = tableFields(db, layout.table);
    if (!fields) {
        if (fields.status().category() == Category::NotFound) return Status::corrupt(fields.status().message());
        return fields.status();
    }
    for (const Field& f : layout.fields) {
        if (hasField(*fields, f.name) || mayLack.contains(f.name, Qt::CaseInsensitive)) continue;
        return Status::corrupt(QStringLiteral("In der Tabelle %1 (%2) fehlt das Feld %3").arg(layout.table, db.path(), f.name));
    }
    return Status::ok();
}

}  // namespace q
