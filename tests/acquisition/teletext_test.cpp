#include "acquisition/dvb_source.h"
#include "acquisition/teletext_cache.h"
#include "sample/teletext_stream.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;
using namespace q::sample;

namespace {

TeletextPage page(int number, int subpage, const QStringList& rows, bool complete = true) {
    return TeletextPage{number, subpage, QStringLiteral("Videotext %1").arg(number, 0, 16), rows, complete};
}

StreamPlan twoStations(bool tables = true) {
    TeletextService zdf{0x100, "ZDF", {}};
    zdf.pages = {page(0x200, 0, {"DAX-Werte        10.03.", "SIEMENS         45,20", "M\u00fcnchener R\u00fcck  150,00"}),
                 page(0x201, 0x0001, {"Seite 1/3", "BASF            41,10"}),
                 page(0x201, 0x0002, {"Seite 2/3", "BAYER           30,25"}),
                 page(0x201, 0x0003, {"Seite 3/3", "E.ON            50,00"}),
                 // The last page of its magazine: no header follows, so it never completes.
                 page(0x202, 0, {"unvollst\u00e4ndig"}, false)};
    TeletextService ntv{0x101, "n-tv", {page(0x200, 0, {"n-tv Kurse", "SIEMENS         45,30"})}};
    StreamPlan plan;
    plan.services = {zdf, ntv};
    plan.tables = tables;
    plan.cycles = 2;
    plan.fillerPackets = 3;
    return plan;
}

class Teletext : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_tmp.isValid()); }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = m_tmp.filePath(name);
        qtest::writeFile(path, bytes);
        return path;
    }
    std::unique_ptr<TeletextCache> read(const QString& path) {
        NoProgress progress;
        auto cache = readTransportStream(path, 1, progress);
        EXPECT_TRUE(cache.isOk()) << cache.status().message().toStdString();
        return cache ? std::move(*cache) : nullptr;
    }
    QTemporaryDir m_tmp;
};

}  // namespace

TEST_F(Teletext, KeepsEveryPageAndSubpageOfEachStationsStream) {
    auto cache = read(write("zwei.ts", teletextStream(twoStations())));
    ASSERT_TRUE(cache);
    const auto streams = cache->streams();
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].pid, 0x100);
    EXPECT_EQ(streams[0].services, QStringList{"ZDF"});
    EXPECT_EQ(streams[1].services, QStringList{"n-tv"});
    EXPECT_EQ(cache->subpages(0x100, 0x200), std::vector<int>{0});
    EXPECT_EQ(cache->subpages(0x100, 0x201), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(cache->subpages(0x100, 0x202).empty());
    EXPECT_FALSE(cache->page(0x100, 0x202, std::nullopt).has_value());

    const auto rows = cache->page(0x100, 0x200, 0);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 24);
    EXPECT_TRUE((*rows)[0].contains("Videotext 200"));
    EXPECT_EQ((*rows)[2], QString("SIEMENS         45,20").leftJustified(40));
    // The header selects the German set: "}" on the air is "ü" on the screen.
    EXPECT_EQ((*rows)[3].trimmed(), "M\u00fcnchener R\u00fcck  150,00");
    // Without a subpage the newest one.
    EXPECT_EQ((*cache->page(0x100, 0x201, std::nullopt))[1].trimmed(), "Seite 3/3");
}

TEST_F(Teletext, StationsAreFoundByTheirServiceName) {
    auto cache = read(write("zwei.ts", teletextStream(twoStations())));
    ASSERT_TRUE(cache);
    EXPECT_EQ(*cache->streamFor("zdf", 0), 0x100);
    EXPECT_EQ(*cache->streamFor("N-TV", 0), 0x101);
    EXPECT_EQ(*cache->streamFor("BSP", 0x101), 0x101);
    const auto missing = cache->streamFor("BSP", 0);
    EXPECT_EQ(missing.status().category(), Category::NotFound);
    EXPECT_EQ(missing.status().message(), "kann den Sender \"BSP\" nicht finden!");
    EXPECT_EQ(cache->streamFor("ZDF", 0x300).status().message(),
              "Der Datenstrom " + cache->source() + " enthält keinen Videotext auf PID 768");

    // A recording without tables names no service: its first teletext stream serves.
    auto bare = read(write("ohne.ts", teletextStream(twoStations(false))));
    ASSERT_TRUE(bare);
    EXPECT_EQ(*bare->streamFor("BSP", 0), 0x100);
}

