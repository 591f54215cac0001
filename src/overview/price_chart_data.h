// What the price chart of the quote overview draws, computed from one security's
// analysis: every line by its series name, the marks, candles, Renko bricks and
// volume bars, the limit lines and the right axis. The chart library only draws it.
#pragma once

#include "analysis/security_analysis.h"
#include "app/chart_settings.h"
#include "overview/chart_series.h"

#include <QString>
#include <QStringList>
#include <map>

namespace q {

class CurrencyConverter;

// The series the price chart knows, by the names its settings use.
namespace series {
inline const QString Kurs = QStringLiteral("Series1");
inline const QString Durchschnitt1 = QStringLiteral("Series7");
inline const QString Durchschnitt2 = QStringLiteral("Series8");
inline const QString Volumen = QStringLiteral("Series9");
inline const QString Mittelwert = QStringLiteral("Series10");
inline const QString Stochastik = QStringLiteral("Series11");
inline const QString Standardabw = QStringLiteral("Series12");
inline const QString Bollinger = QStringLiteral("Series13");
inline const QString Trend = QStringLiteral("Series14");
inline const QString TrendMinus = QStringLiteral("Series15");
inline const QString TrendPlus = QStringLiteral("Series16");
inline const QString Kaufen = QStringLiteral("Series18");
inline const QString Kerzen = QStringLiteral("Series19");
inline const QString Momentum = QStringLiteral("Series20");
inline const QString Verkauf = QStringLiteral("Series21");
inline const QString RSI = QStringLiteral("Series23");
inline const QString Durchschnitt3 = QStringLiteral("Series24");
inline const QString MACD = QStringLiteral("Series25");
inline const QString ADX = QStringLiteral("Series26");
inline const QString FastK = QStringLiteral("Series27");
inline const QString Slow = QStringLiteral("Series28");
inline const QString FastD = QStringLiteral("Series29");
inline const QString Waehrung = QStringLiteral("Series30");
inline const QString Renko = QStringLiteral("RenkoReihe");
// The lower Bollinger band: drawn with the upper band's pen, switched with it.
inline const QString BollingerUnten = QStringLiteral("Series13Lower");
}  // namespace series

// How the price itself is drawn: the price line, the candles or the Renko bricks,
// one of them at a time. The choice is the on/off of those three series (as the
// chart settings store them), so the properties editor and the chart's own choice
// switch the same thing.
enum class PriceDrawing { Line, Candles, Renko };
void setPriceDrawing(ChartAppearance& look, PriceDrawing drawing);
// Renko when its bricks are on, else candles when they are on, else the line.
PriceDrawing priceDrawingOf(const ChartAppearance& look);

// The right price axis: a percentage of the mean buy price or of the first displayed
// price ("rechte Achse Prozent"), else the price itself.
struct RightAxis {
    bool percent = false;
    QString title = QStringLiteral("Kurs");
    double minimum = 0;  // only with percent
    double maximum = 0;
};

struct PriceChartData {
    int firma = 0;
    QString title;                                   // the security's name
    std::map<QString, std::vector<ChartPoint>> lines;  // by series name; x day numbers
    std::vector<Candle> candles;                     // "Kerzen"
    std::vector<Candle> renko;                       // "Renko"
    double upperLimit = 0;                           // colour lines; 0: none
    double lowerLimit = 0;
    bool currencyActive = false;                     // "Waehrungsbereinigt" has a line
    RightAxis rightAxis;
    QStringList notices;                             // German, for the status bar

    const std::vector<ChartPoint>& line(const QString& name) const;
};

struct PriceChartOptions {
    bool rightAxisPercent = false;  // `RechteAchse`
    // Candles from the intraday files (`Candle_Tage` 1), read by the caller; the fill
    // pass's groups of days otherwise.
    std::optional<std::vector<Candle>> intradayCandles;
    // Price × this factor per displayed day: the second currency line; empty: none.
    std::vector<double> currencyFactors;
};

// The chart of `a` (a fill pass outside batch mode with its indicator lines).
PriceChartData priceChartData(const SecurityAnalysis& a, const PriceChartOptions& options);

// The factor of each displayed day of `fill` into the home currency when the
// security's currency is set and is not the home currency; empty otherwise (the
// line stays inactive). A day whose rate cannot be found counts 1. Fails with the
// store's message.
Result<std::vector<double>> currencyFactors(const FillResult& fill, CurrencyConverter& converter);

// The bottom axis labelling for a visible range of `days` days: the tick step in
// days, the date format, whether the grid is shown. After a zoom the limits are 90
// and 365 days and the middle format names the month in full.
struct DateAxisLabels {
    int stepDays = 1;
    QString format;
    bool grid = false;
    int minorTicks = 0;
};
DateAxisLabels dateAxisLabels(double days, bool afterZoom);

}  // namespace q
