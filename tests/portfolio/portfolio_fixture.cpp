#include "portfolio_fixture.h"

#include "base/formats.h"

#include <QDir>

using namespace q;

QDate d(const char* text) { return *parseDate(QString::fromLatin1(text)); }

void PortfolioTest::SetUp() {
    DataDirTest::SetUp();
    setToday(d("28.06.2024"));
}

int PortfolioTest::security(const QString& name, const QString& waehrung, const QString& kennung) {
    return appendSecurity(name, waehrung, {{"Kennung", kennung}});
}

qint64 PortfolioTest::lot(const Lot& l) {
    LotChanges c;
    c.appends.push_back(l);
    auto ids = writeLots(table(kLots), c);
    EXPECT_TRUE(ids.isOk()) << ids.status().message().toStdString();
    return ids.isOk() ? ids->front() : -1;
}

qint64 PortfolioTest::lot(int firma, const QDate& bought, double anteile, double ankauf, const QString& text, const QDate& sold,
                          double erloes) {
    Lot l;
    l.Firma = firma;
    l.Datum = bought;
    l.Anteile = anteile;
    l.Ankauf = ankauf;
    l.FirmenName = text;
    l.Verkauf = sold;
    l.Erloes = erloes;
    return lot(l);
}

void PortfolioTest::linkedDepot(const QString& name, const std::vector<Lot>& lots) {
    ASSERT_TRUE(QDir().mkpath(dir + name));
    Store depot(StoreDirs{dir, dir + name + "/", dir, dir});
    ASSERT_TRUE(depot.ensure(kLots).isOk());
    LotChanges c;
    c.appends = lots;
    ASSERT_TRUE(writeLots(**depot.table(kLots), c).isOk());
}

std::vector<Lot> PortfolioTest::lots(int firma) {
    auto l = lotsOf(table(kLots), firma);
    EXPECT_TRUE(l.isOk());
    return l.isOk() ? *l : std::vector<Lot>();
}

std::vector<Lot> PortfolioTest::allLots() {
    Query q;
    q.order = kLotOrder;
    auto l = readLots(table(kLots), q);
    EXPECT_TRUE(l.isOk());
    return l.isOk() ? *l : std::vector<Lot>();
}