TEST_F(Teletext, ThePageSourceCountsSubpagesFromZero) {
    auto cache = read(write("zwei.ts", teletextStream(twoStations())));
    ASSERT_TRUE(cache);
    DvbPageSource source(std::shared_ptr<const TeletextCache>(std::move(cache)), 0);
    const auto third = source.fetch({"ZDF", "ZDF201", "201", 2});
    ASSERT_TRUE(third.isOk());
    ASSERT_TRUE(third->has_value());
    EXPECT_EQ((**third).split('\n').value(2).trimmed(), "E.ON            50,00");
    EXPECT_FALSE(source.fetch({"ZDF", "ZDF201", "201", 3})->has_value());
    EXPECT_FALSE(source.fetch({"ZDF", "ZDF999", "999", 0})->has_value());
    EXPECT_EQ(source.fetch({"ARD", "ARD200", "200", 0}).status().message(), "kann den Sender \"ARD\" nicht finden!");
}

TEST_F(Teletext, ATruncatedStreamKeepsThePagesBeforeTheCut) {
    const QByteArray whole = teletextStream(twoStations());
    // Cut in the middle of a packet, part way through the second cycle.
    auto cache = read(write("kurz.ts", whole.left(whole.size() * 3 / 4 + 77)));
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->subpages(0x100, 0x201), (std::vector<int>{1, 2, 3}));
    // Garbage spliced in: the demultiplexer finds the packets again.
    QByteArray spliced = whole.left(188 * 5 + 31) + QByteArray(1000, '\x47') + whole.mid(188 * 5 + 31);
    auto again = read(write("kaputt.ts", spliced));
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->page(0x101, 0x200, 0).has_value());
}

TEST_F(Teletext, StreamsWithoutTeletextAreRefusedWithAMessage) {
    NoProgress progress;
    StreamPlan onlyPicture;
    onlyPicture.services = {TeletextService{0x100, "ZDF", {}}};
    onlyPicture.fillerPackets = 50;
    // No teletext packet at all: only the tables and the picture's packets.
    QByteArray bytes = teletextStream(onlyPicture);
    const QString picture = write("bild.ts", bytes);
    auto none = readTransportStream(picture, 1, progress);
    EXPECT_EQ(none.status().category(), Category::NotFound);
    EXPECT_EQ(none.status().message(), "Der Datenstrom " + picture + " enthält keinen Videotext");

    QByteArray noise;
    for (int i = 0; i < 100000; ++i) noise += char((i * 7919 + i / 13) & 0xFF);
    const QString garbage = write("rauschen.ts", noise);
    EXPECT_EQ(readTransportStream(garbage, 1, progress).status().message(), "Der Datenstrom " + garbage + " enthält keinen Videotext");
    const QString empty = write("leer.ts", QByteArray());
    EXPECT_EQ(readTransportStream(empty, 1, progress).status().message(), "Der Datenstrom " + empty + " ist leer");
    EXPECT_EQ(readTransportStream(m_tmp.filePath("fehlt.ts"), 1, progress).status().category(), Category::NotFound);
}

TEST(TeletextNumbers, PagesAndSubpagesAsUsersWriteThem) {
    EXPECT_EQ(teletextPageNumber("200"), 0x200);
    EXPECT_EQ(teletextPageNumber("899"), 0x899);
    for (const char* bad : {"099", "900", "20", "2000", "2a0", ""}) EXPECT_FALSE(teletextPageNumber(bad).has_value()) << bad;
    EXPECT_EQ(teletextSubpageNumber("1"), 0x0001);
    EXPECT_EQ(teletextSubpageNumber("0001"), 0x0001);
    EXPECT_EQ(teletextSubpageNumber("12"), 0x0012);
    for (const char* bad : {"", "00001", "x1", "9999"}) EXPECT_FALSE(teletextSubpageNumber(bad).has_value()) << bad;
    EXPECT_EQ(teletextSubpageText(0x12), "0012");
}
