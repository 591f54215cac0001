// The analysis settings of a run, taken from the settings in effect (the window and
// quintara-cli read them alike), and written back when the options dialog `TAnalyse`
// is confirmed.
#pragma once

#include "analysis/analysis_settings.h"
#include "settings/einstellungen.h"

namespace q {

// Every analysis value present in `values`; an absent one keeps the default of
// AnalysisSettings (the catalogue's default where it has one). `KursDatum` and
// `Kursfilter` give the display range of the fill pass.
AnalysisSettings analysisSettings(const Einstellungen& values);

// Sets every analysis value of `settings` in `values` (the settings in effect; the
// main window writes them to the settings file when it closes).
void setAnalysisSettings(Einstellungen& values, const AnalysisSettings& settings);

}  // namespace q
