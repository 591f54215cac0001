#include "acquisition/internet_source.h"
#include "acquisition/reading_fixture.h"
#include "base/formats.h"
#include "sample/quote_server.h"

#include <QCoreApplication>

using namespace q;

namespace {

class InternetSource : public ReadingTest {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    void SetUp() override {
        ReadingTest::SetUp();
        ASSERT_TRUE(server.listen());
        internet.zeitlimit = 1;
        internet.maxBytes = 1024;
    }
    int withAddress(const QString& name, const QString& internetField, const QString& kennung = QString()) {
        const int firma = security(name, name.toUpper(), kennung);
        Table& t = **store->table("Firma.db");
        Record before = **t.findKey({firma});
        Record after = before;
        after.set("Internet", internetField);
        EXPECT_TRUE(t.update(before, after).isOk());
        return firma;
    }
    InternetReport run(const InternetRunOptions& options = {}) {
        auto securities = internetSecurities(*store, {}, QString(), false);
        EXPECT_TRUE(securities.isOk());
        NoProgress progress;
        ReadingHooks hooks;
        return internetRun(*store, *securities, settings, internet, options, hooks, progress);
    }

    sample::QuoteServer server;
    InternetSettings internet;
};

const QByteArray kCsv = "Date,Open,High,Low,Close,Volume\r\n2004-03-09,1,1,1,10.5,100\r\n2004-03-10,1,1,1,11.25,2500\r\n";

}  // namespace

TEST_F(InternetSource, BooksCsvJsonAndHtmlAnswersAndLogsEveryFailure) {
    server.set("/a.csv", {200, kCsv});
    server.set("/b.json", {200, R"({"result":[{"price":42.5,"time":"2004-03-10T14:35:00"}]})", "application/json"});
    server.set("/c.html", {200, "<html><td>Kurs: 7.25 EUR</td></html>", "text/html"});
    server.set("/q?wkn=723610", {200, "Close\n99.5\n"});
    server.set("/error", {500, "kaputt"});
    server.set("/slow", {200, kCsv, "text/csv", 0, QString(), true});
    server.set("/big", {200, QByteArray(2000, 'x')});
    server.set("/loop", {302, "", "text/plain", 0, server.url("/loop")});
    server.set("/broken.json", {200, "{oops"});
    server.set("/na.csv", {200, "Close\nn/a\n"});
    sample::QuoteServer gone;
    ASSERT_TRUE(gone.listen());
    const QString refused = gone.url("/a.csv");
    gone.close();
    internet.url = server.url("/q?wkn=[Internet]");
    // Answers without that column keep a volume of 0.
    internet.volumen = "csv:Volume";

    const int a = withAddress("A AG", server.url("/a.csv"));
    const int b = withAddress("B AG", server.url("/b.json") + " | json:result[0].price");
    const int c = withAddress("C AG", server.url("/c.html") + " | text:Kurs: ([0-9.,]+)");
    const int d = withAddress("D AG", "", "723610");  // the template with its identifier
    const std::pair<const char*, const char*> failing[] = {{"F404", "/missing"}, {"F500", "/error"},  {"FSLOW", "/slow"},
                                                           {"FBIG", "/big"},     {"FLOOP", "/loop"},  {"FJSON", "/broken.json | json:x"},
                                                           {"FNA", "/na.csv"}};
    for (const auto& [name, path] : failing) withAddress(name, server.url(path));
    withAddress("Weg AG", refused);
    withAddress("Ftp AG", "ftp://127.0.0.1/a.csv");
    withAddress("Ohne AG", "");

    const InternetReport r = run();
    ASSERT_TRUE(r.read.status.isOk()) << r.read.status.message().toStdString();
    EXPECT_EQ(priceOn(a, today), 11.25);
    EXPECT_EQ(priceOn(b, today), 42.5);
    EXPECT_EQ(priceOn(c, today), 7.25);
    EXPECT_EQ(priceOn(d, today), 99.5);
    EXPECT_EQ(rows("Aktien.db"), 4);
    EXPECT_EQ(r.read.counts.booked, 4);
    EXPECT_EQ(r.notFound, (QStringList{"Ftp AG", "F404", "F500", "FSLOW", "FBIG", "FLOOP", "FJSON", "FNA", "Weg AG"}));
    const QString log = r.read.log.join("\n");
    for (const char* reason : {"(HTTP 404)", "(HTTP 500)", "(Zeitlimit von 1 s überschritten)", "(Antwort größer als 1024 Bytes)",
                               "(zu viele Weiterleitungen)", "(JSON fehlerhaft", "(kein Kurs: n/a)", "(Verbindung abgelehnt)",
                               "(Nur http- und https-Adressen werden abgerufen: ftp://127.0.0.1/a.csv)"})
        EXPECT_TRUE(log.contains(QString::fromUtf8(reason))) << reason;
    EXPECT_TRUE(r.read.log.contains("Ohne AG hat keine Kennung"));
    EXPECT_TRUE(r.read.log.filter("A AG").value(0).startsWith("A AG\t11,25\t2500\t10.03.2004 "));
    EXPECT_EQ(volumeOn(a, today), 2500);
}

