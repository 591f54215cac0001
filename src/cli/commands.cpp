#include "cli/commands.h"

namespace q::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> list = [] {
        std::vector<Command> all;
        for (auto part : {appCommands, acquisitionCommands, sourcesCommands, portfolioCommands, listCommands, analysisCommands,
                          moversCommands, chartCommands, exchangeCommands, exchangeExportCommands, newsCommands}) {
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

}  // namespace q::cli
