#include "acquisition/page_config.h"
#include "app/command_line.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "overview/fill_input.h"
#include "ui/acquisition/prot_kurs.h"
#include "ui/acquisition/sender_na.h"
#include "ui/acquisition/seitenwahl.h"
#include "ui/acquisition/videotext_commands.h"
#include "ui/dialogs/firmeneingabe.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

// The sample data end on Friday 04.12.2026; the reading day is the Monday after.
const QDate kMonday(2026, 12, 7);

class Videotext : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.ok());
        setToday(kMonday);
    }
    void TearDown() override { setToday(QDate()); }

    std::unique_ptr<TAktienkurse> start(ScriptedInteraction& ui, const QStringList& switches = {}) {
        return uitest::startMainWindow(m_home, ui, switches);
    }
    // The daily price file: the first sample security 1 % up, one unknown name and
    // one fall of 80 %.
    void writeDailyFile(TAktienkurse& w) {
        Store& store = w.session().store;
        Table& firma = **store.table("Firma.db");
        const auto all = firma.rows(Query());
        ASSERT_TRUE(all.isOk());
        Table& aktien = **store.table("Aktien.db");
        auto lastOf = [&](int number) {
            Query q = Query::detailOf(number);
            q.reverse = true;
            return (**aktien.first(q)).value("Kurs").toDouble();
        };
        const Record& a = (*all)[0];
        const Record& b = (*all)[1];
        firstFirma = a.value("Firma").toInt();
        firstPrice = roundHalfEven(lastOf(firstFirma) * 1.01, 2);
        ASSERT_TRUE(writeTextLines(w.session().values.text("VTDatei"),
                                   {formatDate(kMonday), a.value("ZDF").toString() + "\t" + formatAmount(firstPrice, 2),
                                    "NORDLICHT ENERGIE\t12,50", b.value("ZDF").toString() + "\t" + formatAmount(lastOf(b.value("Firma").toInt()) / 5, 2)})
                        .isOk());
    }

    uitest::SampleHome m_home;
    int firstFirma = 0;
    double firstPrice = 0;
};

}  // namespace

TEST_F(Videotext, ReadingShowsTheCountsAndTheProtocolWindowTakesUpASecurity) {
    ScriptedInteraction ui;
    auto w = start(ui);
    writeDailyFile(*w);
    QAction* action = w->menu().action("&VideoText einlesen");
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    action->trigger();
    EXPECT_EQ(w->statusText(0), "Gebucht: 1, neue Wertpapiere: 0, nicht zugeordnet: 1, unplausibel: 1");
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join("\n").toStdString();
    EXPECT_FALSE(QFile::exists(w->session().values.text("VTDatei")));

    TProtKurs& protocol = w->menu().videotext().protocol();
    ASSERT_TRUE(protocol.isVisible());
    EXPECT_EQ(protocol.windowTitle(), "Protokoll der nicht aufgenommenen Kurs");
    ASSERT_EQ(protocol.unmatchedList()->count(), 1);
    EXPECT_TRUE(protocol.unmatchedList()->item(0)->text().startsWith("NORDLICHT ENERGIE\t12,50\t07.12.2026 "));
    ASSERT_EQ(protocol.implausibleList()->count(), 1);
    EXPECT_TRUE(protocol.implausibleList()->item(0)->text().endsWith("\tKurs 1:5 gesplittet?"));
    uitest::screenshot(protocol, "prot_kurs");

    // "Aufnehmen" on the marked line: the new security is shown in the editor.
    protocol.unmatchedList()->item(0)->setSelected(true);
    QString caption;
    uitest::onNextModal([&](QDialog& d) {
        caption = d.windowTitle();
        static_cast<TFirmeneingabe&>(d).edit("Kennung")->setText("NLE001");
        d.accept();
    });
    protocol.aufnehmenButton()->click();
    EXPECT_EQ(caption, "Neue Aktie Aufgenommen! Bitte überprüfen");
    Table& firma = **w->session().store.table("Firma.db");
    Query q;
    q.equal.push_back({"Kennung", "NLE001"});
    const auto added = firma.first(q);
    ASSERT_TRUE(added.isOk() && added->has_value());
    EXPECT_EQ((*added)->value("FirmenName").toString(), "NORDLICHT ENERGIE");
    EXPECT_EQ(protocol.unmatchedList()->count(), 0);

    // A daily price file not yet read through is never written over.
    const QString file = w->session().values.text("VTDatei");
    ASSERT_TRUE(writeTextLines(file, {"NOCH OFFEN\t1,00"}).isOk());
    w->menu().videotext().Aufnehmen({ProtocolEntry{"SÜDWIND", "8,50", kMonday, QTime(17, 0), 0, std::nullopt, {}}});
    EXPECT_EQ(ui.messages.last(), "Die Datei " + file + " ist noch nicht ganz eingelesen. Lesen Sie sie zuerst mit \"VideoText einlesen\" ein.");
    EXPECT_EQ(*readTextLines(file), QStringList{"NOCH OFFEN\t1,00"});
}

