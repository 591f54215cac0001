#include "portfolio/bookings_view.h"
#include "portfolio/income.h"
#include "portfolio/splits.h"
#include "portfolio_fixture.h"

#include "base/formats.h"

#include <QDir>

using namespace q;

using Splits = PortfolioTest;
using Income = PortfolioTest;

TEST_F(Splits, OneToTenChangesPricesUpToTheEndAndTheLotsHeldThen) {
    const int firma = security("Alpha AG");
    price(firma, d("13.06.2024"), 52);
    price(firma, d("14.06.2024"), 50);
    price(firma, d("17.06.2024"), 50);
    const qint64 held = lot(firma, d("02.01.2024"), 10, 40, "Alpha AG");
    const qint64 sold = lot(firma, d("02.01.2024"), 4, 40, "Alpha AG", d("01.03.2024"), 45);
    const qint64 later = lot(firma, d("17.06.2024"), 3, 5.1, "Alpha AG");
    auto r = splitSecurity(*store, {firma, 10, d("14.06.2024")});
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->prices, 2);
    EXPECT_EQ(r->lots, 1);
    // 52 ÷ 10 and 50 ÷ 10 up to the end date; the price after it stays.
    auto prices = table("Aktien.db").rows(Query::detailOf(firma));
    ASSERT_EQ(prices->size(), 3u);
    EXPECT_DOUBLE_EQ((*prices)[0].value("Kurs").toDouble(), 5.2);
    EXPECT_DOUBLE_EQ((*prices)[1].value("Kurs").toDouble(), 5.0);
    EXPECT_DOUBLE_EQ((*prices)[2].value("Kurs").toDouble(), 50.0);
    for (const Lot& l : lots(firma)) {
        if (l.id == held) {
            EXPECT_DOUBLE_EQ(l.Anteile, 100.0);  // 10 × 10 shares at 40 ÷ 10
            EXPECT_DOUBLE_EQ(l.Ankauf, 4.0);
        } else if (l.id == sold) {
            EXPECT_EQ(l.Anteile, 4.0);
        } else {
            EXPECT_EQ(l.id, later);  // bought after the split: already at the new price
            EXPECT_EQ(l.Anteile, 3.0);
        }
    }
    EXPECT_EQ(splitSecurity(*store, {firma, 0, d("14.06.2024")}).status().message(), "Das Splitverhältnis muss größer als 0 sein: 0");
}

TEST_F(Splits, TheLinkedDepotsLotsSplitToo) {
    const int firma = security("Alpha AG");
    linkedDepot("Familie", {Lot{-1, firma, d("02.01.2024"), 10, 40, {}, 0, "Alpha AG"},
                            Lot{-1, firma, d("05.01.2024"), 7, 41, {}, 0, "Alpha AG"}});
    lot(firma, d("02.01.2024"), 10, 40, "Familie");
    auto r = splitSecurity(*store, {firma, 2, d("14.06.2024")});
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->linkedDepots, QStringList{dir + "Familie/Transaktionen.db"});
    auto there = Store::openFile(dir + "Familie/Transaktionen.db", layoutForFile(kLots));
    auto theirs = lotsOf(**there, firma);
    // Only the position that matches the imported lot.
    EXPECT_EQ((*theirs)[0].Anteile, 20.0);
    EXPECT_EQ((*theirs)[0].Ankauf, 20.0);
    EXPECT_EQ((*theirs)[1].Anteile, 7.0);
}

TEST_F(Income, ADividendIsALotBoughtAndSoldOnThePaymentDay) {
    const int firma = security("Alpha AG");
    auto perShare = bookDividend(*store, {firma, 200, 0.5, std::nullopt, d("15.05.2024"), QString()});
    ASSERT_TRUE(perShare.isOk()) << perShare.status().message().toStdString();
    EXPECT_EQ(perShare->Datum, d("15.05.2024"));
    EXPECT_EQ(perShare->Verkauf, d("15.05.2024"));
    EXPECT_EQ(perShare->Ankauf, 0.0);
    EXPECT_EQ(perShare->Erloes, 0.5);
    EXPECT_EQ(perShare->FirmenName, "Dividende Alpha AG");
    // Entered as a total only: 100 ÷ 200 shares = 0,50 each, not 0.
    auto total = bookDividend(*store, {firma, 200, std::nullopt, 100.0, d("15.05.2025"), "Bonus"});
    ASSERT_TRUE(total.isOk());
    EXPECT_EQ(total->Erloes, 0.5);
    // Each counts 200 × 0,50 = 100 as realised.
    EXPECT_DOUBLE_EQ(bookingsSum(lots(firma)), 200.0);
    EXPECT_EQ(bookDividend(*store, {firma, 0, std::nullopt, 100.0, d("15.05.2025"), {}}).status().message(),
              "Die Anzahl der Anteile muss größer als 0 sein: 0");
}

