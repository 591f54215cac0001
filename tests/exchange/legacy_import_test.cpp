#include "exchange/legacy_import.h"
#include "exchange/paradox_writer.h"
#include "store/firma_hooks.h"
#include "store/store.h"
#include "support/test_server.h"
#include "support/test_support.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

extern "C" {
#include <paradox.h>
}

using namespace q;

namespace {

const QDate kMarch15 = QDate(2021, 3, 15);  // day number 44270
const QString kMemo = QString::fromUtf8("Langjähriger Wert im Depot; Übernahme geprüft, Größe ß.");

// A data directory of the Windows version, written once for all tests: three
// securities with umlauts, 10,001 prices (one of a security missing from Firma.DB),
// volumes, two bookings (one still open: no sale date), currencies, groups, and
// three files the import must leave out.
class OldData {
public:
    OldData() {
        const QString d = dir();
        using pxtest::Field;
        const std::vector<Field> firma = {
            {"Firma", pxfLong, 4},          {"FirmenName", pxfAlpha, 30}, {"Aktiv", pxfLogical, 1},   {"Kennung", pxfAlpha, 16},
            {"Gruppe", pxfShort, 2},        {"Branche", pxfShort, 2},     {"Merkmal", pxfShort, 2},   {"Waehrung", pxfAlpha, 6},
            {"Dividende", pxfCurrency, 8},  {"ZDF", pxfAlpha, 20},        {"N-TV", pxfAlpha, 20},     {"SF1", pxfAlpha, 20},
            {"Sender4", pxfAlpha, 20},      {"Memo", pxfMemoBLOb, 11},    {"Unteres_Limit", pxfNumber, 8},
            {"Oberes_Limit", pxfNumber, 8}, {"Cashflow", pxfNumber, 8},   {"ISIN", pxfAlpha, 16},     {"Bemerkung", pxfAlpha, 10}};
        auto security = [](int n, const char* name, bool aktiv, const char* match, const QVariant& memo, const QVariant& isin) {
            return QVariantList{n, QString::fromUtf8(name), aktiv, QVariant(), 1, 10, 0, "EUR", 1.25, match, match, match, match,
                                memo, 0.0, 0.0, 2.5, isin, "alt"};
        };
        m_ok = pxtest::writeTable(d + "Firma.DB", firma,
                                  {security(7, "Müller Maschinen AG", true, "MUELLER MASCH", kMemo, "DE0007257503"),
                                   security(12, "Straße & Söhne KG", false, "STRASSE", QVariant(), QVariant()),
                                   security(3, "Zürcher Bank", true, "ZUERCHER", QVariant(), "CH0012345678")},
                                  1);

        std::vector<QVariantList> prices;
        for (int firmaNumber : {7, 12})
            for (int i = 0; i < 5000; ++i) {
                const QDate day = QDate(2008, 1, 1).addDays(i);
                const double kurs = day == kMarch15 ? (firmaNumber == 12 ? 123.45 : 77.7) : 10.0 + (i % 100) * 0.25;
                prices.push_back({firmaNumber, day, kurs});
            }
        prices.push_back({99, kMarch15, 1.0});
        m_ok = m_ok && pxtest::writeTable(d + "Aktien.DB", {{"FIRMA", pxfLong, 4}, {"Datum", pxfDate, 4}, {"Kurs", pxfCurrency, 8}},
                                          prices, 2);
        m_ok = m_ok && pxtest::writeTable(d + "Volumen.DB", {{"FIRMA", pxfLong, 4}, {"Datum", pxfDate, 4}, {"Volumen", pxfLong, 4}},
                                          {{7, kMarch15, 120000}, {12, kMarch15, 3400}, {3, kMarch15, 1}}, 2);
        m_ok = m_ok && pxtest::writeTable(d + "Transaktionen.DB",
                                          {{"Firma", pxfLong, 4}, {"Datum", pxfDate, 4}, {"Anteile", pxfNumber, 8},
                                           {"Ankauf", pxfCurrency, 8}, {"Verkauf", pxfDate, 4}, {"Erloes", pxfCurrency, 8},
                                           {"FirmenName", pxfAlpha, 30}},
                                          {{7, kMarch15, 100.0, 99.5, QVariant(), QVariant(), QString::fromUtf8("Müller Maschinen AG")},
                                           {12, QDate(2019, 2, 1), 50.0, 20.0, kMarch15, 25.5, QString::fromUtf8("Straße & Söhne KG")}},
                                          7);
        m_ok = m_ok && pxtest::writeTable(d + "Waehrung.DB",
                                          {{"Symbol", pxfAlpha, 5}, {"Name", pxfAlpha, 40}, {"Faktor", pxfNumber, 8},
                                           {"Multiplikator", pxfLogical, 1}, {"Einheit", pxfNumber, 8}},
                                          {{QVariant(), QString::fromUtf8("keine Währung"), 1.0, true, 1.0}, {"USD", "US-Dollar", 0.92, true, 1.0}},
                                          1);
        m_ok = m_ok && pxtest::writeTable(d + "Anlagen.DB",
                                          {{"DATUM", pxfTimestamp, 8}, {"Anteile", pxfNumber, 8}, {"KursKauf", pxfCurrency, 8},
                                           {"KursIst", pxfCurrency, 8}},
                                          {{QDateTime(kMarch15, QTime(14, 30)), 150.5, -12.5, 13.75}}, 1);
        m_ok = m_ok && pxtest::writeTable(d + "Gruppen.DB", {{"GruppenIndex", pxfLong, 4}, {"GruppenName", pxfAlpha, 20}},
                                          {{0, "alle Gruppen"}, {1, "DAX"}, {2, "Meine Werte"}});
        // Left out: a truncated table, an encrypted one, and one that is not ours.
        const std::vector<Field> watch = {{"Firma", pxfLong, 4}};
        m_ok = m_ok && pxtest::writeTable(d + "Intraday.DB", watch, {{7}}) && pxtest::writeTable(d + "Watch.DB", watch, {{7}}) &&
               pxtest::writeTable(d + "Message.DB", watch, {{7}});
        QFile intraday(d + "Intraday.DB");
        m_ok = m_ok && intraday.resize(100);
        QFile encrypted(d + "Watch.DB");
        m_ok = m_ok && encrypted.open(QIODevice::ReadWrite) && encrypted.seek(0x5c) && encrypted.write("\x11\x22\x33\x44", 4) == 4;
    }
    bool ok() const { return m_ok; }
    QString dir() const { return m_tmp.path() + "/"; }

private:
    QTemporaryDir m_tmp;
    bool m_ok = false;
};

const OldData& oldData() {
    static const OldData data;
    return data;
}

const LegacyTableReport* tableReport(const LegacyReport& r, const QString& source) {
    for (const LegacyTableReport& t : r.tables)
        if (t.source == source) return &t;
    return nullptr;
}

class LegacyImport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(oldData().ok());
        ASSERT_TRUE(m_tmp.isValid());
        dir = m_tmp.path() + "/";
        store = std::make_unique<Store>(StoreDirs{dir, dir, dir, dir});
        if (onServer()) {
            server = std::make_unique<qtest::TestServerDatabase>();
            QTEST_NEEDS_SERVER(*server);
            store->setServer(server->uri());
        }
        for (const QString& f : startupTableOrder()) ASSERT_TRUE(store->ensure(f).isOk());
    }
    virtual bool onServer() const { return false; }
    Table& table(const QString& file) { return **store->table(file); }
    void emptyDataDirectoryTakesEveryTable();
    void existingDataKeepsItsPricesAndNumbers();
    QTemporaryDir m_tmp;
    QString dir;
    std::unique_ptr<qtest::TestServerDatabase> server;
    std::unique_ptr<Store> store;
};

