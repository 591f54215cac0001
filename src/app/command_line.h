// The switches of the window program: which job a start runs unattended, the
// favourites and roll-over switches, and where the installation and the settings
// file are. Parsed without a window so that the rules can be tested headless.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace q {

// The job the delayed start runs, chosen by the reading and unattended flags.
enum class DelayedJob {
    InternetUpdate,   // reading and unattended ("/I")
    DdeReading,       // reading only ("/A"): live quotes, then minimise
    PriceTextExport,  // unattended only ("/E")
    TeletextReading,  // neither ("/V")
};

struct CommandLine {
    bool unattended = false;     // no questions; closing writes no settings
    bool reading = true;         // with `unattended`, picks the delayed-start job
    bool favouritesOff = false;  // "/F": all securities are listed
    bool delayedStart = false;   // a job switch was given: the 10-second timer runs
    QDate exportDate;            // "/E": the date, today when unparsable; else invalid
    QString exportDir;           // "/E": the directory ending with "/", or empty
    QString exportDateUnread;    // "/E": the argument when it is no date (today is taken), else empty
    bool rollover = false;       // "/N": intraday roll-over at start
    QString listEntry;           // "/I": the list selector entry to choose
    QString homeDir;             // --home DIR
    QString settingsPath;        // --settings FILE
    bool version = false;        // --version: print name and version, start nothing
    bool help = false;           // --help: print the switches, start nothing
};

// The switches as --help and the manual page list them: spellings, value
// placeholder (empty when none) and meaning.
struct SwitchHelp {
    const char* spellings;
    const char* value;
    const char* meaning;
};
const std::vector<SwitchHelp>& commandLineSwitches();
// The --help text: a usage line and one line per switch.
QString commandLineHelp();

// Examines the arguments (without the program name) one by one, compared in upper
// case: "/I" NAME, "/A" or "AUTO", "/F" or "FAVORITEN", "/V" or "VTEINLESEN", "/E" or
// "EXPORT" DATE [DIR], "/N" or "NEU"; the Linux spellings -I, --auto, --favoriten,
// --vteinlesen, --export, --neu mean the same; --home DIR and --settings FILE set
// the directories; --version and --help only print. The export switch ends the
// examination. Unknown arguments are
// passed over, as a switch a user mistyped must not keep the program from starting.
CommandLine parseCommandLine(const QStringList& arguments);

DelayedJob delayedJob(bool reading, bool unattended);
// The job's name as its menu entry calls it, for the status bar.
QString delayedJobName(DelayedJob job);

}  // namespace q
