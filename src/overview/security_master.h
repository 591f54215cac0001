// Creating and deleting securities, the favourite flag, and the securities list
// export `Wertpapierliste.txt`.
#pragma once

#include "base/interaction.h"
#include "store/store.h"

#include <vector>

namespace q {

// The rows that go with a security when it is deleted.
struct SecurityRows {
    qint64 prices = 0;    // Aktien.db
    qint64 volumes = 0;   // Volumen.db
    qint64 bookings = 0;  // Transaktionen.db of the current depot
    SecurityRows& operator+=(const SecurityRows& o) {
        prices += o.prices;
        volumes += o.volumes;
        bookings += o.bookings;
        return *this;
    }
};

// Counts them; a missing table counts 0. Fails with the store's message.
Result<SecurityRows> countSecurityRows(Store& store, int firma);

struct NewSecurity {
    QString FirmenName;
    QString Kennung;
    QString ISIN;
    QString Ticker;
    QString Internet;
    int Gruppe = 0;
};

// Appends the security with the defaults of a new one (favourite, the home currency)
// and returns its number. Fails Invalid "Der Name fehlt", or with the field's
// message (a name longer than 30 characters).
Result<int> addSecurity(Store& store, const NewSecurity& security, const QString& homeCurrency);

// Asks "Wertpapier löschen?" (title "Wertpapier löschen? "), the text naming the
// security and how many prices, volumes and bookings go with it, default No; on Yes
// deletes it with those rows (deleteSecurity) and returns the counts. Cancelled when
// the answer is No. NotFound for an unknown number.
Result<SecurityRows> deleteSecurityAsked(Store& store, int firma, Interaction& ui);

// Sets `Aktiv` (the favourite flag) of the security. NotFound for an unknown number.
Status setFavourite(Store& store, int firma, bool on);

// The security whose `FirmenName` equals `name`, letter case, umlauts and blanks
// around it folded (index "IFirma", the first in its order); nullopt when none.
// Fails with the store's message.
Result<std::optional<int>> findSecurityByName(Store& store, const QString& name);

// Writes `name` into the security's match column `column` ("ZDF", "N-TV", "SF1" or
// "Sender4"), so that a reading on that station finds the security by it. Fails
// NotFound for an unknown number or a column the master lacks, Invalid with the
// field's message when the name does not fit the column.
Status setStationName(Store& store, int firma, const QString& column, const QString& name);

// Writes `path` anew (Windows-1252, CRLF): the header "Wertpapierbezeichnung", "WKN",
// "ISIN", "Ticker" and the four station names, then one line per security with
// `FirmenName`, `Kennung`, `ISIN`, `Ticker`, `ZDF`, `N-TV`, `SF1`, `Sender4`, each
// followed by a tab. `firmen` in the order given; empty: every security by WKN
// (index "IWKN"). Returns the characters written as "?". Fails Io naming the file.
struct ExportCount {
    int securities = 0;
    int unmappable = 0;
};
Result<ExportCount> exportSecurities(Store& store, const std::vector<int>& firmen, const QStringList& stationNames,
                                     const QString& path);

}  // namespace q
