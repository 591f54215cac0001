#include "portfolio/bookings.h"
#include "portfolio/fees.h"
#include "portfolio_fixture.h"

#include "base/formats.h"

#include <QDir>

using namespace q;

using Bookings = PortfolioTest;

TEST(Fees, DefaultRatesOnTenSharesAtFifty) {
    // gross 10 × 50 = 500; costs 500 × 0,4 ÷ 1000 + 500 × 1 ÷ 100 + 2,8121053
    // = 0,2 + 5 + 2,8121053 = 8,0121053.
    const FeeCalculation buy = calculateFees(Trade::Purchase, 50, 10, FeeRates());
    EXPECT_DOUBLE_EQ(buy.gross, 500.0);
    EXPECT_NEAR(buy.costs, 8.0121053, 1e-12);
    // (500 + 8,0121053) ÷ 10 and (500 − 8,0121053) ÷ 10.
    EXPECT_NEAR(buy.perShare, 50.80121053, 1e-12);
    EXPECT_NEAR(calculateFees(Trade::Sale, 50, 10, FeeRates()).perShare, 49.19878947, 1e-12);
    EXPECT_EQ(calculateFees(Trade::Purchase, 50, 0, FeeRates()).perShare, 0.0);
}

TEST_F(Bookings, TwoEqualPurchasesOnOneDayAreTwoLots) {
    const int a = security("Alpha AG");
    const Purchase p{a, d("03.06.2024"), 10, 50, QString()};
    auto first = buy(*store, p);
    auto second = buy(*store, p);
    ASSERT_TRUE(first.isOk()) << first.status().message().toStdString();
    ASSERT_TRUE(second.isOk()) << second.status().message().toStdString();
    EXPECT_NE(first->id, second->id);
    const auto held = lots(a);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0].FirmenName, "Alpha AG");
    EXPECT_EQ(heldShares(held, a, d("28.06.2024")), 20.0);
}

TEST_F(Bookings, BadPurchasesBookNothing) {
    const int a = security("Alpha AG");
    auto zero = buy(*store, {a, d("03.06.2024"), 0, 50, {}});
    EXPECT_EQ(zero.status().category(), Category::Invalid);
    EXPECT_EQ(zero.status().message(), "Die Anzahl der Anteile muss größer als 0 sein: 0");
    EXPECT_EQ(buy(*store, {a, d("03.06.2024"), -2, 50, {}}).status().message(), "Die Anzahl der Anteile muss größer als 0 sein: -2");
    EXPECT_EQ(buy(*store, {a, d("03.06.2024"), 1, -1.5, {}}).status().message(), "Der Preis darf nicht negativ sein: -1,5");
    auto unknown = buy(*store, {99, d("03.06.2024"), 1, 1, {}});
    EXPECT_EQ(unknown.status().category(), Category::NotFound);
    EXPECT_EQ(unknown.status().message(), "Wertpapier \"99\" nicht gefunden");
    EXPECT_TRUE(allLots().empty());
}

class SaleOfTwoLots : public PortfolioTest {
protected:
    void SetUp() override {
        PortfolioTest::SetUp();
        firma = security("Alpha AG");
        a = lot(firma, d("02.01.2023"), 100, 20, "Alpha AG");
        b = lot(firma, d("03.03.2023"), 50, 30, "Alpha AG");
    }
    Result<SaleResult> sale(double anteile, qint64 selected, const char* date = "01.06.2024") {
        return sell(*store, Sale{firma, anteile, d(date), 40, selected, false});
    }
    int firma = 0;
    qint64 a = -1, b = -1;
};

TEST_F(SaleOfTwoLots, APartialSaleCutsTheOldestLotAndKeepsItsDateAndPrice) {
    // 30 of 100 shares of A: A becomes the sold 30, the open 70 keep A's date and price;
    // B was selected but holds 50, not 30, so the sale goes first in, first out.
    auto r = sale(30, b);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_TRUE(r->warning.isEmpty());
    const auto after = lots(firma);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].id, a);
    EXPECT_EQ(after[0].Anteile, 30.0);
    EXPECT_EQ(after[0].Verkauf, d("01.06.2024"));
    EXPECT_EQ(after[0].Erloes, 40.0);
    EXPECT_EQ(after[1].Datum, d("02.01.2023"));  // the remainder
    EXPECT_EQ(after[1].Anteile, 70.0);
    EXPECT_EQ(after[1].Ankauf, 20.0);
    EXPECT_EQ(after[1].FirmenName, "Alpha AG");
    EXPECT_FALSE(after[1].isSold());
    EXPECT_EQ(after[2].id, b);
    EXPECT_FALSE(after[2].isSold());
}

