// The quote overview, the report page and the options dialog in the window, on the
// sample data (five securities, one year of prices up to Friday 04.12.2026; today is
// the Monday after).
#include "analysis/security_analysis.h"
#include "app/analysis_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "overview/list_selection.h"
#include "store/firma_hooks.h"
#include "ui/analysis/analysis_commands.h"
#include "ui/analysis/rating_page.h"
#include "ui/analysis/tanalyse.h"
#include "ui/dialogs/spalten_edit.h"
#include "ui/main_window.h"
#include "ui/overview/overview_page.h"
#include "ui/overview/security_search_bar.h"
#include "ui/portfolio/portfolio_charts.h"
#include "charts/custom_plot.h"
#include "portfolio/bookings.h"
#include "ui/portfolio/open_document.h"
#include "ui/portfolio/wertentwicklung.h"
#include "ui/securities_model.h"
#include "ui_test_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QUrl>
#include <QTextBrowser>
#include <QToolButton>
#include <QComboBox>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

class WindowAnalysis : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.ok());
        setToday(QDate(2026, 12, 7));
        setDocumentOpener([this](const QUrl& url) {
            opened << url.toLocalFile();
            return true;
        });
    }
    void TearDown() override {
        setToday(QDate());
        setDocumentOpener({});
    }
    std::unique_ptr<TAktienkurse> start() { return uitest::startMainWindow(m_home, ui); }
    void appendPrice(Store& store, int firma, const QDate& day, double kurs) {
        Table* aktien = *store.table("Aktien.db");
        Record r = aktien->newRecord();
        r.set("Firma", firma);
        r.set("Datum", dayNumber(day));
        r.set("Kurs", kurs);
        ASSERT_TRUE(aktien->append(r).isOk());
    }

    uitest::SampleHome m_home;
    ScriptedInteraction ui;
    QStringList opened;
};

}  // namespace

TEST_F(WindowAnalysis, SelectingASecurityFillsTheOverviewAndDeletesItsBrokenRows) {
    auto w = start();
    Store& store = w->session().store;
    const int second = w->securitiesModel()->firmaAt(1);
    // A row with a price of 0 among the sample's rows.
    appendPrice(store, second, QDate(2026, 12, 5), 0);
    ASSERT_TRUE(w->selectFirma(second));
    OverviewPage* page = w->overviewPage();
    ASSERT_TRUE(page->analysis().has_value());
    const SecurityAnalysis& a = *page->analysis();
    ASSERT_TRUE(a.fill.enoughPrices);
    // The page shows what the fill pass gave, as it formats it.
    EXPECT_EQ(page->figureText("Stochastik"), a.fill.info.stochastik.text);
    EXPECT_FALSE(page->figureText("Stochastik").isEmpty());
    EXPECT_EQ(page->figureText("Mittelwert"), a.fill.statistics.mittelwert.text);
    EXPECT_EQ(page->figureText("Bewertung"), QString::number(a.rating->R));
    EXPECT_FALSE(page->figureText("Index").isEmpty());
    EXPECT_FALSE(page->findChild<QLabel*>("ratingPicture")->pixmap().isNull());
    auto zero = (*store.table("Aktien.db"))->findKey({second, dayNumber(QDate(2026, 12, 5))});
    ASSERT_TRUE(zero.isOk());
    EXPECT_FALSE(zero->has_value());

    // The second price view with the day's change.
    w->analysisCommands().kursdifferenz()->setChecked(true);
    ASSERT_TRUE(page->differencesShown());
    QTableWidget* grid = page->differenceGrid();
    ASSERT_EQ(grid->rowCount(), a.fill.count());
    const int n = a.fill.count();
    const double change = a.fill.prices[size_t(n - 1)] * 100 / a.fill.prices[size_t(n - 2)] - 100;
    EXPECT_EQ(grid->item(n - 1, 2)->text(), formatGeneral(roundHalfEven(change, 2)) + " %");
    uitest::screenshot(*w, "overview_page");

    // A security with a single price shows empty figures, not the previous one's.
    Table* firma = *store.table("Firma.db");
    Record r = newSecurityRecord(*firma, "EUR");
    r.set("FirmenName", "AAA Einzelkurs");
    const int single = *appendSecurity(*firma, r);
    appendPrice(store, single, QDate(2026, 12, 4), 7);
    w->reopenViews();
    ASSERT_TRUE(w->selectFirma(single));
    EXPECT_TRUE(page->figureText("Stochastik").isEmpty());
    EXPECT_TRUE(page->figureText("Bewertung").isEmpty());
    w->close();
}

