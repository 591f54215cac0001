#include "overview/overview_figures.h"

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
        {"Mittelwert der Volumen", "meanVolume", &s.mittelwertVolumen},
        {"Mittelwert der Volumendifferenzen", "meanVolumeChange", &s.mittelwertVolumendifferenzen},
        {"Standardabweichung der Volumen", "volumeDeviation", &s.standardabweichungVolumen},
        {"Standardabweichung der Volumendifferenzen", "volumeChangeDeviation", &s.standardabweichungVolumendifferenzen},
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

}  // namespace q
