#include "base/display_formats.h"
#include "base/formats.h"

#include <gtest/gtest.h>

using namespace q;

TEST(DayNumbers, CountFromThirtiethDecember1899) {
    EXPECT_EQ(dayNumber(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(dayNumber(QDate(2009, 1, 1)), 39814);
    EXPECT_EQ(dateFromDayNumber(39814.75), QDate(2009, 1, 1));
    const QDateTime t(QDate(2026, 12, 2), QTime(14, 30));
    EXPECT_EQ(dateTimeFromNumber(timestampNumber(t)), t);
}

TEST(PriceText, NormalisesCommaAndThousandsPoint) {
    EXPECT_DOUBLE_EQ(*parsePriceText("12,50"), 12.5);
    EXPECT_DOUBLE_EQ(*parsePriceText("1.234,56"), 1234.56);
    EXPECT_DOUBLE_EQ(*parsePriceText("1.234.567,89"), 1234567.89);
    // Four characters behind the point: still a decimal point.
    EXPECT_DOUBLE_EQ(*parsePriceText("1.2345"), 1.2345);
    EXPECT_DOUBLE_EQ(*parsePriceText(" -3,5 "), -3.5);
    EXPECT_FALSE(parsePriceText("abc"));
    EXPECT_FALSE(parsePriceText(""));
}

TEST(PriceText, PlainAndOtherFormsReadAlike) {
    // Exact to the last bit: a price is booked as read.
    EXPECT_EQ(*parsePriceText("0,1"), 0.1);
    EXPECT_EQ(*parsePriceText("98765432,1234"), 98765432.1234);
    EXPECT_EQ(*parsePriceText("\t1.234,5\r"), 1234.5);
    // Forms beyond the plain digits still read as numbers...
    EXPECT_EQ(*parsePriceText("+7,5"), 7.5);
    EXPECT_EQ(*parsePriceText("1,5e2"), 150.0);
    // ...and broken ones as none.
    EXPECT_FALSE(parsePriceText("1,2,3"));
    EXPECT_FALSE(parsePriceText("12,5 EUR"));
    EXPECT_FALSE(parsePriceText("-"));
    EXPECT_FALSE(parsePriceText("1e999"));
    EXPECT_FALSE(parsePriceText(QString(50, QLatin1Char('9')) + "x"));
}

TEST(Rounding, TiesGoToEvenOnTheWrittenDecimal) {
    EXPECT_DOUBLE_EQ(roundHalfEven(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundHalfEven(2.665, 2), 2.66);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.5, 0), 0.0);
    EXPECT_DOUBLE_EQ(roundHalfEven(1.5, 0), 2.0);
    EXPECT_DOUBLE_EQ(roundHalfEven(-2.5, 0), -2.0);
    EXPECT_DOUBLE_EQ(roundHalfEven(1.006, 2), 1.01);
}

TEST(GermanTexts, DatesNumbersAndMoney) {
    EXPECT_EQ(formatDate(QDate(2026, 12, 2)), "02.12.2026");
    EXPECT_EQ(parseDate("2.1.2026"), QDate(2026, 1, 2));
    EXPECT_EQ(parseDate("31.12.26"), QDate(2026, 12, 31));
    EXPECT_FALSE(parseDate("31.02.2026"));
    EXPECT_FALSE(parseDate("2026-12-31"));
    // The ten-character form and its neighbours agree with the general reader.
    EXPECT_EQ(parseDate("29.02.2024"), QDate(2024, 2, 29));
    EXPECT_FALSE(parseDate("29.02.2023"));
    EXPECT_FALSE(parseDate("00.01.2024"));
    EXPECT_FALSE(parseDate("01.1a.2024"));
    EXPECT_EQ(parseDate(" 1.02.2024"), QDate(2024, 2, 1));
    EXPECT_EQ(formatDate(QDate(812, 3, 4)), "04.03.0812");
    EXPECT_EQ(formatDate(QDate()), "");
    EXPECT_EQ(formatMoney(1234.5, 2, "EUR"), "1.234,50 EUR");
    EXPECT_EQ(formatMoney(-12.5, 2, "EUR"), "-12,50 EUR");
    EXPECT_EQ(formatAmount(-0.001, 2), "0,00");
    EXPECT_DOUBLE_EQ(*parseNumber("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(*parseNumber("12.5"), 12.5);
    EXPECT_FALSE(parseNumber("1.234,5"));
    EXPECT_DOUBLE_EQ(percentChange(110, 100), 10.0);
    EXPECT_EQ(parseTime("9:05"), QTime(9, 5));
}

TEST(GermanTexts, PricesAndSharesAsTheWindowShowsThem) {
    EXPECT_EQ(formatPrice(24.6071965265, 2), "24,61");
    EXPECT_EQ(formatPrice(4921.4393053, 2), "4.921,44");
    EXPECT_EQ(formatPrice(0.0035417, 2), "0,00354");  // a penny price keeps three digits
    EXPECT_EQ(formatPrice(0.5, 2), "0,50");
    EXPECT_EQ(formatPrice(0, 3), "0,000");
    EXPECT_EQ(formatShares(1200), "1.200");
    EXPECT_EQ(formatShares(24.6071965265), "24,6072");
    EXPECT_EQ(formatShares(2.5), "2,5");
}