TEST_F(WindowAnalysis, AFavouriteWithoutANameGetsNoTabAndKeepsItsData) {
    auto w = start();
    Store& store = w->session().store;
    const int third = w->securitiesModel()->firmaAt(2);
    // Another program left a favourite without a name.
    QProcess sqlite;
    sqlite.start("sqlite3", {store.path("Firma.db"), QStringLiteral("UPDATE Firma SET FirmenName = '', Aktiv = 1 WHERE Firma = %1;").arg(third)});
    ASSERT_TRUE(sqlite.waitForFinished());
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    w->reopenViews();
    auto* tabs = w->findChild<QTabBar*>("favouriteTabs");
    for (int i = 0; i < tabs->count(); ++i) EXPECT_NE(tabs->tabData(i).toInt(), third);
    auto record = (*store.table("Firma.db"))->findKey({third});
    ASSERT_TRUE(record.isOk());
    EXPECT_TRUE(record->has_value());
    auto prices = (*store.table("Aktien.db"))->count(Query::detailOf(third));
    ASSERT_TRUE(prices.isOk());
    EXPECT_GT(*prices, 200);
    w->close();
}

TEST_F(WindowAnalysis, TheOptionsDialogWritesItsSettingsAndCancelKeepsThem) {
    auto w = start();
    Einstellungen& values = w->session().values;
    uitest::onNextModal([](QDialog& d) {
        auto& dialog = static_cast<TAnalyse&>(d);
        dialog.presetButton(AnalysisPreset::Langfristig)->click();
        dialog.reject();
    });
    w->analysisCommands().analyseParameter()->trigger();
    EXPECT_EQ(analysisSettings(values).fill.ErsterGL, 5);

    uitest::onNextModal([](QDialog& d) {
        auto& dialog = static_cast<TAnalyse&>(d);
        dialog.presetButton(AnalysisPreset::Kurzfristig)->click();
        dialog.subPages()->setCurrentIndex(2);  // "Stochastik"
        uitest::screenshot(dialog, "tanalyse");
        dialog.accept();
    });
    w->analysisCommands().analyseParameter()->trigger();
    const AnalysisSettings s = analysisSettings(values);
    EXPECT_EQ(s.fill.ErsterGL, 3);
    EXPECT_EQ(s.fill.ZweiterGL, 5);
    EXPECT_EQ(s.rating.BewertStochWertP, 95);
    EXPECT_EQ(s.rating.BewertStochWertM, 5);
    // The overview was filled again with the short averages.
    ASSERT_TRUE(w->overviewPage()->analysis().has_value());
    EXPECT_EQ(w->overviewPage()->analysis()->fill.shortPeriod, 3);

    // The reading and backup pages edit their settings through the same dialog.
    uitest::onNextModal([&](QDialog& d) {
        auto& dialog = static_cast<TAnalyse&>(d);
        QTabWidget* top = dialog.findChildren<QTabWidget*>(Qt::FindDirectChildrenOnly).value(0);
        ASSERT_NE(top, nullptr);
        QStringList tops;
        for (int i = 0; i < top->count(); ++i) tops << top->tabText(i);
        EXPECT_EQ(tops, (QStringList{"Analyse", "Einlese-Optionen", "Sicherung"}));
        auto* vortag = dialog.findChild<QCheckBox*>("IntradayVortageskurs");
        ASSERT_NE(vortag, nullptr);
        EXPECT_EQ(vortag->text(), "Als Intraday-Startkurs den Vortages Kurs aus Datenbank");
        EXPECT_FALSE(vortag->isChecked());
        vortag->setChecked(true);
        dialog.findChild<QLineEdit*>("DDEItem")->setText("Kurse");
        dialog.findChild<QSpinBox*>("SicherInterval")->setValue(7);
        // The "…" buttons ask through the question interface; a cancel keeps the text.
        ui.inputs = {QString("/srv/kurse/tageskurse.txt"), std::nullopt, QDir::toNativeSeparators(m_home.home() + "/Sicherung")};
        auto* file = dialog.findChild<QToolButton*>("VTDateiBrowse");
        auto* folder = dialog.findChild<QToolButton*>("SicherPathBrowse");
        ASSERT_NE(file, nullptr);
        ASSERT_NE(folder, nullptr);
        EXPECT_EQ(file->text(), "…");
        EXPECT_EQ(dialog.findChild<QToolButton*>("DDEItemBrowse"), nullptr);
        file->click();
        file->click();
        folder->click();
        EXPECT_EQ(dialog.findChild<QLineEdit*>("VTDatei")->text(), "/srv/kurse/tageskurse.txt");
        top->setCurrentIndex(1);
        uitest::screenshot(dialog, "tanalyse_einlese");
        dialog.accept();
    });
    w->analysisCommands().analyseParameter()->trigger();
    EXPECT_TRUE(analysisSettings(values).vortagesKurs);
    EXPECT_EQ(values.text("DDEItem"), "Kurse");
    EXPECT_EQ(values.integer("SicherInterval"), 7);
    EXPECT_EQ(values.text("VTDatei"), "/srv/kurse/tageskurse.txt");
    EXPECT_EQ(values.text("SicherPath"), m_home.home() + "/Sicherung");
    EXPECT_EQ(analysisSettings(values).fill.ErsterGL, 3);  // the analysis values stay
    w->close();
}

