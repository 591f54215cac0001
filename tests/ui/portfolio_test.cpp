// The portfolio in the window, on the sample data with a depot of securities 1 to 4
// (100, 50, 200 and 75 shares; the 50 of number 2 sold). Today is the Monday after
// the sample's last day.
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "portfolio/bookings.h"
#include "portfolio/holdings_report.h"
#include "portfolio/value_history.h"
#include "charts/custom_plot.h"
#include "ui/dialogs/datumwahl.h"
#include "ui/main_window.h"
#include "ui/overview/overview_page.h"
#include "ui/portfolio/aktiensplit.h"
#include "ui/portfolio/assistent.h"
#include "ui/portfolio/bookings_page.h"
#include "ui/portfolio/dividende.h"
#include "ui/portfolio/holdings_page.h"
#include "ui/portfolio/laendereinstellung.h"
#include "ui/portfolio/lots_model.h"
#include "ui/portfolio/lots_page.h"
#include "ui/portfolio/open_document.h"
#include "ui/portfolio/portfolio_charts.h"
#include "ui/portfolio/portfolio_commands.h"
#include "ui/portfolio/waehrungen.h"
#include "ui/acquisition/videotext_commands.h"
#include "ui/main_menu.h"
#include "ui/securities_model.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

const QDate kMonday(2026, 12, 7);

class WindowDepot : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.ok());
        setToday(kMonday);
        setDocumentOpener([this](const QString& path) { opened << path; });
    }
    void TearDown() override {
        setToday(QDate());
        setDocumentOpener({});
    }
    std::unique_ptr<TAktienkurse> start() {
        auto w = uitest::startMainWindow(m_home, ui);
        Store& store = w->session().store;
        const double shares[] = {100, 50, 200, 75};
        for (int firma = 1; firma <= 4; ++firma)
            EXPECT_TRUE(buy(store, {firma, QDate(2026, 6, firma), shares[firma - 1], 10.0 * firma, QString()}).isOk());
        EXPECT_TRUE(sell(store, {2, 50, QDate(2026, 10, 1), 35, -1, false}).isOk());
        w->reopenViews();
        return w;
    }
    static std::vector<Lot> lotsOf(TAktienkurse& w, int firma) { return *q::lotsOf(**w.session().store.table(kLots), firma); }

    uitest::SampleHome m_home;
    ScriptedInteraction ui;
    QStringList opened;
};

}  // namespace

