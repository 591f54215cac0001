// The pure half of the Internet source: the address of a security's quote and the
// values picked out of an answer. Nothing is fetched or stored here.
#pragma once

#include "acquisition/internet_settings.h"
#include "base/status.h"

#include <QByteArray>
#include <QDate>
#include <QTime>
#include <QUrl>
#include <optional>

namespace q {

// What the address of a security is made of (its `Firma` record).
struct InternetSecurity {
    int Firma = 0;
    QString FirmenName;
    QString Kennung;
    QString ISIN;
    QString Ticker;
    QString Internet;
};

struct InternetRequest {
    QUrl url;
    QString kursPicker;  // the settings' `Kurs`, or the one after " | " in `Internet`
};

// The request for `s`: the `Internet` field up to " | " when it is an http(s)
// address, else the settings' template with the placeholders replaced (URL-encoded;
// [Internet] is the field's text, or the first of `Kennung`, `ISIN`, `Ticker` when
// it is empty). Fails NotFound "<FirmenName> hat keine Kennung" when the security
// has neither field nor identifiers, Invalid "Nur http- und https-Adressen werden
// abgerufen: …" for another scheme, Invalid "Keine Internet-Adresse eingestellt
// (Einstellung Internet/URL)" when a template is needed and there is none.
Result<InternetRequest> internetRequest(const InternetSecurity& s, const InternetSettings& settings);

struct PickedQuote {
    double kurs = 0;
    std::optional<QDate> datum;
    std::optional<QTime> zeit;
    qint64 volumen = 0;
};

// The values of an answer `body`. Fails Invalid with the reason (for the log):
// "JSON fehlerhaft: …", "Spalte … fehlt", "kein Treffer für …", "kein Kurs: n/a" …
Result<PickedQuote> pickQuote(const QByteArray& body, const QString& kursPicker, const InternetSettings& settings);

// The text one picker finds in `body`; fails Invalid with the reason.
Result<QString> pickText(const QByteArray& body, const QString& picker);

}  // namespace q