TEST_F(WindowAnalysis, TheReportPageRunsTheRatingAndIntradayAnalyseWritesTheTable) {
    auto w = start();
    RatingPage* page = w->ratingPage();
    w->pages()->setCurrentIndex(w->pages()->indexOf(page->parentWidget()->parentWidget()));
    page->entries()->setValue(5);
    page->neueBerechnung()->click();
    const QString work = w->session().dirs.work;
    EXPECT_TRUE(QFile::exists(work + "Empfehl.rtf"));
    const QString text = page->view()->toPlainText();
    EXPECT_TRUE(text.contains("Diese Aktien könnten Sie kaufen")) << text.toStdString();
    EXPECT_TRUE(text.contains("Vorsicht bei diesen Aktien im Augenblick"));
    EXPECT_EQ(analysisSettings(w->session().values).BewertTage, 5);
    EXPECT_TRUE(w->statusText(0).contains("von 5 Wertpapieren bewertet")) << w->statusText(0).toStdString();
    uitest::screenshot(*w, "rating_page");

    // "Kurse" shows the run's winners in the quote overview.
    QPushButton* kurse = nullptr;
    for (QPushButton* b : page->findChildren<QPushButton*>())
        if (b->text() == "Kurse") kurse = b;
    ASSERT_NE(kurse, nullptr);
    kurse->click();
    EXPECT_EQ(w->listSelector()->currentText(), "Gewinner(Quintara)");
    EXPECT_EQ(w->pages()->currentIndex(), 0);
    EXPECT_GT(w->securitiesModel()->rowCount(), 0);
    w->pages()->setCurrentIndex(w->pages()->indexOf(page->parentWidget()->parentWidget()));

    ui.answers.push_back(Answer::Yes);
    w->analysisCommands().intradayAnalyse()->trigger();
    EXPECT_EQ(ui.questions.last(), "Soll die Analyse-Datei neu berechnet werden?");
    EXPECT_TRUE(QFile::exists(work + "Analyse.db"));
    EXPECT_FALSE(w->isMinimized());  // no companion program installed: nothing more

    // With the companion analysis program in the installation's "Bin" folder it starts
    // with "/A" and the window steps aside.
    const QString install = w->session().dirs.install;
    QDir(install).mkdir("Bin");
    const QString program = install + "Bin/Analyse";
    const QString marker = install + "companion-args.txt";
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QString("#!/bin/sh\necho \"$@\" > '%1'\n").arg(marker).toUtf8());
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ui.answers.push_back(Answer::Yes);
    w->analysisCommands().intradayAnalyse()->trigger();
    EXPECT_TRUE(w->isMinimized());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(marker).size() > 0; }, 10000));
    QFile args(marker);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll().trimmed(), "/A");
    w->close();
}

