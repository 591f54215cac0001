// The comparison chart "&Vergleich": up to five securities and the depot as the
// percentage change since the start date (ComparisonChart from the core).
#pragma once

#include "app/chart_settings.h"
#include "charts/custom_plot.h"
#include "overview/comparison.h"

namespace q::charts {

class ComparisonPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit ComparisonPlot(QWidget* parent = nullptr);
    void show(const ComparisonChart& chart);
    const ChartAppearance& appearance() const { return m_appearance; }
    void setAppearance(const ChartAppearance& appearance);
    QCPGraph* line(int i) const { return m_lines.value(i); }  // 0..4, 5 the depot

private:
    void apply();
    ChartAppearance m_appearance;
    ComparisonChart m_chart;
    QList<QCPGraph*> m_lines;
};

}  // namespace q::charts
