// The movers report of the page "Plus/Minus": the securities of a list that gained
// and lost most over a period, written as `gewinner.rtf` in the work directory.
#pragma once

#include "base/report.h"
#include "overview/list_selection.h"

namespace q {

inline const QString kMoversReport = QStringLiteral("gewinner.rtf");

// The period start of the buttons "1", "30", "60" and "Tage": today − days, but for
// one day the last business day: today − 3 on a Monday and a Sunday, − 2 on a
// Saturday, else − 1.
QDate moversStart(const QDate& today, int days);

struct MoverEntry {
    int firma = 0;
    QString name;      // FirmenName
    QDate firstDate;
    double firstPrice = 0;
    QDate lastDate;
    double lastPrice = 0;
    double change = 0;  // in per cent: last × 100 ÷ first − 100
    QString currency;   // `Waehrung`; the home symbol when empty
};

struct MoversOptions {
    QDate from;              // the period start
    QDate to;                // the period end; invalid: open
    int count = 10;          // N, `GUVZahl`: 5 … 1,000
    QString homeSymbol = QStringLiteral("EUR");
    int decimals = 2;        // `DezimalStellen`
};

struct MoversResult {
    int up = 0;    // securities with change ≥ 0
    int down = 0;  // with change < 0
    std::vector<MoverEntry> winners;  // best first, at most N, change ≥ 0
    std::vector<MoverEntry> losers;   // worst first, at most N, change < 0
    report::Document report;
};

// The movers of the securities `list`. A security counts when it has prices in the
// period, its first one dated at most 4 days after the start, and a first price
// other than 0 (a change against 0 means nothing). Fails Invalid "Die Zahl der
// Gewinner und Verlierer muss zwischen 5 und 1000 liegen" for N outside that range,
// or with the store's message.
Result<MoversResult> computeMovers(Store& store, const std::vector<SecurityRecord>& list, const MoversOptions& options);

// The report of a result: header, "Gewinner" with the up count and the winners in
// blue, "Verlierer" with the down count and the losers in red; title "Gewinner &
// Verlierer seit dem " + the start date.
report::Document moversReport(const MoversResult& result, const MoversOptions& options);

// The change as the report shows it: "15,00%".
QString moverChangeText(double change);

// computeMovers() and the report written to `gewinner.rtf` in the work directory.
Result<MoversResult> writeMoversReport(Store& store, const std::vector<SecurityRecord>& list, const MoversOptions& options);

}  // namespace q
