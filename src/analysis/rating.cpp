#include "analysis/rating.h"

#include <algorithm>

namespace q {

namespace {

// Keeps R and what each rule did to it.
class Score {
public:
    int r = 3;
    QStringList steps;

    void add(int rule, int points) {
        if (points == 0) return;
        r += points;
        steps << QStringLiteral("Regel %1: %2%3").arg(rule).arg(points > 0 ? QStringLiteral("+") : QString()).arg(points);
    }
};

// The four tests of rules 16 and 17 on the last two values of a line.
void lineRule(Score& s, int rule, const LineEnd& line, int points) {
    const double m1 = line.last, m2 = line.beforeLast;
    s.add(rule, m2 <= m1 ? points : -points);
    if (m1 > 0 && m2 < 0) s.add(rule, 1);
    if (m1 < 0 && m2 > 0) s.add(rule, -1);
}

// The rules in order; false when one of them fails (design note 2).
bool applyRules(const RatingInput& in, const RatingSettings& c, Score& s) {
    const double last = in.lastPrice;
    if (c.DividentePlus && last != 0 && in.Dividende > 0 && in.Dividende * 100 / last > c.DividentenProzent)
        s.add(1, c.DividentePunkte);
    if (c.GewinnPlus && in.Gewinn > 0) s.add(2, last / in.Gewinn < c.GewinnZahl ? c.GewinnPunkte : -1);
    if (c.CashFlowPlus && in.CashFlow > 0) s.add(3, last / in.CashFlow < c.CashFlowZahl ? c.CashFlowPunkte : -1);
    if (c.MarktPlus && in.Aktienzahl > 0) s.add(4, c.MarktZahl * 1e6 > in.Aktienzahl * last ? -c.MarktPunkte : 1);
    if (in.n > 2) {
        if (in.trendLine.count < 2) return false;
        s.add(5, in.trendLine.beforeLast < in.trendLine.last ? 1 : -1);
        if (c.BewertGL) {
            if (in.a1Before < in.a2Before && in.a1Last >= in.a2Last) s.add(6, c.BewertGLPunkt);
            if (in.a1Before > in.a2Before && in.a1Last <= in.a2Last) s.add(6, -c.BewertGLPunkt);
        }
        if (c.BewertGL1) {
            if (last > in.gl1) s.add(7, c.BewertGLPunkt1);
            if (last < in.gl1) s.add(7, -c.BewertGLPunkt1);
        }
    }
    if (in.indexChange > 1) s.add(8, 1);
    if (in.indexChange < -1) s.add(8, -1);
    const bool anyBelow5 = in.k0 < 5 || in.k1 < 5 || in.k2 < 5;
    const bool anyAbove95 = in.k0 > 95 || in.k1 > 95 || in.k2 > 95;
    if (c.BewertStochU && in.stoch > 0 && anyBelow5) s.add(9, c.BewertStochPunktU);
    if (c.BewertStochO && in.stoch < in.k0 && anyAbove95) s.add(10, -c.BewertStochPunktO);
    if (c.BewertStochM && c.BewertStochWertM > in.stoch) s.add(11, c.BewertStochPunktM);
    if (c.BewertStochP && c.BewertStochWertP < in.stoch) s.add(12, -c.BewertStochPunktP);
    if (c.RenkoTrend && in.renkoBricks > 2) {
        if (in.renkoRising == 2) s.add(13, c.RenkoPunkte);
        if (in.renkoRising == -2) s.add(13, -c.RenkoPunkte);
    }
    if (c.BewertUmsatz) {
        const double turnover = in.averageVolume * in.gl1;
        if (turnover > 0 && c.AnaVolumen > turnover && in.averageVolume != 0) s.add(14, -c.BewertUmsatzPunkt);
    }
    if (in.upperBand.count < 1 || in.lowerBand.count < 1) return false;
    if (in.lowerBand.last * 1.05 >= in.upperBand.last) s.add(15, s.r > 3 ? 1 : -1);
    if (c.BewertMACD && in.macdLine.count > 2) lineRule(s, 16, in.macdLine, c.BewertMACDPunkt);
    if (c.BewertMoment && in.momentumLine.count > 2) lineRule(s, 17, in.momentumLine, c.BewertMomentPunkt);
    if (c.BewertTrend && in.trendLine.count > 2)
        s.add(18, in.trendLine.beforeLast <= in.trendLine.last ? c.BewertTrendPunkt : -c.BewertTrendPunkt);
    if (c.BewertRSIP && in.rsiLine.count > 1 && in.rsiLine.last >= c.BewertRSIWertP) s.add(19, -c.BewertRSIPunktP);
    if (c.BewertRSIM && in.rsiLine.count > 1 && in.rsiLine.last <= c.BewertRSIWertM) s.add(20, c.BewertRSIPunktM);
    if (c.BewertBolling && in.upperBand.count > 1 && in.lowerBand.count > 1) {
        const double upper = in.upperBand.last, lower = in.lowerBand.last;
        if (upper >= last) s.add(21, -c.BewertBollingPunkt);
        if (lower <= last) s.add(21, c.BewertBollingPunkt);
        if (upper - lower < 0.05 * last) s.add(21, s.r > 3 ? c.BewertBollingPunkt : -c.BewertBollingPunkt);
    }
    return true;
}

}  // namespace

int ratingPicture(int r) {
    switch (r) {
    case 4: return 3;
    case 3: return 5;
    case 2: return 4;
    case 1: return 2;
    default: return r >= 5 ? 1 : 2;
    }
}

Rating bewerten(const RatingInput& in, const RatingSettings& c) {
    Rating rating;
    Score s;
    if (!applyRules(in, c, s)) {
        s.r = 3;
        s.steps << QStringLiteral("Bewertung nicht möglich: zu wenige Werte, Bewertung 3");
        rating.failed = true;
    }
    rating.rawR = s.r;
    rating.steps = s.steps;
    rating.R = std::max(1, s.r);
    rating.picture = ratingPicture(rating.R);
    const double last = in.lastPrice;
    if (c.HochTief && in.windowHigh > 0 && in.windowLow > 0 && last > 0) {
        double x = 100 * in.windowHigh / last + 100 * in.windowLow / last;
        if (x > 0 && x < 1) x = 1;
        if (x > -1 && x < 0) x = -1;
        rating.index = rating.R * x * 0.1;
    } else {
        rating.index = rating.R * 20.0;
    }
    return rating;
}

}  // namespace q
