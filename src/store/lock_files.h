// Removal of lock and control files a crashed run of a companion program left
// behind. SQLite's own -wal, -shm and -journal files hold committed data and are
// never touched here.
#pragma once

#include <QString>

namespace q {

// The four directories the start-up cleans before the first table opens, in this
// order: depot (PARADOX.NET, PARADOX.LCK, PDOXUSRS.LCK), the installation's Temp
// (PARADOX.LCK, PDOXUSRS.LCK), data (PARADOX.LCK, PDOXUSRS.LCK, PARADOX.NET),
// installation (PARADOX.LCK, PDOXUSRS.LCK, PARADOX.NET). Each file is deleted only
// when present; one that cannot be deleted is skipped. Returns how many went.
int removeStaleLockFiles(const QString& depotDir, const QString& installDir, const QString& dataDir);
// The clean-up after the settings are read: the intraday, depot and work directories.
int removeLateLockFiles(const QString& intradayDir, const QString& depotDir, const QString& workDir);

}  // namespace q
