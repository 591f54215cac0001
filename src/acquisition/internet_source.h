// Internet quotes fetched by the program itself: for each security the address its
// `Internet` field (or the settings' template) gives, the answer read by the
// settings' pickers, the quote booked for that security by the daily route's rules.
// The "/I" job, "&Internet-Kurse einlesen" and the intraday tab's Internet source.
//
// Design notes. A run fetches every address first (a few requests at a time, see
// http_fetch.h), then books the answers in the securities' order, one statement per
// write: a failure of one security (no answer, no value) is logged with "Konnte
// Kurswert nicht finden!" and the run goes on. Quotes are booked by `Firma`, never
// by a match text, so a security is priced even when its station names differ.
// Unattended runs offer no split (the caller's hooks decide).
#pragma once

#include "acquisition/internet_answer.h"
#include "acquisition/quote_book.h"
#include "acquisition/read_report.h"
#include "acquisition/reading_settings.h"
#include "base/interaction.h"

namespace q {

// The securities of a run in `Firma` order: those numbered in `firmen` when given;
// else those of the group named `gruppe` (`GruppenName` in Gruppen.db; empty: all);
// with `favouritesOnly` only those marked `Aktiv`. Fails NotFound "Die Gruppe … gibt
// es nicht", or with the store's message.
Result<std::vector<InternetSecurity>> internetSecurities(Store& store, const std::vector<int>& firmen, const QString& gruppe,
                                                         bool favouritesOnly);

struct InternetRunOptions {
    bool intraday = false;  // also an intraday price per quote (the intraday tab)
    bool dryRun = false;    // fetch and read the answers only; nothing is booked
};

struct InternetQuote {
    InternetSecurity security;
    QUrl url;
    int httpStatus = 0;
    QString error;  // why no value was found; empty when it was
    std::optional<PickedQuote> picked;
};

struct InternetReport {
    ReadReport read;                   // counts, protocol lists, status; `log` holds the run's log
    std::vector<InternetQuote> quotes; // one per security that had an address
    QStringList notFound;              // `FirmenName` of each security without a value
};

inline const QString kQuoteNotFound = QStringLiteral("Konnte Kurswert nicht finden!");

// Runs the Internet source over `securities`. The report's status fails only with
// the store's message or Cancelled; a security without a value is logged, counted
// as skipped and named in `notFound`. Writes the protocol files into the work
// directory.
InternetReport internetRun(Store& store, const std::vector<InternetSecurity>& securities, const ReadingSettings& settings,
                           const InternetSettings& internet, const InternetRunOptions& options, ReadingHooks& hooks, Progress& progress);

}  // namespace q
