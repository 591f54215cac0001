#include "app/chart_sources.h"

#include "app/analysis_binding.h"
#include "app/portfolio_binding.h"
#include "base/formats.h"
#include "app/intraday_values.h"
#include "portfolio/currency.h"

#include <QSet>

namespace q {

Result<PriceChartData> priceChartOf(Session& session, const SecurityAnalysis& a, const QDate& today) {
    const Einstellungen& v = session.values;
    PriceChartOptions o;
    o.rightAxisPercent = v.truth(QStringLiteral("RechteAchse"));
    const FillResult& f = a.fill;
    if (analysisSettings(v).fill.Candle_Tage == 1 && f.firstDisplayed < f.count()) {
        auto candles = intradayDayCandles(session.store, session.dirs.intraday, f.security.Firma,
                                          std::span<const int>(f.days).subspan(size_t(f.firstDisplayed)), today);
        if (!candles) return candles.status();
        o.intradayCandles = std::move(*candles);
    }
    if (!f.security.Waehrung.trimmed().isEmpty()) {
        auto converter = CurrencyConverter::load(session.store, portfolioSettings(session));
        if (!converter) return converter.status();
        auto factors = currencyFactors(f, *converter);
        if (!factors) return factors.status();
        o.currencyFactors = std::move(*factors);
    }
    return priceChartData(a, o);
}

Result<PriceChartData> loadPriceChart(Session& session, int firma, const QDate& today) {
    auto analysed = analyseStored(session.store, firma, analysisSettings(session.values), today, false);
    if (!analysed) return analysed.status();
    return priceChartOf(session, *analysed, today);
}

Result<ComparisonChart> loadComparison(Session& session, const std::optional<QStringList>& names, const std::optional<QDate>& start) {
    const Einstellungen& v = session.values;
    QStringList boxes;
    for (int i = 1; i <= 5; ++i) boxes << v.text(QStringLiteral("Vergleich%1").arg(i));
    const QDate from = start ? *start : v.has(QStringLiteral("Datum")) ? dateFromDayNumber(v.dateTime(QStringLiteral("Datum")))
                                                                     : QDate(1900, 1, 1);
    return readComparison(session.store, names ? *names : boxes, from, v.truth(QStringLiteral("Depotvergleich")));
}

Result<IntradayDay> loadIntradayDay(Session& session, int firma, const QDate& day, const QDate& today) {
    return readIntradayDay(session.store, session.dirs.intraday, firma, day, today);
}

Result<QStringList> intradayNames(Session& session) {
    Store& store = session.store;
    if (!store.exists(QStringLiteral("Intraday.db")))
        return Status::notFound(QStringLiteral("Legen Sie erst die Intraday Datei mit Quintara an"));
    auto intraday = store.table(QStringLiteral("Intraday.db"));
    if (!intraday) return intraday.status();
    QSet<int> withPrices;
    Q_TRY((*intraday)->forEach(Query(), [&](const Record& r) {
        withPrices.insert(r.value(QStringLiteral("Firma")).toInt());
        return true;
    }));
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    QStringList names;
    Q_TRY((*firma)->forEach(Query(), [&](const Record& r) {
        if (withPrices.contains(r.value(QStringLiteral("Firma")).toInt())) names << r.value(QStringLiteral("FirmenName")).toString();
        return true;
    }));
    return names;
}

Result<std::vector<IntradayTick>> intradayOfName(Session& session, const QString& name) {
    std::vector<IntradayTick> ticks;
    auto firma = session.store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto found = securityNamed(**firma, name);
    if (!found) return found.status();
    if (!*found) return ticks;
    auto values = intradayValues(session.store, **found);
    if (!values) return values.status();
    for (const IntradayValue& v : *values) ticks.push_back({v.ZEIT, v.Kurs});
    return ticks;
}

}  // namespace q
