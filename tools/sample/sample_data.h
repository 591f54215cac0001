// Deterministic fictional sample data: securities in several groups and branches,
// business-day prices and volumes ending on a fixed day, and a depot with a few
// purchases and a sale. The same inputs always give the same tables.
#pragma once

#include "base/interaction.h"
#include "base/status.h"

#include <QDate>

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

// Creates the catalogue's data tables in `dataDir` (the depot lives there too) and
// fills them. Fails when the directory holds securities already (Invalid), or with
// the store's message.
Result<Stats> writeSampleData(const QString& dataDir, const Plan& plan, Progress& progress);

}  // namespace q::sample
