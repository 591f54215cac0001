// The reading settings of a run, taken from the settings in effect, and the few
// reading settings that commands set at once.
#pragma once

#include "acquisition/internet_settings.h"
#include "acquisition/reading_settings.h"
#include "app/session.h"

namespace q {

// The settings the reading routes use. `programPath`: the window program, named in
// the daily script's "EXEC" line.
ReadingSettings readingSettings(const Session& session, const QString& programPath = QString());

// The subkey of the Internet source's settings.
inline const QString kInternetKey = QStringLiteral("SOFTWARE\\Morvane\\Quintara\\Internet");

// The Internet source's settings from the subkey `Internet` of the settings file;
// an absent or unreadable value keeps its default, a value out of range is brought
// into it (time limit 1 to 120 s, cap 1 KiB to 64 MiB, 1 to 16 requests).
InternetSettings internetSettings(const Session& session);

// Sets the DVB stream, its reading time and PID in effect and in the settings file,
// and saves the file. Fails Io naming the file.
Status storeDvbSource(Session& session, const QString& source, int seconds, int pid);

// Sets the value in effect and in the settings file, and saves the file. Fails Io
// naming the file.
Status storeSetting(Session& session, const QString& name, const SettingValue& value);

// storeSetting() of the daily price file `VTDatei`.
Status storeDailyFile(Session& session, const QString& file);

// Sets the station identifiers of slots 1 to 3 (`Sender1` … `Sender3`) in effect, in
// the session's slots and in the settings file, and saves the file; an empty text
// keeps the slot's identifier. Fails Io naming the file.
Status storeStations(Session& session, const QStringList& identifiers);

}  // namespace q
