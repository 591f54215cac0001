// Every chart drawn from the sample data (two securities, a year of prices up to
// Friday 04.12.2026, intraday prices added here) as the window and quintara-cli draw
// it, saved as PNG under the build folder; the limit line dragged with the mouse;
// and quintara-cli chart writing a PNG and a PDF.
#include "app/startup.h"
#include "base/formats.h"
#include "charts/chart_render.h"
#include "charts/chart_style.h"
#include "charts/comparison_chart.h"
#include "charts/date_ticker.h"
#include "charts/price_chart.h"
#include "sample/sample_data.h"
#include "support/test_support.h"

#include <QDir>
#include <QFontMetrics>
#include <cmath>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace q;

namespace {

const QDate kFriday(2026, 12, 4);

// A picture worth looking at: the size asked for and more than one colour in it.
void expectPicture(const QString& file, int width, int height) {
    QImage image(file);
    ASSERT_FALSE(image.isNull()) << file.toStdString();
    EXPECT_EQ(image.width(), width);
    EXPECT_EQ(image.height(), height);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7) colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 3) << file.toStdString();
}

QString picture(const QString& name) {
    QDir().mkpath(QStringLiteral(QUINTARA_CHART_PICTURES));
    return QStringLiteral(QUINTARA_CHART_PICTURES "/%1.png").arg(name);
}

class Charts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        sample::Plan plan;
        plan.securities = 2;
        plan.years = 1;
        NoProgress none;
        ASSERT_TRUE(sample::writeSampleData(tmp.filePath("Daten/"), plan, none).isOk());
        ASSERT_TRUE(startUp(session, {QString(), tmp.path() + "/", tmp.filePath("Quintara.conf")}, ui, none).isOk());
        // Candles of a week.
        session.values.set("Candle_Tage", SettingValue::integer(5));
    }
    void TearDown() override { session.store.closeAll(); }
    charts::ChartRequest request(charts::ChartType type, const QString& name) {
        charts::ChartRequest r;
        r.firma = 1;
        r.type = type;
        r.out = picture(name);
        r.width = 900;
        r.height = 600;
        return r;
    }
    QTemporaryDir tmp;
    Session session;
    ScriptedInteraction ui;
};

}  // namespace

TEST_F(Charts, EachChartTypeDrawsTheSampleData) {
    ChartAppearance all = priceChartDesign();
    for (SeriesStyle& s : all.series) s.active = s.name != "RenkoReihe";
    writeChartAppearance(session.settings, {&all});
    auto drawn = charts::renderChart(session, request(charts::ChartType::Candle, "price_candles_indicators"), kFriday);
    ASSERT_TRUE(drawn.isOk()) << drawn.status().message().toStdString();
    EXPECT_GT(drawn->points, 200);
    expectPicture(picture("price_candles_indicators"), 900, 600);

    // Renko bricks with the look as shipped.
    session.settings.removeKey(SettingsStore::kChartKey);
    ASSERT_TRUE(charts::renderChart(session, request(charts::ChartType::Renko, "renko"), kFriday).isOk());
    expectPicture(picture("renko"), 900, 600);

    // The names of the two sample securities, from three months before the last day.
    auto names = readSecurity(session.store, 1);
    auto second = readSecurity(session.store, 2);
    charts::ChartRequest compare = request(charts::ChartType::Compare, "comparison");
    compare.compare = {names->FirmenName, second->FirmenName, "Unbekannt"};
    compare.from = kFriday.addMonths(-3);
    auto compared = charts::renderChart(session, compare, kFriday);
    ASSERT_TRUE(compared.isOk()) << compared.status().message().toStdString();
    EXPECT_GT(compared->points, 100);
    expectPicture(picture("comparison"), 900, 600);

    Table& intraday = **session.store.table("Intraday.db");
    for (int m = 0; m < 480; m += 3) {
        Record r = intraday.newRecord();
        r.set("Firma", 1), r.set("ZEIT", timestampNumber(QDateTime(kFriday, QTime(9, 0).addSecs(m * 60)))),
            r.set("Kurs", 50 + 3 * std::sin(m / 40.0));
        ASSERT_TRUE(intraday.append(r).isOk());
    }
    charts::ChartRequest day = request(charts::ChartType::Intraday, "intraday");
    day.day = kFriday;
    auto intra = charts::renderChart(session, day, kFriday);
    ASSERT_TRUE(intra.isOk()) << intra.status().message().toStdString();
    EXPECT_EQ(intra->points, 160);
    EXPECT_TRUE(intra->title.endsWith(" - 04.12.2026"));
    expectPicture(picture("intraday"), 900, 600);
    day.day = kFriday.addDays(-1);
    EXPECT_EQ(charts::renderChart(session, day, kFriday).status().message(), "Keine Intraday-Kurse am 03.12.2026");
    day.out = tmp.filePath("x.svg");
    day.day = kFriday;
    EXPECT_EQ(charts::renderChart(session, day, kFriday).status().message(),
              "Das Format .svg wird nicht unterstützt (PNG oder PDF)");
}

