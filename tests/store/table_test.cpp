#include "base/formats.h"
#include "store/firma_hooks.h"
#include "store/store_fixture.h"

using namespace q;

class Rows : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        if (IsSkipped()) return;
        createAll();
    }
    Backend backend() const override { return GetParam(); }
    int addSecurity(const QString& name, const QString& kennung = {}) {
        Table& firma = table("Firma.db");
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", name);
        r.set("Kennung", kennung);
        auto n = appendSecurity(firma, r);
        EXPECT_TRUE(n.isOk()) << n.status().message().toStdString();
        return n.isOk() ? *n : -1;
    }
    QStringList names(const Query& q) {
        QStringList out;
        EXPECT_TRUE(table("Firma.db").forEach(q, [&](const Record& r) {
            out << r.value("FirmenName").toString();
            return true;
        }).isOk());
        return out;
    }
};

TEST_P(Rows, NameOrderIgnoresCaseAndUmlauts) {
    addSecurity("zeta AG");
    addSecurity(QString::fromUtf8("Äpfel GmbH"));
    addSecurity("Birne KG");
    addSecurity("apfel AG");
    Query q;
    q.order = "IFirma";
    EXPECT_EQ(names(q), (QStringList{"apfel AG", QString::fromUtf8("Äpfel GmbH"), "Birne KG", "zeta AG"}));
    q.reverse = true;
    EXPECT_EQ(names(q).first(), "zeta AG");
    q.order = "IGibtEsNicht";
    EXPECT_EQ(table("Firma.db").rows(q).status().message(), "Tabelle Firma hat keinen Index IGibtEsNicht");
}

TEST_P(Rows, NamesAreLookedUpWithCaseAndUmlautsFoldedAndByNumber) {
    const int strasse = addSecurity(QString::fromUtf8("Straße AG"));
    const int muller = addSecurity(QString::fromUtf8("Müller KG"), "MUE123");
    Query q;
    q.equalNoCase.push_back({"FirmenName", "STRASSE ag"});
    EXPECT_EQ(names(q), QStringList{QString::fromUtf8("Straße AG")});
    Query z;
    z.equalNoCase.push_back({"ZDF", "mue123"});
    EXPECT_EQ(names(z), QStringList{QString::fromUtf8("Müller KG")});
    Table& firma = table("Firma.db");
    EXPECT_EQ(*findSecurity(firma, QString::number(muller)), muller);
    EXPECT_EQ(*findSecurity(firma, QString::fromUtf8("straße ag")), strasse);
    auto missing = findSecurity(firma, "Birne");
    ASSERT_FALSE(missing.isOk());
    EXPECT_EQ(missing.status().category(), Category::NotFound);
    EXPECT_EQ(missing.status().message(), QString::fromUtf8("Wertpapier \"Birne\" nicht gefunden"));
}

TEST_P(Rows, DetailsAreLinkedBySecurityNumberAndWalkedInDateOrder) {
    const int a = addSecurity("Alpha");
    const int b = addSecurity("Beta");
    Table& aktien = table("Aktien.db");
    for (auto [firma, day, kurs] : {std::tuple{a, 46000, 10.0}, {b, 46000, 20.0}, {a, 45999, 9.5}, {a, 46001, 10.5}}) {
        Record r = aktien.newRecord();
        r.set("Firma", firma);
        r.set("Datum", day);
        r.set("Kurs", kurs);
        ASSERT_TRUE(aktien.append(r).isOk());
    }
    auto rows = aktien.rows(Query::detailOf(a));
    ASSERT_TRUE(rows.isOk());
    ASSERT_EQ(rows->size(), 3u);
    EXPECT_EQ((*rows)[0].value("Datum").toInt(), 45999);
    EXPECT_EQ((*rows)[2].value("Kurs").toDouble(), 10.5);

    // One price per security and day.
    Record dup = aktien.newRecord();
    dup.set("Firma", a);
    dup.set("Datum", 46000);
    dup.set("Kurs", 1.0);
    EXPECT_EQ(aktien.append(dup).status().message(), "Einen Datensatz mit diesem Schlüssel gibt es in der Tabelle Aktien schon");

    // Editing and deleting a row of a key-ordered table goes by its key.
    Record edited = (*rows)[1];
    edited.set("Kurs", 11.25);
    ASSERT_TRUE(aktien.update((*rows)[1], edited).isOk());
    ASSERT_TRUE(aktien.remove((*rows)[0]).isOk());
    Query range = Query::detailOf(a);
    range.rangeField = "Datum";
    range.from = 46000;
    auto after = aktien.rows(range);
    ASSERT_TRUE(after.isOk());
    ASSERT_EQ(after->size(), 2u);
    EXPECT_EQ((*after)[0].value("Kurs").toDouble(), 11.25);
    EXPECT_EQ(*aktien.count(Query()), 3);

    // The rows of several securities in one query; an empty list finds none.
    Query many;
    many.amongField = "Firma";
    many.among = {b, 999};
    auto ofB = aktien.rows(many);
    ASSERT_TRUE(ofB.isOk());
    ASSERT_EQ(ofB->size(), 1u);
    EXPECT_EQ((*ofB)[0].value("Kurs").toDouble(), 20.0);
    many.among = {a, b};
    EXPECT_EQ(*aktien.count(many), 3);
    many.among.clear();
    EXPECT_EQ(*aktien.count(many), 0);
}

