// The network source (`Netzwerkladen`): another installation fills `Intraday.db` in
// the shared data directory; this program only shows the newest price of each
// security. The file is opened read-only and never created.
#pragma once

#include "store/store.h"

namespace q {

inline const QString kNoSharedIntraday = QStringLiteral(
    "Im Datenverzeichnis gibt es keine Intraday-Datenbank (intraday.db)! Starten Sie das Intraday-Einlesen mit dem Zusatzprogramm "
    "oder lesen Sie die Kurse über das Internet oder die TV-Karte ein.");

// One log line per security with intraday prices, in `Firma` order: `FirmenName`,
// last price, change against the security's last daily price before that day
// (two decimals and "%"), time "hh:nn", volume; tab-separated. The log is saved
// as `installDir` + "Intraday.txt" (a failure to save is ignored). Fails NotFound
// with kNoSharedIntraday when the data directory holds no intraday table, or with
// the store's message.
Result<QStringList> Netzwerkladen(Store& store, const QString& installDir);

}  // namespace q
