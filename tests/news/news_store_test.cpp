// The news table and its item files in a temporary data and news directory.
#include "base/text_files.h"
#include "news/news_store.h"
#include "support/data_dir_fixture.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>

using namespace q;

namespace {

class News : public DataDirTest {
protected:
    void SetUp() override {
        DataDirTest::SetUp();
        newsDir = dir + "Nachrichten/";
        QDir().mkpath(newsDir);
    }
    NewsItem add(qint64 nummer, const char* when, int firma, bool aktiv, const char* file = nullptr) {
        NewsItem n;
        n.Nummer = nummer;
        n.Zeit = QDateTime::fromString(QString::fromLatin1(when), "dd.MM.yyyy hh:mm");
        n.Nachricht = QString("Meldung %1").arg(nummer);
        n.Firma = firma;
        n.Aktiv = aktiv;
        EXPECT_TRUE(saveNewsItem(*store, n).isOk());
        if (file) qtest::writeFile(newsDir + QString::fromLatin1(file), "Text\r\n");
        return n;
    }
    QList<qint64> numbers(const NewsFilter& f) {
        QList<qint64> out;
        auto items = listNews(*store, f);
        for (const NewsItem& n : *items) out << n.Nummer;
        return out;
    }
    QString newsDir;
};

}  // namespace

TEST_F(News, TheSwitchesChooseGeneralAndCompanyItemsNewestFirst) {
    add(1, "01.03.2025 10:00", 0, true);
    add(2, "02.03.2025 10:00", 7, true);
    add(3, "03.03.2025 10:00", 8, false);
    add(4, "28.02.2025 09:00", 7, true);
    NewsFilter all;
    EXPECT_EQ(numbers(all), (QList<qint64>{2, 1, 4}));
    all.inactive = true;
    EXPECT_EQ(numbers(all), (QList<qint64>{3, 2, 1, 4}));
    NewsFilter companies;
    companies.general = false;  // "News" off, no security: only linked items
    EXPECT_EQ(numbers(companies), (QList<qint64>{2, 4}));
    NewsFilter ofSeven;
    ofSeven.general = false;
    ofSeven.security = 7;
    EXPECT_EQ(numbers(ofSeven), (QList<qint64>{2, 4}));
    ofSeven.security = 8;
    EXPECT_TRUE(numbers(ofSeven).isEmpty());
}

TEST_F(News, AMarchItemIsShownFromItsZeroPrefixedFile) {
    add(3121530, "12.03.2025 15:30", 0, true);
    qtest::writeFile(newsDir + "03121530.TXT", "Zinsen steigen \xfc" "ber Nacht\r\n");
    const NewsText t = readNewsText(newsDir, 3121530);
    EXPECT_EQ(t.path, newsDir + "03121530.TXT");
    EXPECT_FALSE(t.html);
    EXPECT_EQ(t.text, QString::fromUtf8("Zinsen steigen über Nacht\r\n"));
    qtest::writeFile(newsDir + "55.htm", "<p>Hallo</p>");
    EXPECT_TRUE(readNewsText(newsDir, 55).html);
    const NewsText none = readNewsText(newsDir, 56);
    EXPECT_TRUE(none.path.isEmpty());
    EXPECT_EQ(none.text, "Zu dieser Nachricht gibt es keine Datei (56.TXT)");
}

TEST_F(News, PurgingOldNewsKeepsLinkedAndTodaysItems) {
    add(10, "15.03.2025 08:00", 0, false, "10.TXT");    // inactive
    add(11, "19.01.2026 12:00", 0, true, "011.TXT");    // yesterday's general item
    add(12, "01.06.2025 12:00", 5, true, "12.TXT");     // linked, last year
    add(13, "20.01.2026 07:00", 0, true, "13.HTM");     // today's general item
    ScriptedInteraction no;
    EXPECT_EQ(purgeOldNewsAsked(*store, newsDir, QDate(2026, 1, 20), no).status().category(), Category::Cancelled);
    EXPECT_EQ(no.titles, QStringList{"Inaktive und Alte nicht zugeordnete Nachrichten löschen?"});
    auto r = purgeNews(*store, newsDir, NewsPurge::Old, QDate(2026, 1, 20));
    ASSERT_TRUE(r.isOk());
    EXPECT_EQ(r->items, 2);
    EXPECT_EQ(r->files, 2);
    NewsFilter everything;
    everything.inactive = true;
    EXPECT_EQ(numbers(everything), (QList<qint64>{13, 12}));
    EXPECT_FALSE(QFile::exists(newsDir + "10.TXT"));
    EXPECT_FALSE(QFile::exists(newsDir + "011.TXT"));
    EXPECT_TRUE(QFile::exists(newsDir + "12.TXT"));
    EXPECT_TRUE(QFile::exists(newsDir + "13.HTM"));
}

TEST_F(News, TwoHeadlinesWithinAMinuteBothStay) {
    const QDateTime now(QDate(2026, 1, 20), QTime(10, 0, 0));
    auto first = addNews(*store, newsDir, "Erste", 0, now);
    auto second = addNews(*store, newsDir, "Zweite", 0, now.addSecs(30));
    ASSERT_TRUE(first.isOk() && second.isOk());
    // 30 seconds are 0,35 thousandths of a day: the same rounded number.
    EXPECT_EQ(second->Nummer, first->Nummer + 1);
    EXPECT_EQ(readNews(*store, first->Nummer)->Nachricht, "Erste");
    EXPECT_EQ(readNews(*store, second->Nummer)->Nachricht, "Zweite");

    auto longer = addNews(*store, newsDir, QString(300, QLatin1Char('x')), 3, now, QString("Zeile 1\nZeile 2"));
    ASSERT_TRUE(longer.isOk());
    EXPECT_EQ(readNews(*store, longer->Nummer)->Nachricht.size(), 255);
    EXPECT_EQ(qtest::readFile(newsDir + QString::number(longer->Nummer) + ".TXT"), QByteArray("Zeile 1\r\nZeile 2\r\n"));
    EXPECT_EQ(addNews(*store, newsDir, "  ", 0, now).status().message(), "Die Überschrift fehlt");
}

TEST_F(News, EditingAndDeletingAnItem) {
    add(20, "01.03.2025 10:00", 0, true, "020.TXT");
    qtest::writeFile(newsDir + "20.HTM", "<p/>");
    NewsEdit e;
    e.headline = "Neu";
    e.aktiv = false;
    e.firma = 4;
    e.zeit = QDateTime(QDate(2025, 3, 2), QTime(11, 15));
    auto edited = editNews(*store, 20, e);
    ASSERT_TRUE(edited.isOk());
    const NewsItem n = *readNews(*store, 20);
    EXPECT_EQ(n.Nachricht, "Neu");
    EXPECT_FALSE(n.Aktiv);
    EXPECT_EQ(n.Firma, 4);
    EXPECT_EQ(n.Zeit, QDateTime(QDate(2025, 3, 2), QTime(11, 15)));
    ASSERT_TRUE(deleteNews(*store, newsDir, 20).isOk());
    EXPECT_EQ(readNews(*store, 20).status().message(), "Nachricht 20 nicht gefunden");
    EXPECT_FALSE(QFile::exists(newsDir + "020.TXT"));
    EXPECT_FALSE(QFile::exists(newsDir + "20.HTM"));
    EXPECT_EQ(deleteNews(*store, newsDir, 20).category(), Category::NotFound);
}
