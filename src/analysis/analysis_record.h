// The record of one security in the analysis table `Analyse.db`, which the companion
// analysis program reads: prices, averages, rating, volatility, limits and
// fundamentals ratios of the fill pass, rounded as that program expects.
#pragma once

#include "analysis/security_analysis.h"
#include "store/layout.h"

namespace q {

// The reference price: the newest price, or the one before it when `vortagesKurs`
// is set and the newest is dated `today`.
double referencePrice(const FillResult& fill, bool vortagesKurs, const QDate& today);

// The values of the record in the field order of `Analyse.db`. Round2 and Round3
// round half to even to 2 and 3 places. Every ratio whose divisor is 0 is 0, never
// infinite. Requires a rated analysis (fill.enoughPrices).
//   Kurs = Round3(reference), KursMax = KursMin = reference, MinProzent = 0,
//   MaxDifferenz = Round3(window high − low) when positive, MaxProzent = its
//   Round3(… × 100 ÷ low); GlD1/GlD2 = Round2 of the averages; GlDnMinus1 = period ×
//   average − the price leaving the average next (the sum of the newest period − 1
//   prices once the period is full); Differenz = Round2(newest − reference),
//   Prozent = Indikator1 = Round3 of it in % of the reference; Indikator2 =
//   Indikator4 = Round3((GL1 − last) × 100 ÷ last); Indikator3 = Round3((GL2 − GL1) ×
//   100 ÷ GL1); TarnFaktor = round(Tarnrate × 10,000) ÷ 100, TarnRate =
//   Round2(Tarnrate); LimitPlus/LimitMinus = the set limit, else the high since the
//   purchase (or the last price when nothing was bought) ± the change deviation;
//   Volumen = mean volume, DiffVolumen = newest − mean, TrendVolumen = round(newest ×
//   1000 ÷ mean) ÷ 10; Umsatz = round(newest volume × last price) (64 bits);
//   Index = Round2(I); Gewinn, CashFlow = Round2(last ÷ per-share figure); Marktkap =
//   Aktienzahl × last.
Row analysisRecord(const SecurityAnalysis& analysis, const AnalysisSettings& settings, const QDate& today);

}  // namespace q
