#include "overview/fill_statistics.h"

#include "base/formats.h"

#include <cmath>

namespace q {

namespace {

double round2(double x) { return roundHalfEven(x, 2); }
qint64 round0(double x) { return static_cast<qint64>(roundHalfEven(x, 0)); }

Figure figure(double shown, double unrounded) { return {formatGeneral(shown), unrounded}; }
// A deviation shown as "0" where its sum of squares is 0.
Figure zeroFigure() { return {QStringLiteral("0"), 0.0}; }

// F(x): fixed with 2 decimals, at most 5 significant digits.
QString fixed(double x) { return formatSignificant(x, 5, 2); }
Figure percent(double x, const QString& unit = QStringLiteral(" %")) { return {fixed(x) + unit, x}; }

}  // namespace

StatisticsOutcome fillStatistics(std::span<const double> p, int first, std::span<const VolumeRow> volumes) {
    StatisticsOutcome out;
    FillStatistics& t = out.texts;
    const int n = static_cast<int>(p.size());
    const int m = n - first;  // displayed prices

    std::optional<double> sd, changeSd;
    if (m >= 1) {
        double sum = 0;
        for (int i = first; i < n; ++i) sum += p[size_t(i)];
        const double mean = round2(sum / m);
        t.mittelwert = figure(mean, sum / m);
        if (m >= 2) {
            double squares = 0;
            for (int i = first; i < n; ++i) squares += (p[size_t(i)] - mean) * (p[size_t(i)] - mean);
            sd = round2(std::sqrt(squares / (m - 1)));
            t.standardabweichung = figure(*sd, std::sqrt(squares / (m - 1)));

            // The changes of the display range: from its second price on, so that the
            // first change never reaches back to a price before the range (or before
            // the first row).
            double changes = 0;
            for (int i = first + 1; i < n; ++i) changes += p[size_t(i)] - p[size_t(i - 1)];
            const double meanChange = round2(changes / (m - 1));
            t.mittelwertKursdifferenzen = figure(meanChange, changes / (m - 1));
            double deviations = 0;
            for (int i = first + 1; i < n; ++i) {
                const double change = p[size_t(i)] - p[size_t(i - 1)];
                if (change != 0) deviations += (change - meanChange) * (change - meanChange);
            }
            if (deviations == 0) {
                changeSd = 0.0;
                t.standardabweichungKursdifferenzen = zeroFigure();
            } else if (m >= 3) {
                changeSd = round2(std::sqrt(deviations / (m - 2)));
                t.standardabweichungKursdifferenzen = figure(*changeSd, std::sqrt(deviations / (m - 2)));
            }
        }
    }
    out.stdDevDiff = changeSd;

    const qint64 c = static_cast<qint64>(volumes.size());
    std::optional<double> volumeSd, volumeChangeSd;
    if (c >= 1) {
        double sum = 0;
        for (const VolumeRow& v : volumes) sum += double(v.volumen);
        const qint64 mean = round0(sum / double(c));
        out.averageVolume = mean;
        t.mittelwertVolumen = figure(double(mean), sum / double(c));

        double changes = 0;
        for (size_t j = 1; j < volumes.size(); ++j)
            if (volumes[j - 1].volumen != 0) changes += double(volumes[j].volumen - volumes[j - 1].volumen);
        const qint64 meanChange = c <= 1 || changes == 0 ? 0 : round0(changes / double(c - 1));
        t.mittelwertVolumendifferenzen = c <= 1 || changes == 0 ? Figure{QStringLiteral("0"), 0.0}
                                                                 : figure(double(meanChange), changes / double(c - 1));

        double squares = 0;
        for (const VolumeRow& v : volumes) squares += (double(v.volumen) - double(mean)) * (double(v.volumen) - double(mean));
        volumeSd = double(round0(std::sqrt(squares / double(c))));
        t.standardabweichungVolumen = *volumeSd == 0 ? zeroFigure() : figure(*volumeSd, std::sqrt(squares / double(c)));

        double changeSquares = 0;
        for (size_t j = 1; j < volumes.size(); ++j) {
            if (volumes[j - 1].volumen == 0) continue;
            const double d = double(volumes[j].volumen - volumes[j - 1].volumen) - double(meanChange);
            changeSquares += d * d;
        }
        volumeChangeSd = c <= 1 ? 0.0 : double(round0(std::sqrt(changeSquares / double(c - 1))));
        t.standardabweichungVolumendifferenzen =
            *volumeChangeSd == 0 ? zeroFigure() : figure(*volumeChangeSd, std::sqrt(changeSquares / double(c - 1)));
    }

    if (sd && changeSd && volumeSd && volumeChangeSd) {
        double tarnfaktor = 0;
        if (*volumeSd != *volumeChangeSd) {
            const double ratio = 100000.0 * std::fabs(*sd - *changeSd) / std::fabs(*volumeSd - *volumeChangeSd);
            tarnfaktor = roundHalfEven(ratio, 0) / 1000.0;
            t.tarnfaktor = figure(tarnfaktor, ratio / 1000.0);
        } else {
            t.tarnfaktor = zeroFigure();
        }
        const double rate = roundHalfEven(1000.0 * std::fabs(*sd * (1 - tarnfaktor)), 0) / 1000.0;
        out.tarnrate = rate;
        t.tarnrate = figure(rate, std::fabs(*sd * (1 - tarnfaktor)));
    }
    return out;
}

FillInfo fillInfo(const FillResult& f) {
    FillInfo info;
    const double last = f.lastPrice;
    if (!f.enoughPrices || last == 0) return info;
    info.stochastik = {fixed(f.stoch), f.stoch};
    info.staerke = {fixed(f.strength), f.strength};
    const double high = f.displayHigh, low = f.displayLow;
    info.differenzMinMax = low == 0 ? Figure{QStringLiteral("0 %"), std::nullopt} : percent(100 * high / low - 100);
    info.steigerungZumMaximum = percent(100 * high / last - 100);
    info.zugelegtVomMinimum = low == 0 ? Figure{QStringLiteral("0 %"), std::nullopt} : percent(100 * last / low - 100);
    info.steigerungZeitraum = f.firstPrice == 0 ? Figure{QStringLiteral("0,00 %"), std::nullopt}
                                                : percent(100 * last / f.firstPrice - 100, QStringLiteral("%"));
    const SecurityRecord& s = f.security;
    if (s.Dividende != 0) info.dividendenrendite = percent(s.Dividende * 100 / last);
    info.fundamentalsShown = s.hasFundamentals;
    if (s.hasFundamentals) {
        if (s.Gewinn != 0) info.kgv = {fixed(last / s.Gewinn), last / s.Gewinn};
        if (s.CashFlow != 0) info.kcv = {fixed(last / s.CashFlow), last / s.CashFlow};
        const double cap = s.Aktienzahl * last / 1e9;
        info.marktkapitalisierung = {formatSignificant(cap, 18, 3) + QStringLiteral(" Mrd"), cap};
    }
    return info;
}

}  // namespace q
