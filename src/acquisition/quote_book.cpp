#include "acquisition/quote_book.h"

#include "acquisition/protocol.h"
#include "base/formats.h"
#include "store/firma_hooks.h"

namespace q {

namespace {

const QString kFirma = QStringLiteral("Firma");
const QString kDatum = QStringLiteral("Datum");
const QString kKurs = QStringLiteral("Kurs");
const QString kVolumen = QStringLiteral("Volumen");

// The fall below which AutoSplit offers the split dialog, in per cent.
constexpr double kSplitOfferBelow = -50.0;

Status upsert(Table& table, int firma, const QDate& datum, const QString& field, const QVariant& value) {
    const int day = dayNumber(datum);
    auto found = table.findKey({firma, day});
    if (!found) return found.status();
    Record row = found->has_value() ? **found : table.newRecord();
    row.set(kFirma, firma);
    row.set(kDatum, day);
    row.set(field, value);
    if (found->has_value()) return table.update(**found, row);
    auto appended = table.append(row);
    return appended ? Status::ok() : appended.status();
}

}  // namespace

BookingRules bookingRules(const ReadingSettings& s, const QString& stationColumn) {
    BookingRules r;
    r.stationColumn = stationColumn;
    r.bestaetigen = s.bestaetigen;
    r.autoSplit = s.autoSplit;
    r.minusProzent = s.minusProzent;
    r.plusProzent = s.plusProzent;
    r.homeCurrency = s.waehrungsSymbol;
    return r;
}

Status QuoteBook::open() {
    for (auto [file, table] : {std::pair{"Firma.db", &m_firma}, std::pair{"Aktien.db", &m_aktien}, std::pair{"Volumen.db", &m_volumen}}) {
        auto t = m_store.table(QString::fromLatin1(file));
        if (!t) return t.status();
        *table = *t;
    }
    return Status::ok();
}

Result<std::optional<int>> QuoteBook::match(const QString& name) {
    Query q;
    q.order = QStringLiteral("I") + m_rules.stationColumn;
    q.equalNoCase.push_back({m_rules.stationColumn, name});
    auto found = m_firma->first(q);
    if (!found) return found.status();
    if (!found->has_value()) return std::optional<int>();
    return std::optional<int>((*found)->value(kFirma).toInt());
}

Result<std::optional<int>> QuoteBook::takeUp(const QString& name, const QDate& datum, double kurs) {
    Record r = newSecurityRecord(*m_firma, m_waehrung.value_or(m_rules.homeCurrency));
    r.set(QStringLiteral("FirmenName"), name);
    r.set(QStringLiteral("Gruppe"), m_gruppe);
    r.set(QStringLiteral("Aktiv"), true);
    for (const char* column : {"ZDF", "N-TV", "SF1", "Sender4"})
        if (r.has(QLatin1String(column))) r.set(QLatin1String(column), name);
    if (!m_firma->validate(r)) return std::optional<int>();
    auto firma = appendSecurity(*m_firma, r);
    if (!firma) return firma.status();
    Q_TRY(writePrice(*firma, datum, kurs));
    if (m_rules.bestaetigen) {
        m_hooks.reviewNewSecurity(m_store, *firma, QStringLiteral("Neue Aktie Aufgenommen! Bitte überprüfen"));
        // What the user left in the editor is the default for the next new security.
        auto edited = m_firma->findKey({*firma});
        if (!edited) return edited.status();
        if (edited->has_value()) {
            m_gruppe = (*edited)->value(QStringLiteral("Gruppe")).toInt();
            m_waehrung = (*edited)->value(QStringLiteral("Waehrung")).toString();
        }
    }
    return std::optional<int>(*firma);
}

Result<std::optional<LastPrice>> QuoteBook::lastPrice(int firma) {
    Query q = Query::detailOf(firma);
    q.reverse = true;
    auto last = m_aktien->first(q);
    if (!last) return last.status();
    if (!last->has_value()) return std::optional<LastPrice>();
    return std::optional<LastPrice>(LastPrice{dateFromDayNumber((*last)->value(kDatum).toDouble()), (*last)->value(kKurs).toDouble()});
}

Result<bool> QuoteBook::hasPrice(int firma, const QDate& datum) {
    auto found = m_aktien->findKey({firma, dayNumber(datum)});
    if (!found) return found.status();
    return found->has_value();
}

Result<std::optional<double>> QuoteBook::change(int firma, double kurs) {
    auto last = lastPrice(firma);
    if (!last) return last.status();
    if (!last->has_value() || (*last)->kurs == 0.0) return std::optional<double>();
    return std::optional<double>(kurs * 100.0 / (*last)->kurs - 100.0);
}

Result<QuoteBook::Check> QuoteBook::check(int firma, const QString& name, double kurs) {
    auto c = change(firma, kurs);
    if (!c) return c.status();
    Check out{*c, false};
    if (out.change && *out.change < kSplitOfferBelow && m_rules.autoSplit) {
        auto last = lastPrice(firma);
        if (!last) return last.status();
        m_hooks.offerSplit(m_store, firma, QStringLiteral("Aktiensplit ") + name, (*last)->kurs, splitRatio(*out.change));
        auto again = change(firma, kurs);
        if (!again) return again.status();
        out.change = *again;
    }
    out.implausible = out.change && (*out.change >= m_rules.plusProzent || *out.change <= m_rules.minusProzent);
    return out;
}

Status QuoteBook::writePrice(int firma, const QDate& datum, double kurs) { return upsert(*m_aktien, firma, datum, kKurs, kurs); }

Status QuoteBook::writeVolume(int firma, const QDate& datum, qint64 volume) {
    return upsert(*m_volumen, firma, datum, kVolumen, volume);
}

Result<std::optional<int>> bookUnmatched(QuoteBook& book, bool takeUp, const QuoteLine& q, const ProtocolEntry& entry, ReadReport& report) {
    if (takeUp) {
        auto added = book.takeUp(q.name, entry.date, q.price);
        if (!added) return added.status();
        if (added->has_value()) {
            ++report.counts.newSecurities;
            ++report.counts.booked;
            return added;
        }
    }
    report.protocol.unmatched.push_back(entry);
    ++report.counts.unmatched;
    return std::optional<int>();
}

Result<bool> listIfImplausible(QuoteBook& book, int firma, const QuoteLine& q, ProtocolEntry entry, ReadReport& report) {
    auto check = book.check(firma, q.name, q.price);
    if (!check) return check.status();
    if (!check->implausible) return false;
    entry.change = check->change;
    report.protocol.implausible.push_back(entry);
    ++report.counts.implausible;
    return true;
}

}  // namespace q
