// The state of one run of the program: what the main window owns for its whole
// life (directories, settings, open tables, flags), shared by the window and the
// command-line jobs. Used on one thread.
#pragma once

#include "app/backup.h"
#include "app/directories.h"
#include "settings/einstellungen.h"
#include "settings/settings_store.h"
#include "store/store.h"

#include <QDate>
#include <memory>
#include <optional>

namespace q {

class DataLock;

struct Session {
    Directories dirs;
    QString caption = QStringLiteral("Quintara");
    SettingsStore settings;  // the settings file
    Einstellungen values;    // the settings in effect
    Store store;
    QStringList watchNames;   // the four watch list names
    QStringList stations = {QStringLiteral("BSP"), QStringLiteral("N-TV"), QStringLiteral("ZDF"), QStringLiteral("Sender4")};

    bool unattended = false;  // no questions, no settings saved at close
    bool reading = true;      // with `unattended`, picks the delayed-start job
    QDate exportDate;         // argument of the export switch
    QString exportDir;        // its directory, ending with "/"
    int startCounter = 0;     // starts since the last automatic backup

    bool firstStart = false;     // no settings existed for this user
    bool newsAvailable = false;  // Nachrichten.db exists
    bool hasGlD = false;         // Aktien.db carries the stored moving average `GlD`
    std::optional<double> secondCurrencyFactor;
    QString portfolioReport;     // anlagen.rtf, or the text shown when there is none
    QStringList statusNotes;     // for the status bar (e.g. a setting of the wrong type)
    QStringList steps;           // what the start-up did, for `quintara-cli start`
    bool startupComplete = false;
    bool quitRequested = false;  // the start-up asks the program to end
    bool autoBackupRan = false;
    // The configured data directory when it was missing and the run works on
    // stand-in tables elsewhere (a network share not mounted); empty otherwise.
    QString dataDirMissing;
    // The table file the start-up found damaged; empty when none.
    QString damagedFile;
    // What a restore of this run put back (the start-up's recovery), for the report.
    std::optional<RestoreReport> restored;
    // The lock of the data directory, held from the start-up on (DataLock).
    std::shared_ptr<DataLock> dataLock;
};

}  // namespace q
