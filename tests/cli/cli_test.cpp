#include "app/startup_fixture.h"

#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

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

TEST_F(Cli, DatenpathNamesTheDirectoryTheTablesAreIn) {
    const auto datenpath = [&] {
        SettingsStore stored;
        EXPECT_TRUE(stored.load(settingsFile).isOk());
        auto v = stored.readText(SettingsStore::kMainKey, "Datenpath");
        return v ? *v : QString();
    };
    // No Daten/aktien.db: the tables go into the home directory, and Datenpath says so
    // (relative to the installation), on the first start and on the next.
    for (int i = 0; i < 2; ++i) {
        auto r = runCli({"--home", home, "--settings", settingsFile, "start"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("Datenverzeichnis: " + home + "\n")) << r.out.toStdString();
        EXPECT_EQ(datenpath(), "./");
        EXPECT_TRUE(QFile::exists(home + "Aktien.db"));
    }
    // A home whose Daten/ holds the prices (as the sample writes them) uses Daten/.
    const QString other = tmp("other/");
    ASSERT_TRUE(qtest::writeSmallSample(other + "Daten/"));
    QFile::remove(settingsFile);
    auto r = runCli({"--home", other, "--settings", settingsFile, "start"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Datenverzeichnis: " + other + "Daten/\n")) << r.out.toStdString();
    EXPECT_EQ(datenpath(), "Daten/");
    EXPECT_FALSE(QFile::exists(other + "Aktien.db"));
}

TEST_F(Cli, ACopiedInstallationUsesItsOwnTables) {
    ASSERT_EQ(runCli({"--home", home, "--settings", settingsFile, "start"}).exitCode, 0);
    // The whole installation copied elsewhere and started with the same settings file.
    const QString copy = tmp("kopie/");
    ASSERT_TRUE(QDir().mkpath(copy));
    for (const QFileInfo& f : QDir(home).entryInfoList(QDir::Files))
        ASSERT_TRUE(QFile::copy(f.absoluteFilePath(), copy + f.fileName())) << f.fileName().toStdString();
    auto r = runCli({"--home", copy, "--settings", settingsFile, "start"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Datenverzeichnis: " + copy + "\n")) << r.out.toStdString();
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
    // One line: the word, the nearest subcommand, where the help is; not the whole help.
    auto unknown = runCli({"bakup"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "Unbekannter Befehl: bakup. Meinten Sie backup? Hilfe: quintara-cli --help\n");
    EXPECT_TRUE(unknown.out.isEmpty());
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
    EXPECT_EQ(o["error"].toString(), "Unbekannte Option: --kaffee. Meinten Sie --home? Hilfe: quintara-cli --help");
    auto near = runCli({"buy", "1", "--share", "5"});
    EXPECT_EQ(near.exitCode, 2);
    EXPECT_EQ(near.err, "Unbekannte Option: --share. Meinten Sie --shares? Hilfe: quintara-cli --help\n");
    auto equals = runCli({"--home=" + home, "--settings", settingsFile, "start"});
    EXPECT_EQ(equals.exitCode, 0) << equals.err.toStdString();
}

namespace {

// quintara-cli on the sample's data directory Daten/ of the test's home.
class CliOnSample : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        data = home + "Daten/";
        ASSERT_TRUE(qtest::writeSmallSample(data));
    }
    qtest::CliRun cli(QStringList args) { return runCli(QStringList{"--home", home, "--settings", settingsFile} + args); }
    qint64 prices(const QString& file = "Aktien.db") { return qtest::sqlNumber(data + file, "SELECT count(*) FROM Aktien"); }
    QString data;
};

}  // namespace

TEST_F(CliOnSample, RestoreAfterSeveralChecksBringsBackDeletedPrices) {
    ASSERT_EQ(cli({"start"}).exitCode, 0);
    ASSERT_EQ(cli({"backup"}).exitCode, 0);
    const qint64 all = prices();
    ASSERT_EQ(qtest::runSqlite3(data + "Aktien.db", "DELETE FROM Aktien WHERE Firma = 2;").exitCode, 0);
    // More than the backup interval of five: none of these is a start.
    for (int i = 0; i < 6; ++i) ASSERT_EQ(cli({"check"}).exitCode, 0);
    EXPECT_EQ(prices("Aktien.db~"), all);

    auto r = cli({"--yes", "--json", "restore"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(prices(), all);
    const QJsonArray restored = QJsonDocument::fromJson(r.out.toUtf8()).object()["restored"].toArray();
    ASSERT_EQ(restored.size(), 5);
    EXPECT_EQ(restored[0].toObject()["table"].toString(), data + "Aktien.db");
    EXPECT_EQ(restored[0].toObject()["date"].toString().size(), 16);  // dd.MM.yyyy hh:mm
}

TEST_F(CliOnSample, ADamagedTableIsNamedAndRestoredOnlyWithYes) {
    ASSERT_EQ(cli({"backup"}).exitCode, 0);
    const qint64 all = prices();
    qtest::writeFile(data + "Aktien.db", "");
    QFile::remove(data + "Aktien.db-wal");

    auto refused = cli({"start"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Die Datei " + data + "Aktien.db ist leer\n")) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("Nicht bestätigt (mit --yes: Ja): Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ??"));
    EXPECT_FALSE(refused.out.contains("Tabelle angelegt"));
    EXPECT_EQ(QFile(data + "Aktien.db").size(), 0);

    auto yes = cli({"--yes", "start"});
    ASSERT_EQ(yes.exitCode, 0) << yes.err.toStdString();
    EXPECT_TRUE(yes.out.contains("Wiederhergestellt: " + data + "Aktien.db aus der Sicherung vom ")) << yes.out.toStdString();
    EXPECT_EQ(prices(), all);
}

TEST_F(CliOnSample, BackupsAreListedAndAnOlderOneIsRestoredByName) {
    ASSERT_EQ(cli({"backup"}).exitCode, 0);
    const qint64 all = prices();
    ASSERT_EQ(qtest::runSqlite3(data + "Aktien.db", "DELETE FROM Aktien WHERE Firma = 3;").exitCode, 0);
    ASSERT_EQ(cli({"backup"}).exitCode, 0);

    auto listed = cli({"--json", "backups"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QJsonArray sets = QJsonDocument::fromJson(listed.out.toUtf8()).object()["backups"].toArray();
    ASSERT_EQ(sets.size(), 2);
    const QString older = sets[1].toObject()["name"].toString();
    EXPECT_TRUE(older.startsWith("Sicherung_"));
    const QJsonArray copies = sets[1].toObject()["copies"].toArray();
    const auto rowsOf = [](const QJsonArray& list, const QString& table) {
        for (const QJsonValue& c : list)
            if (c.toObject()["table"].toString() == table) return c.toObject()["rows"].toInteger();
        return qint64(-1);
    };
    EXPECT_EQ(rowsOf(copies, "Aktien.db"), all);
    EXPECT_EQ(rowsOf(sets[0].toObject()["copies"].toArray(), "Aktien.db"), prices());

    auto restored = cli({"--yes", "restore", "--from", older});
    ASSERT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(prices(), all);
}

TEST_F(CliOnSample, ARestoreThatFailsSaysSoOnceWithItsCause) {
    ASSERT_EQ(cli({"backup"}).exitCode, 0);
    // The live price table cannot be written: a directory stands in its place.
    ASSERT_TRUE(QFile::remove(data + "Aktien.db"));
    ASSERT_TRUE(QDir().mkpath(data + "Aktien.db"));
    auto r = cli({"--yes", "restore"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count("Fehler beim Wiederherstellen der Datenbank"), 1) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Es existriert keine Sicherung"));
}

TEST_F(CliOnSample, StartsAndBackupsRunningTogetherAllCount) {
    ASSERT_EQ(cli({"start"}).exitCode, 0);
    SettingsStore settings;
    ASSERT_TRUE(settings.load(settingsFile).isOk());
    settings.writeInteger(SettingsStore::kMainKey, "SicherInterval", 100);
    settings.writeInteger(SettingsStore::kMainKey, "Speichern", 0);
    ASSERT_TRUE(settings.save().isOk());

    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < 10; ++i) runs.push_back(std::make_unique<QProcess>());
    for (int i = 0; i < 10; ++i)
        runs[i]->start(QStringLiteral(QUINTARA_CLI), {"--home", home, "--settings", settingsFile, i < 7 ? "start" : "backup"});
    for (auto& p : runs) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    SettingsStore after;
    ASSERT_TRUE(after.load(settingsFile).isOk());
    // Seven starts, each counted; a backup is no start.
    EXPECT_EQ(*after.readInteger(SettingsStore::kMainKey, "Speichern"), 7);
    EXPECT_EQ(QDir(data).entryList({"Sicherung_*"}, QDir::Dirs).size(), 3);
}

TEST_F(CliOnSample, UsageErrorsAndSettingsProblemsReachJsonAndStderr) {
    auto none = runCli({"--json"});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(QJsonDocument::fromJson(none.out.toUtf8()).object()["error"].toString(), "Kein Befehl angegeben (siehe --help)");

    ASSERT_TRUE(QDir().mkpath(tmp("ordner.conf")));
    auto directory = runCli({"--home", home, "--settings", tmp("ordner.conf"), "start"});
    EXPECT_EQ(directory.exitCode, 1);
    EXPECT_EQ(directory.err.trimmed(), "Die Einstellungsdatei " + tmp("ordner.conf") + " ist ein Verzeichnis");

    // A section header without its "]": the values stay, the old file is kept.
    qtest::writeFile(settingsFile, "[SOFTWARE\\Morvane\\Quintara\nDatenpath=\"" + data.toUtf8() + "\"\nKaputt\n");
    auto r = cli({"start"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Datenverzeichnis: " + data));
    EXPECT_TRUE(r.err.contains("Hinweis: Die Einstellungsdatei " + settingsFile + " enthält Zeilen, die nicht gelesen werden "
                               "konnten; die Datei, wie sie war, bleibt als " + settingsFile + ".defekt erhalten."));
    EXPECT_TRUE(QFile::exists(settingsFile + ".defekt"));
}
