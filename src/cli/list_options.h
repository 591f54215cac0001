// The list options the subcommands share: --list NAME (an entry of the selector,
// letter case ignored), --favourites, --branch NAME, --feature NAME, --filter TEXT.
#pragma once

#include "cli/commands.h"
#include "overview/list_selection.h"

namespace q::cli {

// The option specs of those five, to append to a subcommand's ArgSpec.
std::vector<OptionSpec> listOptionSpecs();

// The command's accepted options with those five added.
ArgSpec withListOptions(ArgSpec accepted);

// The selection the options name; without --list the first entry (all groups).
// "akt.Depotwerte" lists the securities held today. Fails NotFound naming the
// entries for an unknown list, branch or feature, Invalid for a bad filter text.
Result<ListSelection> listSelectionOf(Context& c);

// Adds the line on the characters a Windows-1252 text file got as "?" (none: no
// line) and "unmappable" to the JSON.
void reportUnmappable(int count, Outcome& out);

// The securities of that selection.
Result<std::vector<SecurityRecord>> listedSecurities(Context& c);

}  // namespace q::cli
