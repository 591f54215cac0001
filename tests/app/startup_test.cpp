#include "settings/settings_store.h"
#include "app/startup_fixture.h"
#include "base/clock.h"
#include "base/text_files.h"
#include "store/firma_hooks.h"
#include "store/table_copy.h"
#include "support/test_server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <sqlite3.h>

using namespace q;

namespace {

// Every table file of a directory with its content, to compare two moments.
QString dumpTables(const QString& dir) {
    QStringList out;
    const QStringList files = QDir(dir).entryList({"*.db", "*.DB"}, QDir::Files, QDir::Name);
    for (const QString& f : files) {
        sqlite3* db = nullptr;
        sqlite3_open_v2((dir + f).toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        out << f;
        for (const char* q : {"SELECT sql FROM sqlite_master ORDER BY name", "SELECT * FROM pragma_table_list"}) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, q, -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW)
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
    }
    return out.join('\n');
}

SettingsStore loadSettings(const QString& path) {
    SettingsStore s;
    EXPECT_TRUE(s.load(path).isOk());
    return s;
}

}  // namespace

using StartUp = StartTest;

TEST_F(StartUp, AFreshUserGetsTablesDirectoriesAndTheWrittenDefaults) {
    Session s;
    ScriptedInteraction ui;
    ASSERT_TRUE(start(s, ui).isOk());
    EXPECT_TRUE(s.firstStart);
    EXPECT_TRUE(s.startupComplete);
    EXPECT_TRUE(ui.questions.isEmpty());
    // Without Daten/aktien.db the tables live in the installation directory, and
    // Datenpath names it.
    EXPECT_EQ(s.dirs.data, home);
    for (const char* f : {"Firma.db", "Aktien.db", "Volumen.db", "Intraday.db", "Waehrung.db", "Gruppen.db", "Branchen.db",
                          "Merkmal.db", "Watch.db", "Watch2.db", "Watch3.db", "Watch4.db", "Nachrichten.db", "Transaktionen.db"})
        EXPECT_TRUE(QFile::exists(home + f)) << f;
    for (const char* d : {"Temp", "Intraday", "Nachrichten"}) EXPECT_TRUE(QFileInfo(home + d).isDir()) << d;
    EXPECT_EQ(s.caption, "Quintara");

    SettingsStore stored = loadSettings(settingsFile);
    const QString key = SettingsStore::kMainKey;
    // The installation directory itself holds the tables, stored relative to it so
    // that a copy of the installation uses its own.
    EXPECT_EQ(*stored.readText(key, "Datenpath"), "./");
    EXPECT_EQ(*stored.readText(key, "WaehrungsSymbol"), "EUR");
    EXPECT_EQ(*stored.readInteger(key, "DezimalStellen"), 2);
    EXPECT_EQ(*stored.readInteger(key, "Spekulation"), 365);
    EXPECT_EQ(*stored.readInteger(key, "Spekulation_neu"), 0);
    EXPECT_DOUBLE_EQ(*stored.readDateTime(key, "Spekulation_ab"), 39814.0);
    EXPECT_FALSE(*stored.readBool(key, "Alle"));
    EXPECT_TRUE(*stored.readBool(key, "bestaetigen"));
    EXPECT_EQ(*stored.readInteger(key, "Speichern"), 1);
    EXPECT_EQ(readTextLines(home + "WNamen.ini")->join(','),
              "1.Beobachtungsliste,2.Beobachtungsliste,3.Beobachtungsliste,4.Beobachtungsliste");
}

TEST_F(StartUp, ASecondStartChangesNoTable) {
    ASSERT_TRUE(startOnce().isOk());
    const QString before = dumpTables(home);
    ASSERT_TRUE(startOnce().isOk());
    EXPECT_EQ(dumpTables(home), before);
}

