#include "app/data_directory.h"

#include "app/startup.h"
#include "sample/sample_data.h"
#include "store/firma_hooks.h"
#include "support/test_server.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

class DataDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        sample::Plan plan;
        plan.securities = 3;
        plan.years = 1;
        NoProgress none;
        ASSERT_TRUE(sample::writeSampleData(m_home.filePath("Daten"), plan, none).isOk());
        ScriptedInteraction ui;
        ASSERT_TRUE(startUp(m_session, {QString(), m_home.path(), conf()}, ui, none).isOk());
    }
    QString conf() const { return m_home.filePath("Quintara.conf"); }
    QString newDir() const { return m_other.path() + "/"; }

    QTemporaryDir m_home;
    QTemporaryDir m_other;
    Session m_session;
};

}  // namespace

TEST_F(DataDirectory, EmptyDirectoryGetsItsTablesAndBecomesTheDataDirectory) {
    qtest::writeFile(m_other.filePath("PARADOX.LCK"), "x");
    ScriptedInteraction ui;
    ASSERT_TRUE(changeDataDirectory(m_session, m_other.path(), ui).isOk());

    EXPECT_EQ(ui.messages, (QStringList{"Kann Firma.db nicht finden", "Kann Aktien.db nicht finden"}));
    for (const char* file : {"Volumen.db", "Intraday.db", "Waehrung.db", "Watch.db", "Watch2.db", "Watch3.db", "Watch4.db",
                             "Gruppen.db", "Branchen.db"})
        EXPECT_TRUE(QFile::exists(m_other.filePath(file))) << file;
    EXPECT_FALSE(QFile::exists(m_other.filePath("PARADOX.LCK")));
    EXPECT_EQ(m_session.dirs.data, newDir());

    SettingsStore saved;
    ASSERT_TRUE(saved.load(conf()).isOk());
    EXPECT_EQ(*saved.readText(SettingsStore::kMainKey, "Datenpath"), newDir());
    EXPECT_EQ(*saved.readText(SettingsStore::kMainKey, "Datenpath0"), newDir());
}

TEST_F(DataDirectory, DirectoryWithTablesIsTakenWithoutMessages) {
    const QString dir = m_session.dirs.data;
    ScriptedInteraction ui;
    ASSERT_TRUE(changeDataDirectory(m_session, dir, ui).isOk());
    EXPECT_TRUE(ui.messages.isEmpty());
    auto firma = m_session.store.table("Firma.db");
    ASSERT_TRUE(firma.isOk());
    EXPECT_EQ(*(*firma)->count(Query{}), 3);
}

TEST_F(DataDirectory, RecentListDropsTheOldestOfFiveAndKeepsKnownOnes) {
    QStringList older;
    for (int i = 0; i < 5; ++i) {
        older << m_other.filePath(QString("alt%1/").arg(i));
        m_session.settings.writeText(SettingsStore::kMainKey, QString("Datenpath%1").arg(i), older.last());
    }
    ScriptedInteraction ui;
    const QString chosen = m_other.filePath("neu/");
    ASSERT_TRUE(changeDataDirectory(m_session, chosen, ui).isOk());
    const QStringList expected{older[1], older[2], older[3], older[4], chosen};
    EXPECT_EQ(recentDataDirectories(m_session.settings), expected);

    // Choosing a directory of the list again leaves the list as it is.
    ASSERT_TRUE(changeDataDirectory(m_session, older[3], ui).isOk());
    EXPECT_EQ(recentDataDirectories(m_session.settings), expected);
}

// With the tables on the server, another data directory moves the files (reports,
// news texts) only: no table files are made there and the tables stay the server's.
TEST(DataDirectoryOnServer, KeepsTheServersTablesAndMakesNoTableFiles) {
    qtest::TestServerDatabase server;
    QTEST_NEEDS_SERVER(server);
    QTemporaryDir home, other;
    StartOptions options;
    options.homeDir = home.path();
    options.settingsPath = home.filePath("Quintara.conf");
    options.database = server.uri();
    Session s;
    ScriptedInteraction ui;
    NoProgress none;
    ASSERT_TRUE(startUp(s, options, ui, none).isOk());
    auto firma = s.store.table("Firma.db");
    ASSERT_TRUE(firma.isOk());
    Record r = newSecurityRecord(**firma, "EUR");
    r.set("FirmenName", "Server AG");
    ASSERT_TRUE(appendSecurity(**firma, r).isOk());

    Status changed = changeDataDirectory(s, other.path(), ui);
    ASSERT_TRUE(changed.isOk()) << changed.message().toStdString();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join('|').toStdString();
    EXPECT_TRUE(QDir(other.path()).entryList({"*.db", "*.DB"}, QDir::Files).isEmpty());
    EXPECT_EQ(s.store.server(), server.uri());
    auto again = s.store.table("Firma.db");
    ASSERT_TRUE(again.isOk());
    EXPECT_EQ(*(*again)->count(Query()), 1);
}
