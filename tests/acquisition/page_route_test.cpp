#include "acquisition/command_source.h"
#include "acquisition/dvb_source.h"
#include "acquisition/page_config.h"
#include "acquisition/page_file_source.h"
#include "acquisition/page_route.h"
#include "acquisition/reading_fixture.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "sample/teletext_stream.h"

#include <QFile>
#include <QFileInfo>

using namespace q;
using namespace q::sample;

namespace {

// The ZDF price page 200 and news page 150 as a station sends them.
StreamPlan zdfPages() {
    TeletextService zdf{0x100, "ZDF", {}};
    zdf.pages = {
        TeletextPage{0x200, 0, "ZDFtext 200", {"10.03.2004 17:31", "SIEMENS         45,20", "BASF            27,50",
                                               "NEUE AG         12,00", "DT TELEKOM AG   14,85"}},
        TeletextPage{0x150, 0, "ZDFtext 150", {"Siemens erh\u00f6ht Prognose", "WKN: 723610", "Mehr Umsatz im Quartal"}},
    };
    StreamPlan plan;
    plan.services = {zdf};
    return plan;
}

const QString kPriceMask = QString(40, '#');

class PageRoute : public ReadingTest {
protected:
    void SetUp() override {
        ReadingTest::SetUp();
        settings.multiDec = true;  // pages cut with ";"
        settings.ddeSender = "ZDF";
        siemens = security("Siemens AG", "SIEMENS", "723610");
        basf = security("BASF AG", "BASF");
        telekom = security("Deutsche Telekom", "DT. TELEKOM");
        price(siemens, QDate(2004, 3, 9), 40.00);
        price(basf, QDate(2004, 3, 9), 50.00);
        price(telekom, QDate(2004, 3, 9), 14.50);
        // Header row dropped, "|" under the time's and the prices' last digits.
        writeLines(settings.filterPath + "zdf200.msk",
                   {"", QString(40, '#'), QString(15, 'x') + "|", QString(20, 'x') + "|", QString(20, 'x') + "|", QString(20, 'x') + "|",
                    QString(20, 'x') + "|"});
        writeLines(settings.filterPath + "news.msk", {"", QString(40, '#')});
        ASSERT_TRUE(addPage(*store, kIntradayPages, {"Kurse", "ZDF", "ZDF200", 1, 2, "zdf200.msk"}).isOk());
        ASSERT_TRUE(addPage(*store, kIntradayPages, {"NACHRICHTEN", "ZDF", "ZDF150", 1, 2, "news.msk"}).isOk());
        stream = m_tmp.filePath("zdf.ts");
        ASSERT_TRUE(writeTeletextStream(stream, zdfPages()).isOk());
    }
    std::unique_ptr<PageSource> source() {
        NoProgress progress;
        auto cache = readTransportStream(stream, 1, progress);
        EXPECT_TRUE(cache.isOk());
        return std::make_unique<DvbPageSource>(std::shared_ptr<const TeletextCache>(std::move(*cache)), 0);
    }
    ReadReport run(const PageRunOptions& options, Interaction& ui) {
        auto s = source();
        ReadingHooks hooks;
        NoProgress progress;
        return Kurseladen(*store, settings, *s, options, ui, hooks, progress);
    }
    std::vector<std::pair<QDateTime, double>> intraday(int firma) {
        std::vector<std::pair<QDateTime, double>> out;
        const auto rows = (*store->table("Intraday.db"))->rows(Query::detailOf(firma));
        for (const Record& r : *rows)
            out.push_back({dateTimeFromNumber(r.value("ZEIT").toDouble()), r.value("Kurs").toDouble()});
        return out;
    }

    int siemens = 0, basf = 0, telekom = 0;
    QString stream;
};

QDateTime at(int h, int m) { return QDateTime(QDate(2004, 3, 10), QTime(h, m)); }

}  // namespace

