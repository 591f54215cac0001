// Where page texts come from: one interface for the routes by which a receiver
// hands over teletext pages (page files, the built-in DVB decoder, a command).
#pragma once

#include "base/status.h"

#include <QString>
#include <optional>

namespace q {

struct PageRequest {
    QString station;     // the station identifier, the page name without its last three characters
    QString seitenname;  // the page name as configured ("ZDF200")
    QString page;        // the page number as written ("200")
    int subpage = 0;     // counted from 0 as the page loop runs (written "00", "01", …)
};

class PageSource {
public:
    virtual ~PageSource() = default;
    // The page's text, its lines separated by line ends; nullopt when the page is
    // not available (the run goes on with the next subpage). A failure (a station
    // the source cannot find, a command that cannot be started) stops the run with
    // its message.
    virtual Result<std::optional<QString>> fetch(const PageRequest& request) = 0;
};

// Subpage numbers below 10 with a leading zero: "00", "07", "12".
QString twoDigitSubpage(int subpage);

}  // namespace q