TEST_F(WindowDepot, TheHoldingsPageValuesTheDepotAndDrawsItsHistory) {
    auto w = start();
    HoldingsPage* page = w->holdingsPage();
    // The first visit asks where the value history begins.
    uitest::onNextModal([](QDialog& d) {
        auto& ask = dynamic_cast<TDatumwahl&>(d);
        EXPECT_EQ(ask.windowTitle(), "Beginn der Depotberechnung");
        ask.setDatum(dayNumber(QDate(2026, 11, 2)));
        ask.accept();
    });
    w->menu().action("&Anlagen-Übersicht")->trigger();
    ASSERT_EQ(w->pages()->currentWidget(), page);
    const Valuation& v = page->valuation();
    ASSERT_EQ(v.securities.size(), 3u);  // the sold lot is gone
    EXPECT_EQ(v.stichtag, kMonday);
    // The view and the labels show what the core computed.
    const QString value = reportMoney(v.total.value, 10, 2, "EUR");
    EXPECT_TRUE(page->reportView()->toPlainText().contains("Summe aller Wertpapiere (Gewinne inkl.Verkaufskosten)"));
    EXPECT_TRUE(page->reportView()->toPlainText().contains(value));
    EXPECT_EQ(page->totalLabel(3)->text(), value);
    EXPECT_TRUE(page->header()->text().startsWith("Anteile    Ankauf"));
    EXPECT_TRUE(QFile::exists(m_home.home() + "/Temp/anlagen.rtf"));
    EXPECT_EQ(page->depotValue(), v.homeTotal.value);
    // Bars of the groups the depot holds, titled with the report date.
    EXPECT_EQ(page->bars()->plottableCount(), 1);
    EXPECT_EQ(chartTitle(*page->bars()), "Verteilung der Depotsumme 07.12.2026");
    uitest::screenshot(*w, "holdings_page");
    // 02.11. to 06.12. backfilled, today from the valuation: 36 days.
    auto history = readHistory(w->session().store);
    ASSERT_EQ(history->size(), 36u);
    EXPECT_NEAR(history->back().value(), v.total.value, 1e-6);

    page->DepotChart();
    EXPECT_TRUE(page->historyShown());
    EXPECT_EQ(chartTitle(*page->history()), "Depotentwicklung bis 07.12.2026");
    EXPECT_EQ(page->history()->graphCount(), 2);
    EXPECT_EQ(page->history()->graph(0)->dataCount(), 36);
    uitest::screenshot(*w, "holdings_value_history");
    page->GewinnChart();
    EXPECT_EQ(chartTitle(*page->history()), "Gewinnentwicklung bis 07.12.2026");
    uitest::screenshot(*w, "holdings_profit_history");
    page->BranchenChart();
    EXPECT_FALSE(page->historyShown());

    // "Datum" values at an earlier day; the history keeps one record per day.
    uitest::onNextModal([](QDialog& d) {
        dynamic_cast<TDatumwahl&>(d).setDatum(dayNumber(QDate(2026, 11, 30)));
        d.accept();
    });
    page->Datum();
    EXPECT_EQ(page->valuation().stichtag, QDate(2026, 11, 30));
    EXPECT_EQ(readHistory(w->session().store)->size(), 36u);
    // "Neu" asks first; no keeps the history.
    page->Neu();
    EXPECT_EQ(ui.titles.last(), "Depotwert neu berechnen?");
    EXPECT_EQ(readHistory(w->session().store)->size(), 36u);
    w->close();
}

TEST_F(WindowDepot, TheBookingsPageSortsByClickedColumnsAndWritesDepotTxt) {
    auto w = start();
    w->menu().action("&Depot-Buchungen")->trigger();
    BookingsPage* page = w->bookingsPage();
    ASSERT_EQ(page->model()->rowCount(), 4);
    auto shares = [&] {
        QStringList out;
        for (const Lot& l : page->model()->lots()) out << formatGeneral(l.Anteile);
        return out.join(' ');
    };
    page->sortBy(1);  // "Anteile"
    EXPECT_EQ(page->order(), "IAnteile");
    EXPECT_EQ(shares(), "50 75 100 200");
    page->sortBy(1);
    EXPECT_EQ(page->order(), "GAnteile");
    EXPECT_EQ(shares(), "200 100 75 50");
    uitest::screenshot(*w, "bookings_page");

    page->textButton()->click();
    ASSERT_EQ(opened.size(), 1);
    const auto lines = readTextLines(opened.first());
    ASSERT_TRUE(lines.isOk());
    EXPECT_EQ(lines->first(), "FirmenName\tAnteile\tDatum\tAnkauf\tVerkauf\tErloes\t");
    EXPECT_EQ(lines->size(), 4 + 3);
    EXPECT_TRUE(w->statusText(0).startsWith("Summe: ")) << w->statusText(0).toStdString();

    // A payment of 12,50 out of the depot.
    uitest::onNextModal([](QDialog& d) {
        auto& pay = dynamic_cast<TDividende&>(d);
        EXPECT_EQ(pay.windowTitle(), "Buchung im Depot eintragen");
        EXPECT_EQ(pay.anteile()->text(), "1");
        pay.betrag()->setText("-12,50");
        pay.eintragen()->click();
    });
    page->paymentButton()->click();
    ASSERT_EQ(page->model()->rowCount(), 5);
    EXPECT_EQ(lotsOf(*w, 0).front().Erloes, -12.5);
    w->close();
}

