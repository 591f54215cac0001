// The charts in the main window on the sample data: the price chart of the chosen
// security, its limit line writing `Oberes_Limit`, the comparison page, and the look
// of the charts kept in the settings subkey `Chart` from one start to the next.
#include "acquisition/manual_entry.h"
#include "base/clock.h"
#include "base/formats.h"
#include "charts/chart_settings_dialog.h"
#include "charts/chart_style.h"
#include "charts/comparison_chart.h"
#include "charts/price_chart.h"
#include "overview/fill_input.h"
#include "ui/acquisition/intraday_charts.h"
#include "ui/main_window.h"
#include "ui/overview/chart_panels.h"
#include "ui/overview/comparison_page.h"
#include "ui/overview/overview_page.h"
#include "ui/securities_model.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QDateEdit>
#include <QLineEdit>
#include <QCompleter>
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
    EXPECT_TRUE(compare->chart()->legend->visible());  // two lines need their names
    w->pages()->setCurrentWidget(compare);  // drawn anew from the same boxes
    EXPECT_TRUE(compare->chart()->line(1)->visible());
    uitest::screenshot(*w, "comparison_window_two_lines");

    // The name boxes complete any part of a name, letter case ignored.
    const QString third = w->securitiesModel()->rows()[2].FirmenName;
    compare->refreshNames();
    QCompleter* completer = compare->nameBox(3)->completer();
    ASSERT_NE(completer, nullptr);
    EXPECT_EQ(completer, compare->nameBox(0)->completer());
    EXPECT_EQ(completer->model()->rowCount(), w->securitiesModel()->rowCount());
    completer->setCompletionPrefix(third.mid(2, 4).toLower());
    bool offered = false;
    for (int i = 0; completer->setCurrentRow(i); ++i) offered |= completer->currentCompletion() == third;
    EXPECT_TRUE(offered) << third.toStdString();
    completer->setCompletionPrefix("kein solcher Name");
    EXPECT_EQ(completer->completionCount(), 0);

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

namespace {

// Restores the system date when a test set another one.
struct TodayIs {
    explicit TodayIs(const QDate& d) { setToday(d); }
    ~TodayIs() { setToday(QDate()); }
};

void addTick(Session& session, int firma, const QDateTime& at, double kurs) {
    Table& intraday = **session.store.table("Intraday.db");
    Record r = intraday.newRecord();
    r.set("Firma", firma), r.set("ZEIT", timestampNumber(at)), r.set("Kurs", kurs);
    ASSERT_TRUE(intraday.append(r).isOk());
}

}  // namespace

TEST(ChartsWindow, TheIntradayPageShowsTheRowsDayAndUpdatesOnlyThatDaysClose) {
    uitest::SampleHome home(2);
    ASSERT_TRUE(home.ok());
    const QDate friday(2026, 12, 4), monday(2026, 12, 7);
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(home, ui);
    const int firma = w->securitiesModel()->firmaAt(0);
    auto close = priceOfDay(w->session().store, firma, friday);
    ASSERT_TRUE(close.isOk() && close->has_value());
    const double stored = **close;
    QTabWidget* inner = w->overviewPage()->innerPages();
    IntradayDayPanel* panel = w->overviewPage()->intradayPanel();

    // Monday morning: the live table holds Monday's ticks only. Friday's row shows no
    // intraday course and keeps its close.
    {
        TodayIs today(monday);
        addTick(w->session(), firma, QDateTime(monday, QTime(9, 5)), stored + 7);
        ASSERT_TRUE(w->selectFirma(firma));
        EXPECT_FALSE(inner->isTabEnabled(inner->indexOf(panel)));
        EXPECT_DOUBLE_EQ(*priceOfDay(w->session().store, firma, friday).value(), stored);
    }
    // On Friday itself its live ticks are shown, in candles too, and the last one
    // becomes the day's close.
    {
        TodayIs today(friday);
        addTick(w->session(), firma, QDateTime(friday, QTime(9, 0)), stored - 1);
        addTick(w->session(), firma, QDateTime(friday, QTime(9, 20)), stored + 2);
        addTick(w->session(), firma, QDateTime(friday, QTime(17, 30)), stored + 1);
        ASSERT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(1)));
        ASSERT_TRUE(w->selectFirma(firma));
        EXPECT_TRUE(inner->isTabEnabled(inner->indexOf(panel)));
        EXPECT_EQ(panel->chart()->line()->dataCount(), 3);
        EXPECT_EQ(charts::chartTitleOf(*panel->chart()), w->currentFirmenName() + " - 04.12.2026");
        panel->minutesBox()->setValue(30);
        // Half hours: 09:00–09:30 holds 09:00 and 09:20, 17:30–18:00 the last tick.
        EXPECT_EQ(panel->chart()->candles()->dataCount(), 2);
        EXPECT_DOUBLE_EQ(*priceOfDay(w->session().store, firma, friday).value(), stored + 1);
        EXPECT_EQ(w->session().values.integer("Candle2_Tage"), 30);
    }
    w->close();
}

TEST(ChartsWindow, TheIntradayPageChartsTheSecuritiesWithLivePrices) {
    uitest::SampleHome home(3);
    ASSERT_TRUE(home.ok());
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(home, ui);
    const auto& rows = w->securitiesModel()->rows();
    const QDate day(2026, 12, 4);
    addTick(w->session(), rows[2].Firma, QDateTime(day, QTime(10, 0)), 20);
    addTick(w->session(), rows[2].Firma, QDateTime(day, QTime(11, 0)), 21);
    addTick(w->session(), rows[0].Firma, QDateTime(day, QTime(10, 0)), 5);
    IntradayCharts* charts = w->intradayCharts();
    charts->refresh();
    // The names in the order of the securities master, the same list in both boxes.
    ASSERT_EQ(charts->nameBox(0)->count(), 2);
    EXPECT_EQ(charts->nameBox(1)->count(), 2);
    charts->nameBox(1)->setCurrentText(rows[2].FirmenName);
    EXPECT_EQ(charts->chart(1)->line()->dataCount(), 2);
    EXPECT_EQ(w->session().values.text("DDEAktie2"), rows[2].FirmenName);
    w->close();
}

TEST(ChartSettingsDialog, TheTablesEditTheLook) {
    ChartAppearance look = priceChartDesign();
    charts::ChartSettingsDialog dialog(look);
    QTableWidget* series = dialog.seriesTable();
    ASSERT_EQ(series->rowCount(), look.series.size());
    series->item(0, 0)->setText("Schlusskurs");
    series->item(1, 1)->setCheckState(Qt::Checked);  // "1. Gl.Durchschn." on
    series->item(0, 3)->setBackground(QColor(0x10, 0x20, 0x30));
    static_cast<QSpinBox*>(series->cellWidget(0, 4))->setValue(4);
    dialog.axesTable()->item(0, 0)->setText("Preis");
    dialog.axesTable()->item(4, 1)->setCheckState(Qt::Unchecked);
    const ChartAppearance edited = dialog.appearance();
    EXPECT_EQ(edited.series[0].title, "Schlusskurs");
    EXPECT_EQ(edited.series[0].color, 0x102030u);
    EXPECT_EQ(edited.series[0].penWidth, 4);
    EXPECT_TRUE(edited.find("Series7")->active);
    EXPECT_EQ(edited.axes[0].title, "Preis");
    EXPECT_FALSE(edited.axes[4].visible);
    EXPECT_EQ(edited.find("Series8")->active, look.find("Series8")->active);
}
