// Price limits: setting them by hand or from the newest price, and the limit scan.
#include "cli/portfolio_cli.h"
#include "app/portfolio_binding.h"
#include "base/formats.h"
#include "portfolio/limits.h"
#include "portfolio/prices.h"

#include <QJsonArray>

namespace q::cli {

namespace {

QJsonObject limitsJson(const Limits& l) {
    return QJsonObject{{QStringLiteral("upper"), l.oberes}, {QStringLiteral("lower"), l.unteres}};
}

QString limitsLine(const QString& name, const Limits& l, int decimals) {
    return QStringLiteral("%1: Oberes Limit %2, Unteres Limit %3")
        .arg(name, l.oberes == 0 ? QStringLiteral("keins") : formatAmount(l.oberes, decimals),
             l.unteres == 0 ? QStringLiteral("keins") : formatAmount(l.unteres, decimals));
}

Result<std::optional<double>> percentOption(const Args& args, const QString& option) {
    auto n = args.number(option);
    if (!n) return n.status();
    if (n->has_value()) Q_TRY(checkPercent(**n));
    return *n;
}

Outcome runLimit(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    auto firma = securityArg(c, c.args.positional().value(0));
    if (!firma) return failed(firma.status());
    auto limits = readLimits(s.store, *firma);
    if (!limits) return failed(limits.status());
    Limits l = *limits;
    const int decimals = portfolioSettings(s).decimals;
    auto upperPct = percentOption(c.args, QStringLiteral("--upper-pct"));
    if (!upperPct) return failed(upperPct.status());
    auto lowerPct = percentOption(c.args, QStringLiteral("--lower-pct"));
    if (!lowerPct) return failed(lowerPct.status());
    if (c.args.has(QStringLiteral("--clear"))) l = Limits{};
    for (auto [option, field] : {std::pair{QStringLiteral("--upper"), &l.oberes}, std::pair{QStringLiteral("--lower"), &l.unteres}}) {
        auto v = c.args.number(option);
        if (!v) return failed(v.status());
        if (!v->has_value()) continue;
        if (Status ok = checkLimit(**v); !ok) return failed(ok);
        *field = **v;
    }
    if (upperPct->has_value() || lowerPct->has_value()) {
        auto aktien = s.store.table(QStringLiteral("Aktien.db"));
        if (!aktien) return failed(aktien.status());
        auto newest = priceOnOrBefore(**aktien, *firma, QDate(9999, 12, 31));
        if (!newest) return failed(newest.status());
        const double kurs = newest->has_value() ? (*newest)->kurs : 0.0;
        if (upperPct->has_value()) {
            auto u = upperFromPrice(kurs, **upperPct);
            if (!u) return failed(u.status());
            l.oberes = *u;
        }
        if (lowerPct->has_value()) {
            auto d = lowerFromPrice(kurs, **lowerPct);
            if (!d) return failed(d.status());
            l.unteres = *d;
        }
        out.json[QStringLiteral("price")] = kurs;
    }
    if (l.oberes != limits->oberes || l.unteres != limits->unteres)
        if (Status w = writeLimits(s.store, *firma, l); !w) return failed(w);
    auto info = s.store.table(QStringLiteral("Firma.db"));
    QString name = c.args.positional().value(0);
    if (info) {
        auto r = (*info)->findKey({*firma});
        if (r && r->has_value()) name = (*r)->value(QStringLiteral("FirmenName")).toString();
    }
    out.lines << limitsLine(name, l, decimals);
    out.json[QStringLiteral("firma")] = *firma;
    out.json[QStringLiteral("name")] = name;
    const QJsonObject lj = limitsJson(l);
    for (auto it = lj.begin(); it != lj.end(); ++it) out.json[it.key()] = it.value();
    return out;
}

const char* answerText(LimitAnswer a) {
    switch (a) {
    case LimitAnswer::Weiter: return "ja";
    case LimitAnswer::Nein: return "nein";
    case LimitAnswer::Alle: return "alle";
    case LimitAnswer::Abbrechen: return "abbrechen";
    }
    return "";
}

Outcome runLimitScan(Context& c) {
    Outcome out;
    const QString answerName = c.args.has(QStringLiteral("--answer")) ? c.args.value(QStringLiteral("--answer")).toLower()
                                                                     : QStringLiteral("nein");
    std::optional<LimitAnswer> fixed;
    if (answerName == QLatin1String("ja")) fixed = LimitAnswer::Weiter;
    else if (answerName == QLatin1String("nein")) fixed = LimitAnswer::Nein;
    else if (answerName == QLatin1String("alle")) fixed = LimitAnswer::Alle;
    else if (answerName != QLatin1String("fragen"))
        return failed(Status::invalid(QStringLiteral("--answer erwartet nein, ja, alle oder fragen: %1").arg(answerName)));
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    LimitScanOptions options;
    options.stopLoss = c.args.has(QStringLiteral("--stop-loss"));
    const LimitPercents stored = limitPercents(s.values);
    options.lowerPercent = stored.minus;
    options.upperPercent = stored.plus;
    for (auto [option, field] : {std::pair{QStringLiteral("--lower-pct"), &options.lowerPercent},
                                 std::pair{QStringLiteral("--upper-pct"), &options.upperPercent}}) {
        auto v = percentOption(c.args, option);
        if (!v) return failed(v.status());
        if (v->has_value()) *field = **v;
    }
    const int decimals = portfolioSettings(s).decimals;
    const LimitQuestion asked = limitQuestion(c.ui, decimals);
    const LimitQuestion ask = [&](LimitFinding& f, LimitScanOptions& o) { return fixed ? *fixed : asked(f, o); };
    auto result = LimitScan(s.store, options, ask);
    if (!result) return failed(result.status());

    QJsonArray findings;
    int breaches = 0;
    for (const LimitFinding& f : result->findings) {
        const LimitSubject& sub = f.subject;
        const bool breached = f.lowerBreached || f.upperBreached;
        breaches += breached ? 1 : 0;
        if (breached)
            out.lines << QStringLiteral("%1: Kurs %2 vom %3 %4")
                             .arg(sub.name, formatAmount(sub.kurs, decimals), formatDate(sub.datum),
                                  f.lowerBreached ? QStringLiteral("unter dem unteren Limit %1").arg(formatAmount(sub.limits.unteres, decimals))
                                                  : QStringLiteral("über dem oberen Limit %1").arg(formatAmount(sub.limits.oberes, decimals)));
        if (f.changed()) out.lines << QStringLiteral("  neu: ") + limitsLine(sub.name, f.after, decimals);
        QJsonObject o{{QStringLiteral("firma"), sub.firma},
                      {QStringLiteral("name"), sub.name},
                      {QStringLiteral("price"), sub.kurs},
                      {QStringLiteral("date"), formatDate(sub.datum)},
                      {QStringLiteral("lowerBreached"), f.lowerBreached},
                      {QStringLiteral("upperBreached"), f.upperBreached},
                      {QStringLiteral("answer"), QString::fromLatin1(answerText(f.answer))},
                      {QStringLiteral("before"), limitsJson(sub.limits)},
                      {QStringLiteral("after"), limitsJson(f.after)}};
        findings.append(o);
    }
    if (!result->changedMeanwhile.isEmpty()) c.ui.tell(limitsChangedMeanwhile(result->changedMeanwhile));
    out.lines << QStringLiteral("Limit erreicht: %1, geändert: %2").arg(breaches).arg(result->written);
    out.json[QStringLiteral("findings")] = findings;
    out.json[QStringLiteral("breaches")] = breaches;
    out.json[QStringLiteral("written")] = result->written;
    out.json[QStringLiteral("changedMeanwhile")] = QJsonArray::fromStringList(result->changedMeanwhile);
    return out;
}

}  // namespace

std::vector<Command> limitCommands() {
    return {
        {"limit", "Limits eines Wertpapiers setzen",
         "limit WERTPAPIER [--upper X] [--lower Y] [--upper-pct Q] [--lower-pct P] [--clear]\n"
         "Setzt das obere und untere Limit (0: keins); --upper-pct/--lower-pct berechnen es\n"
         "aus dem neuesten Kurs (Kurs × (1 ± Prozent ÷ 100)). --clear löscht beide.\n"
         "Ohne Optionen: die Limits zeigen.",
         runLimit,
         ArgSpec{{{"--upper", true}, {"--lower", true}, {"--upper-pct", true}, {"--lower-pct", true}, {"--clear", false}}, 1, 1}},
        {"limit-scan", "Limits prüfen (Taste \"L\")",
         "limit-scan [--stop-loss] [--answer nein|ja|alle|fragen] [--lower-pct P] [--upper-pct Q]\n"
         "Zeigt jedes Wertpapier, dessen neuester Kurs ein Limit unter- oder überschreitet.\n"
         "--answer gilt für jede Überschreitung (Vorgabe nein: nur melden; alle: überschrittene\n"
         "Limits mit dem Kurs verschieben; fragen: mit --interactive fragen). --stop-loss zieht\n"
         "das untere Limit mit steigenden Kursen nach (Kurs × (1 − P ÷ 100)); es sinkt nie.",
         runLimitScan,
         ArgSpec{{{"--stop-loss", false}, {"--answer", true}, {"--lower-pct", true}, {"--upper-pct", true}}, 0, 0}},
    };
}

}  // namespace q::cli