// The same import into the tables on the server.
class LegacyImportOnServer : public LegacyImport {
protected:
    bool onServer() const override { return true; }
};

}  // namespace

TEST_F(LegacyImport, AnEmptyDataDirectoryTakesEveryTableFieldByField) { emptyDataDirectoryTakesEveryTable(); }
TEST_F(LegacyImportOnServer, AnEmptyDataDirectoryTakesEveryTableFieldByField) { emptyDataDirectoryTakesEveryTable(); }

void LegacyImport::emptyDataDirectoryTakesEveryTable() {
    NoProgress none;
    auto report = importLegacy(*store, oldData().dir(), none);
    ASSERT_TRUE(report.isOk()) << report.status().message().toStdString();

    const LegacyTableReport* firma = tableReport(*report, "Firma.DB");
    ASSERT_TRUE(firma);
    EXPECT_EQ(firma->read, 3);
    EXPECT_EQ(firma->added, 3);
    EXPECT_TRUE(firma->notes.contains(QString::fromUtf8("Feld Bemerkung nicht übernommen: in Quintara nicht vorhanden")));
    const LegacyTableReport* aktien = tableReport(*report, "Aktien.DB");
    ASSERT_TRUE(aktien);
    EXPECT_EQ(aktien->read, 10001);
    EXPECT_EQ(aktien->added, 10000);
    EXPECT_EQ(aktien->skipped, 1);
    EXPECT_EQ(aktien->notes, QStringList{"1 Zeilen ausgelassen: Wertpapier fehlt in der alten Wertpapiertabelle"});

    // An empty directory keeps the old numbers.
    auto muller = table("Firma.db").findKey({7});
    ASSERT_TRUE(muller.isOk() && muller->has_value());
    EXPECT_EQ((**muller).value("FirmenName").toString(), QString::fromUtf8("Müller Maschinen AG"));
    EXPECT_EQ((**muller).value("Memo").toString(), kMemo);
    EXPECT_EQ((**muller).value("CashFlow").toDouble(), 2.5);
    EXPECT_EQ((**muller).value("Dividende").toDouble(), 1.25);
    EXPECT_EQ((**muller).value("Kennung"), QVariant());
    EXPECT_FALSE((**table("Firma.db").findKey({12})).value("Aktiv").toBool());

    auto price = table("Aktien.db").findKey({12, 44270});
    ASSERT_TRUE(price.isOk() && price->has_value());
    EXPECT_EQ((**price).value("Kurs").toDouble(), 123.45);
    EXPECT_EQ(*table("Aktien.db").count(Query::detailOf(7)), 5000);

    auto bookings = table("Transaktionen.db").rows(Query::detailOf(7));
    ASSERT_TRUE(bookings.isOk());
    ASSERT_EQ(bookings->size(), 1u);
    const Record& open = bookings->front();
    EXPECT_EQ(open.value("Datum").toInt(), 44270);
    EXPECT_EQ(open.value("Anteile").toDouble(), 100.0);
    EXPECT_EQ(open.value("Ankauf").toDouble(), 99.5);
    EXPECT_TRUE(open.value("Verkauf").isNull());
    EXPECT_TRUE(open.value("Erloes").isNull());
    EXPECT_EQ(open.value("FirmenName").toString(), QString::fromUtf8("Müller Maschinen AG"));
    auto sold = table("Transaktionen.db").rows(Query::detailOf(12));
    ASSERT_EQ(sold->size(), 1u);
    EXPECT_EQ(sold->front().value("Datum").toInt(), 43497);  // 01.02.2019
    EXPECT_EQ(sold->front().value("Verkauf").toInt(), 44270);

    // A timestamp keeps its time of day; negative amounts their sign.
    auto value = table("Anlagen.DB").rows(Query());
    ASSERT_TRUE(value.isOk());
    ASSERT_EQ(value->size(), 1u);
    EXPECT_DOUBLE_EQ(value->front().value("DATUM").toDouble(), 44270 + 14.5 / 24);
    EXPECT_EQ(value->front().value("KursKauf").toDouble(), -12.5);
    EXPECT_EQ(value->front().value("Anteile").toDouble(), 150.5);

    // The empty currency symbol meets the seed row; the seed list of groups gives way.
    EXPECT_EQ(tableReport(*report, "Waehrung.DB")->existing, 1);
    EXPECT_EQ(tableReport(*report, "Waehrung.DB")->added, 1);
    QStringList groups;
    ASSERT_TRUE(table("Gruppen.db").forEach(Query(), [&](const Record& r) {
        groups << r.value("GruppenIndex").toString() + " " + r.value("GruppenName").toString();
        return true;
    }).isOk());
    EXPECT_EQ(groups, (QStringList{"0 alle Gruppen", "1 DAX", "2 Meine Werte"}));

    QStringList skipped;
    for (const LegacySkippedFile& f : report->skipped) skipped << f.file + ": " + f.reason;
    EXPECT_EQ(skipped, (QStringList{"Message.DB: keine Tabelle von Quintara",
                                    "Intraday.DB: Die Datei " + oldData().dir() +
                                        QString::fromUtf8("Intraday.DB ist beschädigt oder keine Paradox-Tabelle"),
                                    "Watch.DB: Die Datei " + oldData().dir() + QString::fromUtf8("Watch.DB ist verschlüsselt")}));

    // A second run adds nothing.
    auto again = importLegacy(*store, oldData().dir(), none);
    ASSERT_TRUE(again.isOk());
    for (const LegacyTableReport& t : again->tables) EXPECT_EQ(t.added, 0) << t.source.toStdString();
    EXPECT_EQ(tableReport(*again, "Firma.DB")->existing, 3);
    EXPECT_EQ(tableReport(*again, "Aktien.DB")->existing, 10000);
    EXPECT_EQ(*table("Transaktionen.db").count(Query()), 2);
}

