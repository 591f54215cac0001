// The daily prices of all securities for a date range in one text file: "E&xport
// Kurse -> Text" (`Auslagern1Click`: a date line, then name TAB price) and "Export in
// erweiterte Textdatei" (`AuslagernWKNClick`: a date line, then name TAB identifier
// TAB price TAB volume), and the unattended export job of the "/E" switch.
#pragma once

#include "base/interaction.h"
#include "store/store.h"

#include <QDate>

namespace q {

struct PriceTextOptions {
    QDate from, to;         // both days included
    bool extended = false;  // "Export in erweiterte Textdatei"
    int decimals = 2;       // `DezimalStellen`
};

struct PriceTextReport {
    QString file;
    qint64 securities = 0;  // securities with at least one price written
    qint64 prices = 0;
    qint64 lines = 0;
    qint64 replaced = 0;    // characters outside Windows-1252 written as "?"
};

// The file name of the start date: "ddmmyyyy.txt" (02.01.2026 gives 02012026.txt).
QString priceTextFileName(const QDate& from);

// Writes the prices from `from` to `to`, group by group and within a group in the
// order of the securities master (a security without a group is in group 0). The
// plain layout takes the groups 0 to 100 and names a security by its `ZDF` match
// text, or `FirmenName` when that is empty; the extended one takes every group there
// is and writes `FirmenName`, `Kennung` (or the `ZDF` text when empty), the price and
// the volume of the day in Volumen.db (0 when none). Per price a date line
// "dd.mm.yyyy" and the line of the security; prices with the decimal comma;
// Windows-1252 with CR LF. The file replaces the target only when complete. Fails Io
// naming the directory or the file (with the lines written), Cancelled when
// `progress` asks to stop (no file written), or with the store's message.
Result<PriceTextReport> exportPriceText(Store& store, const QString& file, const PriceTextOptions& options, Progress& progress);

// The export job of the "/E" switch: the plain layout from `from` to `today` into
// priceTextFileName(from) in `dir`. Fails as exportPriceText().
Result<PriceTextReport> runPriceTextJob(Store& store, const QDate& from, const QDate& today, const QString& dir, int decimals, Progress& progress);

}  // namespace q
