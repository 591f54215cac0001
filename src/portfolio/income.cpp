#include "portfolio/income.h"

#include "base/formats.h"
#include "portfolio/bookings.h"

#include <cmath>

namespace q {

namespace {

Status ensurePaymentSecurity(Store& store) {
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto found = (*firma)->findKey({kPaymentFirma});
    if (!found) return found.status();
    if (found->has_value()) return Status::ok();
    Record r = (*firma)->newRecord();
    r.set(QStringLiteral("Firma"), kPaymentFirma);
    r.set(QStringLiteral("FirmenName"), QStringLiteral("Zahlungen"));
    r.set(QStringLiteral("Aktiv"), false);
    for (const char* f : {"Gruppe", "Branche", "Merkmal"})
        if (r.has(QString::fromLatin1(f))) r.set(QString::fromLatin1(f), 0);
    auto added = (*firma)->append(r);
    return added ? Status::ok() : added.status();
}

}  // namespace

Result<Lot> bookDividend(Store& store, const Dividend& d) {
    Q_TRY(checkShares(d.anteile));
    Q_TRY(checkDate(d.datum));
    if (!d.proAnteil && !d.betrag)
        return Status::invalid(QStringLiteral("Geben Sie die Dividende je Anteil oder den Betrag an"));
    auto name = securityName(store, d.firma);
    if (!name) return name.status();
    Lot lot;
    lot.Firma = d.firma;
    lot.Anteile = d.anteile;
    lot.Datum = d.datum;
    lot.Verkauf = d.datum;
    lot.Ankauf = 0;
    // A dividend entered as a total only is spread over the shares, not booked as 0.
    lot.Erloes = d.proAnteil ? *d.proAnteil : *d.betrag / d.anteile;
    lot.FirmenName = d.text.isEmpty() ? QStringLiteral("Dividende ") + *name : d.text;
    return appendLot(store, lot);
}

Result<Lot> bookReinvestment(Store& store, const Reinvestment& r) {
    if (!(r.betrag > 0)) return Status::invalid(QStringLiteral("Der Betrag muss größer als 0 sein: %1").arg(formatGeneral(r.betrag)));
    if (!(r.preis > 0)) return Status::invalid(QStringLiteral("Der Preis pro Stück muss größer als 0 sein: %1").arg(formatGeneral(r.preis)));
    Q_TRY(checkDate(r.datum));
    auto name = securityName(store, r.firma);
    if (!name) return name.status();
    Lot lot;
    lot.Firma = r.firma;
    lot.Anteile = r.betrag / r.preis;
    lot.Datum = r.datum;
    lot.Ankauf = r.preis;
    lot.FirmenName = r.text.isEmpty() ? QStringLiteral("Ausschüttung ") + *name : r.text;
    return appendLot(store, lot);
}

Result<Lot> bookPayment(Store& store, double betrag, const QDate& datum, const QString& text) {
    if (betrag == 0.0 || !std::isfinite(betrag))
        return Status::invalid(QStringLiteral("Der Betrag darf nicht 0 sein"));
    Q_TRY(checkDate(datum));
    Q_TRY(ensurePaymentSecurity(store));
    // One share: the amount is the payment, whatever a dialog showed as shares.
    Lot lot;
    lot.Firma = kPaymentFirma;
    lot.Anteile = 1;
    lot.Datum = datum;
    lot.Verkauf = datum;
    lot.Ankauf = 0;
    lot.Erloes = betrag;
    lot.FirmenName = text.isEmpty() ? QStringLiteral("Zahlung") : text;
    return appendLot(store, lot);
}

}  // namespace q
