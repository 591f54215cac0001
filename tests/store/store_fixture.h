// A data directory in a temporary folder with the catalogue's tables: in files, or
// (for the suites instantiated with Backend::Server) the data directory's and
// depot's tables on a database of the PostgreSQL test cluster.
#pragma once

#include "store/store.h"
#include "support/test_server.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Runs SQL on a table file with a connection of its own; returns the first column
// of every row, joined by "|" per row and "\n" between rows.
QString sql(const QString& path, const QString& statement);
// Runs several statements on one connection; false on the first error.
bool sqlScript(const QString& path, const QString& script);

enum class Backend { Files, Server };

// "Dateien" or "Server", the instance names of a suite run on both.
std::string backendName(const ::testing::TestParamInfo<Backend>& info);
#define QTEST_ON_BOTH_BACKENDS(Suite) \
    INSTANTIATE_TEST_SUITE_P(Speicher, Suite, ::testing::Values(Backend::Files, Backend::Server), backendName)

class StoreTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        dir = m_tmp.path() + QStringLiteral("/");
        store = std::make_unique<q::Store>(q::StoreDirs{dir, dir, dir, dir});
        if (backend() == Backend::Server) {
            server = std::make_unique<qtest::TestServerDatabase>();
            QTEST_NEEDS_SERVER(*server);
            store->setServer(server->uri());
        }
    }
    // A suite run on both backends returns GetParam().
    virtual Backend backend() const { return Backend::Files; }
    bool onServer() const { return backend() == Backend::Server; }
    void createAll() {
        for (const QString& f : q::startupTableOrder()) ASSERT_TRUE(store->ensure(f).isOk()) << f.toStdString();
        ASSERT_TRUE(store->ensure(QStringLiteral("Nachrichten.db")).isOk());
    }
    // All tables, then `rows` prices in Aktien.db: `perSecurity` days (from day
    // 40000) for each security in turn; the store's tables closed. Returns the path.
    QString fillPrices(int rows, int perSecurity) {
        createAll();
        EXPECT_TRUE(sqlScript(dir + "Aktien.db", QStringLiteral("WITH RECURSIVE d(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d "
                                                               "WHERE n < %1) INSERT INTO Aktien SELECT n / %2 + 1, 40000 + n "
                                                               "% %2, 10 + n % 7 FROM d")
                                                    .arg(rows - 1)
                                                    .arg(perSecurity)));
        store->closeAll();
        return dir + "Aktien.db";
    }
    // A connection of its own to `file`'s table: it sees what others committed.
    std::unique_ptr<q::Database> connectionOf(const QString& file);
    // The rows of `statement` (written for both stores: identifiers quoted) on a
    // connection of its own, as sql() gives them; numbers as QString::number.
    QString rowsOf(const QString& file, const QString& statement);
    // The index names of `file`'s table, the key's logical name first.
    QStringList indexesOf(const QString& file);
    q::Table& table(const QString& file) {
        auto t = store->table(file);
        EXPECT_TRUE(t.isOk()) << t.status().message().toStdString();
        return **t;
    }
    QTemporaryDir m_tmp;
    QString dir;
    std::unique_ptr<qtest::TestServerDatabase> server;
    std::unique_ptr<q::Store> store;
};
