// Capture: the daily price file written from the daily pages, as the receiver's
// daily script does it (each page of TVAktiv.DB fetched, cut with its mask, its lines
// appended to `VTDatei`). The daily route then reads that file.
#pragma once

#include "acquisition/page_source.h"
#include "acquisition/reading_settings.h"
#include "base/interaction.h"
#include "store/store.h"

namespace q {

struct CaptureReport {
    QString file;          // the daily price file written
    int pages = 0;         // pages and subpages found
    int pagesMissing = 0;  // pages and subpages not in the stream
    int lines = 0;         // lines appended
};

// The subpages a daily page stands for, as the script's "FIRST=" and "LAST=" count
// them from 1: the source's subpage indexes from SeitenVon − 1 to Seitenbis − 1.
std::pair<int, int> capturedSubpages(int seitenVon, int seitenbis);

// Fetches every subpage of every daily page from `source`, masks it with its mask
// file (a tab between fields) and appends all lines to `VTDatei` in one step
// (Windows-1252, CRLF). A source failure (a station not in the stream) stops the
// capture before anything is written. Fails NotFound "Keine der Tagesseiten wurde
// gefunden" when no page was found, Invalid when `VTDatei` is not set or no daily
// page is configured ("Es sind keine Tagesseiten eingestellt"), Io when the file
// cannot be written.
Result<CaptureReport> captureDailyPages(Store& store, const ReadingSettings& settings, PageSource& source, Progress& progress);

}  // namespace q