TEST_P(Rows, NewSecuritiesGetDefaultsAndNumbersThatAreNeverReused) {
    EXPECT_EQ(addSecurity("Erste AG"), 1);
    EXPECT_EQ(addSecurity("Zweite AG", "ABCDEFGHIJKLMNO"), 2);
    auto second = table("Firma.db").findKey({2});
    ASSERT_TRUE(second.isOk() && second->has_value());
    const Record& r = **second;
    EXPECT_EQ(r.value("ZDF").toString(), "ABCDEFGHIJKL");
    EXPECT_EQ(r.value("Sender4").toString(), "ABCDEFGHIJKL");
    EXPECT_TRUE(r.value("Aktiv").toBool());
    EXPECT_EQ(r.value("Waehrung").toString(), "EUR");
    EXPECT_EQ(r.value("Gruppe").toInt(), 0);
    auto first = table("Firma.db").findKey({1});
    EXPECT_EQ((**first).value("N-TV").toString(), "Erste AG");

    // The highest number is deleted; its intraday prices stay behind, so the next
    // security must not inherit them.
    Record intra = table("Intraday.db").newRecord();
    intra.set("Firma", 2);
    intra.set("ZEIT", 46000.5);
    intra.set("Kurs", 3.0);
    ASSERT_TRUE(table("Intraday.db").append(intra).isOk());
    ASSERT_TRUE(deleteSecurity(*store, 2).isOk());
    // The counter remembers the deleted number, in the file and on the server alike.
    EXPECT_EQ(numberCounter(table("Firma.db")), 2);
    EXPECT_EQ(addSecurity("Dritte AG"), 3);
    EXPECT_EQ(numberCounter(table("Firma.db")), 3);
    EXPECT_EQ(*table("Intraday.db").count(Query::detailOf(2)), 1);
}

TEST_P(Rows, DeletingASecurityTakesItsPricesVolumesAndBookingsAlong) {
    const int a = addSecurity("Alpha");
    const int b = addSecurity("Beta");
    for (int firma : {a, b}) {
        Record p = table("Aktien.db").newRecord();
        p.set("Firma", firma), p.set("Datum", 46000), p.set("Kurs", 1.0);
        ASSERT_TRUE(table("Aktien.db").append(p).isOk());
        Record v = table("Volumen.db").newRecord();
        v.set("Firma", firma), v.set("Datum", 46000), v.set("Volumen", 10);
        ASSERT_TRUE(table("Volumen.db").append(v).isOk());
        Record t = table("Transaktionen.db").newRecord();
        t.set("Firma", firma), t.set("Datum", 46000), t.set("Anteile", 5.0), t.set("Ankauf", 1.0);
        ASSERT_TRUE(table("Transaktionen.db").append(t).isOk());
        Record w = table("Watch.db").newRecord();
        w.set("Firma", firma);
        ASSERT_TRUE(table("Watch.db").append(w).isOk());
    }
    ASSERT_TRUE(deleteSecurity(*store, a).isOk());
    for (const char* f : {"Aktien.db", "Volumen.db", "Transaktionen.db", "Firma.db"}) {
        EXPECT_EQ(*table(f).count(Query::detailOf(a)), 0) << f;
        EXPECT_EQ(*table(f).count(Query::detailOf(b)), 1) << f;
    }
    EXPECT_EQ(*table("Watch.db").count(Query::detailOf(a)), 1);
}

