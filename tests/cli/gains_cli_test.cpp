// The realised gains as a user asks for them with quintara-cli: the period, the
// taxable rule on the holding time, distributions, deleted securities, the second
// currency and the report file as LibreOffice reads it.
#include "cli/cli_fixture.h"

#include <QFile>
#include <QJsonArray>
#include <map>

using namespace q;

namespace {

class GainsCli : public CliTest {
protected:
    void buySell(const QString& firma, const char* shares, const char* buyPrice, const char* bought, const char* salePrice,
                 const char* sold) {
        json({"buy", firma, "--shares", shares, "--price", buyPrice, "--date", bought});
        json({"sell", firma, "--shares", shares, "--price", salePrice, "--date", sold});
    }
};

}  // namespace

TEST_F(GainsCli, AYearHoldsExactlyTheLotsSoldInIt) {
    security("Alpha AG");
    buySell("Alpha AG", "1", "10", "02.01.2002", "11", "31.12.2002");
    buySell("Alpha AG", "2", "10", "02.01.2002", "12", "01.01.2003");
    buySell("Alpha AG", "3", "10", "02.01.2002", "13", "31.12.2003");
    buySell("Alpha AG", "4", "10", "02.01.2002", "14", "01.01.2004");
    const QJsonObject g = json({"gains", "--year", "2003"});
    const QJsonArray lots = g["lots"].toArray();
    ASSERT_EQ(lots.size(), 2);
    EXPECT_EQ(lots[0].toObject()["saleDate"].toString(), "01.01.2003");
    EXPECT_EQ(lots[1].toObject()["saleDate"].toString(), "31.12.2003");
    // 2 × 10 + 3 × 10 = 50 invested; 2 × 12 + 3 × 13 = 63 proceeds.
    EXPECT_DOUBLE_EQ(g["invested"].toDouble(), 50.0);
    EXPECT_DOUBLE_EQ(g["proceeds"].toDouble(), 63.0);
    EXPECT_DOUBLE_EQ(g["gain"].toDouble(), 13.0);
    EXPECT_DOUBLE_EQ(g["percent"].toDouble(), 26.0);
    EXPECT_EQ(g["from"].toString(), "01.01.2003");
    EXPECT_EQ(g["to"].toString(), "31.12.2003");
    EXPECT_EQ(json({"gains", "--all"})["lots"].toArray().size(), 4);
    EXPECT_EQ(json({"gains", "--from", "31.12.2002", "--to", "01.01.2003"})["lots"].toArray().size(), 2);

    // A year without a sale: said, and no report left behind.
    const QJsonObject none = json({"gains", "--year", "2010"});
    EXPECT_DOUBLE_EQ(none["proceeds"].toDouble(), 0.0);
    EXPECT_FALSE(QFile::exists(home + "Temp/gewinn.rtf"));
    // Bad periods.
    EXPECT_EQ(run({"gains"}).exitCode, 1);
    EXPECT_EQ(run({"gains", "--year", "2003", "--all"}).exitCode, 1);
    EXPECT_EQ(run({"gains", "--year", "1850"}).exitCode, 1);
    EXPECT_EQ(run({"gains", "--from", "01.02.2003", "--to", "01.01.2003"}).exitCode, 1);
}

TEST_F(GainsCli, HeldOneDayLessThanThePeriodIsTaxable) {
    security("Alpha AG");
    // The 365-day rule for lots bought before 2009: 10.01.2007 to 09.01.2008 is 364
    // days (taxable), to 10.01.2008 365 days (tax-free).
    buySell("Alpha AG", "10", "100", "10.01.2007", "120", "09.01.2008");
    buySell("Alpha AG", "5", "100", "10.01.2007", "90", "10.01.2008");
    // Bought from 2009 on with Spekulation_neu 0: taxable whatever the time.
    buySell("Alpha AG", "1", "50", "02.01.2009", "80", "04.01.2021");
    const QJsonObject g = json({"gains", "--all"});
    ASSERT_EQ(g["lots"].toArray().size(), 3);
    std::map<double, QJsonObject> lots;  // by shares
    for (const QJsonValue& v : g["lots"].toArray()) lots[v.toObject()["shares"].toDouble()] = v.toObject();
    EXPECT_EQ(lots[10]["held"].toInt(), 364);
    EXPECT_TRUE(lots[10]["taxable"].toBool());
    EXPECT_EQ(lots[5]["held"].toInt(), 365);
    EXPECT_FALSE(lots[5]["taxable"].toBool());
    EXPECT_TRUE(lots[1]["taxable"].toBool());
    // Taxable: 1000 + 50 invested, 1200 + 80 proceeds, gain 230; 27 % = 62,10.
    const QJsonObject taxable = g["taxable"].toObject();
    EXPECT_DOUBLE_EQ(taxable["invested"].toDouble(), 1050.0);
    EXPECT_DOUBLE_EQ(taxable["proceeds"].toDouble(), 1280.0);
    EXPECT_DOUBLE_EQ(taxable["estimate"].toDouble(), 62.1);
    // Tax-free: 500 invested, 450 back.
    EXPECT_DOUBLE_EQ(g["taxFree"].toObject()["gain"].toDouble(), -50.0);
    EXPECT_TRUE(g["lines"].toArray().contains(
        "Gewinne für die Spekulationssteuern/Abgeltungssteuer anfallen (27% wären 62,1 EUR): Anteile 11,0, Ankauf 1.050,00 EUR, "
        "Verkauf 1.280,00 EUR, Gewinn 230,00 EUR, 21,90%"));
}

