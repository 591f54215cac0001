// The return planner and the value development as a user asks for them with
// quintara-cli. The depot: 15 shares bought at 100, 5 sold at 120, the price 120
// today, no fees: A = 1000, V = 1200, B = 500, P = 600.
#include "cli/cli_fixture.h"

#include <QFile>
#include <QJsonArray>

using namespace q;

namespace {

class ReturnsCli : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        const int alpha = security("Alpha AG");
        price(alpha, "27.06.2024", 120);
        json({"buy", "Alpha AG", "--shares", "15", "--price", "100", "--date", "02.01.2024"});
        json({"sell", "Alpha AG", "--shares", "5", "--price", "120", "--date", "03.06.2024"});
    }
};

}  // namespace

TEST_F(ReturnsCli, TheFiguresAndTargetsOfTheDepot) {
    QJsonObject r = json({"returns", "--all", "--capital", "2000", "--wish", "10"});
    EXPECT_DOUBLE_EQ(r["A"].toDouble(), 1000);
    EXPECT_DOUBLE_EQ(r["B"].toDouble(), 500);
    EXPECT_DOUBLE_EQ(r["Cash"].toDouble(), 1100);
    EXPECT_DOUBLE_EQ(r["Depotwert"].toDouble(), 2300);
    EXPECT_DOUBLE_EQ(r["Kapitalrendite"].toDouble(), 15);
    EXPECT_DOUBLE_EQ(r["GeplantesErgebnis"].toDouble(), 2200);
    EXPECT_DOUBLE_EQ(r["AnlageWunsch"].toDouble(), 1100);
    EXPECT_DOUBLE_EQ(r["DifferenzVerkauf"].toDouble(), -100);
    EXPECT_DOUBLE_EQ(r["Gewinne"].toObject()["Rendite"].toDouble(), 20);
    EXPECT_TRUE(r["lines"].toArray().contains("Kapitalrendite: 15,00 %"));
    EXPECT_TRUE(r["lines"].toArray().contains("Cash: 1.100,00 EUR"));

    // 2420 planned from 2000 is 21 %.
    r = json({"returns", "--all", "--capital", "2000", "--target", "GeplantesErgebnis=2420"});
    EXPECT_NEAR(r["wish"].toDouble(), 21, 1e-9);
    // Beyond 1000 % the wish stops there and says so.
    r = json({"returns", "--all", "--capital", "2000", "--target", "GeplantesErgebnis=99999999"});
    EXPECT_DOUBLE_EQ(r["wish"].toDouble(), 1000);
    EXPECT_TRUE(r["clamped"].toBool());

    // The year 2023 had no sale: B and P are 0, not the sums of all years, and the
    // realised return has no value.
    r = json({"returns", "--year", "2023", "--capital", "2000"});
    EXPECT_DOUBLE_EQ(r["B"].toDouble(), 0);
    EXPECT_TRUE(r["Gewinne"].toObject()["Rendite"].isNull());
    EXPECT_DOUBLE_EQ(r["A"].toDouble(), 0);  // nothing was held on 31.12.2023

    EXPECT_EQ(run({"returns", "--all", "--target", "Unsinn=5"}).exitCode, 1);
    EXPECT_EQ(run({"returns", "--all", "--target", "GeplantesErgebnis=viel"}).exitCode, 1);
    EXPECT_EQ(run({"returns"}).exitCode, 1);
}

TEST_F(ReturnsCli, DepotIniKeepsCapitalAndWish) {
    // Without a capital the minimum A + B − P = 900 is used.
    QJsonObject r = json({"returns", "--all"});
    EXPECT_DOUBLE_EQ(r["K"].toDouble(), 900);
    EXPECT_DOUBLE_EQ(r["wish"].toDouble(), 10);
    json({"returns", "--all", "--capital", "2500", "--wish", "12,5", "--save"});
    EXPECT_EQ(qtest::readFile(home + "Depot.ini"), QByteArray("2500\r\n12,5\r\n"));
    r = json({"returns", "--all"});
    EXPECT_DOUBLE_EQ(r["K"].toDouble(), 2500);
    EXPECT_DOUBLE_EQ(r["wish"].toDouble(), 12.5);
    // The second currency shows the amounts times its rate; the capital stays home.
    json({"regional", "--home", "EUR", "--second", "DM", "--rate", "2"});
    r = json({"returns", "--all", "--second-currency"});
    EXPECT_DOUBLE_EQ(r["f"].toDouble(), 2);
    EXPECT_DOUBLE_EQ(r["Depotwert"].toDouble(), (2500 - 1000 + 100 + 1200) * 2.0);

    json({"returns", "--all", "--companion-file", home + "depot.par"});
    EXPECT_TRUE(qtest::readFile(home + "depot.par").startsWith("1000\r\n20\r\n10000,00\r\n"));
}

TEST_F(ReturnsCli, TheValueDevelopmentLines) {
    // 10 shares held at 100, price 120; 10 % above the buy price is 110.
    const QJsonObject v = json({"value-trial", "Alpha AG", "--percent", "10"});
    EXPECT_DOUBLE_EQ(v["shares"].toDouble(), 10);
    EXPECT_DOUBLE_EQ(v["meanBuy"].toDouble(), 100);
    EXPECT_TRUE(v["gain"].toObject()["text"].toString().contains("Kurs: 110,00")) << v["gain"].toObject()["text"].toString().toStdString();
    EXPECT_TRUE(v["currentLine"].toObject()["red"].toBool());
}
