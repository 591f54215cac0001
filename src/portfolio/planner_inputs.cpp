#include "portfolio/planner_inputs.h"

namespace q {

PlannerPeriod PlannerPeriod::of(std::optional<int> year, const QDate& today) {
    if (!year) return {GainsPeriod::all(), today};
    const GainsPeriod sales = GainsPeriod::year(*year);
    return {sales, std::min(sales.to, today)};
}

Result<PlannerInputs> plannerInputs(Store& store, CurrencyConverter& converter, const SpeculationRule& rule,
                                    const PlannerPeriod& period, Interaction& ui) {
    auto v = AnlagenBerechnung(store, converter, rule, {period.stichtag, false});
    if (!v) return v.status();
    auto g = Gewinnberechnung(store, converter, rule, {period.sales, false}, ui);
    if (!g) return g.status();
    PlannerInputs in;
    in.A = v->homeTotal.invested;
    in.V = v->homeTotal.value;
    in.B = g->invested();
    in.P = g->proceeds();
    return in;
}

}  // namespace q
