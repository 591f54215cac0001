// The text layouts of the history import: the comma-separated web export (header
// "Date,Open,High,…" or "Datum;Er&ouml;ffnungskurs;…") and the text file with quoted
// date, price and volume, and the dates such files write.
#pragma once

#include "exchange/history_import.h"

namespace q {

// A date of a history file: "dd.mm.yyyy" (and the short forms parseDate() reads),
// "yyyy-mm-dd", or a month name between two "-" ("12-Jan-2000", "13-Januar-2000",
// "05-März-2004"; the German names and the English short names, whatever the
// system's language). nullopt for anything else.
std::optional<QDate> historyDate(const QString& text);

// True when the first line marks a web export ("Er&ouml;ffnungskurs" or "Open,High").
bool isWebExportHeader(const QString& firstLine);

// The rows of a web export or text file given as lines. A web export's header
// fields (entities "&ouml;" and "&szlig;" replaced) preset the columns: date
// "Date"/"Datum", price "Close"/"Schluss…"/"Kurs", volume "Volume"/"Volumen"; name
// "Name"/"Bezeichnung"/"Wertpapier", "WKN", "ISIN", ticker "Ticker"/"Symbol".
HistoryRead readHistoryLines(const QStringList& lines, HistoryFormat format, const HistoryOptions& options);

// The copy of a web export as "<file>.bak": lines trimmed, the header's entities
// replaced, Windows-1252 with CRLF. Fails Io naming the file.
Status writeWebExportBackup(const QString& file, const QStringList& lines);

}  // namespace q
