#include "portfolio/currencies.h"
#include "portfolio/value_history.h"
#include "portfolio_fixture.h"

using namespace q;

using Currencies = PortfolioTest;
using History = PortfolioTest;

TEST_F(Currencies, RatesAreThePricesOfTheSecurityNamedLikeTheCurrency) {
    const int usd = security("US-Dollar");
    price(usd, d("14.06.2024"), 0.91);  // a Friday
    price(usd, d("17.06.2024"), 0.93);  // the Monday after
    auto c = CurrencyConverter::load(*store, settings);
    ASSERT_TRUE(c.isOk());
    // Saturday: Monday's rate, the one a bank settles a weekend trade at.
    EXPECT_EQ(*c->wahrungskurs("US-Dollar", d("15.06.2024")), 0.93);
    EXPECT_EQ(*c->wahrungskurs("US-Dollar", d("14.06.2024")), 0.91);
    // After the last stored rate, the last one.
    EXPECT_EQ(*c->wahrungskurs("us-dollar", d("30.06.2024")), 0.93);
    EXPECT_EQ(*c->wahrungskurs("US-Dollar", d("01.01.2024")), 0.91);
    EXPECT_EQ(*c->wahrungskurs("Yen", d("01.01.2024")), 0.0);
}

TEST_F(Currencies, TheConverterFollowsTheTablesMultiplierAndUnit) {
    ASSERT_TRUE(addCurrency(*store, {"USD", "US-Dollar", 0.9, true, 1}).isOk());
    ASSERT_TRUE(addCurrency(*store, {"JPY", "Euro in Yen", 160, false, 100}).isOk());
    ASSERT_TRUE(addCurrency(*store, {"CHF", "Franken", 1.05, true, 1}).isOk());
    const int yen = security("Euro in Yen");
    price(yen, d("03.06.2024"), 1.6);
    settings.secondSymbol = "DM";
    settings.wechselkurs = 2;
    auto c = CurrencyConverter::load(*store, settings);
    // Yen: divided by rate × unit = 1 ÷ (1,6 × 100).
    EXPECT_DOUBLE_EQ(*c->toHome("JPY", d("04.06.2024")), 1.0 / 160.0);
    // Franken has no rate security: its stored factor.
    EXPECT_DOUBLE_EQ(*c->toHome("CHF", d("04.06.2024")), 1.05);
    EXPECT_DOUBLE_EQ(*c->toHome("EUR", d("04.06.2024")), 1.0);
    EXPECT_DOUBLE_EQ(*c->toHome("XYZ", d("04.06.2024")), 1.0);
    // The second currency: home amount × 2 = marks, so marks ÷ 2 = euros.
    EXPECT_DOUBLE_EQ(*c->toHome("DM", d("04.06.2024")), 0.5);
    EXPECT_DOUBLE_EQ(*c->factor("CHF", d("04.06.2024"), true), 2.1);
    EXPECT_DOUBLE_EQ(*c->factor("DM", d("04.06.2024"), true), 1.0);
    EXPECT_EQ(c->displaySymbol(true), "DM");
}

TEST_F(Currencies, BadCurrenciesAreRefused) {
    EXPECT_EQ(addCurrency(*store, {"USD", "US-Dollar", 0, true, 1}).message(), "Der Wechselkurs muss größer als 0 sein: 0");
    EXPECT_EQ(addCurrency(*store, {"USD", "US-Dollar", 1, true, -1}).message(), "Der Faktor für die Umrechnung muss größer als 0 sein: -1");
    EXPECT_EQ(addCurrency(*store, {"DOLLAR", "US-Dollar", 1, true, 1}).message(), "Das Währungssymbol darf höchstens 5 Zeichen haben: DOLLAR");
    ASSERT_TRUE(addCurrency(*store, {"USD", "US-Dollar", 1, true, 1}).isOk());
    EXPECT_EQ(addCurrency(*store, {"USD", "Dollar", 1, true, 1}).message(), "Die Währung USD gibt es schon");
    auto gone = deleteCurrency(*store, "USD");
    ASSERT_TRUE(gone.isOk());
    EXPECT_EQ(gone->Name, "US-Dollar");
    EXPECT_EQ(deleteCurrency(*store, "USD").status().message(), "Die Währung USD gibt es nicht");
}

