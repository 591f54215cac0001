#include "app/database_setting.h"

#include "store/server_connection.h"

namespace q {

namespace {
const QString kName = QStringLiteral("Datenbank");
}

QString databaseSetting(const SettingsStore& settings) {
    const auto value = settings.readText(SettingsStore::kMainKey, kName);
    return value ? value->trimmed() : QString();
}

Result<QString> setDatabaseSetting(SettingsStore& settings, const QString& uri, bool check) {
    const QString wanted = uri.trimmed();
    QString answered;
    if (!wanted.isEmpty() && check) {
        // The connection checks the text first.
        auto server = ServerConnection::open(wanted);
        if (!server) return server.status();
        answered = (*server)->server();
    } else if (!wanted.isEmpty()) {
        Q_TRY(checkConnectionText(wanted));
    }
    settings.writeText(SettingsStore::kMainKey, kName, wanted);
    Q_TRY(settings.save());
    return answered;
}

}  // namespace q