TEST_F(LegacyImport, ExistingDataKeepsItsPricesAndNumbers) { existingDataKeepsItsPricesAndNumbers(); }
TEST_F(LegacyImportOnServer, ExistingDataKeepsItsPricesAndNumbers) { existingDataKeepsItsPricesAndNumbers(); }

void LegacyImport::existingDataKeepsItsPricesAndNumbers() {
    Table& firma = table("Firma.db");
    Record r = newSecurityRecord(firma, "EUR");
    r.set("FirmenName", QString::fromUtf8("MÜLLER MASCHINEN AG"));
    const int muller = *appendSecurity(firma, r);
    // Numbers up to 20 were handed out; the deleted ones are never given again.
    for (int i = 0; i < 19; ++i) {
        r.set("FirmenName", QString("Weg %1").arg(i));
        ASSERT_TRUE(deleteSecurity(*store, *appendSecurity(firma, r)).isOk());
    }
    Record price = table("Aktien.db").newRecord();
    price.set("Firma", muller);
    price.set("Datum", 44270);
    price.set("Kurs", 50.0);
    ASSERT_TRUE(table("Aktien.db").append(price).isOk());

    NoProgress none;
    auto report = importLegacy(*store, oldData().dir(), none);
    ASSERT_TRUE(report.isOk()) << report.status().message().toStdString();
    EXPECT_EQ(tableReport(*report, "Firma.DB")->existing, 1);
    EXPECT_EQ(tableReport(*report, "Firma.DB")->added, 2);
    EXPECT_EQ(*firma.count(Query()), 3);
    // Matched by name with case and umlauts folded; its newer price stays.
    EXPECT_EQ((**table("Aktien.db").findKey({muller, 44270})).value("Kurs").toDouble(), 50.0);
    EXPECT_EQ(tableReport(*report, "Aktien.DB")->existing, 1);
    EXPECT_EQ(*table("Aktien.db").count(Query::detailOf(muller)), 5000);
    // The others get numbers after the highest ever handed out, in the old order.
    EXPECT_EQ((**firma.findKey({21})).value("FirmenName").toString(), QString::fromUtf8("Straße & Söhne KG"));
    EXPECT_EQ((**firma.findKey({22})).value("FirmenName").toString(), QString::fromUtf8("Zürcher Bank"));
    EXPECT_EQ((**table("Aktien.db").findKey({21, 44270})).value("Kurs").toDouble(), 123.45);
    EXPECT_EQ(*table("Transaktionen.db").count(Query::detailOf(21)), 1);
}

