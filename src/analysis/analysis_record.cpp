#include "analysis/analysis_record.h"

#include "base/formats.h"
#include "store/catalogue.h"

#include <cmath>

namespace q {

namespace {

double round2(double x) { return roundHalfEven(x, 2); }
double round3(double x) { return roundHalfEven(x, 3); }

// a × 100 ÷ b − … style ratios: 0 where the divisor is 0.
double ratio(double numerator, double divisor) { return divisor == 0 ? 0.0 : numerator / divisor; }

// `period` × average − the price in the ring buffer's next slot: the one leaving the
// average next, or an empty slot (0) while the period is not yet full.
double minusOne(const FillResult& f, int period, double average) {
    const int n = f.count();
    const double leaving = n >= period ? f.prices[size_t(n - period)] : 0.0;
    return period * average - leaving;
}

}  // namespace

double referencePrice(const FillResult& f, bool vortagesKurs, const QDate& today) {
    const int n = f.count();
    if (vortagesKurs && n >= 2 && f.lastDate == today) return f.prices[size_t(n - 2)];
    return f.lastPrice;
}

Row analysisRecord(const SecurityAnalysis& a, const AnalysisSettings& settings, const QDate& today) {
    static const Layout layout = layoutForFile(QStringLiteral("Analyse.db"));
    Row row(static_cast<qsizetype>(layout.fields.size()));
    const auto set = [&](const char* field, const QVariant& value) {
        const int i = layout.fieldIndex(QLatin1String(field));
        Q_ASSERT(i >= 0);
        row[i] = value;
    };
    const FillResult& f = a.fill;
    const SecurityRecord& s = f.security;
    const Rating rating = a.rating.value_or(Rating{});
    const double last = f.lastPrice;
    const double reference = referencePrice(f, settings.vortagesKurs, today);
    const qint64 mean = f.averageVolume.value_or(0);
    const qint64 newest = f.newestVolume.value_or(0);
    const double stdDevDiff = f.stdDevDiff.value_or(0);
    const double tarnrate = f.tarnrate.value_or(0);

    set("Firma", s.Firma);
    set("Gruppe", s.Gruppe);
    set("Branche", s.Branche);
    set("Merkmal", s.Merkmal);
    set("Favorit", s.Aktiv);
    set("Wertpapier", s.FirmenName.left(30));
    set("Kennung", (s.Kennung.isEmpty() ? s.ZDF : s.Kennung).left(14));
    set("Kurs", round3(reference));
    set("KursMax", reference);
    set("KursMin", reference);
    set("MinProzent", 0.0);
    const double span = f.windowHigh - f.windowLow;
    set("MaxProzent", span > 0 && f.windowLow > 0 ? round3(span * 100 / f.windowLow) : 0.0);
    set("MaxDifferenz", span > 0 ? round3(span) : 0.0);
    set("GlD1", round2(f.gl1));
    set("GlD1Minus1", minusOne(f, f.shortPeriod, f.gl1));
    set("GlD2", round2(f.gl2));
    set("GlD2Minus1", minusOne(f, f.longPeriod, f.gl2));
    set("Stochastik", round2(f.stoch));
    set("Bewertung", rating.R);
    const double change = last - reference;
    set("Prozent", round3(ratio(change * 100, reference)));
    set("Differenz", change == 0 ? 0.0 : round2(change));
    set("Index", round2(rating.index));
    set("Indikator1", round3(ratio(change * 100, reference)));
    const double belowAverage = round3(ratio((f.gl1 - last) * 100, last));
    set("Indikator2", belowAverage);
    set("Indikator3", round3(ratio((f.gl2 - f.gl1) * 100, f.gl1)));
    set("Indikator4", belowAverage);
    set("AktKurs", last);
    const bool bought = f.buyDate != today;
    const double base = bought ? f.highSinceBuy : last;
    set("LimitPlus", s.Oberes_Limit != 0 ? s.Oberes_Limit : round3(stdDevDiff + base));
    set("LimitMinus", s.Unteres_Limit != 0 ? s.Unteres_Limit : round3(base - stdDevDiff));
    set("Volumen", mean);
    set("AktVolumen", 0);
    set("DiffVolumen", newest - mean);
    set("TrendVolumen", mean == 0 ? 0.0 : roundHalfEven(double(newest) * 1000 / double(mean), 0) / 10);
    set("Umsatz", static_cast<qint64>(std::llround(roundHalfEven(double(newest) * last, 0))));
    set("TarnFaktor", roundHalfEven(tarnrate * 10000, 0) / 100);
    set("TarnRate", round2(tarnrate));
    set("Datum", double(dayNumber(f.lastDate)));
    set("Gewinn", round2(ratio(last, s.Gewinn)));
    set("CashFlow", round2(ratio(last, s.CashFlow)));
    set("Marktkap", s.Aktienzahl * last);
    return row;
}

}  // namespace q
