// Start-up and closing of a run, without a window: directories, settings, the
// creation of missing tables, the conversion of tables of earlier releases, the
// index check, the structure upgrades, the settings
// in effect, the automatic backup; and at the end the report clean-up and the
// settings written in their fixed order.
#pragma once

#include "app/session.h"
#include "base/interaction.h"
#include "store/data_lock.h"

namespace q {

struct StartOptions {
    QString programDir;    // directory of the running program
    QString homeDir;       // when set: the installation directory (quintara-cli --home)
    QString settingsPath;  // when set: the settings file (--settings); else the user's
    // When set: the PostgreSQL server holding the tables for this run (--database);
    // else the setting `Datenbank`, and with that empty the table files.
    QString database = {};
    // The run counts as a start for the automatic backup and may make it. The jobs
    // that save, restore or check the tables do not: an automatic backup before a
    // restore would replace the very copies the restore needs.
    bool countStart = true;
    // A damaged table offers the restore from the backup. The restore job does the
    // restoring itself, once.
    bool offerRestore = true;
    // The lock of the data directory the run takes before its first table opens:
    // shared for jobs that write rows, exclusive for those that replace tables.
    LockMode lock = LockMode::Shared;
    int lockWaitMs = kDataLockWaitMs;
    // Told once when the run has to wait for the lock; unset: the question
    // interface's status line.
    DataLock::Waiting waiting = {};
};

// Runs the start-up on `session`. Returns OK when the start-up completed
// (`session.startupComplete`). Otherwise the failure that ended it early: the
// messages the user was shown went through `ui`; the session keeps what was set up
// so far. A refused structure upgrade or a failed index repair sets
// `session.quitRequested` (the program ends). A failure in the tables is told and
// handled once (recoverTable), followed by a second run of the creation. Each table
// file gets the cheap check (its cost does not grow with the rows); the securities
// master and every table the automatic backup copies get the whole-file check.
// A configured data directory that is missing is said in the status notes, never
// replaced in the settings, and its stand-in tables are never backed up.
// The run takes the data directory's lock (`options.lock`) before the first table
// opens, and fails Busy when another job keeps it past `lockWaitMs`; a run with the
// shared lock that fails gives it up. A restore journal left in the data directory
// is finished first (finishRestore()), under the exclusive lock.
Status startUp(Session& session, const StartOptions& options, Interaction& ui, Progress& progress);

// What the run allows the backup: the generations to keep (`SicherGenerationen`)
// and, while the run works on stand-in tables, the refusal.
BackupPolicy backupPolicy(const Session& session);

// The closing steps (nothing in unattended mode): deletes the report files, writes
// the settings in their closing order, the watch list names to `WNamen.ini`, and
// saves the settings file. Fails Io naming the file that could not be written.
Status closeDown(Session& session);

// Start counter and automatic backup: counts this start and says whether the
// automatic backup is due. `counter` is the stored `Speichern`; returns the value to
// store (0 when the backup is due).
struct BackupCount {
    int stored;
    bool due;
};
BackupCount countStart(int counter, bool autoBackup, int interval);

}  // namespace q
