#include "acquisition/capture.h"
#include "acquisition/dvb_source.h"
#include "acquisition/installation_cli.h"
#include "acquisition/page_config.h"
#include "acquisition/reading_fixture.h"
#include "base/text_files.h"
#include "sample/teletext_stream.h"
#include "store/firma_hooks.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace q;
using namespace q::sample;

namespace {

// The ZDF price page 200 with three subpages of prices, as the station sends it.
StreamPlan pricePages() {
    TeletextService zdf{0x100, "ZDF", {}};
    zdf.pages = {TeletextPage{0x200, 0x0001, "ZDFtext 200", {"Aktien A-M", "SIEMENS         45,20", "BASF            27,50"}},
                 TeletextPage{0x200, 0x0002, "ZDFtext 200", {"Aktien N-Z", "NEUE AG         12,00", "M\u00dcNCHENER R\u00dcCK 150,00"}},
                 TeletextPage{0x200, 0x0003, "ZDFtext 200", {"Indizes", "DAX           4.012,35"}}};
    StreamPlan plan;
    plan.services = {zdf};
    plan.fillerPackets = 2;
    return plan;
}

// Mask: header row dropped, "|" under the prices' last digits (a tab in the file).
QStringList priceMask() {
    return {"", QString(40, '#'), QString(40, '#'), QString(20, 'x') + "|", QString(20, 'x') + "|"};
}

class Capture : public ReadingTest {
protected:
    void SetUp() override {
        ReadingTest::SetUp();
        writeLines(settings.filterPath + "zdf200.msk", priceMask());
        ASSERT_TRUE(addPage(*store, kDailyPages, {"Aktien", "ZDF", "ZDF200", 1, 3, "zdf200.msk"}).isOk());
        stream = m_tmp.filePath("zdf.ts");
        ASSERT_TRUE(writeTeletextStream(stream, pricePages()).isOk());
    }
    Result<CaptureReport> capture() {
        NoProgress progress;
        auto cache = readTransportStream(stream, 1, progress);
        EXPECT_TRUE(cache.isOk());
        DvbPageSource source(std::shared_ptr<const TeletextCache>(std::move(*cache)), 0);
        return captureDailyPages(*store, settings, source, progress);
    }
    QString stream;
};

}  // namespace

TEST_F(Capture, TheDailyPagesMaskedIntoTheDailyPriceFile) {
    EXPECT_EQ(capturedSubpages(1, 3), std::make_pair(0, 2));
    EXPECT_EQ(capturedSubpages(0, 0), std::make_pair(0, 0));
    auto report = capture();
    ASSERT_TRUE(report.isOk()) << report.status().message().toStdString();
    EXPECT_EQ(report->pages, 3);
    EXPECT_EQ(report->pagesMissing, 0);
    EXPECT_EQ(readLines(settings.vtDatei), (QStringList{"SIEMENS         \t45,20", "BASF            \t27,50", "NEUE AG         \t12,00",
                                                        "MÜNCHENER RÜCK \t150,00", "DAX           \t4.012,35"}));
    // The script appends: a second capture before reading keeps the first lines.
    ASSERT_TRUE(capture().isOk());
    EXPECT_EQ(readLines(settings.vtDatei).size(), 10);
}

TEST_F(Capture, AStationNotInTheStreamWritesNothing) {
    ASSERT_TRUE(addPage(*store, kDailyPages, {"Aktien", "ARD", "ARD300", 1, 2, "zdf200.msk"}).isOk());
    auto report = capture();
    EXPECT_EQ(report.status().message(), "kann den Sender \"ARD\" nicht finden!");
    EXPECT_FALSE(QFile::exists(settings.vtDatei));
}

namespace {

class CaptureCli : public InstallationCli {};

}  // namespace