TEST_F(WindowDepot, ThePurchaseAssistantBooksThePriceAfterCosts) {
    auto w = start();
    const int firma = 5;  // a security without lots
    ASSERT_TRUE(w->selectFirma(firma));
    EXPECT_EQ(w->lotsPage()->model()->rowCount(), 0);
    EXPECT_FALSE(w->lotsPage()->verkauf()->isVisibleTo(w->lotsPage()));
    uitest::onNextModal([](QDialog& d) {
        auto& a = dynamic_cast<TAssistent&>(d);
        EXPECT_EQ(a.windowTitle(), "Ankaufs-Assistent");
        EXPECT_EQ(a.question()->text(), "Wann haben Sie das Wertpapier gekauft?");
        a.edit()->setText("01.12.2026");
        a.Weiter();
        a.edit()->setText("zehn");
        a.Weiter();
        EXPECT_EQ(a.step(), 2);  // no number: the step stays
        EXPECT_EQ(a.message()->text(), "Ungültige Zahl: zehn");
        a.edit()->setText("10");
        a.Weiter();
        a.edit()->setText("50");
        a.Weiter();
        for (int step = 4; step <= 6; ++step) a.Weiter();
        // 500 + 500 × 0,4 ÷ 1000 + 500 × 1 ÷ 100 + 2,8121053 = 508,0121053 for 10 shares.
        EXPECT_EQ(a.step(), 7);
        EXPECT_EQ(a.weiter()->text(), "Fertig");
        EXPECT_TRUE(a.summary()->text().contains("<td>Gebühren:</td><td align=\"right\">8,01 Euro</td>")) << a.summary()->text().toStdString();
        uitest::screenshot(a, "purchase_assistant");
        a.Weiter();
    });
    ASSERT_EQ(w->portfolio().Ankaufsassistent(), 1);
    const auto lots = lotsOf(*w, firma);
    ASSERT_EQ(lots.size(), 1u);
    EXPECT_EQ(lots[0].Datum, QDate(2026, 12, 1));
    EXPECT_EQ(lots[0].Anteile, 10.0);
    EXPECT_NEAR(lots[0].Ankauf, 50.80121053, 1e-12);
    EXPECT_EQ(w->lotsPage()->model()->rowCount(), 1);
    EXPECT_TRUE(w->lotsPage()->verkauf()->isVisibleTo(w->lotsPage()));
    EXPECT_EQ(w->session().values.number("Clearing"), 2.8121053);
    QTabWidget* inner = w->overviewPage()->innerPages();
    for (int i = 0; i < inner->count(); ++i)
        if (inner->tabText(i) == "Depotwerte") inner->setCurrentIndex(i);
    ASSERT_TRUE(w->lotsPage()->isVisible());
    uitest::screenshot(*w, "lots_page");
    w->close();
}

TEST_F(WindowDepot, TheQuickSaleOfASoldLotIsRefusedAndAnOpenOneSells) {
    auto w = start();
    ASSERT_TRUE(w->selectFirma(2));  // its only lot is sold
    ASSERT_EQ(w->lotsPage()->model()->rowCount(), 1);
    EXPECT_FALSE(w->lotsPage()->verkaufKurz()->isVisibleTo(w->lotsPage()));
    EXPECT_EQ(w->portfolio().VerkaufKurz(), 0);
    ASSERT_TRUE(w->selectFirma(1));  // 100 shares open
    uitest::onNextModal([](QDialog& d) {
        auto& box = dynamic_cast<QInputDialog&>(d);
        EXPECT_EQ(box.textValue(), "100");
        box.setTextValue("40");
        uitest::onNextModal([](QDialog& e) {
            dynamic_cast<QInputDialog&>(e).setTextValue("4000");
            e.accept();
        });
        box.accept();
    });
    ASSERT_EQ(w->portfolio().VerkaufKurz(), 1);
    // 40 of 100 sold at 4000 ÷ 40 = 100, 60 left open.
    const auto lots = lotsOf(*w, 1);
    ASSERT_EQ(lots.size(), 2u);
    EXPECT_EQ(lots[0].Anteile + lots[1].Anteile, 100.0);
    EXPECT_EQ(lots[0].Anteile, 40.0);
    EXPECT_EQ(lots[0].Erloes, 100.0);
    EXPECT_FALSE(lots[1].isSold());
    w->close();
}

