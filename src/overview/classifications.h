// The three classification tables of the securities master: groups (`Gruppen.db`,
// field `Gruppe`), branches (`Branchen.db`, `Branche`) and features (`Merkmal.db`,
// `Merkmal`). Their rows keep the user's order; the editor adds, renames, moves and
// deletes entries.
//
// Design notes.
// 1. The tables have no index. A row's position is its rowid: rows are listed in
//    rowid order, a new row goes to the end, and moving an entry swaps the contents
//    of two neighbouring rows, so both keep their places and companion programs
//    that walk the file in record order see the same order.
// 2. `GruppenIndex` is the number a security refers to. A new entry gets the highest
//    number + 1 (1 when the table is empty), never a deleted one's.
// 3. Number 0 ("keine Zuordnung", e.g. "alle Gruppen") stands for all: it is never
//    deleted.
#pragma once

#include "base/interaction.h"
#include "store/store.h"

#include <vector>

namespace q {

// Stored in nothing: the order of the CLI words and the editor's menu entries.
enum class Classification { Gruppen, Branchen, Merkmale };

// "Gruppen.db", "Branchen.db", "Merkmal.db".
QString classificationFile(Classification c);
// The securities master's field: "Gruppe", "Branche", "Merkmal".
QString classificationField(Classification c);

struct ClassEntry {
    qint64 position = 0;  // the rowid
    int GruppenIndex = 0;
    QString GruppenName;
};

// The entries in the table's order. Fails with the store's message.
Result<std::vector<ClassEntry>> readClassification(Store& store, Classification c);
// The `GruppenIndex` of the entry named `name` (letter case ignored, blanks around
// it too). Fails NotFound "Die Gruppe "X" gibt es nicht (…)" naming the entries.
Result<int> classificationNumber(Store& store, Classification c, const QString& name);

// Appends an entry named `name` (cut to the field's length) and returns its number.
// Fails Invalid "Der Name fehlt" for an empty name.
Result<int> addClassification(Store& store, Classification c, const QString& name);
// Renames the entry at `index` (0-based place in the order). Fails Invalid for a
// place outside the list or an empty name.
Status renameClassification(Store& store, Classification c, int index, const QString& name);
// Moves the entry at `index` one place up (towards 0) or down; returns its new
// place. At the edge nothing moves. One transaction.
Result<int> moveClassification(Store& store, Classification c, int index, bool up);

struct ClassDeletion {
    QString name;
    int GruppenIndex = 0;
    int securities = 0;         // securities that had the entry
    bool securitiesDeleted = false;
    qint64 prices = 0;          // rows deleted with them (only when deleted)
    qint64 volumes = 0;
    qint64 bookings = 0;
};

// Deletes the entry at `index`, then asks "Alle Löschen??" with "Löschen aller
// Wertpapiere in dieser Gruppe????" (Branche, Merkmal accordingly), default No; the
// text also names how many securities, prices and bookings that deletes. Yes deletes
// those securities with their prices, volumes and bookings; No sets their field to 0.
// Without such securities nothing is asked. Fails Invalid "Der Eintrag "keine
// Zuordnung" (0) kann nicht gelöscht werden" for number 0, Invalid for a place
// outside the list. The entry's row and the master's changes run in a transaction
// of each table.
Result<ClassDeletion> deleteClassification(Store& store, Classification c, int index, Interaction& ui);

}  // namespace q
