// The intraday chart of a day: the line "Intraday" and the candles "Intraday-Kerzen"
// of M minutes, titled with the security's name and the day.
#pragma once

#include "app/chart_settings.h"
#include "charts/custom_plot.h"
#include "overview/intraday_day.h"

namespace q::charts {

class IntradayPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit IntradayPlot(QWidget* parent = nullptr);
    // The ticks of `day` with candles of `minutes` minutes.
    void show(const QString& name, const QDate& day, const std::vector<IntradayTick>& ticks, int minutes);
    const ChartAppearance& appearance() const { return m_appearance; }
    void setAppearance(const ChartAppearance& appearance);
    QCPGraph* line() const { return m_line; }
    QCPFinancial* candles() const { return m_candles; }

private:
    void apply();
    ChartAppearance m_appearance;
    QCPGraph* m_line;
    QCPFinancial* m_candles;
};

}  // namespace q::charts
