// The names of the four watch lists: settings `Watch1` … `Watch4`, overridden by the
// file WNamen.ini in the data directory, which closing writes.
#pragma once

#include "settings/einstellungen.h"
#include "base/status.h"

#include <QString>
#include <QStringList>

namespace q {

inline constexpr int kWatchListCount = 4;

// The four names in effect: `Watch1` … `Watch4` (defaults "1.Beobachtungsliste" …
// "4.Beobachtungsliste"), each replaced by the matching line of WNamen.ini when the
// data directory holds it (any letter case; Windows-1252 or UTF-8, any line ends).
// A missing line (a short file) keeps the setting; an empty line gives an empty
// name, which hides that list. An unreadable file is ignored.
QStringList watchListNames(const Einstellungen& values, const QString& dataDir);

// Writes the names, one per line, to WNamen.ini in the data directory (an existing
// file keeps its spelling), Windows-1252 with CRLF, atomically. Fails with Io naming
// the file. Requires: names holds kWatchListCount entries.
Status writeWatchListNames(const QString& dataDir, const QStringList& names);

struct Session;
// The watch list names dialog confirmed: name k (1 … 4) becomes `name` (empty
// hides the list, its table stays) in the session, in setting `Watch`k and in
// WNamen.ini. Fails Invalid for k outside 1 … 4, Io naming the file.
Status storeWatchListName(Session& session, int k, const QString& name);

}  // namespace q
