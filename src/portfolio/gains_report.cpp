#include "portfolio/gains_report.h"

#include "base/formats.h"
#include "portfolio/holdings_report.h"

namespace q {

namespace {

using report::Paragraph;
using report::Style;

using namespace report_style;

class Writer {
public:
    Writer(const Gains& g, const GainsReportOptions& o) : m_g(g), m_o(o) {
        m_doc = portfolioReport(QStringLiteral("Übersicht der realisierten Gewinne ") + formatDate(o.today),
                                {700, 1650, 2800, 4100, 5050, 6200, 7500, 8700, 9450, 10000});
    }

    report::Document write() {
        if (m_g.empty()) return m_doc;
        header();
        for (const SoldSecurity& s : m_g.securities) security(s);
        totals();
        return m_doc;
    }

private:
    QString money(double x, int precision, const QString& symbol) const {
        return reportMoney(x, precision, m_o.decimals, symbol);
    }
    QString money(double x, int precision) const { return money(x, precision, m_g.symbol); }
    Paragraph& line() { return m_doc.paragraph(); }
    void blank() { m_doc.paragraph(); }

    void days(Paragraph& p, int size, const SoldLot& l) {
        p.add(QStringLiteral("%1 Tage").arg(l.held), coloured(size, l.taxable ? kDarkRed : kGreen));
    }

    void header() {
        reportHeader(m_doc, {QStringLiteral("Anteile"), QStringLiteral("Ankauf"), QStringLiteral("Kurs"), QStringLiteral("Summe"),
                             QStringLiteral("Verkauf"), QStringLiteral("Kurs"), QStringLiteral("Summe"), QStringLiteral("Gewinn"),
                             QStringLiteral("Prozent ")},
                     m_o.today);
    }

    void security(const SoldSecurity& s) {
        Paragraph& head = line();
        head.heading = true;
        if (s.found) {
            head.add(s.name, Style{20, true, true, kBlue});
            head.tab().add(QStringLiteral(" (%1)").arg(s.kennung), bold(20, kBlue));
        } else {
            head.add(s.name.isEmpty() ? QStringLiteral("Wertpapiername gelöscht!!") : s.name, bold(20, kBlue));
        }
        if (m_o.details)
            for (const SoldLot& l : s.lots) lotLines(s, l);
        if (isZeroShares(s.sums.shares) || s.sums.shares < 0) return;
        subtotal(s);
    }

    // One lot line: shares, purchase date, buy price and sum, sale date, sale price
    // and sum, gain, percentage, days.
    void lotLine(const SoldLot& l, int size, double buy, double sale, bool loss, const QString& symbol, int precisionBuy) {
        const double shares = l.lot.Anteile;
        const double pct = percentOf(sale - buy, buy);
        Paragraph& p = line();
        p.add(formatSignificant(shares, 6, 2), plain(size)).tab().add(formatDate(l.lot.Datum), plain(size));
        p.tab().add(money(buy, precisionBuy, symbol), plain(size)).tab().add(money(buy * shares, precisionBuy, symbol), plain(size));
        p.tab().add(formatDate(l.lot.Verkauf), plain(size)).tab().add(money(sale, 8, symbol), plain(size));
        p.tab().add(money(sale * shares, 8, symbol), plain(size));
        p.tab().add(money((sale - buy) * shares, 8, symbol), coloured(size, loss ? kRed : 0));
        p.tab().add(reportPercent(pct) + QLatin1Char('%'), plain(size)).tab();
        days(p, size, l);
    }

    void lotLines(const SoldSecurity& s, const SoldLot& l) {
        const Lot& lot = l.lot;
        if (lot.FirmenName != s.name) {
            QString note = lot.FirmenName;
            if (lot.FirmenName.contains(QStringLiteral("schüttung"))) note += QStringLiteral(" (Wiederanlage ohne Ankaufskosten)");
            line().add(note, plain(15));
        }
        const bool loss = lot.Erloes < l.buy;
        // The lot in the security's own currency, where that is not the one shown (a
        // security without a currency shows its amounts without a symbol).
        if (s.waehrung != m_g.symbol) lotLine(l, 13, l.buy, lot.Erloes, loss, s.waehrung, 10);
        if (s.lots.size() > 1 && l.sharesSoFar > 0) lotLine(l, 15, l.buy * l.fb, lot.Erloes * l.fs, loss, m_g.symbol, 10);
    }

    void subtotal(const SoldSecurity& s) {
        if (s.lots.size() > 1 && m_o.details) blank();
        const Sums& sum = s.sums;
        const double pct = sum.percent();
        Paragraph& p = line();
        p.add(reportShares(sum.shares), plain(16)).tab().add(formatDate(s.firstDate), plain(16));
        p.tab().add(money(sum.invested / sum.shares, 10), plain(16)).tab().add(money(sum.invested, 10), bold(16));
        p.tab().add(formatDate(s.lastSale), plain(16)).tab().add(money(sum.value / sum.shares, 10), plain(16));
        p.tab().add(money(sum.value, 10), bold(16));
        p.tab().add(money(sum.gain(), 8), coloured(16, pct < 0 ? kRed : 0));
        p.tab().add(reportPercent(pct) + QLatin1Char('%'), plain(16)).tab();
        if (s.lots.size() == 1) days(p, 16, s.lots.front());
        blank();
    }

    void sumLine(const Sums& sum, int gainPrecision) {
        const double pct = sum.percent();
        const int k = pct < 0 ? kRed : 0;
        Paragraph& p = line();
        p.add(reportShares(sum.shares), bold(16)).tab().tab().tab().add(money(sum.invested, 10), bold(16));
        p.tab().tab().tab().add(money(sum.value, 10), bold(16));
        p.tab().add(money(sum.gain(), gainPrecision), bold(16, k)).tab().add(reportPercent(pct) + QStringLiteral("% "), bold(16));
    }

    void totals() {
        line().add(QStringLiteral("Summe aller Verkäufe"), bold(20, kBlue));
        sumLine(m_g.total, 10);
        const Sums free = m_g.taxFree();
        if (free.shares > 0 && !isZeroShares(free.shares)) {
            blank();
            line().add(QStringLiteral("Gewinne ausserhalb der Spekulationsfrist (inklusive Kauf-/Verkaufskosten)"), bold(20, kGreen));
            sumLine(free, 8);
        }
        if (m_g.taxable.shares > 0) {
            blank();
            line().add(QStringLiteral("Gewinne für die Spekulationssteuern/Abgeltungssteuer anfallen ") + m_g.estimate(),
                       bold(20, kDarkRed));
            sumLine(m_g.taxable, 8);
        }
    }

    const Gains& m_g;
    const GainsReportOptions& m_o;
    report::Document m_doc;
};

}  // namespace

report::Document gainsReport(const Gains& gains, const GainsReportOptions& options) { return Writer(gains, options).write(); }

GainsTotals gainsTotals(const Gains& g, int decimals) {
    GainsTotals t;
    if (g.empty()) return t;
    const Sums& s = g.total;
    t.shares = reportShares(s.shares);
    t.invested = reportMoney(s.invested, 10, decimals, g.symbol);
    t.proceeds = reportMoney(s.value, 10, decimals, g.symbol);
    t.gain = reportMoney(s.gain(), 8, decimals, g.symbol);
    t.percent = reportPercent(s.percent()) + QLatin1Char('%');
    t.negative = s.percent() < 0;
    return t;
}

}  // namespace q
