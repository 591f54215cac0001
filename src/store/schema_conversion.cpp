#include "store/schema_conversion.h"

#include "base/text_files.h"
#include "store/schema.h"
#include "store/upgrades.h"

#include <sqlite3.h>

namespace q {

namespace {

// The indexes of the old releases name the collation QNOCASE; a connection that
// touches them (dropping their table, reading through them) needs one by that name.
// Any consistent order serves: the conversion drops those indexes in the same
// transaction, and no other connection of the program registers it.
int legacyCollation(void*, int lenA, const void* a, int lenB, const void* b) {
    return compareNoCase(QString::fromUtf8(static_cast<const char*>(a), lenA),
                         QString::fromUtf8(static_cast<const char*>(b), lenB));
}

// A key field that must be NOT NULL but is not in the file. The security number of
// an autoincrement key is never NULL whatever the file declares.
bool keyAllowsNull(const Layout& layout, const std::vector<Field>& fileFields) {
    if (layout.autoNumberKey) return false;
    for (const QString& key : layout.primaryFields) {
        const Field* wanted = layout.field(key);
        if (!wanted || !(wanted->required || wanted->emptyKey)) continue;
        for (const Field& f : fileFields)
            if (f.name.compare(key, Qt::CaseInsensitive) == 0 && !f.required) return true;
    }
    return false;
}

// The file keys its rows on other fields than the catalogue: the bookings of earlier
// releases had a unique key over all their fields, which refused a second equal purchase.
bool keyDiffers(const Layout& layout, const QStringList& fileKey) {
    if (layout.autoNumberKey) return false;
    const QStringList wanted = layout.uniqueKey();
    if (fileKey.size() != wanted.size()) return true;
    for (int i = 0; i < fileKey.size(); ++i)
        if (fileKey[i].compare(wanted[i], Qt::CaseInsensitive) != 0) return true;
    return false;
}

// The layout with the fields the file has, in file order (a field the catalogue
// does not know, such as `GlD`, kept as the file declares it), and those of its
// indexes whose fields are all there.
Layout fileLayout(const Layout& layout, const std::vector<Field>& fileFields) {
    Layout out = layout;
    out.fields.clear();
    for (const Field& f : fileFields) {
        const Field* known = layout.field(f.name);
        out.fields.push_back(known ? *known : f);
    }
    out.indexes.clear();
    for (const Index& i : layout.indexes) {
        bool complete = true;
        for (const QString& name : i.fields) complete = complete && out.field(name);
        if (complete) out.indexes.push_back(i);
    }
    return out;
}

}  // namespace

void registerLegacyCollation(sqlite3* db) { sqlite3_create_collation(db, "QNOCASE", SQLITE_UTF8, nullptr, legacyCollation); }

Status convertTableFile(const QString& path, const Layout& layout, bool* converted) {
    if (converted) *converted = false;
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    auto fields = tableFields(**db, layout.table);
    if (!fields) return fields.status().category() == Category::NotFound ? Status::ok() : fields.status();
    auto oldIndexes = (*db)->texts(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND sql LIKE '%COLLATE QNOCASE%' ORDER BY rowid"));
    if (!oldIndexes) return oldIndexes.status();
    auto fileKey = primaryKeyFields(**db, layout.table);
    if (!fileKey) return fileKey.status();
    const bool rebuild = keyAllowsNull(layout, *fields) || keyDiffers(layout, *fileKey);
    if (oldIndexes->isEmpty() && !rebuild) return Status::ok();

    registerLegacyCollation((*db)->handle());
    const Layout target = fileLayout(layout, *fields);
    Transaction tx(**db);
    Q_TRY(tx.begin());
    if (rebuild) {
        // Every row is kept or the file stays as it was: a row the new key refuses
        // fails the rebuild.
        Status s = rebuildTable(**db, *fields, target, target.table + QStringLiteral("_neu"),
                                [&target](const QString& field, const QVariant& old, bool) -> QVariant {
                                    const Field* f = target.field(field);
                                    if (f && f->emptyKey && old.isNull()) return QString(QLatin1String(""));
                                    return old;
                                },
                                false);
        if (!s) {
            if (s.category() != Category::Invalid) return s;
            return Status::invalid(QStringLiteral("Die Tabelle %1 kann nicht umgestellt werden: %2").arg(path, s.message()));
        }
    } else {
        for (const QString& name : *oldIndexes) Q_TRY((*db)->exec(QStringLiteral("DROP INDEX %1").arg(quoted(name))));
        for (const QString& index : createStatements(target).mid(1)) Q_TRY((*db)->exec(index));
    }
    Q_TRY(tx.commit());
    if (converted) *converted = true;
    return Status::ok();
}

ConversionReport convertOldTables(Store& store) {
    store.closeAll();
    ConversionReport report;
    for (const CatalogueEntry& e : catalogue()) {
        const QString dir = store.dirOf(e.file);
        // Tables on the server were made in today's form.
        if (dir.isEmpty() || store.onServer(e.file)) continue;
        const QString path = findFile(dir, e.file);
        if (path.isEmpty()) continue;
        bool converted = false;
        if (Status s = convertTableFile(path, layoutFor(e.kind, tableNameOf(e.file)), &converted); !s)
            report.failures << s.message();
        else if (converted)
            report.converted << path;
    }
    return report;
}

}  // namespace q