TEST_F(SaleOfTwoLots, SellingExactlyTheSelectedLotSellsThatLot) {
    ASSERT_TRUE(sale(50, b).isOk());
    const auto after = lots(firma);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_FALSE(after[0].isSold());
    EXPECT_EQ(after[0].Anteile, 100.0);
    EXPECT_TRUE(after[1].isSold());
    EXPECT_EQ(after[1].Anteile, 50.0);
}

TEST_F(SaleOfTwoLots, OversellingSellsWhatIsHeldAndReportsTheExcess) {
    auto r = sale(200, -1);
    ASSERT_TRUE(r.isOk());
    // 200 − 100 − 50 = 50 left over.
    EXPECT_EQ(r->warning, "Sie haben mehr verkauft als Sie hatten!! Übrig sind noch 50 Anteile");
    for (const Lot& l : lots(firma)) EXPECT_TRUE(l.isSold());
    EXPECT_EQ(lots(firma).size(), 2u);
}

TEST_F(SaleOfTwoLots, ALotBoughtAfterTheSaleDateIsNeverConsumed) {
    // On 01.02.2023 only A (bought 02.01.2023) was held; B came on 03.03.2023.
    auto r = sale(120, -1, "01.02.2023");
    ASSERT_TRUE(r.isOk());
    EXPECT_EQ(r->warning, "Sie haben mehr verkauft als Sie hatten!! Übrig sind noch 20 Anteile");
    const auto after = lots(firma);
    EXPECT_TRUE(after[0].isSold());
    EXPECT_FALSE(after[1].isSold());
}

TEST_F(SaleOfTwoLots, ASaleBeforeThePurchaseBooksNothing) {
    auto quick = sale(50, b, "01.03.2023");
    EXPECT_EQ(quick.status().message(), "Sie können nicht am 03.03.2023 kauf und schon am 01.03.2023 verkaufen!!");
    auto assistant = sell(*store, Sale{firma, 50, d("01.03.2023"), 40, b, true});
    EXPECT_EQ(assistant.status().message(), "Sie können Nicht vor dem Kauf des Wertpapiere, das Wertpapier verkaufen!!");
    // Every lot bought after the sale date: all 10 shares are sold beyond those held.
    auto beforeAll = sale(10, -1, "01.01.2020");
    ASSERT_TRUE(beforeAll.isOk());
    EXPECT_EQ(beforeAll->warning, "Sie haben mehr verkauft als Sie hatten!! Übrig sind noch 10 Anteile");
    EXPECT_TRUE(beforeAll->plan.changes.empty());
    for (const Lot& l : lots(firma)) EXPECT_FALSE(l.isSold());
    EXPECT_EQ(sale(0, -1).status().message(), "Die Anzahl der Anteile muss größer als 0 sein: 0");
}

TEST_F(Bookings, SalesInTenthsLeaveNoCrumbOfAShare) {
    const int firma = security("Fonds");
    lot(firma, d("02.01.2024"), 1.0, 100, "Fonds");
    // 1 − 0,3 − 0,3 = 0,39999999999999997 in binary; selling 0,4 takes it all.
    for (double part : {0.3, 0.3, 0.4}) {
        auto r = sell(*store, Sale{firma, part, d("03.06.2024"), 110, -1, false});
        ASSERT_TRUE(r.isOk());
        EXPECT_TRUE(r->warning.isEmpty()) << r->warning.toStdString();
    }
    EXPECT_EQ(heldShares(lots(firma), firma, d("28.06.2024")), 0.0);
    for (const Lot& l : lots(firma)) EXPECT_TRUE(l.isSold());
}