TEST_F(Videotext, TakingUpANameThatExistsOffersToWriteItsMatchText) {
    ScriptedInteraction ui;
    auto w = start(ui);
    Store& store = w->session().store;
    Table& firma = **store.table("Firma.db");
    const auto all = firma.rows(Query());
    ASSERT_TRUE(all.isOk());
    const Record before = (*all)[2];
    Record renamed = before;
    renamed.set("FirmenName", "Nordwerk");
    ASSERT_TRUE(firma.update(before, renamed).isOk());
    const int number = before.value("Firma").toInt();
    const qint64 securities = qint64(all->size());
    Table& aktien = **store.table("Aktien.db");
    const auto newest = [&] {
        Query q = Query::detailOf(number);
        q.reverse = true;
        return **aktien.first(q);
    };
    const double price = roundHalfEven(newest().value("Kurs").toDouble() * 1.01, 2);
    const ProtocolEntry entry{"NORDWERK", formatAmount(price, 2), kMonday, QTime(17, 0), 0, std::nullopt, {}};

    // No: nothing is written and no second "Nordwerk" is made.
    ui.answers = {Answer::No};
    const qsizetype asked = ui.questions.size();  // the start-up's questions
    w->menu().videotext().Aufnehmen({entry});
    ASSERT_EQ(ui.questions.size(), asked + 1);
    EXPECT_TRUE(ui.questions.last().startsWith("Das Wertpapier \"NORDWERK\" gibt es schon")) << ui.questions.last().toStdString();
    EXPECT_TRUE(ui.questions.last().contains("in die Spalte ZDF eingetragen werden"));
    EXPECT_EQ(*firma.count(Query()), securities);
    EXPECT_EQ(readSecurity(store, number)->ZDF, before.value("ZDF").toString());
    EXPECT_EQ(w->statusText(0), "Nichts aufgenommen: die Wertpapiere gibt es schon");

    // Yes: the page's name becomes the match text and the quote is booked on it.
    ui.answers = {Answer::Yes};
    const ReadReport r = w->menu().videotext().Aufnehmen({entry});
    EXPECT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    EXPECT_EQ(r.counts.booked, 1);
    EXPECT_EQ(r.counts.newSecurities, 0);
    EXPECT_EQ(readSecurity(store, number)->ZDF, "NORDWERK");
    EXPECT_EQ(*firma.count(Query()), securities);
    EXPECT_EQ(dateFromDayNumber(newest().value("Datum").toDouble()), kMonday);
    EXPECT_DOUBLE_EQ(newest().value("Kurs").toDouble(), price);
}

TEST_F(Videotext, TheDelayedTeletextJobReadsTheFile) {
    ScriptedInteraction ui;
    auto w = start(ui, {"/V"});
    writeDailyFile(*w);
    EXPECT_TRUE(w->delayedStartTimer().isActive());
    w->runDelayedStart();
    EXPECT_EQ(w->exitStatus(), 0);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->statusText(0).startsWith("Gebucht: 1,")) << w->statusText(0).toStdString();
}