TEST_F(WindowAnalysis, TheSelectorLeavesOutTheRatingListsWhileTheAnalysisPageIsOpen) {
    auto w = start();
    RatingPage* page = w->ratingPage();
    const int analyse = w->pages()->indexOf(page->parentWidget()->parentWidget());
    QComboBox* selector = w->listSelector();
    const int all = w->securitiesModel()->rowCount();
    w->pages()->setCurrentIndex(analyse);
    page->entries()->setValue(5);
    page->neueBerechnung()->click();
    ASSERT_TRUE(QFile::exists(w->session().dirs.work + "Empfehl.rtf"));

    // Back on the overview the run's lists are offered; the winners are chosen.
    w->pages()->setCurrentIndex(0);
    const int winners = selector->findText("Gewinner(Quintara)");
    ASSERT_GE(winners, 0);
    EXPECT_GE(selector->findText("Verlierer(Quintara)"), 0);
    w->selectList(winners);
    ASSERT_EQ(w->currentSelection().list.kind, ListChoice::Kind::Winners);
    const int listed = w->securitiesModel()->rowCount();

    // On the analysis page both go, and the chosen one gives way to the first entry's list.
    w->pages()->setCurrentIndex(analyse);
    EXPECT_EQ(selector->findText("Gewinner(Quintara)"), -1);
    EXPECT_EQ(selector->findText("Verlierer(Quintara)"), -1);
    EXPECT_EQ(selector->currentIndex(), 0);
    EXPECT_EQ(w->securitiesModel()->rowCount(), all);
    EXPECT_EQ(w->currentSelection().list.kind, ListChoice::Kind::Group);

    // Leaving the page for another one ("&Buchungen") puts them back.
    w->pages()->setCurrentIndex(3);
    EXPECT_GE(selector->findText("Gewinner(Quintara)"), 0);
    EXPECT_GE(selector->findText("Verlierer(Quintara)"), 0);

    // "Kurse" on the page puts them back before it chooses the winners.
    w->pages()->setCurrentIndex(analyse);
    ASSERT_EQ(selector->findText("Gewinner(Quintara)"), -1);
    QPushButton* kurse = nullptr;
    for (QPushButton* b : page->findChildren<QPushButton*>())
        if (b->text() == "Kurse") kurse = b;
    ASSERT_NE(kurse, nullptr);
    kurse->click();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join("|").toStdString();
    EXPECT_EQ(w->pages()->currentIndex(), 0);
    EXPECT_EQ(selector->currentText(), "Gewinner(Quintara)");
    EXPECT_EQ(w->currentSelection().list.kind, ListChoice::Kind::Winners);
    EXPECT_GE(selector->findText("Verlierer(Quintara)"), 0);
    EXPECT_EQ(w->securitiesModel()->rowCount(), listed);
}