TEST_F(Bookings, ASaleIsBookedInTheLinkedDepotToo) {
    const int firma = security("Alpha AG");
    // The depot "Familie" below the data directory holds 40 shares of the security.
    linkedDepot("Familie", {Lot{-1, firma, d("02.01.2023"), 40, 20, {}, 0, "Alpha AG"}});
    // Imported from there: its text names the depot.
    const qint64 imported = lot(firma, d("02.01.2023"), 40, 20, "Familie");
    auto r = sell(*store, Sale{firma, 25, d("01.06.2024"), 30, imported, false});
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->linkedDepot, dir + "Familie/Transaktionen.db");
    auto there = Store::openFile(dir + "Familie/Transaktionen.db", layoutForFile(kLots));
    ASSERT_TRUE(there.isOk());
    auto theirs = lotsOf(**there, firma);
    ASSERT_EQ(theirs->size(), 2u);
    // 25 of 40 sold there as here, the remainder of 15 open and without a text (the
    // smaller count first in the table's order).
    EXPECT_EQ((*theirs)[0].Anteile, 15.0);
    EXPECT_FALSE((*theirs)[0].isSold());
    EXPECT_TRUE((*theirs)[0].FirmenName.isEmpty());
    EXPECT_EQ((*theirs)[1].Anteile, 25.0);
    EXPECT_EQ((*theirs)[1].Verkauf, d("01.06.2024"));
}

TEST_F(Bookings, OnlyATextNamingAnotherDepotLinks) {
    ASSERT_TRUE(QDir().mkpath(dir + "Familie"));
    qtest::writeFile(dir + "Familie/Transaktionen.db", QByteArray());
    // The security's own name, even where a folder is called so, links nothing.
    EXPECT_TRUE(linkedDepotTable(dir, dir, "Familie", "Familie").isEmpty());
    // Nor the current depot, nor a text that is no folder.
    EXPECT_TRUE(linkedDepotTable(dir, dir + "Familie/", "Familie", "Alpha AG").isEmpty());
    EXPECT_TRUE(linkedDepotTable(dir, dir, "Nirgends", "Alpha AG").isEmpty());
    EXPECT_TRUE(linkedDepotTable(dir, dir, "../Familie", "Alpha AG").isEmpty());
    EXPECT_EQ(linkedDepotTable(dir, dir, "familie", "Alpha AG"), dir + "Familie/Transaktionen.db");
}

TEST_F(Bookings, MovingLotsChangesOnlyTheirSecurity) {
    const int zert = security("Zertifikat");
    const int basis = security("Basiswert");
    lot(zert, d("02.01.2024"), 10, 5, "Zertifikat");
    lot(zert, d("03.01.2024"), 5, 6, "Zertifikat", d("04.03.2024"), 7);
    auto moved = moveLots(*store, zert, basis);
    ASSERT_TRUE(moved.isOk());
    EXPECT_EQ(*moved, 2);
    EXPECT_TRUE(lots(zert).empty());
    const auto after = lots(basis);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[1].FirmenName, "Zertifikat");
    EXPECT_EQ(after[1].Erloes, 7.0);
    EXPECT_EQ(moveLots(*store, zert, 77).status().message(), "Wertpapier \"77\" nicht gefunden");
}

TEST_F(Bookings, LotsWithEmptyOptionalFieldsReadAsOpenAndZero) {
    const int firma = security("Alpha AG");
    // Another program wrote a lot with NULL sale date, proceeds and text, and one with
    // a sale date of 0.
    auto db = Database::open(dir + "Transaktionen.db", Database::Mode::OpenExisting);
    ASSERT_TRUE(db.isOk());
    ASSERT_TRUE((*db)->exec(QStringLiteral("INSERT INTO Transaktionen (Firma, Datum, Anteile, Ankauf) VALUES (%1, 45000, 3, 9)").arg(firma)).isOk());
    ASSERT_TRUE((*db)->exec(QStringLiteral("INSERT INTO Transaktionen VALUES (%1, 45001, 2, 8, 0, NULL, NULL)").arg(firma)).isOk());
    const auto read = lots(firma);
    ASSERT_EQ(read.size(), 2u);
    for (const Lot& l : read) {
        EXPECT_FALSE(l.isSold());
        EXPECT_EQ(l.Erloes, 0.0);
        EXPECT_TRUE(l.FirmenName.isEmpty());
    }
    EXPECT_EQ(heldShares(read, firma, d("28.06.2024")), 5.0);
}
