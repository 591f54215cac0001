// The table layer's statements on the PostgreSQL test cluster: translated from the
// SQLite text, bound and read with the same types as from a file, in transactions
// that keep two writers of the same rows apart, and a server that goes away named.
#include "store/database.h"
#include "store/server_connection.h"
#include "store/server_dialect.h"
#include "support/test_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace q;

TEST(ServerDialect, StatementsWrittenForSQLiteReadOnTheServer) {
    int n = 0;
    EXPECT_EQ(serverSql("SELECT a FROM t WHERE x = ? AND y >= ? LIMIT 1", &n), "SELECT a FROM t WHERE x = $1 AND y >= $2 LIMIT 1");
    EXPECT_EQ(n, 2);
    EXPECT_EQ(serverSql("INSERT INTO \"Aktien\" (Firma, Datum, Kurs) VALUES (?1, ?2, ?3) ON CONFLICT (Firma, Datum) DO UPDATE SET Kurs = excluded.Kurs", &n),
              "INSERT INTO \"Aktien\" (Firma, Datum, Kurs) VALUES ($1, $2, $3) ON CONFLICT (Firma, Datum) DO UPDATE SET Kurs = excluded.Kurs");
    EXPECT_EQ(n, 3);
    EXPECT_EQ(serverSql("insert or ignore into \"Watch\" VALUES (?, ?)"), "INSERT into \"Watch\" VALUES ($1, $2) ON CONFLICT DO NOTHING");
    EXPECT_EQ(serverSql("INSERT OR IGNORE INTO t (a) VALUES (?) RETURNING rowid"), "INSERT INTO t (a) VALUES ($1) ON CONFLICT DO NOTHING RETURNING rowid");
    // Quoted text is left alone: a "?" there is no parameter, "NOT INDEXED" no clause.
    EXPECT_EQ(serverSql("SELECT '?', \"a?b\", 'it''s ?' FROM t NOT INDEXED WHERE b = ? AND c = 'NOT INDEXED'", &n),
              "SELECT '?', \"a?b\", 'it''s ?' FROM t  WHERE b = $1 AND c = 'NOT INDEXED'");
    EXPECT_EQ(n, 1);
    EXPECT_EQ(serverSql("BEGIN IMMEDIATE"), "BEGIN ISOLATION LEVEL SERIALIZABLE");
    EXPECT_EQ(serverSql("BEGIN"), "BEGIN ISOLATION LEVEL SERIALIZABLE");
    EXPECT_EQ(serverSql("COMMIT"), "COMMIT");
    EXPECT_EQ(serverSql("EXPLAIN QUERY PLAN SELECT 1"), "EXPLAIN SELECT 1");
    // A word that only begins like a keyword stays.
    EXPECT_EQ(serverSql("SELECT NOTE, BEGINNING FROM INSERTS"), "SELECT NOTE, BEGINNING FROM INSERTS");
}

namespace {

class ServerDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        QTEST_NEEDS_SERVER(server);
        auto admin = ServerConnection::open(server.uri());
        ASSERT_TRUE(admin.isOk()) << admin.status().message().toStdString();
        ASSERT_TRUE((*admin)->exec("CREATE SCHEMA quintara; CREATE SCHEMA depot_test").isOk());
        db = open();
        ASSERT_TRUE(db);
        ASSERT_TRUE(db->exec("CREATE TABLE \"Posten\" (\"Firma\" bigint NOT NULL, \"Name\" varchar(30), \"Kurs\" double precision, "
                             "\"Aktiv\" boolean, PRIMARY KEY (\"Firma\"))")
                        .isOk());
    }
    std::unique_ptr<Database> open() {
        auto d = Database::openServer(server.uri(), "depot_test", "depot_test.Posten");
        EXPECT_TRUE(d.isOk()) << d.status().message().toStdString();
        return d ? std::move(*d) : nullptr;
    }
    Status insert(Database& d, int firma, const QVariant& name) {
        auto st = d.prepare("INSERT INTO \"Posten\" VALUES (?, ?, ?, ?)", {firma, name, 12.5, true});
        if (!st) return st.status();
        return st->run();
    }
    qtest::TestServerDatabase server;
    std::unique_ptr<Database> db;
};

}  // namespace

