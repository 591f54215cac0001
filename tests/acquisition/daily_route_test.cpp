#include "acquisition/daily_route.h"
#include "acquisition/reading_fixture.h"
#include "base/formats.h"

#include <QFile>
#include <QRegularExpression>

using namespace q;

namespace {

// Stops the run after `steps` progress steps, as the window's stop button would.
class StopAfter final : public Progress {
public:
    explicit StopAfter(int steps) : m_left(steps) {}
    void step(const QString&, qint64, qint64) override { --m_left; }
    bool cancelRequested() override { return m_left <= 0; }

private:
    int m_left;
};

// The securities editor sets the group and currency of the first new security; the
// split dialog divides the last price by the ratio.
class Hooks final : public ReadingHooks {
public:
    QStringList captions;
    void reviewNewSecurity(Store& store, int firma, const QString& caption) override {
        captions << caption;
        if (captions.size() > 1) return;
        Table& t = **store.table("Firma.db");
        Record before = **t.findKey({firma});
        Record after = before;
        after.set("Gruppe", 3);
        after.set("Waehrung", "USD");
        ASSERT_TRUE(t.update(before, after).isOk());
    }
    bool offerSplit(Store& store, int firma, const QString& caption, double lastPrice, int ratio) override {
        captions << QStringLiteral("%1 %2 1:%3").arg(caption).arg(lastPrice).arg(ratio);
        Table& t = **store.table("Aktien.db");
        const auto prices = t.rows(Query::detailOf(firma));
        for (const Record& r : *prices) {
            Record after = r;
            after.set("Kurs", r.value("Kurs").toDouble() / ratio);
            EXPECT_TRUE(t.update(r, after).isOk());
        }
        return true;
    }
};

using DailyRoute = ReadingTest;

// "hh:nn" of the reading time varies; the rest of a protocol line is fixed.
QString withoutTime(QString line) { return line.replace(QRegularExpression(" \\d\\d:\\d\\d"), " hh:nn"); }

}  // namespace

TEST_F(DailyRoute, BooksMatchedQuotesAndListsTheRest) {
    const int siemens = security("Siemens AG", "SIEMENS");
    const int basf = security("BASF AG", "BASF");
    const int bayer = security("Bayer AG", "BAYER");
    const int daimler = security("DaimlerChrysler", "DAIMLER");
    price(siemens, QDate(2004, 3, 9), 40.00);
    price(basf, QDate(2004, 3, 9), 50.00);
    price(bayer, QDate(2004, 3, 9), 0.0);  // a stored price of 0: the change is unknown
    price(daimler, QDate(2004, 3, 8), 45.00);
    const QString file = writeLines(settings.vtDatei, {
                                                          "10.03.2004",
                                                          "SIEMENS\t45,20\t\t1500",  // +13 %: booked with its volume
                                                          "basf\t27,50",            // exactly -45 %: implausible
                                                          "Bayer\t30,00",           // last price 0: booked
                                                          "NEUE AG\t12,00",         // no such security
                                                          "DAIMLER\t9,00\t09.03.2004",  // -80 % on the 9th
                                                          "SIEMENS\t46,00",         // the 9th has a price: replaced
                                                          "Kommentar ohne Kurs",
                                                      });
    Hooks hooks;
    NoProgress progress;
    const ReadReport r = bookDailyFile(*store, file, settings, hooks, progress);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();

    EXPECT_EQ(r.counts.booked, 3);
    EXPECT_EQ(r.counts.unmatched, 1);
    EXPECT_EQ(r.counts.implausible, 2);
    EXPECT_EQ(r.counts.skipped, 1);
    EXPECT_EQ(priceOn(siemens, today), 45.2);
    EXPECT_EQ(volumeOn(siemens, today), 1500);
    EXPECT_EQ(priceOn(siemens, QDate(2004, 3, 9)), 46.0);
    EXPECT_FALSE(priceOn(basf, today).has_value());
    EXPECT_EQ(priceOn(bayer, today), 30.0);
    EXPECT_FALSE(priceOn(daimler, QDate(2004, 3, 9)).has_value());
    EXPECT_TRUE(hooks.captions.isEmpty());

    EXPECT_TRUE(r.fileDeleted);
    EXPECT_FALSE(QFile::exists(file));
    const QStringList neue = readLines(work + "PNeue.txt");
    ASSERT_EQ(neue.size(), 1);
    EXPECT_EQ(withoutTime(neue[0]), "NEUE AG\t12,00\t10.03.2004 hh:nn");
    const QStringList extrem = readLines(work + "PExtrem.txt");
    ASSERT_EQ(extrem.size(), 2);
    EXPECT_EQ(withoutTime(extrem[0]), "basf\t27,50\t-45,00%\t10.03.2004 hh:nn");
    EXPECT_EQ(withoutTime(extrem[1]), "DAIMLER\t9,00\t-80,00%\t09.03.2004 hh:nn\tKurs 1:5 gesplittet?");
    // The protocol files are Windows-1252 with CRLF like the daily file.
    EXPECT_TRUE(qtest::readFile(work + "PExtrem.txt").contains("gesplittet?\r\n"));
}

