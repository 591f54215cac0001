#include "acquisition/quote_book.h"

#include "acquisition/protocol.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/price_bounds.h"
#include "store/firma_hooks.h"

#include <QSet>

namespace q {

namespace {

// An entry without a quote time carries the time it was listed.
ProtocolEntry withReadingTime(ProtocolEntry e) {
    if (!e.time.isValid()) e.time = now().time();
    return e;
}

// Notes a run keeps about names it could not take up; a file of thousands says
// enough with the first of them.
constexpr qsizetype kNotesKept = 100;

// The fall below which AutoSplit offers the split dialog, in per cent.
constexpr double kSplitOfferBelow = -50.0;

}  // namespace

QuoteBook::QuoteBook(Store& store, BookingRules rules, ReadingHooks& hooks)
    : m_store(store), m_rules(std::move(rules)), m_hooks(hooks), m_latest(today().addDays(1)) {}

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
    auto prices = DailyPrices::open(*m_aktien, *m_volumen);
    if (!prices) return prices.status();
    m_prices = std::move(*prices);
    m_lookup = std::make_unique<SecurityLookup>(*m_firma);
    return Status::ok();
}

Result<std::optional<int>> QuoteBook::match(const QString& name) {
    return m_lookup->byMatchText(m_rules.stationColumn, name);
}

Result<std::optional<int>> QuoteBook::matchKennung(const QString& kennung) {
    return m_lookup->byKennung(kennung);
}

void QuoteBook::forget() {
    m_lookup->forget();
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
    m_lookup->added(*firma, m_rules.stationColumn, name, kennung);
    Q_TRY(writePrice(*firma, datum, kurs));
    if (m_rules.bestaetigen) {
        // The editor writes on its own and may open its own transactions.
        const bool wasBatched = batched();
        if (wasBatched) Q_TRY(commitBatch());
        m_hooks.reviewNewSecurity(m_store, *firma, caption);
        forget();
        if (wasBatched) Q_TRY(beginBatch());
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
    auto last = m_prices->newestBefore(firma);
    if (!last) return last.status();
    const std::optional<LastPrice> price =
        last->has_value() ? std::optional<LastPrice>(LastPrice{dateFromDayNumber((*last)->day), (*last)->kurs}) : std::nullopt;
    m_last.insert(firma, price);
    return price;
}

Status QuoteBook::prefetch(const QList<int>& firmen) {
    // A file names each security on many days: every one is asked for once.
    QList<int> unknown;
    QSet<int> asked;
    for (int f : firmen)
        if (!m_last.contains(f) && !asked.contains(f)) {
            asked.insert(f);
            unknown << f;
        }
    if (unknown.isEmpty()) return Status::ok();
    auto newest = m_prices->newest(unknown);
    if (!newest) return newest.status();
    for (int f : unknown) {
        const auto found = newest->constFind(f);
        m_last.insert(f, found == newest->constEnd() ? std::nullopt
                                                     : std::optional<LastPrice>(LastPrice{dateFromDayNumber(found->day), found->kurs}));
    }
    return Status::ok();
}

Result<bool> QuoteBook::hasPrice(int firma, const QDate& datum) {
    auto price = priceOn(firma, datum);
    if (!price) return price.status();
    return price->has_value();
}

Result<std::optional<double>> QuoteBook::priceOn(int firma, const QDate& datum) {
    auto last = lastPrice(firma);
    if (!last) return last.status();
    // A day after the last price has none.
    if (!last->has_value() || (*last)->datum < datum) return std::optional<double>();
    if ((*last)->datum == datum) return std::optional<double>((*last)->kurs);
    return m_prices->priceOn(firma, dayNumber(datum));
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
        const bool wasBatched = batched();
        if (wasBatched) Q_TRY(commitBatch());
        m_hooks.offerSplit(m_store, firma, QStringLiteral("Aktiensplit ") + name, (*last)->kurs, splitRatio(*out.change));
        forget();
        if (wasBatched) Q_TRY(beginBatch());
        auto again = change(firma, kurs);
        if (!again) return again.status();
        out.change = *again;
    }
    out.implausible = out.change && implausibleChange(*out.change);
    return out;
}

bool QuoteBook::implausibleChange(double change) const { return change >= m_rules.plusProzent || change <= m_rules.minusProzent; }

Status QuoteBook::beginBatch() {
    m_firmaBatch.reset();
    // Other jobs may have written between two batches.
    m_last.clear();
    auto firma = std::make_unique<Transaction>(m_firma->db());
    Q_TRY(firma->begin());
    Q_TRY(m_prices->begin());
    m_firmaBatch = std::move(firma);
    return Status::ok();
}

Status QuoteBook::commitBatch() {
    if (!batched()) return Status::ok();
    // The new securities first: prices committed before their security would be
    // left without it by a stop, and a rerun would take the name up anew.
    Status done = m_firmaBatch->commit();
    m_firmaBatch.reset();
    Q_TRY(done);
    return m_prices->commit();
}

