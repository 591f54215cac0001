// The price text files of "&Neue Kurse": the plain list ("&Textdatei einlesen",
// `WochenArchiv1Click`), the list with identifiers ("Textdatei mit WKN|Name|Kurs",
// `KursemitwknClick`) and the quote-service file ("&Datei von Infobeat(r)
// einlesen", `Einlesen1Click`). Files are Windows-1252, or UTF-8 when valid, with
// any line end.
//
// Design notes. The two tab-separated importers are the daily route with another
// matching: the name on the `ZDF` column whatever the daily station (blanks around
// the name are no part of it), or the identifier on "IWKN". Everything after the
// match (new securities with `Alle`, replacing the day's price, plausibility and
// split offer, volume, protocol lists) is the daily route's bookDailyQuote(). The
// quote-service importer keeps its own rules: the identifier is matched exactly, a
// quote is booked only when it is newer than the security's last price (so a
// rerun books nothing), and no plausibility check is made. None of them deletes the
// file; the caller offers that after a complete run (offerTextFileDeletion()).
#pragma once

#include "acquisition/quote_book.h"
#include "acquisition/quote_line.h"
#include "acquisition/read_report.h"
#include "acquisition/reading_settings.h"
#include "base/interaction.h"

#include <functional>

namespace q {

// A line of a tab-separated price text file longer than this is no quote line.
inline constexpr int kTextLineLength = 255;
// A line of the quote-service file is read up to this many characters.
inline constexpr int kInfobeatLineLength = 1023;

enum class TextLayout {
    Names,        // name, price, optional date, optional volume
    Identifiers,  // name, identifier, price, optional date, optional volume
};

// Books the tab-separated file `file` as described above and writes the protocol
// files into the work directory. Fails (in the report's status) NotFound or Io
// naming the file, with the store's message, or Cancelled when progress asked to
// stop; what was booked before stays booked.
ReadReport importPriceText(Store& store, const QString& file, TextLayout layout, const ReadingSettings& settings, ReadingHooks& hooks,
                           Progress& progress);

// Books the quote-service file: identifier, price, date as month/day/year
// ("12/31/03"; two-digit years are 1990 to 2089), fields separated by ",", double
// quotes around fields removed. A date after today is today; a price that does not
// convert or is 0 is skipped; a quote no newer than the security's last price is
// left out (counted as already there). An unknown identifier becomes a security
// named by it when `Alle` is set, else it is listed as unmatched. Fails as
// importPriceText().
ReadReport importInfobeat(Store& store, const QString& file, const ReadingSettings& settings, ReadingHooks& hooks, Progress& progress);

// The date field of the quote-service file, "m/d/yy" or "m/d/yyyy"; nullopt when it
// is no date.
std::optional<QDate> infobeatDate(const QString& field);

// Where a line stands in its file, for progress: its index, and the bytes read so
// far of the file's size.
struct TextPlace {
    qint64 line = 0;
    qint64 done = 0;
    qint64 total = 0;
    // Only every kStepLines-th line is named in the progress.
    bool stepDue() const { return line % kStepLines == 0; }
};

// The frame every text file run shares: reads `file` line by line (LineReader:
// constant memory, no pipes or devices), opens `book` and groups its writes in
// batches of kLinesPerBatch lines. For each batch it first calls `prepare` (when
// given) with the batch's lines, so that the run can look up what they need at
// once (QuoteBook::prefetch()), then `line` with each line that is not blank, until
// one fails or progress asks to stop (Cancelled "Einlesen abgebrochen"); it counts
// those lines and writes the protocol files into `workDir` at the end. The
// report's status tells how the run ended: what was booked before a stop stays
// booked, a failed batch is rolled back.
using TextLineStep = std::function<Status(const QString& line, const TextPlace& place, ReadReport& report)>;
using TextBatchStep = std::function<Status(const std::vector<QString>& lines)>;
inline constexpr int kLinesPerBatch = 50000;
ReadReport runTextFile(const QString& file, QuoteBook& book, const QString& workDir, Progress& progress, const TextLineStep& line,
                       const TextBatchStep& prepare = {});

// How the daily route and the two tab-separated importers read their lines.
struct QuoteFileRules {
    int longestLine = 0;       // a longer line is no quote line (skipped); 0: any length
    bool identifiers = false;  // the Identifiers layout, matched by `Kennung`; else names on the book's station column
    NameBlanks blanks = NameBlanks::Chop;  // a price text file keeps the name's trailing blanks
};

// Books the quote lines of `file` with `book` as the daily route does (date lines,
// the quote date, bookDailyQuote() with `Alle`), in batches of runTextFile(). Fails
// as runTextFile().
ReadReport bookQuoteFile(QuoteBook& book, const QString& file, const QuoteFileRules& rules, const ReadingSettings& settings,
                         Progress& progress);

// True when the run recognised at least one quote line (booked, listed or already
// there): the command-line jobs fail when a file held none.
bool readAnyQuote(const ReadReport& report);

// After a complete run (status OK), asks "Soll die Textdatei gelöscht werden?"
// with the file name and deletes the file on Yes. Returns whether it was deleted;
// fails Io naming the file when it cannot be deleted.
Result<bool> offerTextFileDeletion(const ReadReport& report, Interaction& ui);

}  // namespace q
