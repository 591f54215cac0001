// The charts in the main window on the sample data: the price chart of the chosen
// security, its limit line writing `Oberes_Limit`, the comparison page, and the look
// of the charts kept in the settings subkey `Chart` from one start to the next.
#include "charts/comparison_chart.h"
#include "charts/price_chart.h"
#include "overview/fill_input.h"
#include "ui/main_window.h"
#include "ui/overview/chart_panels.h"
#include "ui/overview/comparison_page.h"
#include "ui/overview/overview_page.h"
#include "ui/securities_model.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

TEST(ChartsWindow, PriceChartLimitLineComparisonAndTheChartSubkey) {
    uitest::SampleHome home;
    ASSERT_TRUE(home.ok());
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(home, ui);
    const int firma = w->securitiesModel()->firmaAt(1);
    ASSERT_TRUE(w->selectFirma(firma));
    PriceChartPanel* panel = w->overviewPage()->chartPanel();
    charts::PriceChart* chart = panel->chart();
    EXPECT_EQ(chart->data().firma, firma);
    EXPECT_GT(chart->data().line(series::Kurs).size(), 200u);
    EXPECT_GT(static_cast<QCPGraph*>(chart->plottable(series::Kurs))->dataCount(), 200);
    uitest::screenshot(*w, "price_chart");

    // Letting go of the upper limit line at 12,3456 stores 12,35.
    Q_EMIT chart->limitDragged(LimitLine::Upper, 12.3456);
    auto stored = readSecurity(w->session().store, firma);
    ASSERT_TRUE(stored.isOk());
    EXPECT_DOUBLE_EQ(stored->Oberes_Limit, 12.35);
    Q_EMIT chart->limitDragged(LimitLine::Upper, 0);
    EXPECT_DOUBLE_EQ(readSecurity(w->session().store, firma)->Oberes_Limit, 12.35);

    // The comparison of two sample securities and an unknown name.
    ComparisonPage* compare = w->comparisonPage();
    compare->nameBox(0)->setText(w->securitiesModel()->rows()[0].FirmenName);
    compare->nameBox(1)->setText(w->securitiesModel()->rows()[1].FirmenName);
    compare->nameBox(2)->setText("Gibt es nicht");
    compare->dateBox()->setDate(QDate(2026, 9, 1));
    compare->VergleichsDiagramm();
    EXPECT_TRUE(compare->chart()->line(0)->visible());
    EXPECT_TRUE(compare->chart()->line(1)->visible());
    EXPECT_FALSE(compare->chart()->line(2)->visible());
    EXPECT_DOUBLE_EQ(compare->chart()->line(0)->data()->begin()->value, 0);
    EXPECT_FALSE(compare->chart()->legend->visible());  // two lines

    // The look set now is there again after closing and starting anew.
    ChartAppearance look = chart->appearance();
    look.find(series::Durchschnitt1)->active = true;
    look.find(series::Kurs)->color = 0x102030;
    chart->setAppearance(look);
    panel->legendBox()->setChecked(true);
    w->close();
    ScriptedInteraction again;
    auto w2 = uitest::startMainWindow(home, again);
    const ChartAppearance& read = w2->overviewPage()->chartPanel()->chart()->appearance();
    EXPECT_TRUE(read.find(series::Durchschnitt1)->active);
    EXPECT_EQ(read.find(series::Kurs)->color, 0x102030u);
    EXPECT_FALSE(read.find(series::Durchschnitt2)->active);
    EXPECT_TRUE(w2->overviewPage()->chartPanel()->legendBox()->isChecked());
    EXPECT_EQ(w2->comparisonPage()->nameBox(2)->text(), "Gibt es nicht");
    w2->close();
}
