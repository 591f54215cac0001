#include "portfolio/cash.h"
#include "portfolio/currencies.h"
#include "portfolio/holdings_report.h"
#include "portfolio/valuation.h"
#include "portfolio/value_history.h"
#include "portfolio_fixture.h"

using namespace q;

namespace {

class Valuing : public PortfolioTest {
protected:
    Valuation value(const QDate& stichtag = d("28.06.2024"), bool second = false) {
        auto converter = CurrencyConverter::load(*store, settings);
        EXPECT_TRUE(converter.isOk());
        auto v = AnlagenBerechnung(*store, *converter, settings.rule, {stichtag, second});
        EXPECT_TRUE(v.isOk()) << v.status().message().toStdString();
        return v.isOk() ? *v : Valuation();
    }
    QString reportText(const Valuation& v) {
        HoldingsReportOptions o;
        o.today = d("28.06.2024");
        return holdingsReport(v, o).plainText();
    }
};

}  // namespace

TEST(Speculation, HeldExactlyThePeriodIsTaxFree) {
    SpeculationRule rule;  // 365 days before 01.01.2009, always taxable from then on
    EXPECT_FALSE(rule.isTaxable(QDate(2005, 3, 1), 365));
    EXPECT_TRUE(rule.isTaxable(QDate(2005, 3, 1), 364));
    EXPECT_TRUE(rule.isTaxable(QDate(2008, 12, 31), 0));
    EXPECT_TRUE(rule.isTaxable(QDate(2009, 1, 1), 5000));
    rule.tageNeu = 730;
    EXPECT_FALSE(rule.isTaxable(QDate(2009, 1, 1), 730));
    EXPECT_TRUE(rule.isTaxable(QDate(2009, 1, 1), 729));
    rule.tage = 0;
    EXPECT_TRUE(rule.isTaxable(QDate(2000, 1, 1), 9000));
}

// Alpha: 10 shares at 50 and a reinvested distribution of 2 shares at 55, price 60
// on 27.06.2024. Beta: 5 shares at 20, price 18 on 28.06.2024.
class TwoSecurities : public Valuing {
protected:
    void SetUp() override {
        Valuing::SetUp();
        alpha = security("Alpha AG", "EUR", "A1");
        beta = security("Beta AG", "EUR", "B2");
        lot(alpha, d("03.01.2022"), 10, 50, "Alpha AG");
        lot(alpha, d("02.02.2024"), 2, 55, "Ausschüttung Alpha AG");
        lot(beta, d("01.06.2024"), 5, 20, "Beta AG");
        lot(beta, d("01.02.2024"), 7, 10, "Beta AG", d("01.03.2024"), 12);  // sold before
        price(alpha, d("27.06.2024"), 60);
        price(beta, d("28.06.2024"), 18);
        price(beta, d("01.07.2024"), 99);  // after the report date
    }
    int alpha = 0, beta = 0;
};

TEST_F(TwoSecurities, ValuesOpenLotsAtTheNewestPriceAndTaxesAllNewLots) {
    const Valuation v = value();
    ASSERT_EQ(v.securities.size(), 2u);
    // Alpha: invested 10 × 50 + 2 × 0 = 500, value 12 × 60 = 720.
    EXPECT_DOUBLE_EQ(v.securities[0].sums.invested, 500.0);
    EXPECT_DOUBLE_EQ(v.securities[0].sums.value, 720.0);
    EXPECT_EQ(v.securities[0].priceDate, d("27.06.2024"));
    // Beta: invested 100, value 5 × 18 = 90; the price of 01.07. is not yet valid.
    EXPECT_DOUBLE_EQ(v.securities[1].sums.value, 90.0);
    // Depot: 600 invested, 810 value, gain 210 = 35 %.
    EXPECT_DOUBLE_EQ(v.total.invested, 600.0);
    EXPECT_DOUBLE_EQ(v.total.value, 810.0);
    EXPECT_DOUBLE_EQ(v.total.percent(), 35.0);
    // Every lot is bought after 01.01.2009 with Spekulation_neu 0: all taxable.
    EXPECT_EQ(v.taxable.lots, 3);
    EXPECT_EQ(v.taxFree().lots, 0);
    // round(210 × 27) ÷ 100 = 5670 ÷ 100.
    EXPECT_EQ(v.estimate(), "(27% wären 56,7 EUR)");
}

