#include "store/store_fixture.h"

#include "store/schema.h"

#include <sqlite3.h>

QString sql(const QString& path, const QString& statement) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_stmt* st = nullptr;
    QStringList rows;
    if (sqlite3_prepare_v2(db, statement.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList cols;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                cols << (t ? QString::fromUtf8(t) : QStringLiteral("NULL"));
            }
            rows << cols.join(QLatin1Char('|'));
        }
    } else {
        rows << QStringLiteral("ERROR: ") + QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows.join(QLatin1Char('\n'));
}

std::string backendName(const ::testing::TestParamInfo<Backend>& info) { return info.param == Backend::Server ? "Server" : "Dateien"; }

bool sqlScript(const QString& path, const QString& script) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const bool ok = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

std::unique_ptr<q::Database> StoreTest::connectionOf(const QString& file) {
    auto db = store->onServer(file) ? q::Database::openServer(store->server(), store->schemaOf(file), store->path(file))
                                    : q::Database::open(store->path(file), q::Database::Mode::OpenExisting);
    EXPECT_TRUE(db.isOk()) << db.status().message().toStdString();
    return db ? std::move(*db) : nullptr;
}

QString StoreTest::rowsOf(const QString& file, const QString& statement) {
    auto db = connectionOf(file);
    if (!db) return QStringLiteral("ERROR");
    auto st = db->prepare(statement);
    if (!st) return QStringLiteral("ERROR: ") + st.status().message();
    QStringList rows;
    for (;;) {
        auto r = st->step();
        if (!r) return QStringLiteral("ERROR: ") + r.status().message();
        if (!*r) break;
        QStringList cols;
        for (int i = 0; i < st->columnCount(); ++i) {
            const QVariant v = st->column(i);
            cols << (!v.isValid() ? QStringLiteral("NULL") : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString());
        }
        rows << cols.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}

QStringList StoreTest::indexesOf(const QString& file) {
    auto db = connectionOf(file);
    if (!db) return {QStringLiteral("ERROR")};
    auto names = q::indexNames(*db, q::layoutForFile(file));
    return names ? *names : QStringList{QStringLiteral("ERROR: ") + names.status().message()};
}