TEST_F(GainsCli, TheReportReadsInLibreOffice) {
    const int alpha = security("Ölwerke Süd");
    security("Beta AG");
    buySell("Ölwerke Süd", "10", "50", "02.01.2024", "60", "03.06.2024");
    buySell("Ölwerke Süd", "5", "40", "03.01.2024", "30", "04.06.2024");
    // A distribution sold: bought without cost, its whole proceeds are gain.
    json({"dividend", "Beta AG", "--shares", "100", "--amount", "25", "--date", "20.06.2024"});
    (void)alpha;
    const QJsonObject g = json({"gains", "--year", "2024"});
    // Alpha: 500 + 200 = 700 invested, 600 + 150 = 750 proceeds; Beta: 0 and 25.
    EXPECT_DOUBLE_EQ(g["invested"].toDouble(), 700.0);
    EXPECT_DOUBLE_EQ(g["proceeds"].toDouble(), 775.0);
    const QString path = home + "Temp/gewinn.rtf";
    ASSERT_TRUE(QFile::exists(path));
    const QByteArray rtf = qtest::readFile(path);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720"));
    EXPECT_TRUE(rtf.contains("\\tx9450\\tx10000"));
    const QString text = qtest::convertToText(path);
    ASSERT_FALSE(text.isEmpty()) << "soffice konnte gewinn.rtf nicht lesen";
    // 10 × 50 = 500 for 600 (02.01. to 03.06.2024: 153 days, taxable); 5 × 40 = 200 for 150, a loss of 50
    // (−25 %); Beta's distribution 100 × 0,25 = 25 of pure gain (0,00 % of nothing).
    for (const char* expected : {"Ölwerke Süd", "Summe aller Verkäufe", "700,00 EUR", "775,00 EUR", "-50,00 EUR", "-25,00%",
                                 "153 Tage", "Beta AG", "25,00 EUR", "0,00%", "(27% wären 20,25 EUR)"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(GainsCli, ALotOfADeletedSecurityKeepsItsBookingText) {
    const int alpha = security("Alpha AG");
    buySell("Alpha AG", "10", "10", "02.01.2024", "12", "03.06.2024");
    {
        auto firma = store->table("Firma.db");
        auto r = (*firma)->findKey({alpha});
        ASSERT_TRUE(r.isOk() && r->has_value());
        ASSERT_TRUE((*firma)->remove(**r).isOk());
    }
    const QJsonObject g = json({"gains", "--year", "2024"});
    ASSERT_EQ(g["lots"].toArray().size(), 1);
    EXPECT_EQ(g["lots"].toArray()[0].toObject()["name"].toString(), "Alpha AG");
    EXPECT_DOUBLE_EQ(g["gain"].toDouble(), 20.0);
}

TEST_F(GainsCli, TheSecondCurrencyConvertsTheHomeAmounts) {
    security("Alpha AG", "");
    buySell("Alpha AG", "10", "10", "02.01.2024", "12", "03.06.2024");
    json({"regional", "--home", "EUR", "--second", "DM", "--rate", "2"});
    const QJsonObject g = json({"gains", "--year", "2024", "--second-currency"});
    EXPECT_EQ(g["symbol"].toString(), "DM");
    EXPECT_DOUBLE_EQ(g["invested"].toDouble(), 200.0);
    EXPECT_DOUBLE_EQ(g["proceeds"].toDouble(), 240.0);
}
