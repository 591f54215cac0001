#include "store/server_schema.h"

#include "store/text_fold.h"

namespace q {

namespace {

QString quote(const QString& identifier) {
    QString s = identifier;
    return QLatin1Char('"') + s.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString literal(const QString& text) {
    QString s = text;
    return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

bool isText(FieldType t) { return t == FieldType::Alpha || t == FieldType::Memo; }

}  // namespace

QString depotSchemaName(const QString& depotDir) {
    QString dir = depotDir;
    while (dir.endsWith(QLatin1Char('/'))) dir.chop(1);
    const QString folder = foldText(dir.mid(dir.lastIndexOf(QLatin1Char('/')) + 1));
    QString name = QStringLiteral("depot_");
    for (QChar c : folder) name += (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' ? c : QChar(u'_');
    return name.left(63);
}

QString serverType(const Field& field) {
    switch (field.type) {
    case FieldType::Long: return QStringLiteral("bigint");
    case FieldType::Short: return QStringLiteral("integer");
    case FieldType::Alpha: return QStringLiteral("varchar(%1)").arg(field.size);
    case FieldType::Number: return QStringLiteral("double precision");
    case FieldType::Money: return kServerSchema + QStringLiteral(".betrag");
    case FieldType::Logical: return QStringLiteral("boolean");
    case FieldType::Date: return kServerSchema + QStringLiteral(".tag");
    case FieldType::Timestamp: return kServerSchema + QStringLiteral(".zeitpunkt");
    case FieldType::Memo: return QStringLiteral("text");
    }
    return QStringLiteral("double precision");
}

Field fieldFromServer(const QString& name, const QString& type, bool notNull) {
    Field f;
    f.name = name;
    f.required = notNull;
    const QString t = type.startsWith(kServerSchema + QLatin1Char('.')) ? type.mid(kServerSchema.size() + 1) : type;
    if (t.startsWith(QLatin1String("character varying("))) {
        f.type = FieldType::Alpha;
        f.size = t.mid(18).chopped(1).toInt();
    } else if (t == QLatin1String("bigint")) f.type = FieldType::Long;
    else if (t == QLatin1String("integer") || t == QLatin1String("smallint")) f.type = FieldType::Short;
    else if (t == QLatin1String("betrag")) f.type = FieldType::Money;
    else if (t == QLatin1String("boolean")) f.type = FieldType::Logical;
    else if (t == QLatin1String("tag")) f.type = FieldType::Date;
    else if (t == QLatin1String("zeitpunkt")) f.type = FieldType::Timestamp;
    else if (t == QLatin1String("text")) f.type = FieldType::Memo;
    else f.type = FieldType::Number;
    return f;
}

QString serverFoldExpression(const QString& column) {
    // The fold's letters, read off the one definition: single letters go through
    // translate(), longer folds ("ß" -> "ss") through replace().
    QString from, to;
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
        from += QChar(c);
        to += QChar(c + (u'a' - u'A'));
    }
    QStringList longer;
    for (char16_t c = 0x80; c < 0x100; ++c) {
        const QString folded = foldText(QString(QChar(c)));
        if (folded == QString(QChar(c))) continue;
        if (folded.size() == 1) {
            from += QChar(c);
            to += folded;
        } else {
            longer << QStringLiteral("replace(%2,%1,%3)").arg(literal(QString(QChar(c))), QStringLiteral("%1"), literal(folded));
        }
    }
    QString expr = QStringLiteral("translate(%1,%2,%3)").arg(column, literal(from), literal(to));
    for (const QString& r : longer) expr = r.arg(expr);
    return QStringLiteral("(%1) COLLATE \"C\"").arg(expr);
}

Status dropDepotSchema(ServerConnection& server, const QString& schema) {
    if (!schema.startsWith(QLatin1String("depot_")))
        return Status::internal(QStringLiteral("%1 ist kein Schema eines Depots").arg(schema));
    return server.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(quote(schema)));
}

Status ensureServerSchema(ServerConnection& server, const QString& schema) {
    // Two programs creating the schema at once: the second waits for the first.
    Q_TRY(server.exec(QStringLiteral("SELECT pg_advisory_xact_lock(4711)")));
    Q_TRY(server.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(quote(kServerSchema))));
    const char* domains[][2] = {{"betrag", "double precision"}, {"tag", "integer"}, {"zeitpunkt", "double precision"}};
    for (auto& d : domains) {
        auto exists = server.query(QStringLiteral("SELECT 1 FROM pg_type t JOIN pg_namespace n ON n.oid = t.typnamespace "
                                                  "WHERE n.nspname = $1 AND t.typname = $2"),
                                   {kServerSchema, QString::fromLatin1(d[0])});
        if (!exists) return exists.status();
        if (exists->rows() == 0)
            Q_TRY(server.exec(QStringLiteral("CREATE DOMAIN %1.%2 AS %3").arg(quote(kServerSchema), QString::fromLatin1(d[0]), QString::fromLatin1(d[1]))));
    }
    if (schema != kServerSchema) Q_TRY(server.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(quote(schema))));
    return Status::ok();
}

