// The name and number searches beside the security list.
#include "overview/security_search.h"
#include "overview_fixture.h"

using namespace q;

using Search = OverviewTest;

TEST_F(Search, WalksOnFromTheRowGivenByNameTickerNumberOrIsin) {
    const int a = appendSecurity("Alpha Öl AG", "EUR", {{"Ticker", "ALP"}, {"Kennung", "710000"}, {"ISIN", "DE0007100000"}});
    const int b = appendSecurity("Beta Bank", "EUR", {{"Ticker", "BOEL"}, {"Kennung", "519000"}, {"ISIN", "DE0005190003"}});
    const int c = appendSecurity("Gamma Öl", "EUR", {{"Ticker", "GAM"}, {"Kennung", "A0D9PT"}, {"ISIN", "AT0000A0D9PT"}});
    auto rows = searchFieldsOf(*store, {a, b, c, 999});
    ASSERT_TRUE(rows.isOk());
    ASSERT_EQ(rows->size(), 4u);
    EXPECT_EQ((*rows)[3].FirmenName, QString());  // not in the master
    // "öl" in the names of Alpha and Gamma, upper-cased as "ÖL".
    EXPECT_EQ(nextMatch(*rows, 0, "öl", SearchKind::Name), 0);
    EXPECT_EQ(nextMatch(*rows, 1, "öl", SearchKind::Name), 2);
    EXPECT_EQ(nextMatch(*rows, 3, "öl", SearchKind::Name), -1);
    // The ticker BOEL holds "OEL": a different text, not found by "ÖL" but by "oel".
    EXPECT_EQ(nextMatch(*rows, 0, "oel", SearchKind::Name), 1);
    EXPECT_EQ(nextMatch(*rows, 0, "a0d9", SearchKind::Number), 2);
    EXPECT_EQ(nextMatch(*rows, 0, "DE00051", SearchKind::Number), 1);
    EXPECT_EQ(nextMatch(*rows, 0, "", SearchKind::Number), -1);
    EXPECT_EQ(nextMatch(*rows, 0, "GAM", SearchKind::Number), -1);  // a ticker, not a number
}
