// Limits as a user sets and scans them with quintara-cli; the stored fields are
// read back with the stock sqlite3 shell.
#include "cli/cli_fixture.h"

#include <QJsonArray>

using namespace q;

namespace {

class LimitsCli : public CliTest {
protected:
    QString stored(int firma) {
        auto r = qtest::runSqlite3(home + "Firma.db",
                                   QStringLiteral("SELECT Oberes_Limit || ' ' || Unteres_Limit FROM Firma WHERE Firma = %1;\n").arg(firma));
        return r.out.trimmed();
    }
};

}  // namespace

TEST_F(LimitsCli, SetByHandOrFromTheNewestPrice) {
    const int alpha = security("Alpha AG");
    price(alpha, "27.06.2024", 120);
    QJsonObject l = json({"limit", "Alpha AG", "--upper", "150", "--lower", "90,5"});
    EXPECT_DOUBLE_EQ(l["upper"].toDouble(), 150.0);
    EXPECT_EQ(stored(alpha), "150.0 90.5");
    l = json({"limit", "Alpha AG", "--upper-pct", "10", "--lower-pct", "5"});
    EXPECT_EQ(stored(alpha), "132.0 114.0");
    EXPECT_EQ(json({"limit", "Alpha AG", "--clear"})["upper"].toDouble(), 0.0);
    EXPECT_EQ(stored(alpha), "0.0 0.0");

    // Without a price there is nothing to compute from; negative values are refused.
    const int beta = security("Beta AG");
    auto r = run({"limit", "Beta AG", "--upper-pct", "5"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Aus dem Kurs 0 kann kein Limit berechnet werden")) << r.err.toStdString();
    EXPECT_EQ(run({"limit", "Beta AG", "--lower", "-3"}).exitCode, 1);
    EXPECT_EQ(run({"limit", "Beta AG", "--lower-pct", "-3"}).exitCode, 1);
    EXPECT_EQ(stored(beta), "0.0 0.0");
}

TEST_F(LimitsCli, TheScanReportsMovesAndTrails) {
    const int alpha = security("Alpha AG");
    const int beta = security("Beta AG");
    const int gamma = security("Gamma AG");
    price(alpha, "27.06.2024", 110);
    price(beta, "27.06.2024", 120);
    price(gamma, "27.06.2024", 104);
    json({"limit", "Alpha AG", "--upper", "100"});
    json({"limit", "Beta AG", "--lower", "100"});
    json({"limit", "Gamma AG", "--lower", "100"});

    // Report only: one breach, nothing changed.
    QJsonObject scan = json({"limit-scan"});
    EXPECT_EQ(scan["breaches"].toInt(), 1);
    EXPECT_EQ(scan["written"].toInt(), 0);
    EXPECT_TRUE(scan["lines"].toArray().contains("Alpha AG: Kurs 110,00 vom 27.06.2024 über dem oberen Limit 100,00"));
    EXPECT_EQ(stored(alpha), "100.0 0.0");

    // "Alle" with 5 %: 110 × 1,05 = 115,5.
    scan = json({"limit-scan", "--answer", "alle", "--upper-pct", "5"});
    EXPECT_EQ(stored(alpha), "115.5 0.0");
    // The stop-loss: 120 × 0,95 = 114 lifts Beta's 100; Gamma's 104 × 0,95 = 98,8 does not.
    scan = json({"limit-scan", "--stop-loss", "--lower-pct", "5"});
    EXPECT_EQ(stored(beta), "0.0 114.0");
    EXPECT_EQ(stored(gamma), "0.0 100.0");
    EXPECT_EQ(scan["written"].toInt(), 1);

    EXPECT_EQ(run({"limit-scan", "--answer", "vielleicht"}).exitCode, 1);
}
