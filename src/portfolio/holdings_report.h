// The holdings report "anlagen.rtf": the valuation written as the report the user
// knows, one block per security (security line, lot lines, subtotal), the depot
// total, the tax-free and the taxable section with the tax estimate. Amounts in the
// display currency with the currency decimals; percentages with 2 decimals.
#pragma once

#include "base/report.h"
#include "portfolio/valuation.h"

namespace q {

inline const QString kHoldingsReport = QStringLiteral("anlagen.rtf");

struct HoldingsReportOptions {
    bool details = true;     // "Details": the lot lines
    bool dividends = false;  // "Dividendenrendite": the dividend columns
    int decimals = 2;        // `DezimalStellen`
    QString homeSymbol = QStringLiteral("EUR");
    QDate today;             // printed in the header
};

// The report of `valuation`; an empty valuation gives an empty document.
report::Document holdingsReport(const Valuation& valuation, const HoldingsReportOptions& options);

// The texts of the window's total labels and the CLI's summary: shares, invested
// sum, report date, depot value, gain, percentage (with "%"), dividend yield.
struct HoldingsTotals {
    QString shares, invested, date, value, gain, percent, yield;
    bool negative = false;  // the percentage is below 0: gain and percentages in red
};
HoldingsTotals holdingsTotals(const Valuation& valuation, const HoldingsReportOptions& options);

// The styles of both portfolio reports, by the colour numbers of their colour table.
namespace report_style {
inline constexpr int kBlue = 1;
inline constexpr int kRed = 2;
inline constexpr int kGreen = 3;
inline constexpr int kDarkRed = 4;
inline report::Style plain(int size) { return report::Style{size, false, false, 0}; }
inline report::Style bold(int size, int colour = 0) { return report::Style{size, true, false, colour}; }
inline report::Style coloured(int size, int colour) { return report::Style{size, false, false, colour}; }
}  // namespace report_style

// What the holdings and the sold-lots report share: a document with their colour
// table (1 blue, 2 red, 3 green, 4 dark red) and tab stops, and the bold header line
// of column titles ending in today's date, followed by a blank line.
report::Document portfolioReport(const QString& title, std::initializer_list<int> tabs);
void reportHeader(report::Document& doc, const QStringList& titles, const QDate& today);

// Formats of the report: money with `precision` significant digits ("1.234,56 EUR"),
// a percentage ("12,35"), a share count as "%4.1f" with decimal comma.
QString reportMoney(double value, int precision, int decimals, const QString& symbol);
QString reportPercent(double value);
QString reportShares(double value);

}  // namespace q