TEST_F(TwoSecurities, TheOldRuleSplitsTaxFreeFromTaxable) {
    settings.rule.ab = d("01.01.2030");  // every lot under the 365-day rule
    const Valuation v = value();
    // Tax-free: Alpha's first lot (held 907 days): 500 invested, 600 value, 20 %.
    EXPECT_DOUBLE_EQ(v.taxFree().invested, 500.0);
    EXPECT_DOUBLE_EQ(v.taxFree().value, 600.0);
    EXPECT_DOUBLE_EQ(v.taxFree().percent(), 20.0);
    // Taxable: the distribution (0 invested, 120 value) and Beta (100, 90): gain 110.
    EXPECT_DOUBLE_EQ(v.taxable.invested, 100.0);
    EXPECT_DOUBLE_EQ(v.taxable.value, 210.0);
    EXPECT_EQ(v.estimate(), "(27% wären 29,7 EUR)");
    const QString text = reportText(v);
    EXPECT_TRUE(text.contains("Gewinne ausserhalb der Spekulationsfrist bzw. ohne Abgeltungssteuer (Gewinne inkl.Verkaufskosten)"));
    EXPECT_TRUE(text.contains("Gewinne für die Spekulationssteuern/Abgeltungssteuer anfallen würden (27% wären 29,7 EUR)"));
    EXPECT_TRUE(text.contains("Ausschüttung Alpha AG (Wiederanlage ohne Ankaufskosten)"));
    EXPECT_TRUE(text.contains("907 Tage"));
}

TEST_F(TwoSecurities, TheReportShowsTheBlocksAndTotals) {
    const QString text = reportText(value());
    const QStringList lines = text.split('\n');
    EXPECT_EQ(lines[0], "Anteile\tAnkauf\tKurs\tAnlagesumme\takt.Datum\tKurs\tDepotsumme\tGewinn \tProzent \t28.06.2024");
    EXPECT_TRUE(lines.contains("Alpha AG\t (A1)"));
    // Subtotal of Alpha: 12 shares, first bought 03.01.2022, 500 ÷ 12 = 41,67 each,
    // 720 ÷ 12 = 60, gain 220 = 44 %, held 907 days.
    EXPECT_TRUE(lines.contains("12,0\t03.01.2022\t41,67 EUR\t500,00 EUR\t27.06.2024\t60,00 EUR\t720,00 EUR\t220,00 EUR\t44,00%\t907 Tage"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Summe aller Wertpapiere (Gewinne inkl.Verkaufskosten)\n"
                              "17,0\t\t\t600,00 EUR\t28.06.2024\t\t810,00 EUR\t210,00 EUR\t35,00%"))
        << text.toStdString();
}

TEST_F(Valuing, ForeignLotsUseTheRateValidOnEachDay) {
    // USD through the security "US-Dollar": 0,90 on 02.01., 0,92 on 04.01., 0,93 on
    // 27.06.2024.
    ASSERT_TRUE(addCurrency(*store, {"USD", "US-Dollar", 0.9, true, 1}).isOk());
    const int usd = security("US-Dollar");
    price(usd, d("02.01.2024"), 0.90);
    price(usd, d("04.01.2024"), 0.92);
    price(usd, d("27.06.2024"), 0.93);
    const int apple = security("Apfel Inc", "USD");
    lot(apple, d("03.01.2024"), 10, 150, "Apfel Inc");
    price(apple, d("27.06.2024"), 200);
    const Valuation v = value();
    // 03.01. has no rate: the next later one. Invested 10 × 150 × 0,92 = 1380; value on
    // 28.06., after the last rate: 10 × 200 × 0,93 = 1860.
    EXPECT_NEAR(v.total.invested, 1380.0, 1e-9);
    EXPECT_NEAR(v.total.value, 1860.0, 1e-9);
    // The lot's own-currency line shows dollars.
    EXPECT_TRUE(reportText(v).contains("10,0\t03.01.2024\t150,00 USD\t1.500,00 USD\t27.06.2024\t200,00 USD\t2.000,00 USD\t500,00 USD\t33,33%"));
}

