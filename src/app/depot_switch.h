// Switching the session's depot: the one path choose, create and delete take, and
// quintara-cli's --depot for a single run. On any failure the old depot stays.
#pragma once

#include "app/session.h"
#include "base/interaction.h"

#include <optional>

namespace q {

// The recent depots (`Depotpath0` … `Depotpath9`), oldest first; empty values are
// passed over.
QStringList recentDepots(const SettingsStore& settings);

struct DepotOpen {
    // The password to try (quintara-cli --password-file); without it the user is
    // asked ("Depot-Paßwort eingeben") until the answer is right or empty.
    std::optional<QString> password;
    // Only for this run: no setting is written.
    bool temporary = false;
};

// Opens the depot in `dir` for `session`:
//  1. creates the directory when missing (Io "Das Verzeichnis … kann nicht angelegt
//     werden") and its Transaktionen.db when missing;
//  2. a protected depot needs its password (Invalid "Falsches Passwort für das
//     Depot …", or "Das Depot … ist durch ein Passwort geschützt" when none is given);
//  3. points the store at it, sets the caption, and (unless temporary) writes
//     `Depotpath`, puts the directory into the recent list and saves the settings.
Status switchDepot(Session& session, const QString& dir, Interaction& ui, const DepotOpen& how = {});

// The password gate of the depot the session starts on: OK when it has no password
// or the right one is given or answered. Fails like switchDepot()'s step 2.
Status unlockDepot(Session& session, Interaction& ui, const std::optional<QString>& password);

// Deletes the depot in `dir` (its files, its recent entry, the folder when empty);
// when it is the current depot, the session goes on with the data directory's
// depot. Fails Io naming a file that cannot be deleted.
Status deleteDepot(Session& session, const QString& dir, Interaction& ui);

}  // namespace q
