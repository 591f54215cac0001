#include "sample/sample_data.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "store/bulk_insert.h"
#include "store/firma_hooks.h"
#include "store/store.h"

#include <QDir>
#include <cmath>

namespace q::sample {

// A small generator of our own, so the data are the same with every C++ library.
struct Generator::Random {
    explicit Random(quint64 seed) : state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    double uniform() {  // (0, 1)
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return ((state >> 11) + 0.5) / 9007199254740992.0;
    }
    double normal() { return std::sqrt(-2.0 * std::log(uniform())) * std::cos(6.283185307179586 * uniform()); }

    quint64 state;
};

namespace {

const char* const kWords1[] = {"Albrecht", "Nordlicht", "Birkenfeld", "Kestrel", "Lindholm", "Marbach", "Quellwerk",
                               "Rheinau",  "Solvang",   "Tannberg",   "Ulmental", "Velden",   "Weissach", "Zollern",
                               "Auental",  "Brunnfeld", "Falkenried"};
const char* const kWords2[] = {"Maschinen AG", "Energie AG",   "Pharma AG", "Versicherung", "Chemie AG", "Software AG",
                               "Medien AG",    "Automobil AG", "Bank AG",   "Technik SE",   "Biotech AG", "Netz AG"};
// How a teletext price page shortens the second word: the page has 40 columns,
// of which the name gets 20 at most (the width of `ZDF`).
const char* const kShort2[] = {"MASCH", "ENERGIE", "PHARMA", "VERS",  "CHEMIE",  "SOFTW",
                               "MEDIEN", "AUTO",    "BANK",   "TECHN", "BIOTECH", "NETZ"};
const int kBranchOf2[] = {10, 4, 3, 2, 5, 7, 11, 1, 2, 9, 6, 8};
const int kGroups[] = {1, 3, 4, 5, 6, 8, 9};

}  // namespace

namespace {

// The second word of the i-th security's name (an index into kWords2).
int secondWord(int i) { return (i * 5 + i / int(std::size(kWords1))) % int(std::size(kWords2)); }

}  // namespace

QString stationName(int i) {
    const int n1 = static_cast<int>(std::size(kWords1));
    if (i >= n1 * int(std::size(kWords2))) return QStringLiteral("MUSTER %1").arg(i);
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(kWords1[i % n1]).toUpper(), QString::fromLatin1(kShort2[secondWord(i)]));
}

Generator::Generator(const Plan& plan) : m_random(std::make_unique<Random>(plan.seed)) {
    for (QDate d = plan.lastDay.addYears(-plan.years).addDays(1); d <= plan.lastDay; d = d.addDays(1))
        if (d.dayOfWeek() <= 5) m_days.push_back(dayNumber(d));
}

Generator::~Generator() = default;

Security Generator::next() {
    Random& rnd = *m_random;
    const int i = m_index++;
    const int n1 = static_cast<int>(std::size(kWords1));
    const int n2 = static_cast<int>(std::size(kWords2));
    const int w2 = secondWord(i);
    Security s;
    s.name = QStringLiteral("%1 %2").arg(QString::fromLatin1(kWords1[i % n1]), QString::fromLatin1(kWords2[w2]));
    if (i >= n1 * n2) s.name = QStringLiteral("Muster %1 AG").arg(i);
    s.stationName = stationName(i);
    s.name = s.name.left(30);
    s.kennung = QStringLiteral("Q%1").arg(i + 1, 5, 10, QLatin1Char('0'));
    s.isin = QStringLiteral("QT%1").arg(i + 1, 10, 10, QLatin1Char('0'));
    s.ticker = QStringLiteral("QT%1").arg(i + 1);
    s.gruppe = kGroups[i % std::size(kGroups)];
    s.branche = kBranchOf2[w2];
    s.aktiv = i % 3 != 2;
    s.dividende = roundHalfEven(0.2 + rnd.uniform() * 2.0, 2);
    s.aktienzahl = std::round(1e6 + rnd.uniform() * 5e8);
    s.gewinn = roundHalfEven(rnd.uniform() * 6.0 - 0.5, 2);
    s.cashflow = roundHalfEven(rnd.uniform() * 9.0, 2);

    double price = 10.0 + rnd.uniform() * 190.0;
    const double drift = (rnd.uniform() - 0.4) * 0.0006;
    const double vol = 0.01 + rnd.uniform() * 0.02;
    const double baseVolume = 2e4 + rnd.uniform() * 2e6;
    s.prices.reserve(m_days.size());
    s.volumes.reserve(m_days.size());
    for (size_t d = 0; d < m_days.size(); ++d) {
        price *= std::exp(drift + vol * rnd.normal());
        price = std::max(price, 0.5);
        s.prices.push_back(roundHalfEven(price, 2));
        s.volumes.push_back(static_cast<qint64>(baseVolume * (0.3 + rnd.uniform() * 1.4)));
    }
    return s;
}

