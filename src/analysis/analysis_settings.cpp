#include "analysis/analysis_settings.h"

namespace q {

void applyPreset(AnalysisSettings& a, AnalysisPreset preset) {
    struct Column {
        int erster, zweiter, stochTage, anaTage, stochP, stochM, renko, bollinger, macd1, macd2, momentum;
    };
    // "Standard", "Kurzfristig", "Langfristig".
    static const Column columns[] = {
        {5, 10, 15, 20, 80, 20, 1, 10, 26, 12, 10},
        {3, 5, 10, 10, 95, 5, 1, 5, 15, 10, 5},
        {15, 50, 20, 60, 70, 30, 2, 25, 25, 15, 20},
    };
    const Column& c = columns[static_cast<int>(preset)];
    a.fill.ErsterGL = c.erster;
    a.fill.ZweiterGL = c.zweiter;
    a.fill.StochastikTage = c.stochTage;
    a.fill.AnaTage = c.anaTage;
    a.fill.RenkoProzent = c.renko;
    a.Kaufwert = 80;
    a.KursIndex = QStringLiteral("Dow Jones");
    RatingSettings& r = a.rating;
    r.AnaVolumen = 300000;
    r.BewertStochWertP = c.stochP;
    r.BewertStochWertM = c.stochM;
    r.BewertRSIWertP = 80;
    r.BewertRSIWertM = 30;
    a.periods.Function1_Period = c.bollinger;
    a.periods.Function1_Deviation = 2;
    a.periods.Function4_Period = 10;
    a.periods.Function6_Period = 10;
    a.periods.Function8_Period = c.macd1;
    a.periods.Function8_Period2 = c.macd2;
    a.periods.Function10_Period = c.momentum;

    for (bool* on : {&r.BewertGL, &r.BewertUmsatz, &r.BewertGL1, &r.BewertStochO, &r.BewertStochU, &r.BewertStochP,
                     &r.BewertStochM, &r.BewertBolling, &r.BewertMACD, &r.BewertMoment, &r.BewertTrend, &r.RenkoTrend})
        *on = true;
    r.BewertRSIP = false;
    r.BewertRSIM = false;
    for (int* points : {&r.BewertGLPunkt, &r.BewertUmsatzPunkt, &r.BewertGLPunkt1, &r.BewertStochPunktO,
                        &r.BewertStochPunktU, &r.BewertStochPunktP, &r.BewertStochPunktM, &r.BewertBollingPunkt,
                        &r.BewertMACDPunkt, &r.BewertMomentPunkt, &r.BewertTrendPunkt, &r.RenkoPunkte,
                        &r.BewertRSIPunktP, &r.BewertRSIPunktM})
        *points = 1;
}

}  // namespace q
