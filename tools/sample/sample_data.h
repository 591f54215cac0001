// Deterministic fictional sample data: securities in several groups and branches,
// business-day prices and volumes ending on a fixed day, and a depot with a few
// purchases and a sale. The same inputs always give the same tables.
#pragma once

#include "base/interaction.h"
#include "base/status.h"

#include <QDate>
#include <memory>
#include <vector>

namespace q::sample {

struct Plan {
    int securities = 30;
    int years = 10;
    QDate lastDay = QDate(2026, 12, 4);  // a Friday
    quint32 seed = 4711;
    bool depot = true;     // purchases and a sale in Transaktionen.db
};

struct Stats {
    qint64 securities = 0;
    qint64 prices = 0;
    qint64 volumes = 0;
    qint64 bookings = 0;
};

// One generated security: its master data and its business-day series.
struct Security {
    QString name;
    QString stationName;  // as the ZDF price pages and the sample price file name it
    QString kennung;      // the WKN
    QString isin;
    QString ticker;
    int gruppe = 0;
    int branche = 0;
    bool aktiv = true;
    double dividende = 0;
    double aktienzahl = 0;
    double gewinn = 0;
    double cashflow = 0;
    std::vector<double> prices;    // closing price of each of days()
    std::vector<qint64> volumes;   // traded volume of each of days()
};

// The ZDF station name of the plan's i-th security (from 0), as its price pages show
// it: upper case, at most 20 characters. Like the names, unique among the first
// 102 securities (the default plan has 30).
QString stationName(int i);

// The securities of a plan one after the other; the same plan always gives the
// same securities.
class Generator {
public:
    explicit Generator(const Plan& plan);
    ~Generator();
    // The business days of the plan as day numbers, oldest first.
    const std::vector<int>& days() const { return m_days; }
    // The next security (the i-th call gives the i-th security of the plan).
    Security next();

private:
    struct Random;
    std::unique_ptr<Random> m_random;
    std::vector<int> m_days;
    int m_index = 0;
};

// Creates the catalogue's data tables in `dataDir` (the depot lives there too) and
// fills them with the plan's securities, their prices and volumes loaded in one
// transaction per table. Fails when the directory holds securities already (Invalid), or with
// the store's message.
Result<Stats> writeSampleData(const QString& dataDir, const Plan& plan, Progress& progress);

// The sample price file, written beside the data directory.
inline const QString kSamplePriceFile = QStringLiteral("Beispielkurse.txt");

// The business day after the plan's last day: the day of the sample price file.
QDate samplePriceDay(const Plan& plan);

// The lines of the sample price file for "&Textdatei einlesen": one quote per
// security of the plan on samplePriceDay(), under its ZDF station name (name, price
// with decimal comma, date, volume; tab-separated). Each price stays within 2 % of
// the security's last price, so every line books within the day change bounds.
QStringList samplePriceText(const Plan& plan);
// Writes those lines to `path` as Windows-1252 with CRLF. Fails Io naming the file.
Status writeSamplePriceText(const QString& path, const Plan& plan);

}  // namespace q::sample
