// The intraday sources as the polling loop of the intraday tab and the "/A" job run
// them, with the session's settings and tables.
#pragma once

#include "acquisition/intraday_poller.h"
#include "acquisition/quote_book.h"
#include "acquisition/read_report.h"
#include "app/session.h"
#include "base/interaction.h"

namespace q {

struct PollOptions {
    QString list;             // Internet: an entry of the list selector; empty: all securities
    bool takeUpNew = false;   // "Es werden neue Wertpapiere/Kurse aufgenommen"
    bool favourites = false;  // "F": only securities marked as favourites (Internet)
    QString stream;           // teletext: a transport stream instead of the set source
    bool correction = false;  // teletext, "K": offer to rename changed station names
};

// Archives the day's intraday prices (intradayRollover()) when the newest one in
// Intraday.db predates `today`; true when it did. An empty or missing table is
// left alone. Fails with the roll-over's or the store's message.
Result<bool> archiveStaleIntraday(Session& session, const QDate& today);

// One fetch run from `source`: the teletext pages of DDEAktiv.db (with the day's
// daily prices when `dailyPrices`), the Internet quotes of the list (intraday
// prices and daily prices), or the shared Intraday.db of the network folder (shown
// only). The report's log holds the run's log lines.
ReadReport pollFetch(Session& session, PollSource source, bool dailyPrices, const PollOptions& options, Interaction& ui,
                     ReadingHooks& hooks, Progress& progress);

// The source the intraday tab chose last (`IntradayQuelle`: 0 teletext, 1 Internet,
// 2 network folder); teletext when the value is out of range.
PollSource storedPollSource(const Session& session);
// Sets `IntradayQuelle` in effect and in the settings file. Fails Io naming the file.
Status storePollSource(Session& session, PollSource source);

// "teletext", "internet", "network" (as the command line names them); nullopt otherwise.
std::optional<PollSource> pollSourceNamed(const QString& name);

}  // namespace q
