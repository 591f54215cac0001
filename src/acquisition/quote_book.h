// The bookkeeping both reading routes share: finding a quote's security by the
// station's match text, taking up a new security, the change against the last
// daily price with the plausible bounds and the split offer, and writing daily
// prices and volumes. Each write is a statement of its own on its table file, so a
// run that stops half-way leaves every quote either booked or not.
#pragma once

#include "acquisition/quote_line.h"
#include "acquisition/read_report.h"
#include "acquisition/reading_settings.h"
#include "store/store.h"

#include <QDate>
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

// Used on one thread, for one run: it keeps the run's defaults for new securities.
class QuoteBook {
public:
    QuoteBook(Store& store, BookingRules rules, ReadingHooks& hooks) : m_store(store), m_rules(std::move(rules)), m_hooks(hooks) {}

    // Opens Firma.db, Aktien.db and Volumen.db. Fails with the store's message.
    Status open();
    const BookingRules& rules() const { return m_rules; }
    Table& firmaTable() { return *m_firma; }

    // The security whose match text on the station equals `name` with letter case
    // and umlauts folded (the first in the station index's order); nullopt when none.
    Result<std::optional<int>> match(const QString& name);
    // Appends a new security named `name` (group and currency of the run's previous
    // new security, all four match texts = name, favourite) and its first price, then
    // shows it in the editor when the rules say so. nullopt when the name does not
    // fit the table (longer than a match text may be): the caller lists it as unmatched.
    Result<std::optional<int>> takeUp(const QString& name, const QDate& datum, double kurs);

    Result<std::optional<LastPrice>> lastPrice(int firma);
    Result<bool> hasPrice(int firma, const QDate& datum);
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

private:
    Store& m_store;
    BookingRules m_rules;
    ReadingHooks& m_hooks;
    Table* m_firma = nullptr;
    Table* m_aktien = nullptr;
    Table* m_volumen = nullptr;
    // Defaults of the next new security in this run.
    int m_gruppe = 0;
    std::optional<QString> m_waehrung;
};

// The steps both routes take with a quote (`entry` is its protocol line).
// A name without a security: taken up with its first price when `takeUp`, else
// listed as unmatched. Returns the new security, or nullopt when it was listed.
Result<std::optional<int>> bookUnmatched(QuoteBook& book, bool takeUp, const QuoteLine& quote, const ProtocolEntry& entry,
                                         ReadReport& report);
// The plausibility check of a matched quote; true when it went to the implausible list.
Result<bool> listIfImplausible(QuoteBook& book, int firma, const QuoteLine& quote, ProtocolEntry entry, ReadReport& report);

}  // namespace q
