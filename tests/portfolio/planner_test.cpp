// The return planner on worked figures: A = 1000, V = 1200, B = 500, P = 600,
// K = 2000, w = 10 gives cash 2000 − 1000 + 100 = 1100, depot value 2300, capital
// return 15 %, T = 2200, H = 1100 and a missing gain of −100.
#include "portfolio/planner.h"

#include "base/text_files.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

PlannerInputs example() {
    PlannerInputs in;
    in.A = 1000;
    in.V = 1200;
    in.B = 500;
    in.P = 600;
    in.K = 2000;
    return in;
}

}  // namespace

TEST(Planner, TheFiguresAndTargetsOfTheWorkedExample) {
    const PlannerFigures f = plannerFigures(example());
    EXPECT_DOUBLE_EQ(f.Cash, 1100);
    EXPECT_DOUBLE_EQ(f.Depotwert, 2300);
    EXPECT_DOUBLE_EQ(*f.Kapitalrendite, 15);
    EXPECT_DOUBLE_EQ(f.Depotzuwachs, 300);
    EXPECT_DOUBLE_EQ(f.Einsatz, 900);
    EXPECT_DOUBLE_EQ(*f.Anlagen.Rendite, 20);
    EXPECT_DOUBLE_EQ(*f.Gewinne.Rendite, 20);
    EXPECT_DOUBLE_EQ(f.Gesamt.Umsatz, 3300);
    EXPECT_DOUBLE_EQ(*f.Gesamt.URendite, 300.0 * 100 / 3300);

    const PlannerTargets t = plannerTargets(example(), 10);
    EXPECT_DOUBLE_EQ(t.GeplantesErgebnis, 2200);
    EXPECT_DOUBLE_EQ(t.GeplanterGewinn, 200);
    EXPECT_DOUBLE_EQ(t.AnlageWunsch, 1100);
    EXPECT_DOUBLE_EQ(t.ANLAGEGEWINN, 100);
    EXPECT_DOUBLE_EQ(*t.AnlageProzent, 10);
    EXPECT_DOUBLE_EQ(t.GesamtWunsch, 1700);
    EXPECT_DOUBLE_EQ(t.GesamtGEWINN, 200);
    EXPECT_NEAR(*t.GesamtProzent, 1700.0 * 100 / 1500 - 100, 1e-12);
    EXPECT_DOUBLE_EQ(t.DifferenzVerkauf, -100);
    EXPECT_DOUBLE_EQ(*t.DifferenzRendite, -10);
}

TEST(Planner, EveryTargetLeadsBackToItsWish) {
    const PlannerInputs in = example();
    for (double w : {-50.0, 0.0, 10.0, 37.5, 400.0}) {
        const PlannerTargets t = plannerTargets(in, w);
        const std::pair<PlannerTarget, double> fields[] = {
            {PlannerTarget::GeplantesErgebnis, t.GeplantesErgebnis}, {PlannerTarget::GeplanterGewinn, t.GeplanterGewinn},
            {PlannerTarget::AnlageWunsch, t.AnlageWunsch},           {PlannerTarget::ANLAGEGEWINN, t.ANLAGEGEWINN},
            {PlannerTarget::AnlageProzent, *t.AnlageProzent},        {PlannerTarget::GesamtWunsch, t.GesamtWunsch},
            {PlannerTarget::GesamtGEWINN, t.GesamtGEWINN},           {PlannerTarget::GesamtProzent, *t.GesamtProzent},
            {PlannerTarget::DifferenzVerkauf, t.DifferenzVerkauf},   {PlannerTarget::DifferenzRendite, *t.DifferenzRendite}};
        for (const auto& [field, value] : fields) {
            auto found = wishFor(in, field, value);
            ASSERT_TRUE(found.isOk());
            EXPECT_NEAR(found->wish, w, 1e-9) << static_cast<int>(field);
        }
    }
    // 2420 planned from 2000: 21 %; beyond 1000 % the wish stops there.
    EXPECT_NEAR(wishFor(in, PlannerTarget::GeplantesErgebnis, 2420)->wish, 21, 1e-12);
    auto far = wishFor(in, PlannerTarget::GeplantesErgebnis, 1e9);
    EXPECT_TRUE(far->clamped);
    EXPECT_DOUBLE_EQ(far->wish, 1000);
}

TEST(Planner, ZeroDivisorsGiveNoFigureAndNoWish) {
    PlannerInputs empty;
    const PlannerFigures f = plannerFigures(empty);
    EXPECT_FALSE(f.Kapitalrendite);
    EXPECT_FALSE(f.Anlagen.Rendite);
    EXPECT_FALSE(f.Gewinne.URendite);
    EXPECT_FALSE(plannerTargets(empty, 10).AnlageProzent);
    EXPECT_EQ(wishFor(empty, PlannerTarget::GeplantesErgebnis, 100).status().message(),
              "Ohne Kapital lässt sich keine Rendite berechnen");
    PlannerInputs cashOnly;
    cashOnly.K = 1000;
    EXPECT_FALSE(wishFor(cashOnly, PlannerTarget::AnlageProzent, 10).isOk());
    EXPECT_FALSE(wishFor(example(), PlannerTarget::Wish, std::nan("")).isOk());
}

TEST(Planner, DepotIniAndTheCompanionFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // No file: no capital, wish 10.
    DepotPlan plan = readDepotPlan(dir.path());
    EXPECT_FALSE(plan.capital);
    EXPECT_DOUBLE_EQ(plan.wish, 10);
    ASSERT_TRUE(writeDepotPlan(dir.path(), 2000.5, 12.25).isOk());
    EXPECT_EQ(qtest::readFile(dir.path() + "/Depot.ini"), QByteArray("2000,5\r\n12,25\r\n"));
    plan = readDepotPlan(dir.path());
    EXPECT_DOUBLE_EQ(*plan.capital, 2000.5);
    EXPECT_DOUBLE_EQ(plan.wish, 12.25);
    // A point reads too; garbage leaves the capital empty and the wish at 10.
    qtest::writeFile(dir.path() + "/depot.INI", "1500.75\nabc\n");
    QFile::remove(dir.path() + "/Depot.ini");
    plan = readDepotPlan(dir.path());
    EXPECT_DOUBLE_EQ(*plan.capital, 1500.75);
    EXPECT_DOUBLE_EQ(plan.wish, 10);
    qtest::writeFile(dir.path() + "/depot.INI", "\xff\xfe garbage");
    EXPECT_FALSE(readDepotPlan(dir.path()).capital);

    ASSERT_TRUE(writeCompanionFile(dir.path() + "/depot.par", example()).isOk());
    EXPECT_EQ(qtest::readFile(dir.path() + "/depot.par"), QByteArray("1000\r\n20\r\n10000,00\r\n10,00\r\n1200\r\n \r\n10\r\n"));
    ASSERT_TRUE(writeCompanionFile(dir.path() + "/empty.par", PlannerInputs{}).isOk());
    EXPECT_TRUE(qtest::readFile(dir.path() + "/empty.par").startsWith("0\r\n0\r\n"));
}
