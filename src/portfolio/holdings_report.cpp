#include "portfolio/holdings_report.h"

#include "base/formats.h"

namespace q {

namespace {

using report::Paragraph;
using report::Style;

using namespace report_style;

// Percentage of a lot line: 0 where the divisor is 0 or nothing changed.
double linePercent(double profit, double base, double last, double buy) {
    return base == 0.0 || last == buy ? 0.0 : profit / base * 100.0;
}

class Writer {
public:
    Writer(const Valuation& v, const HoldingsReportOptions& o) : m_v(v), m_o(o) {
        m_doc = portfolioReport(QStringLiteral("Übersicht der Anlagen am ") + formatDate(o.today),
                                {700, 1650, 2800, 4100, 5050, 6200, 7500, 8700, 9450});
    }

    report::Document write() {
        if (m_v.empty()) return m_doc;
        header();
        for (const SecurityValue& s : m_v.securities) security(s);
        totals();
        return m_doc;
    }

private:
    QString money(double x, int precision = 10, const QString& symbol = QString()) const {
        return reportMoney(x, precision, m_o.decimals, symbol.isNull() ? m_v.symbol : symbol);
    }
    Paragraph& line() { return m_doc.paragraph(); }
    void blank() { m_doc.paragraph(); }

    void days(Paragraph& p, int size, qint64 held, bool taxable) {
        p.add(QStringLiteral("%1 Tage").arg(held), coloured(size, taxable ? kDarkRed : kGreen));
    }
    void dividend(Paragraph& p, int size, double yield, double amount, int k) {
        if (!m_o.dividends) return;
        p.tab().add(QStringLiteral("%1% (%2)").arg(formatSignificant(yield, 5, 2), formatMoney(amount, m_o.decimals, m_o.homeSymbol)),
                    coloured(size, k));
    }

    void header() {
        reportHeader(m_doc, {QStringLiteral("Anteile"), QStringLiteral("Ankauf"), QStringLiteral("Kurs"), QStringLiteral("Anlagesumme"),
                             QStringLiteral("akt.Datum"), QStringLiteral("Kurs"), QStringLiteral("Depotsumme"), QStringLiteral("Gewinn "),
                             QStringLiteral("Prozent ")},
                     m_o.today);
    }

    void security(const SecurityValue& s) {
        Paragraph& head = line();
        head.heading = true;
        head.add(s.name, Style{20, true, true, kBlue});
        head.tab().add(QStringLiteral(" (%1)").arg(s.kennung), bold(20, kBlue));
        if (s.noPrice)
            line().add(QStringLiteral("Kein Kurs bis zum %1: mit 0 bewertet").arg(formatDate(m_v.stichtag)), bold(15, kRed));
        if (m_o.details)
            for (const LotValue& lv : s.lots) lotLines(s, lv);
        if (isZeroShares(s.sums.shares)) return;
        subtotal(s);
    }

    void lotLines(const SecurityValue& s, const LotValue& lv) {
        const Lot& lot = lv.lot;
        const double shares = lot.Anteile;
        if (lot.FirmenName != s.name) {
            QString note = lot.FirmenName;
            if (lot.FirmenName.contains(QStringLiteral("schüttung"))) note += QStringLiteral(" (Wiederanlage ohne Ankaufskosten)");
            line().add(note, plain(15));
        }
        const QString lastDate = formatDate(s.priceDate);
        // The lot in the security's own currency, where that is not the one shown.
        if (s.waehrung != m_v.symbol && !m_v.second && lv.fc != 1.0) {
            const double profit = (s.last - lv.buy) * shares;
            const double pct = linePercent(profit, lv.buy * shares, s.last, lv.buy);
            Paragraph& p = line();
            p.add(reportShares(shares), plain(14)).tab().add(formatDate(lot.Datum), plain(14));
            p.tab().add(money(lv.buy, 10, s.waehrung), plain(14)).tab().add(money(lv.buy * shares, 10, s.waehrung), bold(14));
            p.tab().add(lastDate, plain(14)).tab().add(money(s.last, 10, s.waehrung), plain(14));
            p.tab().add(money(s.last * shares, 10, s.waehrung), bold(14));
            p.tab().add(money(profit, 10, s.waehrung), coloured(14, pct < 0 ? kRed : 0));
            p.tab().add(reportPercent(pct) + QLatin1Char('%'), plain(14)).tab();
            days(p, 14, lv.held, lv.taxable);
            dividend(p, 14, percentOf(s.dividende, lv.buy), shares * s.dividende, pct < 0 ? kRed : 0);
        }
        if (s.lots.size() > 1 && lv.sharesSoFar > 0) {
            const double invested = lv.buy * lv.fp * shares;
            const double profit = (s.last * lv.fc - lv.buy * lv.fp) * shares;
            const double pct = linePercent(profit, invested, s.last * lv.fc, lv.buy * lv.fp);
            Paragraph& p = line();
            p.add(formatSignificant(shares, 15, 2), plain(15)).tab().add(formatDate(lot.Datum), plain(15));
            p.tab().add(money(lv.buy * lv.fp), plain(15)).tab().add(money(invested, 8), plain(15));
            p.tab().add(lastDate, plain(15)).tab().add(money(s.last * lv.fc), plain(15));
            p.tab().add(money(s.last * lv.fc * shares), plain(15));
            p.tab().add(money(profit, 8), coloured(15, (s.last - lv.buy) * shares < 0 ? kRed : 0));
            p.tab().add(reportPercent(pct) + QLatin1Char('%'), plain(15)).tab();
            days(p, 15, lv.held, lv.taxable);
        }
    }

