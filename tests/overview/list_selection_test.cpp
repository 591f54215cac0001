// The list selector, the list resolver, the filter editor's expression, the
// classification tables and the watch lists, on real tables in a temporary folder.
#include "overview/classifications.h"
#include "overview/filter_expression.h"
#include "overview/list_selection.h"
#include "overview/security_master.h"
#include "overview/trend_index.h"
#include "overview/watch_lists.h"
#include "overview_fixture.h"

using namespace q;

namespace {

class Lists : public OverviewTest {
protected:
    QStringList names(const ListSelection& s) {
        QStringList out;
        auto list = resolveList(*store, s);
        EXPECT_TRUE(list.isOk()) << list.status().message().toStdString();
        if (!list) return out;
        for (const SecurityRecord& r : *list) out << r.FirmenName;
        return out;
    }
    ListSelection filtered(const QString& text) {
        ListSelection s;
        s.filter = text;
        return s;
    }
    Status filterError(const QString& text) { return resolveList(*store, filtered(text)).status(); }
    QStringList classNames(Classification c) {
        QStringList out;
        auto entries = readClassification(*store, c);
        for (const ClassEntry& e : *entries) out << QString::number(e.GruppenIndex) + ":" + e.GruppenName;
        return out;
    }
    const QStringList watchNames = {"Eins", "", "Drei", "Vier"};
};

}  // namespace

TEST_F(Lists, TheReferenceIndexIgnoresMovesBelowOnePercent) {
    EXPECT_DOUBLE_EQ(*TrendIndexaktuell(*store, "Dow Jones"), 0);  // no such security
    const int dow = security("Dow Jones");
    price(dow, day("15.01.2024"), 100);
    EXPECT_DOUBLE_EQ(*TrendIndexaktuell(*store, "Dow Jones"), 0);  // one price only
    price(dow, day("16.01.2024"), 100.8);
    EXPECT_DOUBLE_EQ(*TrendIndexaktuell(*store, "dow jones"), 0);  // +0,8 %
    price(dow, day("17.01.2024"), 102.0096);                         // 100,8 × 1,012
    EXPECT_NEAR(*TrendIndexaktuell(*store, "Dow Jones"), 1.2, 1e-9);
}

TEST_F(Lists, GroupEntriesTakeFavouritesGroupsBranchesAndFeatures) {
    const int a = security("Alpha");
    const int b = security("Beta");
    const int c = security("Gamma");
    setField(a, "Gruppe", 2);
    setField(b, "Aktiv", false);  // new securities are favourites
    setField(b, "Gruppe", 2);
    setField(b, "Branche", 3);
    setField(c, "Merkmal", 1);
    ListSelection s;
    EXPECT_EQ(names(s), (QStringList{"Alpha", "Beta", "Gamma"}));
    s.favouritesOnly = true;
    EXPECT_EQ(names(s), (QStringList{"Alpha", "Gamma"}));
    s.list.number = 2;
    EXPECT_EQ(names(s), (QStringList{"Alpha"}));
    s.favouritesOnly = false;
    s.branche = 3;
    EXPECT_EQ(names(s), (QStringList{"Beta"}));
    s = {};
    s.merkmal = 1;
    EXPECT_EQ(names(s), (QStringList{"Gamma"}));
}

