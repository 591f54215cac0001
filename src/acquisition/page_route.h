// The page route (`Kurseladen`): walks the configured pages, gets each page's text
// from the page source, cuts it into lines with the page's mask, and books the
// quotes as intraday prices and, when asked, as the day's daily prices. Pages whose
// description holds "NACHRICHT" are news items for Nachrichten.db.
//
// Design notes. State of a run: the current quote date (starts today) and time
// (starts now), changed by date and time lines of the pages; the protocol lists;
// the group and currency for new securities. Per page record (in table order):
// subpages run from SeitenVon (1 counts as 0) to Seitenbis − 1 (when positive); a
// page not available is passed over. Per masked line: a time line, a date line
// (maybe with a time), or a quote. Per quote: match on the intraday station's
// column (with the "K" correction mode: a changed match text is offered for
// renaming), else take up or list; then the plausibility check; then the daily price
// (when asked) and the intraday price (only for dates up to today; an existing one
// stays). Invariant: a quote outside the bounds is booked nowhere.
#pragma once

#include "acquisition/page_source.h"
#include "acquisition/quote_book.h"
#include "acquisition/read_report.h"
#include "acquisition/reading_settings.h"
#include "base/interaction.h"

namespace q {

struct PageRunOptions {
    QString pageTable;           // TVAktiv.DB (daily) or DDEAktiv.db (intraday)
    bool dailyPrices = false;    // the quote is also the day's daily price
    bool takeUpNew = false;      // "Es werden neue Wertpapiere/Kurse aufgenommen"
    bool correctionMode = false; // "K": offer to rename changed match texts
};

// The subpage range the page loop reads for a page record.
std::pair<int, int> pageLoopSubpages(int seitenVon, int seitenbis);

// The key the correction mode compares: the 4th to 18th characters removed, upper
// case, and the first ".", "+", "&" and the first two blanks taken out.
QString correctionKey(const QString& name);

// Runs the page route once over `options.pageTable`. The field separator is a tab,
// or ";" when `MultiDec` is set. Writes the protocol files and the run's page text
// as "Intraday.txt" in the installation directory (a failure to save it is
// ignored). Fails (in the report's status) with "Konnte Intraday-Datenbank nicht
// anlegen", the page source's message (which stops the run), or the store's.
ReadReport Kurseladen(Store& store, const ReadingSettings& settings, PageSource& source, const PageRunOptions& options,
                      Interaction& ui, ReadingHooks& hooks, Progress& progress);

}  // namespace q
