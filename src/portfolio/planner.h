// The return planner ("Rendite"): the open holdings beside the realised results of
// the sold lots and the capital put into the depot, the returns on several bases,
// and the targets a wished return gives; each target can be turned back into the
// wished return that reaches it. Pure functions; `Depot.ini` keeps the capital and
// the wished return per depot.
//
// Inputs, all in the home currency: A invested sum and V value of the open
// holdings, B purchase sum and P proceeds of the sold lots of the period, K the
// capital, f the display factor (the second currency's rate, else 1), w the wished
// return in percent. Outputs are home amounts; the caller multiplies by f to show.
//
// Cash M = K − A + (P − B); T = K × (1 + w ÷ 100) the planned depot value and
// H = T − M the value the holdings must reach. A figure whose divisor is 0 has no
// value (nullopt).
#pragma once

#include "base/status.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace q {

inline const QString kDepotIni = QStringLiteral("Depot.ini");

// The slider runs from −100 % to 1000 %.
inline constexpr double kWishMin = -100;
inline constexpr double kWishMax = 1000;

struct PlannerInputs {
    double A = 0, V = 0, B = 0, P = 0, K = 0;
    double f = 1;
    // The capital the depot needs at least: A + B − P.
    double minimumCapital() const { return A + B - P; }
};

// One column of the table: "Anlagen", "Gewinne" or "Gesamt".
struct PlannerColumn {
    double Ankauf = 0;
    double Verkauf = 0;
    double Gewinn = 0;
    std::optional<double> Rendite;
    double Umsatz = 0;
    std::optional<double> URendite;  // "U-Rendite"
};

struct PlannerFigures {
    PlannerColumn Anlagen, Gewinne, Gesamt;
    double Cash = 0;
    double Depotwert = 0;
    std::optional<double> Kapitalrendite;
    double Depotzuwachs = 0;
    double Einsatz = 0;
};

struct PlannerTargets {
    double wish = 0;
    double GeplantesErgebnis = 0;
    double GeplanterGewinn = 0;
    double AnlageWunsch = 0;
    double ANLAGEGEWINN = 0;
    std::optional<double> AnlageProzent;
    double GesamtWunsch = 0;
    double GesamtGEWINN = 0;
    std::optional<double> GesamtProzent;
    double DifferenzVerkauf = 0;
    std::optional<double> DifferenzRendite;
};

PlannerFigures plannerFigures(const PlannerInputs& in);
PlannerTargets plannerTargets(const PlannerInputs& in, double wish);

// The target fields a wished return can be found for, by their label names.
enum class PlannerTarget {
    Wish,
    GeplantesErgebnis,
    GeplanterGewinn,
    AnlageWunsch,
    ANLAGEGEWINN,
    AnlageProzent,
    GesamtWunsch,
    GesamtGEWINN,
    GesamtProzent,
    DifferenzVerkauf,
    DifferenzRendite
};
// The field of a label name ("GeplantesErgebnis", …, "wish"), compared without
// regard to case; nullopt for another name.
std::optional<PlannerTarget> plannerTargetNamed(const QString& name);
QStringList plannerTargetNames();

struct WishFound {
    double wish = 0;
    bool clamped = false;  // the target lies beyond −100 … 1000 %: the wish stops there
};
// The wished return at which `field` takes `value` (a home amount, or a percentage
// for the percent fields). Fails Invalid "Ohne Kapital lässt sich keine Rendite
// berechnen" when K is 0, "Ohne Anlagen lässt sich keine Rendite der Anlagen
// berechnen" when a percent field's divisor is 0, or for a value that is no number.
Result<WishFound> wishFor(const PlannerInputs& in, PlannerTarget field, double value);

// A number as the planner reads its file and its answers: the first comma is the
// decimal point; nullopt for anything else than a finite number.
std::optional<double> readPlannerNumber(const QString& text);

// `Depot.ini` of a depot directory: the capital (nullopt when the file has none or
// it is no number) and the wished return (10 when missing or unreadable). A file
// that does not exist reads as both missing.
struct DepotPlan {
    std::optional<double> capital;
    double wish = 10;
};
DepotPlan readDepotPlan(const QString& depotDir);
// Writes the two lines with decimal comma, Windows-1252 and CRLF, atomically.
Status writeDepotPlan(const QString& depotDir, double capital, double wish);

// The parameter file of the companion depot calculator: A, the holdings' return
// V × 100 ÷ A − 100 (0 when A is 0), then "10000,00", "10,00", "1200", " " and "10".
Status writeCompanionFile(const QString& path, const PlannerInputs& in);

}  // namespace q
