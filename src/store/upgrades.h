// Structure upgrades that bring tables written by older releases to the current
// layout: the securities master (missing `Branche`, `Oberes_Limit`, `Merkmal`,
// `Aktienzahl`, `ISIN`) and the currency table (missing `Multiplikator`,
// `Einheit`). Each rebuild is one transaction inside the table's own file, so a
// failure at any step leaves the old table whole.
#pragma once

#include "base/interaction.h"
#include "store/store.h"

#include <functional>
#include <optional>

namespace q {

// Tests the securities master at `path` for the five fields in order and rebuilds
// it (FirmaUpdate) for the first one missing, after asking the user; the rebuilt
// table passes all later tests. Tells the field's message after a rebuild.
// Fails Cancelled when the user does not answer yes (the program then ends, the
// table untouched), or with the error's own message.
Status upgradeFirma(const QString& path, Interaction& ui, bool* rebuilt = nullptr);

// The rebuild itself: copies every record into the new layout (a record that
// cannot be written is skipped; a memo that cannot be read becomes
// "Musste entfernt werden") and replaces the table. Asks first; Cancelled on no.
Status FirmaUpdate(Database& db, Interaction& ui);

// The value of a new field in a rebuilt row: `old` is the old table's value of the
// field of that name, `present` false when the old table lacks the field.
using FieldMap = std::function<QVariant(const QString& field, const QVariant& old, bool present)>;

// Rebuilds the table `target.table` of `db` in the layout `target`: makes it anew
// beside the old one under the name `temporary`, copies every row through `map`,
// drops the old table and renames the new one, then makes the target's indexes.
// The number counter of an autoincrement key stays as high as it was. With
// `skipBadRows` a row that cannot be written (a key collision, a text too long) is
// left out, as the structure upgrades do; otherwise it fails the rebuild (Invalid).
// Runs inside the caller's transaction.
Status rebuildTable(Database& db, const std::vector<Field>& oldFields, const Layout& target, const QString& temporary,
                    const FieldMap& map, bool skipBadRows);

struct CurrencySettings {
    QString waehrung;               // setting `Waehrung`: the second currency's symbol
    std::optional<double> wechselkurs;  // setting `Wechselkurs`: its fixed rate
    QString homeSymbol;             // setting `WaehrungsSymbol`
};

// Enters the second currency into the currency table when missing (name
// code + ">>" + home symbol, factor the fixed rate) and rebuilds a table lacking
// `Multiplikator` or `Einheit`. Returns the factor in effect for the second
// currency (the table's, when it has the currency), nullopt when the settings name none.
Result<std::optional<double>> upgradeWaehrung(const QString& path, const CurrencySettings& settings);
// The same on the open currency table's database (its file or the server).
Result<std::optional<double>> upgradeWaehrung(Database& db, const CurrencySettings& settings);

}  // namespace q