TEST_F(Lists, WatchAndHoldingListsIgnoreTheGroup) {
    const int a = security("Alpha");
    const int b = security("Beta");
    const int c = security("Gamma");
    setField(a, "Gruppe", 2);
    setField(b, "Aktiv", false);
    ASSERT_TRUE(*toggleWatch(*store, 3, a));
    ASSERT_TRUE(*toggleWatch(*store, 3, b));
    ListSelection s;
    s.list = *findListChoice(*store, watchNames, " drei ");
    EXPECT_EQ(s.list.kind, ListChoice::Kind::Watch);
    EXPECT_EQ(names(s), (QStringList{"Alpha", "Beta"}));
    s.favouritesOnly = true;  // only favourites of that list
    EXPECT_EQ(names(s), (QStringList{"Alpha"}));

    // Gamma still held, Beta sold before the report date, Alpha sold after it.
    lot(c, day("02.01.2024"), 10, 5);
    lot(b, day("02.01.2024"), 10, 5, day("10.01.2024"), 6);
    lot(a, day("02.01.2024"), 10, 5, day("20.01.2024"), 6);
    s = {};
    s.list = *findListChoice(*store, watchNames, "AKT.DEPOTWERTE");
    s.reportDate = day("15.01.2024");
    EXPECT_EQ(names(s), (QStringList{"Alpha", "Gamma"}));
    s.reportDate = QDate();  // every security ever booked
    EXPECT_EQ(names(s), (QStringList{"Alpha", "Beta", "Gamma"}));
}

TEST_F(Lists, TheSelectorHidesEmptyWatchNamesAndNamesItsEntriesOnAMiss) {
    QStringList texts;
    auto entries = listSelectorEntries(*store, watchNames);
    for (const ListChoice& e : *entries) texts << e.text;
    EXPECT_EQ(texts, (QStringList{"alle Gruppen", "akt.Depotwerte", "Eins", "Drei", "Vier", "DAX", "Neuer Markt", "MDAX", "SDAX",
                                  "weitere dt.Aktien", "intern.Aktien", "Devisen", "Indizes", "Fonds"}));
    auto missing = findListChoice(*store, watchNames, "Zwei");
    ASSERT_EQ(missing.status().category(), Category::NotFound);
    EXPECT_TRUE(missing.status().message().startsWith("Die Liste \"Zwei\" gibt es nicht. Listen: alle Gruppen, akt.Depotwerte, Eins,"))
        << missing.status().message().toStdString();
    EXPECT_EQ(findListChoice(*store, watchNames, "dax")->number, 1);
}

TEST_F(Lists, TheFilterComparesFieldsByTheirType) {
    const int a = security("Alpha");
    const int b = security("Beta");
    const int c = security("Gamma");
    setField(a, "Kennung", "600000");
    setField(a, "Gruppe", 1);
    setField(b, "Kennung", "400000");
    setField(b, "Gruppe", 1);
    setField(c, "Kennung", "700000");
    setField(c, "Gruppe", 10);
    setField(c, "Dividende", 1.5);
    EXPECT_EQ(names(filtered("(Kennung>'500000') AND (Gruppe='1')")), (QStringList{"Alpha"}));
    // Numbers compare as numbers: 10 > 9 although "10" < "9" as text.
    EXPECT_EQ(names(filtered("(Gruppe>'9')")), (QStringList{"Gamma"}));
    EXPECT_EQ(names(filtered("(Dividende >= '1,5') OR (firmenname = 'BETA')")), (QStringList{"Beta", "Gamma"}));
    // AND binds tighter than OR.
    EXPECT_EQ(names(filtered("(Gruppe='10') OR (Gruppe='1') AND (Kennung<'500000')")), (QStringList{"Beta", "Gamma"}));
    EXPECT_EQ(names(filtered("((Gruppe='10') OR (Gruppe='1')) AND (Kennung<'500000')")), (QStringList{"Beta"}));
    EXPECT_EQ(names(filtered("Gruppe <> 1")), (QStringList{"Gamma"}));
    EXPECT_EQ(names(filtered("   ")), (QStringList{"Alpha", "Beta", "Gamma"}));
}

TEST_F(Lists, AnInjectedFilterValueStaysAValue) {
    security("Alpha");
    const int odd = security("' OR 1=1 --");
    const QString text = appendCondition(QString(), "AND", "FirmenName", "=", "' OR 1=1 --");
    EXPECT_EQ(text, "(FirmenName=''' OR 1=1 --') ");
    EXPECT_EQ(names(filtered(text)), (QStringList{"' OR 1=1 --"}));
    EXPECT_EQ(appendCondition(text, "OR", "Gruppe", ">", "2"), "(FirmenName=''' OR 1=1 --') OR (Gruppe>'2') ");
    Q_UNUSED(odd);
}

