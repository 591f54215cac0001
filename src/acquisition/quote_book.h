// The bookkeeping both reading routes share: finding a quote's security by the
// station's match text, taking up a new security, the change against the last
// daily price with the plausible bounds and the split offer, and writing daily
// prices and volumes. Outside a batch each quote's price and volume are written
// together (see DailyPrices for the order of the two files), so a run that stops
// half-way leaves every quote either booked or not; a file run groups its writes in
// batches (beginBatch()), the last of which is committed when the run is stopped
// and rolled back when it fails. No price outside the bounds of priceRefusal()
// reaches a table: every route lists such a quote with listIfImpossible().
#pragma once

#include "acquisition/quote_line.h"
#include "acquisition/read_report.h"
#include "acquisition/reading_settings.h"
#include "store/daily_prices.h"
#include "store/security_lookup.h"
#include "store/store.h"

#include <QDate>
#include <QHash>
#include <optional>

namespace q {

// The windows a run may open on the way. The defaults open nothing (unattended
// runs and tests): a new security is kept as appended, and no split is offered.
class ReadingHooks {
public:
    virtual ~ReadingHooks() = default;
    // The securities editor on the security `firma`, just appended, with the window
    // text `caption`. The editor writes into Firma.db itself.
    virtual void reviewNewSecurity(Store& store, int firma, const QString& caption) {}
    // The split dialog for `firma` with the window text `caption`, its last price and
    // the suggested ratio. True when it changed the prices.
    virtual bool offerSplit(Store& store, int firma, const QString& caption, double lastPrice, int ratio) { return false; }
};

struct BookingRules {
    QString stationColumn = QStringLiteral("ZDF");  // "ZDF", "N-TV", "SF1" or "Sender4"
    bool bestaetigen = true;
    bool autoSplit = false;
    double minusProzent = -45.0;  // a change at or below is implausible
    double plusProzent = 50.0;    // a change at or above is implausible
    QString homeCurrency = QStringLiteral("EUR");
};

// The rules of `settings` for matching on `stationColumn`.
BookingRules bookingRules(const ReadingSettings& settings, const QString& stationColumn);

struct LastPrice {
    QDate datum;
    double kurs = 0;
};

// Used on one thread, for one run: it keeps the run's defaults for new securities,
// and remembers what it looked up (match texts, each security's last price), so
// that a long file costs about one statement per quote. Only the book writes prices during
// its run; after a window of the hooks (which may change names or prices) it looks
// everything up afresh.
class QuoteBook {
public:
    QuoteBook(Store& store, BookingRules rules, ReadingHooks& hooks);

    // Opens Firma.db, Aktien.db and Volumen.db. Fails with the store's message.
    Status open();
    const BookingRules& rules() const { return m_rules; }
    // The latest day a price may have: the day after the program's today when the
    // book was made.
    const QDate& latestDay() const { return m_latest; }
    Table& firmaTable() { return *m_firma; }

    // The security whose match text on the station equals `name` with letter case
    // and umlauts folded (the first in the station index's order); nullopt when none.
    Result<std::optional<int>> match(const QString& name);
    // Appends a new security named `name` (group and currency of the run's previous
    // new security, all four match texts = name, favourite) and its first price, then
    // shows it in the editor when the rules say so. nullopt when the name does not
    // fit the table (longer than a match text may be): the caller lists it as unmatched.
    // `kennung` becomes the identifier; `caption` is the editor's window text.
    Result<std::optional<int>> takeUp(const QString& name, const QDate& datum, double kurs, const QString& kennung = QString(),
                                      const QString& caption = QStringLiteral("Neue Aktie Aufgenommen! Bitte überprüfen"));
    // The security whose identifier (`Kennung`) equals `kennung` exactly, the first
    // in the order of index "IWKN"; nullopt when none.
    Result<std::optional<int>> matchKennung(const QString& kennung);

    Result<std::optional<LastPrice>> lastPrice(int firma);
    // Reads the last daily prices of the securities `firmen` whose last price the
    // book does not know yet, in one query, so that the quotes booked next need no
    // look-up of their own.
    Status prefetch(const QList<int>& firmen);
    Result<bool> hasPrice(int firma, const QDate& datum);
    // The price of the day; nullopt when it has none.
    Result<std::optional<double>> priceOn(int firma, const QDate& datum);
    // new × 100 / last − 100 against the last daily price; nullopt when unknown (no
    // price yet, or a last price of 0, which would divide by zero).
    Result<std::optional<double>> change(int firma, double kurs);

