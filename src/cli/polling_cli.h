// The subcommands of the Internet source and the intraday loop (listed by
// sourcesCommands() in sources_commands.cpp).
#pragma once

#include "cli/commands.h"

namespace q::cli {

Outcome runInternet(Context& c);
Outcome runPoll(Context& c);
Outcome runIntradayCommit(Context& c);

}  // namespace q::cli
