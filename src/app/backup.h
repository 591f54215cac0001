// One generation of safety copies: the securities master, groups, branches, daily
// prices and volumes into the backup directory, the depot's transactions and value
// history beside themselves, each under its name with "~" appended. The restore puts
// the market tables back, keeps the security-number counter, and repairs the indexes.
#pragma once

#include "app/directories.h"
#include "base/interaction.h"
#include "store/store.h"

namespace q {

struct BackupCopy {
    QString source;
    QString target;
};

// The backup (Sicherung1Click): creates the backup directory when missing and copies
// every table file that exists, in the fixed order, overwriting older copies. Each
// copy is a consistent snapshot even while another process writes. Returns the copies
// made. Fails Io with "Datenbank konnte nicht gesichert werden!"; copies already made stay.
Result<std::vector<BackupCopy>> Sicherung(const Directories& dirs, Progress& progress);

// The file part of the restore (datenbankwiederherstellen): "Es existriert keine
// Sicherung" (NotFound) without `Firma.db~`; when `ask`, the question "Soll die
// Datenbank von der Sicherheitkopie wiederhergestellt werden ?? " (Cancelled on no);
// then each copy present replaces its table in one step: prices, volumes, securities
// master, groups, branches. The securities master keeps the higher number counter of
// the live and the copied table, so numbers handed out after the backup are not
// handed out again. Fails Io with "Fehler beim Wiederherstellen der Datenbank".
// Returns the tables put back. Closes the store's tables first.
Result<QStringList> datenbankwiederherstellen(const Directories& dirs, Store& store, Interaction& ui, bool ask);

// The restore command (Sicherungwiederherstellen1Click): the file restore with its
// question, then the conversion of copies an earlier release made (convertOldTables,
// a file that cannot be converted is told) and the index repair (checkindex). The
// caller reopens its tables.
Result<QStringList> Sicherungwiederherstellen(const Directories& dirs, Store& store, Interaction& ui);

}  // namespace q
