// The settings of the analysis: the fill pass's periods, the indicator periods of the
// price chart, the rules of the rating with their points and thresholds, and the
// three presets of the options dialog. Member names are the setting names; the
// defaults are the values used when the settings hold none.
#pragma once

#include "overview/fuellen.h"

#include <QString>

namespace q {

// Periods of the indicator lines (the chart's function series).
struct IndicatorPeriods {
    int Function1_Period = 7;          // Bollinger bands
    double Function1_Deviation = 2.0;  // their width in standard deviations
    int Function4_Period = 10;         // RSI
    int Function5_Period = 200;        // third moving average
    int Function6_Period = 7;          // trend line
    int Function8_Period = 26;         // MACD, the first period
    int Function8_Period2 = 12;        // MACD, the second period
    int Function9_Period = 7;          // standard deviation
    int Function10_Period = 7;         // momentum
    int Function11_Period = 14;        // ADX
};

// The rules of the rating: each switch, its points and its threshold.
struct RatingSettings {
    bool DividentePlus = true;
    double DividentenProzent = 4.0;  // minimum yield in %
    int DividentePunkte = 1;
    bool GewinnPlus = true;
    int GewinnZahl = 15;             // maximum price/earnings ratio
    int GewinnPunkte = 1;
    bool CashFlowPlus = true;
    int CashFlowZahl = 15;           // maximum price/cash-flow ratio
    int CashFlowPunkte = 1;
    bool MarktPlus = true;
    int MarktZahl = 100;             // minimum market capitalisation in millions
    int MarktPunkte = 1;
    bool BewertGL = true;            // crossing of the two averages
    int BewertGLPunkt = 1;
    bool BewertGL1 = true;           // price against the short average
    int BewertGLPunkt1 = 1;
    bool BewertStochU = true;        // stochastic rising from zero
    int BewertStochPunktU = 1;
    bool BewertStochO = true;        // stochastic reaching 100
    int BewertStochPunktO = 1;
    bool BewertStochM = true;        // stochastic below a value
    int BewertStochWertM = 20;
    int BewertStochPunktM = 1;
    bool BewertStochP = true;        // stochastic above a value
    int BewertStochWertP = 80;
    int BewertStochPunktP = 1;
    bool RenkoTrend = true;
    int RenkoPunkte = 1;
    bool BewertUmsatz = true;        // turnover
    int AnaVolumen = 500000;         // minimum turnover
    int BewertUmsatzPunkt = 1;
    bool BewertMACD = true;
    int BewertMACDPunkt = 1;
    bool BewertMoment = true;
    int BewertMomentPunkt = 1;
    bool BewertTrend = true;
    int BewertTrendPunkt = 1;
    bool BewertRSIP = true;          // RSI above a value
    int BewertRSIWertP = 70;
    int BewertRSIPunktP = 1;
    bool BewertRSIM = true;          // RSI below a value
    int BewertRSIWertM = 30;
    int BewertRSIPunktM = 1;
    bool BewertBolling = true;
    int BewertBollingPunkt = 1;
    bool HochTief = true;            // scale the index by the high/low position
};

struct AnalysisSettings {
    FillSettings fill;
    IndicatorPeriods periods;
    RatingSettings rating;
    int Kaufwert = 80;                              // rating index from which a security is a buy
    QString KursIndex = QStringLiteral("Dow Jones"); // the reference index security
    int BewertTage = 10;                            // entries per list of the report
    // "Als Intraday-Startkurs den Vortages Kurs aus Datenbank": the analysis record's
    // reference price is the day before's when the newest price is today's.
    bool vortagesKurs = false;
};

// The presets of the options dialog. Each sets the periods and thresholds of its
// column, switches the rules of the averages, stochastic, turnover, Bollinger, MACD,
// momentum, trend and Renko on and both RSI rules off, and sets all their points to
// 1; everything else keeps its value.
enum class AnalysisPreset { Standard, Kurzfristig, Langfristig };
void applyPreset(AnalysisSettings& settings, AnalysisPreset preset);

}  // namespace q
