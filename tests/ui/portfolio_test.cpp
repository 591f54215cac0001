// The portfolio in the window, on the sample data with a depot of securities 1 to 4
// (100, 50, 200 and 75 shares; the 50 of number 2 sold). Today is the Monday after
// the sample's last day.
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "portfolio/bookings.h"
#include "portfolio/prices.h"
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
#include "ui/portfolio/sold_page.h"
#include "ui/portfolio/depot_commands.h"
#include "ui/portfolio/depot_passwort.h"
#include "portfolio/depot_password.h"
#include "ui/portfolio/rendite.h"
#include "ui/portfolio/limit_dialog.h"
#include "ui/portfolio/limits_panel.h"
#include "portfolio/limits.h"
#include "portfolio/planner.h"
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
#include <QSpinBox>
#include <QSlider>
#include <QDoubleSpinBox>
#include <QTableView>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTest>
#include <QUrl>
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
        setDocumentOpener([this](const QUrl& url) {
            opened << url.toLocalFile();
            return true;
        });
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

TEST_F(WindowDepot, TheSoldPageReportsThePeriodAndFallsBackToEverySale) {
    auto w = start();
    SoldPage* page = w->soldPage();
    w->pages()->setCurrentWidget(page);
    // This year's one sale: 50 × 20 bought, 50 × 35 sold: 1000 for 1750, 75 %.
    EXPECT_EQ(page->period().from, QDate(2026, 1, 1));
    ASSERT_EQ(page->gains().securities.size(), 1u);
    EXPECT_DOUBLE_EQ(page->invested(), 1000.0);
    EXPECT_DOUBLE_EQ(page->proceeds(), 1750.0);
    EXPECT_EQ(page->totalLabel(1)->text(), "1.000,00 EUR");
    EXPECT_EQ(page->totalLabel(2)->text(), "1.750,00 EUR");
    EXPECT_EQ(page->totalLabel(4)->text(), "75,00%");
    EXPECT_TRUE(page->reportView()->toPlainText().contains("Summe aller Verkäufe"));
    EXPECT_TRUE(page->reportView()->toPlainText().contains("121 Tage"));  // 02.06. to 01.10.2026
    EXPECT_TRUE(QFile::exists(m_home.home() + "/Temp/gewinn.rtf"));
    uitest::screenshot(*w, "sold_page");
    // A year without a sale shows every sale, but keeps no totals for the planner.
    page->yearBox()->setValue(2020);
    page->Jahr();
    EXPECT_EQ(page->period().to, QDate(2020, 12, 31));
    EXPECT_EQ(page->gains().securities.size(), 1u);
    EXPECT_DOUBLE_EQ(page->proceeds(), 0.0);
    page->Alles();
    EXPECT_DOUBLE_EQ(page->proceeds(), 1750.0);
    w->close();
}

TEST_F(WindowDepot, ThePlannerWindowComputesTargetsAndStoresDepotIni) {
    auto w = start();
    // The worked example: A 1000, V 1200, B 500, P 600, K 2000, wish 10 %.
    PlannerInputs in;
    in.A = 1000;
    in.V = 1200;
    in.B = 500;
    in.P = 600;
    in.K = 2000;
    const QString depot = w->session().dirs.depot;
    TRendite planner(w.get(), ui, "Renditeanalyse für das Jahr 2026", in, 10.0, depot, "EUR", 2);
    planner.show();
    EXPECT_EQ(planner.figure("Cash")->text(), "1.100,00 EUR");
    EXPECT_EQ(planner.figure("Kapitalrendite")->text(), "15,00 %");
    EXPECT_EQ(planner.figure("GeplantesErgebnis")->text(), "2.200,00 EUR");
    EXPECT_EQ(planner.figure("DifferenzVerkauf")->text(), "-100,00 EUR");
    EXPECT_EQ(planner.figure("DifferenzVerkauf")->styleSheet(), "color: red");
    EXPECT_EQ(planner.figure("Gewinne/Rendite")->text(), "20,00 %");
    uitest::screenshot(planner, "planner");
    // A double-click on the planned value asks for it and moves the slider: 2420 is 21 %.
    ui.inputs.push_back(QString("2420"));
    QTest::mouseDClick(planner.figure("GeplantesErgebnis"), Qt::LeftButton);
    EXPECT_EQ(ui.questions.last(), "Welche Wert wollen Sie erreichen mit Ihrem Depot?");
    EXPECT_EQ(planner.slider()->value(), 21000);
    EXPECT_EQ(planner.figure("wish")->text(), "21,00 %");
    // An answer that is no number changes nothing.
    ui.inputs.push_back(QString("viel"));
    QTest::mouseDClick(planner.figure("GeplantesErgebnis"), Qt::LeftButton);
    EXPECT_EQ(planner.slider()->value(), 21000);
    // An empty capital becomes the minimum A + B − P = 900.
    planner.capitalField()->setText("");
    planner.capitalEdited();
    EXPECT_EQ(planner.capitalField()->text(), "900,00");
    planner.capitalField()->setText("2.000,00");
    planner.capitalEdited();
    planner.save();
    QFile ini(depot + "Depot.ini");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), QByteArray("2000\r\n21\r\n"));
    w->close();
}

