// The quintara-cli subcommands. Each runs the start-up on the data it is pointed at,
// does its job and reports German text lines and one JSON object.
#pragma once

#include "app/cli/cli_options.h"
#include "app/session.h"
#include "base/interaction.h"

#include <QJsonObject>

namespace q::cli {

struct Context {
    const Options& options;
    QString programDir;
    Session& session;
    Interaction& ui;
    Progress& progress;
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
};

const std::vector<Command>& commands();
const Command* findCommand(const QString& name);

}  // namespace q::cli
