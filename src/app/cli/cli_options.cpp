#include "app/cli/cli_options.h"

#include "base/formats.h"

namespace q::cli {

Result<Options> parseOptions(const QStringList& arguments) {
    Options o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto next = [&](const char* name) -> Result<QString> {
            if (i + 1 >= arguments.size())
                return Status::invalid(QStringLiteral("Die Option %1 braucht einen Wert").arg(QString::fromLatin1(name)));
            return arguments[++i];
        };
        if (a == QLatin1String("--home")) {
            auto v = next("--home");
            if (!v) return v.status();
            o.home = *v;
        } else if (a == QLatin1String("--settings")) {
            auto v = next("--settings");
            if (!v) return v.status();
            o.settings = *v;
        } else if (a == QLatin1String("--today")) {
            auto v = next("--today");
            if (!v) return v.status();
            auto d = parseDate(*v);
            if (!d) return Status::invalid(QStringLiteral("Ungültiges Datum für --today: %1 (erwartet TT.MM.JJJJ)").arg(*v));
            o.today = *d;
        } else if (a == QLatin1String("--json")) {
            o.json = true;
        } else if (a == QLatin1String("--yes")) {
            o.yes = true;
        } else if (a == QLatin1String("--interactive")) {
            o.interactive = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (o.command.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            o.command = a;
        } else {
            o.args << a;
        }
    }
    return o;
}

}  // namespace q::cli
