#include "store/table_health.h"

#include "store/database.h"
#include "store/raw_connection.h"
#include "store/schema.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace q {

namespace {

// The SQLite file header (the first 100 bytes of a database file).
constexpr int kHeaderSize = 100;
const QByteArray kMagic("SQLite format 3\0", 16);

// `text` as an SQL string literal.
QString literal(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

quint32 bigEndian(const QByteArray& b, int at, int bytes) {
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The header alone: size, magic and the page count it records.
Status checkHeader(const QString& path) {
    QFile f(path);
    if (!f.exists()) return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(path));
    const qint64 size = f.size();
    // A WAL file with frames may hold everything of a file whose own pages were never
    // written yet; SQLite then reads it from there.
    const bool walHolds = QFileInfo(path + QStringLiteral("-wal")).size() > 0;
    if (size == 0 && !walHolds) return Status::corrupt(QStringLiteral("Die Datei %1 ist leer").arg(path));
    if (size == 0) return Status::ok();
    if (!f.open(QIODevice::ReadOnly)) return Status::io(QStringLiteral("Die Datei %1 kann nicht gelesen werden").arg(path));
    const QByteArray header = f.read(kHeaderSize);
    if (header.size() < kHeaderSize || !header.startsWith(kMagic))
        return Status::corrupt(QStringLiteral("Die Datei %1 ist keine gültige Datenbank").arg(path));
    // The page count at offset 28 is valid when the change counter (24) equals the
    // version-valid-for number (92); frames in the WAL may add pages the file lacks.
    quint32 pageSize = bigEndian(header, 16, 2);
    if (pageSize == 1) pageSize = 65536;
    const quint32 pages = bigEndian(header, 28, 4);
    const bool countValid = bigEndian(header, 24, 4) == bigEndian(header, 92, 4) && pages > 0;
    const qint64 expected = static_cast<qint64>(pages) * pageSize;
    if (countValid && !walHolds && size < expected)
        return Status::corrupt(QStringLiteral("Die Datei %1 ist unvollständig (%2 von %3 Bytes)").arg(path).arg(size).arg(expected));
    return Status::ok();
}

Status checkTablePresent(RawConnection& db, const QString& table) {
    auto names = db.texts(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    if (!names) return names.status();
    for (const QString& n : *names)
        if (n.compare(table, Qt::CaseInsensitive) == 0) return Status::ok();
    return Status::corrupt(QStringLiteral("Die Datei %1 enthält nicht die Tabelle %2").arg(db.path(), table));
}

Status checkLayoutFields(RawConnection& db, const Layout& layout, const QStringList& mayLack) {
    auto names = db.texts(QStringLiteral("SELECT name FROM pragma_table_info(%1)").arg(literal(layout.table)));
    if (!names) return names.status();
    for (const Field& f : layout.fields) {
        if (names->contains(f.name, Qt::CaseInsensitive) || mayLack.contains(f.name, Qt::CaseInsensitive)) continue;
        return Status::corrupt(QStringLiteral("In der Tabelle %1 (%2) fehlt das Feld %3").arg(layout.table, db.path(), f.name));
    }
    return Status::ok();
}

// SQLite's check, its first findings turned into the message.
Status integrity(RawConnection& db, CheckDepth depth = CheckDepth::Everything) {
    // Comparing each index with its table reads pages all over the file; a large
    // cache makes that several times faster on a big price table.
    Q_TRY(db.exec("PRAGMA cache_size=-131072"));
    auto lines = db.texts(depth == CheckDepth::Pages ? QStringLiteral("PRAGMA quick_check(5)") : QStringLiteral("PRAGMA integrity_check(5)"));
    if (!lines) return lines.status();
    QStringList problems = *lines;
    problems.removeAll(QStringLiteral("ok"));
    problems.removeAll(QStringLiteral("*** in database main ***"));
    if (problems.isEmpty()) return Status::ok();
    if (problems.join(QLatin1Char(' ')).contains(QLatin1String("index"), Qt::CaseInsensitive))
        return Status::corrupt(QStringLiteral("Indexfehler in der Datei %1: %2").arg(db.path(), problems.first()));
    return Status::corrupt(QStringLiteral("Die Datenbank %1 ist beschädigt (%2)").arg(db.path(), problems.first()));
}

// Reads every row with every field through the table's own tree, no index used.
Status readAllRows(RawConnection& db, const QString& table) {
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QStringLiteral("SELECT * FROM %1 NOT INDEXED").arg(quoted(table)).toUtf8();
    if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &st, nullptr) != SQLITE_OK) return db.error(QStringLiteral("Lesen"));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i) (void)sqlite3_column_bytes(st, i);
    }
    sqlite3_finalize(st);
    return rc == SQLITE_DONE ? Status::ok() : db.error(QStringLiteral("Lesen"));
}

}  // namespace

