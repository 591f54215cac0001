#include "base/formats.h"
#include "exchange/export_file.h"
#include "exchange/price_text_export.h"
#include "store/catalogue.h"
#include "store/firma_hooks.h"
#include "store/store.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

class PriceText : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        dir = m_tmp.path() + "/";
        store = std::make_unique<Store>(StoreDirs{dir, dir, dir, dir});
        for (const QString& f : startupTableOrder()) ASSERT_TRUE(store->ensure(f).isOk());
        alpha = add("Alpha", 1, "ALPHA", "A1");
        beta = add("Beta", 0, "", "");
        gamma = add("Gamma", 101, "", "G1");
        put(alpha, "02.01.2026", 12.5, 300);
        put(alpha, "05.01.2026", 12.75);
        put(alpha, "06.01.2026", 13);
        put(beta, "02.01.2026", 7);
        put(gamma, "02.01.2026", 99);
    }
    int add(const QString& name, QVariant gruppe, const QString& zdf, const QString& kennung) {
        Table& t = **store->table("Firma.db");
        Record r = newSecurityRecord(t, "EUR");
        r.set("FirmenName", name);
        r.set("Gruppe", gruppe);
        r.set("ZDF", zdf);
        r.set("Kennung", kennung);
        return *appendSecurity(t, r);
    }
    void put(int f, const char* day, double kurs, std::optional<qint64> volumen = std::nullopt) {
        Record r = (*store->table("Aktien.db"))->newRecord();
        r.set("Firma", f);
        r.set("Datum", dayNumber(*parseDate(day)));
        r.set("Kurs", kurs);
        ASSERT_TRUE((*store->table("Aktien.db"))->append(r).isOk());
        if (!volumen) return;
        Record v = (*store->table("Volumen.db"))->newRecord();
        v.set("Firma", f);
        v.set("Datum", dayNumber(*parseDate(day)));
        v.set("Volumen", *volumen);
        ASSERT_TRUE((*store->table("Volumen.db"))->append(v).isOk());
    }
    Result<PriceTextReport> run(bool extended, const QString& file) {
        PriceTextOptions o;
        o.from = QDate(2026, 1, 2);
        o.to = QDate(2026, 1, 5);
        o.extended = extended;
        NoProgress progress;
        return exportPriceText(*store, file, o, progress);
    }

    QTemporaryDir m_tmp;
    QString dir;
    std::unique_ptr<Store> store;
    int alpha = 0, beta = 0, gamma = 0;
};

}  // namespace

TEST_F(PriceText, PlainLayoutWalksGroupsNoughtToAHundredAndNamesByTheZdfText) {
    EXPECT_EQ(priceTextFileName(QDate(2026, 1, 2)), "02012026.txt");
    auto r = run(false, dir + "02012026.txt");
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(qtest::readFile(dir + "02012026.txt"),
              "02.01.2026\r\nBeta\t7,00\r\n02.01.2026\r\nALPHA\t12,50\r\n05.01.2026\r\nALPHA\t12,75\r\n");
    EXPECT_EQ(r->prices, 3);
    EXPECT_EQ(r->securities, 2);
}

TEST_F(PriceText, ExtendedLayoutTakesEveryGroupAndTheVolumeOfTheDay) {
    // A group of NULL stands in group 0. Beta has no identifier: its ZDF text (the
    // master fills the station columns with the name) stands in for it.
    const int none = add("Ohne", QVariant(), "", "N1");
    put(none, "02.01.2026", 1);
    auto r = run(true, dir + "x.txt");
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(qtest::readFile(dir + "x.txt"),
              "02.01.2026\r\nBeta\tBeta\t7,00\t0\r\n02.01.2026\r\nOhne\tN1\t1,00\t0\r\n"
              "02.01.2026\r\nAlpha\tA1\t12,50\t300\r\n05.01.2026\r\nAlpha\tA1\t12,75\t0\r\n"
              "02.01.2026\r\nGamma\tG1\t99,00\t0\r\n");
}

TEST_F(PriceText, NamesOutsideWindows1252AreCountedAndAnUnwritableTargetIsNamed) {
    const int omega = add("Ωmega", 0, "", "");
    put(omega, "02.01.2026", 2);
    auto r = run(false, dir + "o.txt");
    ASSERT_TRUE(r.isOk());
    EXPECT_EQ(r->replaced, 1);
    EXPECT_TRUE(qtest::readFile(dir + "o.txt").contains("?mega\t2,00"));
    qtest::writeFile(dir + "datei", "x");
    qtest::writeFile(dir + "alt.txt", "alt");
    auto failed = run(false, dir + "datei/02012026.txt");
    ASSERT_FALSE(failed.isOk());
    EXPECT_EQ(failed.status().category(), Category::Io);
    EXPECT_TRUE(failed.status().message().contains(QDir::toNativeSeparators(dir + "datei"))) << failed.status().message().toStdString();
}

// The byte writer of the exports writes what the text formatter writes, ties to even.
TEST(ExportNumbers, BytesMatchTheTextFormatter) {
    const double prices[] = {0.005, 0.015, 1.0, 2.665, 10.125, 12.5, 99.995, 1234.5678, 0.00001, 123456789.125, 3e14, 7e20};
    for (double kurs : prices)
        for (int decimals : {0, 2, 3, 4}) {
            QByteArray bytes;
            q::appendFixedPrice(bytes, kurs, decimals);
            EXPECT_EQ(QString::fromLatin1(bytes), q::fixedPriceText(kurs, decimals)) << kurs << " " << decimals;
        }
    QByteArray date;
    q::appendDate(date, QDate(2026, 1, 9));
    EXPECT_EQ(date, "09.01.2026");
}
