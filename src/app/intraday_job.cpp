#include "app/intraday_job.h"

#include "overview/list_selection.h"
#include "base/clock.h"

#include "acquisition/internet_source.h"
#include "acquisition/network_source.h"
#include "acquisition/page_config.h"
#include "acquisition/page_route.h"
#include "acquisition/page_sources.h"
#include "app/acquisition_binding.h"
#include "app/intraday_rollover.h"
#include "base/formats.h"

#include <QCoreApplication>

namespace q {

Result<bool> archiveStaleIntraday(Session& session, const QDate& today) {
    Store& store = session.store;
    if (!store.exists(QStringLiteral("Intraday.db"))) return false;
    auto intraday = store.table(QStringLiteral("Intraday.db"));
    if (!intraday) return intraday.status();
    double newest = -1;
    Q_TRY((*intraday)->forEach(Query(), [&](const Record& r) {
        newest = std::max(newest, r.value(QStringLiteral("ZEIT")).toDouble());
        return true;
    }));
    if (newest < 0 || dateTimeFromNumber(newest).date() >= today) return false;
    auto rolled = intradayRollover(session.dirs, store);
    if (!rolled) return rolled.status();
    return true;
}

ReadReport pollFetch(Session& session, PollSource source, bool dailyPrices, const PollOptions& options, Interaction& ui,
                     ReadingHooks& hooks, Progress& progress) {
    ReadingSettings s = readingSettings(session, QCoreApplication::applicationDirPath() + QStringLiteral("/quintara"));
    if (session.unattended) s.bestaetigen = false;
    ReadReport report;
    switch (source) {
    case PollSource::Teletext: {
        report.source = kIntradayPages;
        auto pages = readPages(session.store, kIntradayPages);
        QStringList names;
        if (pages)
            for (const PageEntry& p : *pages) names << p.Seitename;
        auto pageSource = openPageSource(s, options.stream, names, ui, progress);
        if (!pageSource) {
            report.status = pageSource.status();
            return report;
        }
        return Kurseladen(session.store, s, **pageSource, PageRunOptions{kIntradayPages, dailyPrices, options.takeUpNew, options.correction}, ui, hooks,
                          progress);
    }
    case PollSource::Internet: {
        report.source = QStringLiteral("Internet");
        // The list is an entry of the selector (a group, a watch list, "akt.Depotwerte").
        std::vector<int> firmen;
        if (!options.list.trimmed().isEmpty()) {
            auto choice = findListChoice(session.store, session.watchNames, options.list);
            if (!choice) {
                report.status = choice.status();
                return report;
            }
            ListSelection selection;
            selection.list = *choice;
            selection.favouritesOnly = options.favourites;
            selection.reportDate = today();
            auto numbers = resolveListNumbers(session.store, selection);
            if (!numbers || numbers->empty()) {
                report.status = numbers ? Status::notFound(QStringLiteral("Die Liste \"%1\" enthält keine Wertpapiere").arg(options.list))
                                        : numbers.status();
                return report;
            }
            firmen = *numbers;
        }
        auto securities = internetSecurities(session.store, firmen, QString(), options.favourites);
        if (!securities) {
            report.status = securities.status();
            return report;
        }
        return internetRun(session.store, *securities, s, internetSettings(session), InternetRunOptions{true, false}, hooks, progress).read;
    }
    case PollSource::Network: {
        report.source = QStringLiteral("intraday.db");
        auto log = Netzwerkladen(session.store, s.installDir);
        if (!log) report.status = log.status();
        else report.log = *log;
        return report;
    }
    }
    return report;
}

PollSource storedPollSource(const Session& session) {
    switch (session.values.integer(QStringLiteral("IntradayQuelle"))) {
    case 1: return PollSource::Internet;
    case 2: return PollSource::Network;
    default: return PollSource::Teletext;
    }
}

Status storePollSource(Session& session, PollSource source) {
    const int n = source == PollSource::Internet ? 1 : source == PollSource::Network ? 2 : 0;
    return storeSetting(session, QStringLiteral("IntradayQuelle"), SettingValue::integer(n));
}

std::optional<PollSource> pollSourceNamed(const QString& name) {
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("teletext")) return PollSource::Teletext;
    if (n == QLatin1String("internet")) return PollSource::Internet;
    if (n == QLatin1String("network")) return PollSource::Network;
    return std::nullopt;
}

}  // namespace q
