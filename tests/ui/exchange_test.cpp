#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "store/store.h"
#include "ui/exchange/exchange_commands.h"
#include "ui/exchange/export_optionen.h"
#include "ui/exchange/kurs_export.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Exchange : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_home.ok()); }
    int pricesOf(TAktienkurse& w, int firma) {
        return int(*(*w.session().store.table("Aktien.db"))->count(Query::detailOf(firma)));
    }
    uitest::SampleHome m_home;
};

}  // namespace

TEST_F(Exchange, TheMenuEntriesAreAvailable) {
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui);
    for (const char* caption : {"&Export Einzelkurs", "&Import Einzelkurs", "Textexport Intraday Open||High|Low|Close", "E&xport Kurse -> Text",
                                "Export in erweiterte Textdatei"}) {
        QAction* a = w->menu().action(QString::fromUtf8(caption));
        ASSERT_NE(a, nullptr) << caption;
        EXPECT_TRUE(a->isEnabled()) << caption;
    }
}

TEST_F(Exchange, ExportWindowWritesTheSecurityAndTheImportWindowReadsItIntoAnother) {
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui);
    const int first = w->currentFirma();
    ASSERT_GT(first, 0);
    const QString file = m_home.home() + "/kurse";
    {
        TKursExport d(*w, TKursExport::Mode::Export);
        d.show();
        EXPECT_EQ(d.windowTitle(), "Kurs - Export nach Text- oder dBase-Datei");
        EXPECT_EQ(d.nameLabel()->text(), w->currentFirmenName());
        EXPECT_TRUE(d.exportButton()->isVisible());
        EXPECT_FALSE(d.importButton()->isVisible());
        uitest::screenshot(d, "kurs_export");
        auto r = d.exportTo(file, ExportTyp::Csv, QDate(1990, 1, 1), QDate(2100, 1, 1), ';');
        ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
        EXPECT_EQ(r->rows, pricesOf(*w, first));
        d.reject();
    }
    EXPECT_TRUE(w->statusText(0).contains(file + ".csv")) << w->statusText(0).toStdString();
    // The type chosen is kept for the next window.
    EXPECT_EQ(w->session().values.integer("ExportTyp"), 3);
    TKursExport d(*w, TKursExport::Mode::Import);
    d.show();
    d.step(1);
    ASSERT_NE(d.firma(), first);
    EXPECT_EQ(w->currentFirma(), d.firma());
    EXPECT_TRUE(d.importButton()->isVisible());
    uitest::screenshot(d, "kurs_import");
    const int before = pricesOf(*w, d.firma());
    auto r = d.importFrom(file + ".csv", SecurityImportOptions{});
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(pricesOf(*w, d.firma()), before + r->booked);
    EXPECT_TRUE(w->statusText(0).startsWith("Gespeichert: ")) << w->statusText(0).toStdString();
    // A failure's message is shown.
    auto missing = d.importFrom(m_home.home() + "/fehlt.csv", SecurityImportOptions{});
    EXPECT_FALSE(missing.isOk());
    EXPECT_TRUE(ui.messages.join("\n").contains("fehlt.csv")) << ui.messages.join("\n").toStdString();
}

TEST_F(Exchange, OptionsWindowOffersTheBarsPatternsAndSeparators) {
    TExportOptionen d;
    EXPECT_EQ(d.windowTitle(), "Exportoptionen");
    EXPECT_EQ(d.minutes(), 5);
    EXPECT_EQ(d.separator(), QChar(' '));
    EXPECT_EQ(d.dateFormat(), "ddmmyy");
    EXPECT_EQ(d.timeFormat(), "hh:mm:ss");
    d.intervalBox()->setCurrentIndex(6);
    EXPECT_EQ(d.minutes(), 720);
    d.separatorBox()->setCurrentIndex(3);
    EXPECT_EQ(d.separator(), QChar('\t'));
    d.show();
    uitest::screenshot(d, "export_optionen");
}

TEST_F(Exchange, TextExportsOfAllPricesAndTheIntradayExportCallTheCore) {
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui);
    ExchangeCommands& c = w->menu().exchange();
    PriceTextOptions o;
    o.from = QDate(1990, 1, 1);
    o.to = QDate(2100, 1, 1);
    auto plain = c.priceTextTo(m_home.home() + "/alle.txt", o);
    ASSERT_TRUE(plain.isOk()) << plain.status().message().toStdString();
    EXPECT_GT(plain->prices, 0);
    o.extended = true;
    auto extended = c.priceTextTo(m_home.home() + "/erweitert.txt", o);
    ASSERT_TRUE(extended.isOk());
    EXPECT_GT(QFileInfo(m_home.home() + "/erweitert.txt").size(), QFileInfo(m_home.home() + "/alle.txt").size());
    IntradayExportOptions i;
    i.from = today();
    i.to = today();
    auto intraday = c.intradayTo(m_home.home() + "/intraday.txt", i);
    ASSERT_TRUE(intraday.isOk()) << intraday.status().message().toStdString();
    EXPECT_TRUE(QString::fromLatin1(readAll(m_home.home() + "/intraday.txt")).startsWith("Datum Zeit Open High Low Close Volumen Last"));
    auto failed = c.priceTextTo(m_home.home() + "/fehlt/alle.txt", o);
    EXPECT_FALSE(failed.isOk());
    EXPECT_TRUE(ui.messages.join("\n").contains("fehlt")) << ui.messages.join("\n").toStdString();
}
