// The portfolio as a user drives it with quintara-cli, each test on a fresh data
// directory; today is Friday 28.06.2024.
#include "cli/cli_fixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace q;
using qtest::runCli;

namespace {

class PortfolioCli : public CliTest {
protected:
    QJsonArray lots(const QStringList& extra = {}) { return json(QStringList{"lots", "--all"} + extra)["lots"].toArray(); }
};

QString summary(const QJsonObject& lot) {
    return QStringLiteral("%1 %2 %3 %4 %5").arg(lot["shares"].toDouble()).arg(lot["buyDate"].toString()).arg(lot["buyPrice"].toDouble())
        .arg(lot["saleDate"].toString()).arg(lot["salePrice"].toDouble());
}

}  // namespace

TEST_F(PortfolioCli, TheAssistantsFoldTheFeesIntoThePrice) {
    security("Alpha AG");
    // Costs 500 × 0,4 ÷ 1000 + 500 × 1 ÷ 100 + 2,8121053 = 8,0121053;
    // (500 + 8,0121053) ÷ 10 = 50,80121053 and (500 − 8,0121053) ÷ 10 = 49,19878947.
    const QJsonObject bought = json({"buy", "Alpha AG", "--shares", "10", "--price", "50", "--fees", "--date", "03.06.2024"});
    EXPECT_DOUBLE_EQ(bought["lot"].toObject()["buyPrice"].toDouble(), 50.80121053);
    EXPECT_TRUE(bought["lines"].toArray().contains("Gebühren: 8,01 Euro"));
    const QJsonObject sold = json({"sell", "1", "--shares", "10", "--price", "50", "--fees", "--date", "10.06.2024"});
    EXPECT_DOUBLE_EQ(sold["sold"].toArray()[0].toObject()["salePrice"].toDouble(), 49.19878947);
    // The quick purchase books the total ÷ shares: 1000 ÷ 3.
    const QJsonObject quick = json({"buy", "Alpha AG", "--shares", "3", "--total", "1000"});
    EXPECT_DOUBLE_EQ(quick["lot"].toObject()["buyPrice"].toDouble(), 1000.0 / 3.0);
    EXPECT_EQ(quick["lot"].toObject()["buyDate"].toString(), "28.06.2024");
}

TEST_F(PortfolioCli, SalesGoFirstInFirstOutOrToTheSelectedLot) {
    security("Alpha AG");
    const int a = json({"buy", "1", "--shares", "100", "--price", "20", "--date", "02.01.2023"})["lot"].toObject()["id"].toInt();
    const int b = json({"buy", "1", "--shares", "50", "--price", "30", "--date", "03.03.2023"})["lot"].toObject()["id"].toInt();
    // B selected, but 30 is not its count: A gives 30 and keeps 70 open at its date and price.
    json({"sell", "1", "--shares", "30", "--price", "40", "--date", "01.06.2024", "--lot", QString::number(b)});
    QJsonArray all = lots();
    ASSERT_EQ(all.size(), 3);
    QStringList rows;
    for (const auto& l : all) rows << summary(l.toObject());
    EXPECT_EQ(rows, (QStringList{"30 02.01.2023 20 01.06.2024 40", "70 02.01.2023 20  0", "50 03.03.2023 30  0"}));
    EXPECT_EQ(all[0].toObject()["id"].toInt(), a);
    // Exactly B's 50: B is sold though older shares are open.
    json({"sell", "1", "--shares", "50", "--price", "41", "--date", "02.06.2024", "--lot", QString::number(b)});
    all = lots();
    EXPECT_EQ(summary(all[2].toObject()), "50 03.03.2023 30 02.06.2024 41");
    EXPECT_EQ(summary(all[1].toObject()), "70 02.01.2023 20  0");
    // 100 more than the 70 held: all sold, the excess of 30 reported on stderr.
    auto over = run({"sell", "1", "--shares", "100", "--price", "42", "--date", "03.06.2024"});
    EXPECT_EQ(over.exitCode, 0);
    EXPECT_TRUE(over.err.contains("Sie haben mehr verkauft als Sie hatten!! Übrig sind noch 30 Anteile")) << over.err.toStdString();
    EXPECT_EQ(json({"lots"})["lots"].toArray().size(), 0);
}