TEST(PriceChartWidget, DraggingTheUpperLimitLineReportsItsNewValue) {
    PriceChartData data;
    data.firma = 3;
    data.title = "Ziehwerk";
    for (int i = 0; i < 60; ++i) data.lines[series::Kurs].push_back({46000.0 + i, 10 + (i % 10)});
    data.upperLimit = 15;
    charts::PriceChart chart;
    chart.resize(800, 500);
    chart.QWidget::show();
    chart.show(data);
    ASSERT_DOUBLE_EQ(chart.limitValue(LimitLine::Upper), 15);
    EXPECT_DOUBLE_EQ(chart.limitValue(LimitLine::Lower), 0);  // no lower limit: no line
    QSignalSpy dragged(&chart, &charts::PriceChart::limitDragged);
    const QPoint from = chart.limitPixel(LimitLine::Upper).toPoint();
    const QPoint to = from - QPoint(0, 40);
    QTest::mousePress(&chart, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, chart.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, to);
    ASSERT_EQ(dragged.count(), 1);
    const double value = dragged.first().at(1).toDouble();
    EXPECT_GT(value, 15);
    EXPECT_NEAR(value, chart.yAxis->pixelToCoord(to.y()), 1e-9);
    EXPECT_DOUBLE_EQ(chart.limitValue(LimitLine::Upper), value);
    // A drag elsewhere in the chart scrolls and reports nothing.
    QTest::mousePress(&chart, Qt::LeftButton, {}, from + QPoint(0, 80));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, from + QPoint(30, 80));
    EXPECT_EQ(dragged.count(), 1);
}

