// The price history of one security written to a file ("&Export Einzelkurs"): a
// dBase table, a text file or a CSV file of its daily prices and volumes. Nothing in
// the tables changes.
#pragma once

#include "store/day_values.h"
#include "store/store.h"

#include <QDate>
#include <optional>
#include <vector>

namespace q {

// The file type of setting `ExportTyp`. Stored: never renumber.
enum class ExportTyp { DBase = 1, Text = 2, Csv = 3 };

// The type named "csv", "text" (or "txt") or "dbf"; nullopt for anything else.
std::optional<ExportTyp> exportTypNamed(const QString& name);

// The file name the export writes: `chosen` with ".csv", ".txt" or ".dbf" appended
// unless it ends in that extension already, in any letter case ("X.CSV" stays).
QString exportFileName(const QString& chosen, ExportTyp typ);

struct ExportRow {
    int Datum = 0;  // day number
    double Kurs = 0;
    std::optional<qint64> Volumen;  // empty: no row in Volumen.db that day
};

// The daily prices of `firma` from `from` to `to` (invalid: open), in date order,
// each with the volume of the same day when there is one (`withVolumes` false: no
// volume is looked up). Fails with the store's message.
Result<std::vector<ExportRow>> securityPriceRows(Store& store, int firma, const QDate& from, const QDate& to, bool withVolumes = true);

// The same for one security after another, through statements prepared once (an
// export of every security). Used on one thread while the store stays open.
class PriceRowReader {
public:
    // Fails with the store's message.
    static Result<PriceRowReader> open(Store& store, bool withVolumes);
    // Fills `rows` (emptied first) as securityPriceRows() returns them.
    Status read(int firma, const QDate& from, const QDate& to, std::vector<ExportRow>& rows);

private:
    PriceRowReader() = default;
    std::optional<DayValues> m_prices;
    std::optional<DayValues> m_volumes;  // none: no volumes asked, or no Volumen.db
    std::vector<DayValue> m_dayVolumes;
};

// The day of the first price of `firma`, the preset of "Beginn des Kursexports";
// nullopt when it has none.
Result<std::optional<QDate>> firstPriceDay(Store& store, int firma);

struct SecurityExportOptions {
    ExportTyp typ = ExportTyp::Csv;
    QDate from;  // invalid: from the first price
    QDate to;    // invalid: to the last price
    QChar separator = QLatin1Char(';');  // text files only; CSV always writes ";"
    int decimals = 2;                    // `DezimalStellen`
};

struct SecurityExportReport {
    QString file;     // the file written (exportFileName())
    qint64 rows = 0;  // prices written
};

// Writes the prices of `firma` to exportFileName(chosen): CSV a header line
// "Datum";"Kurs";"Volumen" and one line per day, every field quoted, a missing volume
// as 0; text one line per day of date, price and, when the day has one, volume; dBase
// the fields of priceTableFields(). Text is Windows-1252 with CR LF, prices with the
// decimal comma. The file replaces the target only when complete. Fails NotFound
// "Wertpapier … nicht gefunden", Io naming the directory or the file (with the lines
// written), or with the store's message.
Result<SecurityExportReport> exportSecurity(Store& store, int firma, const QString& chosen, const SecurityExportOptions& options);

}  // namespace q
