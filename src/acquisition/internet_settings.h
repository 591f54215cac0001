// How Internet quotes are fetched and read, from the settings subkey `Internet`
// (app/acquisition_binding.h reads them).
#pragma once

#include <QString>

namespace q {

struct InternetSettings {
    // `URL`: the address template for securities whose `Internet` field is a query
    // text (or empty); placeholders [Firma], [Kennung], [ISIN], [Ticker], [Internet].
    QString url;
    // Where the values stand in an answer: "csv:Close" (column name or number, last
    // row), "json:result[0].price" (a path), "text:Kurs ([0-9.,]+)" (a regular
    // expression with one group). Empty: the value is not read (date: today, time:
    // now, volume: 0).
    QString kurs = QStringLiteral("csv:Close");  // `Kurs`
    QString datum;                               // `Datum`
    QString zeit;                                // `Zeit`
    QString volumen;                             // `Volumen`
    QChar dezimalzeichen = QLatin1Char('.');     // `Dezimalzeichen`: "." or ","
    int zeitlimit = 10;                          // `Zeitlimit`: seconds per request
    qint64 maxBytes = 1024 * 1024;               // `MaxBytes`: largest answer read
    int parallel = 4;                            // `Parallel`: requests at a time
};

}  // namespace q
