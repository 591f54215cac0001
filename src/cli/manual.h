// The manual pages quintara-cli(1) and quintara(1) and the bash completion of
// quintara-cli, written from the tables the --help texts are printed from (the
// subcommands with their options, the global options, the window's switches), so
// that they never tell another story. The build writes them with --write-docs.
#pragma once

#include "base/status.h"

#include <QString>

namespace q::cli {

// quintara-cli(1) in man(7) markup, UTF-8.
QString cliManualPage();
// quintara(1): the window program's switches.
QString windowManualPage();
// A bash completion script for quintara-cli: subcommands, their options and the
// global options; directories after --home, files after --settings.
QString bashCompletion();

// Writes quintara-cli.1, quintara.1 and quintara-cli.bash into `dir` (made when
// missing). Fails Io naming the file.
[[nodiscard]] Status writeDocs(const QString& dir);

}  // namespace q::cli
