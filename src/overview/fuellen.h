// The fill pass `fuellen`: everything the quote overview shows of one security, the
// series its price chart draws and the figures its rating reads, computed from that
// security's rows alone (fill_input.h). Pure: no table is read or written here, and
// nothing is carried over from the security filled before.
//
// Design notes.
// 1. The rows: a price row whose `Kurs` or `Datum` is 0 is left out and listed in
//    maintenance.remove (the window deletes it from the table, fill_maintenance.h);
//    a negative price is left out too but never deleted. The n rows kept, in date
//    order, are P[0..n), D[0..n) with the short and long moving averages A1, A2:
//    the mean of the last min(i + 1, period) prices.
// 2. The display range starts at `KursDatum` when `Kursfilter` is on, else 10,000
//    days before today; the analysis window at the later of that and today −
//    `AnaTage`. The display and window high and low are taken over the rows inside
//    them; a window without a row has the newest price as high and low.
// 3. With one price row or none nothing is computed (enoughPrices false): every
//    figure and text stays empty, the security is not rated and no run lists it.
// 4. Every figure whose division has a divisor 0 is empty (no text, no number),
//    unless the overview's rule names a fallback ("0 %", "0"); never "inf" or "nan".
// 5. The stochastic pass walks k = 0..n−1 over the window of the last
//    `StochastikTage` prices: K0 = (P[k] − LL) × 100 ÷ (HH − LL) (0 when HH = LL),
//    K1 and K2 the values of the two days before, Stoch their mean (0 unless their
//    sum is above 0). The strength value compounds from day to day as the overview
//    has always shown it: up-sum ÷ down-sum when the down-sum is not 0 (else the
//    previous value), then 100 − 100 ÷ (1 + value).
#pragma once

#include "overview/chart_series.h"
#include "overview/fill_input.h"
#include "overview/fill_position.h"

#include <QDate>
#include <optional>

namespace q {

// The settings the fill pass reads (meanings in the settings catalogue).
struct FillSettings {
    int ErsterGL = 5;         // short average; 1 or less means 5
    int ZweiterGL = 100;      // long average; 1 or less means 50
    int StochastikTage = 15;  // outside 2..90 means 15
    int AnaTage = 14;         // analysis window in days
    QDate KursDatum;          // start of the display range when Kursfilter is on
    bool Kursfilter = false;
    int Candle_Tage = 10;     // price rows per candle
    int RenkoProzent = 1;     // brick size in percent
};

// A figure of the overview: the text as the page shows it, and the number behind
// it, unrounded (nullopt where the text is empty or a fixed fallback).
struct Figure {
    QString text;
    std::optional<double> value;
};

// The statistics panel (steps 10 to 12 of the overview).
struct FillStatistics {
    Figure mittelwert;                            // "Mittelwert"
    Figure standardabweichung;                    // "Standardabweichung"
    Figure mittelwertKursdifferenzen;             // "Mittelwert der Kursdifferenzen"
    Figure standardabweichungKursdifferenzen;     // "Standardabweichung der Kursdifferenzen"
    Figure mittelwertVolumen;                     // "Mittelwert der Volumen"
    Figure mittelwertVolumendifferenzen;          // "Mittelwert der Volumendifferenzen"
    Figure standardabweichungVolumen;             // "Standardabweichung der Volumen"
    Figure standardabweichungVolumendifferenzen;  // "Standardabweichung der Volumendifferenzen"
    Figure tarnfaktor;
    Figure tarnrate;
};

// The info texts (step 13).
struct FillInfo {
    Figure stochastik;
    Figure staerke;                 // the strength value
    Figure differenzMinMax;         // "Welche Differenz besteht zwischen Minimum und Maximum"
    Figure steigerungZumMaximum;    // "Welche Steigerungsmöglichkeit gibt es ausgehen vom akt.Kurs zum Maximum"
    Figure zugelegtVomMinimum;      // "Wieviel Prozent hat der Kurs schon vom Minimum zugelegt"
    Figure steigerungZeitraum;      // "Steigerung im Darstellungszeitraum"
    Figure dividendenrendite;
    Figure kgv;                     // "KGV"
    Figure kcv;                     // "KCV"
    Figure marktkapitalisierung;    // "… Mrd"
    bool fundamentalsShown = false; // the master has the fundamentals fields
};

// The limit notice "Limit erreicht": red below a set lower limit, green above a set
// upper one.
enum class LimitNotice { None, BelowLower, AboveUpper };

// Writes the window makes after a fill (fill_maintenance.h).
struct FillMaintenance {
    std::vector<int> remove;                    // day numbers of rows with Kurs or Datum 0
    std::vector<std::pair<int, double>> glD;    // day number, new `GlD` (the long average)
    bool empty() const { return remove.empty() && glD.empty(); }
};

struct FillResult {
    SecurityRecord security;
    bool enoughPrices = false;  // more than one price row (design note 3)

    // Kept rows (design note 1) and the first displayed one (== n when none is).
    std::vector<int> days;
    std::vector<double> prices;
    std::vector<double> shortAverage;  // A1
    std::vector<double> longAverage;   // A2
    int firstDisplayed = 0;
    int shortPeriod = 5;
    int longPeriod = 50;

    QDate displayStart;
    QDate analysisStart;
    double lastPrice = 0;
    QDate lastDate;
    double firstPrice = 0;   // first price of the display range
    double displayHigh = 0;
    double displayLow = 0;
    double windowHigh = 0;
    double windowLow = 0;
    QDate buyDate;           // first open purchase, moved to the display start; else today
    double highSinceBuy = 0;
    double gl1 = 0;
    double gl2 = 0;
    double k0 = 0, k1 = 0, k2 = 0;
    double stoch = 0;
    double strength = 0;
    std::optional<double> stdDevDiff;     // the shown change deviation, rounded to cents
    std::optional<double> tarnrate;
    std::optional<qint64> averageVolume;  // the shown mean volume
    std::optional<qint64> newestVolume;   // volume of the newest volume row

    FillStatistics statistics;
    FillInfo info;
    LimitNotice limit = LimitNotice::None;
    Position position;
    ChartSeries series;        // in a batch fill without its lines; `renko` only the last two bricks
    qint64 renkoCount = 0;     // the Renko bricks of the display range
    FillMaintenance maintenance;

    int count() const { return static_cast<int>(prices.size()); }
    // The prices of the display range (the chart's price line).
    std::span<const double> displayedPrices() const;
};

// The fill pass over `input` (design notes). `today` is the day the ranges count
// from; `batch` (the rating run) leaves out what only the window draws (the
// stochastic lines and their marks, the candles) and reports the window high and low as the
// display high and low.
FillResult fuellen(const FillInput& input, const FillSettings& settings, const QDate& today, bool batch = false);

// The start of the display range: `KursDatum` when `Kursfilter` is on, else 10,000
// days before `today`.
QDate displayStartOf(const FillSettings& s, const QDate& today);

// The effective periods of the settings: short 5 for 1 or less, long 50 for 1 or
// less, stochastic days 15 outside 2..90.
int shortPeriodOf(const FillSettings& s);
int longPeriodOf(const FillSettings& s);
int stochasticDaysOf(const FillSettings& s);

}  // namespace q