TEST_F(StartUp, TheDataDirectoryOfTheSettingsIsUsedWhenItHoldsThePrices) {
    ASSERT_TRUE(QDir().mkpath(home + "Daten"));
    {
        Store st({home + "Daten/", home + "Daten/", home, home});
        ASSERT_TRUE(st.ensure("Aktien.db").isOk());
    }
    ASSERT_TRUE(QDir().mkpath(tmp("Depot1")));
    {
        Store st({tmp("Depot1/"), tmp("Depot1/"), home, home});
        ASSERT_TRUE(st.ensure("Transaktionen.db").isOk());
    }
    SettingsStore pre;
    ASSERT_TRUE(pre.load(settingsFile).isOk());
    pre.writeText(SettingsStore::kMainKey, "Depotpath", tmp("Depot1/"));
    ASSERT_TRUE(pre.save().isOk());

    Session s;
    ScriptedInteraction ui;
    ASSERT_TRUE(start(s, ui).isOk());
    EXPECT_EQ(s.dirs.data, home + "Daten/");
    EXPECT_EQ(s.dirs.depot, tmp("Depot1/"));
    EXPECT_EQ(s.caption, "Quintara - Depot1");
    EXPECT_TRUE(QFile::exists(home + "Daten/Firma.db"));
    EXPECT_FALSE(QFile::exists(home + "Daten/Transaktionen.db"));
    EXPECT_FALSE(s.firstStart);
}

TEST_F(StartUp, EverySixthStartMakesTheAutomaticBackup) {
    for (int i = 1; i <= 5; ++i) {
        Session s;
        ScriptedInteraction ui;
        ASSERT_TRUE(start(s, ui).isOk());
        EXPECT_FALSE(s.autoBackupRan) << i;
        EXPECT_EQ(s.startCounter, i);
    }
    EXPECT_FALSE(QFile::exists(home + "Firma.db~"));
    Session sixth;
    ScriptedInteraction ui;
    ASSERT_TRUE(start(sixth, ui).isOk());
    EXPECT_TRUE(sixth.autoBackupRan);
    EXPECT_TRUE(QFile::exists(home + "Firma.db~"));
    EXPECT_EQ(*loadSettings(settingsFile).readInteger(SettingsStore::kMainKey, "Speichern"), 0);

    EXPECT_EQ(countStart(7, false, 5).stored, 1);
    EXPECT_FALSE(countStart(7, false, 5).due);
}