TEST_F(CaptureCli, CaptureThenReadBooksTheStationsPrices) {
    const QString stream = m_tmp.filePath("zdf.ts");
    ASSERT_TRUE(writeTeletextStream(stream, pricePages()).isOk());
    int siemens = 0;
    {
        Store store({home, home, home + "Temp/", home});
        Table& firma = **store.table("Firma.db");
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", "Siemens AG");
        r.set("ZDF", "SIEMENS");
        r.set("N-TV", "SIEMENS");  // the page route matches on the intraday station (DDESender)
        siemens = *appendSecurity(firma, r);
        Record b = newSecurityRecord(firma, "EUR");
        b.set("FirmenName", "BASF AG");
        b.set("ZDF", "BASF");
        const int basf = *appendSecurity(firma, b);
        Table& aktien = **store.table("Aktien.db");
        Record p = aktien.newRecord();
        p.set("Firma", basf);
        p.set("Datum", 38055);  // 09.03.2004
        p.set("Kurs", 50.0);
        ASSERT_TRUE(aktien.append(p).isOk());
        QDir().mkpath(home + "Filter");
        ASSERT_TRUE(writeTextLines(home + "Filter/zdf200.msk", priceMask()).isOk());
        ASSERT_TRUE(addPage(store, kDailyPages, {"Aktien", "ZDF", "ZDF200", 1, 3, "zdf200.msk"}).isOk());
    }

    auto captured = cli({"capture", "--ts", stream});
    ASSERT_EQ(captured.exitCode, 0) << captured.err.toStdString();
    EXPECT_TRUE(captured.out.contains("Kursdatei: " + home + "aktien.txt")) << captured.out.toStdString();
    EXPECT_TRUE(captured.out.contains("Zeilen: 5"));

    auto read = cli({"--json", "read"});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(read.out.toUtf8()).object();
    EXPECT_EQ(o["booked"].toInt(), 1);
    EXPECT_EQ(o["unmatched"].toInt(), 3);
    EXPECT_EQ(o["implausible"].toInt(), 1);  // BASF -45 %
    EXPECT_TRUE(o["fileDeleted"].toBool());
    EXPECT_EQ(o["implausibleLines"].toArray().first().toString().left(22), "BASF\t27,50\t-45,00%\t10.");
    EXPECT_FALSE(QFile::exists(home + "aktien.txt"));
    EXPECT_TRUE(QFile::exists(home + "Temp/PNeue.txt"));
    Store store({home, home, home + "Temp/", home});
    auto price = (*store.table("Aktien.db"))->findKey({siemens, 38056});
    ASSERT_TRUE(price.isOk() && price->has_value());
    EXPECT_EQ((*price)->value("Kurs").toDouble(), 45.2);

    // Again, page by page straight from the stream: the same price is replaced.
    auto pages = cli({"read-pages", "--ts", stream});
    ASSERT_EQ(pages.exitCode, 0) << pages.err.toStdString();
    EXPECT_TRUE(pages.out.contains("Gebucht: 1\n")) << pages.out.toStdString();
    EXPECT_TRUE(pages.out.contains("Seiten gelesen: 3, nicht vorhanden: 0"));
}

TEST_F(CaptureCli, LookingAtAStreamsPages) {
    const QString stream = m_tmp.filePath("zdf.ts");
    ASSERT_TRUE(writeTeletextStream(stream, pricePages()).isOk());
    auto list = cli({"pages", "--ts", stream});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, "PID 256 (ZDF)\n  200 / 0001 0002 0003\n");

    auto page = cli({"page", "--ts", stream, "200/2"});
    ASSERT_EQ(page.exitCode, 0) << page.err.toStdString();
    const QStringList rows = page.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 24);
    EXPECT_EQ(rows[3].trimmed(), "MÜNCHENER RÜCK 150,00");
    EXPECT_EQ(cli({"page", "--ts", stream, "200/0002"}).out, page.out);
    EXPECT_TRUE(cli({"page", "--ts", stream, "200"}).out.contains("Indizes"));  // the newest subpage

    auto missing = cli({"page", "--ts", stream, "300"});
    EXPECT_EQ(missing.exitCode, 1);
    // Progress lines come first on stderr; the message is the last line.
    EXPECT_EQ(missing.err.trimmed().split('\n').last(), "Die Seite 300 ist im Datenstrom nicht vollständig enthalten");
    auto bad = cli({"page", "--ts", stream, "2x0/1"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.startsWith("Ungültige Seite: 2x0/1"));

    const QString noTeletext = m_tmp.filePath("leer.ts");
    qtest::writeFile(noTeletext, QByteArray(188 * 20, '\0'));
    auto none = cli({"capture", "--ts", noTeletext});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err.trimmed().split('\n').last(), "Der Datenstrom " + noTeletext + " enthält keinen Videotext");
}
