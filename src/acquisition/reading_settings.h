// The settings a reading run works with, taken from the settings in effect when the
// run starts (the start-up's reader fills them, see app/acquisition_binding.h).
// Directories end with "/".
#pragma once

#include <QString>
#include <QStringList>

namespace q {

struct ReadingSettings {
    // Files and directories.
    QString vtDatei;          // `VTDatei`: the daily price file
    QString script;           // `SCRIPT`: the daily receiver script
    QString ddeScript;        // `DDESCRIPT`: the intraday receiver script
    QString vtPath;           // `VTPath`
    QString multiDecPath;     // `MultiDecPath`: the receiver program (its folder holds page files)
    QString winTvAufruf;      // `WinTVAufruf`
    bool winTvAktiv = false;  // `WinTVAktiv`
    QString workDir;          // `TempPath`: the protocol files
    QString installDir;       // the installation directory (page tables, Intraday.txt)
    QString filterPath;       // `FilterPath`: the mask files
    QString nachrichtenPath;  // `NachrichtenPath`: the news item files
    QString programPath;      // the window program, for the "EXEC" line of the daily script

    // How page texts are obtained.
    bool multiDec = false;   // `MultiDec`: a receiver program, pages separated by ";"
    bool multiDec2 = false;  // `MultiDec2`: daily prices page by page
    bool viaDde = false;     // `VIADDE`: pages from a command (the DDE server's place)
    QString ddeServer;       // `DDESERVER`: that command
    QString ddeTopic;        // `DDETopic`: its page template
    QString ddeItem;         // `DDEItem`
    QString dvbQuelle;       // `DVBQuelle`: transport stream file or device; empty: none
    int dvbSekunden = 60;    // `DVBSekunden`: how long a live stream is read
    int dvbPid = 0;          // `DVBPID`: the teletext PID; 0: found in the stream

    // Stations.
    QString ddeSender = QStringLiteral("N-TV");  // `DDESender`: identifier of the intraday station
    QString kursSender = QStringLiteral("ZDF");  // `KursSender`: fixed name of the daily station
    QStringList stations = {QStringLiteral("BSP"), QStringLiteral("N-TV"), QStringLiteral("ZDF"), QStringLiteral("Sender4")};
    bool ddeEnde = false;                        // `DDEENDE`
    QString ddeTime = QStringLiteral("22:32");   // `DDETIME`

    // Booking.
    double minusProzent = -45.0;  // `MinusProzent`
    double plusProzent = 50.0;    // `PlusProzent`
    bool alle = false;            // `Alle`: unmatched names become new securities
    bool bestaetigen = true;      // `bestaetigen`: each new security is shown in the editor
    bool startKursEintragen = true;  // `StartKursEintragen`
    bool autoSplit = false;       // `AutoSplit`
    QString waehrungsSymbol = QStringLiteral("EUR");  // `WaehrungsSymbol`
};

}  // namespace q