Status QuoteBook::writePrice(int firma, const QDate& datum, double kurs) {
    auto last = lastPrice(firma);
    if (!last) return last.status();
    // After the last price the day has none yet: one insert.
    const bool fresh = !last->has_value() || (*last)->datum < datum;
    Q_TRY(m_prices->putPrice(firma, dayNumber(datum), kurs, fresh));
    if (fresh || (*last)->datum == datum) m_last.insert(firma, LastPrice{datum, kurs});
    return Status::ok();
}

Status QuoteBook::writeVolume(int firma, const QDate& datum, qint64 volume) { return m_prices->putVolume(firma, dayNumber(datum), volume); }

Status QuoteBook::writeQuote(int firma, const QDate& datum, double kurs, qint64 volume) {
    const bool own = !m_prices->inBatch();
    if (own) Q_TRY(m_prices->begin());
    if (volume != 0) Q_TRY(writeVolume(firma, datum, volume));
    Q_TRY(writePrice(firma, datum, kurs));
    if (own) {
        Status done = m_prices->commit();
        // A failed commit rolled back: the book's memory of the last price may be wrong.
        if (!done) m_last.remove(firma);
        return done;
    }
    return Status::ok();
}

Status QuoteBook::rebook(int firma, const QDate& datum, double stored, const QuoteLine& q, const ProtocolEntry& entry, ReadReport& report) {
    if (stored == q.price) {
        if (q.volume != 0) {
            auto has = m_prices->hasVolume(firma, dayNumber(datum));
            if (!has) return has.status();
            if (!*has) Q_TRY(writeVolume(firma, datum, q.volume));
        }
        ++report.counts.already;
        return Status::ok();
    }
    // A replacement is checked against the day before, as a new day's price is.
    auto before = m_prices->newestBefore(firma, dayNumber(datum));
    if (!before) return before.status();
    if (before->has_value() && (*before)->kurs != 0.0) {
        const double change = q.price * 100.0 / (*before)->kurs - 100.0;
        if (implausibleChange(change)) {
            ProtocolEntry listed = entry;
            listed.change = change;
            report.protocol.addImplausible(withReadingTime(std::move(listed)));
            ++report.counts.implausible;
            return Status::ok();
        }
    }
    Q_TRY(writePrice(firma, datum, q.price));
    ++report.counts.booked;
    return Status::ok();
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
        // Listed as unmatched like any other name, but the user asked for it to be taken up.
        if (report.notes.size() < kNotesKept)
            report.notes << QStringLiteral("%1 wurde nicht aufgenommen: der Name passt nicht in die Wertpapiertabelle (zu lang)").arg(q.name);
    }
    report.protocol.addUnmatched(withReadingTime(entry));
    ++report.counts.unmatched;
    return std::optional<int>();
}

bool listIfImpossible(const QuoteLine& q, const QDate& datum, const ProtocolEntry& entry, ReadReport& report, const QDate& latest) {
    QString reason = latest.isValid() ? priceRefusal(q.price, datum, latest) : priceRefusal(q.price, datum);
    if (reason.isEmpty()) return false;
    ProtocolEntry listed = entry;
    listed.reason = std::move(reason);
    report.protocol.addImplausible(withReadingTime(std::move(listed)));
    ++report.counts.implausible;
    return true;
}

Result<bool> listIfImplausible(QuoteBook& book, int firma, const QuoteLine& q, const ProtocolEntry& entry, ReadReport& report) {
    auto check = book.check(firma, q.name, q.price);
    if (!check) return check.status();
    if (!check->implausible) return false;
    ProtocolEntry listed = entry;
    listed.change = check->change;
    report.protocol.addImplausible(withReadingTime(std::move(listed)));
    ++report.counts.implausible;
    return true;
}

Status bookDailyQuote(QuoteBook& book, const QuoteLine& q, std::optional<int> firma, const QDate& datum, bool alle, ReadReport& report,
                      const QString& kennung) {
    // The time of reading is looked up only for an entry that is listed: the clock
    // costs more than booking a quote.
    const ProtocolEntry entry{q.name, q.priceText, datum, QTime(), q.volume, std::nullopt, {}};
    if (listIfImpossible(q, datum, entry, report, book.latestDay())) return Status::ok();
    if (!firma) {
        auto added = bookUnmatched(book, alle, q, entry, report, kennung);
        return added ? Status::ok() : added.status();
    }
    const int id = *firma;
    auto stored = book.priceOn(id, datum);
    if (!stored) return stored.status();
    if (stored->has_value()) return book.rebook(id, datum, **stored, q, entry, report);
    auto implausible = listIfImplausible(book, id, q, entry, report);
    if (!implausible) return implausible.status();
    if (*implausible) return Status::ok();
    Q_TRY(book.writeQuote(id, datum, q.price, q.volume));
    ++report.counts.booked;
    return Status::ok();
}

}  // namespace q
