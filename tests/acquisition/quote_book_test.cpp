#include "acquisition/daily_route.h"
#include "acquisition/reading_fixture.h"
#include "acquisition/text_import.h"
#include "base/formats.h"

#include <QFile>
#include <QRegularExpression>

using namespace q;

namespace {

using QuoteGate = ReadingTest;

QString withoutTime(QString line) { return line.replace(QRegularExpression(" \\d\\d:\\d\\d"), " hh:nn"); }

}  // namespace

// Today is 10.03.2004. ALPHA has 10,00 on 08.03. and 10,00 on 09.03.
TEST_F(QuoteGate, NeitherFileRouteStoresAPriceNotPositiveTooLargeOrDatedAfterTomorrow) {
    const int alpha = security("Alpha AG", "ALPHA");
    price(alpha, QDate(2004, 3, 8), 10.0);
    price(alpha, QDate(2004, 3, 9), 10.0);
    for (const bool daily : {true, false}) {
        SCOPED_TRACE(daily ? "read" : "import-text");
        const QString file = writeLines(install + "aktien.txt", {
            "09.03.2004",
            "ALPHA\t1e308",        // a same-day overwrite of 10,00
            "ALPHA\t-5",
            "ALPHA\t2000000000000",
            "11.03.2004",          // tomorrow: allowed
            "ALPHA\t10,50",
            "31.12.9999",
            "ALPHA\t11,00",
        });
        NoProgress progress;
        ReadingHooks hooks;
        const ReadReport r = daily ? bookDailyFile(*store, file, settings, hooks, progress)
                                   : importPriceText(*store, file, TextLayout::Names, settings, hooks, progress);
        ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
        EXPECT_EQ(priceOn(alpha, QDate(2004, 3, 9)), 10.0) << "the stored price stays";
        EXPECT_EQ(priceOn(alpha, QDate(2004, 3, 11)), 10.5);
        EXPECT_EQ(rows("Aktien.db"), 3);
        EXPECT_EQ(r.counts.implausible, 4);
        QStringList listed;
        for (const QString& l : readLines(work + "PExtrem.txt")) listed << withoutTime(l);
        EXPECT_EQ(listed, (QStringList{"ALPHA\t1e308\tgrößer als 1.000.000.000.000\t09.03.2004 hh:nn", "ALPHA\t-5\tnicht größer als 0\t09.03.2004 hh:nn",
                                       "ALPHA\t2000000000000\tgrößer als 1.000.000.000.000\t09.03.2004 hh:nn",
                                       "ALPHA\t11,00\tDatum nach morgen\t31.12.9999 hh:nn"}));
    }
}

// ALPHA: 10,00 on 08.03.; 09.03. has 10,00 already. A replacement of 09.03. with
// 20,00 is +100 % against the 8th: outside the bounds (-45 %, +50 %), listed, kept.
// 10,40 is +4 %: replaces the day's price.
TEST_F(QuoteGate, ASameDayReplacementOutsideTheBoundsIsListedAndTheStoredPriceStays) {
    const int alpha = security("Alpha AG", "ALPHA");
    const int beta = security("Beta AG", "BETA");
    price(alpha, QDate(2004, 3, 8), 10.0);
    price(alpha, QDate(2004, 3, 9), 10.0);
    price(beta, QDate(2004, 3, 8), 10.0);
    price(beta, QDate(2004, 3, 9), 10.0);
    const QString file = writeLines(install + "aktien.txt", {"09.03.2004", "ALPHA\t20,00", "BETA\t10,40"});
    NoProgress progress;
    ReadingHooks hooks;
    const ReadReport r = bookDailyFile(*store, file, settings, hooks, progress);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    EXPECT_EQ(priceOn(alpha, QDate(2004, 3, 9)), 10.0);
    EXPECT_EQ(priceOn(beta, QDate(2004, 3, 9)), 10.4);
    EXPECT_EQ(r.counts.booked, 1);
    EXPECT_EQ(withoutTime(readLines(work + "PExtrem.txt").value(0)), "ALPHA\t20,00\t100,00%\t09.03.2004 hh:nn");
}

// A run stopped between a price and its volume (an older release wrote them
// apart) left 09.03. with 10,00 and no volume: the rerun of the same line writes
// the volume and counts the price as there.
TEST_F(QuoteGate, ARerunWritesTheMissingVolumeOfADayWhosePriceItFindsEqual) {
    const int alpha = security("Alpha AG", "ALPHA");
    price(alpha, QDate(2004, 3, 9), 10.0);
    for (const bool daily : {true, false}) {
        SCOPED_TRACE(daily ? "read" : "import-text");
        const QString file = writeLines(install + "aktien.txt", {"09.03.2004", "ALPHA\t10,00\t\t700"});
        NoProgress progress;
        ReadingHooks hooks;
        const ReadReport r = daily ? bookDailyFile(*store, file, settings, hooks, progress)
                                   : importPriceText(*store, file, TextLayout::Names, settings, hooks, progress);
        ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
        EXPECT_EQ(volumeOn(alpha, QDate(2004, 3, 9)), 700);
        EXPECT_EQ(r.counts.booked, 0);
        EXPECT_EQ(r.counts.already, 1);
        EXPECT_EQ(rows("Volumen.db"), 1);
    }
}

TEST_F(QuoteGate, AnEmptyOrBinaryDailyFileFailsAndStays) {
    security("Alpha AG", "ALPHA");
    for (const QByteArray& content : {QByteArray(), QByteArray("\x00\x01\x02\xff\xfe garbage \x00\r\n\x7f", 20)}) {
        const QString file = install + "aktien.txt";
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        NoProgress progress;
        ReadingHooks hooks;
        const ReadReport r = bookDailyFile(*store, file, settings, hooks, progress);
        EXPECT_EQ(r.status.category(), Category::Invalid);
        EXPECT_EQ(r.status.message(), "In der Datei " + file + " wurde kein Kurs gefunden");
        EXPECT_TRUE(QFile::exists(file));
        EXPECT_FALSE(r.fileDeleted);
    }
}