    struct Check {
        std::optional<double> change;
        bool implausible = false;
    };
    // The change and whether it lies outside the plausible bounds (inclusive). A fall
    // below -50 % offers the split dialog first when AutoSplit is set; the change is
    // then computed again.
    Result<Check> check(int firma, const QString& name, double kurs);

    // Writes the price (or volume) of the day: replaces the row of that day, or
    // appends one.
    Status writePrice(int firma, const QDate& datum, double kurs);
    Status writeVolume(int firma, const QDate& datum, qint64 volume);
    // The price and, when it is not 0, the volume of the day, as one write: outside a
    // batch in a transaction of its own.
    Status writeQuote(int firma, const QDate& datum, double kurs, qint64 volume);
    // A quote for a day that has the price `stored`: an equal price is counted as
    // already there and writes only the volume the day lacks (a run of an older
    // release stopped between the two); another price replaces
    // the stored one unless its change against the price before that day lies
    // outside the bounds, when it goes to the implausible list. Counts in `report`.
    Status rebook(int firma, const QDate& datum, double stored, const QuoteLine& quote, const ProtocolEntry& entry, ReadReport& report);

    // Groups the writes of the following quotes into one transaction per table file
    // (Firma.db, Aktien.db, Volumen.db) until commitBatch(): a long file then costs a
    // few disk syncs instead of one per quote. A batch not committed (a failure in
    // between) is rolled back when the next batch begins or the book is destroyed.
    // A batch begins with the last prices forgotten: other jobs may have written
    // since the last one. The new securities commit before the prices, the volumes
    // before the prices (DailyPrices).
    Status beginBatch();
    Status commitBatch();

    // Forgets what the book looked up: the caller wrote Firma.db or the prices
    // itself (renamed a match text).
    void forget();

private:
    Store& m_store;
    BookingRules m_rules;
    ReadingHooks& m_hooks;
    QDate m_latest;
    Table* m_firma = nullptr;
    Table* m_aktien = nullptr;
    Table* m_volumen = nullptr;
    std::unique_ptr<DailyPrices> m_prices;
    std::unique_ptr<SecurityLookup> m_lookup;
    std::unique_ptr<Transaction> m_firmaBatch;
    bool batched() const { return m_firmaBatch != nullptr; }
    bool implausibleChange(double change) const;
    // Defaults of the next new security in this run.
    int m_gruppe = 0;
    std::optional<QString> m_waehrung;
    QHash<int, std::optional<LastPrice>> m_last;      // security -> last daily price
};

// The steps both routes take with a quote (`entry` is its protocol line).
// A name without a security: taken up with its first price when `takeUp`, else
// listed as unmatched. Returns the new security, or nullopt when it was listed.
Result<std::optional<int>> bookUnmatched(QuoteBook& book, bool takeUp, const QuoteLine& quote, const ProtocolEntry& entry,
                                         ReadReport& report, const QString& kennung = QString());
// The gate every route passes before it books a quote of day `datum`: a price or
// day outside the bounds of priceRefusal() goes to the implausible list with the
// reason and is counted there; true when it went there.
// `latest`: the latest day allowed (QuoteBook::latestDay()); invalid: the day after today.
bool listIfImpossible(const QuoteLine& quote, const QDate& datum, const ProtocolEntry& entry, ReadReport& report, const QDate& latest = QDate());
// The plausibility check of a matched quote; true when it went to the implausible list.
Result<bool> listIfImplausible(QuoteBook& book, int firma, const QuoteLine& quote, const ProtocolEntry& entry, ReadReport& report);

// The daily route's steps for a quote of day `datum` whose security was looked up
// (`firma`; nullopt: none matched): the gate of listIfImpossible(), unmatched
// handling (taken up when `alle`, with `kennung` as its identifier), a day that has
// a price is rebooked (QuoteBook::rebook()), else the plausibility check decides
// between booking (price and a volume other than 0) and the implausible list.
// Counts in `report`.
Status bookDailyQuote(QuoteBook& book, const QuoteLine& quote, std::optional<int> firma, const QDate& datum, bool alle,
                      ReadReport& report, const QString& kennung = QString());

}  // namespace q