TEST_F(LegacyImport, TheCommandCountsWithoutWritingOnADryRunAndImportsOtherwise) {
    const QString home = dir + "home/";
    auto dry = qtest::runCli({"--home", home, "--settings", dir + "q.conf", "import-legacy", oldData().dir(), "--dry-run", "--json"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(dry.out.toUtf8()).object();
    EXPECT_TRUE(o["dryRun"].toBool());
    const QJsonArray tables = o["tables"].toArray();
    ASSERT_FALSE(tables.isEmpty());
    EXPECT_EQ(tables[0].toObject()["file"].toString(), "Firma.DB");
    EXPECT_EQ(tables[1].toObject()["read"].toInt(), 10001);
    EXPECT_EQ(tables[1].toObject()["skipped"].toInt(), 1);
    EXPECT_EQ(o["skippedFiles"].toArray().size(), 3);
    EXPECT_FALSE(QFile::exists(home + "Firma.db"));

    auto run = qtest::runCli({"--home", home, "--settings", dir + "q.conf", "import-legacy", oldData().dir()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Aktien.DB -> Aktien.db: 10001 gelesen, 10000 neu, 0 vorhanden, 1 ausgelassen\n")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QString::fromUtf8("Ausgelassen: Watch.DB: Die Datei %1Watch.DB ist verschlüsselt\n").arg(oldData().dir())));

    auto missing = qtest::runCli({"--home", home, "--settings", dir + "q.conf", "import-legacy", dir + "gibtsnicht"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.trimmed(), QString("Das Verzeichnis %1gibtsnicht gibt es nicht").arg(dir));
}