TEST_F(PortfolioCli, BadInputBooksNothing) {
    security("Alpha AG");
    json({"buy", "1", "--shares", "10", "--price", "50", "--date", "03.06.2024"});
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"buy", "1", "--shares", "zehn", "--price", "50"}, "Ungültige Zahl für --shares: zehn"},
        {{"buy", "1", "--shares", "0", "--price", "50"}, "Die Anzahl der Anteile muss größer als 0 sein: 0"},
        {{"buy", "1", "--shares", "-5", "--total", "50"}, "Die Anzahl der Anteile muss größer als 0 sein: -5"},
        {{"buy", "Beta AG", "--shares", "1", "--price", "50"}, "Wertpapier \"Beta AG\" nicht gefunden"},
        {{"buy", "1", "--shares", "1", "--price", "50", "--date", "31.02.2024"}, "Ungültiges Datum für --date: 31.02.2024 (erwartet TT.MM.JJJJ)"},
        {{"buy", "1", "--shares", "1"}, "Geben Sie entweder --price oder --total an"},
        {{"sell", "1", "--shares", "5", "--price", "60"}, "--date fehlt"},
        {{"currency-add", "USD", "US-Dollar", "0"}, "Der Wechselkurs muss größer als 0 sein: 0"},
        {{"split", "1", "--ratio", "0", "--end", "01.06.2024"}, "Das Splitverhältnis muss größer als 0 sein: 0"},
    };
    for (const auto& c : cases) {
        auto r = run(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.split('\n', Qt::SkipEmptyParts).last(), QString::fromUtf8(c.message)) << r.err.toStdString();
    }
    // The only lot was bought after the sale date: all 5 shares are more than were held
    // on 01.06., and nothing is booked.
    auto early = run({"sell", "1", "--shares", "5", "--price", "60", "--date", "01.06.2024"});
    EXPECT_EQ(early.exitCode, 0);
    EXPECT_EQ(early.err.trimmed(), "Sie haben mehr verkauft als Sie hatten!! Übrig sind noch 5 Anteile");
    EXPECT_FALSE(early.out.contains("Verkauft")) << early.out.toStdString();
    const QJsonArray all = lots();
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(summary(all[0].toObject()), "10 03.06.2024 50  0");
}

TEST_F(PortfolioCli, TheSpeculationPeriodSplitsTheDepot) {
    const int alpha = security("Alpha AG");
    price(alpha, "27.06.2024", 60);
    // 29.06.2023 to 28.06.2024: 365 days held (2024 has a 29 February); 30.06.: 364.
    json({"buy", "1", "--shares", "10", "--price", "50", "--date", "29.06.2023"});
    json({"buy", "1", "--shares", "5", "--price", "40", "--date", "30.06.2023"});
    // With the defaults every lot bought from 01.01.2009 is taxable:
    // 10 × 50 + 5 × 40 = 700 invested, 15 × 60 = 900 worth, 200 gain; 27 % of it 54.
    QJsonObject depot = json({"depot"});
    EXPECT_DOUBLE_EQ(depot["taxable"].toObject()["invested"].toDouble(), 700.0);
    EXPECT_DOUBLE_EQ(depot["taxFree"].toObject()["invested"].toDouble(), 0.0);
    EXPECT_TRUE(depot["lines"].toArray().contains(
        "Gewinne für die Spekulationssteuern/Abgeltungssteuer anfallen würden (27% wären 54 EUR): Anlagesumme 700,00 EUR, "
        "Depotsumme 900,00 EUR, Gewinn 200,00 EUR, 28,57%"));
    // Under the 365-day rule (from 2030 on): held exactly 365 days is tax-free.
    json({"regional", "--period-from", "01.01.2030"});
    depot = json({"depot"});
    EXPECT_DOUBLE_EQ(depot["taxFree"].toObject()["invested"].toDouble(), 500.0);
    EXPECT_DOUBLE_EQ(depot["taxFree"].toObject()["value"].toDouble(), 600.0);
    // The 364-day lot: 200 invested, 300 worth, 100 gain, 27 % = 27.
    EXPECT_DOUBLE_EQ(depot["taxable"].toObject()["invested"].toDouble(), 200.0);
    EXPECT_EQ(depot["taxable"].toObject()["estimateText"].toString(), "(27% wären 27 EUR)");
    EXPECT_DOUBLE_EQ(depot["percent"].toDouble(), 200.0 / 700.0 * 100.0);
}

