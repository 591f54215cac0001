#include "base/price_bounds.h"

#include "base/clock.h"

#include <cmath>

namespace q {

QString priceRefusal(double kurs, const QDate& datum) { return priceRefusal(kurs, datum, today().addDays(1)); }

QString priceRefusal(double kurs, const QDate& datum, const QDate& latest) {
    if (std::isnan(kurs) || std::isinf(kurs)) return QStringLiteral("keine Zahl");
    if (kurs <= 0) return QStringLiteral("nicht größer als 0");
    if (kurs > kHighestPrice) return QStringLiteral("größer als 1.000.000.000.000");
    // Tomorrow is allowed: a quote service abroad may already date its close so.
    if (datum.isValid() && datum > latest) return QStringLiteral("Datum nach morgen");
    return QString();
}

}  // namespace q
