#include "portfolio/bookings.h"
#include "portfolio/cash.h"
#include "portfolio/income.h"
#include "portfolio_fixture.h"

#include "base/formats.h"

using namespace q;

namespace {

class Cash : public PortfolioTest {
protected:
    void SetUp() override {
        PortfolioTest::SetUp();
        cash = security(kCashName);
        alpha = security("Alpha AG");
    }
    Result<CashRebuild> rebuild() {
        ScriptedInteraction ui;
        ui.answers.push_back(Answer::Yes);
        return rebuildCash(*store, ui, "EUR");
    }
    // The cash lots as "date amount Ankauf text", in table order.
    QStringList cashLots() {
        QStringList out;
        for (const Lot& l : lots(cash))
            out << QStringLiteral("%1 %2 %3 %4").arg(formatDate(l.Datum), formatGeneral(l.Anteile)).arg(l.Ankauf).arg(l.FirmenName);
        return out;
    }
    int cash = 0, alpha = 0;
};

}  // namespace

TEST_F(Cash, APurchaseAndItsSaleGiveThreeCashLots) {
    lot(alpha, d("03.06.2024"), 10, 50, "Alpha AG", d("10.06.2024"), 60);
    auto r = rebuild();
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    // −10 × 50 on the purchase day; +500 back and (60 − 50) × 10 = 100 gain on the sale day.
    // In table order: by day, then amount.
    EXPECT_EQ(cashLots(), (QStringList{"03.06.2024 -500 1 AK .. Alpha AG", "10.06.2024 100 0 Gewinn .. Alpha AG",
                                       "10.06.2024 500 1 VK .. Alpha AG"}));
    EXPECT_DOUBLE_EQ(r->balance, 100.0);
}

TEST_F(Cash, PurchasesOfOneDayJoinAndHandEnteredCashStays) {
    lot(cash, d("03.06.2024"), 1000, 1, kCashName);  // a deposit
    lot(alpha, d("03.06.2024"), 10, 50, "Alpha AG");
    lot(alpha, d("03.06.2024"), 2, 45, "Alpha AG");
    ASSERT_TRUE(rebuild().isOk());
    // 500 + 90 joined into one lot; the deposit is never the lot joined into.
    EXPECT_EQ(cashLots(), (QStringList{"03.06.2024 -590 1 AK .. Zusammengefasst", "03.06.2024 1000 1 Bargeldbestand"}));
}

TEST_F(Cash, SavingsPlansSpecialLotsAndLotsSoldAtZero) {
    lot(alpha, d("03.06.2024"), 10, 50, "Sparplan Alpha");
    lot(alpha, d("04.06.2024"), 2, 55, "Ausschüttung Alpha AG");
    lot(alpha, d("05.06.2024"), 3, 10, "Alpha AG", d("06.06.2024"), 0);
    ASSERT_TRUE(bookDividend(*store, {alpha, 200, 0.5, std::nullopt, d("07.06.2024"), QString()}).isOk());
    ASSERT_TRUE(rebuild().isOk());
    EXPECT_EQ(cashLots(), (QStringList{// The savings plan's money comes in as it goes out.
                                       "03.06.2024 -500 1 AK .. Sparplan Alpha", "03.06.2024 500 1 EZ .. Sparplan Alpha",
                                       // The reinvested distribution moved no money.
                                       // A lot sold at 0: its cost back, its whole cost lost.
                                       "05.06.2024 -30 1 AK .. Alpha AG", "06.06.2024 -30 0 Verlust .. Alpha AG",
                                       "06.06.2024 30 1 VK .. Alpha AG",
                                       // A dividend: only its result, 200 × 0,50.
                                       "07.06.2024 100 0 Gewinn .. Dividende Alpha AG"}));
}

TEST_F(Cash, RunningTheRebuildTwiceGivesTheSameLots) {
    ASSERT_TRUE(buy(*store, {alpha, d("03.06.2024"), 10, 50, {}}).isOk());
    ASSERT_TRUE(buy(*store, {alpha, d("04.06.2024"), 5, 52, {}}).isOk());
    ASSERT_TRUE(sell(*store, {alpha, 12, d("10.06.2024"), 55, -1, false}).isOk());
    ASSERT_TRUE(bookPayment(*store, -12.5, d("11.06.2024")).isOk());
    auto first = rebuild();
    ASSERT_TRUE(first.isOk());
    const QStringList once = cashLots();
    auto second = rebuild();
    ASSERT_TRUE(second.isOk());
    EXPECT_EQ(cashLots(), once);
    EXPECT_EQ(second->removed, first->appended);
    // Paid 500 + 5 × 52 = 760; sold 10 at 55 − 50 and 2 at 55 − 52 (the sold part and
    // the remainder of the second purchase join on 04.06.): costs 500 + 104 back and
    // gains 50 + 6; the payment −12,5. Balance −760 + 604 + 56 − 12,5 = −112,5.
    EXPECT_DOUBLE_EQ(second->balance, -112.5);
    EXPECT_EQ(once, (QStringList{"03.06.2024 -500 1 AK .. Alpha AG", "04.06.2024 -260 1 AK .. Zusammengefasst",
                                 "10.06.2024 56 0 Erlöse .. Zusammengefasst", "10.06.2024 604 1 VK .. Zusammengefasst",
                                 "11.06.2024 -12,5 0 Verlust .. Zahlung"}));
}

TEST_F(Cash, PricesOfOneReachToday) {
    ASSERT_TRUE(rebuild().isOk());
    // None before: the first is today's (Friday 28.06.2024).
    auto prices = table("Aktien.db").rows(Query::detailOf(cash));
    ASSERT_EQ(prices->size(), 1u);
    EXPECT_EQ((*prices)[0].value("Datum").toInt(), dayNumber(d("28.06.2024")));
    // Four days later: Monday 01.07. follows the Friday, then 02.07.
    setToday(d("02.07.2024"));
    auto r = rebuild();
    EXPECT_EQ(r->prices, 2);
    prices = table("Aktien.db").rows(Query::detailOf(cash));
    EXPECT_EQ((*prices)[1].value("Datum").toInt(), dayNumber(d("01.07.2024")));
}

TEST_F(Cash, NoMeansNoRebuild) {
    ScriptedInteraction ui;
    auto r = rebuildCash(*store, ui, "EUR");
    EXPECT_EQ(r.status().category(), Category::Cancelled);
    EXPECT_EQ(ui.titles, QStringList{"Neu Berechnen !!!"});
}
