#include "portfolio/limits.h"

#include "base/formats.h"
#include "portfolio/prices.h"
#include "store/database.h"
#include "store/firma_hooks.h"

#include <cmath>

namespace q {

namespace {

const QString kFirma = QStringLiteral("Firma.db");
const QString kUpper = QStringLiteral("Oberes_Limit");
const QString kLower = QStringLiteral("Unteres_Limit");

double numberOf(const QVariant& v) { return v.isNull() ? 0.0 : v.toDouble(); }

Result<Record> securityRecord(Table& firma, int number) {
    auto found = firma.findKey({number});
    if (!found) return found.status();
    if (!*found) return Status::notFound(QStringLiteral("Wertpapier \"%1\" nicht gefunden").arg(number));
    return **found;
}

Status writeLimitsTo(Table& firma, const Record& before, const Limits& limits) {
    Record after = before;
    after.set(kUpper, limits.oberes);
    after.set(kLower, limits.unteres);
    return postSecurity(firma, before, after);
}

bool breachedLower(const LimitSubject& s, const Limits& l) { return l.unteres != 0 && s.kurs < l.unteres; }
bool breachedUpper(const LimitSubject& s, const Limits& l) { return l.oberes != 0 && s.kurs > l.oberes; }

}  // namespace

Status checkLimit(double value) {
    if (!std::isfinite(value) || value < 0)
        return Status::invalid(QStringLiteral("Ein Limit kann nicht negativ sein: %1").arg(formatGeneral(value)));
    return Status::ok();
}

Status checkPercent(double value) {
    if (!std::isfinite(value) || value < 0)
        return Status::invalid(QStringLiteral("Ein Prozentsatz kann nicht negativ sein: %1").arg(formatGeneral(value)));
    return Status::ok();
}

Result<Limits> readLimits(Store& store, int firma) {
    auto table = store.table(kFirma);
    if (!table) return table.status();
    auto r = securityRecord(**table, firma);
    if (!r) return r.status();
    return Limits{numberOf(r->value(kUpper)), numberOf(r->value(kLower))};
}

Status writeLimits(Store& store, int firma, const Limits& limits) {
    Q_TRY(checkLimit(limits.oberes));
    Q_TRY(checkLimit(limits.unteres));
    auto table = store.table(kFirma);
    if (!table) return table.status();
    auto r = securityRecord(**table, firma);
    if (!r) return r.status();
    return writeLimitsTo(**table, *r, limits);
}

static Result<double> fromPrice(double price, double percent, int sign) {
    if (!std::isfinite(price) || price <= 0)
        return Status::invalid(QStringLiteral("Aus dem Kurs %1 kann kein Limit berechnet werden").arg(formatGeneral(price)));
    Q_TRY(checkPercent(percent));
    const double limit = price * (1.0 + sign * percent / 100.0);
    Q_TRY(checkLimit(limit));
    return limit;
}

Result<double> upperFromPrice(double price, double percent) { return fromPrice(price, percent, +1); }
Result<double> lowerFromPrice(double price, double percent) { return fromPrice(price, percent, -1); }

std::vector<LimitFinding> scanLimits(const std::vector<LimitSubject>& subjects, LimitScanOptions& options,
                                     const LimitQuestion& ask) {
    std::vector<LimitFinding> findings;
    LimitAnswer answer = LimitAnswer::Weiter;
    for (const LimitSubject& s : subjects) {
        if (answer == LimitAnswer::Abbrechen) break;
        if (s.kurs <= 0 || (s.limits.oberes == 0 && s.limits.unteres == 0)) continue;
        LimitFinding f;
        f.subject = s;
        f.after = s.limits;
        f.lowerBreached = breachedLower(s, s.limits);
        f.upperBreached = breachedUpper(s, s.limits);
        const bool breached = f.lowerBreached || f.upperBreached;
        if (!breached && !options.stopLoss) continue;
        if (breached && answer != LimitAnswer::Alle) {
            f.asked = true;
            answer = ask(f, options);
        }
        f.answer = answer;
        if (answer == LimitAnswer::Weiter || answer == LimitAnswer::Alle) {
            const double p = options.lowerPercent;
            if (options.stopLoss && f.after.unteres != 0 && p > 0) {
                const double trailed = s.kurs * (1.0 - p / 100.0);
                if (trailed > f.after.unteres) f.after.unteres = trailed;
            }
            if (answer == LimitAnswer::Alle && !options.onlyFavourites) {
                if (f.upperBreached && options.upperPercent > 0) f.after.oberes = s.kurs * (1.0 + options.upperPercent / 100.0);
                if (f.lowerBreached && !options.stopLoss && p > 0) f.after.unteres = s.kurs * (1.0 - p / 100.0);
            }
        } else {
            f.after = s.limits;  // "Nein", "Abbrechen": what the dialog edited is dropped
        }
        findings.push_back(f);
    }
    return findings;
}

Result<std::vector<LimitSubject>> limitSubjects(Store& store) {
    auto firma = store.table(kFirma);
    if (!firma) return firma.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    std::vector<LimitSubject> subjects;
    Q_TRY((*firma)->forEach(Query(), [&](const Record& r) {
        LimitSubject s;
        s.limits = {numberOf(r.value(kUpper)), numberOf(r.value(kLower))};
        if (s.limits.oberes == 0 && s.limits.unteres == 0) return true;
        s.firma = r.value(QStringLiteral("Firma")).toInt();
        s.name = r.value(QStringLiteral("FirmenName")).toString();
        s.aktiv = r.value(QStringLiteral("Aktiv")).toBool();
        subjects.push_back(s);
        return true;
    }));
    // The newest price of every such security in one query.
    QList<int> numbers;
    for (const LimitSubject& s : subjects) numbers << s.firma;
    auto newest = pricesOnOrBefore(**aktien, numbers, QDate(9999, 12, 31));
    if (!newest) return newest.status();
    for (LimitSubject& s : subjects)
        if (auto p = newest->constFind(s.firma); p != newest->cend()) {
            s.kurs = p->kurs;
            s.datum = p->datum;
        }
    return subjects;
}

Result<LimitScanResult> LimitScan(Store& store, const LimitScanOptions& options, const LimitQuestion& ask) {
    auto subjects = limitSubjects(store);
    if (!subjects) return subjects.status();
    LimitScanResult result;
    result.options = options;
    for (const LimitSubject& s : *subjects)
        if (s.aktiv && result.active.size() < 1000) result.active.push_back(s);
    auto table = store.table(kFirma);
    if (!table) return table.status();
    result.findings = scanLimits(*subjects, result.options, ask);
    for (const LimitFinding& f : result.findings) {
        if (!f.changed()) continue;
        Transaction tx((*table)->db());
        Q_TRY(tx.begin());
        auto r = securityRecord(**table, f.subject.firma);
        if (!r) return r.status();
        const Limits now{numberOf(r->value(kUpper)), numberOf(r->value(kLower))};
        if (now.oberes != f.subject.limits.oberes || now.unteres != f.subject.limits.unteres) {
            result.changedMeanwhile << f.subject.name;
            continue;
        }
        Q_TRY(writeLimitsTo(**table, *r, f.after));
        Q_TRY(tx.commit());
        ++result.written;
    }
    return result;
}

QString limitsChangedMeanwhile(const QStringList& names) {
    return QStringLiteral("Die Limits von %1 wurden inzwischen von einem anderen Programm geändert und bleiben so")
        .arg(names.join(QStringLiteral(", ")));
}

LimitQuestion limitQuestion(Interaction& ui, int decimals) {
    return [&ui, decimals](LimitFinding& f, LimitScanOptions&) {
        const LimitSubject& s = f.subject;
        QString text = QStringLiteral("%1\naktueller Kurs: %2 vom %3").arg(s.name, formatAmount(s.kurs, decimals), formatDate(s.datum));
        text += QStringLiteral("\nUnteres Limit: %1%2").arg(formatAmount(s.limits.unteres, decimals),
                                                            f.lowerBreached ? QStringLiteral(" (unterschritten)") : QString());
        text += QStringLiteral("\nOberes Limit: %1%2").arg(formatAmount(s.limits.oberes, decimals),
                                                           f.upperBreached ? QStringLiteral(" (überschritten)") : QString());
        const int c = ui.choose(QStringLiteral("Limit erreicht!!"), text,
                                {QStringLiteral("&Weiter"), QStringLiteral("Nein"), QStringLiteral("&Alle"), QStringLiteral("Abbrechen")},
                                1);
        switch (c) {
        case 0: return LimitAnswer::Weiter;
        case 2: return LimitAnswer::Alle;
        case 3:
        case -1: return LimitAnswer::Abbrechen;
        default: return LimitAnswer::Nein;
        }
    };
}

}  // namespace q
