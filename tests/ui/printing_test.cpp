// Printing and opening reports in the window: every print goes through the one print
// path into a PDF file here, whose first page becomes a PNG under screenshots/ and
// whose text is read back with poppler's tools.
#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/bookings.h"
#include "ui/analysis/rating_page.h"
#include "ui/dialogs/datumwahl.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/overview/movers_page.h"
#include "ui/overview/overview_page.h"
#include "ui/portfolio/holdings_page.h"
#include "ui/portfolio/open_document.h"
#include "ui/printing.h"
#include "ui/record_model.h"
#include "ui/securities_model.h"
#include "ui_test_support.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

const QDate kMonday(2026, 12, 7);

class WindowPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.ok());
        setToday(kMonday);
    }
    void TearDown() override {
        setPrintFile(QString());
        setDocumentOpener({});
        setToday(QDate());
    }
    // The next print goes into <temp>/<name>.pdf.
    QString printInto(const QString& name) {
        const QString pdf = m_out.filePath(name + ".pdf");
        setPrintFile(pdf);
        return pdf;
    }
    // The text of the first page, as pdftotext lays it out; the page as
    // screenshots/<name>.png.
    static QString firstPage(const QString& pdf, const QString& name) {
        QProcess text;
        text.start("pdftotext", {"-f", "1", "-l", "1", "-layout", pdf, "-"});
        if (!text.waitForFinished(30000) || text.exitCode() != 0) return QStringLiteral("pdftotext failed");
        QDir().mkpath(QStringLiteral(QUINTARA_SCREENSHOTS));
        QProcess png;
        png.start("pdftoppm", {"-f", "1", "-l", "1", "-r", "60", "-png", "-singlefile", pdf,
                               QStringLiteral(QUINTARA_SCREENSHOTS "/print_%1").arg(name)});
        if (!png.waitForFinished(30000) || png.exitCode() != 0) return QStringLiteral("pdftoppm failed");
        return QString::fromUtf8(text.readAllStandardOutput());
    }
    // How many pixels of the page image are neither white nor grey (from column
    // `fromX` on).
    static int colouredPixels(const QString& name, double fromX = 0) {
        const QImage page(QStringLiteral(QUINTARA_SCREENSHOTS "/print_%1.png").arg(name));
        int n = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = int(fromX * page.width()); x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60) ++n;
            }
        return n;
    }
    std::unique_ptr<TAktienkurse> start() { return uitest::startMainWindow(m_home, ui); }

    uitest::SampleHome m_home;
    QTemporaryDir m_out;
    ScriptedInteraction ui;
};

}  // namespace

TEST_F(WindowPrinting, TheHoldingsReportPrintsUnderItsTitleWithItsFirstRows) {
    auto w = start();
    Store& store = w->session().store;
    ASSERT_TRUE(buy(store, {1, QDate(2026, 6, 1), 100, 10.0, QString()}).isOk());
    ASSERT_TRUE(buy(store, {3, QDate(2026, 6, 3), 200, 30.0, QString()}).isOk());
    w->reopenViews();
    uitest::onNextModal([](QDialog& d) {
        dynamic_cast<TDatumwahl&>(d).setDatum(dayNumber(QDate(2026, 11, 2)));
        d.accept();
    });
    w->menu().action("&Anlagen-Übersicht")->trigger();
    const QString pdf = printInto("holdings");
    w->holdingsPage()->print();
    const QString page = firstPage(pdf, "holdings");
    EXPECT_TRUE(page.contains("Übersicht der Anlagen am 07.12.2026")) << page.toStdString();
    // The first security of the report by name, and its sum line.
    EXPECT_TRUE(page.contains(w->holdingsPage()->valuation().securities.front().name)) << page.toStdString();
    EXPECT_TRUE(page.contains("Summe aller Wertpapiere")) << page.toStdString();
    w->close();
}

