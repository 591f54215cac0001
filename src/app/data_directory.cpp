#include "app/data_directory.h"

#include "base/text_files.h"
#include "store/data_lock.h"
#include "store/index_repair.h"
#include "store/schema_conversion.h"
#include "store/lock_files.h"

#include <QDir>

namespace q {

namespace {

const QString kMain = SettingsStore::kMainKey;
constexpr int kRecentCount = 5;

QString recentName(int i) { return QStringLiteral("Datenpath%1").arg(i); }

}  // namespace

QStringList recentDataDirectories(const SettingsStore& settings) {
    QStringList dirs;
    for (int i = 0; i < kRecentCount; ++i) {
        auto v = settings.readText(kMain, recentName(i));
        if (v && !v->isEmpty()) dirs << *v;
    }
    return dirs;
}

Status changeDataDirectory(Session& s, const QString& newDir, Interaction& ui) {
    Q_ASSERT(!newDir.isEmpty());
    const QString dir = withSlash(QDir::cleanPath(QDir(newDir).absolutePath()));
    if (!QDir().mkpath(dir)) return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(dir));
    // The new directory's tables are made and converted here: alone, and the old
    // directory's lock is given up with its tables.
    const DataLock::Waiting waiting = [&ui](const QString& m) { ui.status(m); };
    if (s.dataLock && sameDir(s.dataLock->dir(), dir)) {
        Q_TRY(s.dataLock->makeExclusive(kDataLockWaitMs, waiting));
    } else {
        auto alone = DataLock::acquire(dir, LockMode::Exclusive, kDataLockWaitMs, waiting);
        if (!alone) return alone.status();
        s.dataLock = std::move(*alone);
    }

    QStringList recent = recentDataDirectories(s.settings);
    const bool known = std::any_of(recent.begin(), recent.end(), [&](const QString& d) { return sameDir(d, dir); });
    if (!known) {
        if (recent.size() >= kRecentCount) recent.removeFirst();
        recent << dir;
    }
    for (int i = 0; i < recent.size(); ++i) {
        s.settings.writeText(kMain, recentName(i), recent[i]);
        s.values.set(recentName(i), SettingValue::text(recent[i]));
    }

    s.store.closeAll();
    // On the server the tables stay where they are: the directory holds the files only.
    const bool onServer = !s.store.server().isEmpty();
    if (!onServer && !fileExists(dir, QStringLiteral("Firma.db"))) ui.tell(QStringLiteral("Kann Firma.db nicht finden"));
    if (!onServer && !fileExists(dir, QStringLiteral("Aktien.db"))) ui.tell(QStringLiteral("Kann Aktien.db nicht finden"));

    s.dirs.data = dir;
    auto depotSetting = s.settings.readText(kMain, QStringLiteral("Depotpath"));
    s.dirs.depot = depotSetting && !depotSetting->isEmpty() ? withSlash(*depotSetting) : dir;
    s.caption = windowCaption(s.dirs.data, s.dirs.depot);
    s.store.setDirs({s.dirs.data, s.dirs.depot, s.dirs.work, s.dirs.install});
    for (const char* file : {"Volumen.db", "Intraday.db", "Waehrung.db", "Watch.db", "Watch2.db", "Watch3.db", "Watch4.db",
                             "Gruppen.db", "Branchen.db"})
        Q_TRY(s.store.ensure(QString::fromLatin1(file)));

    removeStaleLockFiles(s.dirs.depot, s.dirs.install, s.dirs.data);
    s.settings.writeText(kMain, QStringLiteral("Datenpath"), storedPath(s.dirs.install, dir));
    Q_TRY(s.settings.save());

    if (!onServer) {
        auto check = checkindex(s.store);
        if (!check) return check.status();
    }
    // From now on the session writes rows there, as any job may.
    s.dataLock->makeShared();
    return Status::ok();
}

}  // namespace q
