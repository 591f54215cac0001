// The analysis settings as the settings in effect hold them, and a preset carried
// through the settings to the next fill.
#include "app/analysis_binding.h"

#include <gtest/gtest.h>

using namespace q;

TEST(AnalysisSettings, ReadFromTheSettingsInEffectWithTheirDefaults) {
    Einstellungen v;
    v.set("ErsterGL", SettingValue::integer(3));
    v.set("CashflowZahl", SettingValue::integer(20));  // the settings file's spelling
    v.set("BewertRSIP", SettingValue::truth(false));
    v.set("DividentenProzent", SettingValue::number(2.5));
    v.set("Function1_Deviation", SettingValue::number(1.5));
    v.set("KursIndex", SettingValue::text("DAX"));
    const AnalysisSettings a = analysisSettings(v);
    EXPECT_EQ(a.fill.ErsterGL, 3);
    EXPECT_EQ(a.fill.ZweiterGL, 100);  // absent: the default
    EXPECT_EQ(a.rating.CashFlowZahl, 20);
    EXPECT_FALSE(a.rating.BewertRSIP);
    EXPECT_TRUE(a.rating.BewertRSIM);
    EXPECT_DOUBLE_EQ(a.rating.DividentenProzent, 2.5);
    EXPECT_DOUBLE_EQ(a.periods.Function1_Deviation, 1.5);
    EXPECT_EQ(a.KursIndex, "DAX");
    EXPECT_FALSE(a.vortagesKurs);  // the day before's price only when asked for

    v.set("IntradayVortageskurs", SettingValue::truth(true));
    EXPECT_TRUE(analysisSettings(v).vortagesKurs);
    Einstellungen back;
    setAnalysisSettings(back, analysisSettings(v));
    EXPECT_TRUE(back.truth("IntradayVortageskurs"));
}

TEST(AnalysisSettings, KurzfristigMakesTheNextFillUseItsPeriods) {
    AnalysisSettings a;
    a.rating.DividentePunkte = 7;  // not part of any preset
    applyPreset(a, AnalysisPreset::Kurzfristig);
    Einstellungen v;
    setAnalysisSettings(v, a);
    const AnalysisSettings next = analysisSettings(v);
    EXPECT_EQ(next.fill.ErsterGL, 3);
    EXPECT_EQ(next.fill.ZweiterGL, 5);
    EXPECT_EQ(next.rating.BewertStochWertP, 95);
    EXPECT_EQ(next.rating.BewertStochWertM, 5);
    EXPECT_EQ(next.periods.Function8_Period, 15);
    EXPECT_EQ(next.periods.Function8_Period2, 10);
    EXPECT_FALSE(next.rating.BewertRSIP);
    EXPECT_EQ(next.rating.DividentePunkte, 7);
}
