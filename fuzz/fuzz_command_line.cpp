// Fuzz target: the command-line switches of the window program and quintara-cli's
// option parser. The input is split into arguments at NUL bytes. Neither may crash;
// what they accept must keep their promises.
#include "cli/cli_options.h"
#include "app/command_line.h"

#include <cstddef>
#include <cstdint>

namespace {

// A subcommand as the real ones declare theirs: an option with a value, a switch,
// and one to two positional arguments.
const q::cli::ArgSpec kSpec{{{"--shares", true}, {"--dry-run", false}, {"--home", true}}, 1, 2};

const q::cli::ArgSpec* lookup(const QString& command) { return command == QLatin1String("kauf") ? &kSpec : nullptr; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList arguments;
    for (const QByteArray& part : QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
        arguments << QString::fromUtf8(part);

    const q::CommandLine window = q::parseCommandLine(arguments);
    if (!window.exportDir.isEmpty() && !window.exportDir.endsWith(QLatin1Char('/'))) __builtin_trap();
    if (window.unattended && !window.delayedStart) __builtin_trap();
    (void)q::delayedJobName(q::delayedJob(window.reading, window.unattended));

    auto cli = q::cli::parseOptions(arguments, lookup);
    if (cli && cli->command == QLatin1String("kauf") && !cli->help) {
        const qsizetype n = cli->args.positional().size();
        if (n < kSpec.minPositional || n > kSpec.maxPositional) __builtin_trap();
        (void)cli->args.number(QStringLiteral("--shares"));
        (void)cli->args.integer(QStringLiteral("--shares"));
        (void)cli->args.date(QStringLiteral("--shares"));
    }
    if (!cli && cli.status().message().isEmpty()) __builtin_trap();
    return 0;
}
