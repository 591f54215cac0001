// The page "&Kursübersicht" on the sample data: how its parts share the window at the
// sizes people start with, and the number texts of its statistics panel.
#include "charts/price_chart.h"
#include "ui/main_window.h"
#include "ui/overview/chart_panels.h"
#include "ui/overview/overview_page.h"
#include "ui/securities_model.h"
#include "ui_test_support.h"

#include <QFile>
#include <QRegularExpression>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

class OverviewLayout : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_home.ok()); }

    // The window at `size` on the second sample security, laid out.
    std::unique_ptr<TAktienkurse> startAt(QSize size) {
        ScriptedInteraction ui;
        auto w = uitest::startMainWindow(m_home, ui);
        w->resize(size);
        QCoreApplication::processEvents();
        EXPECT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(1)));
        QCoreApplication::processEvents();
        return w;
    }

    // The rows of `grid` shown whole in its viewport.
    static int wholeRows(QTableView& grid) {
        int whole = 0;
        for (int r = 0; r < grid.model()->rowCount(); ++r)
            if (grid.viewport()->rect().contains(grid.visualRect(grid.model()->index(r, 0)))) ++whole;
        return whole;
    }

    uitest::SampleHome m_home;
};

}  // namespace

TEST_F(OverviewLayout, TheChartTakesTheMostRoomAndTheNewestPricesShowAtBothStartSizes) {
    for (const QSize size : {QSize(1100, 720), QSize(1360, 860)}) {
        SCOPED_TRACE(size.width());
        auto w = startAt(size);
        OverviewPage* page = w->overviewPage();
        const int chart = page->chartPanel()->height();
        EXPECT_GE(chart, page->height() * 2 / 5) << chart << " of " << page->height();
        // The chart is the biggest part of the page: taller than the lists and the panel.
        EXPECT_GT(chart, page->priceGrid()->height());
        EXPECT_GT(chart, page->statisticsArea()->height());
        // The statistics show at least their first lines without scrolling.
        EXPECT_GE(page->statisticsArea()->viewport()->height(), 3 * page->fontMetrics().height());
        for (QTableView* grid : {page->priceGrid(), page->volumeGrid()}) {
            EXPECT_GE(wholeRows(*grid), 3);
            // The newest row is among them: the lists stand at their end.
            const QModelIndex last = grid->model()->index(grid->model()->rowCount() - 1, 0);
            EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(last)));
        }
        uitest::screenshot(*w, QStringLiteral("overview_%1x%2").arg(size.width()).arg(size.height()));
        w->close();
    }
}

TEST_F(OverviewLayout, AStoredLeftPanelWidthStillWinsOverTheStartSizes) {
    {
        auto w = startAt(QSize(1360, 860));
        w->splitter()->setSizes({300, 1060});
        w->Ende1Click();
    }
    auto w = startAt(QSize(1360, 860));
    EXPECT_EQ(w->splitter()->sizes()[0], 300);
    OverviewPage* page = w->overviewPage();
    EXPECT_GE(page->chartPanel()->height(), page->height() * 2 / 5);
    w->close();
}

TEST_F(OverviewLayout, AfterADragTheListsKeepTheUsersHeightWhenTheWindowGrows) {
    auto w = startAt(QSize(1100, 720));
    OverviewPage* page = w->overviewPage();
    QSplitter* split = page->findChild<QSplitter*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(split, nullptr);
    const int total = split->sizes()[0] + split->sizes()[1];
    split->setSizes({total - 300, 300});
    Q_EMIT split->splitterMoved(total - 300, 1);
    w->resize(1360, 860);
    QCoreApplication::processEvents();
    EXPECT_EQ(split->sizes()[1], 300);
    // Without the drag the lists would be back to their few rows.
    EXPECT_GT(page->priceGrid()->height(), 200);
    w->close();
}

TEST_F(OverviewLayout, ThePanelGroupsVolumesAndPutsTheBlankBeforeEveryPercentSign) {
    auto w = startAt(QSize(1100, 720));
    OverviewPage* page = w->overviewPage();
    const QRegularExpression grouped(QStringLiteral("^-?\\d{1,3}(\\.\\d{3})*$"));
    for (const char* caption : {"Mittelwert der Volumen", "Mittelwert der Volumendifferenzen", "Standardabweichung der Volumen",
                                "Standardabweichung der Volumendifferenzen"}) {
        const QString text = page->figureText(QString::fromUtf8(caption));
        EXPECT_TRUE(grouped.match(text).hasMatch()) << caption << ": " << text.toStdString();
    }
    // The sample's volumes run into the hundred thousands: the mean has its point.
    EXPECT_TRUE(page->figureText("Mittelwert der Volumen").contains('.'));
    const QRegularExpression percent(QStringLiteral("^-?\\d+(,\\d+)? %$"));
    for (const char* caption : {"Welche Differenz besteht zwischen Minimum und Maximum", "Wieviel Prozent hat der Kurs schon vom Minimum zugelegt",
                                "Steigerung im Darstellungszeitraum"}) {
        const QString text = page->figureText(QString::fromUtf8(caption));
        EXPECT_TRUE(percent.match(text).hasMatch()) << caption << ": " << text.toStdString();
    }
    w->close();
}