TEST_F(WindowAnalysis, TheSearchButtonsWalkOnAndOfferToStartAgain) {
    auto w = start();
    ASSERT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(0)));
    const auto name = [&] { return w->currentFirmenName(); };
    ui.inputs.push_back(QString("bank"));
    w->searchBar()->search(SearchKind::Name);
    EXPECT_EQ(name(), "Lindholm Bank AG");
    EXPECT_EQ(w->searchBar()->lastText(SearchKind::Name), "BANK");
    ui.inputs.push_back(QString("ag"));
    w->searchBar()->search(SearchKind::Name);
    EXPECT_EQ(name(), "Nordlicht Software AG");
    // Past the end: the question, and on Yes the walk goes on from the first.
    ui.inputs.push_back(QString("maschinen"));
    ui.answers.push_back(Answer::Yes);
    w->searchBar()->search(SearchKind::Name);
    EXPECT_EQ(ui.questions.last(), "Konnte Kurs nicht finden! Vom Anfang beginnen?");
    EXPECT_EQ(name(), "Albrecht Maschinen AG");
    // No hit and No: the walk ends on the last record.
    ui.inputs.push_back(QString("XXXX"));
    ui.answers.push_back(Answer::No);
    w->searchBar()->search(SearchKind::Number);
    EXPECT_EQ(name(), "Nordlicht Software AG");
    w->close();
}

TEST_F(WindowAnalysis, AnOpenPositionShowsItsLineAndProfitBars) {
    auto w = start();
    const int firma = w->securitiesModel()->firmaAt(0);
    ASSERT_TRUE(buy(w->session().store, {firma, QDate(2026, 11, 2), 10, 1.0, QString()}).isOk());
    w->reopenViews();
    ASSERT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(1)));
    ASSERT_TRUE(w->selectFirma(firma));
    OverviewPage* page = w->overviewPage();
    QTabWidget* inner = page->innerPages();
    const int gewinn = [&] {
        for (int i = 0; i < inner->count(); ++i)
            if (inner->tabText(i) == "Gewinn") return i;
        return -1;
    }();
    ASSERT_GE(gewinn, 0);
    EXPECT_TRUE(inner->isTabEnabled(gewinn));
    const Position& p = page->analysis()->fill.position;
    EXPECT_TRUE(page->findChild<QLabel*>("positionLine")->text().contains("Anteile: 10,00"));
    // Bought at 1 per share, far below the sample's prices: a gain every day since.
    ASSERT_FALSE(p.bars.empty());
    EXPECT_TRUE(std::all_of(p.bars.begin(), p.bars.end(), [](const ProfitBar& b) { return b.gain(); }));
    EXPECT_EQ(page->profitChart()->plottableCount(), 2);
    EXPECT_EQ(static_cast<QCPBars*>(page->profitChart()->plottable(0))->data()->size(), int(p.bars.size()));
    EXPECT_EQ(chartTitle(*page->profitChart()), w->currentFirmenName() + "(Gewinn)");
    inner->setCurrentIndex(gewinn);
    uitest::screenshot(*w, "overview_profit");

    // A security without lots has the page disabled, in its place: the tabs do not move.
    ASSERT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(1)));
    EXPECT_FALSE(inner->isTabEnabled(gewinn));
    EXPECT_EQ(inner->tabText(gewinn), "Gewinn");
    w->close();
}

