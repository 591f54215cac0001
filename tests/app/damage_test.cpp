#include "settings/settings_store.h"
#include "app/startup_fixture.h"
#include "store/file_system.h"

#include <QDir>
#include <QFile>

using namespace q;
using qtest::sqlNumber;

namespace {

// The sample's data directory Daten/ with a backup made, started once.
class DamagedTables : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        data = home + "Daten/";
        ASSERT_TRUE(qtest::writeSmallSample(data));
        ASSERT_TRUE(startOnce().isOk());
        Session s;
        ScriptedInteraction ui;
        ASSERT_TRUE(start(s, ui, false).isOk());
        NoProgress none;
        ASSERT_TRUE(Sicherung(s.dirs, backupPolicy(s), none).isOk());
        prices = sqlNumber(data + "Aktien.db", "SELECT count(*) FROM Aktien");
        ASSERT_GT(prices, 700);
    }
    void setSetting(const char* name, const SettingValue& value) {
        SettingsStore settings;
        ASSERT_TRUE(settings.load(settingsFile).isOk());
        settings.write(SettingsStore::kMainKey, name, value);
        ASSERT_TRUE(settings.save().isOk());
    }
    QString data;
    qint64 prices = 0;
};

}  // namespace

TEST_F(DamagedTables, AnEmptyPriceTableIsNamedAndOfferedTheRestoreNeverMadeAnew) {
    qtest::writeFile(data + "Aktien.db", "");
    QFile::remove(data + "Aktien.db-wal");
    Session refused;
    ScriptedInteraction no;
    EXPECT_EQ(start(refused, no).category(), Category::Corrupt);
    EXPECT_EQ(no.messages.first(), "Die Datei " + data + "Aktien.db ist leer");
    EXPECT_EQ(no.questions, QStringList{"Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ?? "});
    EXPECT_EQ(QFile(data + "Aktien.db").size(), 0);

    Session restored;
    ScriptedInteraction yes;
    yes.answers = {Answer::Yes};
    ASSERT_TRUE(start(restored, yes).isOk());
    ASSERT_TRUE(restored.restored.has_value());
    EXPECT_EQ(restored.restored->tables.front().live, data + "Aktien.db");
    EXPECT_EQ(sqlNumber(data + "Aktien.db", "SELECT count(*) FROM Aktien"), prices);
}

TEST_F(DamagedTables, TheAutomaticBackupNeverCopiesADamagedTableOverItsGoodCopy) {
    const QByteArray goodCopy = qtest::readFile(data + "Aktien.db~");
    // A page of the price tree turned to noise: the cheap check cannot see it.
    qtest::scramblePage(data + "Aktien.db", qtest::rootPage(data + "Aktien.db", "Aktien"));
    setSetting("SicherInterval", SettingValue::integer(0));  // this start makes the backup

    Session s;
    ScriptedInteraction ui;
    EXPECT_FALSE(start(s, ui).isOk());
    EXPECT_EQ(qtest::readFile(data + "Aktien.db~"), goodCopy);
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.messages.first().startsWith("Datenbank konnte nicht gesichert werden!\nDie Datenbank " + data + "Aktien.db ist beschädigt"))
        << ui.messages.first().toStdString();
    EXPECT_EQ(ui.questions, QStringList{"Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ?? "});
    EXPECT_FALSE(s.autoBackupRan);
}

TEST_F(DamagedTables, IndexDamageInTheSecuritiesIsRebuiltAndNewerRowsStay) {
    // A security added after the backup, which a restore would lose.
    ASSERT_TRUE(qtest::runSqlite3(data + "Firma.db", "INSERT INTO Firma (FirmenName, Aktiv) VALUES ('Nachzügler AG', 1);").exitCode == 0);
    const qint64 securities = sqlNumber(data + "Firma.db", "SELECT count(*) FROM Firma");
    qtest::scramblePage(data + "Firma.db", qtest::rootPage(data + "Firma.db", "IFirma"));

    Session s;
    ScriptedInteraction ui;
    ui.answers = {Answer::Yes};
    ASSERT_TRUE(start(s, ui).isOk());
    EXPECT_EQ(ui.questions, QStringList{"Indexfehler: Soll Quintara versuchen die Indizes neu zu erstellen?"});
    EXPECT_FALSE(s.restored.has_value());
    EXPECT_TRUE(s.steps.contains("Indizes neu aufgebaut: Firma.db"));
    EXPECT_EQ(sqlNumber(data + "Firma.db", "SELECT count(*) FROM Firma"), securities);
    EXPECT_EQ(qtest::runSqlite3(data + "Firma.db", "PRAGMA integrity_check;").out.trimmed(), "ok");
}

TEST_F(DamagedTables, AMissingDataDirectoryIsSaidKeptInTheSettingsAndNeverBackedUp) {
    const QString share = tmp("nas/Quintara/");
    ASSERT_TRUE(QDir().rename(data, tmp("nas-kopie")));
    setSetting("Datenpath", SettingValue::text(share));
    setSetting("SicherPath", SettingValue::text(tmp("sicher/")));
    ASSERT_TRUE(QDir().mkpath(tmp("sicher")));
    qtest::writeFile(tmp("sicher/Aktien.db~"), "die Kopie der echten Kurse");

    Session s;
    ScriptedInteraction ui;
    ASSERT_TRUE(start(s, ui).isOk());
    EXPECT_EQ(s.dirs.data, home);
    EXPECT_TRUE(s.statusNotes.contains("Das Datenverzeichnis " + share + " fehlt; Quintara arbeitet ersatzweise mit den "
                                       "Tabellen in " + home + " und sichert diese nicht. Die Einstellung Datenpath bleibt unverändert."));
    SettingsStore saved;
    ASSERT_TRUE(saved.load(settingsFile).isOk());
    EXPECT_EQ(*saved.readText(SettingsStore::kMainKey, "Datenpath"), share);

    NoProgress none;
    auto backup = Sicherung(s.dirs, backupPolicy(s), none);
    EXPECT_EQ(backup.status().category(), Category::Io);
    EXPECT_TRUE(backup.status().message().startsWith("Datenbank konnte nicht gesichert werden!\nDas Datenverzeichnis " + share));
    EXPECT_EQ(qtest::readFile(tmp("sicher/Aktien.db~")), "die Kopie der echten Kurse");
}

TEST_F(DamagedTables, TablesOnANetworkShareAreSaidOnceAndUseTheRollbackJournal) {
    pretendNetworkFileSystem(data, "cifs");
    Session s;
    ScriptedInteraction ui;
    const Status started = start(s, ui);
    pretendNetworkFileSystem({}, {});
    ASSERT_TRUE(started.isOk());
    const QString said = "Die Tabellen in " + data + " liegen auf einem Netzlaufwerk (cifs): Quintara öffnet sie ohne WAL, "
                         "und die gemeinsame Nutzung über das Netz verlässt sich auf die Dateisperren des Dateiservers.";
    EXPECT_EQ(s.statusNotes.count(said), 1);
    EXPECT_EQ(ui.statusLines.count(said), 1);
    EXPECT_EQ(qtest::readFile(data + "Aktien.db").left(20)[18], 1);
}