TEST_F(WindowDepot, TheLimitsPanelAndTheScanDialog) {
    auto w = start();
    Store& store = w->session().store;
    const int firma = w->currentFirma();
    ASSERT_GT(firma, 0);
    auto newest = priceOnOrBefore(**store.table("Aktien.db"), firma, QDate(9999, 12, 31));
    ASSERT_TRUE(newest.isOk() && newest->has_value());
    const double kurs = (*newest)->kurs;
    w->menu().action("&Limits")->trigger();
    LimitsPanel* panel = w->overviewPage()->limitsPanel();
    EXPECT_EQ(w->overviewPage()->innerPages()->currentWidget(), panel);
    panel->plusPercent()->setValue(10);
    panel->upperFromPrice();
    EXPECT_NEAR(readLimits(store, firma)->oberes, kurs * 1.1, 1e-9);
    uitest::screenshot(*w, "limits_panel");
    panel->lowerField()->setText("-5");
    panel->save();
    EXPECT_EQ(ui.messages.last(), "Ein Limit kann nicht negativ sein: -5");
    panel->clear();
    EXPECT_DOUBLE_EQ(readLimits(store, firma)->oberes, 0.0);

    // The breach dialog shows the price and the limits; "&Alle" answers.
    TLimitDialog dialog(w.get(), 2);
    LimitFinding f;
    f.subject.name = "Alpha AG";
    f.subject.kurs = 110;
    f.subject.datum = QDate(2026, 12, 4);
    f.subject.limits = {100, 0};
    f.after = f.subject.limits;
    f.upperBreached = true;
    LimitScanOptions o;
    dialog.fill(f, o);
    EXPECT_EQ(dialog.upperField()->text(), "100,00");
    EXPECT_EQ(dialog.upperLabel()->styleSheet(), "color: green");
    uitest::screenshot(dialog, "limit_dialog");
    uitest::onNextModal([](QDialog& d) { dynamic_cast<TLimitDialog&>(d).answerButton(LimitAnswer::Alle)->click(); });
    EXPECT_EQ(dialog.ask(f, o), LimitAnswer::Alle);

    // "L" with a breached upper limit: the scan asks, "Alle" moves it by the 10 % the
    // panel stored.
    ASSERT_TRUE(writeLimits(store, firma, {kurs * 0.9, 0}).isOk());
    ui.answers.push_back(Answer::No);  // no stop-loss
    uitest::onNextModal([](QDialog& d) { dynamic_cast<TLimitDialog&>(d).answerButton(LimitAnswer::Alle)->click(); });
    auto scanned = w->menu().limits().toggleScan(true);
    ASSERT_TRUE(scanned.has_value());
    EXPECT_EQ(ui.titles.last(), "Stop-Loss-Limit nachziehen?!");
    EXPECT_EQ(scanned->written, 1);
    EXPECT_NEAR(readLimits(store, firma)->oberes, kurs * 1.1, 1e-9);
    w->close();
}

