// Measures the price chart of one security with 20 years of daily prices and every
// indicator line, candles and volume bars on, offscreen at 1200 × 700: building it
// (fill pass, lines, chart data, handing them to the chart), a full replot, and
// zooming from 20 years to 3 months step by step (each step a replot).
// Usage: chart_bench [YEARS [STEPS]] (defaults 20 and 24). Goal: under 50 ms per replot.

#include "app/chart_sources.h"
#include "app/startup.h"
#include "base/formats.h"
#include "bench_support.h"
#include "charts/price_chart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cmath>
#include <exception>

namespace {

using namespace q;

using bench::fail;
using bench::ms;

}  // namespace

int main(int argc, char** argv) {
    try {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        sample::Plan plan;
        plan.securities = 1;
        plan.years = bench::arg(args, 1, 20);
        plan.depot = false;
        const int steps = std::max(2, bench::arg(args, 2, 24));
        QTemporaryDir tmp;
        if (!bench::ensureSampleData(tmp.filePath(QStringLiteral("Daten/")), plan, out)) return 1;
        Session session;
        ScriptedInteraction ui;
        NoProgress none;
        if (Status s = startUp(session, {QString(), tmp.path() + QStringLiteral("/"), tmp.filePath(QStringLiteral("Quintara.conf"))}, ui, none); !s)
            return fail(s);
        session.values.set(QStringLiteral("Candle_Tage"), SettingValue::integer(5));

        charts::PriceChart chart;
        ChartAppearance all = priceChartDesign();
        for (SeriesStyle& s : all.series) s.active = true;
        chart.setAppearance(all);
        chart.resize(1200, 700);
        chart.QWidget::show();
        QCoreApplication::processEvents();

        QElapsedTimer t;
        t.start();
        auto data = loadPriceChart(session, 1, plan.lastDay);
        if (!data) return fail(data.status());
        const double computed = double(t.nsecsElapsed()) / 1e6;
        t.restart();
        chart.show(*data);
        const double built = double(t.nsecsElapsed()) / 1e6;
        const auto& price = data->line(series::Kurs);
        out << "Kurse: " << price.size() << ", Kerzen: " << data->candles.size() << ", Renko: " << data->renko.size() << "\n";
        out << "Berechnen (Füllen, Linien, Diagrammdaten): " << ms(computed) << "\n";
        out << "Aufbauen und erstes Zeichnen: " << ms(built) << "\n";

        constexpr int kReplots = 20;
        t.restart();
        for (int i = 0; i < kReplots; ++i) chart.replot();
        out << "Neu zeichnen, alles sichtbar: " << ms(double(t.nsecsElapsed()) / 1e6 / kReplots) << " je Zeichnen\n";

        // From the whole range to the last 3 months, the same factor each step.
        const double last = price.back().x, first = price.front().x;
        const double factor = std::pow(90.0 / (last - first), 1.0 / (steps - 1));
        double worst = 0;
        t.restart();
        for (int i = 0; i < steps; ++i) {
            QElapsedTimer step;
            step.start();
            chart.zoomToDays(last - (last - first) * std::pow(factor, i), last);
            chart.replot();
            worst = std::max(worst, double(step.nsecsElapsed()) / 1e6);
        }
        out << "Zoomen 20 Jahre -> 3 Monate in " << steps << " Schritten: " << ms(double(t.nsecsElapsed()) / 1e6 / steps)
            << " je Schritt (längster " << ms(worst) << ")\n";
        t.restart();
        for (int i = 0; i < kReplots; ++i) chart.replot();
        out << "Neu zeichnen, 3 Monate sichtbar: " << ms(double(t.nsecsElapsed()) / 1e6 / kReplots) << " je Zeichnen\n";
        session.store.closeAll();
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
