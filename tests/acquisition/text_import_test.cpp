#include "acquisition/manual_entry.h"
#include "acquisition/reading_fixture.h"
#include "acquisition/text_import.h"
#include "base/formats.h"

#include <QFile>
#include <QRegularExpression>

using namespace q;

namespace {

using TextImport = ReadingTest;

QString withoutTime(QString line) { return line.replace(QRegularExpression(" \\d\\d:\\d\\d"), " hh:nn"); }

void setColumn(Store& store, int firma, const QString& column, const QString& value) {
    Table& t = **store.table("Firma.db");
    Record before = **t.findKey({firma});
    Record after = before;
    after.set(column, value);
    ASSERT_TRUE(t.update(before, after).isOk());
}

}  // namespace

TEST_F(TextImport, PlainListMatchesTheZdfColumnWithNamesAsWrittenAndListsTheRest) {
    const int siemens = security("Siemens AG", "SIEMENS");
    const int basf = security("BASF AG", "BASF");
    const int daimler = security("Daimler AG", "DAIMLER");
    // The daily station is N-TV, whose column names Siemens otherwise: the file still
    // matches on ZDF.
    setColumn(*store, siemens, "N-TV", "SIEMENS N");
    settings.kursSender = "N-TV";
    price(basf, QDate(2004, 3, 1), 1000.0);
    price(daimler, QDate(2004, 3, 1), 40.0);
    const QString file = writeLines(install + "kurse.txt", {
        "05.03.2004",
        "SIEMENS  \t60,00",                     // trailing blanks: another name
        "SIEMENS\t61,50\t\t1200",
        "UNBEKANNT\t10,00",
        "BASF\t1.234,56\t06.03.2004",           // +23.456 %: plausible
        "DAIMLER\t10,00",                       // -75 %: implausible, split 1:4
        QString(300, 'X') + "\t1,00",           // overlong
        "NUR EIN FELD",
    });
    NoProgress progress;
    ReadingHooks hooks;
    const ReadReport r = importPriceText(*store, file, TextLayout::Names, settings, hooks, progress);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    EXPECT_EQ(priceOn(siemens, QDate(2004, 3, 5)), 61.5);
    EXPECT_EQ(volumeOn(siemens, QDate(2004, 3, 5)), 1200);
    EXPECT_EQ(priceOn(basf, QDate(2004, 3, 6)), 1234.56);
    EXPECT_FALSE(priceOn(daimler, QDate(2004, 3, 6)));
    EXPECT_EQ(r.counts.booked, 2);
    EXPECT_EQ(r.counts.unmatched, 2);
    EXPECT_EQ(r.counts.implausible, 1);
    EXPECT_EQ(r.counts.skipped, 2);
    EXPECT_EQ(withoutTime(readLines(work + "PNeue.txt").value(0)), "SIEMENS  \t60,00\t05.03.2004 hh:nn");
    EXPECT_EQ(withoutTime(readLines(work + "PNeue.txt").value(1)), "UNBEKANNT\t10,00\t05.03.2004 hh:nn");
    EXPECT_EQ(withoutTime(readLines(work + "PExtrem.txt").value(0)), "DAIMLER\t10,00\t-75,00%\t06.03.2004 hh:nn\tKurs 1:4 gesplittet?");
    EXPECT_TRUE(QFile::exists(file)) << "the importer leaves deleting to the question";
}