TEST_F(Income, AReinvestmentBuysSharesThatCountWithoutCost) {
    const int firma = security("Fonds Eins");
    auto r = bookReinvestment(*store, {firma, 110, 55, d("02.02.2024"), QString()});
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    // 110 ÷ 55 = 2 new shares at 55.
    EXPECT_EQ(r->Anteile, 2.0);
    EXPECT_EQ(r->Ankauf, 55.0);
    EXPECT_EQ(r->FirmenName, "Ausschüttung Fonds Eins");
    EXPECT_TRUE(r->isSpecial());
    EXPECT_EQ(r->buyPrice(), 0.0);
    EXPECT_EQ(bookReinvestment(*store, {firma, 110, 0, d("02.02.2024"), {}}).status().message(),
              "Der Preis pro Stück muss größer als 0 sein: 0");
}

TEST_F(Income, APaymentIsOneShareOfTheSecurityZero) {
    auto in = bookPayment(*store, 12.5, d("31.01.2024"));
    auto out = bookPayment(*store, -3.2, d("28.02.2024"), "Depotgebühr");
    ASSERT_TRUE(in.isOk()) << in.status().message().toStdString();
    ASSERT_TRUE(out.isOk());
    EXPECT_EQ(in->Firma, 0);
    EXPECT_EQ(in->Anteile, 1.0);
    EXPECT_EQ(in->Erloes, 12.5);
    EXPECT_EQ(in->FirmenName, "Zahlung");
    auto zahlungen = table("Firma.db").findKey({0});
    ASSERT_TRUE(zahlungen->has_value());
    EXPECT_EQ((**zahlungen).value("FirmenName").toString(), "Zahlungen");
    EXPECT_EQ(*table("Firma.db").count(Query::detailOf(0)), 1);
    // 12,5 − 3,2.
    EXPECT_DOUBLE_EQ(bookingsSum(lots(0)), 9.3);
    EXPECT_EQ(bookPayment(*store, 0, d("28.02.2024")).status().message(), "Der Betrag darf nicht 0 sein");
}

TEST_F(Income, BookingsTextSumsTheNetMoneyFlow) {
    const int a = security("Alpha AG");
    lot(a, d("02.01.2024"), 10, 50, "Alpha AG", d("03.03.2024"), 60);
    lot(a, d("04.01.2024"), 5, 20, "Alpha AG");
    lot(a, d("05.01.2024"), 4, 25, "Ausschüttung Alpha AG");
    auto text = writeBookingsText(*store, dir + "Temp/", kBookingsOrder, bookingsColumns(), "EUR");
    ASSERT_TRUE(text.isOk()) << text.status().message().toStdString();
    // (60 − 50) × 10 + (0 − 20) × 5 + (0 − 0) × 4 = 100 − 100 + 0.
    EXPECT_EQ(text->sumLine, "Summe: 0,00 EUR");
    EXPECT_EQ(qtest::readFile(dir + "Temp/Depot.txt"),
              QByteArray("FirmenName\tAnteile\tDatum\tAnkauf\tVerkauf\tErloes\t\r\n"
                         "Aussch\xfcttung Alpha AG\t4\t05.01.2024\t25\t\t\t\r\n"
                         "Alpha AG\t5\t04.01.2024\t20\t\t\t\r\n"
                         "Alpha AG\t10\t02.01.2024\t50\t03.03.2024\t60\t\r\n"
                         "\r\n"
                         "Summe: 0,00 EUR\r\n"));
}

TEST_F(Income, ClickingATitleAlternatesTheSortOrder) {
    EXPECT_EQ(nextSortIndex(kBookingsOrder, "Anteile"), "IAnteile");
    EXPECT_EQ(nextSortIndex("IAnteile", "Anteile"), "GAnteile");
    EXPECT_EQ(nextSortIndex("GAnteile", "Anteile"), "IAnteile");
    EXPECT_EQ(nextSortIndex("IAnteile", "Bezeichnung"), "IFirmenName");
    const int a = security("Alpha AG");
    lot(a, d("02.01.2024"), 10, 50);
    lot(a, d("03.01.2024"), 2, 50);
    lot(a, d("04.01.2024"), 7, 50);
    Table& t = table(kLots);
    ASSERT_TRUE(ensureSortIndex(t, "GAnteile").isOk());
    Query q;
    q.order = "GAnteile";
    QStringList shares;
    auto sorted = readLots(t, q);
    for (const Lot& l : *sorted) shares << formatGeneral(l.Anteile);
    EXPECT_EQ(shares.join(' '), "10 7 2");
    // The index stays in the file for the next run.
    auto names = Database::open(dir + "Transaktionen.db", Database::Mode::OpenExisting);
    EXPECT_TRUE((*names)->texts("SELECT name FROM sqlite_master WHERE type='index'")->contains("GAnteile"));
    EXPECT_EQ(ensureSortIndex(t, "XAnteile").category(), Category::Invalid);
}
