// Manual entry of a daily price ("&Eingeben", the form `TEingabeKurs`): one price
// of one security for one day.
#pragma once

#include "store/store.h"

#include <QDate>
#include <optional>

namespace q {

struct ManualEntryResult {
    QString FirmenName;
    std::optional<double> replaced;  // the price the day had before, when overwritten
};

// The price `firma` has on `datum`, if any. NotFound "Wertpapier … nicht gefunden"
// when there is no such security.
Result<std::optional<double>> priceOfDay(Store& store, int firma, const QDate& datum);

// Stores `kurs` as the price of `firma` on `datum` (and nothing else). A day that
// has a price already keeps it and the call fails Invalid with "Für <FirmenName>
// gibt es am <dd.mm.yyyy> schon den Kurs <Kurs>" unless `overwrite` is set, so a
// second price for a day is never dropped unseen. Fails Invalid "Der Kurs muss
// größer als 0 sein" for a price of 0 or less, Invalid "Der Kurs … vom … wird nicht
// gebucht: <reason>" for another value no price may have (priceRefusal()), NotFound for an unknown security,
// or with the store's message. One statement: nothing half-written.
Result<ManualEntryResult> enterPrice(Store& store, int firma, const QDate& datum, double kurs, bool overwrite);

}  // namespace q