TEST_F(TextImport, IdentifierListMatchesTheWknAndTakesUpNewSecuritiesWithIt) {
    const int siemens = security("Siemens AG", "SIEMENS", "723610");
    settings.alle = true;
    const QString file = writeLines(install + "wkn.txt", {
        "irgendein Name\t723610\t62,00\t09.03.2004",
        "Neue AG\tA0B1C2\t12,5",
        "Ohne Kennung\t\t3,00",
    });
    NoProgress progress;
    ReadingHooks hooks;
    const ReadReport r = importPriceText(*store, file, TextLayout::Identifiers, settings, hooks, progress);
    ASSERT_TRUE(r.status.isOk());
    EXPECT_EQ(priceOn(siemens, QDate(2004, 3, 9)), 62.0);
    EXPECT_EQ(r.counts.newSecurities, 1);
    EXPECT_EQ(r.counts.skipped, 1);
    Query byWkn;
    byWkn.equal.push_back({"Kennung", "A0B1C2"});
    const auto added = *(*store->table("Firma.db"))->first(byWkn);
    ASSERT_TRUE(added.has_value());
    EXPECT_EQ(added->value("FirmenName").toString(), "Neue AG");
    EXPECT_EQ(added->value("ZDF").toString(), "Neue AG");
    // The first line's date holds for the lines after it.
    EXPECT_EQ(priceOn(added->value("Firma").toInt(), QDate(2004, 3, 9)), 12.5);
}

TEST_F(TextImport, InfobeatBooksOnlyNewerQuotesWithTwoDigitYearsAndTomorrowAsToday) {
    const int siemens = security("Siemens AG", "SIEMENS", "723610");
    const int basf = security("BASF AG", "BASF", "515100");
    const QString file = writeLines(install + "infobeat.txt", {
        "\"723610\",\"61,50\",\"12/31/03\"",
        "\"723610\",\"62.00\",\"03/11/04\"",    // tomorrow: booked for today
        "\"515100\",\"40,00\",\"01/05/1985\"",  // a written century stays 1985
        "\"515100\",\"0\",\"03/09/04\"",        // a price of 0 is no quote
        "\"999999\",\"5,00\",\"03/09/04\"",
        "kaputt",
    });
    NoProgress progress;
    ReadingHooks hooks;
    const ReadReport r = importInfobeat(*store, file, settings, hooks, progress);
    ASSERT_TRUE(r.status.isOk());
    EXPECT_EQ(priceOn(siemens, QDate(2003, 12, 31)), 61.5);
    EXPECT_EQ(priceOn(siemens, today), 62.0);
    EXPECT_EQ(priceOn(basf, QDate(1985, 1, 5)), 40.0);
    EXPECT_EQ(rows("Aktien.db"), 3);
    EXPECT_EQ(r.counts.booked, 3);
    EXPECT_EQ(r.counts.unmatched, 1);
    EXPECT_EQ(r.counts.skipped, 2);

    const ReadReport again = importInfobeat(*store, file, settings, hooks, progress);
    EXPECT_EQ(again.counts.booked, 0);
    EXPECT_EQ(again.counts.already, 3);
    EXPECT_EQ(rows("Aktien.db"), 3);
}

TEST_F(TextImport, InfobeatDatesReadMonthFirst) {
    EXPECT_EQ(infobeatDate("12/31/03"), QDate(2003, 12, 31));
    EXPECT_EQ(infobeatDate("1/2/99"), QDate(1999, 1, 2));
    EXPECT_EQ(infobeatDate("1/2/89"), QDate(2089, 1, 2));
    EXPECT_EQ(infobeatDate("1/2/1989"), QDate(1989, 1, 2));
    EXPECT_FALSE(infobeatDate("31/12/03"));
    EXPECT_FALSE(infobeatDate("12.31.03"));
}

TEST_F(TextImport, UtfEightAndBareLineEndsReadAlike) {
    const int oel = security("Öl und Gas", "ÖL UND GAS");
    const QString file = install + "utf8.txt";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QString("ÖL UND GAS\t7,25\rÖL UND GAS\t7,50\t09.03.2004\n").toUtf8());
    f.close();
    NoProgress progress;
    ReadingHooks hooks;
    const ReadReport r = importPriceText(*store, file, TextLayout::Names, settings, hooks, progress);
    ASSERT_TRUE(r.status.isOk());
    EXPECT_EQ(priceOn(oel, today), 7.25);
    EXPECT_EQ(priceOn(oel, QDate(2004, 3, 9)), 7.5);
}