TEST_F(Lists, ABadFilterNamesTheSpot) {
    security("Alpha");
    const std::pair<const char*, const char*> cases[] = {
        {"(Kenung>'5')", "Unbekanntes Feld \"Kenung\" an Stelle 2 des Filters"},
        {"(Kennung>'5'", "Es fehlt \")\" zur Klammer an Stelle 1 des Filters"},
        {"(Kennung>'5'))", "Klammer \")\" ohne \"(\" an Stelle 14 des Filters"},
        {"(Kennung>'5)", "Das Anführungszeichen wird nicht geschlossen an Stelle 10 des Filters"},
        {"(Kennung=>'5')", "Unbekannter Vergleich \"=>\" (erlaubt: =, <>, <, >, <=, >=) an Stelle 9 des Filters"},
        {"(Gruppe='eins')", "Das Feld Gruppe erwartet eine Zahl, nicht \"eins\" an Stelle 9 des Filters"},
        {"(Gruppe='1') (Gruppe='2')", "Erwartet wird AND oder OR an Stelle 14 des Filters"},
        {"(Gruppe='1') AND", "Der Filter endet mitten in einer Bedingung an Stelle 17 des Filters"},
        {"Gruppe; DROP TABLE Firma", "Unbekanntes Feld \"Gruppe;\" an Stelle 1 des Filters"},
    };
    for (const auto& [text, message] : cases) {
        const Status s = filterError(QString::fromUtf8(text));
        EXPECT_EQ(s.category(), Category::Invalid) << text;
        EXPECT_EQ(s.message(), QString::fromUtf8(message)) << text;
    }
}

TEST_F(Lists, ClassificationsKeepTheirOrderAndNumbers) {
    EXPECT_EQ(classNames(Classification::Merkmale), (QStringList{"0:Weltweit", "1:Amerika", "2:Europa", "3:Asien", "4:Afrika"}));
    EXPECT_EQ(*moveClassification(*store, Classification::Merkmale, 3, true), 2);
    EXPECT_EQ(*moveClassification(*store, Classification::Merkmale, 0, true), 0);  // at the edge
    EXPECT_EQ(*moveClassification(*store, Classification::Merkmale, 4, false), 4);
    ASSERT_TRUE(renameClassification(*store, Classification::Merkmale, 4, "Afrika und Nahost").isOk());
    EXPECT_EQ(*addClassification(*store, Classification::Merkmale, "Ozeanien"), 5);
    EXPECT_EQ(classNames(Classification::Merkmale),
              (QStringList{"0:Weltweit", "1:Amerika", "3:Asien", "2:Europa", "4:Afrika und Nahost", "5:Ozeanien"}));
    // The order survives reopening the table: it is the file's.
    store->closeAll();
    EXPECT_EQ(classNames(Classification::Merkmale).at(2), "3:Asien");
    EXPECT_EQ(*classificationNumber(*store, Classification::Merkmale, "europa"), 2);
    EXPECT_EQ(classificationNumber(*store, Classification::Merkmale, "Arktis").status().message(),
              "Das Merkmal \"Arktis\" gibt es nicht (Weltweit, Amerika, Asien, Europa, Afrika und Nahost, Ozeanien)");
    EXPECT_EQ(renameClassification(*store, Classification::Merkmale, 9, "X").category(), Category::Invalid);
}