Status quickCheck(const QString& path, const QString& table) {
    Q_TRY(checkHeader(path));
    RawConnection db;
    Q_TRY(db.open(path));
    return checkTablePresent(db, table);
}

Status fullCheck(const QString& path, const Layout& layout, const QStringList& mayLack, CheckDepth depth) {
    Q_TRY(checkHeader(path));
    RawConnection db;
    Q_TRY(db.open(path));
    Q_TRY(checkTablePresent(db, layout.table));
    Q_TRY(integrity(db, depth));
    return checkLayoutFields(db, layout, mayLack);
}

Result<Damage> diagnose(const QString& path, const Layout& layout) {
    Status whole = fullCheck(path, layout);
    if (whole) return Damage::None;
    if (whole.category() != Category::Corrupt) return whole;
    RawConnection db;
    if (Status s = checkHeader(path); !s) return Damage::Table;
    Q_TRY(db.open(path));
    if (!checkTablePresent(db, layout.table) || !checkLayoutFields(db, layout, {}) || !readAllRows(db, layout.table))
        return Damage::Table;
    return Damage::Indexes;
}

Status rebuildIndexes(const QString& path, const Layout& layout) {
    {
        RawConnection db;
        Q_TRY(db.open(path));
        Q_TRY(db.exec("BEGIN IMMEDIATE"));
        auto definitions = db.texts(
            QStringLiteral("SELECT name || char(10) || sql FROM sqlite_master WHERE type='index' AND sql IS NOT NULL "
                           "AND tbl_name=%1 ORDER BY rowid")
                .arg(literal(layout.table)));
        if (!definitions) return definitions.status();
        auto version = db.texts(QStringLiteral("PRAGMA schema_version"));
        if (!version || version->isEmpty()) return version ? Status::internal(path) : version.status();
        // Out of the schema, the damaged trees are never read again; their pages are
        // left to the VACUUM below. The new schema version makes every other
        // connection read the schema anew before it writes.
        const QByteArray remove =
            QStringLiteral("PRAGMA writable_schema=ON; DELETE FROM sqlite_master WHERE type='index' AND sql IS NOT NULL "
                           "AND tbl_name=%1; PRAGMA writable_schema=OFF; PRAGMA schema_version=%2; COMMIT;")
                .arg(literal(layout.table))
                .arg(version->first().toLongLong() + 1)
                .toUtf8();
        if (Status s = db.exec(remove.constData()); !s) {
            (void)db.exec("ROLLBACK");
            return s;
        }
        Q_TRY(db.exec("VACUUM"));

        // The catalogue's indexes whose fields the file has, then any other index the
        // file had, as it was defined.
        auto fields = db.texts(QStringLiteral("SELECT name FROM pragma_table_info(%1)").arg(literal(layout.table)));
        if (!fields) return fields.status();
        QStringList statements;
        QStringList made;
        for (const Index& i : layout.indexes) {
            bool complete = true;
            for (const QString& f : i.fields) complete = complete && fields->contains(f, Qt::CaseInsensitive);
            if (!complete) continue;
            statements << createIndexStatement(layout, i);
            made << i.name;
        }
        for (const QString& d : *definitions) {
            const QString name = d.section(QLatin1Char('\n'), 0, 0);
            if (!made.contains(name, Qt::CaseInsensitive)) statements << d.section(QLatin1Char('\n'), 1);
        }
        Q_TRY(db.exec("BEGIN IMMEDIATE"));
        for (const QString& sql : statements) {
            if (Status s = db.exec(sql.toUtf8().constData()); !s) {
                (void)db.exec("ROLLBACK");
                return s;
            }
        }
        Q_TRY(db.exec("COMMIT"));
        return integrity(db);
    }
}

}  // namespace q
