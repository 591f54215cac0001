#include "cli/commands.h"

namespace q::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> list = [] {
        std::vector<Command> all;
        for (auto part : {appCommands, acquisitionCommands, sourcesCommands, portfolioCommands, listCommands, analysisCommands,
                          moversCommands, chartCommands, exchangeCommands, exchangeExportCommands, newsCommands, serverCommands}) {
            std::vector<Command> more = part();
            all.insert(all.end(), more.begin(), more.end());
        }
        return all;
    }();
    return list;
}

const Command* findCommand(const QString& name) {
    for (const Command& c : commands())
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

const ArgSpec* findArgSpec(const QString& name) {
    const Command* c = findCommand(name);
    return c ? &c->accepts : nullptr;
}

Result<std::optional<HistoryColumns>> historyColumnsOf(const Context& c, const QString& example) {
    if (!c.args.has(QStringLiteral("--columns"))) return std::optional<HistoryColumns>();
    const QStringList parts = c.args.value(QStringLiteral("--columns")).split(QLatin1Char(','));
    std::vector<int> n;
    for (const QString& p : parts) {
        bool ok = false;
        const int v = p.trimmed().toInt(&ok);
        if (!ok || v < 1) break;
        n.push_back(v - 1);
    }
    if (n.size() != size_t(parts.size()) || n.size() < 2 || n.size() > 3)
        return Status::invalid(
            QStringLiteral("--columns erwartet die Spalten von Datum, Kurs und Volumen (ab 1), z. B. %1").arg(example));
    return std::optional<HistoryColumns>(HistoryColumns{n[0], n[1], n.size() == 3 ? n[2] : -1});
}

}  // namespace q::cli