TEST_F(WindowDepot, DepotsAreCreatedProtectedAndChosenFromTheMenu) {
    auto w = start();
    DepotCommands& depots = w->menu().depots();
    // "Depot &anlegen": the name, then the start of the value history.
    ui.inputs.push_back(QString("Familie"));
    uitest::onNextModal([](QDialog& d) {
        auto& ask = dynamic_cast<TDatumwahl&>(d);
        EXPECT_EQ(ask.windowTitle(), "Beginn der Depotberechnung");
        ask.setDatum(dayNumber(QDate(2026, 12, 1)));
        ask.accept();
    });
    ASSERT_TRUE(depots.anlegen());
    const QString familie = w->session().dirs.data + "Familie/";
    EXPECT_EQ(w->session().dirs.depot, familie);
    EXPECT_EQ(w->windowTitle(), "Quintara - Familie");
    EXPECT_EQ(w->pages()->currentWidget(), w->holdingsPage());
    EXPECT_TRUE(QFile::exists(familie + "Transaktionen.db"));
    uitest::screenshot(*w, "depot_created");

    // The password dialog refuses two different entries and stays open.
    TDepotPasswort dialog(w.get(), ui);
    dialog.first()->setText("eins");
    dialog.second()->setText("zwei");
    dialog.show();
    dialog.accept();
    EXPECT_EQ(ui.messages.last(), "Passwort stimmt nicht überein");
    EXPECT_TRUE(dialog.isVisible());
    uitest::screenshot(dialog, "depot_password");
    dialog.hide();
    uitest::onNextModal([](QDialog& d) {
        auto& p = dynamic_cast<TDepotPasswort&>(d);
        p.first()->setText("geheim");
        p.second()->setText("geheim");
        p.accept();
    });
    ASSERT_TRUE(depots.passwort());
    EXPECT_TRUE(*depotProtected(familie + "Transaktionen.db"));
    // Back to the data directory's depot (its first showing asks where its history
    // begins), then Familie again: the password is asked until it is right.
    uitest::onNextModal([](QDialog& d) {
        dynamic_cast<TDatumwahl&>(d).setDatum(dayNumber(QDate(2026, 12, 1)));
        d.accept();
    });
    ASSERT_TRUE(depots.useDepot(w->session().dirs.data));
    EXPECT_EQ(w->windowTitle(), "Quintara");
    ui.inputs.push_back(QString("falsch"));
    ui.inputs.push_back(QString("geheim"));
    ASSERT_TRUE(depots.useDepot(familie));
    EXPECT_EQ(ui.questions.last(), "Paßwort:(Quintara - Familie)");
    EXPECT_EQ(ui.messages.last(), "Falsches Passwort für das Depot Familie");
    // Cancelled: the old depot stays.
    ASSERT_TRUE(depots.useDepot(w->session().dirs.data));
    EXPECT_FALSE(depots.useDepot(familie));
    EXPECT_EQ(w->session().dirs.depot, w->session().dirs.data);
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

    // Letters do not get into the number fields, and "Abbrechen" books nothing.
    QString typed, typedDate;
    uitest::onNextModal([&](QDialog& d) {
        auto& pay = dynamic_cast<TDividende&>(d);
        pay.betrag()->clear();
        QTest::keyClicks(pay.betrag(), "1x2,5e0");
        typed = pay.betrag()->text();
        pay.datum()->clear();
        QTest::keyClicks(pay.datum(), "O1.12.2026");
        typedDate = pay.datum()->text();
        uitest::screenshot(d, "payment_dialog");
        ASSERT_NE(pay.abbrechen(), nullptr);
        EXPECT_EQ(pay.abbrechen()->text(), "Abbrechen");
        pay.abbrechen()->click();
    });
    page->paymentButton()->click();
    EXPECT_EQ(typed, "12,50");
    EXPECT_EQ(typedDate, "1.12.2026");
    EXPECT_EQ(page->model()->rowCount(), 5);
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
