// The daily route: the daily price file (`VTDatei`) that the receiver script
// writes, one quote per line, booked into Aktien.db and Volumen.db.
//
// Design notes. The current quote date starts as today; a date line, or a quote's
// third field, moves it for that quote and all later lines. Each quote is matched
// on the daily station's column; unmatched names are listed (or taken up with
// `Alle`); a price for a day that has one replaces it; otherwise the change
// against the last price decides between booking and the implausible list.
// Invariants: (1) the file is deleted only when every line was read, so a run that
// failed or was stopped can be repeated with the same file (a repeated quote only
// replaces the same day's price); (2) the protocol files are written whenever a
// list holds a line, also after a stop.
#pragma once

#include "acquisition/quote_book.h"
#include "acquisition/read_report.h"
#include "acquisition/reading_settings.h"
#include "base/interaction.h"

namespace q {

// Books the daily price file `file` with the settings' rules (`KursSender`,
// `Alle`, `bestaetigen`, `AutoSplit`, bounds, home currency), writes the protocol
// files into the work directory and deletes the file when every line was read.
// Fails (in the report's status) with the store's message, NotFound or Io when the
// file cannot be read, and Cancelled when progress asked to stop.
ReadReport bookDailyFile(Store& store, const QString& file, const ReadingSettings& settings, ReadingHooks& hooks, Progress& progress);

// Starts what writes the daily price file (the receiver script's place): a capture
// from the DVB stream `DVBQuelle`. Fails Invalid "Programm existiert nicht …" when
// no stream is set, and with the capture's messages.
Status startDailyScript(Store& store, const ReadingSettings& settings, Progress& progress);

// "&VideoText einlesen" on the daily price file: the file named by `VTDatei` (asked
// for when the setting is empty); when it does not exist, the offer to start the
// receiver script, then to choose another file; then bookDailyFile(). Fails
// Cancelled "Die Datei … existiert nicht" when no file was found.
ReadReport VTeinlesen(Store& store, const ReadingSettings& settings, Interaction& ui, ReadingHooks& hooks, Progress& progress);

}  // namespace q
