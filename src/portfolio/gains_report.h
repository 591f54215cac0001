// The sold-lots report "gewinn.rtf": the realised gains written as the report the
// user knows, the twin of the holdings report (same header, colours, money format
// and taxable colouring): one block per security (security line, lot lines,
// subtotal), the total of all sales, the tax-free and the taxable section with the
// tax estimate.
#pragma once

#include "base/report.h"
#include "portfolio/gains.h"

namespace q {

inline const QString kGainsReport = QStringLiteral("gewinn.rtf");
// What the view shows when nothing was sold.
inline const QString kNoGains = QStringLiteral("noch keine Gewinne realisiert");

struct GainsReportOptions {
    bool details = false;  // "Details": the lot lines
    int decimals = 2;      // `DezimalStellen`
    QDate today;           // printed in the header
};

// The report of `gains`; no sold lot gives an empty document.
report::Document gainsReport(const Gains& gains, const GainsReportOptions& options);

// The texts of the total labels under the report: shares, invested sum, proceeds,
// gain, percentage (with "%").
struct GainsTotals {
    QString shares, invested, proceeds, gain, percent;
    bool negative = false;  // the percentage is below 0: gain and percentage in red
};
GainsTotals gainsTotals(const Gains& gains, int decimals);

}  // namespace q
