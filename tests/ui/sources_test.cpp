#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "sample/quote_server.h"
#include "sample/sample_data.h"
#include "ui/acquisition/eingabe_kurs.h"
#include "ui/acquisition/intraday_page.h"
#include "ui/acquisition/sample_update_command.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

const QDate kMonday(2026, 12, 7);

class PriceSources : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.ok());
        setToday(kMonday);
    }
    void TearDown() override { setToday(QDate()); }
    Record firstSecurity(TAktienkurse& w) { return (*(*w.session().store.table("Firma.db"))->rows(Query()))[0]; }
    double lastPrice(TAktienkurse& w, int firma) {
        Query last = Query::detailOf(firma);
        last.reverse = true;
        return (*(*w.session().store.table("Aktien.db"))->first(last))->value("Kurs").toDouble();
    }
    std::optional<double> priceOn(TAktienkurse& w, int firma, const QDate& day) {
        auto r = (*w.session().store.table("Aktien.db"))->findKey({firma, dayNumber(day)});
        if (!r || !r->has_value()) return std::nullopt;
        return (*r)->value("Kurs").toDouble();
    }

    // The sample price program in the home's "bin" folder: it writes `name` with
    // `kurs` as the installation's daily price file.
    static void installSampleProgram(const uitest::SampleHome& home, const QString& name, double kurs) {
        QDir().mkpath(home.home() + "/bin");
        QFile program(home.home() + "/bin/beispielkurse");
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\ncd \"$(dirname \"$0\")/..\"\nprintf '" + name.toUtf8() + "\\t" + formatAmount(kurs, 2).toUtf8() +
                      "\\r\\n' > aktien.txt\n");
        program.close();
        program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    }

    uitest::SampleHome m_home;
};

}  // namespace

TEST_F(PriceSources, TheIntradayTabPollsTheInternetWhileStartedOnAnyPage) {
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui);
    ::sample::QuoteServer server;
    ASSERT_TRUE(server.listen());
    Record first = firstSecurity(*w);
    const int firma = first.value("Firma").toInt();
    // One per cent up: a plausible change.
    const double kurs = roundHalfEven(lastPrice(*w, firma) * 1.01, 2);
    server.set("/q.csv", {200, "Date,Close,Volume\n2026-12-07," + QByteArray::number(kurs) + ",1200\n"});
    {
        Table& t = **w->session().store.table("Firma.db");
        Record after = first;
        after.set("Internet", server.url("/q.csv"));
        ASSERT_TRUE(t.update(first, after).isOk());
    }
    IntradayPage* page = w->intradayPage();
    ASSERT_NE(page, nullptr);
    w->pages()->setCurrentWidget(page->parentWidget());
    uitest::screenshot(*w, "intraday_tab");

    page->nextSource();
    EXPECT_EQ(page->interval()->value(), 0) << "choosing a source sets the interval to 0";
    page->Start();
    EXPECT_EQ(page->findChild<QPushButton*>("start")->text(), "Stop");
    // Polling goes on while another page is shown.
    w->pages()->setCurrentIndex(0);
    page->tick();
    EXPECT_EQ(page->poller().runs(), 1);
    EXPECT_EQ(priceOn(*w, firma, kMonday), kurs);
    EXPECT_GE(*(*w->session().store.table("Intraday.db"))->count(Query::detailOf(firma)), 1);
    EXPECT_TRUE(page->log()->toPlainText().contains(first.value("FirmenName").toString() + "\t" + formatAmount(kurs, 2) + "\t"))
        << page->log()->toPlainText().toStdString();
    w->pages()->setCurrentWidget(page->parentWidget());
    uitest::screenshot(*w, "intraday_tab_polling");
    page->Stop();
    EXPECT_EQ(page->findChild<QPushButton*>("start")->text(), "Start");
    EXPECT_EQ(page->poller().state(), IntradayPoller::State::Stopped);
}

TEST_F(PriceSources, TheEntryFormStoresPricesAndAsksBeforeReplacingOne) {
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui);
    const int firma = firstSecurity(*w).value("Firma").toInt();
    TEingabeKurs form(w->session(), ui, firma, w.get());
    form.show();
    EXPECT_EQ(form.windowTitle(), "neuen Kurs eingeben");
    EXPECT_EQ(form.currentFirma(), firma);
    ui.titles.clear();
    ui.questions.clear();
    form.kursEdit()->setText("12,34");
    uitest::screenshot(form, "eingabe_kurs");
    form.nochEinKurs();
    EXPECT_EQ(priceOn(*w, firma, kMonday), 12.34);
    EXPECT_EQ(form.datumEdit()->date(), kMonday.addDays(1));
    form.datumEdit()->setDate(kMonday);
    form.kursEdit()->setText("13");
    ui.answers = {Answer::Yes};
    form.nochEinKurs();
    ASSERT_EQ(ui.titles.size(), 1);
    EXPECT_EQ(ui.questions[0], "Für " + firstSecurity(*w).value("FirmenName").toString() +
                                   " gibt es am 07.12.2026 schon den Kurs 12,34. Soll er ersetzt werden?");
    EXPECT_EQ(priceOn(*w, firma, kMonday), 13.0);
    EXPECT_EQ(form.stored(), 2);
}