TEST_F(Videotext, DailyPageDialogStoresPagesAndWritesTheScript) {
    ScriptedInteraction ui;
    auto w = start(ui);
    ui.titles.clear();  // the first start's question
    ui.answers = {Answer::Yes};
    Session& s = w->session();
    const QString filters = withSlash(s.values.text("FilterPath"));
    QDir().mkpath(filters);
    ASSERT_TRUE(writeTextLines(filters + "zdf200.msk", {""}).isOk());
    ASSERT_TRUE(addPage(s.store, kPredefinedPages, {"DAX-Werte", "ZDF", "ZDF200", 1, 3, "zdf200.msk"}).isOk());

    uitest::onNextModal([&](QDialog& d) {
        auto& dialog = static_cast<TSeitenwahl&>(d);
        EXPECT_EQ(d.windowTitle(), "Script Erstellung für tägliches Einlesen der Kurse");
        dialog.station()->setCurrentIndex(2);  // the third slot: "ZDF", fixed name SF1
        ASSERT_EQ(dialog.predefinedList()->count(), 1);
        dialog.predefinedList()->setCurrentRow(0);
        EXPECT_EQ(dialog.nameEdit()->text(), "ZDF200");
        EXPECT_TRUE(dialog.storeEdited());
        dialog.toEdit()->setValue(1);  // not above the first: refused with the message
        EXPECT_FALSE(dialog.storeEdited());
        EXPECT_EQ(dialog.activeList()->count(), 1);
        dialog.streamEdit()->setText("/dev/dvb/adapter0/dvr0");
        uitest::screenshot(d, "seitenwahl_tages");
        d.accept();
    });
    EXPECT_EQ(w->menu().videotext().Kurseeinlesen1Click(), 1);
    EXPECT_EQ(ui.messages, QStringList{" erte Seite muß kleiner als letzte Seite sein "});
    EXPECT_EQ(ui.titles, QStringList{"Kurs-Script neu?"});
    EXPECT_EQ(s.values.text("KursSender"), "SF1");
    EXPECT_EQ(s.values.text("DVBQuelle"), "/dev/dvb/adapter0/dvr0");
    const QStringList script = *readTextLines(s.values.text("SCRIPT"));
    EXPECT_EQ(script.mid(0, 4), (QStringList{"VTPLUS SCRIPT", "Set Multichannel=YES", "TVSTATION ZDF", "GET ZDF200"}));
}

TEST_F(Videotext, IntradayPageDialogNeedsTheDailyFileSetting) {
    ScriptedInteraction ui;
    auto w = start(ui);
    Session& s = w->session();
    s.values.set("VTDatei", SettingValue::text(""));
    EXPECT_EQ(w->menu().videotext().DDESeiten1Click(), 0);
    EXPECT_EQ(ui.messages, QStringList{"Rufen Sie zuerst Einstellungen->Einlese-Optionen auf"});

    s.values.set("VTDatei", SettingValue::text(m_home.home() + "/aktien.txt"));
    uitest::onNextModal([&](QDialog& d) {
        auto& dialog = static_cast<TSeitenwahl&>(d);
        EXPECT_EQ(d.windowTitle(), "Script für das Einlesen der Intraday-Kurse");
        dialog.station()->setCurrentText("n-tv");
        dialog.endBox()->setChecked(true);
        uitest::screenshot(d, "seitenwahl_intraday");
        d.accept();
    });
    EXPECT_EQ(w->menu().videotext().DDESeiten1Click(), 1);
    EXPECT_EQ(s.values.text("DDESender"), "n-tv");
    EXPECT_TRUE(s.values.truth("DDEENDE"));
    EXPECT_EQ(ui.titles.last(), "Intraday-Script neu?");
}

TEST_F(Videotext, StationDialogRenamesAndChoosesIdentifiers) {
    ScriptedInteraction ui;
    auto w = start(ui);
    ui.questions.clear();
    ui.inputs = {QString("NTV")};
    Session& s = w->session();
    ASSERT_TRUE(addPage(s.store, kPredefinedPages, {"Dax", "N-TV", "N-TV200", 1, 2, "a"}).isOk());
    ASSERT_TRUE(addPage(s.store, kPredefinedPages, {"Dow", "ARD", "ARD300", 1, 2, "b"}).isOk());
    uitest::onNextModal([&](QDialog& d) {
        auto& dialog = static_cast<TSenderNa&>(d);
        EXPECT_EQ(d.windowTitle(), "Anpassung der Senderkennungen");
        uitest::screenshot(d, "sender_na");
        dialog.rename(1);  // slot 2, "N-TV"
        dialog.choice(0)->setCurrentText("ARD");
        d.accept();
    });
    EXPECT_EQ(w->menu().videotext().Sendernamen1Click(), 1);
    EXPECT_EQ(ui.questions, QStringList{"neuer Name: "});
    EXPECT_EQ(ui.messages.last(),
              "Umbenennen beendet! Eventuell müssen sie jetzt noch unter \"Einstellungen\"  das Intraday und Tages-Script neu schreiben.");
    EXPECT_EQ((*readPages(s.store, kPredefinedPages))[0].Seitename, "NTV200");
    EXPECT_EQ(s.stations[0], "ARD");
    EXPECT_EQ(s.stations[1], "N-TV");  // an empty choice keeps the slot
}
