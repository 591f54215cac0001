// What a reading run did: the counts the user is shown, the protocol lists, and how
// the run ended. Both routes (daily price file and pages) report this way.
#pragma once

#include "acquisition/protocol.h"

#include <QStringList>

namespace q {

struct ReadCounts {
    int lines = 0;          // lines read (date and time lines included)
    int booked = 0;         // prices written (new or replacing the day's price)
    int newSecurities = 0;  // securities taken up
    int unmatched = 0;      // names without a security (listed, but not by the quote-service file)
    int implausible = 0;    // changes outside the bounds, listed
    int skipped = 0;        // lines that are no quote (no price, price 0, no name, too long)
    int already = 0;        // quotes left out because their day has this price (or a newer one) already
    int pagesRead = 0;      // pages: pages and subpages obtained
    int pagesMissing = 0;   // pages: pages and subpages not available
    int news = 0;           // pages: news items stored
};

struct ReadReport {
    QString source;        // the daily price file, or the page table
    ReadCounts counts;
    ProtocolLists protocol;
    QStringList log;       // pages: the masked page text, renamed match texts, news
    QStringList notes;     // what the user should know besides (a file that stayed)
    // OK when the run went through; otherwise why it stopped (Cancelled when the
    // user stopped it). What was booked before stays booked.
    Status status;
    bool fileDeleted = false;  // daily route: the file was read through and removed
};

}  // namespace q
