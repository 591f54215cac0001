// The bounds every price must keep before any route may store it, whatever its
// source: a finite number above 0 and at most kHighestPrice, of a day no later than
// tomorrow. A price outside them would make the valuation and every chart useless
// (a stored Inf zeroes the depot sum), and a far-future day would stay the
// security's newest price for good.
#pragma once

#include <QDate>
#include <QString>

namespace q {

// No security is quoted higher; a larger value is a misread field.
inline constexpr double kHighestPrice = 1e12;

// Why `kurs` of day `datum` cannot be stored ("keine Zahl", "nicht größer als 0",
// "größer als 1.000.000.000.000", "Datum nach morgen"), by the program's today
// (today(), so --today counts); empty when it can.
QString priceRefusal(double kurs, const QDate& datum);
// The same with the latest day allowed given (the day after today, found once per
// run: the clock costs more than the check).
QString priceRefusal(double kurs, const QDate& datum, const QDate& latest);

}  // namespace q
