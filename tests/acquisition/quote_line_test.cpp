#include "acquisition/quote_line.h"

#include <gtest/gtest.h>

using namespace q;

namespace {
const QDate kToday(2004, 3, 10);
}

TEST(DailyLine, DateLinesSetTheDayWithPointOrSlash) {
    ParsedLine a = parseDailyLine("05/03/2004");
    ASSERT_EQ(a.kind, LineKind::Date);
    EXPECT_EQ(a.date, QDate(2004, 3, 5));
    ParsedLine b = parseDailyLine("06.03.2004\tBörse Frankfurt");
    ASSERT_EQ(b.kind, LineKind::Date);
    EXPECT_EQ(b.date, QDate(2004, 3, 6));
    // A first field shaped like a date that is none makes the line a quote line.
    ParsedLine c = parseDailyLine("31.02.2004\t12,50");
    ASSERT_EQ(c.kind, LineKind::Quote);
    EXPECT_EQ(c.quote.name, "31.02.2004");
}

TEST(DailyLine, PriceTextsReadAsTheTeletextWritesThem) {
    struct Case {
        const char* line;
        double price;
    } cases[] = {
        {"SIEMENS\t1.234,56", 1234.56},  // thousands point, decimal comma
        {"SIEMENS\t12.345", 12.345},     // three decimals: no thousands point
        {"SIEMENS\t1.234", 1.234},
        {"SIEMENS\t12.345  ", 12.345},   // blanks go before the thousands test
        {"SIEMENS\t  45,20", 45.2},
        {"SIEMENS\t1.234.567,5", 1234567.5},
    };
    for (const Case& c : cases) {
        ParsedLine p = parseDailyLine(QString::fromUtf8(c.line));
        ASSERT_EQ(p.kind, LineKind::Quote) << c.line;
        EXPECT_DOUBLE_EQ(p.quote.price, c.price) << c.line;
    }
}

TEST(DailyLine, QuoteFieldsNameTrimmedDateAndVolume) {
    ParsedLine p = parseDailyLine("DT. TELEKOM   \t14,85\t06.03.2004\t1200");
    ASSERT_EQ(p.kind, LineKind::Quote);
    EXPECT_EQ(p.quote.name, "DT. TELEKOM");
    EXPECT_EQ(p.quote.priceText, "14,85");
    EXPECT_EQ(p.quote.date, QDate(2004, 3, 6));
    EXPECT_EQ(p.quote.volume, 1200);
    // A protocol line's "date time" field gives its date; a change field gives none.
    EXPECT_EQ(parseDailyLine("BASF\t41,10\t09.03.2004 17:31").quote.date, QDate(2004, 3, 9));
    EXPECT_FALSE(parseDailyLine("BASF\t41,10\t-80,00%").quote.date.has_value());
    EXPECT_EQ(parseDailyLine("BASF\t41,10\t\tviel").quote.volume, 0);
}

TEST(DailyLine, FootnoteStarFarIntoTheLineBecomesABlank) {
    EXPECT_EQ(parseDailyLine("ALLIANZ*\t98,10").quote.name, "ALLIANZ");
    // A star among the first five characters belongs to the name.
    EXPECT_EQ(parseDailyLine("E*ON\t50,00").quote.name, "E*ON");
}

TEST(DailyLine, LinesWithoutNameOrPriceAreSkipped) {
    for (const char* line : {"", "SIEMENS", "SIEMENS\t", "SIEMENS\tk.A.", "SIEMENS\t0,00", "\t12,50", "   \t12,50"})
        EXPECT_EQ(parseDailyLine(QString::fromUtf8(line)).kind, LineKind::Skip) << line;
}

TEST(DailyLine, AnOverlongLineIsCutAndNeverBookedFromItsTail) {
    QString line = "BAYER\t30,25\t06.03.2004";
    line += QString(5000, QLatin1Char('x'));
    ParsedLine p = parseDailyLine(line);
    ASSERT_EQ(p.kind, LineKind::Quote);
    EXPECT_DOUBLE_EQ(p.quote.price, 30.25);
    // The price sits beyond the 255 characters that are read: nothing to book.
    EXPECT_EQ(parseDailyLine(QString(300, QLatin1Char('A')) + "\t12,50").kind, LineKind::Skip);
}

TEST(PageLine, TimeAndDateLines) {
    ParsedLine t = parsePageLine("17:45;Xetra", ';', kToday);
    ASSERT_EQ(t.kind, LineKind::Time);
    EXPECT_EQ(*t.time, QTime(17, 45));
    EXPECT_EQ(parsePageLine("24:10;x", ';', kToday).kind, LineKind::Skip);

    ParsedLine d = parsePageLine("05.03.;17:30", ';', kToday);
    ASSERT_EQ(d.kind, LineKind::Date);
    EXPECT_EQ(d.date, QDate(2004, 3, 5));  // the year of today
    EXPECT_EQ(*d.time, QTime(17, 30));
    ParsedLine d2 = parsePageLine("05/03/2003", '\t', kToday);
    ASSERT_EQ(d2.kind, LineKind::Date);
    EXPECT_EQ(d2.date, QDate(2003, 3, 5));
    EXPECT_FALSE(d2.time.has_value());
}

TEST(PageLine, QuotesAreUpperCasedWithTimeAndVolume) {
    ParsedLine p = parsePageLine("  Siemens  ;45,20;17:31;5300", ';', kToday);
    ASSERT_EQ(p.kind, LineKind::Quote);
    EXPECT_EQ(p.quote.name, "SIEMENS");
    EXPECT_DOUBLE_EQ(p.quote.price, 45.2);
    EXPECT_EQ(*p.quote.time, QTime(17, 31));
    EXPECT_EQ(p.quote.volume, 5300);
    // A tab is no separator on pages cut with ";".
    EXPECT_EQ(parsePageLine("Siemens\t45,20", ';', kToday).kind, LineKind::Skip);
}
