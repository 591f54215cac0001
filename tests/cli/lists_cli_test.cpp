// The lists, the movers and the news through quintara-cli, on a fresh data
// directory (or the sample's) as a user drives them.
#include "cli/cli_fixture.h"
#include "news/news_table.h"

#include <QDir>
#include <QFile>

using namespace q;

namespace {

class ListsCli : public CliTest {
protected:
    QStringList out(const QStringList& args) {
        auto r = run(args);
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        return r.out.split('\n', Qt::SkipEmptyParts);
    }
    void setField(int firma, const char* field, const QVariant& value) {
        auto t = store->table("Firma.db");
        auto row = (*t)->findKey({firma});
        Record after = **row;
        after.set(field, value);
        ASSERT_TRUE((*t)->update(**row, after).isOk());
    }
};

class ListsOnSample : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        data = home + "Daten/";
        ASSERT_TRUE(qtest::writeSmallSample(data));
    }
    qtest::CliRun cli(QStringList args) { return qtest::runCli(QStringList{"--home", home, "--settings", settingsFile} + args); }
    QString data;
};

}  // namespace

TEST_F(ListsOnSample, TheSelectorListsGroupsHoldingsAndNamedWatchLists) {
    auto r = cli({"lists"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 7);
    EXPECT_EQ(lines.mid(0, 7), (QStringList{"alle Gruppen", "akt.Depotwerte", "1.Beobachtungsliste", "2.Beobachtungsliste",
                                            "3.Beobachtungsliste", "4.Beobachtungsliste", "DAX"}));
    ASSERT_EQ(cli({"watch-names", "2", ""}).exitCode, 0);
    lines = cli({"lists"}).out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.mid(0, 6), (QStringList{"alle Gruppen", "akt.Depotwerte", "1.Beobachtungsliste", "3.Beobachtungsliste",
                                            "4.Beobachtungsliste", "DAX"}));
    EXPECT_TRUE(QFile::exists(data + "Watch2.db"));
    EXPECT_EQ(qtest::readFile(data + "WNamen.ini"), QByteArray("1.Beobachtungsliste\r\n\r\n3.Beobachtungsliste\r\n4.Beobachtungsliste\r\n"));
    auto missing = cli({"list", "--list", "2.Beobachtungsliste"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("Die Liste \"2.Beobachtungsliste\" gibt es nicht. Listen: alle Gruppen, akt.Depotwerte, "
                                     "1.Beobachtungsliste, 3.Beobachtungsliste"))
        << missing.err.toStdString();
}

TEST_F(ListsOnSample, AShortOrUtf8NamesFileLeavesTheRestDefault) {
    ASSERT_EQ(cli({"start"}).exitCode, 0);
    qtest::writeFile(data + "WNamen.ini", "B\xc3\xb6rse\rZwei");  // UTF-8, CR only, two lines
    auto r = cli({"watch-names"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QString::fromUtf8("1: Börse\n2: Zwei\n3: 3.Beobachtungsliste\n4: 4.Beobachtungsliste")))
        << r.out.toStdString();
}

TEST_F(ListsCli, WatchListsToggleAndAddEachSecurityOnce) {
    const int alpha = security("Alpha AG");
    security("Beta AG");
    ASSERT_TRUE(run({"watch", "2", "--toggle", "Alpha AG"}).exitCode == 0);
    EXPECT_EQ(qtest::sqlNumber(home + "Watch2.db", "SELECT count(*) FROM Watch2"), 1);
    ASSERT_EQ(run({"watch", "2", "--toggle", QString::number(alpha)}).exitCode, 0);
    EXPECT_EQ(qtest::sqlNumber(home + "Watch2.db", "SELECT count(*) FROM Watch2"), 0);

    EXPECT_EQ(json({"watch", "3", "--add-all"})["added"].toInt(), 2);
    const QJsonObject again = json({"watch", "3", "--add-all"});
    EXPECT_EQ(again["added"].toInt(), 0);
    EXPECT_EQ(again["listed"].toInt(), 2);
    EXPECT_EQ(qtest::sqlNumber(home + "Watch3.db", "SELECT count(*) FROM Watch3"), 2);
    EXPECT_EQ(out({"list", "--list", "3.BEOBACHTUNGSLISTE"}).last(), "2 Wertpapiere");
    EXPECT_EQ(json({"watch", "3", "--clear"})["removed"].toInt(), 2);
    EXPECT_EQ(run({"watch", "5", "--clear"}).exitCode, 1);
}

TEST_F(ListsCli, DeletingAGroupKeepsItsSecuritiesWithoutGroup) {
    const int a = security("Alpha AG");
    const int b = security("Beta AG");
    setField(a, "Gruppe", 3);
    setField(b, "Gruppe", 3);
    price(a, "27.06.2024", 10);
    const QJsonObject d = json({"classes", "gruppen", "--delete", "3"});
    EXPECT_EQ(d["deleted"].toInt(), 3);
    EXPECT_EQ(d["securities"].toInt(), 2);
    EXPECT_FALSE(d["securitiesDeleted"].toBool());
    EXPECT_EQ(qtest::sqlNumber(home + "Firma.db", "SELECT count(*) FROM Firma WHERE Gruppe = 0"), 2);
    EXPECT_EQ(json({"classes", "gruppen", "--add", "TecDAX"})["added"].toInt(), 10);
    EXPECT_EQ(json({"classes", "gruppen", "--move", "9", "up"})["moved"].toInt(), 8);
    const QStringList lines = out({"classes", "gruppen"});
    EXPECT_EQ(lines.value(8), "8\t10\tTecDAX");
    EXPECT_EQ(lines.value(9), "9\t9\tFonds");

    auto refused = run({"classes", "gruppen", "--delete", "0"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("kann nicht gelöscht werden")) << refused.err.toStdString();
    EXPECT_EQ(run({"classes", "branchen", "--delete", "1", "--delete-securities"}).exitCode, 1);  // without --yes

    setField(a, "Branche", 2);
    const QJsonObject gone = json({"--yes", "classes", "branchen", "--delete", "2", "--delete-securities"});
    EXPECT_TRUE(gone["securitiesDeleted"].toBool());
    EXPECT_EQ(gone["prices"].toInt(), 1);
    EXPECT_EQ(qtest::sqlNumber(home + "Aktien.db", "SELECT count(*) FROM Aktien"), 0);
}

TEST_F(ListsCli, TheFilterListsExactlyTheMatchingSecurities) {
    const int a = security("Alpha AG");
    const int b = security("Beta AG");
    const int c = security("Gamma AG");
    setField(a, "Kennung", "600000");
    setField(a, "Gruppe", 1);
    setField(b, "Kennung", "400000");
    setField(b, "Gruppe", 1);
    setField(c, "Kennung", "700000");
    const QJsonObject o = json({"list", "--filter", "(Kennung>'500000') AND (Gruppe='1')"});
    EXPECT_EQ(o["count"].toInt(), 1);
    EXPECT_EQ(o["securities"].toArray()[0].toObject()["FirmenName"].toString(), "Alpha AG");
    // The editor doubles a quote of the value: the whole text is one value.
    EXPECT_EQ(json({"list", "--filter", "(FirmenName=''' OR 1=1 --')"})["count"].toInt(), 0);
    // Typed by hand without doubling, it is no injection either, only a mistake.
    auto raw = run({"list", "--filter", "(FirmenName='' OR 1=1 --')"});
    EXPECT_EQ(raw.exitCode, 1);
    EXPECT_TRUE(raw.err.contains("Unbekanntes Feld \"1\" an Stelle 19 des Filters")) << raw.err.toStdString();
    auto bad = run({"list", "--filter", "(Kennung>'500000' AND (Gruppe='1')"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("Es fehlt \")\" zur Klammer an Stelle 1 des Filters")) << bad.err.toStdString();
}

TEST_F(ListsCli, SecuritiesAreAddedDeletedAndExported) {
    const QJsonObject added = json({"security-add", "Zeta AG", "--wkn", "123456", "--isin", "DE0001234567", "--group", "dax"});
    const int zeta = added["Firma"].toInt();
    EXPECT_GT(zeta, 0);
    price(zeta, "27.06.2024", 5);
    const QString file = home + "Wertpapierliste.txt";
    ASSERT_EQ(run({"securities-export", file}).exitCode, 0);
    const QByteArray text = qtest::readFile(file);
    // The header names the four stations by their settings Sender1 … Sender4.
    EXPECT_TRUE(text.startsWith("Wertpapierbezeichnung\tWKN\tISIN\tTicker\t")) << text.toStdString();
    EXPECT_EQ(text.left(text.indexOf("\r\n")).count('\t'), 8);
    EXPECT_TRUE(text.contains("Zeta AG\t123456\tDE0001234567\t\t")) << text.toStdString();
    EXPECT_EQ(json({"list", "--list", "DAX"})["count"].toInt(), 1);

    auto asked = run({"security-delete", "Zeta AG"});
    EXPECT_EQ(asked.exitCode, 1);
    EXPECT_TRUE(asked.err.contains("mit --yes")) << asked.err.toStdString();
    const QJsonObject gone = json({"--yes", "security-delete", "Zeta AG"});
    EXPECT_EQ(gone["prices"].toInt(), 1);
    EXPECT_EQ(run({"favourite", "Zeta AG"}).exitCode, 1);
}

TEST_F(ListsCli, MoversOfTheLastBusinessDay) {
    todayText = "12.01.2026";
    const int alpha = security("Alpha");
    const int beta = security("Beta");
    const int gamma = security("Gamma");
    const int delta = security("Delta");
    price(alpha, "09.01.2026", 20);
    price(alpha, "12.01.2026", 21);
    price(beta, "08.01.2026", 49);
    price(beta, "09.01.2026", 50);
    price(beta, "12.01.2026", 45);
    price(gamma, "12.01.2026", 30);
    price(delta, "07.01.2026", 10);

    auto r = run({"movers", "--days", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Gewinner\t2\n  Alpha\t09.01.2026\t20\t12.01.2026\t21\t5,00%\n  Gamma\t12.01.2026\t30\t12.01.2026\t30\t0,00%\n"
                               "Verlierer\t1\n  Beta\t09.01.2026\t50\t12.01.2026\t45\t-10,00%\n"))
        << r.out.toStdString();
    const QJsonObject o = json({"movers", "--days", "1"});
    EXPECT_EQ(o["from"].toString(), "09.01.2026");
    EXPECT_EQ(o["to"].toString(), "12.01.2026");
    EXPECT_EQ(o["up"].toInt(), 2);
    EXPECT_EQ(o["down"].toInt(), 1);
    const QJsonArray winners = o["winners"].toArray();
    ASSERT_EQ(winners.size(), 2);
    EXPECT_EQ(winners[0].toObject()["name"].toString(), "Alpha");
    EXPECT_NEAR(winners[0].toObject()["change"].toDouble(), 5.0, 1e-12);
    EXPECT_EQ(winners[0].toObject()["currency"].toString(), "EUR");
    EXPECT_NEAR(o["losers"].toArray()[0].toObject()["change"].toDouble(), -10.0, 1e-12);
    EXPECT_EQ(run({"movers", "--days", "1", "--count", "4"}).exitCode, 1);

    const QString text = qtest::convertToText(home + "Temp/gewinner.rtf");
    if (!text.isEmpty()) {
        EXPECT_TRUE(text.contains("Gewinner")) << text.toStdString();
        EXPECT_TRUE(text.contains("-10,00%")) << text.toStdString();
    }
    const QJsonObject missing = json({"missing"});
    EXPECT_EQ(missing["missing"].toInt(), 1);  // Delta
    EXPECT_TRUE(qtest::readFile(home + "Temp/Wasfehlt.txt").startsWith("Delta ()\t07.01.2026\t10\r\n"));
    const QJsonObject table = json({"price-table", "--from", "08.01.2026", "--to", "12.01.2026", home + "Uebersicht.txt"});
    EXPECT_EQ(table["dates"].toInt(), 3);
    EXPECT_EQ(table["securities"].toInt(), 4);
}

TEST_F(ListsCli, NewsArePurgedListedAndAdded) {
    todayText = "20.01.2026";
    const int linked = security("Linked AG");
    const QString dir = home + "Nachrichten/";
    QDir().mkpath(dir);
    const auto item = [&](qint64 n, const QDateTime& when, int firma, bool aktiv, const QString& file) {
        ASSERT_TRUE(saveNewsItem(*store, NewsItem{n, when, QString("Meldung %1").arg(n), firma, aktiv}).isOk());
        qtest::writeFile(dir + file, "Text\r\n");
    };
    item(1, QDateTime(QDate(2026, 1, 18), QTime(9, 0)), 0, false, "1.TXT");
    item(2, QDateTime(QDate(2026, 1, 19), QTime(9, 0)), 0, true, "2.TXT");
    item(3, QDateTime(QDate(2025, 6, 1), QTime(9, 0)), linked, true, "3.TXT");
    item(4, QDateTime(QDate(2026, 1, 20), QTime(8, 0)), 0, true, "4.TXT");
    item(3121530, QDateTime(QDate(2026, 1, 20), QTime(7, 0)), 0, true, "03121530.TXT");
    auto refused = run({"news-purge", "--old"});
    EXPECT_EQ(refused.exitCode, 1);
    ASSERT_EQ(json({"--yes", "news-purge", "--old", "--today", "20.01.2026"})["items"].toInt(), 2);
    EXPECT_FALSE(QFile::exists(dir + "1.TXT"));
    EXPECT_FALSE(QFile::exists(dir + "2.TXT"));
    EXPECT_TRUE(QFile::exists(dir + "3.TXT"));

    const QJsonArray items = json({"news", "--all"})["items"].toArray();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].toObject()["Nummer"].toInt(), 4);
    EXPECT_EQ(items[1].toObject()["Nummer"].toInt(), 3121530);
    EXPECT_EQ(items[2].toObject()["Nummer"].toInt(), 3);
    EXPECT_EQ(items[1].toObject()["file"].toString(), dir + "03121530.TXT");
    EXPECT_EQ(json({"news-show", "3121530"})["text"].toString(), "Text\r\n");

    const QJsonObject first = json({"news-add", "Erste Meldung"});
    const QJsonObject second = json({"news-add", "Zweite Meldung", "--security", "Linked AG"});
    EXPECT_NE(first["Nummer"].toDouble(), second["Nummer"].toDouble());
    EXPECT_EQ(json({"news", "--all"})["items"].toArray().size(), 5);
    EXPECT_EQ(json({"news", "--security", "Linked AG"})["items"].toArray().size(), 2);
    const QString n = QString::number(qint64(second["Nummer"].toDouble()));
    EXPECT_EQ(json({"news-edit", n, "--active", "0", "--time", "19.01.2026 10:30"})["Zeit"].toString(), "19.01.2026 10:30");
    EXPECT_EQ(run({"news-edit", n, "--time", "32.01.2026 10:30"}).exitCode, 1);
    EXPECT_EQ(json({"news", "--all", "--inactive"})["items"].toArray().size(), 5);
    ASSERT_EQ(run({"news-delete", n}).exitCode, 0);
    EXPECT_EQ(run({"news-delete", n}).exitCode, 1);
}

TEST_F(ListsCli, TheRatingRunAndTheInternetReadingTakeAListByName) {
    const int a = security("Alpha AG");
    security("Beta AG");
    price(a, "27.06.2024", 10);
    price(a, "28.06.2024", 11);
    ASSERT_EQ(run({"watch", "1", "--toggle", "Alpha AG"}).exitCode, 0);
    EXPECT_EQ(json({"rate", "--list", "1.beobachtungsliste"})["total"].toInt(), 1);
    EXPECT_EQ(json({"rate"})["total"].toInt(), 2);
    auto unknown = run({"rate", "--list", "Gibtsnicht"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains("Die Liste \"Gibtsnicht\" gibt es nicht. Listen: alle Gruppen")) << unknown.err.toStdString();
    auto empty = run({"internet", "--list", "2.Beobachtungsliste", "--dry-run"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.err.contains("Die Liste \"2.Beobachtungsliste\" enthält keine Wertpapiere")) << empty.err.toStdString();
}
