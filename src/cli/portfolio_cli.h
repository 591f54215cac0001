// What the portfolio subcommands share: reading a security, numbers and dates from
// the arguments, and describing lots in German text and JSON. The subcommands are
// listed in three groups: bookings, currencies, and the depot's reports.
#pragma once

#include "cli/commands.h"
#include "portfolio/currency.h"
#include "portfolio/lot.h"

namespace q::cli {

std::vector<Command> bookingCommands();
std::vector<Command> currencyCommands();
std::vector<Command> depotReportCommands();
std::vector<Command> limitCommands();
std::vector<Command> plannerCommands();
std::vector<Command> depotCommands();

// The security the text names: its number or its exact name.
Result<int> securityArg(Context& c, const QString& text);
// An option's number; Invalid "<option> fehlt" when it is absent.
Result<double> requiredNumber(const Args& args, const QString& option);
// An option's date; `fallback` when it is absent (Invalid "<option> fehlt" when
// `fallback` is invalid).
Result<QDate> dateArg(const Args& args, const QString& option, const QDate& fallback);
// The price per share of --price P or --total T (÷ shares); exactly one of them.
Result<double> priceArg(const Args& args, double shares);

// The portfolio settings with the second currency's factor refreshed, and the
// converter over them. Fails with the store's message.
Result<CurrencyConverter> refreshedConverter(Context& c, PortfolioSettings& settings);

QJsonObject lotJson(const Lot& lot);
// A figure that may have no value (a divisor of 0, no solution): null then.
QJsonValue numberOrNull(const std::optional<double>& value);
// "Posten 3: 10 Anteile Alpha AG, gekauft am 03.06.2024 zu 50,80121053[, verkauft am …]"
QString lotLine(const Lot& lot);
// A German number in the general format ("50,80121053").
QString number(double value);

}  // namespace q::cli