Result<Stats> writeSampleData(const QString& dataDir, const Plan& plan, Progress& progress) {
    if (!QDir().mkpath(dataDir)) return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(dataDir));
    Store store({dataDir, dataDir, dataDir, dataDir});
    Q_TRY(store.ensure(QStringLiteral("Nachrichten.db")));
    for (const QString& file : startupTableOrder()) Q_TRY(store.ensure(file));
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto existing = (*firma)->count(Query());
    if (!existing) return existing.status();
    if (*existing > 0) return Status::invalid(QStringLiteral("Im Verzeichnis %1 gibt es schon Wertpapiere").arg(dataDir));
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    auto volumen = store.table(QStringLiteral("Volumen.db"));
    if (!volumen) return volumen.status();

    Generator generator(plan);
    const std::vector<int>& days = generator.days();
    Stats stats;
    struct Held {
        int firma;
        QString name;
        std::vector<double> prices;
    };
    std::vector<Held> held;
    // The securities master in one transaction, prices and volumes in one each: the
    // tables are empty, so their date index is made once after the load.
    Transaction securities((*firma)->db());
    Q_TRY(securities.begin());
    BulkInsert prices(**aktien);
    BulkInsert volumes(**volumen);
    Q_TRY(prices.begin());
    Q_TRY(volumes.begin());
    QVariantList priceRow{0, 0, 0.0};
    QVariantList volumeRow{0, 0, qint64(0)};
    for (int i = 0; i < plan.securities; ++i) {
        progress.step(QStringLiteral("Beispieldaten"), i, plan.securities);
        Security s = generator.next();
        Record r = newSecurityRecord(**firma, QStringLiteral("EUR"));
        r.set(QStringLiteral("FirmenName"), s.name);
        r.set(QStringLiteral("ZDF"), s.stationName);
        r.set(QStringLiteral("Kennung"), s.kennung);
        r.set(QStringLiteral("ISIN"), s.isin);
        r.set(QStringLiteral("Ticker"), s.ticker);
        r.set(QStringLiteral("Gruppe"), s.gruppe);
        r.set(QStringLiteral("Branche"), s.branche);
        r.set(QStringLiteral("Merkmal"), 2);
        r.set(QStringLiteral("Aktiv"), s.aktiv);
        r.set(QStringLiteral("Dividende"), s.dividende);
        r.set(QStringLiteral("Aktienzahl"), s.aktienzahl);
        r.set(QStringLiteral("Gewinn"), s.gewinn);
        r.set(QStringLiteral("CashFlow"), s.cashflow);
        auto number = appendSecurity(**firma, r);
        if (!number) return number.status();
        ++stats.securities;
        // One list per table, refilled for each row: no allocation per row.
        priceRow[0] = *number;
        volumeRow[0] = *number;
        for (size_t d = 0; d < days.size(); ++d) {
            priceRow[1] = days[d];
            priceRow[2] = s.prices[d];
            volumeRow[1] = days[d];
            volumeRow[2] = s.volumes[d];
            Q_TRY(prices.add(priceRow));
            Q_TRY(volumes.add(volumeRow));
        }
        if (held.size() < 4) held.push_back({*number, s.name, std::move(s.prices)});
    }
    Q_TRY(securities.commit());
    Q_TRY(prices.commit());
    Q_TRY(volumes.commit());
    stats.prices = prices.added();
    stats.volumes = volumes.added();

    if (plan.depot && !held.empty() && days.size() > 400) {
        auto trans = store.table(QStringLiteral("Transaktionen.db"));
        if (!trans) return trans.status();
        BulkInsert bookings(**trans);
        Q_TRY(bookings.begin());
        const int count = static_cast<int>(days.size());
        const int buys[] = {count - 390, count - 300, count - 200, count - 120};
        const double shares[] = {100, 50, 200, 75};
        for (size_t k = 0; k < held.size(); ++k) {
            const int b = buys[k];
            QVariant sold, erloes;
            if (k == 1) {  // the second purchase was sold again
                sold = days[count - 40];
                erloes = held[k].prices[count - 40];
            }
            Q_TRY(bookings.add({held[k].firma, days[b], shares[k], held[k].prices[b], sold, erloes, held[k].name}));
        }
        Q_TRY(bookings.commit());
        stats.bookings = bookings.added();
    }
    progress.step(QStringLiteral("Beispieldaten"), plan.securities, plan.securities);
    return stats;
}

QDate samplePriceDay(const Plan& plan) {
    QDate day = plan.lastDay.addDays(1);
    while (day.dayOfWeek() > 5) day = day.addDays(1);
    return day;
}

QStringList samplePriceText(const Plan& plan) {
    Generator generator(plan);
    const QString day = formatDate(samplePriceDay(plan));
    QStringList lines;
    for (int i = 0; i < plan.securities; ++i) {
        const Security s = generator.next();
        // A fixed step of -2 % … +2 % from the last price: deterministic and well
        // inside the default day change bounds.
        const double change = ((i * 7) % 9 - 4) / 200.0;
        const double price = roundHalfEven(s.prices.back() * (1.0 + change), 2);
        // No thousands point: the price text stays one number for every importer.
        const QString text = QString::number(price, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
        lines << QStringLiteral("%1\t%2\t%3\t%4").arg(s.stationName, text, day).arg(s.volumes.back());
    }
    return lines;
}

Status writeSamplePriceText(const QString& path, const Plan& plan) { return writeTextLines(path, samplePriceText(plan)); }

}  // namespace q::sample
