// The setting `Datenbank`: the PostgreSQL server that holds the tables (a libpq
// connection string or URI), or empty for the table files. It takes effect at the
// next start; a run already going keeps the tables it opened.
#pragma once

#include "base/status.h"
#include "settings/settings_store.h"

namespace q {

// The setting as `settings` hold it, trimmed.
QString databaseSetting(const SettingsStore& settings);

// Writes `uri` (trimmed) as `Datenbank` and saves the settings. A text libpq cannot
// read, or one that carries a password, is refused (Invalid). With `check`, a
// server named there must answer first: Io "Datenbankserver HOST:PORT nicht
// erreichbar (…)" and nothing written when it does not. Returns the server's
// "host:port" as it answered (empty for the table files or without the check);
// fails like the settings' save.
Result<QString> setDatabaseSetting(SettingsStore& settings, const QString& uri, bool check);

}  // namespace q
