// Safety copies of the most valuable tables: the securities master, groups,
// branches, daily prices and volumes into the backup directory, the depot's
// transactions and value history beside themselves, each under its name with "~"
// appended; the last few whole backups also in dated folders (backup_sets.h). The
// restore puts the market tables back from the newest copies that pass their check,
// keeps the security-number counter, and repairs the indexes.
#pragma once

#include "app/backup_sets.h"
#include "app/directories.h"
#include "base/interaction.h"
#include "store/store.h"

namespace q {

struct BackupCopy {
    QString source;
    QString target;
};

// What the run allows the backup.
struct BackupPolicy {
    int generations = 5;  // `SicherGenerationen`: whole backups kept in dated folders
    // When set, the backup is refused with this reason: the run works on stand-in
    // tables because the configured data directory is missing, and their copies
    // must not replace those of the real tables.
    QString refusal;
    // When set, the tables are on this PostgreSQL server (the data directory's in
    // schema "quintara", the depot's in `depotSchema`): the copies are written from
    // there as the same table files, so that they restore without a server too.
    QString server;
    QString depotSchema;
};

struct BackupResult {
    std::vector<BackupCopy> copies;
    QString generation;  // the dated folder made; empty when none is kept
};

// The backup (Sicherung1Click): creates the backup directory when missing and copies
// every table file that exists, in the fixed order. Each copy holds one committed
// moment of its table even while another process writes, passes the whole-file
// check and only then replaces the older copy; then the generation is made. Two
// backups into one directory run one after the other. Fails with
// "Datenbank konnte nicht gesichert werden!" and the cause on a second line: Corrupt
// when a table fails its check (its older copy stays), Busy while another backup
// holds the directory, Io otherwise (a full disk among them). Copies already made
// stay; no generation is made then.
// `damaged`, when given, receives the table that failed its check.
Result<BackupResult> Sicherung(const Directories& dirs, const BackupPolicy& policy, Progress& progress,
                               QString* damaged = nullptr);

struct RestoredTable {
    QString live;    // the table put back
    QString copy;    // the copy it came from
    QDateTime date;  // when that copy was made
};

struct RestoreReport {
    QString set;  // the name of the set restored (kNewestSet or a generation)
    std::vector<RestoredTable> tables;
};

// The file part of the restore (datenbankwiederherstellen). The set is `from`, or
// else the newest set whose copies pass their check (an unusable newer one is told,
// naming the copy). NotFound "Es existriert keine Sicherung" without a set; when
// `ask`, the question "Soll die Datenbank von der Sicherheitkopie wiederhergestellt
// werden ?? " (Cancelled on no). Every copy is checked before any table is touched:
// a bad copy fails Corrupt with its message and leaves every table as it was. Then
// each copy replaces its table in one transaction: prices, volumes, securities
// master, groups, branches. The securities master keeps the higher number counter
// of the live and the copied table. Fails Io with "Fehler beim Wiederherstellen der
// Datenbank" and the cause on a second line; the tables put back before stay.
// Closes the store's tables first. Tells nothing of its failures: the caller shows them.
Result<RestoreReport> datenbankwiederherstellen(const Directories& dirs, Store& store, Interaction& ui, bool ask,
                                                const QString& from = {});

// The restore command (Sicherungwiederherstellen1Click): the file restore with its
// question, then the conversion of copies an earlier release made (convertOldTables,
// a file that cannot be converted is told) and the index repair (checkindex). The
// caller reopens its tables.
Result<RestoreReport> Sicherungwiederherstellen(const Directories& dirs, Store& store, Interaction& ui,
                                                const QString& from = {});

// Puts a depot table (`Transaktionen.db`, `Anlagen.DB`) back from its newest copy
// that passes its check: the one beside it, else that of the newest generation
// holding one. The start-up's answer to a damaged depot table, which the restore
// of the market tables leaves alone. Asks the restore question first (Cancelled on
// no); NotFound "Es existriert keine Sicherung" without a good copy (each bad one
// is told). Fails as datenbankwiederherstellen does.
Result<RestoreReport> depotWiederherstellen(const Directories& dirs, Store& store, Interaction& ui, const QString& table);

// The restore's lines for the user: "Wiederhergestellt: <table> aus der Sicherung
// vom <date> (<copy>)", one per table.
QStringList describeRestore(const RestoreReport& report);

}  // namespace q