TEST_F(ServerDatabase, ValuesReadBackWithTheTypesAFileGives) {
    ASSERT_TRUE(insert(*db, 1, QString::fromUtf8("Öl & Gas")).isOk());
    EXPECT_EQ(db->changes(), 1);
    ASSERT_TRUE(insert(*db, 2, QVariant()).isOk());
    auto st = db->prepare("SELECT \"Firma\", \"Name\", \"Kurs\", \"Aktiv\" FROM \"Posten\" WHERE \"Firma\" >= ? ORDER BY \"Firma\"", {1});
    ASSERT_TRUE(st.isOk()) << st.status().message().toStdString();
    auto row = st->step();
    ASSERT_TRUE(row.isOk() && *row) << row.status().message().toStdString();
    EXPECT_EQ(st->column(0), QVariant(qint64(1)));
    EXPECT_EQ(st->column(1).toString(), QString::fromUtf8("Öl & Gas"));
    EXPECT_EQ(st->column(2).typeId(), QMetaType::Double);
    EXPECT_EQ(st->columnDouble(2), 12.5);
    EXPECT_EQ(st->column(3), QVariant(qint64(1)));  // a logical field as 1, as from a file
    EXPECT_EQ(st->columnCount(), 4);
    row = st->step();
    ASSERT_TRUE(row.isOk() && *row);
    EXPECT_TRUE(st->columnIsNull(1));
    EXPECT_FALSE(st->column(1).isValid());
    EXPECT_TRUE(st->columnText(1).isNull());
    row = st->step();
    ASSERT_TRUE(row.isOk());
    EXPECT_FALSE(*row);
    // Run again with new values after reset().
    st->reset();
    st->bind(1, 2);
    row = st->step();
    ASSERT_TRUE(row.isOk() && *row);
    EXPECT_EQ(st->columnInt(0), 2);
    // A query leaves the count of the last write, as in a file.
    EXPECT_EQ(db->changes(), 1);

    auto names = db->tableNames();
    ASSERT_TRUE(names.isOk());
    EXPECT_EQ(*names, QStringList{"Posten"});
}

TEST_F(ServerDatabase, ATransactionCommitsWholeOrNotAtAllAndAKeyIsKept) {
    {
        Transaction tx(*db);
        ASSERT_TRUE(tx.begin().isOk());
        ASSERT_TRUE(insert(*db, 1, "A").isOk());
        // Destroyed without commit: rolled back.
    }
    auto count = db->texts("SELECT count(*) FROM \"Posten\"");
    ASSERT_TRUE(count.isOk());
    EXPECT_EQ(count->value(0), "0");
    Transaction tx(*db);
    ASSERT_TRUE(tx.begin().isOk());
    ASSERT_TRUE(insert(*db, 1, "A").isOk());
    ASSERT_TRUE(tx.commit().isOk());
    const Status twice = insert(*db, 1, "B");
    EXPECT_EQ(twice.category(), Category::Invalid);
    EXPECT_TRUE(twice.message().contains("Datenbankserver 127.0.0.1:")) << twice.message().toStdString();
}

TEST_F(ServerDatabase, OfTwoWritersThatReadTheSameRowsOneCommits) {
    // Two programs each read how many lots there are and then book one: as two sales
    // of the same lot, only one of them may go through.
    auto other = open();
    ASSERT_TRUE(other);
    Transaction a(*db), b(*other);
    ASSERT_TRUE(a.begin().isOk());
    ASSERT_TRUE(b.begin().isOk());
    ASSERT_TRUE(db->texts("SELECT count(*) FROM \"Posten\"").isOk());
    ASSERT_TRUE(other->texts("SELECT count(*) FROM \"Posten\"").isOk());
    ASSERT_TRUE(insert(*db, 1, "A").isOk());
    ASSERT_TRUE(insert(*other, 2, "B").isOk());
    const Status first = a.commit();
    const Status second = b.commit();
    EXPECT_TRUE(first.isOk()) << first.message().toStdString();
    EXPECT_EQ(second.category(), Category::Busy) << second.message().toStdString();
    auto count = db->texts("SELECT count(*) FROM \"Posten\"");
    ASSERT_TRUE(count.isOk());
    EXPECT_EQ(count->value(0), "1");
}

TEST_F(ServerDatabase, AServerThatGoesAwayIsNamed) {
    auto pid = db->texts("SELECT pg_backend_pid()");
    ASSERT_TRUE(pid.isOk());
    auto admin = ServerConnection::open(server.uri());
    ASSERT_TRUE(admin.isOk());
    ASSERT_TRUE((*admin)->query("SELECT pg_terminate_backend($1::int)", {pid->value(0).toInt()}).isOk());
    const Status gone = insert(*db, 1, "A");
    EXPECT_EQ(gone.category(), Category::Io);
    EXPECT_TRUE(gone.message().startsWith("Datenbankserver 127.0.0.1:")) << gone.message().toStdString();
    EXPECT_TRUE(gone.message().contains("nicht erreichbar")) << gone.message().toStdString();
}