TEST_F(WindowDepot, TheCurrencyAndRegionalDialogsWriteThroughTheCore) {
    auto w = start();
    uitest::onNextModal([](QDialog& d) {
        auto& c = dynamic_cast<TWaehrungen&>(d);
        EXPECT_EQ(c.windowTitle(), "Waehrungen im Depot");
        ASSERT_GT(c.securities()->rowCount(), 0);
        c.securityChosen(0);
        EXPECT_EQ(c.symbol()->text(), "EUR");
        EXPECT_EQ(c.einheit()->text(), "1");
        c.symbol()->setText("USD");
        c.name()->setText("US-Dollar");
        c.faktor()->setText("0");
        c.Eintragen();
        EXPECT_EQ(c.message()->text(), "Der Wechselkurs muss größer als 0 sein: 0");
        c.faktor()->setText("0,92");
        c.Eintragen();
        EXPECT_TRUE(c.message()->text().isEmpty());
        EXPECT_EQ(c.currencies()->rowCount(), 2);
        uitest::screenshot(c, "currency_dialog");
        d.accept();
    });
    EXPECT_EQ(w->portfolio().Waehrungen(), 1);
    uitest::onNextModal([](QDialog& d) {
        auto& r = dynamic_cast<TLaendereinstellung&>(d);
        r.euroKurse()->setCurrentRow(2);  // Österreich
        EXPECT_EQ(r.zweiteWaehrung()->text(), "ATS");
        EXPECT_EQ(r.wechselkurs()->text(), "13,7603");
        uitest::screenshot(r, "regional_dialog");
        r.accept();
    });
    EXPECT_EQ(w->portfolio().Laendereinstellung(), 1);
    EXPECT_EQ(w->session().values.text("Waehrung"), "ATS");
    EXPECT_EQ(w->holdingsPage()->inDM()->text(), " in ATS");
    w->close();
}

TEST_F(WindowDepot, ReadingOffersTheSplitDialogForAFallWithAutoSplit) {
    auto w = start();
    w->session().values.set("AutoSplit", SettingValue::truth(true));
    Store& store = w->session().store;
    Table& aktien = **store.table("Aktien.db");
    Query newest = Query::detailOf(2);
    newest.reverse = true;
    const double last = (**aktien.first(newest)).value("Kurs").toDouble();
    const QString zdf = (**(*store.table("Firma.db"))->findKey({2})).value("ZDF").toString();
    // A fall of a little more than 80 % on the Monday: a 1:5 split is offered.
    ASSERT_TRUE(writeTextLines(w->session().values.text("VTDatei"),
                               {formatDate(kMonday), zdf + "\t" + formatAmount(std::floor(last / 5 * 100) / 100, 2)})
                    .isOk());
    bool offered = false;
    uitest::onNextModal([&](QDialog& d) {
        auto& split = dynamic_cast<TAktiensplit&>(d);
        offered = true;
        EXPECT_TRUE(split.windowTitle().startsWith("Aktiensplit "));
        EXPECT_EQ(split.ratio()->text(), "5");
        EXPECT_TRUE(split.los()->isEnabled());
        uitest::screenshot(split, "split_dialog");
        uitest::onNextModal([](QDialog& date) {
            EXPECT_EQ(date.windowTitle(), "Enddatum des Kurssplit");
            date.accept();
        });
        split.los()->click();
    });
    const ReadReport report = w->menu().videotext().VTeinlesen1Click();
    EXPECT_TRUE(offered);
    // The prices up to 04.12. divided by 5: the new price is no fall any more.
    EXPECT_EQ(report.counts.implausible, 0);
    EXPECT_EQ(report.counts.booked, 1);
    Query friday = Query::detailOf(2);
    friday.rangeField = "Datum";
    friday.to = dayNumber(QDate(2026, 12, 4));
    friday.reverse = true;
    EXPECT_NEAR((**(*store.table("Aktien.db"))->first(friday)).value("Kurs").toDouble(), last / 5, 1e-9);
    w->close();
}
