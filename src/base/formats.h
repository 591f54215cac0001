// German regional formats and the shared value conventions: day-number dates,
// "dd.mm.yyyy" and "hh:nn" texts, decimal comma with thousands point, amounts
// like "12,50 EUR", the price text normalisation and round-half-to-even.
// Every importer, export, report and window formats and parses through here.
#pragma once

#include <cmath>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace q {

// Day numbers count days from 30.12.1899 (day 0); a timestamp is a day number with
// the time of day as fraction. A date field holds a whole day number.
int dayNumber(const QDate& date);
QDate dateFromDayNumber(double dayNumber);
double timestampNumber(const QDateTime& dateTime);
QDateTime dateTimeFromNumber(double number);

// "dd.mm.yyyy"; an invalid date gives an empty text.
QString formatDate(const QDate& date);
// "hh:nn".
QString formatTime(const QTime& time);
// "dd.mm.yyyy hh:nn".
QString formatDateTime(const QDateTime& dateTime);

// Reads "d.m.yyyy", "dd.mm.yyyy" and "dd.mm.yy" (two-digit years: 00-49 are 20xx).
// Returns nullopt for anything else or an impossible day.
std::optional<QDate> parseDate(const QString& text);
// Reads "h:mm" or "hh:mm" (seconds ":ss" allowed).
std::optional<QTime> parseTime(const QString& text);

// A number written with decimal comma or point ("12,5", "12.5", "-3"); no thousands
// separators. Returns nullopt for anything that is not entirely a number.
std::optional<double> parseNumber(const QString& text);

// An amount as formatAmount() shows it ("1.234,56"), typed back by the user: the
// thousands points are dropped, the rest read as parseNumber() does.
std::optional<double> parseAmount(const QString& text);

// The price text normalisation every importer uses: up to two "," become ".";
// a "." followed by more than four characters is dropped as a thousands separator;
// the rest is read as a decimal number. "1.234,56" -> 1234.56, "12,50" -> 12.5.
std::optional<double> parsePriceText(const QString& text);

// Rounds to `decimals` places, ties to even, on the decimal value as written:
// 2.675 -> 2.68 and 2.665 -> 2.66 although neither is exact in binary.
double roundHalfEven(double value, int decimals);
// 10^decimals, exact as std::pow() gives it but without its cost for 0…15.
inline double powerOfTen(int decimals) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    return decimals >= 0 && decimals < 16 ? kPowers[decimals] : std::pow(10.0, decimals);
}

// new x 100 / old - 100; 0 when old is 0.
double percentChange(double newValue, double oldValue);

// "1.234,56" with thousands points, rounded half to even to `decimals` places.
QString formatAmount(double value, int decimals);
// "12,50 EUR" and "-12,50 EUR"; an empty symbol leaves the blank out.
QString formatMoney(double value, int decimals, const QString& symbol);

// The general number format: up to 15 significant digits, decimal comma, no
// thousands points, no trailing zeros ("50,80121053", "78,02", "1200").
QString formatGeneral(double value);

// `value` with `decimals` places, but no more places than `precision` significant
// digits leave (the fixed-point formats of the reports: 1234,5678 with precision 6
// and 2 places is "1234,57"; 12345678,9 with precision 8 is "12345679,00").
// `grouped` adds thousands points.
QString formatSignificant(double value, int precision, int decimals, bool grouped = false);

}  // namespace q
