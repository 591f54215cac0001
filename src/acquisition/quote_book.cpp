#include "acquisition/quote_book.h"

#include "acquisition/protocol.h"
#include "base/clock.h"
#include "base/formats.h"
#include "store/firma_hooks.h"

namespace q {

namespace {

const QString kFirma = QStringLiteral("Firma");
const QString kDatum = QStringLiteral("Datum");
const QString kKurs = QStringLiteral("Kurs");
const QString kVolumen = QStringLiteral("Volumen");

// An entry without a quote time carries the time it was listed.
ProtocolEntry withReadingTime(ProtocolEntry e) {
    if (!e.time.isValid()) e.time = now().time();
    return e;
}

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
    if (auto known = m_matches.constFind(name); known != m_matches.constEnd()) return *known;
    Query q;
    q.order = QStringLiteral("I") + m_rules.stationColumn;
    q.equalNoCase.push_back({m_rules.stationColumn, name});
    auto found = m_firma->first(q);
    if (!found) return found.status();
    const std::optional<int> firma = found->has_value() ? std::optional<int>((*found)->value(kFirma).toInt()) : std::nullopt;
    m_matches.insert(name, firma);
    return firma;
}

Result<std::optional<int>> QuoteBook::matchKennung(const QString& kennung) {
    if (auto known = m_identifiers.constFind(kennung); known != m_identifiers.constEnd()) return *known;
    Query q;
    q.order = QStringLiteral("IWKN");
    q.equal.push_back({QStringLiteral("Kennung"), kennung});
    auto found = m_firma->first(q);
    if (!found) return found.status();
    const std::optional<int> firma = found->has_value() ? std::optional<int>((*found)->value(kFirma).toInt()) : std::nullopt;
    m_identifiers.insert(kennung, firma);
    return firma;
}

void QuoteBook::forget() {
    m_matches.clear();
    m_identifiers.clear();
    m_last.clear();
}

Result<std::optional<int>> QuoteBook::takeUp(const QString& name, const QDate& datum, double kurs, const QString& kennung,
                                             const QString& caption) {
    Record r = newSecurityRecord(*m_firma, m_waehrung.value_or(m_rules.homeCurrency));
    r.set(QStringLiteral("FirmenName"), name);
    if (!kennung.isEmpty()) r.set(QStringLiteral("Kennung"), kennung);
    r.set(QStringLiteral("Gruppe"), m_gruppe);
    r.set(QStringLiteral("Aktiv"), true);
    for (const char* column : {"ZDF", "N-TV", "SF1", "Sender4"})
        if (r.has(QLatin1String(column))) r.set(QLatin1String(column), name);
    if (!m_firma->validate(r)) return std::optional<int>();
    auto firma = appendSecurity(*m_firma, r);
    if (!firma) return firma.status();
    // The new security answers to its name from now on.
    m_matches.remove(name);
    if (!kennung.isEmpty()) m_identifiers.remove(kennung);
    Q_TRY(writePrice(*firma, datum, kurs));
    if (m_rules.bestaetigen) {
        // The editor writes on its own and may open its own transactions.
        const bool batched = !m_batch.empty();
        if (batched) Q_TRY(commitBatch());
        m_hooks.reviewNewSecurity(m_store, *firma, caption);
        forget();
        if (batched) Q_TRY(beginBatch());
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
    if (auto known = m_last.constFind(firma); known != m_last.constEnd()) return *known;
    Query q = Query::detailOf(firma);
    q.reverse = true;
    auto last = m_aktien->first(q);
    if (!last) return last.status();
    const std::optional<LastPrice> price =
        last->has_value() ? std::optional<LastPrice>(LastPrice{dateFromDayNumber((*last)->value(kDatum).toDouble()), (*last)->value(kKurs).toDouble()})
                          : std::nullopt;
    m_last.insert(firma, price);
    return price;
}

Result<bool> QuoteBook::hasPrice(int firma, const QDate& datum) {
    // A day after the last price has none.
    if (auto known = m_last.constFind(firma); known != m_last.constEnd() && (!known->has_value() || (*known)->datum < datum)) return false;
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
        // The split dialog changes the prices in a transaction of its own.
        const bool batched = !m_batch.empty();
        if (batched) Q_TRY(commitBatch());
        m_hooks.offerSplit(m_store, firma, QStringLiteral("Aktiensplit ") + name, (*last)->kurs, splitRatio(*out.change));
        forget();
        if (batched) Q_TRY(beginBatch());
        auto again = change(firma, kurs);
        if (!again) return again.status();
        out.change = *again;
    }
    out.implausible = out.change && (*out.change >= m_rules.plusProzent || *out.change <= m_rules.minusProzent);
    return out;
}

Status QuoteBook::beginBatch() {
    m_batch.clear();
    for (Table* t : {m_firma, m_aktien, m_volumen}) {
        auto tx = std::make_unique<Transaction>(t->db());
        Q_TRY(tx->begin());
        m_batch.push_back(std::move(tx));
    }
    return Status::ok();
}

Status QuoteBook::commitBatch() {
    for (auto& tx : m_batch) Q_TRY(tx->commit());
    m_batch.clear();
    return Status::ok();
}

Status QuoteBook::writePrice(int firma, const QDate& datum, double kurs) {
    auto last = lastPrice(firma);
    if (!last) return last.status();
    if (last->has_value() && (*last)->datum > datum) return upsert(*m_aktien, firma, datum, kKurs, kurs);
    if (last->has_value() && (*last)->datum == datum) {
        Q_TRY(upsert(*m_aktien, firma, datum, kKurs, kurs));
    } else {
        // After the last price: the day has none yet.
        Record r = m_aktien->newRecord();
        r.set(kFirma, firma);
        r.set(kDatum, dayNumber(datum));
        r.set(kKurs, kurs);
        auto appended = m_aktien->append(r);
        if (!appended) return appended.status();
    }
    m_last.insert(firma, LastPrice{datum, kurs});
    return Status::ok();
}

Status QuoteBook::writeVolume(int firma, const QDate& datum, qint64 volume) {
    return upsert(*m_volumen, firma, datum, kVolumen, volume);
}

Result<std::optional<int>> bookUnmatched(QuoteBook& book, bool takeUp, const QuoteLine& q, const ProtocolEntry& entry, ReadReport& report,
                                         const QString& kennung) {
    if (takeUp) {
        auto added = book.takeUp(q.name, entry.date, q.price, kennung);
        if (!added) return added.status();
        if (added->has_value()) {
            ++report.counts.newSecurities;
            ++report.counts.booked;
            return added;
        }
    }
    report.protocol.unmatched.push_back(withReadingTime(entry));
    ++report.counts.unmatched;
    return std::optional<int>();
}

Result<bool> listIfImplausible(QuoteBook& book, int firma, const QuoteLine& q, ProtocolEntry entry, ReadReport& report) {
    auto check = book.check(firma, q.name, q.price);
    if (!check) return check.status();
    if (!check->implausible) return false;
    entry.change = check->change;
    report.protocol.implausible.push_back(withReadingTime(entry));
    ++report.counts.implausible;
    return true;
}

Status bookDailyQuote(QuoteBook& book, const QuoteLine& q, std::optional<int> firma, const QDate& datum, bool alle, ReadReport& report,
                      const QString& kennung) {
    // The time of reading is looked up only for an entry that is listed: the clock
    // costs more than booking a quote.
    ProtocolEntry entry{q.name, q.priceText, datum, QTime(), q.volume, std::nullopt};
    if (!firma) {
        auto added = bookUnmatched(book, alle, q, entry, report, kennung);
        return added ? Status::ok() : added.status();
    }
    const int id = *firma;
    auto has = book.hasPrice(id, datum);
    if (!has) return has.status();
    if (*has) {
        Q_TRY(book.writePrice(id, datum, q.price));
        ++report.counts.booked;
        return Status::ok();
    }
    auto implausible = listIfImplausible(book, id, q, entry, report);
    if (!implausible) return implausible.status();
    if (*implausible) return Status::ok();
    Q_TRY(book.writePrice(id, datum, q.price));
    if (q.volume != 0) Q_TRY(book.writeVolume(id, datum, q.volume));
    ++report.counts.booked;
    return Status::ok();
}

}  // namespace q
