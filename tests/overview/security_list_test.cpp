// The securities the overview lists and the reference index change the rating reads.
#include "overview/security_list.h"
#include "overview/trend_index.h"
#include "overview_fixture.h"

using namespace q;

using OverviewLists = OverviewTest;

TEST_F(OverviewLists, TheReferenceIndexIgnoresMovesBelowOnePercent) {
    EXPECT_DOUBLE_EQ(*TrendIndexaktuell(*store, "Dow Jones"), 0);  // no such security
    const int dow = security("Dow Jones");
    price(dow, day("15.01.2024"), 100);
    EXPECT_DOUBLE_EQ(*TrendIndexaktuell(*store, "Dow Jones"), 0);  // one price only
    price(dow, day("16.01.2024"), 100.8);
    EXPECT_DOUBLE_EQ(*TrendIndexaktuell(*store, "dow jones"), 0);  // +0,8 %
    price(dow, day("17.01.2024"), 102.0096);                         // 100,8 × 1,012
    EXPECT_NEAR(*TrendIndexaktuell(*store, "Dow Jones"), 1.2, 1e-9);
}

TEST_F(OverviewLists, TheFilterTakesFavouritesGroupsBranchesAndFeatures) {
    const int a = security("Alpha");
    const int b = security("Beta");
    const int c = security("Gamma");
    setField(a, "Aktiv", true);
    setField(a, "Gruppe", 2);
    setField(b, "Aktiv", false);  // new securities are favourites
    setField(b, "Gruppe", 2);
    setField(b, "Branche", 3);
    setField(c, "Aktiv", true);
    const auto names = [&](const SecurityFilter& f) {
        QStringList out;
        auto list = listSecurities(*store, f);
        EXPECT_TRUE(list.isOk()) << list.status().message().toStdString();
        if (!list) return out;
        for (const SecurityRecord& s : *list) out << s.FirmenName;
        return out;
    };
    EXPECT_EQ(names({}), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(names({true}), (QStringList{"Alpha", "Gamma"}));
    EXPECT_EQ(names({false, 2}), (QStringList{"Alpha", "Beta"}));
    EXPECT_EQ(names({true, 2}), (QStringList{"Alpha"}));
    EXPECT_EQ(names({false, 2, 3}), (QStringList{"Beta"}));
    EXPECT_EQ(names({false, 0, 0, 4}), QStringList{});
}
