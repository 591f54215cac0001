// The depot password's stored hash: a second small table `Passwort` in the depot's
// `Transaktionen.db` (fields `Salz`, `Hash`, `Runden`), so that it travels with
// the file. It is a gate, not encryption: the lots stay readable with any SQLite
// tool. No row means no password.
#pragma once

#include "base/status.h"

#include <QString>

#include <QByteArray>
#include <optional>

namespace q {

class Database;
struct Layout;

inline const QString kPasswordTable = QStringLiteral("Passwort");
// The password table's fields (for copies of the depot to a server and back) and
// the statement that creates it in a file.
Layout passwordTableLayout();
QString passwordTableStatement();

struct StoredPassword {
    QByteArray salt;  // raw bytes
    QByteArray hash;  // raw bytes
    int rounds = 0;
};

// The hash stored in the depot table `path`; nullopt when none is set. Fails with
// the store's message for a file that cannot be read.
Result<std::optional<StoredPassword>> readStoredPassword(const QString& path);
// The same for the depot whose lots `db` holds: its file, or its schema on the
// server, where the password table lies beside `Transaktionen`.
Result<std::optional<StoredPassword>> readStoredPassword(Database& db);
// Stores the hash (nullopt: removes the password), in one transaction. Fails with
// the store's message.
Status writeStoredPassword(const QString& path, const std::optional<StoredPassword>& password);
Status writeStoredPassword(Database& db, const std::optional<StoredPassword>& password);

}  // namespace q