TEST_F(WindowAnalysis, TheColumnEditorRebuildsThePriceList) {
    auto w = start();
    const int firma = w->securitiesModel()->firmaAt(0);
    ASSERT_TRUE(w->selectFirma(firma));
    OverviewPage* page = w->overviewPage();
    QTableView* grid = page->priceGrid();
    const int rows = grid->model()->rowCount();
    ASSERT_GT(rows, 0);
    QAction* edit = nullptr;
    for (QAction* a : grid->actions())
        if (a->text() == "Spalten bearbeiten") edit = a;
    ASSERT_NE(edit, nullptr);

    // Kurs out, Firma in after Datum, then Kurs back at the end.
    uitest::onNextModal([&](QDialog& d) {
        auto& editor = static_cast<TSpaltenEdit&>(d);
        editor.tableFields()->setCurrentRow(1);
        editor.takeOut()->click();
        editor.tableFields()->setCurrentRow(0);
        editor.databaseFields()->setCurrentItem(editor.databaseFields()->findItems("Firma", Qt::MatchExactly).value(0));
        editor.takeIn()->click();
        editor.databaseFields()->setCurrentItem(editor.databaseFields()->findItems("Kurs", Qt::MatchExactly).value(0));
        editor.takeIn()->click();
        d.accept();
    });
    edit->trigger();
    QAbstractItemModel* model = grid->model();
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Datum");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Firma");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Kurs");
    EXPECT_EQ(model->rowCount(), rows);
    EXPECT_EQ(model->index(0, 1).data().toString(), QString::number(firma));

    // Cancel leaves the list as it is.
    uitest::onNextModal([](QDialog& d) {
        auto& editor = static_cast<TSpaltenEdit&>(d);
        editor.tableFields()->setCurrentRow(0);
        editor.takeOut()->click();
        d.reject();
    });
    edit->trigger();
    EXPECT_EQ(model->columnCount(), 3);
    w->close();
}

TEST_F(WindowAnalysis, TheValueDevelopmentWindowFollowsTheSecurityAndItsSlider) {
    auto w = start();
    const int firma = w->securitiesModel()->firmaAt(0);
    // Ten shares at 50, today's price 60: the slider starts at +20 % (200 tenths).
    ASSERT_TRUE(buy(w->session().store, {firma, QDate(2026, 11, 2), 10, 50.0, QString()}).isOk());
    appendPrice(w->session().store, firma, QDate(2026, 12, 7), 60.0);
    w->reopenViews();
    ASSERT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(1)));
    ASSERT_TRUE(w->selectFirma(firma));
    OverviewPage* page = w->overviewPage();
    Wertentwicklung* dev = page->development();
    EXPECT_FALSE(dev->isVisible());
    EXPECT_EQ(dev->windowTitle(), w->currentFirmenName() + " Gewinnberechnung");
    EXPECT_EQ(dev->slider()->value(), 200);
    EXPECT_EQ(dev->gainLine()->text(), " Kurs: 60,00  Ankauf: 50,00  Diff: 20,00%   100,00");
    EXPECT_EQ(dev->currentLine()->text(), " Kurs: 60,00  Akt.Kurs: 60,00  Diff: 0,0%   0,00");

    // The slider at −10.5 %: 44.75, both lines a loss in red.
    dev->slider()->setValue(-105);
    EXPECT_EQ(dev->gainLine()->text(), " Kurs: 44,75  Ankauf: 50,00  Diff: -10,50%   -52,50");
    EXPECT_TRUE(dev->currentLine()->styleSheet().contains("red"));

    // The button beside the position line takes the selected price row's price and
    // shows the window without blocking the main window.
    dev->setCurrentPrice(0);
    EXPECT_EQ(dev->gainLine()->text(), " ");
    page->priceGrid()->setCurrentIndex(page->priceGrid()->model()->index(page->priceGrid()->model()->rowCount() - 1, 0));
    page->developmentButton()->click();
    EXPECT_TRUE(dev->isVisible());
    EXPECT_FALSE(dev->isModal());
    EXPECT_EQ(dev->currentLine()->text(), " Kurs: 44,75  Akt.Kurs: 60,00  Diff: -25,4%   -152,50");
    uitest::screenshot(*dev, "value_development");

    // A security without lots: no shares, the trial price moves from its own price.
    ASSERT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(1)));
    EXPECT_EQ(dev->slider()->value(), 0);
    EXPECT_TRUE(dev->gainLine()->text().endsWith("   0,00"));
    w->close();
}