TEST_P(Rows, ANewPriceRowIsDatedTheNextBusinessDay) {
    const int a = addSecurity("Alpha");
    Table& aktien = table("Aktien.db");
    Record p = aktien.newRecord();
    p.set("Firma", a);
    p.set("Datum", dayNumber(QDate(2026, 12, 4)));  // a Friday
    p.set("Kurs", 1.0);
    ASSERT_TRUE(aktien.append(p).isOk());
    EXPECT_EQ(*nextPriceDate(aktien, a), QDate(2026, 12, 7));
    p.set("Datum", dayNumber(QDate(2026, 12, 7)));
    ASSERT_TRUE(aktien.append(p).isOk());
    EXPECT_EQ(*nextPriceDate(aktien, a), QDate(2026, 12, 8));
}

TEST_P(Rows, CaseInsensitiveOrderFoldsUmlautsSharpSAndAccents) {
    for (const char* name : {"Zürich Vers.", "Straße AG", "strasse bau", "Strassburg", "Öko Energie", "oel AG", "Élan SA",
                             "elster"})
        addSecurity(QString::fromUtf8(name));
    // Folded: "zurich vers.", "strasse ag", "strasse bau", "strassburg", "oko energie",
    // "oel ag", "elan sa", "elster"; "strassb…" sorts before "strasse…" (b < e).
    Query q;
    q.order = "IFirma";
    EXPECT_EQ(names(q), (QStringList{QString::fromUtf8("Élan SA"), "elster", "oel AG", QString::fromUtf8("Öko Energie"),
                                     "Strassburg", QString::fromUtf8("Straße AG"), "strasse bau",
                                     QString::fromUtf8("Zürich Vers.")}));
    // The program's own comparison orders as the index does.
    EXPECT_LT(compareNoCase("Strassburg", QString::fromUtf8("Straße AG")), 0);
    EXPECT_EQ(compareNoCase(QString::fromUtf8("STRASSE BAU"), "strasse bau"), 0);
    EXPECT_GT(compareNoCase(QString::fromUtf8("Öko"), "oel"), 0);
}

TEST_P(Rows, OrderAndLookUpByNameAreServedByTheIndexes) {
    Table& firma = table("Firma.db");
    Transaction tx(firma.db());
    ASSERT_TRUE(tx.begin().isOk());
    for (int i = 0; i < 1000; ++i) {
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", QString::fromUtf8("Müller %1 AG").arg(i));
        ASSERT_TRUE(appendSecurity(firma, r).isOk());
    }
    ASSERT_TRUE(tx.commit().isOk());
    Query byName;
    byName.equalNoCase.push_back({"FirmenName", "MULLER 7 ag"});
    if (onServer()) {
        // The server's planner: the look-ups by name go through the folded indexes.
        ASSERT_TRUE(firma.db().exec("ANALYZE \"Firma\"").isOk());
        EXPECT_TRUE(firma.queryPlan(byName)->contains("Firma_IFirma")) << firma.queryPlan(byName)->toStdString();
        EXPECT_EQ(names(byName), QStringList{QString::fromUtf8("Müller 7 AG")});
        return;
    }
    EXPECT_EQ(*firma.queryPlan(byName), "SEARCH Firma USING INDEX IFirma (<expr>=?)");
    EXPECT_EQ(names(byName), QStringList{QString::fromUtf8("Müller 7 AG")});
    Query station;
    station.equalNoCase.push_back({"N-TV", QString::fromUtf8("müller 7 ag")});
    EXPECT_EQ(*firma.queryPlan(station), "SEARCH Firma USING INDEX IN-TV (<expr>=?)");
    EXPECT_EQ(names(station), QStringList{QString::fromUtf8("Müller 7 AG")});
    Query ordered;
    ordered.order = "IFirma";
    ordered.reverse = true;
    EXPECT_EQ(*firma.queryPlan(ordered), "SCAN Firma USING INDEX IFirma");
}

QTEST_ON_BOTH_BACKENDS(Rows);
