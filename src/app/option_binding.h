// The reading and backup options the options dialog edits beside the analysis
// values: which settings they are, and how a confirmed dialog puts them into effect.
#pragma once

#include "app/session.h"

namespace q {

// The names of the reading options (written to the settings file as soon as the
// dialog is confirmed, as the receiver routes read them from there) and of the
// backup options (directories, interval, copies kept; written when the window
// closes, as every value of the running program).
const QStringList& readingOptionNames();
const QStringList& backupOptionNames();

// Takes the reading and backup options of `edited` into the settings in effect.
// The reading options are also written to the settings file at once; the backup and
// intraday directories are created and used from now on, the work directory from the
// next start (its tables are open). Fails Io naming the settings file or the
// directory that cannot be created; the values are in effect even then.
Status applyOptionSettings(Session& session, const Einstellungen& edited);

}  // namespace q