TEST_F(TextImport, DeletionIsOfferedOnlyAfterACompleteRun) {
    const QString file = writeLines(install + "weg.txt", {"X\t1,00"});
    ReadReport done;
    done.source = file;
    ScriptedInteraction no;
    EXPECT_FALSE(*offerTextFileDeletion(done, no));
    EXPECT_EQ(no.titles, QStringList{"Soll die Textdatei gelöscht werden?"});
    EXPECT_EQ(no.questions, QStringList{file});
    ReadReport stopped = done;
    stopped.status = Status::cancelled("Einlesen abgebrochen");
    ScriptedInteraction yes;
    yes.answers = {Answer::Yes};
    EXPECT_FALSE(*offerTextFileDeletion(stopped, yes));
    EXPECT_TRUE(yes.questions.isEmpty());
    EXPECT_TRUE(*offerTextFileDeletion(done, yes));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(TextImport, ManualEntryRefusesASecondPriceOfTheDayUnlessOverwriting) {
    const int siemens = security("Siemens AG", "SIEMENS");
    ASSERT_TRUE(enterPrice(*store, siemens, today, 61.5, false).isOk());
    auto second = enterPrice(*store, siemens, today, 62.0, false);
    ASSERT_FALSE(second.isOk());
    EXPECT_EQ(second.status().category(), Category::Invalid);
    EXPECT_EQ(second.status().message(), "Für Siemens AG gibt es am 10.03.2004 schon den Kurs 61,5");
    EXPECT_EQ(priceOn(siemens, today), 61.5);
    auto replaced = enterPrice(*store, siemens, today, 62.0, true);
    ASSERT_TRUE(replaced.isOk());
    EXPECT_EQ(replaced->replaced, 61.5);
    EXPECT_EQ(priceOn(siemens, today), 62.0);
    EXPECT_EQ(enterPrice(*store, siemens, today, 0, true).status().message(), "Der Kurs muss größer als 0 sein");
    EXPECT_EQ(enterPrice(*store, 999, today, 1, true).status().category(), Category::NotFound);
}

namespace {

// The split dialog's work: all prices of the security divided by the ratio, in a
// transaction of its own, as the portfolio's split does.
class SplitInTransaction final : public ReadingHooks {
public:
    bool offerSplit(Store& store, int firma, const QString&, double, int ratio) override {
        Table& t = **store.table("Aktien.db");
        Transaction tx(t.db());
        if (!tx.begin()) return false;
        const auto prices = t.rows(Query::detailOf(firma));
        for (const Record& r : *prices) {
            Record after = r;
            after.set("Kurs", r.value("Kurs").toDouble() / ratio);
            if (!t.update(r, after)) return false;
        }
        split = tx.commit().isOk();
        return split;
    }
    bool split = false;
};

}  // namespace

TEST_F(TextImport, ASplitOfferedDuringTheFileIsDoneOutsideItsBatch) {
    const int daimler = security("Daimler AG", "DAIMLER");
    const int basf = security("BASF AG", "BASF");
    price(daimler, QDate(2004, 3, 1), 40.0);
    settings.autoSplit = true;
    const QString file = writeLines(install + "split.txt", {"BASF\t50,00", "DAIMLER\t10,00", "BASF\t51,00\t09.03.2004"});
    NoProgress progress;
    SplitInTransaction hooks;
    const ReadReport r = importPriceText(*store, file, TextLayout::Names, settings, hooks, progress);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    EXPECT_TRUE(hooks.split);
    // 40 split 1:4 is 10: the new price is no fall any more.
    EXPECT_EQ(priceOn(daimler, QDate(2004, 3, 1)), 10.0);
    EXPECT_EQ(priceOn(daimler, today), 10.0);
    EXPECT_EQ(priceOn(basf, QDate(2004, 3, 9)), 51.0);
}