TEST_F(WindowPrinting, TheRatingAndMoversReportsPrintThroughTheSamePath) {
    auto w = start();
    RatingPage* rating = w->ratingPage();
    w->pages()->setCurrentIndex(w->pages()->indexOf(rating->parentWidget()->parentWidget()));
    rating->neueBerechnung()->click();
    QString pdf = printInto("rating");
    rating->print();
    QString page = firstPage(pdf, "rating");
    EXPECT_TRUE(page.contains("Quintara Wertpapierbewertung vom 07.12.2026")) << page.toStdString();
    EXPECT_TRUE(page.contains("Diese Aktien könnten Sie kaufen")) << page.toStdString();

    ASSERT_TRUE(w->moversPage()->Berechnen(kMonday.addDays(-30)));
    pdf = printInto("movers");
    w->moversPage()->print();
    page = firstPage(pdf, "movers");
    EXPECT_TRUE(page.contains("Gewinner und Verlierer vom 07.12.2026")) << page.toStdString();
    const auto& movers = *w->moversPage()->last();
    const QString best = movers.winners.empty() ? movers.losers.front().name : movers.winners.front().name;
    EXPECT_TRUE(page.contains(best)) << page.toStdString();
    w->close();
}

TEST_F(WindowPrinting, TheMenuPrintsThePriceChartAndThePriceSheet) {
    auto w = start();
    w->resize(1100, 720);
    ASSERT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(0)));
    const QString name = w->currentFirmenName();

    QString pdf = printInto("kursdiagramm");
    w->menu().action("Kurs&diagramm drucken")->trigger();
    QString page = firstPage(pdf, "kursdiagramm");
    EXPECT_TRUE(page.contains(name)) << page.toStdString();
    EXPECT_GT(colouredPixels("kursdiagramm"), 200);  // the price line is drawn, not only the frame

    // The sheet: asked whether it fits the page; yes scales the page to the paper's width.
    pdf = printInto("kursblatt");
    ui.choices.push_back(0);
    w->menu().action("Kurs&blatt drucken")->trigger();
    EXPECT_EQ(ui.questions.last(), "Kursblatt auf Seite anpassen?");
    firstPage(pdf, "kursblatt");
    // The page as a picture: the chart's lines reach the paper's right part.
    EXPECT_GT(colouredPixels("kursblatt", 0.75), 20);
    // The list's font is back after the print, its newest row in view.
    EXPECT_NE(w->priceGrid()->font().pointSize(), 7);
    QTableView* grid = w->priceGrid();
    EXPECT_EQ(grid->rowAt(grid->viewport()->height() - 2), grid->model()->rowCount() - 1);

    // Elsewhere the user is sent to the price overview, and nothing is printed.
    QFile::remove(pdf);
    w->pages()->setCurrentIndex(w->pages()->indexOf(w->ratingPage()->parentWidget()->parentWidget()));
    w->menu().action("Kurs&blatt drucken")->trigger();
    EXPECT_EQ(ui.messages.last(), "Wechseln Sie in die \"KURSE-Übersicht\" und wählen Sie eine Wertpapier aus");
    EXPECT_FALSE(QFile::exists(pdf));
    w->close();
}

TEST_F(WindowPrinting, OpeningAReportHandsItsFileUrlToTheDesktopAndSaysWhenNoProgramTakesIt) {
    QList<QUrl> urls;
    bool taken = true;
    setDocumentOpener([&](const QUrl& url) {
        urls << url;
        return taken;
    });
    auto w = start();
    RatingPage* rating = w->ratingPage();
    w->pages()->setCurrentIndex(w->pages()->indexOf(rating->parentWidget()->parentWidget()));
    QPushButton* oeffnen = nullptr;
    for (QPushButton* b : rating->findChildren<QPushButton*>())
        if (b->text() == "In Textverarbeitung öffnen") oeffnen = b;
    ASSERT_NE(oeffnen, nullptr);
    oeffnen->click();
    EXPECT_EQ(ui.messages.last(), "Es gibt noch keine Bewertung (Empfehl.rtf)");
    EXPECT_TRUE(urls.isEmpty());

    rating->neueBerechnung()->click();
    oeffnen->click();
    ASSERT_EQ(urls.size(), 1);
    EXPECT_TRUE(urls[0].isLocalFile());
    EXPECT_EQ(urls[0].toLocalFile(), w->session().dirs.work + "Empfehl.rtf");

    // No program for the file: the user hears of it instead of nothing happening.
    taken = false;
    const int told = ui.messages.size();
    oeffnen->click();
    ASSERT_EQ(ui.messages.size(), told + 1);
    EXPECT_EQ(ui.messages.last(), QDir::toNativeSeparators(urls[1].toLocalFile()) +
                                      " kann nicht geöffnet werden: kein Programm für diese Datei eingerichtet");
    w->close();
}
