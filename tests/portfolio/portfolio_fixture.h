// A depot in a temporary folder: the catalogue's tables, securities with prices,
// and the bookings the tests make through the core.
#pragma once

#include "base/clock.h"
#include "portfolio/lot.h"
#include "portfolio/portfolio_settings.h"
#include "store/store.h"
#include "support/data_dir_fixture.h"
#include "support/test_support.h"

class PortfolioTest : public DataDirTest {
protected:
    void SetUp() override;
    void TearDown() override { q::setToday(QDate()); }

    // Appends a security and returns its number.
    int security(const QString& name, const QString& waehrung = QStringLiteral("EUR"), const QString& kennung = QString());
    // Appends a lot as it stands (ids returned), without the booking rules.
    qint64 lot(const q::Lot& lot);
    qint64 lot(int firma, const QDate& bought, double anteile, double ankauf, const QString& text = QString(),
               const QDate& sold = QDate(), double erloes = 0);
    std::vector<q::Lot> lots(int firma);
    // Makes the depot `name` below the data directory holding `lots`.
    void linkedDepot(const QString& name, const std::vector<q::Lot>& lots);
    std::vector<q::Lot> allLots();

    q::PortfolioSettings settings;
};

// The date of "dd.mm.yyyy".
QDate d(const char* text);
