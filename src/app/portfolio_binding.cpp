#include "app/portfolio_binding.h"

#include "base/formats.h"
#include "portfolio/currencies.h"

namespace q {

namespace {

void setValue(Session& s, const QString& name, const SettingValue& value) {
    s.values.set(name, value);
    s.settings.write(SettingsStore::kMainKey, name, value);
}

double numberOr(const Einstellungen& v, const char* name, double fallback) {
    return v.has(QLatin1String(name)) ? v.number(QLatin1String(name)) : fallback;
}

}  // namespace

RegionalSettings regionalSettings(const Session& s) {
    const Einstellungen& v = s.values;
    RegionalSettings r;
    r.homeSymbol = v.text(QStringLiteral("WaehrungsSymbol"));
    r.secondSymbol = v.has(QStringLiteral("Waehrung")) ? v.text(QStringLiteral("Waehrung")) : QStringLiteral("DM");
    r.wechselkurs = numberOr(v, "Wechselkurs", 1.95583);
    r.decimals = v.integer(QStringLiteral("DezimalStellen"));
    r.rule.tage = v.integer(QStringLiteral("Spekulation"));
    r.rule.tageNeu = v.integer(QStringLiteral("Spekulation_neu"));
    r.rule.ab = dateFromDayNumber(v.dateTime(QStringLiteral("Spekulation_ab")));
    return r;
}

PortfolioSettings portfolioSettings(const Session& s) {
    const Einstellungen& v = s.values;
    PortfolioSettings p;
    p.homeSymbol = v.text(QStringLiteral("WaehrungsSymbol"));
    if (p.homeSymbol.isEmpty()) p.homeSymbol = QStringLiteral("EUR");
    p.secondSymbol = v.text(QStringLiteral("Waehrung"));
    const double rate = s.secondCurrencyFactor ? *s.secondCurrencyFactor : numberOr(v, "Wechselkurs", 1.0);
    p.wechselkurs = rate > 0 ? rate : 1.0;
    p.decimals = v.has(QStringLiteral("DezimalStellen")) ? v.integer(QStringLiteral("DezimalStellen")) : 2;
    p.rule = regionalSettings(s).rule;
    const FeeRates defaults;
    p.fees.bank = numberOr(v, "Bank", defaults.bank);
    p.fees.makler = numberOr(v, "Makler", defaults.makler);
    p.fees.clearing = numberOr(v, "Clearing", defaults.clearing);
    return p;
}

Status storeRegional(Session& s, const RegionalSettings& r) {
    const QString home = r.homeSymbol.trimmed();
    if (home.isEmpty() || home.size() > 5)
        return Status::invalid(QStringLiteral("Ungültige Standard-Währung: \"%1\"").arg(r.homeSymbol));
    if (!(r.wechselkurs > 0))
        return Status::invalid(QStringLiteral("Der Wechselkurs muss größer als 0 sein: %1").arg(formatGeneral(r.wechselkurs)));
    if (r.decimals < 0 || r.decimals > 6)
        return Status::invalid(QStringLiteral("Die Dezimalstellen müssen zwischen 0 und 6 liegen: %1").arg(r.decimals));
    if (r.rule.tage < 0 || r.rule.tageNeu < 0)
        return Status::invalid(QStringLiteral("Die Spekulationsfrist darf nicht negativ sein"));
    if (!r.rule.ab.isValid()) return Status::invalid(QStringLiteral("Ungültiges Datum"));
    const QString oldSecond = s.values.text(QStringLiteral("Waehrung"));
    Q_TRY(writeSecondCurrency(s.store, oldSecond, r.secondSymbol, home, r.wechselkurs));
    setValue(s, QStringLiteral("Spekulation_ab"), SettingValue::dateTime(dayNumber(r.rule.ab)));
    setValue(s, QStringLiteral("Spekulation_neu"), SettingValue::integer(r.rule.tageNeu));
    setValue(s, QStringLiteral("WaehrungsSymbol"), SettingValue::text(home));
    setValue(s, QStringLiteral("Waehrung"), SettingValue::text(r.secondSymbol.trimmed()));
    setValue(s, QStringLiteral("Wechselkurs"), SettingValue::number(r.wechselkurs));
    setValue(s, QStringLiteral("DezimalStellen"), SettingValue::integer(r.decimals));
    setValue(s, QStringLiteral("Spekulation"), SettingValue::integer(r.rule.tage));
    s.secondCurrencyFactor = r.wechselkurs;
    return s.settings.save();
}

Status storeFeeRates(Session& s, const FeeRates& fees) {
    setValue(s, QStringLiteral("Bank"), SettingValue::number(fees.bank));
    setValue(s, QStringLiteral("Makler"), SettingValue::number(fees.makler));
    setValue(s, QStringLiteral("Clearing"), SettingValue::number(fees.clearing));
    return s.settings.save();
}

LimitPercents limitPercents(const Einstellungen& v) {
    LimitPercents p;
    if (v.has(QStringLiteral("LimitanPlus"))) p.plus = v.integer(QStringLiteral("LimitanPlus"));
    if (v.has(QStringLiteral("LimitanMinus"))) p.minus = v.integer(QStringLiteral("LimitanMinus"));
    return p;
}

}  // namespace q