TEST_F(DailyRoute, AlleTakesUpNewSecuritiesWithTheEditorsDefaults) {
    settings.alle = true;
    settings.bestaetigen = true;
    const QString file = writeLines(settings.vtDatei, {"NORDLICHT\t12,00\t\t700", "SÜDWIND\t8,50"});
    Hooks hooks;
    NoProgress progress;
    const ReadReport r = bookDailyFile(*store, file, settings, hooks, progress);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    EXPECT_EQ(r.counts.newSecurities, 2);
    EXPECT_EQ(hooks.captions, QStringList(2, "Neue Aktie Aufgenommen! Bitte überprüfen"));

    Table& firma = **store->table("Firma.db");
    const std::vector<Record> all = *firma.rows(Query());
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].value("FirmenName").toString(), "NORDLICHT");
    EXPECT_EQ(all[1].value("FirmenName").toString(), "SÜDWIND");
    // The second takes the group and currency the user left in the first.
    EXPECT_EQ(all[1].value("Gruppe").toInt(), 3);
    EXPECT_EQ(all[1].value("Waehrung").toString(), "USD");
    for (const char* column : {"ZDF", "N-TV", "SF1", "Sender4"}) EXPECT_EQ(all[1].value(column).toString(), "SÜDWIND");
    EXPECT_TRUE(all[1].value("Aktiv").toBool());
    EXPECT_EQ(priceOn(all[0].value("Firma").toInt(), today), 12.0);
    EXPECT_EQ(priceOn(all[1].value("Firma").toInt(), today), 8.5);
}

TEST_F(DailyRoute, MatchesOnTheDailyStationsColumnOnly) {
    settings.kursSender = "N-TV";
    Table& firma = **store->table("Firma.db");
    const int a = security("Allianz", "ALLIANZ");
    Record before = **firma.findKey({a});
    Record after = before;
    after.set("N-TV", "ALLIANZ HLDG");
    ASSERT_TRUE(firma.update(before, after).isOk());
    const QString file = writeLines(settings.vtDatei, {"ALLIANZ\t98,00", "Allianz Hldg\t97,50"});
    Hooks hooks;
    NoProgress progress;
    const ReadReport r = bookDailyFile(*store, file, settings, hooks, progress);
    EXPECT_EQ(r.counts.booked, 1);
    EXPECT_EQ(r.counts.unmatched, 1);
    EXPECT_EQ(priceOn(a, today), 97.5);
}

TEST_F(DailyRoute, AutoSplitOffersTheSplitAndBooksTheAdjustedChange) {
    settings.autoSplit = true;
    const int daimler = security("DaimlerChrysler", "DAIMLER");
    price(daimler, QDate(2004, 3, 9), 45.00);
    const QString file = writeLines(settings.vtDatei, {"DAIMLER\t9,10"});
    Hooks hooks;
    NoProgress progress;
    const ReadReport r = bookDailyFile(*store, file, settings, hooks, progress);
    EXPECT_EQ(hooks.captions, QStringList{"Aktiensplit DAIMLER 45 1:4"});  // trunc(100 / 20,2) = 4
    // 45 / 4 = 11,25 before; 9,10 is -19,1 % against it: plausible.
    EXPECT_EQ(r.counts.booked, 1);
    EXPECT_EQ(priceOn(daimler, today), 9.1);
    EXPECT_EQ(priceOn(daimler, QDate(2004, 3, 9)), 11.25);
}

