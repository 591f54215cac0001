// The words the window's grids and the chart properties show in place of the data
// model's field names and the chart settings' series ids.
#include "app/chart_settings.h"
#include "charts/chart_settings_dialog.h"
#include "ui/main_window.h"
#include "ui/portfolio/waehrungen.h"
#include "ui/record_model.h"
#include "ui_test_support.h"

#include <QTableWidget>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

QStringList horizontalHeaders(const QAbstractItemModel& model) {
    QStringList out;
    for (int c = 0; c < model.columnCount(); ++c) out << model.headerData(c, Qt::Horizontal).toString();
    return out;
}

QStringList verticalHeaders(const QTableWidget& table) {
    QStringList out;
    for (int r = 0; r < table.rowCount(); ++r) out << table.verticalHeaderItem(r)->text();
    return out;
}

}  // namespace

TEST(Captions, ColumnsNamedAfterTheirFieldShowTheWordAndOwnTitlesStay) {
    RecordTableModel model;
    // As the column editor makes them (title = field) and as a settings file may hold them.
    model.setColumns({{"Erloes", "Erloes"}, {"WAEHRUNG", "Waehrung"}, {"FirmenName", ""}, {"Datum", "Datum"}, {"Kurs", "Schluss"}});
    EXPECT_EQ(horizontalHeaders(model), QStringList({"Erlös", "Währung", "Name", "Datum", "Schluss"}));
    // The field names stay what the grid layout stores.
    EXPECT_EQ(model.columns()[0].title, "Erloes");
}

TEST(Captions, TheCurrencyDialogsSecuritiesListSaysWaehrungAndName) {
    uitest::SampleHome home;
    ASSERT_TRUE(home.ok());
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(home, ui);
    TWaehrungen dialog(w->session().store, w.get());
    QTableWidget* list = dialog.securities();
    ASSERT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "Währung");
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), "Name");
    w->close();
}

TEST(Captions, TheChartPropertiesNameEachSeriesByItsTitleNotItsId) {
    ChartAppearance look = priceChartDesign();
    // A title the user changed does not rename the row.
    look.find("Series1")->title = "Schlusskurs";
    charts::ChartSettingsDialog dialog(look);
    const QStringList rows = verticalHeaders(*dialog.seriesTable());
    ASSERT_EQ(rows.size(), look.series.size());
    for (const QString& r : rows) EXPECT_FALSE(r.contains("Series") || r.contains("Reihe")) << r.toStdString();
    EXPECT_EQ(rows[0], "Kurswerte");
    for (const char* title : {"Kerzen", "Renko", "Stochastik", "R.S.I.", "MACD", "Bollinger Bänder"})
        EXPECT_TRUE(rows.contains(QString::fromUtf8(title))) << title;
    EXPECT_EQ(dialog.seriesTable()->item(0, 0)->text(), "Schlusskurs");
    // The stored settings keep their ids.
    EXPECT_EQ(dialog.appearance().series[0].name, "Series1");
    uitest::screenshot(dialog, "chart_properties");

    charts::ChartSettingsDialog intraday(intradayChartDesign());
    EXPECT_EQ(verticalHeaders(*intraday.seriesTable()), QStringList({"Intraday", "Intraday-Kerzen"}));
}
