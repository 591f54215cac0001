// The rating run over the sample data (report and analysis-table mode), the way it
// keeps its buy and caution lists, and one analysis record worked by hand.
#include "analysis/analysis_record.h"
#include "analysis/rating_run.h"
#include "base/formats.h"
#include "sample/sample_data.h"
#include "store/catalogue.h"
#include "store/firma_hooks.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

class Steps final : public Progress {
public:
    QStringList texts;
    void step(const QString& text, qint64, qint64) override { texts << text; }
};

RatingEntry entry(int firma, double index) {
    RatingEntry e;
    e.firma = firma;
    e.index = index;
    return e;
}

std::vector<int> firmen(const std::vector<RatingEntry>& entries) {
    std::vector<int> out;
    for (const RatingEntry& e : entries) out.push_back(e.firma);
    return out;
}

// Twelve sample securities over one year, plus one with a single price, in a
// temporary data directory with its own work directory.
class RatingRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        dir = m_tmp.path() + QStringLiteral("/");
        QDir().mkpath(dir + QStringLiteral("Temp"));
        sample::Plan plan;
        plan.securities = 12;
        plan.years = 1;
        plan.depot = false;
        NoProgress quiet;
        ASSERT_TRUE(sample::writeSampleData(dir, plan, quiet).isOk());
        store = std::make_unique<Store>(StoreDirs{dir, dir, dir + QStringLiteral("Temp/"), dir});
        auto firma = store->table(QStringLiteral("Firma.db"));
        ASSERT_TRUE(firma.isOk());
        Record r = newSecurityRecord(**firma, QStringLiteral("EUR"));
        r.set(QStringLiteral("FirmenName"), QStringLiteral("Einzelkurs AG"));
        auto n = appendSecurity(**firma, r);
        ASSERT_TRUE(n.isOk());
        single = *n;
        auto aktien = store->table(QStringLiteral("Aktien.db"));
        ASSERT_TRUE(aktien.isOk());
        Record p = (*aktien)->newRecord();
        p.set(QStringLiteral("Firma"), single);
        p.set(QStringLiteral("Datum"), dayNumber(QDate(2026, 12, 4)));
        p.set(QStringLiteral("Kurs"), 10.0);
        ASSERT_TRUE((*aktien)->append(p).isOk());
        options.today = QDate(2026, 12, 4);
    }

    Result<RatingRunResult> run(bool analysisTable) {
        options.analysisTable = analysisTable;
        return ANALYSEBERECHNUNG(*store, settings, options, steps);
    }

    std::vector<int> listed(const QString& file) {
        std::vector<int> out;
        auto t = store->table(file);
        EXPECT_TRUE(t.isOk());
        if (!t.isOk()) return out;
        EXPECT_TRUE((*t)->forEach({}, [&](const Record& r) {
                             out.push_back(r.value(QStringLiteral("Firma")).toInt());
                             return true;
                         }).isOk());
        return out;
    }

    QTemporaryDir m_tmp;
    QString dir;
    std::unique_ptr<Store> store;
    int single = 0;
    AnalysisSettings settings;
    RatingRunOptions options;
    Steps steps;
};

}  // namespace

TEST(ListKeeper, KeepsTheBestAndWorstOfEachListAndOnlyWhatPassesTheBuyTest) {
    ListKeeper three(3, 80);
    for (auto [firma, index] : {std::pair{1, 90.0}, {2, 50.0}, {3, 120.0}, {4, 85.0}, {5, 30.0}, {6, 100.0}})
        three.add(entry(firma, index));
    // Best three: 120 (3), 100 (6), 90 (1). Worst three: 30 (5), 50 (2), 85 (4), of
    // which 85 is a buy and not listed as a caution.
    RankedLists l = three.lists();
    EXPECT_EQ(firmen(l.buys), (std::vector<int>{3, 6, 1}));
    EXPECT_EQ(firmen(l.cautions), (std::vector<int>{5, 2}));

    // Ten slots and four securities: the empty slots are never listed.
    ListKeeper ten(10, 80);
    for (auto [firma, index] : {std::pair{1, 80.0}, {2, 79.9}, {3, -40.0}, {4, 160.0}}) ten.add(entry(firma, index));
    l = ten.lists();
    EXPECT_EQ(firmen(l.buys), (std::vector<int>{4, 1}));
    EXPECT_EQ(firmen(l.cautions), (std::vector<int>{3, 2}));
}