TEST_F(Lists, DeletingAGroupAsksAndCountsWhatGoes) {
    const int a = security("Alpha");
    const int b = security("Beta");
    setField(a, "Gruppe", 3);
    setField(b, "Gruppe", 3);
    price(a, day("02.01.2024"), 10);
    price(a, day("03.01.2024"), 11);
    lot(a, day("02.01.2024"), 1, 10);

    ScriptedInteraction no;
    no.answers = {Answer::No};
    auto kept = deleteClassification(*store, Classification::Gruppen, 3, no);  // "MDAX", number 3
    ASSERT_TRUE(kept.isOk()) << kept.status().message().toStdString();
    EXPECT_EQ(kept->name, "MDAX");
    EXPECT_EQ(kept->securities, 2);
    EXPECT_FALSE(kept->securitiesDeleted);
    EXPECT_EQ(no.titles, QStringList{"Alle Löschen??"});
    EXPECT_TRUE(no.questions.value(0).startsWith("Löschen aller Wertpapiere in dieser Gruppe????"));
    EXPECT_TRUE(no.questions.value(0).contains("2 Wertpapiere mit 2 Kursen, 0 Volumen und 1 Buchungen"))
        << no.questions.value(0).toStdString();
    EXPECT_EQ(readSecurity(*store, a)->Gruppe, 0);
    EXPECT_EQ(readSecurity(*store, b)->Gruppe, 0);
    EXPECT_EQ(*table("Aktien.db").count(Query::detailOf(a)), 2);
    // The next group gets the highest remaining number + 1.
    EXPECT_EQ(*addClassification(*store, Classification::Gruppen, "TecDAX"), 10);

    setField(b, "Branche", 2);
    ScriptedInteraction yes;
    yes.answers = {Answer::Yes};
    auto gone = deleteClassification(*store, Classification::Branchen, 2, yes);  // "Finanzen"
    ASSERT_TRUE(gone.isOk());
    EXPECT_TRUE(gone->securitiesDeleted);
    EXPECT_TRUE(yes.questions.value(0).startsWith("Löschen aller Wertpapiere in dieser Branche????"));
    EXPECT_EQ(readSecurity(*store, b).status().category(), Category::NotFound);

    // No securities: nothing asked. Entry 0 stands for all and stays.
    ScriptedInteraction quiet;
    ASSERT_TRUE(deleteClassification(*store, Classification::Merkmale, 1, quiet).isOk());
    EXPECT_TRUE(quiet.questions.isEmpty());
    auto refused = deleteClassification(*store, Classification::Gruppen, 0, quiet);
    EXPECT_EQ(refused.status().category(), Category::Invalid);
    EXPECT_EQ(refused.status().message(), "Der Eintrag \"alle Gruppen\" (0) steht für alle und kann nicht gelöscht werden");
}

TEST_F(Lists, WatchListsHoldEachSecurityOnce) {
    const int a = security("Alpha");
    const int b = security("Beta");
    EXPECT_TRUE(*toggleWatch(*store, 2, a));
    EXPECT_FALSE(*toggleWatch(*store, 2, a));
    EXPECT_EQ(*table("Watch2.db").count(Query{}), 0);
    EXPECT_TRUE(*toggleWatch(*store, 2, a));
    EXPECT_EQ(*addAllToWatch(*store, 2, {a, b, b}), 1);
    EXPECT_EQ(*addAllToWatch(*store, 2, {a, b}), 0);
    EXPECT_EQ(*table("Watch2.db").count(Query{}), 2);
    EXPECT_TRUE(*isOnWatch(*store, 2, b));
    EXPECT_FALSE(*isOnWatch(*store, 4, b));
    EXPECT_EQ(*clearWatch(*store, 2), 2);
}

TEST_F(Lists, DeletingASecurityNamesItsRows) {
    const int a = security("Alpha");
    price(a, day("02.01.2024"), 10);
    lot(a, day("02.01.2024"), 1, 10);
    ScriptedInteraction no;
    auto kept = deleteSecurityAsked(*store, a, no);
    EXPECT_EQ(kept.status().category(), Category::Cancelled);
    EXPECT_EQ(no.titles, QStringList{"Wertpapier löschen? "});
    EXPECT_EQ(no.questions.value(0), "Wertpapier löschen?\n\nAlpha wird mit 1 Kursen, 0 Volumen und 1 Buchungen gelöscht.");
    EXPECT_TRUE(readSecurity(*store, a).isOk());
    ScriptedInteraction yes;
    yes.answers = {Answer::Yes};
    auto gone = deleteSecurityAsked(*store, a, yes);
    ASSERT_TRUE(gone.isOk());
    EXPECT_EQ(gone->prices, 1);
    EXPECT_EQ(*table("Aktien.db").count(Query{}), 0);
}