TEST_F(PageRoute, IntradayPricesWithTheirStartPriceAndTheProtocol) {
    ScriptedInteraction ui;
    const ReadReport r = run({kIntradayPages, false, false, false}, ui);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    EXPECT_EQ(r.counts.pagesRead, 2);
    EXPECT_EQ(r.counts.pagesMissing, 2);  // subpage index 1 of both pages
    EXPECT_EQ(r.counts.booked, 1);
    EXPECT_EQ(r.counts.implausible, 1);
    EXPECT_EQ(r.counts.unmatched, 2);  // NEUE AG, and DT TELEKOM AG without the correction mode

    // The first intraday price of the day is preceded by the last close, a minute earlier.
    const auto rows = intraday(siemens);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], std::make_pair(at(17, 30), 40.0));
    EXPECT_EQ(rows[1], std::make_pair(at(17, 31), 45.2));
    EXPECT_FALSE(priceOn(siemens, today).has_value());  // intraday only
    EXPECT_TRUE(intraday(basf).empty());
    EXPECT_EQ(readLines(work + "PNeue.txt"), (QStringList{"NEUE AG\t12,00\t10.03.2004 17:31", "DT TELEKOM AG\t14,85\t10.03.2004 17:31"}));
    EXPECT_EQ(readLines(work + "PExtrem.txt"), QStringList{"BASF\t27,50\t-45,00%\t10.03.2004 17:31"});
    EXPECT_TRUE(readLines(install + "Intraday.txt").contains("SIEMENS         ;45,20"));

    // A second run adds nothing: the intraday price of that moment exists.
    run({kIntradayPages, false, false, false}, ui);
    EXPECT_EQ(intraday(siemens).size(), 2u);
}

TEST_F(PageRoute, DailyPricesFromThePagesWithNewsItems) {
    ScriptedInteraction ui;
    const ReadReport r = run({kIntradayPages, true, true, false}, ui);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    EXPECT_EQ(priceOn(siemens, today), 45.2);
    EXPECT_EQ(r.counts.newSecurities, 2);  // NEUE AG and DT TELEKOM AG taken up

    // The news page: number "mmddhh" + page, linked by its WKN, text in its file.
    EXPECT_EQ(r.counts.news, 1);
    auto item = (*store->table("Nachrichten.db"))->findKey({31017150});
    ASSERT_TRUE(item.isOk() && item->has_value());
    EXPECT_EQ((*item)->value("Nachricht").toString(), "Siemens erhöht Prognose WKN: 723610");
    EXPECT_EQ((*item)->value("Firma").toInt(), siemens);
    EXPECT_TRUE((*item)->value("Aktiv").toBool());
    EXPECT_EQ(readLines(install + "Nachrichten/031017150.TXT"),
              (QStringList{"Siemens erhöht Prognose", "WKN: 723610", "Mehr Umsatz im Quartal"}));
    EXPECT_TRUE(r.log.contains("17:31 +++ Siemens erhöht Prognose WKN: 723610 (150)"));
}

TEST_F(PageRoute, CorrectionModeOffersToRenameAChangedMatchText) {
    ScriptedInteraction ui;
    ui.answers = {Answer::Yes};
    const ReadReport r = run({kIntradayPages, true, false, true}, ui);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    ASSERT_EQ(ui.titles, QStringList{"Neue Kennung?"});
    EXPECT_EQ(ui.questions[0], "Gefunden Deutsche Telekom mit der alten Kennung \"DT. TELEKOM\" neue Kennung :\"DT TELEKOM AG\"  der letzte "
                               "Wert ist vom 09.03.2004");
    EXPECT_TRUE(r.log.contains("DT TELEKOM AG Kennung geändert von \"DT. TELEKOM\" nach \"DT TELEKOM AG\""));
    EXPECT_EQ(priceOn(telekom, today), 14.85);
    EXPECT_EQ((*(*store->table("Firma.db"))->findKey({telekom}))->value("SF1").toString(), "DT TELEKOM AG");
    EXPECT_EQ(correctionKey("Dt.  Telekom & Co"), "DT");
    EXPECT_EQ(correctionKey("ABCDEFGHIJKLMNOPQRS+T.U"), "ABCSTU");
}

