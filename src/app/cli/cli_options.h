// The options every quintara-cli subcommand shares:
//   quintara-cli [--home DIR] [--settings FILE] [--today DD.MM.YYYY] [--json]
//                [--yes] [--interactive] SUBCOMMAND [ARGS]
// The global options are also accepted after the subcommand.
#pragma once

#include "base/status.h"

#include <QDate>
#include <QStringList>

namespace q::cli {

struct Options {
    QString command;
    QStringList args;       // the subcommand's own arguments
    QString home;
    QString settings;
    QDate today;
    bool json = false;
    bool yes = false;          // every question is answered yes
    bool interactive = false;  // questions are asked on the terminal
    bool help = false;
};

// Parses the command line (without the program name). Fails Invalid with a German
// message for an unknown global option, a missing value or a bad date.
Result<Options> parseOptions(const QStringList& arguments);

}  // namespace q::cli
