#include "acquisition/page_config.h"
#include "acquisition/reading_fixture.h"
#include "acquisition/scripts.h"
#include "store/database.h"

using namespace q;

using PageTables = ReadingTest;

TEST_F(PageTables, AnOldTableWithoutStationIsRebuiltEmptyAfterTheMessage) {
    {
        auto db = Database::open(install + "TVAktiv.DB", Database::Mode::CreateIfMissing);
        ASSERT_TRUE(db.isOk());
        ASSERT_TRUE((*db)->exec("CREATE TABLE \"TVAktiv\" (\"Beschreibung\" VARCHAR(30), \"Seitename\" VARCHAR(12), "
                                "\"SeitenVon\" SHORT INTEGER, \"Seitenbis\" SHORT INTEGER, \"Filter\" VARCHAR(255))")
                        .isOk());
        ASSERT_TRUE((*db)->exec("INSERT INTO \"TVAktiv\" VALUES ('Kurse', 'ZDF200', 1, 2, 'a.msk')").isOk());
    }
    ScriptedInteraction ui;
    ASSERT_TRUE(preparePageTable(*store, kDailyPages, PageDialog::Daily, ui).isOk());
    EXPECT_EQ(ui.messages, QStringList{"Datenbank-Struktur muss geändert werden. Bitte legen Sie die Seiten neu an. Sie können jetzt für "
                                       "jeden Sender Seiten vordefinieren!"});
    EXPECT_TRUE(readPages(*store, kDailyPages)->empty());
    EXPECT_TRUE((*store->table(kDailyPages))->hasField("Sender"));
    // A table of today's structure is left as it is.
    ASSERT_TRUE(addPage(*store, kDailyPages, {"Kurse", "ZDF", "ZDF200", 1, 2, "a.msk"}).isOk());
    ScriptedInteraction again;
    ASSERT_TRUE(preparePageTable(*store, kDailyPages, PageDialog::Intraday, again).isOk());
    EXPECT_TRUE(again.messages.isEmpty());
    EXPECT_EQ(readPages(*store, kDailyPages)->size(), 1u);
}

TEST_F(PageTables, PagesAreCheckedBeforeTheyAreStored) {
    writeLines(settings.filterPath + "Zdf200.MSK", {""});
    const PageEntry good{"Kurse", "ZDF", "ZDF200", 1, 3, "zdf200.msk"};
    EXPECT_TRUE(checkPage(good, PageDialog::Daily, settings.filterPath).isOk());
    EXPECT_EQ(resolveMaskFile("zdf200.msk", settings.filterPath), settings.filterPath + "Zdf200.MSK");
    EXPECT_EQ(resolveMaskFile(settings.filterPath + "ZDF200.msk", ""), settings.filterPath + "Zdf200.MSK");

    PageEntry noMask = good;
    noMask.Filter = "fehlt.msk";
    EXPECT_EQ(checkPage(noMask, PageDialog::Daily, settings.filterPath).message(), " Filter existiert nicht ");
    EXPECT_EQ(checkPage(noMask, PageDialog::Intraday, settings.filterPath).message(),
              " Filter existiert nicht, überprüfen Sie die Einstellung des Filter-Pathes ");
    PageEntry range = good;
    range.SeitenVon = 3;
    EXPECT_EQ(checkPage(range, PageDialog::Daily, settings.filterPath).message(), " erte Seite muß kleiner als letzte Seite sein ");
    EXPECT_EQ(checkPage(range, PageDialog::Intraday, settings.filterPath).message(), " erste Seite muß kleiner als letzte Seite sein ");
    PageEntry longName = good;
    longName.Seitename = "ZDFTEXTKURSE200";
    EXPECT_EQ(addPage(*store, kDailyPages, longName).category(), Category::Invalid);
}

TEST_F(PageTables, StationsFilterTheListsAndRenameEverywhere) {
    for (const PageEntry& p : {PageEntry{"Dax", "N-TV", "N-TV200", 1, 2, "a"}, PageEntry{"MDax", "ZDF", "ZDF210", 1, 2, "b"},
                               PageEntry{"alle", "MEHR", "MEHR100", 1, 2, "c"}, PageEntry{"Dow", "n-tv ", "n-tv 300", 1, 2, "d"}})
        ASSERT_TRUE(addPage(*store, kPredefinedPages, p).isOk());
    ASSERT_TRUE(addPage(*store, kIntradayPages, {"Dax", "N-TV", "N-TV200", 1, 2, "a"}).isOk());
    ASSERT_TRUE(addPage(*store, kDailyPages, {"Dax", "N-TV", "N-TV200", 1, 2, "a"}).isOk());

    EXPECT_EQ(readPages(*store, kPredefinedPages, "ZDF")->size(), 1u);
    EXPECT_EQ(readPages(*store, kPredefinedPages, "MEHR")->size(), 4u);
    EXPECT_EQ(*predefinedStations(*store), (QStringList{"N-TV", "ZDF", "n-tv"}));

    EXPECT_EQ(*renameStation(*store, "N-TV", "NTV"), 4);
    const auto predefined = *readPages(*store, kPredefinedPages);
    EXPECT_EQ(predefined[0].Seitename, "NTV200");
    EXPECT_EQ(predefined[3].Sender, "NTV");  // compared upper-cased and trimmed here
    EXPECT_EQ(predefined[3].Seitename, "NTV 300");
    EXPECT_EQ((*readPages(*store, kIntradayPages))[0].Seitename, "NTV200");
    EXPECT_EQ((*readPages(*store, kDailyPages))[0].Seitename, "NTV200");
}

