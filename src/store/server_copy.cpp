#include "store/server_copy.h"

#include "store/catalogue.h"
#include "store/database.h"
#include "store/depot_password.h"
#include "store/bulk_insert.h"
#include "store/file_system.h"
#include "store/schema.h"
#include "store/server_schema.h"
#include "store/table.h"
#include "store/table_copy.h"
#include "store/table_health.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace q {

namespace {

// The catalogue's file a path names: a safety copy ("Firma.db~") is laid out as
// the table it copies.
QString catalogueFileOf(const QString& path) {
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(QLatin1Char('~'))) name.chop(1);
    return name;
}

// COPY hands the server about a megabyte at a time.
constexpr qsizetype kChunkBytes = 1 << 20;
constexpr qint64 kProgressRows = 65536;

bool isAutoKey(const Layout& l) { return l.autoNumberKey && l.primaryFields.size() == 1; }

QString columnList(const Layout& layout) {
    QStringList cols;
    for (const Field& f : layout.fields) cols << quoted(f.name);
    return cols.join(QStringLiteral(", "));
}

// The catalogue's layout with the fields a table really has (in their order), keeping
// the catalogue's flags for the fields it knows.
Layout withFields(Layout layout, const std::vector<Field>& fields) {
    std::vector<Field> merged = fields;
    for (Field& f : merged)
        if (const Field* known = layout.field(f.name); known && known->emptyKey) {
            // Its NOT NULL comes from the empty key, which takes a blank as "".
            f.emptyKey = true;
            f.required = false;
        }
    layout.fields = merged;
    return layout;
}

QVariant fromCopyText(const QByteArray& text, FieldType type) {
    if (text.isNull()) return {};
    switch (type) {
    case FieldType::Long:
    case FieldType::Short:
    case FieldType::Date: return QVariant(static_cast<qint64>(std::strtoll(text.constData(), nullptr, 10)));
    case FieldType::Number:
    case FieldType::Money:
    case FieldType::Timestamp: return QVariant(std::strtod(text.constData(), nullptr));
    case FieldType::Logical: return QVariant(static_cast<qint64>(text == "t" ? 1 : 0));
    case FieldType::Alpha:
    case FieldType::Memo: break;
    }
    return QVariant(QString::fromUtf8(text));
}

Result<qint64> fileCount(Database& db, const QString& table) {
    auto st = db.prepare(QStringLiteral("SELECT count(*) FROM %1").arg(quoted(table)));
    if (!st) return st.status();
    auto r = st->step();
    if (!r) return r.status();
    return st->columnInt(0);
}