TEST_F(StartUp, ASettingOfTheWrongTypeFallsBackToItsDefaultAndSaysSo) {
    ASSERT_TRUE(startOnce().isOk());
    SettingsStore pre = loadSettings(settingsFile);
    pre.writeText(SettingsStore::kMainKey, "Spekulation", "ein Jahr");
    ASSERT_TRUE(pre.save().isOk());
    Session s;
    ScriptedInteraction ui;
    ASSERT_TRUE(start(s, ui, false).isOk());
    EXPECT_EQ(s.values.integer("Spekulation"), 365);
    EXPECT_TRUE(s.statusNotes.contains("Einstellung Spekulation hat den falschen Typ, Standardwert verwendet"));
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_F(StartUp, ADamagedTableIsRestoredFromTheBackupOnlyWithTheUsersYes) {
    ASSERT_TRUE(startOnce().isOk());
    {
        Session s;
        ScriptedInteraction ui;
        ASSERT_TRUE(start(s, ui, false).isOk());
        Table& firma = **s.store.table("Firma.db");
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", "Gesichert AG");
        ASSERT_TRUE(appendSecurity(firma, r).isOk());
        s.store.closeAll();
        NoProgress p;
        ASSERT_TRUE(makeSafetyCopy(home + "Firma.db", home + "Firma.db~", layoutForFile("Firma.db"), {}, &p).isOk());
    }
    const QByteArray garbage("kein SQLite, sondern Rauschen");
    qtest::writeFile(home + "Firma.db", garbage);
    QFile::remove(home + "Firma.db-wal");
    QFile::remove(home + "Firma.db-shm");

    // No: nothing is deleted, the start ends early.
    Session refused;
    ScriptedInteraction no;
    no.answers = {Answer::No};
    Status st = start(refused, no);
    EXPECT_EQ(st.category(), Category::Corrupt);
    EXPECT_EQ(no.questions, QStringList{"Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ?? "});
    EXPECT_EQ(no.titles, QStringList{"Gesicherte Datenbank wiederherstellen?"});
    EXPECT_EQ(qtest::readFile(home + "Firma.db"), garbage);

    // Yes: the copy comes back and the start completes in its second run.
    Session restored;
    ScriptedInteraction yes;
    yes.answers = {Answer::Yes};
    ASSERT_TRUE(start(restored, yes).isOk());
    auto rows = (*restored.store.table("Firma.db"))->rows(Query());
    ASSERT_TRUE(rows.isOk());
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ(rows->front().value("FirmenName").toString(), "Gesichert AG");
}

TEST_F(StartUp, ADamagedTableWithoutBackupSaysSoAndDeletesNothing) {
    ASSERT_TRUE(startOnce().isOk());
    qtest::writeFile(home + "Volumen.db", "Müll");
    Session s;
    ScriptedInteraction ui;
    EXPECT_FALSE(start(s, ui).isOk());
    // What is wrong comes first, then why nothing can be done about it.
    EXPECT_EQ(ui.messages, QStringList({"Die Datei " + home + "Volumen.db ist keine gültige Datenbank", "Es existriert keine Sicherung"}));
    EXPECT_FALSE(s.startupComplete);
    EXPECT_EQ(qtest::readFile(home + "Volumen.db"), "Müll");
}

TEST_F(StartUp, AnIndexErrorOffersTheRebuildAndStartsOver) {
    ASSERT_TRUE(startOnce().isOk());
    // The name index of the securities master no longer matches its rows.
    {
        Session s;
        ScriptedInteraction ui;
        ASSERT_TRUE(start(s, ui, false).isOk());
        Table& firma = **s.store.table("Firma.db");
        for (const char* n : {"Alpha", "Beta", "Gamma"}) {
            Record r = newSecurityRecord(firma, "EUR");
            r.set("FirmenName", n);
            ASSERT_TRUE(appendSecurity(firma, r).isOk());
        }
    }
    sqlite3* db = nullptr;
    sqlite3_open((home + "Firma.db").toUtf8().constData(), &db);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA writable_schema=ON; UPDATE sqlite_master SET sql = replace(sql, '\"FirmenName\"', "
                               "'\"Kennung\"') WHERE name = 'IFirma'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    Session s;
    ScriptedInteraction ui;
    ui.answers = {Answer::Yes};
    ASSERT_TRUE(start(s, ui).isOk());
    EXPECT_EQ(ui.titles, QStringList{"Indexfehler !!!"});
    EXPECT_EQ(ui.questions, QStringList{"Indexfehler: Soll Quintara versuchen die Indizes neu zu erstellen?"});
    Query byName;
    byName.order = "IFirma";
    EXPECT_EQ((*s.store.table("Firma.db"))->rows(byName)->size(), 3u);
}

TEST_F(StartUp, TwoProcessesStartingTogetherBothSucceed) {
    const QStringList args{"--home", home, "--settings", settingsFile, "start"};
    QProcess a, b;
    a.start(QStringLiteral(QUINTARA_CLI), args);
    b.start(QStringLiteral(QUINTARA_CLI), QStringList{"--home", home, "--settings", tmp("zweite.conf"), "start"});
    ASSERT_TRUE(a.waitForFinished(60000));
    ASSERT_TRUE(b.waitForFinished(60000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
    sqlite3* db = nullptr;
    sqlite3_open((home + "Gruppen.db").toUtf8().constData(), &db);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM Gruppen", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 10);  // seed rows written once
    sqlite3_finalize(st);
    sqlite3_close(db);
}

TEST_F(StartUp, UnattendedRunsWriteNoSettingsOnClose) {
    ASSERT_TRUE(startOnce().isOk());
    const QByteArray before = qtest::readFile(settingsFile);
    Session s;
    ScriptedInteraction ui;
    ASSERT_TRUE(start(s, ui, false).isOk());
    const QByteArray afterStart = qtest::readFile(settingsFile);
    s.unattended = true;
    s.values.set("Sprache", SettingValue::integer(3));
    ASSERT_TRUE(closeDown(s).isOk());
    EXPECT_EQ(qtest::readFile(settingsFile), afterStart);
    EXPECT_NE(afterStart, before);  // the start counter moved on
}

TEST_F(StartUp, AFailureInTheSecondRunEndsTheAttempts) {
    ASSERT_TRUE(startOnce().isOk());
    NoProgress p;
    ASSERT_TRUE(makeSafetyCopy(home + "Firma.db", home + "Firma.db~", layoutForFile("Firma.db"), {}, &p).isOk());
    // The backup holds no volumes, so restoring cannot mend this file.
    qtest::writeFile(home + "Volumen.db", "Rauschen");
    Session s;
    ScriptedInteraction ui;
    ui.answers = {Answer::Yes, Answer::Yes};
    EXPECT_FALSE(start(s, ui).isOk());
    EXPECT_EQ(ui.questions.size(), 1);
    const QString damage = "Die Datei " + home + "Volumen.db ist keine gültige Datenbank";
    EXPECT_EQ(ui.messages, QStringList({damage, damage, "Datenbank konnte nicht wiederhergestellt werden!"}));
    EXPECT_EQ(qtest::readFile(home + "Volumen.db"), "Rauschen");
}

TEST_F(StartUp, StaleLockFilesGoButSqliteFilesStay) {
    ASSERT_TRUE(startOnce().isOk());
    for (const char* f : {"PARADOX.LCK", "pdoxusrs.lck", "PARADOX.NET", "Temp/PARADOX.LCK", "Intraday/PDOXUSRS.LCK"})
        qtest::writeFile(home + f, "x");
    {
        Session keep;
        ScriptedInteraction ui;
        ASSERT_TRUE(start(keep, ui, false).isOk());
        // While this run keeps its tables open, their -wal and -shm files exist and hold data.
        ASSERT_TRUE(QFile::exists(home + "Firma.db-wal"));
        Session second;
        ASSERT_TRUE(start(second, ui).isOk());
        EXPECT_TRUE(QFile::exists(home + "Firma.db-wal"));
        EXPECT_TRUE(QFile::exists(home + "Firma.db-shm"));
    }
    for (const char* f : {"PARADOX.LCK", "pdoxusrs.lck", "PARADOX.NET", "Temp/PARADOX.LCK", "Intraday/PDOXUSRS.LCK"})
        EXPECT_FALSE(QFile::exists(home + f)) << f;
}

TEST_F(StartUp, ASettingsFileThatCannotBeWrittenEndsTheStartEarly) {
    qtest::writeFile(tmp("keinOrdner"), "x");
    settingsFile = tmp("keinOrdner/Quintara.conf");
    Session s;
    ScriptedInteraction ui;
    Status st = start(s, ui);
    EXPECT_EQ(st.category(), Category::Io);
    EXPECT_EQ(ui.messages, QStringList{"Das Verzeichnis " + tmp("keinOrdner") + " für die Einstellungen kann nicht angelegt werden"});
    EXPECT_FALSE(QFile::exists(home + "Firma.db"));
}

TEST_F(StartUp, AServerThatCannotBeReachedOffersRetryOrTheSettingAndNoStandInTables) {
    qtest::TestServerDatabase server;
    QTEST_NEEDS_SERVER(server);
    {
        SettingsStore settings;
        ASSERT_TRUE(settings.load(settingsFile).isOk());
        settings.writeText(SettingsStore::kMainKey, "Datenbank", qtest::unreachableServerUri());
        ASSERT_TRUE(settings.save().isOk());
    }
    // Retried once, then ended: nothing was made in the installation.
    {
        Session s;
        ScriptedInteraction ui;
        ui.choices = {0, 2};
        EXPECT_FALSE(start(s, ui).isOk());
        EXPECT_TRUE(s.quitRequested);
        ASSERT_EQ(ui.questions.size(), 2);
        EXPECT_TRUE(ui.questions[0].contains("nicht erreichbar")) << ui.questions[0].toStdString();
        EXPECT_TRUE(QDir(home).entryList({"*.db", "*.DB"}, QDir::Files).isEmpty());
    }
    // Unattended the message is told and the run ends at once.
    {
        Session s;
        s.unattended = true;
        ScriptedInteraction ui;
        EXPECT_EQ(start(s, ui).category(), Category::Io);
        EXPECT_TRUE(ui.questions.isEmpty());
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].contains("Datenbankserver 127.0.0.1:")) << ui.messages[0].toStdString();
    }
    // The setting corrected in the question: the tables are made on the server and
    // the setting keeps the new connection.
    {
        Session s;
        ScriptedInteraction ui;
        ui.choices = {1};
        ui.inputs = {server.uri()};
        ASSERT_TRUE(start(s, ui).isOk());
        EXPECT_EQ(s.store.server(), server.uri());
        EXPECT_TRUE(s.store.exists("Firma.db"));
        EXPECT_TRUE(QDir(home).entryList({"*.db", "*.DB"}, QDir::Files).isEmpty());
        SettingsStore settings;
        ASSERT_TRUE(settings.load(settingsFile).isOk());
        EXPECT_EQ(*settings.readText(SettingsStore::kMainKey, "Datenbank"), server.uri());
    }
}
