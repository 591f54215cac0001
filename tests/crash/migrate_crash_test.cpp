// migrate killed with SIGKILL at random moments, to the test cluster and back: each
// table on the server is there with all its rows or not at all, and each table file
// is whole with all its rows; a rerun completes the job. And a bulk import into the
// server's tables killed: each batch is there whole or not at all.
#include "crash_support.h"
#include "store/server_connection.h"
#include "store/server_schema.h"
#include "support/test_server.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

class MigrateCrash : public ::testing::Test {
protected:
    void SetUp() override {
        QTEST_NEEDS_SERVER(server);
        ASSERT_TRUE(inst.ok());
        ASSERT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"start"}), -1).exitCode, 0);
        for (const char* t : {"Firma", "Aktien", "Volumen", "Gruppen"}) fileRows[t] = crash::rows(inst.data() + t + ".db", t);
    }
    int duration(const QStringList& args, const QString& program = {}) {
        QElapsedTimer t;
        t.start();
        const crash::Run run = program.isEmpty() ? crash::runAndKill(crash::cliProgram(), inst.cli(args), -1)
                                                 : crash::runAndKill(program, args, -1);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return std::max(20, static_cast<int>(t.elapsed()));
    }
    int moment(int durationMs) { return std::uniform_int_distribution<int>(0, durationMs * 6 / 5)(crash::random()); }

    // Every table the server holds has exactly the rows of its file.
    void serverAllOrNothing(int round) {
        auto c = q::ServerConnection::open(server.uri());
        ASSERT_TRUE(c.isOk()) << c.status().message().toStdString();
        auto tables = q::serverTables(**c, q::kServerSchema);
        ASSERT_TRUE(tables.isOk());
        for (const auto& [table, rows] : fileRows) {
            if (!tables->contains(table)) continue;
            auto n = q::serverRowCount(**c, q::kServerSchema, table);
            ASSERT_TRUE(n.isOk());
            EXPECT_EQ(*n, rows) << table.toStdString() << ", Abbruch " << round;
        }
    }

    qtest::TestServerDatabase server;
    crash::Installation inst{30, 10};
    std::map<QString, qint64> fileRows;
};

}  // namespace

TEST_F(MigrateCrash, EachTableArrivesWholeOrNotAtAll) {
    const QStringList to{"migrate", "--to", server.uri(), "--replace"};
    const int ms = duration(to);
    int midRun = 0;
    const int kills = crash::killsPerJob(10);
    for (int i = 0; i < kills && !HasFailure(); ++i) {
        // Half the rounds start from an empty server, half replace what is there.
        if (i % 2 == 0) {
            auto c = q::ServerConnection::open(server.uri());
            ASSERT_TRUE(c.isOk());
            ASSERT_TRUE((*c)->exec("DROP SCHEMA IF EXISTS quintara CASCADE").isOk());
        }
        if (crash::runAndKill(crash::cliProgram(), inst.cli(to), moment(ms)).killed) ++midRun;
        serverAllOrNothing(i);
    }
    std::printf("migrate --to: %d Abbrüche, davon %d mitten im Lauf\n", kills, midRun);
    EXPECT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli(to), -1).exitCode, 0);
    serverAllOrNothing(kills);
}

TEST_F(MigrateCrash, TheFilesStayWholeWhenTheWayBackIsKilled) {
    ASSERT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"migrate", "--to", server.uri()}), -1).exitCode, 0);
    const QStringList from{"migrate", "--from", server.uri(), "--replace"};
    const int ms = duration(from);
    int midRun = 0;
    const int kills = crash::killsPerJob(10);
    for (int i = 0; i < kills && !HasFailure(); ++i) {
        if (crash::runAndKill(crash::cliProgram(), inst.cli(from), moment(ms)).killed) ++midRun;
        const QStringList damaged = crash::damagedFiles(inst.home());
        EXPECT_TRUE(damaged.isEmpty()) << "Abbruch " << i << ": " << damaged.join('\n').toStdString();
        for (const auto& [table, rows] : fileRows)
            EXPECT_EQ(crash::rows(inst.data() + table + ".db", table), rows) << table.toStdString() << ", Abbruch " << i;
    }
    std::printf("migrate --from: %d Abbrüche, davon %d mitten im Lauf\n", kills, midRun);
    const crash::Run next = crash::runAndKill(crash::cliProgram(), inst.cli({"start"}), -1);
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_FALSE(next.out.contains("Wiederhergestellt")) << next.out.toStdString();
}

TEST_F(MigrateCrash, AnImportIntoTheServerKeepsWholeBatches) {
    ASSERT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"migrate", "--to", server.uri()}), -1).exitCode, 0);
    auto c = q::ServerConnection::open(server.uri());
    ASSERT_TRUE(c.isOk());
    auto count = [&] {
        auto n = q::serverRowCount(**c, q::kServerSchema, "Aktien");
        return n ? *n : -1;
    };
    constexpr int kDays = 5;
    const qint64 batch = 30 * kDays;
    const QStringList args{inst.data(), "20", QString::number(kDays), server.uri()};
    const int ms = duration(args, crash::importProgram());
    int midRun = 0;
    const int kills = crash::killsPerJob(30);
    for (int i = 0; i < kills && !HasFailure(); ++i) {
        const qint64 before = count();
        const crash::Run run = crash::runAndKill(crash::importProgram(), args, moment(ms));
        if (run.killed) ++midRun;
        const qint64 committed = run.out.count("commit ");
        const qint64 added = count() - before;
        // Every batch reported committed is there, and no batch is there in part.
        EXPECT_GE(added, committed * batch) << "Abbruch " << i;
        EXPECT_LE(added, (committed + 1) * batch) << "Abbruch " << i;
        EXPECT_EQ(added % batch, 0) << "Abbruch " << i;
    }
    std::printf("Import in den Server: %d Abbrüche, davon %d mitten im Lauf\n", kills, midRun);
}