// The highest number the file's counter handed out; nullopt when it holds none.
Result<std::optional<qint64>> fileCounter(Database& db, const QString& table) {
    auto has = db.texts(QStringLiteral("SELECT name FROM sqlite_master WHERE name='sqlite_sequence'"));
    if (!has) return has.status();
    if (has->isEmpty()) return std::optional<qint64>();
    auto st = db.prepare(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name=?"), {table});
    if (!st) return st.status();
    auto r = st->step();
    if (!r) return r.status();
    if (!*r) return std::optional<qint64>();
    return std::optional<qint64>(st->columnInt(0));
}

Status setFileCounter(Database& db, const QString& table, std::optional<qint64> counter) {
    auto del = db.prepare(QStringLiteral("DELETE FROM sqlite_sequence WHERE name=?"), {table});
    if (!del) return del.status();
    Q_TRY(del->run());
    if (!counter) return Status::ok();
    auto ins = db.prepare(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"), {table, *counter});
    if (!ins) return ins.status();
    return ins->run();
}

QString sequenceOf(const QString& schema, const Layout& layout) {
    QString key = layout.primaryFields.first();
    return QStringLiteral("pg_get_serial_sequence('%1', '%2')")
        .arg(qualified(schema, layout.table).replace(QLatin1Char('\''), QStringLiteral("''")), key.replace(QLatin1Char('\''), QStringLiteral("''")));
}

}  // namespace

Result<std::optional<qint64>> serverKeyCounter(ServerConnection& server, const QString& schema, const Layout& layout) {
    auto name = server.query(QStringLiteral("SELECT %1").arg(sequenceOf(schema, layout)));
    if (!name) return name.status();
    if (name->rows() == 0 || name->isNull(0, 0))
        return Status::corrupt(QStringLiteral("Der Tabelle %1 auf dem Datenbankserver %2 fehlt ihr Zähler").arg(qualified(schema, layout.table), server.server()));
    // The name comes quoted from the server itself.
    auto state = server.query(QStringLiteral("SELECT last_value, is_called FROM %1").arg(name->text(0, 0)));
    if (!state) return state.status();
    if (state->rows() > 0 && state->text(0, 1) == QLatin1String("t")) return std::optional<qint64>(state->integer(0, 0));
    return std::optional<qint64>();
}

Result<QStringList> fileTables(const QString& path) {
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    auto names = (*db)->tableNames();
    if (!names) return names.status();
    const QString main = tableNameOf(catalogueFileOf(path));
    QStringList out;
    for (const QString& n : *names)
        if (n.compare(main, Qt::CaseInsensitive) == 0) out.prepend(n);
        else out << n;
    return out;
}

namespace {

// The layout of `table` in the open file `db` (at `path`).
Result<Layout> layoutIn(Database& db, const QString& path, const QString& table) {
    if (table.compare(kPasswordTable, Qt::CaseInsensitive) == 0) return passwordTableLayout();
    auto fields = tableFields(db, table);
    if (!fields) return fields.status();
    Layout layout = layoutForFile(catalogueFileOf(path));
    layout.table = table;
    return withFields(layout, *fields);
}

}  // namespace

Result<Layout> fileTableLayout(const QString& path, const QString& table) {
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    return layoutIn(**db, path, table);
}

Result<TableCounts> copyTableToServer(const QString& path, const QString& table, ServerConnection& server,
                                      const QString& schema, bool replace, Progress* progress) {
    auto opened = Database::open(path, Database::Mode::OpenExisting);
    if (!opened) return opened.status();
    Database& db = **opened;
    auto layout = layoutIn(db, path, table);
    if (!layout) return layout.status();
    // One read snapshot of the file: the rows copied and the rows counted are of the
    // same moment, whatever another program writes meanwhile.
    Q_TRY(db.exec(QStringLiteral("BEGIN")));
    TableCounts counts;
    counts.table = table;
    auto n = fileCount(db, table);
    if (!n) return n.status();
    counts.file = *n;
    std::optional<qint64> counter;
    if (isAutoKey(*layout)) {
        auto c = fileCounter(db, table);
        if (!c) return c.status();
        counter = *c;
    }

    ServerTransaction tx(server);
    Q_TRY(tx.begin());
    Q_TRY(ensureServerSchema(server, schema));
    auto existing = serverTables(server, schema);
    if (!existing) return existing.status();
    if (existing->contains(table)) {
        if (!replace)
            return Status::invalid(QStringLiteral("Auf dem Datenbankserver %1 gibt es die Tabelle %2 schon").arg(server.server(), qualified(schema, table)));
        // Numbers the table on the server handed out are never handed out again, also
        // when an older copy takes its place.
        if (isAutoKey(*layout)) {
            auto old = serverKeyCounter(server, schema, *layout);
            // A table that lost its counter is replaced all the same: the copy brings its own.
            if (!old && old.status().category() != Category::Corrupt) return old.status();
            if (old && *old) counter = std::max(counter.value_or(0), **old);
        }
        Q_TRY(server.exec(QStringLiteral("DROP TABLE %1").arg(qualified(schema, table))));
    }
    const QStringList create = serverCreateStatements(schema, *layout);
    Q_TRY(server.exec(create.first()));

    auto select = db.prepare(QStringLiteral("SELECT %1 FROM %2").arg(columnList(*layout), quoted(table)));
    if (!select) return select.status();
    const int columns = static_cast<int>(layout->fields.size());
    qint64 copied = 0;
    Q_TRY(server.copyIn(QStringLiteral("COPY %1 (%2) FROM STDIN").arg(qualified(schema, table), columnList(*layout)),
                        [&](QByteArray& chunk, bool* more) -> Status {
                            while (chunk.size() < kChunkBytes) {
                                auto row = select->step();
                                if (!row) return row.status();
                                if (!*row) {
                                    *more = false;
                                    return Status::ok();
                                }
                                for (int i = 0; i < columns; ++i) {
                                    if (i) chunk += '\t';
                                    appendCopyValue(chunk, select->column(i));
                                }
                                chunk += '\n';
                                if (++copied % kProgressRows == 0 && progress) {
                                    progress->step(QStringLiteral("%1 (%2/%3)").arg(table).arg(copied).arg(counts.file), copied, counts.file);
                                    if (progress->cancelRequested()) return Status::cancelled();
                                }
                            }
                            return Status::ok();
                        }));
    for (qsizetype i = 1; i < create.size(); ++i) Q_TRY(server.exec(create[i]));
    if (isAutoKey(*layout)) {
        // The counter as the file kept it: the next security gets the number after it.
        auto set = server.query(QStringLiteral("SELECT setval(%1, $1, $2)").arg(sequenceOf(schema, *layout)),
                                {counter.value_or(1), counter.has_value()});
        if (!set) return set.status();
    }
    auto onServer = serverRowCount(server, schema, table);
    if (!onServer) return onServer.status();
    counts.server = *onServer;
    Q_TRY(tx.commit());
    Q_TRY(db.exec(QStringLiteral("COMMIT")));
    return counts;
}

Result<std::vector<TableCounts>> copyFileFromServer(ServerConnection& server, const QString& schema, const QStringList& tables,
                                                    const QString& path, Progress* progress) {
    const QString fresh = path + QStringLiteral(".neu");
    removeWithJournal(fresh);
    struct Cleanup {
        QString path;
        ~Cleanup() { removeWithJournal(path); }
    } cleanup{fresh};

    const QString catalogueName = catalogueFileOf(path);
    ServerTransaction tx(server);
    Q_TRY(tx.begin(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")));
    std::vector<TableCounts> out;
    Layout mainLayout;
    for (const QString& table : tables) {
        bool hasRowid = false;
        auto fields = serverTableFields(server, schema, table, &hasRowid);
        if (!fields) return fields.status();
        const bool password = table == kPasswordTable;
        Layout layout = password ? passwordTableLayout() : layoutForFile(catalogueName);
        if (!password) {
            layout.table = table;
            layout = withFields(layout, *fields);
            mainLayout = layout;
        }
        auto opened = Database::open(fresh, Database::Mode::CreateIfMissing);
        if (!opened) return opened.status();
        {
            Transaction create(**opened);
            Q_TRY(create.begin());
            if (password) Q_TRY((*opened)->exec(passwordTableStatement()));
            else
                for (const QString& sql : createStatements(layout)) Q_TRY((*opened)->exec(sql));
            Q_TRY(create.commit());
        }
        auto t = Table::open(std::move(*opened), layout);
        if (!t) return t.status();
        Table& file = **t;
        TableCounts counts;
        counts.table = table;
        auto onServer = serverRowCount(server, schema, table);
        if (!onServer) return onServer.status();
        counts.server = *onServer;

        BulkInsert insert(file);
        Q_TRY(insert.begin());
        std::vector<FieldType> types;
        for (const Field& f : layout.fields) types.push_back(f.type);
        QVariantList values;
        qint64 copied = 0;
        // Rows kept in rowid order come back in the order they were written.
        const QString order = hasRowid ? QStringLiteral(" ORDER BY %1").arg(quoted(kRowidColumn)) : QString();
        Q_TRY(server.copyOut(QStringLiteral("COPY (SELECT %1 FROM %2%3) TO STDOUT").arg(columnList(layout), qualified(schema, table), order),
                             [&](const QByteArray& line) -> Status {
                                 const QList<QByteArray> fieldsText = splitCopyLine(line);
                                 if (fieldsText.size() != static_cast<qsizetype>(types.size()))
                                     return Status::corrupt(QStringLiteral("Der Datenbankserver %1 lieferte eine unvollständige Zeile der Tabelle %2")
                                                                .arg(server.server(), qualified(schema, table)));
                                 values.clear();
                                 for (size_t i = 0; i < types.size(); ++i) values << fromCopyText(fieldsText[static_cast<qsizetype>(i)], types[i]);
                                 if (++copied % kProgressRows == 0 && progress) {
                                     progress->step(QStringLiteral("%1 (%2/%3)").arg(table).arg(copied).arg(counts.server), copied, counts.server);
                                     if (progress->cancelRequested()) return Status::cancelled();
                                 }
                                 return insert.add(values);
                             }));
        Q_TRY(insert.commit());
        if (isAutoKey(layout)) {
            auto counter = serverKeyCounter(server, schema, layout);
            if (!counter) return counter.status();
            Transaction seqTx(file.db());
            Q_TRY(seqTx.begin());
            Q_TRY(setFileCounter(file.db(), table, *counter));
            Q_TRY(seqTx.commit());
        }
        auto n = fileCount(file.db(), table);
        if (!n) return n.status();
        counts.file = *n;
        out.push_back(counts);
    }
    Q_TRY(tx.commit());
    if (Status s = fullCheck(fresh, mainLayout, {}, CheckDepth::Pages); !s) return s;
    if (QFileInfo::exists(path)) {
        Q_TRY(putCopyBack(fresh, path, progress));
        return out;
    }
    auto published = publishFile(fresh, path);
    if (!published) return published.status();
    // Another program made the file meanwhile: it gets the content as any existing file.
    if (!*published) return Status::busy(QStringLiteral("Die Datei %1 wurde während des Kopierens angelegt").arg(path));
    return out;
}

}  // namespace q