TEST_F(PageRoute, AStationMissingFromTheStreamStopsTheRun) {
    ASSERT_TRUE(addPage(*store, kIntradayPages, {"Kurse", "ARD", "ARD300", 1, 2, "zdf200.msk"}).isOk());
    // Its pages come first now, so nothing else is read either.
    auto pages = *readPages(*store, kIntradayPages);
    for (const PageEntry& p : pages)
        if (p.Sender == "ZDF") {
            ASSERT_TRUE(removePage(*store, kIntradayPages, p).isOk());
        }
    ASSERT_TRUE(addPage(*store, kIntradayPages, {"Kurse", "ZDF", "ZDF200", 1, 2, "zdf200.msk"}).isOk());
    ScriptedInteraction ui;
    const ReadReport r = run({kIntradayPages, true, false, false}, ui);
    EXPECT_EQ(r.status.message(), "kann den Sender \"ARD\" nicht finden!");
    EXPECT_EQ(r.counts.booked, 0);
    EXPECT_EQ(rows("Intraday.db"), 0);
}

TEST_F(PageRoute, PageFilesOfTodayAreReadAndOldOnesDeleted) {
    const QString dir = install + "receiver/";
    PageRequest page200{"ZDF", "ZDF200", "200", 0};
    const QString path = writeLines(pageFilePath(dir, page200), {"Videotext 200", "10.03.2004 17:31", "SIEMENS         45,20"});
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(today, QTime(12, 0)), QFileDevice::FileModificationTime));
    }
    PageFileSource files(dir, today);
    const auto text = files.fetch(page200);
    ASSERT_TRUE(text.isOk() && text->has_value());
    EXPECT_EQ(**text, "Videotext 200\n10.03.2004 17:31\nSIEMENS         45,20");
    EXPECT_TRUE(pageFilePath(dir, page200).endsWith("/ZDF/VT200-00.txt"));

    PageFileSource tomorrow(dir, today.addDays(1));
    EXPECT_FALSE(tomorrow.fetch(page200)->has_value());
    EXPECT_FALSE(QFile::exists(pageFilePath(dir, page200)));
}

TEST(PageCommand, TemplatesAreFilledIntoTheCommandLine) {
    const PageRequest r{"ZDF", "ZDF200", "200", 3};
    EXPECT_EQ(pageCommandLine("vtget --station \"Das Erste\"", "[Seite]:00[Unter]", "page", r),
              (QStringList{"vtget", "--station", "Das Erste", "200:0003", "page"}));
    EXPECT_EQ(pageCommandLine("cat /srv/vt/[SeiteName]-[Unter].txt", "", "", r), (QStringList{"cat", "/srv/vt/ZDF200-03.txt"}));
    EXPECT_TRUE(pageCommandLine("", "[Seite]", "", r).isEmpty());
}

TEST_F(ReadingTest, ACommandPrintsThePageOrSaysItHasNone) {
    const QString script = install + "seite.sh";
    qtest::writeFile(script, "if [ \"$1\" = 200 ]; then printf 'SIEMENS;45,20\\n'; else exit 1; fi\n");
    NoProgress progress;
    CommandPageSource source("/bin/sh " + script, "[Seite]", "", progress);
    const auto found = source.fetch({"ZDF", "ZDF200", "200", 0});
    ASSERT_TRUE(found.isOk()) << found.status().message().toStdString();
    EXPECT_EQ(found->value_or(QString()), "SIEMENS;45,20\n");
    EXPECT_FALSE(source.fetch({"ZDF", "ZDF201", "201", 0})->has_value());
    CommandPageSource missing("/nicht/da/vtget", "", "", progress);
    EXPECT_EQ(missing.fetch({"ZDF", "ZDF200", "200", 0}).status().message(), "Konnte /nicht/da/vtget nicht starten!!");
}

TEST(PageLoop, SubpageRangesAsTheTablesGiveThem) {
    EXPECT_EQ(pageLoopSubpages(1, 2), std::make_pair(0, 1));
    EXPECT_EQ(pageLoopSubpages(0, 0), std::make_pair(0, 0));
    EXPECT_EQ(pageLoopSubpages(2, 4), std::make_pair(2, 3));
    EXPECT_EQ(pageLoopSubpages(1, 30000), std::make_pair(0, 99));
}
