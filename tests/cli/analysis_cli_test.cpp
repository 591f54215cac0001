// The quote overview and the rating run through quintara-cli, on a fresh data
// directory with the twelve business days 02.01. to 17.01.2024 (today) of
//   P = 10 11 12 11 13 14 13 15 16 15 17 18
// and the default analysis settings (averages of 5 and 100 days, stochastic over 15
// days, analysis window 14 days).
#include "cli/cli_fixture.h"
#include "support/twelve_days.h"

#include <QFile>

using namespace q;

namespace {

class AnalysisCli : public CliTest {
protected:
    void SetUp() override {
        todayText = "17.01.2024";
        CliTest::SetUp();
        testwerk = security("Testwerk AG");
        for (int i = 0; i < 12; ++i) price(testwerk, qtest::kTwelveDays[i], qtest::kTwelvePrices[i]);
        auto firma = store->table("Firma.db");
        auto row = (*firma)->findKey({testwerk});
        Record after = **row;
        after.set("Gewinn", 2.5);  // 18 ÷ 2,5 = 7,2
        ASSERT_TRUE((*firma)->update(**row, after).isOk());
        single = security("Einzelkurs AG");
        price(single, "17.01.2024", 5);
    }
    int testwerk = 0;
    int single = 0;
};

}  // namespace

TEST_F(AnalysisCli, OverviewShowsThePageTextsAndTheRating) {
    auto r = run({"overview", "Testwerk AG"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // %K over up to 15 prices: day 10 (15 − 10) × 100 ÷ (16 − 10) = 83,33, days 11
    // and 12 at the high: 100. Stoch (83,33 + 100 + 100) ÷ 3 = 94,44.
    // Mean 165 ÷ 12 = 13,75; the change deviation 1,19 (worked out in the fill tests).
    for (const char* line : {"Wertpapier: Testwerk AG", "Kurs: 18 vom 17.01.2024", "Stochastik: 94,44", "Mittelwert: 13,75",
                             "Standardabweichung der Kursdifferenzen: 1,19", "KGV: 7,20"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line << "\n" << r.out.toStdString();

    const QJsonObject o = json({"overview", QString::number(testwerk)});
    EXPECT_EQ(o["stochastic"].toObject()["text"].toString(), "94,44");
    EXPECT_NEAR(o["stochastic"].toObject()["value"].toDouble(), 850.0 / 9, 1e-9);
    // Window from 03.01.: low 11, high 18. X = 100 × 18 ÷ 18 + 100 × 11 ÷ 18 = 161,11;
    // the index is R × X × 0,1.
    const int rating = o["rating"].toInt();
    EXPECT_GE(rating, 1);
    EXPECT_NEAR(o["index"].toObject()["value"].toDouble(), std::max(rating, 1) * 16.1111111, 1e-6);
    EXPECT_TRUE(o["rated"].toBool());
}

TEST_F(AnalysisCli, OverviewOfASecurityWithOnePriceShowsNothing) {
    const QJsonObject o = json({"overview", "Einzelkurs AG"});
    EXPECT_FALSE(o["rated"].toBool());
    EXPECT_FALSE(o.contains("stochastic"));
    EXPECT_TRUE(o["lines"].toArray().contains("Zu wenige Kurse für eine Auswertung"));
    auto missing = run({"overview", "Gibtsnicht AG"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("nicht gefunden")) << missing.err.toStdString();
}

TEST_F(AnalysisCli, RateWritesTheReportOrTheAnalysisTable) {
    auto r = run({"--progress", "rate", "--top", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Berechne 2 von 2")) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("1 von 2 Wertpapieren bewertet")) << r.out.toStdString();
    const QByteArray rtf = qtest::readFile(home + "Temp/Empfehl.rtf");
    EXPECT_TRUE(rtf.contains("\\plain\\f2\\fs20\\b\\cf1\\ul Diese Aktien k\\'f6nnten Sie kaufen\\tab")) << rtf.toStdString();
    EXPECT_TRUE(QFile::exists(home + "Temp/Gewinner.db"));
    EXPECT_TRUE(QFile::exists(home + "Temp/Verlierer.db"));
    // The run's lists join the selector's entries and can be listed.
    const QString lists = run({"lists"}).out;
    EXPECT_TRUE(lists.endsWith("Gewinner(Quintara)\nVerlierer(Quintara)\n")) << lists.toStdString();
    EXPECT_EQ(run({"list", "--list", "gewinner(quintara)"}).exitCode, 0);

    const QJsonObject table = json({"rate", "--analysis-table"});
    EXPECT_TRUE(table["analysisTable"].toBool());
    EXPECT_EQ(table["rated"].toInt(), 1);
    const qtest::CliRun rows = qtest::runSqlite3(home + "Temp/Analyse.db", "SELECT Firma, Kurs, Wertpapier FROM Analyse;\n");
    EXPECT_EQ(rows.out.trimmed(), QStringLiteral("%1|18.0|Testwerk AG").arg(testwerk));

    auto bad = run({"rate", "--top", "0"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("--top muss zwischen 1 und 500 liegen")) << bad.err.toStdString();
}

TEST_F(AnalysisCli, RowsOfKursZeroAreNamedByTheOverviewAndDeletedByTheRatingRun) {
    price(testwerk, "13.01.2024", 0);  // a Saturday row without a price
    const QVariantList zeroRow{testwerk, dayNumber(*parseDate("13.01.2024"))};
    auto r = run({"overview", "Testwerk AG"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("1 Kurszeilen mit Kurs oder Datum 0 übersprungen (nicht gelöscht)")) << r.out.toStdString();
    // The twelve real prices still make the overview: the last is 18.
    EXPECT_TRUE(r.out.contains("Kurs: 18 vom 17.01.2024")) << r.out.toStdString();
    EXPECT_TRUE((*store->table("Aktien.db"))->findKey(zeroRow)->has_value());

    ASSERT_EQ(run({"rate"}).exitCode, 0);
    EXPECT_FALSE((*store->table("Aktien.db"))->findKey(zeroRow)->has_value());
    EXPECT_EQ(json({"overview", "Testwerk AG"})["skippedZeroRows"].toInt(), 0);
}
