// Two measures investors compare across programs, from the value history and the
// bookings (home currency):
//
// True time-weighted rate of return (TTWROR). A day's growth factor is
//   (end value − the day's purchases + the day's sale proceeds and dividends)
//   ÷ the previous day's end value;
// a day that starts with an empty depot has factor 1, and a day without a record
// keeps the previous value (prices carry forward). TTWROR = Π factors − 1; its
// annualised form is (1 + TTWROR)^(365 ÷ days) − 1. Cash flows in or out do not
// change it: it measures the holdings, not the money put in.
//
// Internal rate of return (IRR). r solves Σ flowᵢ × (1 + r)^(−daysᵢ ÷ 365) = 0, where
// purchases (and the value held at the period's start) are negative, sales,
// dividends and the closing value positive, daysᵢ counted from the period's start.
// Found by Newton's method with a bisection fallback on −99.99 % … 10⁶ %; where no r
// makes the sum 0 there is none (nullopt), never a guess.
//
// Percentages throughout (8 means 8 %).
#pragma once

#include "portfolio/currency.h"
#include "portfolio/value_history.h"

#include <optional>
#include <vector>

namespace q {

// The day's purchases and its sale proceeds (with dividends), home currency.
struct DayFlow {
    QDate day;
    double purchases = 0;
    double proceeds = 0;
};

struct PerformanceYear {
    int year = 0;
    std::optional<double> ttwror;
    std::optional<double> irr;
};

struct Performance {
    QDate from, to;
    std::optional<double> ttwror;
    std::optional<double> ttwrorAnnualised;
    std::optional<double> irr;  // a year's rate
    std::vector<PerformanceYear> years;
};

// TTWROR over [from, to] of the daily end values (`values`, oldest first, any gaps)
// and the flows (any order). nullopt when the period holds no day with a value.
std::optional<double> ttwror(const std::vector<std::pair<QDate, double>>& values, const std::vector<DayFlow>& flows,
                             const QDate& from, const QDate& to);
// IRR over [from, to]: the value held at the end of the day before `from` as the
// first outflow, the flows of the period, the value at `to` as the last inflow.
std::optional<double> irr(const std::vector<std::pair<QDate, double>>& values, const std::vector<DayFlow>& flows,
                          const QDate& from, const QDate& to);
// The rate r that makes Σ amount × (1 + r)^(−days ÷ 365) zero (r as a fraction).
std::optional<double> solveRate(const std::vector<std::pair<double, double>>& daysAndAmounts);

// The day flows of the depot's lots (purchases at buy price, special lots without
// cost; sales and dividends at `Erloes`), converted with the day's factor.
Result<std::vector<DayFlow>> bookingFlows(Store& store, CurrencyConverter& converter);

// Both measures over [from, to] (invalid: the first or last record) and per calendar
// year, from Anlagen.DB and Transaktionen.db. Fails with the store's message.
Result<Performance> performance(Store& store, CurrencyConverter& converter, const QDate& from, const QDate& to);

}  // namespace q