TEST_F(DailyRoute, AStoppedRunKeepsTheFileAndWritesWhatItListed) {
    security("Siemens AG", "SIEMENS");
    const QString file = writeLines(settings.vtDatei, {"UNBEKANNT\t1,00", "SIEMENS\t45,20", "BASF\t41,00"});
    Hooks hooks;
    // Progress names the first line; the stop comes before the second.
    StopAfter stop(1);
    const ReadReport r = bookDailyFile(*store, file, settings, hooks, stop);
    EXPECT_EQ(r.status.category(), Category::Cancelled);
    EXPECT_FALSE(r.fileDeleted);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(readLines(work + "PNeue.txt").size(), 1);
    // Reading it again books the rest.
    NoProgress progress;
    const ReadReport again = bookDailyFile(*store, file, settings, hooks, progress);
    EXPECT_TRUE(again.status.isOk());
    EXPECT_TRUE(again.fileDeleted);
    EXPECT_EQ(rows("Aktien.db"), 1);
}

TEST_F(DailyRoute, AFileInUtf8ReadsAsWritten) {
    const int muench = security("Münchener Rück", "MÜNCHENER RÜCK");
    qtest::writeFile(settings.vtDatei, QString("MÜNCHENER RÜCK\t150,00\r\n").toUtf8());
    Hooks hooks;
    NoProgress progress;
    const ReadReport r = bookDailyFile(*store, settings.vtDatei, settings, hooks, progress);
    EXPECT_EQ(r.counts.booked, 1);
    EXPECT_EQ(priceOn(muench, today), 150.0);
}

TEST_F(DailyRoute, AMissingFileOffersTheScriptThenAnotherFile) {
    const QString other = writeLines(install + "andere.txt", {"NEU\t1,00"});
    ScriptedInteraction ui;
    ui.answers = {Answer::No, Answer::Yes};
    ui.inputs = {other};
    Hooks hooks;
    NoProgress progress;
    const ReadReport r = VTeinlesen(*store, settings, ui, hooks, progress);
    EXPECT_EQ(ui.titles, (QStringList{"VTPlus jetzt starten ?", "Andere Datei ?"}));
    EXPECT_EQ(ui.questions[0], "Die Datei " + settings.vtDatei + " existiert noch nicht! Soll VTPlus Script jetzt gestartet werden?");
    EXPECT_EQ(ui.questions[1], "Wollen Sie Daten aus einer anderen Datei einlesen ?");
    EXPECT_TRUE(r.status.isOk());
    EXPECT_EQ(r.source, other);
    EXPECT_EQ(r.counts.unmatched, 1);

    // Yes to the script without a stream to capture from: the receiver is missing.
    ScriptedInteraction yes;
    yes.answers = {Answer::Yes};
    settings.vtPath = "INTERNET";
    const ReadReport failed = VTeinlesen(*store, settings, yes, hooks, progress);
    EXPECT_EQ(failed.status.message(), "Programm existiert nicht INTERNET");
    // No and No: nothing read, said as such.
    ScriptedInteraction no;
    const ReadReport none = VTeinlesen(*store, settings, no, hooks, progress);
    EXPECT_EQ(none.status.category(), Category::Cancelled);
    EXPECT_EQ(none.status.message(), "Die Datei " + settings.vtDatei + " existiert nicht");
}

TEST_F(DailyRoute, QuotesTakenUpFromTheProtocolKeepTheirOwnDay) {
    // The unmatched quote of the 8th, listed in the protocol of a run on the 10th.
    const ProtocolEntry entry{"NORDLICHT", "12,00", QDate(2004, 3, 8), QTime(17, 31), 700, std::nullopt, {}};
    EXPECT_EQ(dailyLinesOf({entry}), QStringList{"NORDLICHT\t12,00\t08.03.2004\t700"});
    writeLines(settings.vtDatei, dailyLinesOf({entry}));
    settings.alle = true;
    Hooks hooks;
    NoProgress progress;
    const ReadReport r = bookDailyFile(*store, settings.vtDatei, settings, hooks, progress);
    ASSERT_EQ(r.counts.newSecurities, 1);
    const int added = (**(*store->table("Firma.db"))->first(Query())).value("Firma").toInt();
    EXPECT_EQ(priceOn(added, QDate(2004, 3, 8)), 12.0);
    EXPECT_FALSE(priceOn(added, today).has_value());
    // A protocol line read back as it stands gives its date too.
    EXPECT_EQ(withoutTime(unmatchedLine(entry)), "NORDLICHT\t12,00\t08.03.2004 hh:nn");
}
