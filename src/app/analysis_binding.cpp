#include "app/analysis_binding.h"

#include "base/formats.h"

namespace q {

namespace {

// One setting and where it lives in AnalysisSettings.
struct IntField {
    const char* name;
    int* (*at)(AnalysisSettings&);
};
struct BoolField {
    const char* name;
    bool* (*at)(AnalysisSettings&);
};
struct NumberField {
    const char* name;
    double* (*at)(AnalysisSettings&);
};

#define Q_FILL(member) [](AnalysisSettings& a) { return &a.fill.member; }
#define Q_PERIOD(member) [](AnalysisSettings& a) { return &a.periods.member; }
#define Q_RATING(member) [](AnalysisSettings& a) { return &a.rating.member; }

const IntField kIntegers[] = {
    {"ErsterGL", Q_FILL(ErsterGL)},
    {"ZweiterGL", Q_FILL(ZweiterGL)},
    {"StochastikTage", Q_FILL(StochastikTage)},
    {"AnaTage", Q_FILL(AnaTage)},
    {"Candle_Tage", Q_FILL(Candle_Tage)},
    {"RenkoProzent", Q_FILL(RenkoProzent)},
    {"Function1_Period", Q_PERIOD(Function1_Period)},
    {"Function4_Period", Q_PERIOD(Function4_Period)},
    {"Function5_Period", Q_PERIOD(Function5_Period)},
    {"Function6_Period", Q_PERIOD(Function6_Period)},
    {"Function8_Period", Q_PERIOD(Function8_Period)},
    {"Function8_Period2", Q_PERIOD(Function8_Period2)},
    {"Function9_Period", Q_PERIOD(Function9_Period)},
    {"Function10_Period", Q_PERIOD(Function10_Period)},
    {"Function11_Period", Q_PERIOD(Function11_Period)},
    {"DividentePunkte", Q_RATING(DividentePunkte)},
    {"GewinnZahl", Q_RATING(GewinnZahl)},
    {"GewinnPunkte", Q_RATING(GewinnPunkte)},
    {"CashflowZahl", Q_RATING(CashFlowZahl)},
    {"CashflowPunkte", Q_RATING(CashFlowPunkte)},
    {"MarktZahl", Q_RATING(MarktZahl)},
    {"MarktPunkte", Q_RATING(MarktPunkte)},
    {"BewertGLPunkt", Q_RATING(BewertGLPunkt)},
    {"BewertGLPunkt1", Q_RATING(BewertGLPunkt1)},
    {"BewertStochPunktU", Q_RATING(BewertStochPunktU)},
    {"BewertStochPunktO", Q_RATING(BewertStochPunktO)},
    {"BewertStochWertM", Q_RATING(BewertStochWertM)},
    {"BewertStochPunktM", Q_RATING(BewertStochPunktM)},
    {"BewertStochWertP", Q_RATING(BewertStochWertP)},
    {"BewertStochPunktP", Q_RATING(BewertStochPunktP)},
    {"RenkoPunkte", Q_RATING(RenkoPunkte)},
    {"AnaVolumen", Q_RATING(AnaVolumen)},
    {"BewertUmsatzPunkt", Q_RATING(BewertUmsatzPunkt)},
    {"BewertMACDPunkt", Q_RATING(BewertMACDPunkt)},
    {"BewertMomentPunkt", Q_RATING(BewertMomentPunkt)},
    {"BewertTrendPunkt", Q_RATING(BewertTrendPunkt)},
    {"BewertRSIWertP", Q_RATING(BewertRSIWertP)},
    {"BewertRSIPunktP", Q_RATING(BewertRSIPunktP)},
    {"BewertRSIWertM", Q_RATING(BewertRSIWertM)},
    {"BewertRSIPunktM", Q_RATING(BewertRSIPunktM)},
    {"BewertBollingPunkt", Q_RATING(BewertBollingPunkt)},
    {"Kaufwert", [](AnalysisSettings& a) { return &a.Kaufwert; }},
    {"BewertTage", [](AnalysisSettings& a) { return &a.BewertTage; }},
};

const BoolField kSwitches[] = {
    {"Kursfilter", Q_FILL(Kursfilter)},
    {"DividentePlus", Q_RATING(DividentePlus)},
    {"GewinnPlus", Q_RATING(GewinnPlus)},
    {"CashflowPlus", Q_RATING(CashFlowPlus)},
    {"MarktPlus", Q_RATING(MarktPlus)},
    {"BewertGL", Q_RATING(BewertGL)},
    {"BewertGL1", Q_RATING(BewertGL1)},
    {"BewertStochU", Q_RATING(BewertStochU)},
    {"BewertStochO", Q_RATING(BewertStochO)},
    {"BewertStochM", Q_RATING(BewertStochM)},
    {"BewertStochP", Q_RATING(BewertStochP)},
    {"RenkoTrend", Q_RATING(RenkoTrend)},
    {"BewertUmsatz", Q_RATING(BewertUmsatz)},
    {"BewertMACD", Q_RATING(BewertMACD)},
    {"BewertMoment", Q_RATING(BewertMoment)},
    {"BewertTrend", Q_RATING(BewertTrend)},
    {"BewertRSIP", Q_RATING(BewertRSIP)},
    {"BewertRSIM", Q_RATING(BewertRSIM)},
    {"BewertBolling", Q_RATING(BewertBolling)},
    {"HochTief", Q_RATING(HochTief)},
    {"IntradayVortageskurs", [](AnalysisSettings& a) { return &a.vortagesKurs; }},
};

const NumberField kNumbers[] = {
    {"DividentenProzent", Q_RATING(DividentenProzent)},
    {"Function1_Deviation", Q_PERIOD(Function1_Deviation)},
};

#undef Q_FILL
#undef Q_PERIOD
#undef Q_RATING

}  // namespace

AnalysisSettings analysisSettings(const Einstellungen& v) {
    AnalysisSettings a;
    for (const IntField& f : kIntegers)
        if (v.has(QLatin1String(f.name))) *f.at(a) = v.integer(QLatin1String(f.name));
    for (const BoolField& f : kSwitches)
        if (v.has(QLatin1String(f.name))) *f.at(a) = v.truth(QLatin1String(f.name));
    for (const NumberField& f : kNumbers)
        if (v.has(QLatin1String(f.name))) *f.at(a) = v.number(QLatin1String(f.name));
    if (v.has(QStringLiteral("KursIndex"))) a.KursIndex = v.text(QStringLiteral("KursIndex"));
    if (v.has(QStringLiteral("KursDatum"))) a.fill.KursDatum = dateFromDayNumber(v.dateTime(QStringLiteral("KursDatum")));
    return a;
}

void setAnalysisSettings(Einstellungen& v, const AnalysisSettings& settings) {
    AnalysisSettings a = settings;
    for (const IntField& f : kIntegers) v.set(QLatin1String(f.name), SettingValue::integer(*f.at(a)));
    for (const BoolField& f : kSwitches)
        if (QLatin1String(f.name) != QLatin1String("Kursfilter")) v.set(QLatin1String(f.name), SettingValue::truth(*f.at(a)));
    for (const NumberField& f : kNumbers) v.set(QLatin1String(f.name), SettingValue::number(*f.at(a)));
    v.set(QStringLiteral("KursIndex"), SettingValue::text(a.KursIndex));
}

}  // namespace q