QString serverIndexName(const QString& table, const QString& index) { return table + QLatin1Char('_') + index; }

bool hasRowidOrder(const Layout& l) {
    const bool autoKey = l.autoNumberKey && l.primaryFields.size() == 1;
    if (autoKey || !l.primaryUnique || l.primaryFields.isEmpty()) return true;
    for (const QString& p : l.primaryFields) {
        const Field* f = l.field(p);
        if (!f || !f->required) return true;
    }
    return false;
}

namespace {

QString indexColumns(const Layout& layout, const QStringList& fields, IndexKind kind, bool plain) {
    QStringList cols;
    for (const QString& name : fields) {
        const Field* f = layout.field(name);
        QString c = quote(f ? f->name : name);
        if (!plain && kind == IndexKind::CaseInsensitive && f && isText(f->type)) c = serverFoldExpression(c);
        if (!plain && kind == IndexKind::Descending) c += QStringLiteral(" DESC");
        cols << c;
    }
    return cols.join(QStringLiteral(", "));
}

}  // namespace

QString serverIndexStatement(const QString& schema, const Layout& layout, const Index& index) {
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(quote(serverIndexName(layout.table, index.name)), qualified(schema, layout.table), indexColumns(layout, index.fields, index.kind, false));
}

QStringList serverCreateStatements(const QString& schema, const Layout& layout) {
    const bool autoKey = layout.autoNumberKey && layout.primaryFields.size() == 1;
    QStringList defs;
    for (const Field& f : layout.fields) {
        QString d = quote(f.name) + QLatin1Char(' ') + serverType(f);
        if (autoKey && f.name.compare(layout.primaryFields.first(), Qt::CaseInsensitive) == 0) {
            // Never hands out a number twice, as the files' AUTOINCREMENT.
            defs << d + QStringLiteral(" GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
            continue;
        }
        if (f.required || f.emptyKey) d += QStringLiteral(" NOT NULL");
        if (f.emptyKey) d += QStringLiteral(" DEFAULT ''");
        defs << d;
    }
    const bool unique = !layout.uniqueKey().isEmpty() && !autoKey;
    if (unique) {
        QStringList pk;
        for (const QString& p : layout.primaryFields) pk << quote(p);
        defs << QStringLiteral("PRIMARY KEY (%1)").arg(pk.join(QStringLiteral(", ")));
    }
    if (hasRowidOrder(layout)) {
        if (autoKey)
            defs << QStringLiteral("%1 bigint GENERATED ALWAYS AS (%2) STORED").arg(quote(kRowidColumn), quote(layout.primaryFields.first()));
        else
            defs << QStringLiteral("%1 bigint GENERATED BY DEFAULT AS IDENTITY %2").arg(quote(kRowidColumn), unique ? QStringLiteral("UNIQUE") : QStringLiteral("PRIMARY KEY"));
    }
    const QString table = qualified(schema, layout.table);
    QStringList out;
    out << QStringLiteral("CREATE TABLE %1 (%2)").arg(table, defs.join(QStringLiteral(", ")));
    if (const QString key = layout.keyIndexName(); !key.isEmpty())
        out << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                   .arg(quote(serverIndexName(layout.table, key)), table, indexColumns(layout, layout.primaryFields, IndexKind::Descending, true));
    for (const Index& i : layout.indexes) out << serverIndexStatement(schema, layout, i);
    return out;
}

Result<QStringList> serverDepotSchemas(ServerConnection& server) {
    auto r = server.query(QStringLiteral("SELECT nspname FROM pg_namespace WHERE nspname LIKE 'depot\\_%' ORDER BY nspname"));
    if (!r) return r.status();
    QStringList out;
    for (int i = 0; i < r->rows(); ++i) out << r->text(i, 0);
    return out;
}

Result<QStringList> serverTables(ServerConnection& server, const QString& schema) {
    auto r = server.query(QStringLiteral("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                                         "WHERE n.nspname = $1 AND c.relkind IN ('r', 'p') ORDER BY c.relname"),
                          {schema});
    if (!r) return r.status();
    QStringList out;
    for (int i = 0; i < r->rows(); ++i) out << r->text(i, 0);
    return out;
}

Result<std::vector<Field>> serverTableFields(ServerConnection& server, const QString& schema, const QString& table, bool* hasRowid) {
    auto r = server.query(QStringLiteral("SELECT a.attname, format_type(a.atttypid, a.atttypmod), a.attnotnull "
                                         "FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
                                         "JOIN pg_namespace n ON n.oid = c.relnamespace "
                                         "WHERE n.nspname = $1 AND c.relname = $2 AND a.attnum > 0 AND NOT a.attisdropped "
                                         "ORDER BY a.attnum"),
                          {schema, table});
    if (!r) return r.status();
    if (r->rows() == 0)
        return Status::notFound(QStringLiteral("Auf dem Datenbankserver %1 fehlt die Tabelle %2").arg(server.server(), qualified(schema, table)));
    std::vector<Field> fields;
    if (hasRowid) *hasRowid = false;
    for (int i = 0; i < r->rows(); ++i) {
        if (r->text(i, 0) == kRowidColumn) {
            if (hasRowid) *hasRowid = true;
            continue;
        }
        fields.push_back(fieldFromServer(r->text(i, 0), r->text(i, 1), r->text(i, 2) == QLatin1String("t")));
    }
    return fields;
}

Result<QStringList> serverPrimaryKey(ServerConnection& server, const QString& schema, const QString& table) {
    auto r = server.query(QStringLiteral("SELECT a.attname FROM pg_index x JOIN pg_class t ON t.oid = x.indrelid "
                                         "JOIN pg_namespace n ON n.oid = t.relnamespace "
                                         "JOIN LATERAL unnest(x.indkey) WITH ORDINALITY AS k(attnum, pos) ON true "
                                         "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = k.attnum "
                                         "WHERE n.nspname = $1 AND t.relname = $2 AND x.indisprimary ORDER BY k.pos"),
                          {schema, table});
    if (!r) return r.status();
    QStringList out;
    for (int i = 0; i < r->rows(); ++i)
        if (r->text(i, 0) != kRowidColumn) out << r->text(i, 0);
    return out;
}

Result<QStringList> serverIndexNames(ServerConnection& server, const QString& schema, const QString& table) {
    auto r = server.query(QStringLiteral("SELECT i.relname FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid "
                                         "JOIN pg_class t ON t.oid = x.indrelid JOIN pg_namespace n ON n.oid = t.relnamespace "
                                         "WHERE n.nspname = $1 AND t.relname = $2 AND NOT x.indisprimary AND NOT x.indisunique ORDER BY i.oid"),
                          {schema, table});
    if (!r) return r.status();
    QStringList out;
    const QString prefix = table + QLatin1Char('_');
    for (int i = 0; i < r->rows(); ++i) {
        const QString name = r->text(i, 0);
        out << (name.startsWith(prefix) ? name.mid(prefix.size()) : name);
    }
    return out;
}

Result<qint64> serverRowCount(ServerConnection& server, const QString& schema, const QString& table) {
    auto r = server.query(QStringLiteral("SELECT count(*) FROM %1").arg(qualified(schema, table)));
    if (!r) return r.status();
    return r->integer(0, 0);
}

Result<bool> serverHasAmcheck(ServerConnection& server) {
    auto r = server.query(QStringLiteral("SELECT 1 FROM pg_extension WHERE extname = 'amcheck'"));
    if (!r) return r.status();
    return r->rows() > 0;
}

Status checkServerTable(ServerConnection& server, const QString& schema, const Layout& layout, bool amcheck) {
    auto present = serverIndexNames(server, schema, layout.table);
    if (!present) return present.status();
    QStringList expected;
    if (const QString key = layout.keyIndexName(); !key.isEmpty()) expected << key;
    for (const Index& i : layout.indexes) expected << i.name;
    for (const QString& name : expected)
        if (!present->contains(name))
            return Status::corrupt(QStringLiteral("Auf dem Datenbankserver %1 fehlt der Index %2 der Tabelle %3")
                                       .arg(server.server(), name, qualified(schema, layout.table)));
    if (!amcheck) return Status::ok();
    auto indexes = server.query(QStringLiteral("SELECT i.oid, i.relname FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid "
                                               "JOIN pg_class t ON t.oid = x.indrelid JOIN pg_namespace n ON n.oid = t.relnamespace "
                                               "JOIN pg_am a ON a.oid = i.relam WHERE n.nspname = $1 AND t.relname = $2 AND a.amname = 'btree' "
                                               "ORDER BY i.oid"),
                                {schema, layout.table});
    if (!indexes) return indexes.status();
    for (int i = 0; i < indexes->rows(); ++i) {
        auto checked = server.query(QStringLiteral("SELECT bt_index_check($1::oid, true)"), {indexes->integer(i, 0)});
        if (!checked)
            return Status::corrupt(QStringLiteral("Der Index %1 der Tabelle %2 auf dem Datenbankserver %3 ist beschädigt (%4)")
                                       .arg(indexes->text(i, 1), qualified(schema, layout.table), server.server(), checked.status().message()));
    }
    return Status::ok();
}

}  // namespace q
