// What the charts read for a run: the price chart of a security with the settings in
// effect (its intraday candles, its second currency line), the comparison chart and
// one day's intraday prices. The window and `quintara-cli chart` both start here.
#pragma once

#include "app/session.h"
#include "overview/comparison.h"
#include "overview/intraday_day.h"
#include "overview/price_chart_data.h"

namespace q {

// The price chart of an analysed security (a fill outside batch mode): candles from
// the intraday files when `Candle_Tage` is 1, the second currency line, the right
// axis as `RechteAchse` says. Fails with the store's message.
Result<PriceChartData> priceChartOf(Session& session, const SecurityAnalysis& analysis, const QDate& today);

// The fill pass and indicator lines of `firma` (nothing written), then priceChartOf().
Result<PriceChartData> loadPriceChart(Session& session, int firma, const QDate& today);

// The comparison of the names `Vergleich1` … `Vergleich5` since `Datum`, with the
// depot line when `Depotvergleich` is set; `names` and `start` replace the settings
// when given.
Result<ComparisonChart> loadComparison(Session& session, const std::optional<QStringList>& names = std::nullopt,
                                       const std::optional<QDate>& start = std::nullopt);

// The intraday prices of `firma` on `day`.
Result<IntradayDay> loadIntradayDay(Session& session, int firma, const QDate& day, const QDate& today);

// `ComboFuellen`: the names of the securities with prices in Intraday.db, in the
// order of the securities master. Fails NotFound "Legen Sie erst die Intraday Datei
// mit Quintara an" without Intraday.db, or with the store's message.
Result<QStringList> intradayNames(Session& session);

// `IntradayDiagramm`: every price of the security named `name` in Intraday.db, in time
// order; none when the name is not in the master. Fails with the store's message.
Result<std::vector<IntradayTick>> intradayOfName(Session& session, const QString& name);

}  // namespace q