TEST_F(RatingRun, ReportModeWritesTheReportAndBothListTables) {
    auto r = run(false);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_FALSE(r->analysisTable);
    EXPECT_EQ(r->total, 13);
    // The security with a single price is neither rated nor listed.
    EXPECT_EQ(r->rated, 12);
    EXPECT_EQ(r->buyCount + r->sellCount, 12);
    ASSERT_EQ(steps.texts.size(), 13);
    EXPECT_EQ(steps.texts.first(), "Berechne 1 von 13");
    EXPECT_EQ(steps.texts.last(), "Berechne 13 von 13");
    EXPECT_EQ(listed("Gewinner.db").size(), r->buys.size());
    EXPECT_EQ(listed("Verlierer.db").size(), r->cautions.size());
    for (const std::vector<RatingEntry>* list : {&r->buys, &r->cautions})
        for (const RatingEntry& e : *list) EXPECT_NE(e.firma, single);
    for (size_t i = 1; i < r->buys.size(); ++i) EXPECT_GE(r->buys[i - 1].index, r->buys[i].index);
    EXPECT_FALSE(store->exists(QStringLiteral("Analyse.db")));

    const QString path = dir + QStringLiteral("Temp/Empfehl.rtf");
    ASSERT_TRUE(QFile::exists(path));
    const QString text = qtest::convertToText(path);
    ASSERT_FALSE(text.isEmpty()) << "soffice konnte Empfehl.rtf nicht lesen";
    for (const QString& expected :
         {QStringLiteral("Aktie\tDatum\tKurs\tMin.Kurs\tMax.Kurs\tStoch.\tBewert."),
          QStringLiteral("Diese Aktien könnten Sie kaufen\t\t\t\t\t%1").arg(r->buyCount),
          QStringLiteral("Vorsicht bei diesen Aktien im Augenblick\t\t\t\t%1").arg(r->sellCount),
          QStringLiteral("Es gibt natürlich keinerlei Garantie für Kursgewinne.")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    if (!r->buys.empty()) EXPECT_TRUE(text.contains(r->buys.front().name + QStringLiteral("\t04.12.2026\t"))) << text.toStdString();
}

TEST_F(RatingRun, AnalysisTableModeWritesOneRecordPerRatedSecurity) {
    qtest::writeFile(dir + QStringLiteral("Temp/Empfehl.rtf"), "{\\rtf1 alt}");
    auto r = run(true);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_TRUE(r->analysisTable);
    EXPECT_EQ(r->rated, 12);
    // The previous report stays as it was.
    EXPECT_EQ(qtest::readFile(dir + QStringLiteral("Temp/Empfehl.rtf")), "{\\rtf1 alt}");

    const QString db = dir + QStringLiteral("Temp/Analyse.db");
    const qtest::CliRun fields = qtest::runSqlite3(db, "SELECT group_concat(name, ',') FROM pragma_table_info('Analyse');\n");
    ASSERT_EQ(fields.exitCode, 0) << fields.err.toStdString();
    QStringList expected;
    for (const Field& f : layoutForFile(QStringLiteral("Analyse.db")).fields) expected << f.name;
    EXPECT_EQ(fields.out.trimmed(), expected.join(QLatin1Char(',')));
    EXPECT_TRUE(expected.join(QLatin1Char(',')).startsWith("Firma,Gruppe,Branche,Merkmal,Favorit,Wertpapier,Kennung,Kurs"));
    const qtest::CliRun indexes = qtest::runSqlite3(
        db, "SELECT count(*) FROM sqlite_master WHERE type='index' AND name IN ('IBewertPlus','IBewertMinus','IIndexPlus','IMarktMinus');\n"
            "SELECT count(*), sum(Firma = " + QString::number(single) + ") FROM Analyse;\n"
            "SELECT count(*) FROM Analyse WHERE Kurs <= 0 OR Umsatz < 0 OR Bewertung < 1;\n");
    ASSERT_EQ(indexes.exitCode, 0) << indexes.err.toStdString();
    EXPECT_EQ(indexes.out.split('\n', Qt::SkipEmptyParts), (QStringList{"4", "12|0", "0"}));
}

TEST(AnalysisRecord, WorkedByHand) {
    SecurityAnalysis a;
    FillResult& f = a.fill;
    f.security.Firma = 7;
    f.security.FirmenName = QStringLiteral("Handrechnung Aktiengesellschaft mit langem Namen");
    f.security.ZDF = QStringLiteral("ZDF-7");
    f.security.Gewinn = 0;  // no earnings: the ratio is 0, not infinite
    f.security.CashFlow = 4;
    f.security.Aktienzahl = 1e6;
    f.security.Oberes_Limit = 30;
    f.enoughPrices = true;
    f.days = {dayNumber(QDate(2026, 12, 3)), dayNumber(QDate(2026, 12, 4))};
    f.prices = {20, 25};
    f.shortPeriod = 2;
    f.longPeriod = 5;
    f.gl1 = 22.5;
    f.gl2 = 22.5;
    f.lastPrice = 25;
    f.lastDate = QDate(2026, 12, 4);
    f.windowHigh = 25;
    f.windowLow = 20;
    f.stoch = 66.6666;
    f.buyDate = QDate(2026, 12, 4);  // nothing bought
    f.stdDevDiff = 1.5;
    f.tarnrate = 0.12346;
    f.averageVolume = 2'000'000'000;
    f.newestVolume = 3'000'000'000;  // turnover 7.5e10: beyond 32 bits
    a.rating = Rating{};
    a.rating->R = 4;
    a.rating->index = 80.004;
    AnalysisSettings s;
    s.vortagesKurs = true;  // newest price is today's: the reference is 20

    const Row row = analysisRecord(a, s, QDate(2026, 12, 4));
    const Layout layout = layoutForFile(QStringLiteral("Analyse.db"));
    const auto v = [&](const char* field) { return row[layout.fieldIndex(QLatin1String(field))]; };
    EXPECT_EQ(v("Wertpapier").toString(), QStringLiteral("Handrechnung Aktiengesellschaf"));  // 30 characters
    EXPECT_EQ(v("Kennung").toString(), QStringLiteral("ZDF-7"));
    EXPECT_DOUBLE_EQ(v("Kurs").toDouble(), 20);
    EXPECT_DOUBLE_EQ(v("AktKurs").toDouble(), 25);
    EXPECT_DOUBLE_EQ(v("Differenz").toDouble(), 5);
    EXPECT_DOUBLE_EQ(v("Prozent").toDouble(), 25);  // 5 × 100 ÷ 20
    EXPECT_DOUBLE_EQ(v("MaxDifferenz").toDouble(), 5);
    EXPECT_DOUBLE_EQ(v("MaxProzent").toDouble(), 25);
    // 2 × 22,5 − 20 (the price leaving the short average next) = 25; the long one is
    // not full: 5 × 22,5 − 0.
    EXPECT_DOUBLE_EQ(v("GlD1Minus1").toDouble(), 25);
    EXPECT_DOUBLE_EQ(v("GlD2Minus1").toDouble(), 112.5);
    EXPECT_DOUBLE_EQ(v("Stochastik").toDouble(), 66.67);
    EXPECT_DOUBLE_EQ(v("Indikator2").toDouble(), -10);  // (22,5 − 25) × 100 ÷ 25
    EXPECT_DOUBLE_EQ(v("Indikator3").toDouble(), 0);
    EXPECT_DOUBLE_EQ(v("TarnFaktor").toDouble(), 12.35);  // round(0,12346 × 10.000) ÷ 100
    EXPECT_DOUBLE_EQ(v("TarnRate").toDouble(), 0.12);
    EXPECT_DOUBLE_EQ(v("LimitPlus").toDouble(), 30);     // the set upper limit
    EXPECT_DOUBLE_EQ(v("LimitMinus").toDouble(), 23.5);  // 25 − 1,5: nothing bought
    EXPECT_EQ(v("Volumen").toLongLong(), 2'000'000'000);
    EXPECT_EQ(v("DiffVolumen").toLongLong(), 1'000'000'000);
    EXPECT_DOUBLE_EQ(v("TrendVolumen").toDouble(), 150);  // round(3e9 × 1000 ÷ 2e9) ÷ 10
    EXPECT_EQ(v("Umsatz").toLongLong(), 75'000'000'000LL);
    EXPECT_DOUBLE_EQ(v("Index").toDouble(), 80);
    EXPECT_DOUBLE_EQ(v("Gewinn").toDouble(), 0);
    EXPECT_DOUBLE_EQ(v("CashFlow").toDouble(), 6.25);
    EXPECT_DOUBLE_EQ(v("Marktkap").toDouble(), 25e6);
    EXPECT_DOUBLE_EQ(v("Datum").toDouble(), dayNumber(QDate(2026, 12, 4)));
}
