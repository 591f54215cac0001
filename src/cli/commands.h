// The quintara-cli subcommands. Each runs the start-up on the data it is pointed at,
// does its job and reports German text lines and one JSON object. Each subsystem
// lists its own subcommands in a file of its own (app_commands.cpp, …); commands()
// joins those lists.
#pragma once

#include "cli/cli_options.h"
#include "app/session.h"
#include "base/interaction.h"
#include "store/data_lock.h"
#include "exchange/history_import.h"

#include <QJsonArray>
#include <QJsonObject>

namespace q::cli {

struct Context {
    const Options& options;
    const Args& args;  // the subcommand's own arguments
    QString programDir;
    Session& session;
    Interaction& ui;
    Progress& progress;
    const struct Command* command = nullptr;  // the subcommand being run
};

struct Outcome {
    Status status;
    QStringList lines;  // printed on stdout as German text
    QJsonObject json;   // printed instead with --json
};

struct Command {
    const char* name;
    const char* summary;
    const char* usage;  // the --help text after the summary
    Outcome (*run)(Context&);
    ArgSpec accepts = {};  // the subcommand's own options and positional arguments
    bool depot = false;    // works on the depot's lots: a protected depot needs its password
};

// Every subcommand, in the order of the help text.
const std::vector<Command>& commands();
const Command* findCommand(const QString& name);
const ArgSpec* findArgSpec(const QString& name);

// The lists of the subsystems, joined by commands().
std::vector<Command> appCommands();
std::vector<Command> exchangeCommands();
std::vector<Command> exchangeExportCommands();
std::vector<Command> acquisitionCommands();
std::vector<Command> portfolioCommands();
std::vector<Command> sourcesCommands();
std::vector<Command> analysisCommands();
std::vector<Command> chartCommands();
std::vector<Command> listCommands();
std::vector<Command> moversCommands();
std::vector<Command> newsCommands();
std::vector<Command> serverCommands();

// Helpers every subcommand uses.
// How a job starts.
struct JobStart {
    bool unattended = true;    // nothing is saved at close
    bool countStart = true;    // counts towards the automatic backup (StartOptions)
    bool offerRestore = true;  // a damaged table offers the restore (StartOptions)
    LockMode lock = LockMode::Shared;  // of the data directory (StartOptions)
};

// Runs the start-up for a job and describes the session in `out` (with the restore
// the start-up made, if any); false (with out.status set) when the start-up did
// not complete. `unattended`: nothing is saved at close.
bool startForJob(Context& c, Outcome& out, bool unattended);
bool startForJob(Context& c, Outcome& out, const JobStart& how);
// Adds what a restore put back to `out`: a line per table and "restored" in the JSON.
void reportRestore(const RestoreReport& report, Outcome& out);
// How long a job waits for a lock (DataLock): QUINTARA_LOCK_WAIT seconds when set
// (0: not at all, for scripts that would rather retry later), else kDataLockWaitMs.
int lockWaitMs();
// Tells on stderr at once that the job waits for a lock.
void sayWaiting(const QString& message);
// The password in the first line of `file` (--password-file); nullopt for no file.
// Fails NotFound or Io naming the file.
Result<std::optional<QString>> passwordOfFile(const QString& file);

// `--columns D,K,V`: the columns (counted from 1) of date, price and, when given,
// volume of an imported table; nullopt without the option. `example` shows the form
// in the message of a wrong value.
Result<std::optional<HistoryColumns>> historyColumnsOf(const Context& c, const QString& example);
// Ends the outcome with a failed status.
Outcome failed(Status status);
QJsonArray toJson(const QStringList& list);

}  // namespace q::cli
