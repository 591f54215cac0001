// Input a user's tables may hold: a very long history, prices of 0 and below, days
// without volume, a security without fundamentals. Nothing may come out as "inf" or
// "nan", in a text or in the analysis record.
#include "analysis/analysis_record.h"
#include "base/formats.h"
#include "overview/overview_figures.h"
#include "store/catalogue.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace q;

namespace {

bool finiteText(const QString& text) {
    return !text.contains(QLatin1String("inf"), Qt::CaseInsensitive) && !text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

}  // namespace

TEST(BadInput, ThirtyThousandRowsZeroVolumesAndNoFundamentals) {
    FillInput in;
    in.security.Firma = 9;
    in.security.FirmenName = QStringLiteral("Langläufer AG");
    const QDate today(2026, 12, 4);
    const int last = dayNumber(today);
    // 30,000 days: a saw-tooth between 1 and 40, a 0 and a negative price every
    // thousand rows, a volume of 0 on every other day.
    for (int i = 0; i < 30000; ++i) {
        const int datum = last - 29999 + i;
        double kurs = 1 + (i % 40);
        if (i % 1000 == 500) kurs = 0;
        if (i % 1000 == 700) kurs = -3;
        in.prices.push_back({datum, kurs, 0});
        in.volumes.push_back({datum, i % 2 == 0 ? 0 : qint64(5'000'000'000LL)});
    }
    AnalysisSettings s;
    const SecurityAnalysis a = analyseSecurity(in, s, today, 0, true);
    ASSERT_TRUE(a.fill.enoughPrices);
    ASSERT_TRUE(a.rating.has_value());
    EXPECT_EQ(a.fill.count(), 30000 - 30 - 30);
    EXPECT_EQ(a.fill.maintenance.remove.size(), 30u);
    for (const ShownFigure& f : shownFigures(a.fill)) {
        EXPECT_TRUE(finiteText(f.figure->text)) << f.caption << ": " << f.figure->text.toStdString();
        if (f.figure->value) EXPECT_TRUE(std::isfinite(*f.figure->value)) << f.caption;
    }
    // Without fundamentals the ratios are empty, not infinite.
    EXPECT_TRUE(a.fill.info.kgv.text.isEmpty());
    EXPECT_TRUE(a.fill.info.kcv.text.isEmpty());
    EXPECT_TRUE(a.fill.info.dividendenrendite.text.isEmpty());

    const Row row = analysisRecord(a, s, today);
    const Layout layout = layoutForFile(QStringLiteral("Analyse.db"));
    for (int i = 0; i < int(row.size()); ++i) {
        if (row[i].typeId() != QMetaType::Double) continue;
        EXPECT_TRUE(std::isfinite(row[i].toDouble())) << layout.fields[size_t(i)].name.toStdString();
    }
    // The newest volume × the newest price (40): 2e11, beyond 32 bits.
    EXPECT_EQ(row[layout.fieldIndex(QStringLiteral("Umsatz"))].toLongLong(), 5'000'000'000LL * 40);
    EXPECT_DOUBLE_EQ(row[layout.fieldIndex(QStringLiteral("Gewinn"))].toDouble(), 0);
}
