// The receiver scripts the page dialogs write: the daily script ("aktien.vts") that
// fetches the daily pages and exports them into the daily price file, and the
// intraday script ("dde.vts") that keeps fetching the intraday pages. Lines are
// fixed by the receiver's script language; files are Windows-1252 with CRLF.
#pragma once

#include "acquisition/page_config.h"
#include "acquisition/reading_settings.h"

#include <QTime>

namespace q {

struct DailyScriptOptions {
    QString station;             // the chosen station identifier; "MEHR": several stations
    bool alternative = false;    // "Alternative Senderkennung verwenden"
    QString alternativeId;       // the identifier the receiver shows in its page titles
    QString exportFile;          // `VTDatei`
    bool startAfter = false;     // "Nach Beendigung Quintara Starten und Kurse einlesen"
    QString programPath;         // this program, started with " /V" after the script
    bool receiverMultiChannel = false;  // the receiver's own multichannel option
};

// The daily script's lines. With the alternative identifier the page names of both
// the GET and the EXPORT lines carry it, so that the receiver exports what it fetched.
QStringList dailyScriptLines(const std::vector<PageEntry>& pages, const DailyScriptOptions& options);

// The intraday script's lines: the station (unless "MEHR"), the pages fetched over
// and over, and with `endReading` the end time and the end of the receiver.
QStringList intradayScriptLines(const std::vector<PageEntry>& pages, const QString& station, bool endReading, const QTime& end);

// True when the receiver's ini text sets "MultiChannel" in its section "vtplus".
bool receiverMultiChannel(const QString& iniText);

// Writes a script: the new file is complete before it replaces the old one. Fails
// Io with "Konnte Datei … nicht anlegen!".
Status writeScript(const QString& file, const QStringList& lines);

// Writes the daily script (`SCRIPT`) for the daily pages: export file `VTDatei`, the
// program for "EXEC" from the settings, the receiver's multichannel option from
// "VTPlus.ini" beside `VTPath`. `options` gives the station and the user's choices.
Status writeDailyScript(Store& store, const ReadingSettings& settings, DailyScriptOptions options);
// Writes the intraday script (`DDESCRIPT`) for the intraday pages of `station`.
Status writeIntradayScript(Store& store, const ReadingSettings& settings, const QString& station, bool endReading, const QTime& end);

}  // namespace q
