#include "charts/comparison_chart.h"

#include "charts/chart_style.h"

namespace q::charts {

ComparisonPlot::ComparisonPlot(QWidget* parent) : QCustomPlot(parent), m_appearance(comparisonChartDesign()) {
    setObjectName(QStringLiteral("comparisonChart"));
    setLocale(QLocale(QLocale::German, QLocale::Germany));
    setAutoAddPlottableToLegend(false);
    for (int i = 0; i < m_appearance.series.size(); ++i) {
        auto* g = new QCPGraph(xAxis, yAxis);
        g->setAdaptiveSampling(true);
        m_lines << g;
    }
    yAxis->setLabel(QStringLiteral("Prozent"));
    labelDateAxis(*xAxis, false);
    legend->setVisible(false);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] { labelDateAxis(*xAxis, true); });
}

void ComparisonPlot::setAppearance(const ChartAppearance& appearance) {
    m_appearance = appearance;
    apply();
    replot();
}

void ComparisonPlot::show(const ComparisonChart& chart) {
    m_chart = chart;
    for (int i = 0; i < m_lines.size(); ++i) {
        const ComparisonLine* line = i < 5 ? (size_t(i) < chart.lines.size() ? &chart.lines[size_t(i)] : nullptr) : &chart.depot;
        setPoints(*m_lines[i], line ? line->points : std::vector<ChartPoint>());
    }
    apply();
    rescaleAxes();
    labelDateAxis(*xAxis, false);
    replot();
}

void ComparisonPlot::apply() {
    legend->clearItems();
    for (int i = 0; i < m_lines.size() && i < m_appearance.series.size(); ++i) {
        SeriesStyle style = m_appearance.series[i];
        const ComparisonLine* line = i < 5 ? (size_t(i) < m_chart.lines.size() ? &m_chart.lines[size_t(i)] : nullptr) : &m_chart.depot;
        // A security's line is titled with its name.
        if (i < 5 && line && !line->name.isEmpty()) style.title = line->name;
        applyStyle(*m_lines[i], style);
        m_lines[i]->setVisible(style.active && line && line->active);
        if (m_lines[i]->visible() && style.legend) m_lines[i]->addToLegend();
    }
    legend->setVisible(m_chart.legend());
}

}  // namespace q::charts
