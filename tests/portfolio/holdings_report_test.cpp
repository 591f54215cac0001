#include "base/report_html.h"
#include "base/report_rtf.h"
#include "portfolio/holdings_report.h"
#include "portfolio/valuation.h"
#include "portfolio_fixture.h"

using namespace q;

using HoldingsReport = PortfolioTest;

TEST(ReportFormats, MoneyPercentAndShares) {
    EXPECT_EQ(reportMoney(1234.565, 10, 2, "EUR"), "1.234,56 EUR");  // half to even
    EXPECT_EQ(reportMoney(-0.004, 10, 2, "EUR"), "0,00 EUR");
    // 8 significant digits leave no room for cents above a million.
    EXPECT_EQ(reportMoney(1234567.891, 8, 2, "DM"), "1.234.567,90 DM");
    EXPECT_EQ(reportPercent(33.33333), "33,33");
    EXPECT_EQ(reportPercent(123.456), "123,50");
    EXPECT_EQ(reportShares(5), " 5,0");
    EXPECT_EQ(reportShares(1234.56), "1234,6");
}

TEST_F(HoldingsReport, LibreOfficeReadsTheNumbersOfAnlagenRtf) {
    const int alpha = security("Ölwerke Süd", "EUR", "A1");
    lot(alpha, d("03.01.2022"), 10, 50, "Ölwerke Süd");
    lot(alpha, d("02.02.2024"), 2, 55, "Ausschüttung Ölwerke Süd");
    price(alpha, d("27.06.2024"), 60);
    auto c = CurrencyConverter::load(*store, settings);
    auto v = AnlagenBerechnung(*store, *c, settings.rule, {d("28.06.2024"), false});
    ASSERT_TRUE(v.isOk());
    HoldingsReportOptions o;
    o.today = d("28.06.2024");
    const report::Document doc = holdingsReport(*v, o);
    const QString path = dir + "Temp/" + kHoldingsReport;
    ASSERT_TRUE(report::writeRtf(doc, path).isOk());
    const QByteArray rtf = qtest::readFile(path);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720"));
    EXPECT_TRUE(rtf.contains("\\'d6lwerke S\\'fcd"));  // code page 1252

    const QString text = qtest::convertToText(path);
    ASSERT_FALSE(text.isEmpty()) << "soffice konnte anlagen.rtf nicht lesen";
    // Invested 10 × 50 + 2 × 0 = 500, worth 12 × 60 = 720, gain 220 = 44 %;
    // 27 % of 220 = 59,4.
    for (const char* expected : {"Ölwerke Süd", "500,00 EUR", "720,00 EUR", "220,00 EUR", "44,00%", "907 Tage",
                                 "Summe aller Wertpapiere", "(27% wären 59,4 EUR)", "(Wiederanlage ohne Ankaufskosten)"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();

    // The window's view of the same document shows the same numbers.
    const QString html = report::toHtml(doc);
    for (const char* expected : {"720,00 EUR", "44,00%", "(27% wären 59,4 EUR)", "Ölwerke Süd"})
        EXPECT_TRUE(html.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(html.contains("color:#0000ff"));
}
