// Fetching many http(s) addresses with a few requests at a time, each with a time
// limit and a cap on the answer's size. Runs a local event loop until every
// request has ended, so a window stays responsive while it waits.
#pragma once

#include "base/interaction.h"

#include <QByteArray>
#include <QUrl>
#include <vector>

namespace q {

struct FetchResult {
    int httpStatus = 0;   // 0 when no answer came
    QByteArray body;      // only when the request succeeded
    QString error;        // empty on success; else why (German, for the log)
};

struct FetchLimits {
    int timeoutMs = 10000;             // the whole request, connecting to the last byte
    qint64 maxBytes = 1024 * 1024;     // a longer answer is refused, and read no further
    int parallel = 4;
    int maxRedirects = 5;
};

// Fetches every address and returns the results in the same order. Redirects are
// followed up to the limit (never from https to http). A status of 400 or more, a
// refused connection, a time-out, too many redirects or an answer over the cap is a
// failure with its reason. `progress` is stepped per finished request; when it
// asks to stop, the open requests are aborted and the rest reads "abgebrochen".
// Requires a QCoreApplication.
std::vector<FetchResult> fetchAll(const std::vector<QUrl>& urls, const FetchLimits& limits, Progress& progress);

}  // namespace q