TEST_F(Lists, TheRatingRunsListsJoinTheSelectorOnceTheirTablesExist) {
    const int a = security("Alpha");
    const int b = security("Beta");
    security("Gamma");
    const auto texts = [&] {
        QStringList out;
        auto entries = listSelectorEntries(*store, watchNames, true);
        EXPECT_TRUE(entries.isOk());
        if (entries)
            for (const ListChoice& e : *entries) out << e.text;
        return out;
    };
    EXPECT_FALSE(texts().contains("Gewinner(Quintara)"));
    EXPECT_EQ(findListChoice(*store, watchNames, "Gewinner(Quintara)").status().category(), Category::NotFound);
    ASSERT_TRUE(store->recreate("Gewinner.db", {Row{b}, Row{a}}).isOk());
    ASSERT_TRUE(store->recreate("Verlierer.db", {}).isOk());
    EXPECT_EQ(texts().mid(texts().size() - 2), (QStringList{"Gewinner(Quintara)", "Verlierer(Quintara)"}));
    ListSelection s;
    s.list = *findListChoice(*store, watchNames, "gewinner(quintara)");
    EXPECT_EQ(names(s), (QStringList{"Alpha", "Beta"}));  // by name, not by rank
    s.list = *findListChoice(*store, watchNames, "Verlierer(Quintara)");
    EXPECT_TRUE(names(s).isEmpty());
}

TEST_F(Lists, TheSearchTextMatchesNameWknOrIsinLetterCaseBlind) {
    SecurityRecord s;
    s.FirmenName = "Brunnfeld Versicherung";
    s.Kennung = "Q00001";
    s.ISIN = "DE000Q000017";
    s.Ticker = "BRV";
    EXPECT_TRUE(matchesText(s, ""));
    EXPECT_TRUE(matchesText(s, "  versich "));
    EXPECT_TRUE(matchesText(s, "q0000"));
    EXPECT_TRUE(matchesText(s, "de000q"));
    EXPECT_FALSE(matchesText(s, "brv"));  // the ticker is not searched
    EXPECT_FALSE(matchesText(s, "Versicherungen"));
}

TEST_F(Lists, ASecurityIsFoundByItsNameAndGetsAStationsMatchText) {
    security("Alpha");
    const int b = security("Südwind Energie");
    setField(b, "ZDF", "Q00002");
    EXPECT_EQ(*findSecurityByName(*store, " SÜDWIND ENERGIE "), std::optional<int>(b));
    EXPECT_EQ(*findSecurityByName(*store, "Südwind"), std::nullopt);  // the whole name only
    ASSERT_TRUE(setStationName(*store, b, "ZDF", "SUEDWIND").isOk());
    auto stored = readSecurity(*store, b);
    ASSERT_TRUE(stored.isOk());
    EXPECT_EQ(stored->ZDF, "SUEDWIND");
    EXPECT_EQ(stored->FirmenName, "Südwind Energie");
    EXPECT_EQ(setStationName(*store, 999, "ZDF", "X").category(), Category::NotFound);
    EXPECT_EQ(setStationName(*store, b, "Kurs", "X").category(), Category::NotFound);
    // A text longer than the column is refused, and the column keeps its text.
    EXPECT_EQ(setStationName(*store, b, "ZDF", QString(300, 'X')).category(), Category::Invalid);
    EXPECT_EQ(readSecurity(*store, b)->ZDF, "SUEDWIND");
}