TEST_F(Currencies, TheRefreshTakesTheNewestPriceAndKeepsFactorsWithoutOne) {
    ASSERT_TRUE(addCurrency(*store, {"USD", "US-Dollar", 0.9, true, 1}).isOk());
    ASSERT_TRUE(addCurrency(*store, {"GBP", "Pfund", 1.2, true, 1}).isOk());
    ASSERT_TRUE(addCurrency(*store, {"CHF", "Franken", 1.05, true, 1}).isOk());
    ASSERT_TRUE(writeSecondCurrency(*store, QString(), "DM", "EUR", 1.95583).isOk());
    const int usd = security("US-Dollar");
    price(usd, d("03.06.2024"), 1.0);
    price(usd, d("04.06.2024"), 1.1);
    security("Pfund");  // no price yet
    const int mark = security("EUR>>DM");
    price(mark, d("04.06.2024"), 1.96);
    settings.secondSymbol = "DM";
    auto changes = refreshFactors(*store, settings);
    ASSERT_TRUE(changes.isOk()) << changes.status().message().toStdString();
    ASSERT_EQ(changes->size(), 2u);
    EXPECT_EQ((*changes)[1].symbol, "USD");
    EXPECT_EQ((*changes)[1].after, 1.1);
    EXPECT_EQ(settings.wechselkurs, 1.96);
    auto records = readCurrencies(table(kCurrencies));
    for (const CurrencyRecord& r : *records) {
        if (r.Symbol == "GBP") {
            EXPECT_EQ(r.Faktor, 1.2);
        }
        if (r.Symbol == "CHF") {
            EXPECT_EQ(r.Faktor, 1.05);
        }
    }
}

TEST_F(Currencies, TheSecondCurrencyHasExactlyOneRecord) {
    ASSERT_TRUE(writeSecondCurrency(*store, QString(), "DM", "EUR", 1.95583).isOk());
    ASSERT_TRUE(writeSecondCurrency(*store, "DM", "DM", "EUR", 1.95583).isOk());
    ASSERT_TRUE(writeSecondCurrency(*store, "DM", "ATS", "EUR", 13.7603).isOk());
    QStringList symbols;
    auto records = readCurrencies(table(kCurrencies));
    for (const CurrencyRecord& r : *records) symbols << r.Symbol + "=" + r.Name;
    EXPECT_EQ(symbols, (QStringList{"=keine Währung", "ATS=EUR>>ATS"}));
}

TEST_F(History, TheBackfillWritesEveryDayUntilYesterday) {
    const int alpha = security("Alpha AG");
    const int beta = security("Beta AG", "USD");
    ASSERT_TRUE(addCurrency(*store, {"USD", "US-Dollar", 0.5, true, 1}).isOk());
    lot(alpha, d("20.06.2024"), 10, 50, "Alpha AG");
    lot(beta, d("24.06.2024"), 5, 10, "Beta AG", d("26.06.2024"), 12);
    price(alpha, d("21.06.2024"), 52);
    price(alpha, d("25.06.2024"), 55);
    price(alpha, d("27.06.2024"), 53);
    auto c = CurrencyConverter::load(*store, settings);
    NoProgress none;
    EXPECT_EQ(BerechnungAnlagen(*store, *c, std::nullopt, none).status().category(), Category::Cancelled);
    EXPECT_FALSE(store->exists(kHistory));
    auto r = BerechnungAnlagen(*store, *c, d("24.06.2024"), none);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->written, 4);  // 24. to 27.06., today (28.06.) is not written
    auto h = readHistory(*store);
    ASSERT_EQ(h->size(), 4u);
    // Beta (no price: its purchase price 10, in dollars at 0,5) is open on 24. and 25.:
    // 24.: 10 × 50 + 5 × 10 × 0,5 = 525 invested, 10 × 52 + 25 = 545 worth;
    // 25.: 525 and 550 + 25; 26.: 500 and 550; 27.: 500 and 530.
    const double invested[] = {525, 525, 500, 500};
    const double value[] = {545, 575, 550, 530};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((*h)[i].DATUM, d("24.06.2024").addDays(i));
        EXPECT_NEAR((*h)[i].invested(), invested[i], 1e-9) << i;
        EXPECT_NEAR((*h)[i].value(), value[i], 1e-9) << i;
    }
    // Nothing left to do until tomorrow.
    EXPECT_EQ(BerechnungAnlagen(*store, *c, std::nullopt, none)->written, 0);
    // The chart series: gain and percentage of the last day, 530 ÷ 500.
    const auto series = historySeries(*h, 1.0);
    EXPECT_NEAR(series.back().gain, 30.0, 1e-9);
    EXPECT_NEAR(*series.back().percent, 6.0, 1e-9);
}
