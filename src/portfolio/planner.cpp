#include "portfolio/planner.h"

#include "base/formats.h"
#include "base/text_files.h"

#include <QFile>
#include <cmath>

namespace q {

namespace {

std::optional<double> ratio(double part, double whole) {
    if (whole == 0) return std::nullopt;
    return part * 100.0 / whole;
}

PlannerColumn column(double ankauf, double verkauf) {
    PlannerColumn c;
    c.Ankauf = ankauf;
    c.Verkauf = verkauf;
    c.Gewinn = verkauf - ankauf;
    c.Rendite = ratio(c.Gewinn, ankauf);
    c.Umsatz = verkauf + ankauf;
    c.URendite = ratio(c.Gewinn, c.Umsatz);
    return c;
}

double cashOf(const PlannerInputs& in) { return in.K - in.A + (in.P - in.B); }

const std::pair<PlannerTarget, const char*> kNames[] = {
    {PlannerTarget::Wish, "wish"},
    {PlannerTarget::GeplantesErgebnis, "GeplantesErgebnis"},
    {PlannerTarget::GeplanterGewinn, "GeplanterGewinn"},
    {PlannerTarget::AnlageWunsch, "AnlageWunsch"},
    {PlannerTarget::ANLAGEGEWINN, "ANLAGEGEWINN"},
    {PlannerTarget::AnlageProzent, "AnlageProzent"},
    {PlannerTarget::GesamtWunsch, "GesamtWunsch"},
    {PlannerTarget::GesamtGEWINN, "GesamtGEWINN"},
    {PlannerTarget::GesamtProzent, "GesamtProzent"},
    {PlannerTarget::DifferenzVerkauf, "DifferenzVerkauf"},
    {PlannerTarget::DifferenzRendite, "DifferenzRendite"},
};

}  // namespace

PlannerFigures plannerFigures(const PlannerInputs& in) {
    PlannerFigures f;
    f.Anlagen = column(in.A, in.V);
    f.Gewinne = column(in.B, in.P);
    f.Gesamt = column(in.A + in.B, in.V + in.P);
    f.Cash = cashOf(in);
    f.Depotwert = f.Cash + in.V;
    if (in.K != 0) f.Kapitalrendite = f.Depotwert * 100.0 / in.K - 100.0;
    f.Depotzuwachs = in.V - in.A + in.P - in.B;
    f.Einsatz = in.minimumCapital();
    return f;
}

PlannerTargets plannerTargets(const PlannerInputs& in, double wish) {
    PlannerTargets t;
    const double T = in.K * (1.0 + wish / 100.0);
    const double H = T - cashOf(in);
    t.wish = wish;
    t.GeplantesErgebnis = T;
    t.GeplanterGewinn = T - in.K;
    t.AnlageWunsch = H;
    t.ANLAGEGEWINN = H - in.A;
    t.AnlageProzent = ratio(H - in.A, in.A);
    t.GesamtWunsch = H + in.P;
    t.GesamtGEWINN = H + in.P - (in.A + in.B);
    if (in.A + in.B != 0) t.GesamtProzent = (H + in.P) * 100.0 / (in.A + in.B) - 100.0;
    t.DifferenzVerkauf = H - in.V;
    t.DifferenzRendite = ratio(H - in.V, in.A);
    return t;
}

std::optional<PlannerTarget> plannerTargetNamed(const QString& name) {
    for (const auto& [field, text] : kNames)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) return field;
    return std::nullopt;
}

QStringList plannerTargetNames() {
    QStringList names;
    for (const auto& [field, text] : kNames) names << QString::fromLatin1(text);
    return names;
}

Result<WishFound> wishFor(const PlannerInputs& in, PlannerTarget field, double value) {
    if (!std::isfinite(value)) return Status::invalid(QStringLiteral("Das Ziel ist keine Zahl"));
    double wish = value;
    if (field != PlannerTarget::Wish) {
        if (in.K == 0) return Status::invalid(QStringLiteral("Ohne Kapital lässt sich keine Rendite berechnen"));
        const auto noHoldings = [] { return Status::invalid(QStringLiteral("Ohne Anlagen lässt sich keine Rendite der Anlagen berechnen")); };
        // Each field gives the planned depot value T, or the holdings' value H.
        std::optional<double> T, H;
        switch (field) {
        case PlannerTarget::Wish: break;
        case PlannerTarget::GeplantesErgebnis: T = value; break;
        case PlannerTarget::GeplanterGewinn: T = value + in.K; break;
        case PlannerTarget::AnlageWunsch: H = value; break;
        case PlannerTarget::ANLAGEGEWINN: H = value + in.A; break;
        case PlannerTarget::AnlageProzent:
            if (in.A == 0) return noHoldings();
            H = in.A * (1.0 + value / 100.0);
            break;
        case PlannerTarget::GesamtWunsch: H = value - in.P; break;
        case PlannerTarget::GesamtGEWINN: H = value + in.A + in.B - in.P; break;
        case PlannerTarget::GesamtProzent:
            if (in.A + in.B == 0) return noHoldings();
            H = (in.A + in.B) * (1.0 + value / 100.0) - in.P;
            break;
        case PlannerTarget::DifferenzVerkauf: H = in.V + value; break;
        case PlannerTarget::DifferenzRendite:
            if (in.A == 0) return noHoldings();
            H = in.V + value * in.A / 100.0;
            break;
        }
        if (H) T = *H + cashOf(in);
        wish = (*T / in.K - 1.0) * 100.0;
    }
    WishFound found{wish, false};
    if (wish < kWishMin || wish > kWishMax) {
        found.wish = std::clamp(wish, kWishMin, kWishMax);
        found.clamped = true;
    }
    return found;
}

std::optional<double> readPlannerNumber(const QString& input) {
    QString text = input.trimmed();
    const int comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0) text[comma] = QLatin1Char('.');
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

DepotPlan readDepotPlan(const QString& depotDir) {
    DepotPlan plan;
    const QString path = findFile(depotDir, kDepotIni);
    if (path.isEmpty()) return plan;
    auto lines = readTextLines(path);
    if (!lines) return plan;
    plan.capital = readPlannerNumber(lines->value(0));
    if (auto w = readPlannerNumber(lines->value(1))) plan.wish = *w;
    return plan;
}

Status writeDepotPlan(const QString& depotDir, double capital, double wish) {
    return writeTextLines(filePath(depotDir, kDepotIni), {formatGeneral(capital), formatGeneral(wish)});
}

Status writeCompanionFile(const QString& path, const PlannerInputs& in) {
    const double holdingsReturn = in.A == 0 ? 0.0 : in.V * 100.0 / in.A - 100.0;
    return writeTextLines(path, {formatGeneral(in.A), formatGeneral(holdingsReturn), QStringLiteral("10000,00"), QStringLiteral("10,00"),
                                 QStringLiteral("1200"), QStringLiteral(" "), QStringLiteral("10")});
}

}  // namespace q
