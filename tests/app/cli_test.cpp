#include "app/startup_fixture.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace q;
using qtest::runCli;

using Cli = StartTest;

TEST_F(Cli, StartOnEmptyDirectoriesPrintsWhatItDidAsTextAndJson) {
    auto text = runCli({"--home", home, "--settings", settingsFile, "start"});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("Tabelle angelegt: Firma.db"));
    EXPECT_TRUE(text.out.contains("Einstellungen gespeichert"));

    auto json = runCli({"start", "--json", "--home", home, "--settings", settingsFile, "--today", "02.12.2026"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o["command"].toString(), "start");
    EXPECT_TRUE(o["ok"].toBool());
    EXPECT_EQ(o["dataDir"].toString(), home);
    EXPECT_FALSE(o["firstStart"].toBool());
    EXPECT_EQ(o["startCounter"].toInt(), 2);
}

TEST_F(Cli, RestoreAsksNothingAndNeedsYes) {
    ASSERT_EQ(runCli({"--home", home, "--settings", settingsFile, "backup"}).exitCode, 0);
    auto refused = runCli({"--home", home, "--settings", settingsFile, "restore"});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.err.contains("Wiederherstellung abgebrochen (mit --yes bestätigen)")) << refused.err.toStdString();
    auto done = runCli({"--home", home, "--settings", settingsFile, "restore", "--yes"});
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_TRUE(done.out.contains("Wiederhergestellt: " + home + "Firma.db"));
}

TEST_F(Cli, CheckListsEachTablesIndexNames) {
    auto r = runCli({"--home", home, "--settings", settingsFile, "check"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Firma.db: Firma, IFirma, IZDF, IN-TV, ISF1, ISender4, IWKN, IISIN, ITicker\n"));
    EXPECT_TRUE(r.out.contains("Transaktionen.db: Transaktionen, Angekauft\n"));
}

TEST_F(Cli, BadInputIsRefusedWithAGermanMessage) {
    auto date = runCli({"--today", "32.13.2026", "start"});
    EXPECT_EQ(date.exitCode, 2);
    EXPECT_EQ(date.err.trimmed(), "Ungültiges Datum für --today: 32.13.2026 (erwartet TT.MM.JJJJ)");
    auto unknown = runCli({"kaffee"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith("Unbekannter Befehl: kaffee"));
    auto help = runCli({"newday", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("quintara-cli newday:"));
}

TEST_F(Cli, ADamagedTableEndsTheJobWithoutAQuestion) {
    ASSERT_EQ(runCli({"--home", home, "--settings", settingsFile, "start"}).exitCode, 0);
    qtest::writeFile(home + "Aktien.db", "kaputt");
    auto r = runCli({"--home", home, "--settings", settingsFile, "newday"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Es existriert keine Sicherung"));
    EXPECT_EQ(qtest::readFile(home + "Aktien.db"), "kaputt");
}

TEST_F(Cli, SubcommandOptionsAreCheckedAndUsageErrorsComeAsJsonToo) {
    auto extra = runCli({"--home", home, "--settings", settingsFile, "start", "zuviel"});
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_EQ(extra.err.trimmed(), "Unerwartetes Argument: zuviel");
    auto unknown = runCli({"start", "--kaffee", "--json"});
    EXPECT_EQ(unknown.exitCode, 2);
    const QJsonObject o = QJsonDocument::fromJson(unknown.out.toUtf8()).object();
    EXPECT_FALSE(o["ok"].toBool());
    EXPECT_EQ(o["error"].toString(), "Unbekannte Option: --kaffee");
    auto equals = runCli({"--home=" + home, "--settings", settingsFile, "start"});
    EXPECT_EQ(equals.exitCode, 0) << equals.err.toStdString();
}