TEST_F(InternetSource, TheIntradaySourceAlsoWritesIntradayPricesByFirma) {
    server.set("/b.json", {200, R"({"result":[{"price":42.5,"time":"2004-03-10T14:35:00"}]})"});
    internet.zeit = "json:result[0].time";
    // The station names differ from the security's name: the quote is booked by number.
    const int b = withAddress("B AG", server.url("/b.json") + " | json:result[0].price");
    const InternetReport r = run({true, false});
    ASSERT_TRUE(r.read.status.isOk());
    auto rowsOfB = (*store->table("Intraday.db"))->rows(Query::detailOf(b));
    ASSERT_EQ(rowsOfB->size(), 1u);
    EXPECT_EQ(formatDateTime(dateTimeFromNumber((*rowsOfB)[0].value("ZEIT").toDouble())), "10.03.2004 14:35");
    EXPECT_EQ(priceOn(b, today), 42.5);
}

TEST_F(InternetSource, ADryRunReadsTheAnswersAndBooksNothing) {
    server.set("/a.csv", {200, kCsv});
    internet.datum = "csv:Date";
    withAddress("A AG", server.url("/a.csv"));
    const InternetReport r = run({false, true});
    ASSERT_EQ(r.quotes.size(), 1u);
    EXPECT_EQ(r.quotes[0].httpStatus, 200);
    ASSERT_TRUE(r.quotes[0].picked);
    EXPECT_EQ(r.quotes[0].picked->kurs, 11.25);
    EXPECT_EQ(r.quotes[0].picked->datum, QDate(2004, 3, 10));
    EXPECT_EQ(rows("Aktien.db"), 0);
}

TEST_F(InternetSource, AddressesAndPickersFollowTheSettings) {
    InternetSettings s;
    s.url = "https://kurse.example/suche?q=[Internet]&n=[Firma]";
    InternetSecurity sec{7, "Müller & Söhne", "A0B1C2", "DE000A0B1C20", "MUE", ""};
    EXPECT_EQ(internetRequest(sec, s)->url.toString(QUrl::FullyEncoded), "https://kurse.example/suche?q=A0B1C2&n=7");
    sec.Internet = "Müller & Söhne";
    EXPECT_EQ(internetRequest(sec, s)->url.toString(QUrl::FullyEncoded), "https://kurse.example/suche?q=M%C3%BCller%20%26%20S%C3%B6hne&n=7");
    sec.Internet = "HTTP://x.example/[ISIN].csv | csv:3";
    auto r = internetRequest(sec, s);
    EXPECT_EQ(r->url.toString(), "http://x.example/DE000A0B1C20.csv");
    EXPECT_EQ(r->kursPicker, "csv:3");
    sec.Internet = "file:///etc/passwd";
    EXPECT_EQ(internetRequest(sec, s).status().message(), "Nur http- und https-Adressen werden abgerufen: file:///etc/passwd");

    s.dezimalzeichen = QLatin1Char(',');
    EXPECT_EQ(pickQuote("Name;Kurs\nX;1.234,50\n", "csv:Kurs", s)->kurs, 1234.5);
    EXPECT_EQ(pickQuote("Name;Kurs\nX;1.234,50\n", "csv:2", s)->kurs, 1234.5);
    EXPECT_EQ(pickQuote("Name;Kurs\n", "csv:Preis", s).status().message(), "Spalte Preis fehlt");
    EXPECT_EQ(pickQuote(R"({"a":[1,{"b":"3,5"}]})", "json:a[1].b", s)->kurs, 3.5);
    EXPECT_EQ(pickQuote("<b>ohne</b>", "text:Kurs (\\d+)", s).status().message(), "kein Treffer für Kurs (\\d+)");
}

TEST_F(InternetSource, TheTimeLimitIsForTheWholeAnswerAndTheCapStopsAnAnswerWithoutLength) {
    // One byte every 100 ms: about 10 s for the whole answer, against a limit of 1 s.
    sample::Answer drip{200, kCsv};
    drip.dripMs = 100;
    server.set("/drip.csv", drip);
    // 50 MB in chunks, never announced.
    sample::Answer endless{200, {}};
    endless.chunked = true;
    endless.chunkedBytes = 50 * 1024 * 1024;
    server.set("/endless.csv", endless);
    server.set("/nan.csv", {200, "Close\nNaN\n"});
    withAddress("Tropf AG", server.url("/drip.csv"));
    withAddress("Endlos AG", server.url("/endless.csv"));
    const int nan = withAddress("Nan AG", server.url("/nan.csv"));
    price(nan, QDate(2004, 3, 10), 10.0);
    const InternetReport r = run();
    ASSERT_TRUE(r.read.status.isOk()) << r.read.status.message().toStdString();
    const QString log = r.read.log.join("\n");
    EXPECT_TRUE(log.contains("Tropf AG") && log.contains("(Zeitlimit von 1 s überschritten)")) << log.toStdString();
    EXPECT_TRUE(log.contains("(Antwort größer als 1024 Bytes)")) << log.toStdString();
    EXPECT_TRUE(log.contains("(keine Zahl: NaN)")) << log.toStdString();
    EXPECT_EQ(priceOn(nan, QDate(2004, 3, 10)), 10.0);
    EXPECT_EQ(rows("Aktien.db"), 1);
}
