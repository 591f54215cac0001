#include "app/backup.h"
#include "app/backup_sets.h"
#include "app/restore_journal.h"
#include "app/startup_fixture.h"
#include "store/firma_hooks.h"

#include <QDir>
#include <QFile>

using namespace q;

namespace {

class Backup : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        ASSERT_TRUE(start(session, ui, false).isOk());
    }
    int addSecurity(const QString& name) {
        Table& firma = **session.store.table("Firma.db");
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", name);
        return *appendSecurity(firma, r);
    }
    void addPrice(int firma, int day, double kurs) {
        Table& aktien = **session.store.table("Aktien.db");
        Record r = aktien.newRecord();
        r.set("Firma", firma), r.set("Datum", day), r.set("Kurs", kurs);
        ASSERT_TRUE(aktien.append(r).isOk());
    }
    qint64 count(const char* file) { return *(*session.store.table(file))->count(Query()); }

    Session session;
    ScriptedInteraction ui;
    NoProgress progress;
};

}  // namespace

TEST_F(Backup, CopiesLieBesideTheTablesWhenTheBackupDirectoryIsTheDataDirectory) {
    addSecurity("Alpha");
    auto copies = Sicherung(session.dirs, {}, progress);
    ASSERT_TRUE(copies.isOk());
    QStringList targets;
    for (const BackupCopy& c : copies->copies) targets << QFileInfo(c.target).fileName();
    // No holdings history yet: the depot's copies are those of its transactions only.
    EXPECT_EQ(targets, (QStringList{"Firma.db~", "Gruppen.db~", "Branchen.db~", "Transaktionen.db~", "Aktien.db~", "Volumen.db~"}));
    EXPECT_TRUE(QFile::exists(home + "Firma.db~"));
    EXPECT_FALSE(QFile::exists(home + "Firma.db~-wal"));
}

TEST_F(Backup, RestoreBringsBackTheMarketTablesAndKeepsIntradayPrices) {
    const int a = addSecurity("Alpha");
    addPrice(a, 46000, 10.0);
    ASSERT_TRUE(Sicherung(session.dirs, {}, progress).isOk());
    // After the backup: a new security, more prices, an intraday price.
    const int b = addSecurity("Beta");
    addPrice(a, 46001, 11.0);
    Table& intraday = **session.store.table("Intraday.db");
    Record r = intraday.newRecord();
    r.set("Firma", b), r.set("ZEIT", 46001.5), r.set("Kurs", 3.0);
    ASSERT_TRUE(intraday.append(r).isOk());

    ui.answers = {Answer::Yes};
    auto restored = Sicherungwiederherstellen(session.dirs, session.store, ui);
    ASSERT_TRUE(restored.isOk()) << restored.status().message().toStdString();
    EXPECT_EQ(ui.questions, QStringList{"Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ?? "});
    EXPECT_EQ(count("Firma.db"), 1);
    EXPECT_EQ(count("Aktien.db"), 1);
    EXPECT_EQ(count("Intraday.db"), 1);
    // Indexes are there again, and Beta's number stays spent: its intraday price
    // must not pass to the next new security.
    EXPECT_EQ((*session.store.table("Firma.db"))->rows(Query{"IFirma"})->size(), 1u);
    EXPECT_EQ(addSecurity("Gamma"), b + 1);
}

TEST_F(Backup, RestoreWithOnlyTheSecuritiesCopyLeavesTheRestAlone) {
    addSecurity("Alpha");
    ASSERT_TRUE(Sicherung(session.dirs, {}, progress).isOk());
    for (const char* f : {"Aktien.db~", "Volumen.db~", "Gruppen.db~", "Branchen.db~"}) ASSERT_TRUE(QFile::remove(home + f));
    addPrice(1, 46000, 5.0);
    ui.answers = {Answer::Yes};
    auto restored = Sicherungwiederherstellen(session.dirs, session.store, ui);
    ASSERT_TRUE(restored.isOk());
    ASSERT_EQ(restored->tables.size(), 1u);
    EXPECT_EQ(restored->tables[0].live, home + "Firma.db");
    EXPECT_EQ(count("Aktien.db"), 1);
}

