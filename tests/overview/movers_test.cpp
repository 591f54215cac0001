// The movers report and the two text reports (missing prices, price table) on real
// tables; the files are read back as Windows-1252 with CRLF.
#include "base/text_files.h"
#include "overview/list_selection.h"
#include "overview/movers.h"
#include "overview/price_reports.h"
#include "overview_fixture.h"

#include <QFile>

using namespace q;

namespace {

class Movers : public OverviewTest {
protected:
    std::vector<SecurityRecord> all() { return *resolveList(*store, {}); }
    QStringList names(const std::vector<MoverEntry>& entries) {
        QStringList out;
        for (const MoverEntry& e : entries) out << e.name + " " + moverChangeText(e.change);
        return out;
    }
};

}  // namespace

TEST_F(Movers, OneDayOnAMondayComparesWithFriday) {
    EXPECT_EQ(moversStart(day("12.01.2026"), 1), day("09.01.2026"));  // Monday
    EXPECT_EQ(moversStart(day("11.01.2026"), 1), day("08.01.2026"));  // Sunday
    EXPECT_EQ(moversStart(day("10.01.2026"), 1), day("08.01.2026"));  // Saturday
    EXPECT_EQ(moversStart(day("14.01.2026"), 1), day("13.01.2026"));
    EXPECT_EQ(moversStart(day("14.01.2026"), 30), day("15.12.2025"));
}

TEST_F(Movers, WinnersAndLosersOfTheLastDay) {
    const int alpha = security("Alpha");
    const int beta = security("Beta");
    const int gamma = security("Gamma");
    const int delta = security("Delta");
    const int zero = security("Null AG");
    setField(beta, "Waehrung", "USD");
    price(alpha, day("09.01.2026"), 20);
    price(alpha, day("12.01.2026"), 21);
    price(beta, day("08.01.2026"), 49);
    price(beta, day("09.01.2026"), 50);
    price(beta, day("12.01.2026"), 45);
    price(gamma, day("12.01.2026"), 30);
    price(delta, day("07.01.2026"), 10);
    price(zero, day("09.01.2026"), 0);  // a change against 0 means nothing
    price(zero, day("12.01.2026"), 5);

    MoversOptions o;
    o.from = moversStart(day("12.01.2026"), 1);
    auto r = writeMoversReport(*store, all(), o);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->up, 2);
    EXPECT_EQ(r->down, 1);
    EXPECT_EQ(names(r->winners), (QStringList{"Alpha 5,00%", "Gamma 0,00%"}));
    EXPECT_EQ(names(r->losers), (QStringList{"Beta -10,00%"}));
    EXPECT_EQ(r->losers[0].firstDate, day("09.01.2026"));
    EXPECT_EQ(r->losers[0].currency, "USD");
    EXPECT_EQ(r->winners[0].currency, "EUR");

    const QString text = r->report.plainText();
    EXPECT_TRUE(text.contains("Aktie\tDatum\tKurs\tDatum\tKurs\tDifferenz")) << text.toStdString();
    EXPECT_TRUE(text.contains("Gewinner\t\t\t\t\t2")) << text.toStdString();
    EXPECT_TRUE(text.contains("Verlierer\t\t\t\t\t1"));
    EXPECT_TRUE(text.contains("Alpha\t09.01.2026\t20,00 EUR\t12.01.2026\t21,00 EUR\t5,00%")) << text.toStdString();
    EXPECT_EQ(r->report.title, "Gewinner & Verlierer seit dem 09.01.2026");
    const QByteArray rtf = qtest::readFile(dir + "Temp/gewinner.rtf");
    EXPECT_TRUE(rtf.contains("Beta")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\red0\\green0\\blue255")) << rtf.toStdString();
}

TEST_F(Movers, LateStartsAndFullListsAreLeftOut) {
    // 30 days back from 31.01.2024 is 01.01.; a first price 10 days later does not count.
    const int late = security("Spaet AG");
    price(late, day("11.01.2024"), 10);
    price(late, day("31.01.2024"), 20);
    std::vector<int> up;
    for (int i = 0; i < 7; ++i) {
        const int f = security(QString("Wert %1").arg(i));
        price(f, day("02.01.2024"), 100);
        price(f, day("31.01.2024"), 100 + i);
    }
    MoversOptions o;
    o.from = moversStart(day("31.01.2024"), 30);
    o.count = 5;
    auto r = computeMovers(*store, all(), o);
    ASSERT_TRUE(r.isOk());
    EXPECT_EQ(r->up, 7);
    EXPECT_EQ(r->down, 0);
    EXPECT_EQ(names(r->winners), (QStringList{"Wert 6 6,00%", "Wert 5 5,00%", "Wert 4 4,00%", "Wert 3 3,00%", "Wert 2 2,00%"}));
    EXPECT_TRUE(r->losers.empty());
    o.count = 4;
    auto refused = computeMovers(*store, all(), o);
    EXPECT_EQ(refused.status().category(), Category::Invalid);
    EXPECT_EQ(refused.status().message(), "Die Zahl der Gewinner und Verlierer muss zwischen 5 und 1000 liegen, nicht 4");
}

TEST_F(Movers, MissingPricesListSecuritiesWithoutAnyPrice) {
    const int a = security("Alpha");
    const int b = security("Beta");
    const int c = security("Gamma");
    setField(a, "Kennung", "A1");
    price(a, day("11.01.2026"), 12.5);
    price(b, day("12.01.2026"), 3);
    Q_UNUSED(c);
    const QString path = dir + "Temp/Wasfehlt.txt";
    auto r = writeMissingPrices(*store, all(), day("12.01.2026"), path);
    ASSERT_TRUE(r.isOk());
    EXPECT_EQ(r->missing, 2);
    EXPECT_EQ(qtest::readFile(path), QByteArray("Alpha (A1)\t11.01.2026\t12,5\r\nGamma ()\t\t\r\nInsgesamt fehlen heute noch 2 Kurse\r\n"));
}

TEST_F(Movers, ThePriceTableHasAColumnForEveryDateOfTheRange) {
    const int a = security("Alpha");
    const int b = security("Beta");
    const int c = security("Cäsar €");
    setField(a, "Gruppe", 2);
    setField(b, "Gruppe", 42);  // a group the table does not have
    setField(c, "Gruppe", 1);
    setField(c, "Kennung", "C1");
    price(a, day("03.01.2024"), 11);
    price(b, day("02.01.2024"), 20);
    price(b, day("03.01.2024"), 21);
    price(c, day("04.01.2024"), 30);
    price(c, day("05.01.2024"), 99);  // after the range
    const QString path = dir + "Uebersicht.txt";
    auto r = writePriceTable(*store, day("02.01.2024"), day("04.01.2024"), path);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->securities, 3);
    EXPECT_EQ(r->dates, 3);
    EXPECT_EQ(r->unmappable, 0);  // "ä" and "€" are in Windows-1252
    const QByteArray expected = "\t\t\t02.01.2024\t03.01.2024\t04.01.2024\t\r\n"
                                "C\xe4sar \x80\tC1\tC\xe4sar \x80\t\t\t30\t\r\n"
                                "Alpha\t\tAlpha\t\t11\t\t\r\n"
                                "Beta\t\tBeta\t20\t21\t\t\r\n";
    EXPECT_EQ(qtest::readFile(path), expected);
    EXPECT_EQ(writePriceTable(*store, day("04.01.2024"), day("02.01.2024"), path).status().category(), Category::Invalid);
}
