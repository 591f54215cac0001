#include "cli/list_options.h"

#include "base/clock.h"
#include "overview/classifications.h"
#include "overview/filter_expression.h"

namespace q::cli {

std::vector<OptionSpec> listOptionSpecs() {
    return {{"--list", true}, {"--favourites", false}, {"--branch", true}, {"--feature", true}, {"--filter", true}};
}

ArgSpec withListOptions(ArgSpec accepted) {
    for (const OptionSpec& o : listOptionSpecs()) accepted.options.push_back(o);
    return accepted;
}

Result<ListSelection> listSelectionOf(Context& c) {
    Store& store = c.session.store;
    ListSelection s;
    if (c.args.has(QStringLiteral("--list"))) {
        auto choice = findListChoice(store, c.session.watchNames, c.args.value(QStringLiteral("--list")));
        if (!choice) return choice.status();
        s.list = *choice;
    }
    s.favouritesOnly = c.args.has(QStringLiteral("--favourites"));
    if (c.args.has(QStringLiteral("--branch"))) {
        auto n = classificationNumber(store, Classification::Branchen, c.args.value(QStringLiteral("--branch")));
        if (!n) return n.status();
        s.branche = *n;
    }
    if (c.args.has(QStringLiteral("--feature"))) {
        auto n = classificationNumber(store, Classification::Merkmale, c.args.value(QStringLiteral("--feature")));
        if (!n) return n.status();
        s.merkmal = *n;
    }
    s.filter = c.args.value(QStringLiteral("--filter"));
    s.reportDate = today();
    return s;
}

void reportUnmappable(int count, Outcome& out) {
    if (count > 0) out.lines << QStringLiteral("%1 Zeichen ohne Windows-1252-Entsprechung als \"?\" geschrieben").arg(count);
    out.json[QStringLiteral("unmappable")] = count;
}

Result<std::vector<SecurityRecord>> listedSecurities(Context& c) {
    auto s = listSelectionOf(c);
    if (!s) return s.status();
    return resolveList(c.session.store, *s);
}

}  // namespace q::cli