TEST_F(Backup, AnsweringNoOrHavingNoCopyChangesNothing) {
    auto none = Sicherungwiederherstellen(session.dirs, session.store, ui);
    EXPECT_EQ(none.status().category(), Category::NotFound);
    EXPECT_EQ(none.status().message(), "Es existriert keine Sicherung");
    // The caller shows the failure; told twice it would stand twice on the screen.
    EXPECT_TRUE(ui.messages.isEmpty());

    ASSERT_TRUE(Sicherung(session.dirs, {}, progress).isOk());
    addSecurity("Nach der Sicherung");
    ui.answers = {Answer::No};
    EXPECT_EQ(Sicherungwiederherstellen(session.dirs, session.store, ui).status().category(), Category::Cancelled);
    EXPECT_EQ(count("Firma.db"), 1);
}

TEST_F(Backup, AnUnwritableBackupDirectoryFailsWithTheMessage) {
    qtest::writeFile(tmp("eine-datei"), "x");
    Directories dirs = session.dirs;
    dirs.backup = tmp("eine-datei/Sicherung/");
    auto copies = Sicherung(dirs, {}, progress);
    EXPECT_EQ(copies.status().category(), Category::Io);
    EXPECT_EQ(copies.status().message(), "Datenbank konnte nicht gesichert werden!\nDas Verzeichnis " + dirs.backup +
                                             " kann nicht angelegt werden");
}

TEST_F(Backup, GenerationsKeepTheLastBackupsAndAnOlderOneCanBeRestored) {
    BackupPolicy keepTwo;
    keepTwo.generations = 2;
    addSecurity("Alpha");
    ASSERT_TRUE(Sicherung(session.dirs, keepTwo, progress).isOk());
    addSecurity("Beta");
    ASSERT_TRUE(Sicherung(session.dirs, keepTwo, progress).isOk());
    addSecurity("Gamma");
    auto third = Sicherung(session.dirs, keepTwo, progress);
    ASSERT_TRUE(third.isOk());

    // Two generations stay; the newest copies are the newest generation's files.
    const std::vector<BackupSet> sets = Sicherungen(session.dirs, true);
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0].name, third->generation);
    EXPECT_EQ(sets[0].copyOf("Firma.db")->rows, 3);
    EXPECT_EQ(sets[1].copyOf("Firma.db")->rows, 2);
    EXPECT_EQ(QDir(home).entryList({"Sicherung_*"}, QDir::Dirs).size(), 2);

    ui.answers = {Answer::Yes};
    auto restored = Sicherungwiederherstellen(session.dirs, session.store, ui, sets[1].name);
    ASSERT_TRUE(restored.isOk()) << restored.status().message().toStdString();
    EXPECT_EQ(restored->set, sets[1].name);
    EXPECT_EQ(count("Firma.db"), 2);
    EXPECT_EQ(describeRestore(*restored).first(), "Wiederhergestellt: " + home + "Aktien.db aus der Sicherung vom " +
                                                      formatCopyDate(sets[1].date) + " (" + sets[1].dir + "Aktien.db~)");

    auto unknown = Sicherungwiederherstellen(session.dirs, session.store, ui, "Sicherung_1999");
    EXPECT_EQ(unknown.status().category(), Category::NotFound);
    EXPECT_TRUE(unknown.status().message().startsWith("Es gibt keine Sicherung »Sicherung_1999« (vorhanden: "));
}

TEST_F(Backup, AnEmptyCopyIsRefusedBeforeAnyTableIsTouched) {
    const int a = addSecurity("Alpha");
    addPrice(a, 46000, 10.0);
    BackupPolicy none;
    none.generations = 0;
    ASSERT_TRUE(Sicherung(session.dirs, none, progress).isOk());
    // A backup stopped by a full disk left an empty copy of the prices.
    qtest::writeFile(home + "Aktien.db~", "");
    addPrice(a, 46001, 11.0);

    ui.answers = {Answer::Yes};
    auto refused = Sicherungwiederherstellen(session.dirs, session.store, ui);
    EXPECT_EQ(refused.status().category(), Category::Corrupt);
    EXPECT_EQ(ui.messages.first(), "Die Sicherungskopie " + home + "Aktien.db~ ist unbrauchbar: Die Datei " + home +
                                       "Aktien.db~ ist leer");
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(count("Aktien.db"), 2);
    EXPECT_EQ(count("Firma.db"), 1);
}

