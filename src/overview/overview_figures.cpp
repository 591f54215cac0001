#include "overview/overview_figures.h"

#include "base/formats.h"

namespace q {

std::vector<ShownFigure> shownFigures(const FillResult& f) {
    const FillStatistics& s = f.statistics;
    const FillInfo& i = f.info;
    std::vector<ShownFigure> list = {
        {"Stochastik", "stochastic", &i.stochastik},
        {"Stärke", "strength", &i.staerke},
        {"Mittelwert", "mean", &s.mittelwert},
        {"Standardabweichung", "deviation", &s.standardabweichung},
        {"Mittelwert der Kursdifferenzen", "meanChange", &s.mittelwertKursdifferenzen},
        {"Standardabweichung der Kursdifferenzen", "changeDeviation", &s.standardabweichungKursdifferenzen},
        {"Mittelwert der Volumen", "meanVolume", &s.mittelwertVolumen, true},
        {"Mittelwert der Volumendifferenzen", "meanVolumeChange", &s.mittelwertVolumendifferenzen, true},
        {"Standardabweichung der Volumen", "volumeDeviation", &s.standardabweichungVolumen, true},
        {"Standardabweichung der Volumendifferenzen", "volumeChangeDeviation", &s.standardabweichungVolumendifferenzen, true},
        {"Tarnfaktor", "tarnfaktor", &s.tarnfaktor},
        {"Tarnrate", "tarnrate", &s.tarnrate},
        {"Welche Differenz besteht zwischen Minimum und Maximum", "minMaxDifference", &i.differenzMinMax},
        {"Welche Steigerungsmöglichkeit gibt es ausgehen vom akt.Kurs zum Maximum", "riseToMaximum",
         &i.steigerungZumMaximum},
        {"Wieviel Prozent hat der Kurs schon vom Minimum zugelegt", "gainFromMinimum", &i.zugelegtVomMinimum},
        {"Steigerung im Darstellungszeitraum", "riseInRange", &i.steigerungZeitraum},
        {"Dividendenrendite", "dividendYield", &i.dividendenrendite},
    };
    if (i.fundamentalsShown) {
        list.push_back({"KGV", "priceEarnings", &i.kgv});
        list.push_back({"KCV", "priceCashFlow", &i.kcv});
        list.push_back({"Marktkapitalisierung", "marketCapitalisation", &i.marktkapitalisierung});
    }
    return list;
}

QString panelText(const ShownFigure& shown) {
    const QString& text = shown.figure->text;
    if (shown.volume) {
        // A whole number in the plain format ("1860989", "-2045"): grouped as the
        // volume list shows it.
        if (const auto n = parseNumber(text)) return formatAmount(*n, 0);
        return text;
    }
    // "Steigerung im Darstellungszeitraum" is made without the blank the other
    // percentages have (and the reports keep it so).
    if (text.endsWith(QLatin1Char('%')) && !text.endsWith(QLatin1String(" %"))) return text.chopped(1) + QStringLiteral(" %");
    return text;
}

}  // namespace q
