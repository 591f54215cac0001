// The rating run `ANALYSEBERECHNUNG`: every listed security filled and rated in turn
// (its prices read in one pass), and then either the recommendation report
// "Empfehl.rtf" with its buy and caution lists and the list tables `Gewinner.db` and
// `Verlierer.db`, or the analysis table `Analyse.db` with one record per security.
#pragma once

#include "analysis/security_analysis.h"
#include "base/interaction.h"
#include "base/report.h"
#include "overview/list_selection.h"
#include "overview/top_slots.h"

namespace q {

inline const QString kRecommendationReport = QStringLiteral("Empfehl.rtf");

struct RatingRunOptions {
    bool analysisTable = false;     // write Analyse.db instead of the report
    ListSelection list;             // the securities of the current list
    QDate today;
    QString homeSymbol = QStringLiteral("EUR");  // money of a security without `Waehrung`
    int decimals = 2;               // `DezimalStellen`
};

// An entry of the buy or caution list.
struct RatingEntry {
    QString name;      // FirmenName, up to 30 characters
    int firma = 0;
    double price = 0;  // the newest price
    double index = 0;  // the rating index
    QDate priceDate;
    QDate runDate;
    double low = 0;    // window low ("Min.Kurs")
    double high = 0;   // window high ("Max.Kurs")
    double stoch = 0;
    QString currency;  // `Waehrung`, up to 11 characters
};

struct RatingRunResult {
    bool analysisTable = false;  // the mode that ran (report when Analyse.db could not be made)
    int total = 0;               // securities listed
    int rated = 0;               // of them with more than one price
    int buyCount = 0;            // rated with index ≥ Kaufwert
    int sellCount = 0;           // rated with index < Kaufwert
    std::vector<RatingEntry> buys;      // best first, index ≥ Kaufwert, at most BewertTage
    std::vector<RatingEntry> cautions;  // worst first, index < Kaufwert, at most BewertTage
    report::Document report;          // report mode only
    QStringList notes;                // what the user should know (e.g. the mode changed)
};

// The run. Progress: "Berechne i von t" with the security's name as a status text.
// The reference index change is computed once before. A security with one price or
// none is skipped: it is neither counted nor listed. Report mode writes
// "Empfehl.rtf" into the work directory and creates `Gewinner.db` and `Verlierer.db`
// anew with the listed securities; analysis-table mode creates `Analyse.db` anew
// (when that fails, the run becomes a report run, noted) and fills it in one
// transaction at the end, leaving "Empfehl.rtf" as it was. Each security's fill
// makes the writes of the overview's fill (fill_maintenance.h: rows with `Kurs` or
// `Datum` 0 are deleted), in a transaction of its own. A cancel request stops the
// run with Cancelled before the lists, the report or the table are written. Fails
// with the store's message.
Result<RatingRunResult> ANALYSEBERECHNUNG(Store& store, const AnalysisSettings& settings, const RatingRunOptions& options,
                                          Progress& progress);

// The buy and caution lists of `ratings` as the run keeps them: N slots each,
// winners seeded with −100,000 and losers with +100,000, each new entry sinking to
// its place (TopSlots); entries that fail the `Kaufwert` test are left out.
struct RankedLists {
    std::vector<RatingEntry> buys;
    std::vector<RatingEntry> cautions;
};
class ListKeeper {
public:
    ListKeeper(int slots, int kaufwert);
    void add(const RatingEntry& entry);
    RankedLists lists() const;

private:
    TopSlots<RatingEntry> m_winners;  // the best last
    TopSlots<RatingEntry> m_losers;   // the worst last
    int m_kaufwert;
};

// The recommendation report of a run (title "Quintara Wertpapierbewertung vom " +
// the date of the run).
report::Document recommendationReport(const RatingRunResult& run, const RatingRunOptions& options);

}  // namespace q