TEST_F(Backup, WhenTheNewestCopiesAreBadTheNewestGoodGenerationIsOffered) {
    addSecurity("Alpha");
    ASSERT_TRUE(Sicherung(session.dirs, {}, progress).isOk());
    addSecurity("Beta");
    auto newest = Sicherung(session.dirs, {}, progress);
    ASSERT_TRUE(newest.isOk());
    // The newest generation's copy of the securities is damaged (one file for both names).
    qtest::scramblePage(home + newest->generation + "/Firma.db~", 2);
    addSecurity("Gamma");

    ui.answers = {Answer::Yes};
    auto restored = Sicherungwiederherstellen(session.dirs, session.store, ui);
    ASSERT_TRUE(restored.isOk()) << restored.status().message().toStdString();
    EXPECT_NE(restored->set, newest->generation);
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[0].startsWith("Die Sicherungskopie " + home + newest->generation + "/Firma.db~ ist unbrauchbar"));
    EXPECT_TRUE(ui.messages[1].startsWith("Angeboten wird die ältere Sicherung vom "));
    EXPECT_EQ(count("Firma.db"), 1);
}

TEST_F(Backup, ADepotTableComesBackAloneFromItsCopy) {
    Table& t = **session.store.table("Transaktionen.db");
    Record r = t.newRecord();
    r.set("Firma", 1), r.set("Datum", 46000), r.set("Anteile", 10.0), r.set("Ankauf", 5.0), r.set("Verkauf", 0.0),
        r.set("Erloes", 0.0);
    ASSERT_TRUE(t.append(r).isOk());
    ASSERT_TRUE(Sicherung(session.dirs, {}, progress).isOk());
    addSecurity("Nach der Sicherung");
    session.store.closeAll();
    qtest::writeFile(home + "Transaktionen.db", "");

    ui.answers = {Answer::Yes};
    auto restored = depotWiederherstellen(session.dirs, session.store, ui, "Transaktionen.db");
    ASSERT_TRUE(restored.isOk()) << restored.status().message().toStdString();
    EXPECT_EQ(restored->tables.size(), 1u);
    EXPECT_EQ(restored->tables[0].copy, home + "Transaktionen.db~");
    EXPECT_EQ(count("Transaktionen.db"), 1);
    // The market tables keep what came after the backup.
    EXPECT_EQ(count("Firma.db"), 1);
}

// A restore killed after Aktien.db went back but before Firma.db: the journal names
// both copies, and the next start puts the rest back before any table opens.
TEST_F(Backup, TheNextStartFinishesARestoreThatWasStoppedHalfWay) {
    const int a = addSecurity("Alpha");
    addPrice(a, 46000, 10.0);
    ASSERT_TRUE(Sicherung(session.dirs, {}, progress).isOk());
    addSecurity("Beta");
    addPrice(a, 46001, 11.0);
    const BackupSet set = Sicherungen(session.dirs, false).front();
    std::vector<RestoreStep> steps;
    for (const char* table : {"Aktien.db", "Firma.db"})
        steps.push_back({set.copyOf(table)->path, session.dirs.data + table, 0});
    ASSERT_TRUE(writeRestoreJournal(session.dirs.data, steps).isOk());
    const QString data = session.dirs.data;
    // The restore's process is gone, with its lock.
    session.store.closeAll();
    session.dataLock.reset();

    Session next;
    ScriptedInteraction quiet;
    ASSERT_TRUE(start(next, quiet, false).isOk());
    EXPECT_EQ(*(*next.store.table("Firma.db"))->count(Query()), 1);
    EXPECT_EQ(*(*next.store.table("Aktien.db"))->count(Query()), 1);
    EXPECT_FALSE(QFile::exists(data + kRestoreJournal));
    EXPECT_TRUE(next.statusNotes.contains("Die unterbrochene Wiederherstellung in " + data + " wurde abgeschlossen."));

    // A journal whose copy is gone cannot be finished: the start says so and stays.
    ASSERT_TRUE(writeRestoreJournal(data, {{data + "fehlt.db~", data + "Aktien.db", 0}}).isOk());
    next.store.closeAll();
    next.dataLock.reset();
    Session third;
    const Status s = start(third, quiet, false);
    EXPECT_EQ(s.category(), Category::NotFound);
    EXPECT_EQ(s.message(), "Die unterbrochene Wiederherstellung kann nicht abgeschlossen werden: die Sicherungskopie " + data +
                               "fehlt.db~ fehlt");
}