TEST_F(Valuing, TheSecondCurrencyConvertsEveryAmountOneWay) {
    settings.secondSymbol = "DM";
    settings.wechselkurs = 1.95583;
    const int alpha = security("Alpha AG");
    const int mark = security("Markwert", "DM");
    lot(alpha, d("03.01.2022"), 10, 50, "Alpha AG");
    price(alpha, d("27.06.2024"), 60);
    lot(mark, d("03.01.2022"), 1, 19.5583, "Markwert");
    price(mark, d("27.06.2024"), 39.1166);
    // In euro: the mark amounts ÷ 1,95583: invested 500 + 10, value 600 + 20.
    const Valuation home = value();
    EXPECT_NEAR(home.total.invested, 510.0, 1e-9);
    EXPECT_NEAR(home.total.value, 620.0, 1e-9);
    // In marks: euro amounts × 1,95583, mark amounts as they are.
    const Valuation dm = value(d("28.06.2024"), true);
    EXPECT_EQ(dm.symbol, "DM");
    EXPECT_NEAR(dm.total.invested, 500 * 1.95583 + 19.5583, 1e-9);
    EXPECT_NEAR(dm.total.value, 600 * 1.95583 + 39.1166, 1e-9);
    // The history keeps euros whatever is shown.
    EXPECT_NEAR(dm.homeTotal.value, 620.0, 1e-9);
}

TEST_F(Valuing, ASecurityWithoutPriceIsMarkedAndCashIsWorthOne) {
    const int none = security("Ohne Kurs AG");
    lot(none, d("03.01.2024"), 10, 5, "Ohne Kurs AG");
    const int cash = security(kCashName);
    price(cash, d("29.06.2024"), 1);  // its only price dated tomorrow
    lot(cash, d("03.01.2024"), 1000, 1, kCashName);
    const Valuation v = value();
    ASSERT_EQ(v.securities.size(), 2u);
    EXPECT_TRUE(v.securities[0].noPrice);
    EXPECT_DOUBLE_EQ(v.securities[1].sums.value, 1000.0);
    EXPECT_TRUE(reportText(v).contains("Kein Kurs bis zum 28.06.2024: mit 0 bewertet"));
}

TEST_F(Valuing, TotalsStandWhenCashMakesTheShareSumNegative) {
    const int alpha = security("Alpha AG");
    const int cash = security(kCashName);
    lot(alpha, d("03.06.2024"), 10, 50, "Alpha AG");
    lot(cash, d("03.06.2024"), -500, 1, "AK .. Alpha AG");
    price(alpha, d("27.06.2024"), 60);
    const Valuation v = value();
    // Shares 10 − 500 = −490; invested 500 − 500 = 0; value 600 − 500 = 100; a
    // percentage over 0 invested is 0.
    ASSERT_FALSE(v.empty());
    EXPECT_DOUBLE_EQ(v.total.shares, -490.0);
    EXPECT_DOUBLE_EQ(v.total.invested, 0.0);
    EXPECT_DOUBLE_EQ(v.total.value, 100.0);
    EXPECT_EQ(v.total.percent(), 0.0);
    EXPECT_TRUE(reportText(v).contains("Summe aller Wertpapiere"));
    ASSERT_TRUE(writeHistoryRecord(*store, historyRecord(v.stichtag, v.homeTotal)).isOk());
    ASSERT_TRUE(writeHistoryRecord(*store, historyRecord(v.stichtag, v.homeTotal)).isOk());
    auto h = readHistory(*store);
    ASSERT_EQ(h->size(), 1u);  // one record per day, however often
    EXPECT_NEAR(h->front().invested(), 0.0, 1e-9);
    EXPECT_NEAR(h->front().value(), 100.0, 1e-9);
}

TEST_F(Valuing, ADepotWithoutOpenLotsIsEmpty) {
    const int alpha = security("Alpha AG");
    lot(alpha, d("03.06.2024"), 10, 50, "Alpha AG", d("10.06.2024"), 60);
    const Valuation v = value();
    EXPECT_TRUE(v.empty());
    HoldingsReportOptions o;
    EXPECT_TRUE(holdingsReport(v, o).paragraphs.empty());
}

TEST_F(Valuing, GroupBarsSumTheirSecurities) {
    const int alpha = security("Alpha AG");
    lot(alpha, d("03.06.2024"), 10, 50, "Alpha AG");
    price(alpha, d("27.06.2024"), 60);
    const Valuation v = value();
    // New securities stand in group 0 "alle Gruppen" and branch 0 "alle Branchen".
    ASSERT_EQ(v.groups.size(), 1u);
    EXPECT_EQ(v.groups[0].label(), "alle Gruppen\nAlpha AG (20%)\n600  100 20%");
    EXPECT_EQ(v.branches[0].index, 0);
}