TEST_F(PortfolioCli, SplitsDividendsReinvestmentsAndPayments) {
    const int alpha = security("Alpha AG");
    price(alpha, "14.06.2024", 50);
    price(alpha, "27.06.2024", 5.5);
    json({"buy", "Alpha AG", "--shares", "10", "--price", "40", "--date", "02.01.2024"});
    const QJsonObject split = json({"split", "Alpha AG", "--ratio", "10", "--end", "14.06.2024"});
    EXPECT_EQ(split["prices"].toInt(), 1);
    EXPECT_EQ(summary(lots()[0].toObject()), "100 02.01.2024 4  0");
    // 200 shares at 0,50; then a distribution of 110 reinvested at 5,50: 20 new shares.
    const QJsonObject dividend = json({"dividend", "Alpha AG", "--shares", "200", "--amount", "100", "--date", "20.06.2024"});
    EXPECT_EQ(summary(dividend["lot"].toObject()), "200 20.06.2024 0 20.06.2024 0.5");
    const QJsonObject reinvest = json({"reinvest", "Alpha AG", "--amount", "110", "--price", "5,5", "--date", "21.06.2024"});
    EXPECT_EQ(reinvest["lot"].toObject()["text"].toString(), "Ausschüttung Alpha AG");
    EXPECT_DOUBLE_EQ(reinvest["lot"].toObject()["shares"].toDouble(), 20.0);
    // A fee of 12,50 paid out: one share of the security 0 sold at −12,50.
    const QJsonObject payment = json({"payment", "--amount", "-12,50", "--date", "25.06.2024", "--text", "Depotgebühr"});
    EXPECT_EQ(payment["lot"].toObject()["firma"].toInt(), 0);
    EXPECT_EQ(summary(payment["lot"].toObject()), "1 25.06.2024 0 25.06.2024 -12.5");
    // Held: 100 at 4 and 20 reinvested without cost; worth 120 × 5,50 = 660 against 400.
    const QJsonObject depot = json({"depot"});
    EXPECT_DOUBLE_EQ(depot["invested"].toDouble(), 400.0);
    EXPECT_DOUBLE_EQ(depot["value"].toDouble(), 660.0);
    EXPECT_TRUE(QFile::exists(home + "Temp/anlagen.rtf"));
    // Bookings text: (0 − 4) × 100 + (0,5 − 0) × 200 + 0 + (−12,5 − 0) × 1 = −312,5.
    EXPECT_EQ(json({"bookings-text"})["sumLine"].toString(), "Summe: -312,50 EUR");
}

TEST_F(PortfolioCli, AForeignLotIsValuedWithTheRateOfTheReportDate) {
    const int usd = security("US-Dollar");
    price(usd, "02.01.2024", 0.90);
    price(usd, "04.01.2024", 0.92);
    price(usd, "27.06.2024", 0.93);
    const int apple = security("Apfel Inc", "USD");
    price(apple, "27.06.2024", 200);
    json({"currency-add", "USD", "US-Dollar", "0,9"});
    json({"buy", "Apfel Inc", "--shares", "10", "--price", "150", "--date", "03.01.2024"});
    // 03.01. has no rate, the next later one counts: 10 × 150 $ × 0,92 = 1380 €;
    // today is after the last rate: 10 × 200 $ × 0,93 = 1860 €.
    QJsonObject depot = json({"depot"});
    EXPECT_NEAR(depot["invested"].toDouble(), 1380.0, 1e-9);
    EXPECT_NEAR(depot["value"].toDouble(), 1860.0, 1e-9);
    EXPECT_EQ(depot["securities"].toArray()[0].toObject()["currency"].toString(), "USD");
    // The refresh took the newest rate as the stored factor.
    EXPECT_DOUBLE_EQ(json({"currencies"})["currencies"].toArray()[1].toObject()["factor"].toDouble(), 0.93);
    // In the second currency (marks at 1,95583 per euro): 1860 × 1,95583.
    json({"regional", "--home", "EUR", "--second", "DM", "--rate", "1,95583"});
    depot = json({"depot", "--second-currency"});
    EXPECT_EQ(depot["symbol"].toString(), "DM");
    EXPECT_NEAR(depot["value"].toDouble(), 1860.0 * 1.95583, 1e-9);
}

TEST_F(PortfolioCli, AWeekendPurchaseTakesMondaysRate) {
    const int usd = security("US-Dollar");
    price(usd, "29.01.2010", 1.40);  // Friday
    price(usd, "01.02.2010", 1.25);  // Monday
    price(usd, "30.06.2010", 1.20);
    const int stock = security("Gamma Corp", "USD");
    price(stock, "30.06.2010", 120);
    json({"currency-add", "USD", "US-Dollar", "0.9", "--divide"});
    json({"buy", "Gamma Corp", "--shares", "10", "--price", "100", "--date", "31.01.2010"});
    // Sunday 31.01.: Monday's 1,25, not Friday's 1,40: 10 × 100 $ ÷ 1,25 = 800 €;
    // on 30.06.2010: 10 × 120 $ ÷ 1,20 = 1000 €.
    const QJsonObject depot = json({"depot", "--date", "30.06.2010"});
    EXPECT_NEAR(depot["invested"].toDouble(), 800.0, 1e-9);
    EXPECT_NEAR(depot["value"].toDouble(), 1000.0, 1e-9);
    auto r = run({"depot", "--date", "30.06.2010"});
    EXPECT_TRUE(r.out.contains("Anlagesumme") && r.out.contains("800,00 EUR")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("1.000,00 EUR")) << r.out.toStdString();
    // anlagen.rtf carries the colour table and the security line as other readers expect them.
    const QByteArray rtf = qtest::readFile(home + "Temp/anlagen.rtf");
    EXPECT_TRUE(rtf.contains("}}{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;"
                             "\\red0\\green180\\blue0;\\red150\\green0\\blue0; }"));
    EXPECT_TRUE(rtf.contains("\\plain\\f2\\fs20\\b\\cf1\\ul Gamma Corp\\tab\\ulnone  (")) << rtf.toStdString();
}