TEST_F(PriceSources, TheTextFileEntryReadsTheChosenFileAndOffersToDeleteIt) {
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui);
    QAction* action = w->menu().action("&Textdatei einlesen");
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    for (const char* caption : {"&Datei von Infobeat(r) einlesen", "&Eingeben", "&Internet-Kurse einlesen", "&Neuer Markt Tagesdatei",
                                "Import &Wertpapiere "})
        EXPECT_TRUE(w->menu().action(caption)->isEnabled()) << caption;
    Record first = firstSecurity(*w);
    const double kurs = lastPrice(*w, first.value("Firma").toInt());
    const QString file = m_home.home() + "/kurse.txt";
    ASSERT_TRUE(writeTextLines(file, {first.value("ZDF").toString() + "\t" + formatAmount(kurs, 2)}).isOk());
    ui.titles.clear();
    ui.inputs = {file};
    ui.answers = {Answer::Yes};
    action->trigger();
    EXPECT_TRUE(priceOn(*w, first.value("Firma").toInt(), kMonday).has_value());
    EXPECT_EQ(ui.titles.value(0), "Soll die Textdatei gelöscht werden?");
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(PriceSources, TheAutomaticStartPollsOnTheIntradayTab) {
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui, {"/A"});
    w->runDelayedStart();
    IntradayPage* page = w->intradayPage();
    EXPECT_EQ(w->pages()->currentWidget(), page->parentWidget());
    EXPECT_TRUE(page->polling());
    page->Stop();
}

TEST_F(PriceSources, TheSampleUpdateRunsTheProgramWithoutBlockingAndBooksItsFile) {
    QString name;
    int firma = 0;
    double kurs = 0;
    {
        ScriptedInteraction ui;
        auto w = uitest::startMainWindow(m_home, ui);
        EXPECT_FALSE(w->menu().action("&Beispieldatenbank aktualisieren")->isVisible());
        Record first = firstSecurity(*w);
        name = first.value("ZDF").toString();
        firma = first.value("Firma").toInt();
        kurs = lastPrice(*w, firma);
    }
    installSampleProgram(m_home, name, kurs);

    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui);
    QAction* action = w->menu().action("&Beispieldatenbank aktualisieren");
    ASSERT_TRUE(action->isVisible());
    SampleUpdateCommand& command = w->menu().sampleUpdate();
    QSignalSpy done(&command, &SampleUpdateCommand::done);
    // "No" leaves everything as it was.
    ui.answers = {Answer::No};
    action->trigger();
    EXPECT_FALSE(command.running());
    ui.answers = {Answer::Yes};
    action->trigger();
    EXPECT_EQ(ui.titles.last(), "Kursdaten der Beispieldatenbank aktualisieren (keine Haftung für Verfügbarkeit und Richtigkeit der Kurse)");
    ASSERT_TRUE(done.wait(20000));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join("|").toStdString();
    EXPECT_EQ(w->session().values.text("VTDatei"), w->session().dirs.install + "aktien.txt");
    EXPECT_EQ(priceOn(*w, firma, kMonday), kurs);
}

TEST_F(PriceSources, TheFirstStartOffersTheSampleUpdateOnlyWithItsProgram) {
    // Without the program a "Ja" could only lead to the message that it is missing:
    // nothing is asked, nothing told.
    {
        ScriptedInteraction ui;
        ui.answers = {Answer::Yes, Answer::Yes};
        auto w = uitest::startMainWindow(m_home, ui);
        EXPECT_TRUE(w->session().firstStart);
        EXPECT_TRUE(ui.questions.isEmpty()) << ui.questions.join("|").toStdString();
        EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join("|").toStdString();
        EXPECT_FALSE(w->statusText(0).contains("beispielkurse")) << w->statusText(0).toStdString();
        EXPECT_FALSE(w->menu().sampleUpdate().running());
    }

    // With it, "Ja" to the first start's offer and to the update's own question books
    // the file it writes.
    uitest::SampleHome fresh(3);
    ASSERT_TRUE(fresh.ok());
    q::sample::Plan plan;
    plan.years = 1;
    const double kurs = q::sample::Generator(plan).next().prices.back() + 1.0;
    installSampleProgram(fresh, q::sample::stationName(0), kurs);
    ScriptedInteraction ui;
    ui.answers = {Answer::Yes, Answer::Yes};
    auto w = uitest::startMainWindow(fresh, ui);
    ASSERT_TRUE(w->session().firstStart);
    EXPECT_EQ(ui.questions, (QStringList{"Neue Kurse=>Beispieldatenbank aktualisieren",
                                         "Sollen Kurse jetzt eingelesen werden? Die Kurse des aktuellen Tages stehe ca. ab 23Uhr zur Verfügung."}));
    SampleUpdateCommand& command = w->menu().sampleUpdate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !command.running(); }, 20000));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join("|").toStdString();
    const int firma = firstSecurity(*w).value("Firma").toInt();
    const std::optional<double> booked = priceOn(*w, firma, kMonday);
    ASSERT_TRUE(booked.has_value());
    EXPECT_DOUBLE_EQ(*booked, kurs);
}

TEST_F(PriceSources, TheIntradaySourceChosenOnTheTabIsPolledByTheNextStart) {
    {
        ScriptedInteraction ui;
        auto w = uitest::startMainWindow(m_home, ui);
        // Teletext -> Internet -> network folder.
        w->intradayPage()->nextSource();
        w->intradayPage()->nextSource();
    }
    ScriptedInteraction ui;
    auto w = uitest::startMainWindow(m_home, ui);
    IntradayPage* page = w->intradayPage();
    page->Start();
    EXPECT_EQ(page->poller().source(), PollSource::Network);
    EXPECT_EQ(page->findChild<QToolButton*>("source")->text(), "NET");
    auto* correction = page->findChild<QToolButton*>("correction");
    ASSERT_NE(correction, nullptr);
    EXPECT_TRUE(correction->isCheckable());
    EXPECT_EQ(correction->toolTip(), "Korrekturmodus => es wird versucht geänderte TV-Kennungen anzupassen");
    page->Stop();
}
