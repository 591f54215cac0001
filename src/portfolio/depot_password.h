// The depot password: a salted PBKDF2-SHA256 hash of it stored with the depot's
// lots (store/depot_password.h). The built-in password `PeppyMarlin`, and an empty
// one, mean no password. It keeps the depot from being opened in this program
// without it; it does not encrypt the file.
#pragma once

#include "base/status.h"

#include <QString>

namespace q {

class Database;

inline const QString kBuiltinPassword = QStringLiteral("PeppyMarlin");

// Sets the password of the depot table `path`; empty or `PeppyMarlin` removes it.
// Fails with the store's message.
Status setDepotPassword(const QString& path, const QString& password);
// True when the depot table `path` has a password.
Result<bool> depotProtected(const QString& path);
// OK when `password` opens the depot table `path` (any password opens one without);
// Invalid "Falsches Passwort für das Depot …" otherwise.
Status checkDepotPassword(const QString& path, const QString& password, const QString& depotName);

// The same for the depot whose lots `db` holds (its file, or its schema on the server).
Status setDepotPassword(Database& db, const QString& password);
Result<bool> depotProtected(Database& db);
Status checkDepotPassword(Database& db, const QString& password, const QString& depotName);

}  // namespace q
