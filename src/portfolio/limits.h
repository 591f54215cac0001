// Price limits: the upper and lower limit of a security (`Oberes_Limit`,
// `Unteres_Limit` of the securities master, 0 = none), set by hand or from a price,
// and the limit scan ("L") that walks every security with a limit, reports each
// breach and moves the limits along with the price (a trailing stop-loss for the
// lower one).
//
// Design notes.
// 1. From a price: upper := price × (1 + q ÷ 100), lower := price × (1 − p ÷ 100).
//    A price of 0 sets no limit (it would read as "none"): refused. Limits and
//    percentages are never negative.
// 2. The scan examines a security when its newest price is below a set lower limit
//    or above a set upper limit (a breach), or, without a breach, when the stop-loss
//    is on. A breach is asked about unless the answer so far is "Alle"; the answer
//    carries over to the next security, starting as "Weiter". After "Abbrechen"
//    nothing more is shown or changed.
// 3. With the answer "Weiter" or "Alle", and the stop-loss on: a set lower limit
//    rises to price × (1 − p ÷ 100) when that is higher. The stop-loss only rises.
// 4. With "Alle" the breached limits move with the price: a breached upper limit to
//    price × (1 + q ÷ 100); a breached lower limit to price × (1 − p ÷ 100) unless
//    the stop-loss is on (it never falls). A limit that is not breached stays.
// 5. Each security's change is written in a transaction of its own, so a scan that
//    is stopped keeps what it wrote before.
#pragma once

#include "base/interaction.h"
#include "store/store.h"

#include <QDate>
#include <functional>
#include <optional>
#include <vector>

namespace q {

struct Limits {
    double oberes = 0;   // `Oberes_Limit`, 0: none
    double unteres = 0;  // `Unteres_Limit`, 0: none
};

// OK, or Invalid "Ein Limit kann nicht negativ sein: …" / "… Prozentsatz …".
Status checkLimit(double value);
Status checkPercent(double value);

// The limits of `firma`. Fails NotFound for an unknown security.
Result<Limits> readLimits(Store& store, int firma);
// Stores both limits of `firma` (negative ones refused). Fails NotFound for an
// unknown security, or with the store's message.
Status writeLimits(Store& store, int firma, const Limits& limits);
// The limit `price` gives with the percentage (design note 1): Invalid "Aus dem
// Kurs 0 kann kein Limit berechnet werden" for a price that is not above 0.
Result<double> upperFromPrice(double price, double percent);
Result<double> lowerFromPrice(double price, double percent);

enum class LimitAnswer { Weiter, Nein, Alle, Abbrechen };

struct LimitSubject {
    int firma = 0;
    QString name;
    bool aktiv = false;
    double kurs = 0;   // newest price; 0: none
    QDate datum;       // its date
    Limits limits;
};

struct LimitScanOptions {
    bool stopLoss = false;
    double lowerPercent = 5;  // p, `LimitanMinus`
    double upperPercent = 5;  // q, `LimitanPlus`
    // "nur Favoriten" is ticked: "Alle" moves no limit.
    bool onlyFavourites = false;
};

struct LimitFinding {
    LimitSubject subject;
    bool lowerBreached = false;
    bool upperBreached = false;
    bool asked = false;
    LimitAnswer answer = LimitAnswer::Weiter;  // the answer in force for it
    Limits after;                              // the limits it leaves
    bool changed() const { return after.oberes != subject.limits.oberes || after.unteres != subject.limits.unteres; }
};

// Asked for a breach; `finding` holds the security, its price and its limits. The
// breach dialog may edit `finding.after` (its limit fields and buttons) and the
// options (percentages, stop-loss) before it answers; the scan goes on with them.
using LimitQuestion = std::function<LimitAnswer(LimitFinding& finding, LimitScanOptions& options)>;

// The scan over `subjects` in their order (design notes 2–4): one finding for each
// security examined. Pure: nothing is read or written.
std::vector<LimitFinding> scanLimits(const std::vector<LimitSubject>& subjects, LimitScanOptions& options,
                                     const LimitQuestion& ask);

// The securities with a limit, in key order, with their newest prices.
Result<std::vector<LimitSubject>> limitSubjects(Store& store);

struct LimitScanResult {
    std::vector<LimitFinding> findings;
    LimitScanOptions options;  // as the dialog left them (stored back as LimitanPlus, LimitanMinus)
    int written = 0;          // securities whose limits changed
    // Securities whose limits another program changed while the scan ran: theirs stay,
    // this scan's change is not written.
    QStringList changedMeanwhile;
    std::vector<LimitSubject> active;  // every active security with a limit (at most 1000), for the tab list
};

// Reads the subjects, scans them and writes each changed security in a transaction
// of its own (design note 5), in which its limits are read again: limits that are no
// longer the ones scanned (another program, on the server another computer, set
// them meanwhile) are kept and the security listed in `changedMeanwhile`. Fails with
// the store's message; what was written before stays.
Result<LimitScanResult> LimitScan(Store& store, const LimitScanOptions& options, const LimitQuestion& ask);
// "Die Limits von NAME, NAME wurden inzwischen von einem anderen Programm geändert
// und bleiben so": what the user is told of `changedMeanwhile` (not empty), at once.
QString limitsChangedMeanwhile(const QStringList& names);

// The breach dialog's question through the question interface: "Limit erreicht!!"
// with the choices "&Weiter", "Nein", "&Alle", "Abbrechen".
LimitQuestion limitQuestion(Interaction& ui, int decimals);

}  // namespace q
