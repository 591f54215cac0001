#include "charts/chart_render.h"

#include "app/chart_sources.h"
#include "base/formats.h"
#include "charts/chart_export.h"
#include "charts/comparison_chart.h"
#include "charts/intraday_chart.h"
#include "charts/price_chart.h"

#include <QApplication>

namespace q::charts {

namespace {

// The design with the stored chart settings over it.
ChartAppearance storedLook(const Session& session, ChartAppearance design) {
    readChartAppearance(session.settings, design);
    return design;
}

// A chart of the request's size in `look`, filled by `fill`, saved to the request's file.
template <typename Chart, typename Fill>
Status drawAndSave(const ChartAppearance& look, const ChartRequest& r, Fill fill) {
    Chart chart;
    chart.resize(r.width, r.height);
    chart.setAppearance(look);
    fill(chart);
    return saveChart(chart, r.out, r.width, r.height);
}

Result<ChartRendered> renderPrice(Session& session, const ChartRequest& r, const QDate& today) {
    auto data = loadPriceChart(session, r.firma, today);
    if (!data) return data.status();
    ChartAppearance look = storedLook(session, priceChartDesign());
    if (r.type != ChartType::Stored)
        setPriceDrawing(look, r.type == ChartType::Candle  ? PriceDrawing::Candles
                              : r.type == ChartType::Renko ? PriceDrawing::Renko
                                                           : PriceDrawing::Line);
    Q_TRY(drawAndSave<PriceChart>(look, r, [&](PriceChart& chart) {
        chart.show(*data);
        chart.setLegendShown(session.values.truth(QStringLiteral("LegendVisible")));
        if (!r.from.isValid() && !r.to.isValid()) return;
        const auto& price = data->line(series::Kurs);
        const double from = r.from.isValid() ? dayNumber(r.from) : price.empty() ? 0 : price.front().x;
        const double to = r.to.isValid() ? dayNumber(r.to) : price.empty() ? 0 : price.back().x;
        chart.zoomToDays(from, to);
    }));
    return ChartRendered{data->title, int(data->line(series::Kurs).size()), data->notices};
}

Result<ChartRendered> renderComparison(Session& session, const ChartRequest& r) {
    auto data = loadComparison(session, r.compare.isEmpty() ? std::nullopt : std::optional<QStringList>(r.compare),
                                r.from.isValid() ? std::optional<QDate>(r.from) : std::nullopt);
    if (!data) return data.status();
    Q_TRY(drawAndSave<ComparisonPlot>(storedLook(session, comparisonChartDesign()), r,
                                      [&](ComparisonPlot& chart) { chart.show(*data); }));
    ChartRendered done{QStringLiteral("Vergleich"), 0, data->notices};
    for (const ComparisonLine& l : data->lines) done.points += int(l.points.size());
    return done;
}

Result<ChartRendered> renderIntraday(Session& session, const ChartRequest& r, const QDate& today) {
    const QDate day = r.day.isValid() ? r.day : today;
    auto data = loadIntradayDay(session, r.firma, day, today);
    if (!data) return data.status();
    if (data->ticks.empty()) return Status::invalid(QStringLiteral("Keine Intraday-Kurse am %1").arg(formatDate(day)));
    auto name = readSecurity(session.store, r.firma);
    if (!name) return name.status();
    const int minutes = session.values.has(QStringLiteral("Candle2_Tage")) ? session.values.integer(QStringLiteral("Candle2_Tage")) : 15;
    Q_TRY(drawAndSave<IntradayPlot>(storedLook(session, intradayChartDesign()), r, [&](IntradayPlot& chart) {
        chart.show(name->FirmenName, day, data->ticks, std::clamp(minutes, 5, 720));
    }));
    return ChartRendered{name->FirmenName + QStringLiteral(" - ") + formatDate(day), int(data->ticks.size()), {}};
}

}  // namespace

Result<ChartRendered> renderChart(Session& session, const ChartRequest& r, const QDate& today) {
    switch (r.type) {
    case ChartType::Compare: return renderComparison(session, r);
    case ChartType::Intraday: return renderIntraday(session, r, today);
    default: return renderPrice(session, r, today);
    }
}

std::unique_ptr<QCoreApplication> chartApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace q::charts
