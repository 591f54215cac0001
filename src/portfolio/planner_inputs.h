// What the return planner is given: the holdings' invested sum and value at the
// report date, and the purchase sum and proceeds of the lots sold in the period,
// all in the home currency. A year's planner values the holdings on 31 December
// (today while that lies ahead) and takes only that year's sales: a year without a
// sale gives 0, never the sums of all years.
#pragma once

#include "portfolio/gains.h"
#include "portfolio/planner.h"

namespace q {

struct PlannerPeriod {
    GainsPeriod sales;
    QDate stichtag;
    // The year (1900–2099) or, with `year` nullopt, the whole history, as of `today`.
    static PlannerPeriod of(std::optional<int> year, const QDate& today);
};

// A, V, B and P (K and f are left to the caller). Fails with the store's message.
Result<PlannerInputs> plannerInputs(Store& store, CurrencyConverter& converter, const SpeculationRule& rule,
                                    const PlannerPeriod& period, Interaction& ui);

}  // namespace q