namespace {
std::vector<PageEntry> twoPages(const QString& a, const QString& b) {
    return {PageEntry{"Dax", "", a, 1, 3, "dax.msk"}, PageEntry{"MDax", "", b, 1, 2, "mdax.msk"}};
}
}  // namespace

TEST(DailyScript, OneStationFetchesThenExportsEachPage) {
    DailyScriptOptions o;
    o.station = "N-TV";
    o.exportFile = "/home/anna/aktien.txt";
    const QStringList lines = dailyScriptLines(twoPages("N-TV200", "N-TV210"), o);
    EXPECT_EQ(lines, (QStringList{
                         "VTPLUS SCRIPT",
                         "Set Multichannel=YES",
                         "TVSTATION N-TV",
                         "GET N-TV200",
                         "GET N-TV210",
                         "Window Tile",
                         "Wait AllPages",
                         "EXPORT  N-TV200 FILE=/home/anna/aktien.txt FIRST=1 LAST=3 APPEND=YES FILTER=dax.msk QUALITY=TEXT",
                         "EXPORT  N-TV210 FILE=/home/anna/aktien.txt FIRST=1 LAST=2 APPEND=YES FILTER=mdax.msk QUALITY=TEXT",
                         "Set Multichannel=No",
                         "MSGBOX TEXT=\"Das Einlesen der Kurse ist beendet. Starten Sie [VT einlesen] erneut\"",
                         "EXITAPPL",
                     }));
}

TEST(DailyScript, TheAlternativeIdentifierNamesFetchedAndExportedPagesAlike) {
    DailyScriptOptions o;
    o.station = "N-TV";
    o.alternative = true;
    o.alternativeId = "C11_";
    o.exportFile = "aktien.txt";
    o.startAfter = true;
    o.programPath = "/usr/bin/quintara";
    o.receiverMultiChannel = true;
    const QStringList lines = dailyScriptLines(twoPages("N-TV200", "N-TV210"), o);
    EXPECT_EQ(lines[2], "TVSTATION C11_");
    EXPECT_EQ(lines[3], "GET C11_200");
    EXPECT_TRUE(lines[7].startsWith("EXPORT  C11_200 FILE=aktien.txt"));
    EXPECT_TRUE(lines[8].startsWith("EXPORT  C11_210 FILE=aktien.txt"));
    EXPECT_EQ(lines.mid(9), (QStringList{"Set Multichannel=Yes", "EXEC FILE=\"/usr/bin/quintara /V\"", "EXITAPPL"}));
}

TEST(DailyScript, SeveralStationsSwitchAndCloseEachPageAfterItsExport) {
    DailyScriptOptions o;
    o.station = "MEHR";
    o.exportFile = "a.txt";
    const QStringList lines = dailyScriptLines(twoPages("ZDF200", "N-TV210"), o);
    EXPECT_EQ(lines[1], "Set Multichannel=No");
    EXPECT_EQ(lines.filter("TVSTATION").size(), 2);
    EXPECT_EQ(lines.mid(2, 7), (QStringList{"TVSTATION ZDF", "GET ZDF200", "Window Tile", "Wait AllPages",
                                            "EXPORT  ZDF200 FILE=a.txt FIRST=1 LAST=3 APPEND=YES FILTER=dax.msk QUALITY=TEXT",
                                            "CLOSE ZDF200", "TVSTATION N-TV"}));
    EXPECT_EQ(lines.filter("CLOSE").size(), 2);
}

TEST(IntradayScript, RepeatsThePagesAndEndsAtTheTime) {
    EXPECT_EQ(intradayScriptLines(twoPages("ZDF200", "ZDF210"), "ZDF", true, QTime(22, 32)),
              (QStringList{"VTPLUS SCRIPT", "Set Multichannel=Yes", "TVSTATION ZDF", "GET ZDF200 REPEAT=YES", "GET ZDF210 REPEAT=YES",
                           "Window Tile", "WAIT TIME=22:32", "EXITAPPL"}));
    EXPECT_EQ(intradayScriptLines({}, "MEHR", false, QTime()), (QStringList{"VTPLUS SCRIPT", "Set Multichannel=Yes", "Window Tile"}));
}

TEST_F(PageTables, ScriptsAreWrittenWholeOrNotAtAll) {
    const QString file = install + "aktien.vts";
    qtest::writeFile(file, "alt\r\n");
    ASSERT_TRUE(writeScript(file, {"VTPLUS SCRIPT", "EXITAPPL"}).isOk());
    EXPECT_EQ(qtest::readFile(file), "VTPLUS SCRIPT\r\nEXITAPPL\r\n");
    // A file standing where the directory should be: nothing can be created there.
    qtest::writeFile(install + "kein_verzeichnis", "x");
    const Status failed = writeScript(install + "kein_verzeichnis/aktien.vts", {"VTPLUS SCRIPT"});
    EXPECT_EQ(failed.message(), "Konnte Datei " + install + "kein_verzeichnis/aktien.vts nicht anlegen!");
    EXPECT_TRUE(receiverMultiChannel("[Fenster]\nMultiChannel=0\n[VTPlus]\r\nMultiChannel = 1\r\n"));
    EXPECT_FALSE(receiverMultiChannel("[vtplus]\nMultiChannel=0\n"));
}
