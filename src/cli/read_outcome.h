// The outcome of a reading run as the subcommands print it: the counts, the
// protocol lines and notes as German lines, the same in JSON, and the run's status.
#pragma once

#include "acquisition/read_report.h"
#include "acquisition/reading_settings.h"
#include "cli/commands.h"

namespace q::cli {

void describeReadReport(const ReadReport& report, Outcome& out);

// The reading settings in effect for a job of `c`.
ReadingSettings readingSettingsOf(Context& c);

}  // namespace q::cli
