#include "app/depot_switch.h"

#include "app/directories.h"
#include "base/text_files.h"
#include "portfolio/depot_password.h"
#include "portfolio/depots.h"
#include "portfolio/lot.h"
#include "store/database.h"
#include "store/server_connection.h"
#include "store/server_schema.h"
#include "store/table.h"

#include <QDir>

namespace q {

namespace {

const QString kMain = SettingsStore::kMainKey;

QString recentName(int i) { return QStringLiteral("Depotpath%1").arg(i); }

void writeRecent(Session& s, const QStringList& recent) {
    for (int i = 0; i < kRecentDepots; ++i) {
        s.settings.removeValue(kMain, recentName(i));
        s.values.set(recentName(i), SettingValue::text(QString()));
    }
    for (int i = 0; i < recent.size(); ++i) {
        s.settings.writeText(kMain, recentName(i), recent[i]);
        s.values.set(recentName(i), SettingValue::text(recent[i]));
    }
}

// Asks until the password is right or the answer empty.
Status gate(Database& lots, const QString& name, const QString& caption, Interaction& ui, const std::optional<QString>& given) {
    auto locked = depotProtected(lots);
    if (!locked) return locked.status();
    if (!*locked) return Status::ok();
    if (given) return checkDepotPassword(lots, *given, name);
    for (;;) {
        const auto answer =
            ui.input(QStringLiteral("Depot-Paßwort eingeben"), QStringLiteral("Paßwort:(") + caption + QLatin1Char(')'), true);
        if (!answer || answer->isEmpty())
            return Status::invalid(QStringLiteral("Das Depot %1 ist durch ein Passwort geschützt").arg(name));
        if (checkDepotPassword(lots, *answer, name).isOk()) return Status::ok();
        ui.tell(QStringLiteral("Falsches Passwort für das Depot %1").arg(name));
    }
}

}  // namespace

QStringList recentDepots(const SettingsStore& settings) {
    QStringList dirs;
    for (int i = 0; i < kRecentDepots; ++i) {
        auto v = settings.readText(kMain, recentName(i));
        if (v && !v->isEmpty()) dirs << *v;
    }
    return dirs;
}

Status switchDepot(Session& s, const QString& newDir, Interaction& ui, const DepotOpen& how) {
    const QString dir = withSlash(QDir::cleanPath(QDir(newDir).absolutePath()));
    if (!QDir().mkpath(dir)) return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(dir));
    if (!QFileInfo(dir).isWritable())
        return Status::io(QStringLiteral("In das Verzeichnis %1 kann nicht geschrieben werden").arg(dir));

    const Directories old = s.dirs;
    s.dirs.depot = dir;
    s.store.setDirs({s.dirs.data, s.dirs.depot, s.dirs.work, s.dirs.install});
    const auto restore = [&](const Status& failure) {
        s.dirs = old;
        s.store.setDirs({s.dirs.data, s.dirs.depot, s.dirs.work, s.dirs.install});
        return failure;
    };
    if (Status made = s.store.ensure(kLots); !made) return restore(made);
    const QString caption = windowCaption(s.dirs.data, dir);
    auto lots = s.store.table(kLots);
    if (!lots) return restore(lots.status());
    if (Status open = gate((*lots)->db(), depotName(dir), caption, ui, how.password); !open) return restore(open);
    s.caption = caption;
    if (how.temporary) return Status::ok();

    s.values.set(QStringLiteral("Depotpath"), SettingValue::text(dir));
    s.settings.writeText(kMain, QStringLiteral("Depotpath"), dir);
    writeRecent(s, withRecentDepot(recentDepots(s.settings), dir));
    return s.settings.save();
}

Status unlockDepot(Session& s, Interaction& ui, const std::optional<QString>& password) {
    // On the server the depot's schema is asked; a depot without its lots there
    // has not been made yet, as a folder without the file.
    if (!s.store.exists(kLots)) return Status::ok();
    auto lots = s.store.table(kLots);
    if (!lots) return lots.status();
    return gate((*lots)->db(), depotName(s.dirs.depot), s.caption, ui, password);
}

Status deleteDepot(Session& s, const QString& dir, Interaction& ui) {
    const bool current = sameDirectory(dir, s.dirs.depot);
    if (current) s.store.closeAll();
    Q_TRY(deleteDepotFiles(dir));
    // On the server the depot is its schema: it goes with the folder, so that a new
    // depot of the same name starts empty.
    if (!s.store.server().isEmpty()) {
        auto server = ServerConnection::open(s.store.server());
        if (!server) return server.status();
        Q_TRY(dropDepotSchema(**server, depotSchemaName(dir)));
    }
    writeRecent(s, withoutRecentDepot(recentDepots(s.settings), dir));
    Q_TRY(s.settings.save());
    if (!current) return Status::ok();
    // The current depot is gone: the data directory's depot takes its place (making
    // the deleted one anew would put it back into the recent list).
    return switchDepot(s, s.dirs.data, ui);
}

}  // namespace q