TEST_F(PortfolioCli, TheCashRebuildGivesTheSameLotsTwice) {
    security("Alpha AG");
    json({"buy", "Alpha AG", "--shares", "10", "--price", "50", "--date", "03.06.2024"});
    json({"buy", "Alpha AG", "--shares", "5", "--price", "52", "--date", "04.06.2024"});
    json({"sell", "Alpha AG", "--shares", "12", "--price", "55", "--date", "10.06.2024"});
    json({"payment", "--amount", "-12,5", "--date", "11.06.2024"});
    auto refused = run({"cash-rebuild"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Barbestand nicht neu berechnet (mit --yes bestätigen)"));
    // −500 − 260 paid, 500 + 104 back, 50 + 6 gained, 12,50 paid out: −112,50.
    const QJsonObject first = json({"cash-rebuild", "--yes"});
    EXPECT_TRUE(first["created"].toBool());
    EXPECT_DOUBLE_EQ(first["balance"].toDouble(), -112.5);
    const QJsonArray once = lots({"Bargeldbestand"});
    EXPECT_EQ(once.size(), 5);
    const QJsonObject second = json({"cash-rebuild", "--yes"});
    EXPECT_EQ(second["removed"].toInt(), 5);
    const QJsonArray twice = lots({"Bargeldbestand"});
    ASSERT_EQ(twice.size(), once.size());
    for (int i = 0; i < once.size(); ++i) {
        QJsonObject a = once[i].toObject(), b = twice[i].toObject();
        a.remove("id");
        b.remove("id");
        EXPECT_EQ(a, b) << i;
    }
    // The cash is worth 1 each: the depot now holds 3 shares at 52 and −112,50 in cash.
    price(1, "27.06.2024", 53);
    const QJsonObject depot = json({"depot"});
    EXPECT_DOUBLE_EQ(depot["value"].toDouble(), 3 * 53 - 112.5);
}

TEST_F(PortfolioCli, HistoryAndBookingsOfAnotherProgram) {
    const int alpha = security("Alpha AG");
    price(alpha, "21.06.2024", 52);
    price(alpha, "25.06.2024", 55);
    // A lot another program wrote, with the optional fields empty.
    ASSERT_TRUE(qtest::runSqlite3(home + "Transaktionen.db", "INSERT INTO Transaktionen (Firma, Datum, Anteile, Ankauf) VALUES (1, " +
                                                                  QString::number(dayNumber(QDate(2024, 6, 20))) + ", 10, 50);")
                    .err.isEmpty());
    EXPECT_EQ(summary(lots()[0].toObject()), "10 20.06.2024 50  0");
    auto missing = run({"history"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("Beginn der Depotberechnung fehlt (--from TT.MM.JJJJ)"));
    // 24. to 27.06.: 520, 550, 550, 550 worth against 500 invested.
    const QJsonArray records = json({"history", "--from", "24.06.2024"})["records"].toArray();
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[0].toObject()["date"].toString(), "24.06.2024");
    EXPECT_DOUBLE_EQ(records[0].toObject()["value"].toDouble(), 520.0);
    EXPECT_DOUBLE_EQ(records[3].toObject()["value"].toDouble(), 550.0);
    EXPECT_DOUBLE_EQ(records[3].toObject()["invested"].toDouble(), 500.0);
    // The valuation adds today's record; a second one replaces it.
    json({"depot"});
    json({"depot"});
    EXPECT_EQ(json({"history"})["records"].toArray().size(), 5);
}

TEST_F(PortfolioCli, APurchaseTextLongerThanItsFieldIsCutAndSaidSo) {
    security("Alpha AG");
    auto r = run({"buy", "Alpha AG", "--shares", "1", "--price", "10", "--text", "Kauf auf Empfehlung des Börsenbriefs vom Mai"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Hinweis: Der Text hat mehr als 30 Zeichen und wurde gekürzt auf \"Kauf auf Empfehlung des Börsen\""))
        << r.out.toStdString();
}
