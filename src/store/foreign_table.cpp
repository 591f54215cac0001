#include "store/foreign_table.h"

#include "store/sqlite_memory.h"
#include <QFile>
#include <sqlite3.h>

namespace q {

namespace {

class ReadOnlyFile {
public:
    ~ReadOnlyFile() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};

class Query {
public:
    Query(sqlite3* db, const QString& sql) { sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr); }
    ~Query() { sqlite3_finalize(stmt); }
    bool next() { return stmt && sqlite3_step(stmt) == SQLITE_ROW; }
    QString text(int i) const { return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))); }
    QVariant value(int i) const {
        switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(stmt, i)));
        case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt, i));
        case SQLITE_NULL: return QVariant();
        default: return QVariant(text(i));
        }
    }
    int columns() const { return stmt ? sqlite3_column_count(stmt) : 0; }
    sqlite3_stmt* stmt = nullptr;
};

QString quoted(const QString& name) { return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'); }

}  // namespace

bool isSqliteFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
}

Result<ForeignTable> readForeignTable(const QString& path, const QStringList& required) {
    if (!QFile::exists(path)) return Status::notFound(QStringLiteral("Die Datei %1 gibt es nicht").arg(path));
    const Status notADatabase = Status::corrupt(QStringLiteral("Die Datei %1 ist keine gültige Datenbank").arg(path));
    if (!isSqliteFile(path)) return notADatabase;
    ReadOnlyFile file;
    if (openSqlite(path.toUtf8().constData(), &file.db, SQLITE_OPEN_READONLY) != SQLITE_OK) return notADatabase;
    QStringList tables;
    {
        Query list(file.db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid"));
        if (!list.stmt) return notADatabase;
        while (list.next()) tables << list.text(0);
    }
    for (const QString& table : tables) {
        QStringList fields;
        Query info(file.db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
        while (info.next()) fields << info.text(1);
        const bool fits = std::all_of(required.begin(), required.end(), [&](const QString& r) { return fields.contains(r, Qt::CaseInsensitive); });
        if (!fits) continue;
        ForeignTable out{table, fields, {}};
        Query rows(file.db, QStringLiteral("SELECT * FROM %1").arg(quoted(table)));
        while (rows.next()) {
            QVariantList values;
            for (int i = 0; i < rows.columns(); ++i) values << rows.value(i);
            out.rows.push_back(std::move(values));
        }
        return out;
    }
    return Status::invalid(QStringLiteral("Die Datei %1 enthält keine Tabelle mit den Feldern %2").arg(path, required.join(QStringLiteral(" und "))));
}

}  // namespace q