    void subtotal(const SecurityValue& s) {
        if (s.lots.size() > 1 && m_o.details) blank();
        const Sums& sum = s.sums;
        const double pct = sum.percent();
        const int k = pct < 0 ? kRed : 0;
        Paragraph& p = line();
        p.add(reportShares(sum.shares), plain(16)).tab().add(formatDate(s.firstDate), plain(16));
        p.tab().add(money(sum.invested / sum.shares), plain(16)).tab().add(money(sum.invested), bold(16));
        p.tab().add(formatDate(s.priceDate), plain(16)).tab().add(money(sum.value / sum.shares), plain(16));
        p.tab().add(money(sum.value), bold(16));
        p.tab().add(money(sum.gain()), coloured(16, k)).tab().add(reportPercent(pct) + QLatin1Char('%'), plain(16)).tab();
        days(p, 16, s.firstDate.daysTo(m_v.stichtag), s.lastTaxable);
        dividend(p, 16, percentOf(s.dividende, sum.invested / sum.shares), sum.shares * s.dividende, k);
        blank();
    }

    // A total line: shares, invested sum, report date, value, gain and percentage.
    void sumLine(const Sums& sum, bool withDividend) {
        const double pct = sum.percent();
        const int k = pct < 0 ? kRed : 0;
        Paragraph& p = line();
        p.add(reportShares(sum.shares), bold(16)).tab().tab().tab().add(money(sum.invested), bold(16));
        p.tab().add(formatDate(m_v.stichtag), plain(16)).tab().tab().add(money(sum.value), bold(16));
        p.tab().add(money(sum.gain(), 8), bold(16, k)).tab().add(reportPercent(pct) + QLatin1Char('%'), bold(16, k));
        if (withDividend && m_o.dividends)
            p.tab().tab().tab().add(QStringLiteral("%1% (%2)").arg(formatSignificant(percentOf(m_v.dividendSum, sum.invested), 5, 2),
                                                                   formatGeneral(m_v.dividendSum)),
                                    coloured(16, k));
    }

    void totals() {
        line().add(QStringLiteral("Summe aller Wertpapiere (Gewinne inkl.Verkaufskosten)"), bold(20, kBlue));
        sumLine(m_v.total, true);
        const Sums free = m_v.taxFree();
        if (free.lots > 0) {
            blank();
            line().add(QStringLiteral("Gewinne ausserhalb der Spekulationsfrist bzw. ohne Abgeltungssteuer (Gewinne inkl.Verkaufskosten)"),
                       bold(20, kGreen));
            sumLine(free, false);
        }
        if (m_v.taxable.lots > 0) {
            blank();
            line().add(QStringLiteral("Gewinne für die Spekulationssteuern/Abgeltungssteuer anfallen würden ") + m_v.estimate(),
                       bold(20, kDarkRed));
            sumLine(m_v.taxable, false);
        }
    }

    const Valuation& m_v;
    const HoldingsReportOptions& m_o;
    report::Document m_doc;
};

}  // namespace

report::Document portfolioReport(const QString& title, std::initializer_list<int> tabs) {
    report::Document doc;
    doc.title = title;
    doc.colours = {{0, 0, 0}, {0, 0, 255}, {255, 0, 0}, {0, 180, 0}, {150, 0, 0}};
    for (int stop : tabs) doc.tabs.push_back({stop});
    return doc;
}

void reportHeader(report::Document& doc, const QStringList& titles, const QDate& today) {
    Paragraph& p = doc.paragraph();
    const Style b = bold(16);
    for (int i = 0; i < titles.size(); ++i) {
        if (i > 0) p.tab();
        p.add(titles[i], b);
    }
    p.tab().add(formatDate(today), b);
    doc.paragraph();
}

QString reportMoney(double value, int precision, int decimals, const QString& symbol) {
    const QString amount = formatSignificant(value, precision, decimals, true);
    return symbol.isEmpty() ? amount : amount + QLatin1Char(' ') + symbol;
}

QString reportPercent(double value) { return formatSignificant(value, 4, 2); }

QString reportShares(double value) { return formatSignificant(value, 15, 1).rightJustified(4); }

report::Document holdingsReport(const Valuation& valuation, const HoldingsReportOptions& options) {
    return Writer(valuation, options).write();
}

HoldingsTotals holdingsTotals(const Valuation& v, const HoldingsReportOptions& o) {
    HoldingsTotals t;
    if (v.empty()) return t;
    const Sums& s = v.total;
    t.shares = reportShares(s.shares);
    t.invested = reportMoney(s.invested, 10, o.decimals, v.symbol);
    t.date = formatDate(v.stichtag);
    t.value = reportMoney(s.value, 10, o.decimals, v.symbol);
    t.gain = reportMoney(s.gain(), 8, o.decimals, v.symbol);
    t.percent = reportPercent(s.percent()) + QLatin1Char('%');
    if (o.dividends) t.yield = formatSignificant(percentOf(v.dividendSum, s.invested), 6, 2) + QLatin1Char('%');
    t.negative = s.percent() < 0;
    return t;
}

}  // namespace q