TEST(PriceChartWidget, LegendLogAxisDrawnLinesAndTheAdxRule) {
    PriceChartData data;
    for (int i = 0; i < 300; ++i) data.lines[series::Kurs].push_back({46000.0 + i, 10 + i * 0.1});
    data.lines[series::ADX] = {{46290, 30}, {46299, 35}};
    charts::PriceChart chart;
    chart.resize(800, 500);
    chart.QWidget::show();
    ChartAppearance look = chart.appearance();
    look.find(series::ADX)->active = true;
    look.find(series::Kerzen)->active = false;
    chart.setAppearance(look);
    QSignalSpy notices(&chart, &charts::PriceChart::notice);
    chart.show(data);
    // The ADX needs the candles: they are switched on, with the notice.
    ASSERT_EQ(notices.count(), 1);
    EXPECT_EQ(notices.first().first().toString(), "Für die Berechnung des ADX ist die Berechnung der Kerzen notwendig!");
    EXPECT_TRUE(chart.appearance().find(series::Kerzen)->active);
    // Zooming to 3 months shows month labels and fits the price axis to them.
    chart.zoomToDays(46200, 46290);
    EXPECT_LT(chart.yAxis->range().upper, 40);
    EXPECT_GT(chart.yAxis->range().lower, 28);
    // A price axis the settings fix stays where they put it.
    look = chart.appearance();
    look.axes[0].automatic = false;
    look.axes[0].minimum = 5;
    look.axes[0].maximum = 50;
    chart.setAppearance(look);
    chart.zoomToDays(46000, 46100);
    EXPECT_DOUBLE_EQ(chart.yAxis->range().lower, 5);
    EXPECT_DOUBLE_EQ(chart.yAxis->range().upper, 50);
    look.axes[0].automatic = true;
    chart.setAppearance(look);
    chart.setLogAxis(true);
    EXPECT_EQ(chart.yAxis->scaleType(), QCPAxis::stLogarithmic);
    EXPECT_FALSE(chart.yAxis2->visible());
    chart.setLegendShown(true);
    EXPECT_TRUE(chart.legend->visible());
    chart.setDrawingLines(true);
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    QMouseEvent move(QEvent::MouseMove, QPoint(400, 200), chart.mapToGlobal(QPoint(400, 200)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(400, 200));
    EXPECT_EQ(chart.drawnLineCount(), 1);
    chart.deleteAllLines();
    EXPECT_EQ(chart.drawnLineCount(), 0);
}

TEST_F(Charts, CliWritesPngAndPdf) {
    const QString home = tmp.path() + "/", settings = tmp.filePath("Quintara.conf");
    auto name = readSecurity(session.store, 1);
    ASSERT_TRUE(name.isOk());
    session.store.closeAll();
    const QString png = tmp.filePath("kurs.png"), pdf = tmp.filePath("kurs.pdf");
    auto r = qtest::runCli({"--home", home, "--settings", settings, "--today", "04.12.2026", "chart", name->FirmenName, "--out",
                            png, "--size", "640x400", "--type", "candle"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Diagramm " + name->FirmenName + " gespeichert"));
    expectPicture(png, 640, 400);
    r = qtest::runCli({"--home", home, "--settings", settings, "chart", "1", "--out", pdf, "--from", "01.09.2026"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_GT(file.size(), 1000);
    // The comparison needs no security of its own.
    const QString compare = tmp.filePath("vergleich.png");
    r = qtest::runCli({"--home", home, "--settings", settings, "--json", "chart", "--type", "compare", "--compare",
                       name->FirmenName + ",Unbekannt", "--from", "01.10.2026", "--out", compare});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\"title\":\"Vergleich\"")) << r.out.toStdString();
    expectPicture(compare, 1200, 700);
    r = qtest::runCli({"--home", home, "--settings", settings, "chart", "1", "--out", png, "--size", "12"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("--size erwartet BREITExHÖHE")) << r.err.toStdString();
    r = qtest::runCli({"--home", home, "--settings", settings, "chart", "1", "--out", png, "--type", "torte"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Unbekannte Diagrammart \"torte\"")) << r.err.toStdString();
}

namespace {

// The date labels `axis` shows after drawing: none twice, none running into its
// neighbour, every one a date as written in the program ("09.Nov.26", no double dot).
QVector<QString> readableDates(QCustomPlot& plot, QCPAxis& axis) {
    // The first drawing sets the margins the second one counts its room with.
    plot.replot();
    plot.replot();
    const QVector<double> ticks = axis.tickVector();
    const QVector<QString> labels = axis.tickVectorLabels();
    const QFontMetrics metrics(axis.tickLabelFont());
    QSet<QString> seen;
    for (int i = 0; i < labels.size(); ++i) {
        EXPECT_FALSE(seen.contains(labels[i])) << labels[i].toStdString();
        seen.insert(labels[i]);
        EXPECT_FALSE(labels[i].contains("..")) << labels[i].toStdString();
        if (i == 0) continue;
        const double gap = axis.coordToPixel(ticks[i]) - axis.coordToPixel(ticks[i - 1]);
        const double needed = (metrics.horizontalAdvance(labels[i]) + metrics.horizontalAdvance(labels[i - 1])) / 2.0;
        EXPECT_GT(gap, needed) << labels[i - 1].toStdString() << " / " << labels[i].toStdString();
    }
    return labels;
}

}  // namespace

TEST(DateAxis, LabelsNeitherRepeatNorOverlapAndAnEmptyChartHasNone) {
    EXPECT_EQ(charts::formatAxisDate(QDate(2026, 11, 9), "dd.MMM.yy"), "09.Nov.26");
    EXPECT_EQ(charts::formatAxisDate(QDate(2026, 3, 1), "MMMM yyyy"), "März 2026");
    EXPECT_EQ(charts::formatAxisDate(QDate(2026, 3, 1), "MMM yyyy"), "Mär 2026");

    // The comparison chart: empty, no dates; two lines over 70 days, day labels and the legend.
    charts::ComparisonPlot compare;
    compare.resize(700, 400);
    compare.QWidget::show();
    compare.show(ComparisonChart{});
    EXPECT_TRUE(readableDates(compare, *compare.xAxis).isEmpty());
    ComparisonChart two;
    two.lines.resize(2);
    for (int l = 0; l < 2; ++l) {
        two.lines[size_t(l)].name = l == 0 ? "Alpha" : "Beta";
        two.lines[size_t(l)].active = true;
        for (int d = 0; d < 70; ++d) two.lines[size_t(l)].points.push_back({46300.0 + d, d * (l + 1) * 0.5});
    }
    compare.show(two);
    const auto days = readableDates(compare, *compare.xAxis);
    EXPECT_GE(days.size(), 3);
    EXPECT_TRUE(compare.legend->visible());
    compare.grab().save(picture("comparison_two_lines"));

    // A security with prices of four years, then one with its only price: the axes
    // hold that price and its day, and the labels stay apart.
    charts::PriceChart chart;
    chart.resize(420, 400);
    chart.QWidget::show();
    PriceChartData years;
    for (int i = 0; i < 1400; ++i) years.lines[series::Kurs].push_back({45000.0 + i, 150 + 70 * std::sin(i / 50.0)});
    chart.show(years);
    const auto yearLabels = readableDates(chart, *chart.xAxis);
    EXPECT_GE(yearLabels.size(), 2);
    PriceChartData one;
    one.lines[series::Kurs].push_back({46300, 10});
    chart.show(one);
    readableDates(chart, *chart.xAxis);
    EXPECT_TRUE(chart.yAxis->range().contains(10)) << chart.yAxis->range().lower << " – " << chart.yAxis->range().upper;
    EXPECT_TRUE(chart.xAxis->range().contains(charts::keyOfDay(46300)));
    chart.grab().save(picture("price_one_price"));
}

TEST(PriceChartWidget, TheCursorShowsTheNearestDaysPriceAndHidesOnLeaveAndRefill) {
    PriceChartData data;
    for (int i = 0; i < 60; ++i) data.lines[series::Kurs].push_back({46300.0 + i, 229 + i * 0.01 + 0.0057});
    charts::PriceChart chart;
    chart.resize(800, 500);
    chart.QWidget::show();
    chart.setDecimals(2);
    chart.show(data);
    chart.replot();
    auto moveTo = [&](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&chart, &move);
    };
    // Halfway between days 10 and 11, a little nearer to 10, high above the line.
    const int x = int(chart.xAxis->coordToPixel(charts::keyOfDay(46310.4)));
    moveTo(QPoint(x, int(chart.axisRect()->rect().top()) + 5));
    EXPECT_EQ(chart.cursorText(), formatDate(dateFromDayNumber(46310)) + "  229,11");
    // At the right edge the label stays inside the price area.
    moveTo(QPoint(chart.axisRect()->rect().right() - 2, chart.axisRect()->rect().center().y()));
    EXPECT_EQ(chart.cursorText(), formatDate(dateFromDayNumber(46359)) + "  229,60");
    for (int i = 0; i < chart.itemCount(); ++i)
        if (auto* text = qobject_cast<QCPItemText*>(chart.item(i)); text && text->visible())
            EXPECT_LE(text->bottomRight->pixelPosition().x(), chart.axisRect()->rect().right() + 1);
    chart.grab().save(picture("price_cursor"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&chart, &leave);
    EXPECT_EQ(chart.cursorText(), "");
    moveTo(QPoint(x, chart.axisRect()->rect().center().y()));
    EXPECT_FALSE(chart.cursorText().isEmpty());
    PriceChartData other;
    other.lines[series::Kurs].push_back({46400, 10});
    chart.show(other);
    EXPECT_EQ(chart.cursorText(), "");
}

// "+", "-", "Home" and a double-click zoom the days; the panel below follows the
// days in view, so a calm last quarter is not flattened by a wild first year.
TEST(PriceChartWidget, KeysAndDoubleClickZoomAndThePanelFollowsTheView) {
    PriceChartData data;
    for (int i = 0; i < 1400; ++i) {
        data.lines[series::Kurs].push_back({45000.0 + i, 100 + 10 * std::sin(i / 30.0)});
        data.lines[series::Momentum].push_back({45000.0 + i, (i < 365 ? 100.0 : 5.0) * std::sin(i / 7.0)});
    }
    charts::PriceChart chart;
    chart.resize(800, 500);
    chart.QWidget::show();
    chart.show(data);
    chart.setSeriesActive(series::Momentum, true);
    QCPAxis* panelAxis = chart.plottable(series::Momentum)->valueAxis();
    ASSERT_EQ(panelAxis->axisRect(), chart.panel());
    const QCPRange all = chart.xAxis->range();
    EXPECT_GT(panelAxis->range().upper, 90);

    chart.zoomToDays(45000 + 1300, 45000 + 1399);
    chart.replot();
    EXPECT_LT(panelAxis->range().upper, 10);
    EXPECT_GT(panelAxis->range().upper, 4);

    const QCPRange before = chart.xAxis->range();
    QTest::keyClick(&chart, Qt::Key_Plus);
    EXPECT_NEAR(chart.xAxis->range().size(), before.size() * 0.8, 1);
    EXPECT_NEAR(chart.xAxis->range().center(), before.center(), 1);
    QTest::keyClick(&chart, Qt::Key_Minus);
    EXPECT_NEAR(chart.xAxis->range().size(), before.size(), 1);
    QTest::keyClick(&chart, Qt::Key_Home);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().lower, all.lower);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, all.upper);

    chart.zoomToDays(45000 + 1300, 45000 + 1399);
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, chart.axisRect()->rect().center());
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, all.upper);
    EXPECT_GT(panelAxis->range().upper, 90);
}
