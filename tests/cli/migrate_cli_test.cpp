// quintara-cli migrate on the bundled sample directory: its tables to the test
// cluster and back into a second installation give the same dump of every table
// file; a server or a directory that holds tables already is overwritten only with
// --replace.
#include "sample/sample_data.h"
#include "store/catalogue.h"
#include "store/server_connection.h"
#include "store/schema.h"
#include "support/test_server.h"
#include "support/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace q;

namespace {

QString slash(const QString& d) { return d.endsWith('/') ? d : d + '/'; }

// Every table file below `home` (relative path -> dump with sorted lines), the
// backup directory's copies left out.
std::map<QString, QString> dumps(const QString& home) {
    std::map<QString, QString> out;
    QDirIterator it(home, {"*.db", "*.DB"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = QDir(home).relativeFilePath(path);
        if (rel.contains("Sicherung")) continue;
        auto r = qtest::runSqlite3(path, ".dump");
        QStringList lines = r.out.split('\n');
        std::sort(lines.begin(), lines.end());
        out[rel] = lines.join('\n');
    }
    return out;
}

class MigrateSample : public ::testing::Test {
protected:
    void SetUp() override {
        QTEST_NEEDS_SERVER(server);
        ASSERT_TRUE(m_a.isValid() && m_b.isValid());
        home = slash(m_a.path());
        other = slash(m_b.path());
        NoProgress none;
        ASSERT_TRUE(sample::writeSampleData(home + "Daten/", sample::Plan(), none).isOk());
        ASSERT_EQ(cli(home, {"start"}).exitCode, 0);
        // A new installation laid out as the first: empty price and depot tables make
        // Daten/ its data directory and its first depot (the server knows a depot by
        // its folder's name), the first start makes the rest.
        QDir().mkpath(other + "Daten/");
        for (const char* file : {"Aktien.db", "Transaktionen.db"})
            ASSERT_EQ(qtest::runSqlite3(other + "Daten/" + file, createStatements(layoutForFile(file)).join(";\n") + ";").exitCode, 0);
        ASSERT_EQ(cli(other, {"start"}).exitCode, 0);
    }
    qtest::CliRun cli(const QString& h, const QStringList& args) {
        return qtest::runCli(QStringList{"--home", h, "--settings", h + "Quintara.conf", "--today", "08.12.2026"} + args);
    }
    qtest::TestServerDatabase server;
    QTemporaryDir m_a, m_b;
    QString home, other;
};

}  // namespace

TEST_F(MigrateSample, ToTheServerAndBackGivesTheSameTables) {
    auto to = cli(home, {"--json", "migrate", "--to", server.uri()});
    ASSERT_EQ(to.exitCode, 0) << to.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(to.out.toUtf8()).object();
    QStringList tables;
    for (const QJsonValue& t : report["tables"].toArray()) {
        const QJsonObject o = t.toObject();
        tables << o["schema"].toString() + "." + o["table"].toString();
        EXPECT_EQ(o["fileRows"].toInteger(), o["serverRows"].toInteger()) << o["table"].toString().toStdString();
    }
    EXPECT_TRUE(tables.contains("quintara.Firma"));
    EXPECT_TRUE(tables.contains("quintara.Aktien"));
    EXPECT_TRUE(tables.contains("depot_daten.Transaktionen")) << tables.join(", ").toStdString();
    EXPECT_FALSE(report["amcheck"].toBool());

    // With amcheck on the server every index of every copy is checked against its rows.
    {
        auto admin = ServerConnection::open(server.uri());
        ASSERT_TRUE(admin.isOk());
        ASSERT_TRUE((*admin)->exec("CREATE EXTENSION amcheck").isOk());
    }

    // A second copy would overwrite the server's tables: refused, then asked for.
    auto again = cli(home, {"migrate", "--to", server.uri()});
    EXPECT_NE(again.exitCode, 0);
    EXPECT_TRUE(again.err.contains("--replace")) << again.err.toStdString();
    auto replaced = cli(home, {"migrate", "--to", server.uri(), "--replace"});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.out.contains("Indizes auf dem Server vollständig und mit amcheck geprüft")) << replaced.out.toStdString();
    EXPECT_TRUE(replaced.out.contains(QRegularExpression("quintara\\.Aktien \\(.*Aktien\\.db\\): Datei (\\d+) Zeilen, Server \\1 Zeilen")))
        << replaced.out.toStdString();

    // A new installation (only the tables a first start makes) takes them all.
    auto from = cli(other, {"migrate", "--from", server.uri()});
    ASSERT_EQ(from.exitCode, 0) << from.err.toStdString();
    const auto original = dumps(home);
    const auto copied = dumps(other);
    for (const auto& [file, dump] : original) {
        ASSERT_TRUE(copied.count(file)) << file.toStdString();
        EXPECT_EQ(copied.at(file), dump) << file.toStdString();
    }

    // Back over the original tables: refused without --replace; with it the tables
    // get their safety copies first and stay the same.
    auto over = cli(home, {"migrate", "--from", server.uri()});
    EXPECT_NE(over.exitCode, 0);
    EXPECT_TRUE(over.err.contains("--replace")) << over.err.toStdString();
    auto overReplace = cli(home, {"migrate", "--from", server.uri(), "--replace"});
    ASSERT_EQ(overReplace.exitCode, 0) << overReplace.err.toStdString();
    EXPECT_TRUE(overReplace.out.contains("Gesichert: ")) << overReplace.out.toStdString();
    EXPECT_TRUE(QDir(home).entryList({"*"}, QDir::Dirs).size() > 0);
    EXPECT_EQ(dumps(home), original);
}

TEST_F(MigrateSample, AServerThatIsNotThereIsNamedAndNothingChanges) {
    const auto before = dumps(home);
    const QString uri = qtest::unreachableServerUri();
    for (const char* direction : {"--to", "--from"}) {
        auto r = cli(home, {"migrate", direction, uri});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.err.contains("Datenbankserver 127.0.0.1:")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("nicht erreichbar")) << r.err.toStdString();
    }
    EXPECT_EQ(dumps(home), before);
    auto both = cli(home, {"migrate"});
    EXPECT_NE(both.exitCode, 0);
    EXPECT_TRUE(both.err.contains("--to URI")) << both.err.toStdString();
}
