#include "acquisition/installation_cli.h"
#include "acquisition/sample_update.h"
#include "store/firma_hooks.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

// quintara-cli on an installation in a temporary folder, with one security
// (ZDF name "SIEMENS") whose last price is 50,00 on 09.03.2004.
class SampleUpdateCli : public InstallationCli {
protected:
    void SetUp() override {
        InstallationCli::SetUp();
        if (HasFatalFailure()) return;
        Store store({home, home, home + "Temp/", home});
        Table& firma = **store.table("Firma.db");
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", "Siemens AG");
        r.set("ZDF", "SIEMENS");
        siemens = *appendSecurity(firma, r);
        Table& aktien = **store.table("Aktien.db");
        Record p = aktien.newRecord();
        p.set("Firma", siemens);
        p.set("Datum", 38055);  // 09.03.2004
        p.set("Kurs", 50.0);
        ASSERT_TRUE(aktien.append(p).isOk());
    }
    // bin/beispielkurse as a shell script: notes its arguments in args.txt beside
    // bin/, then runs `body`.
    void writeProgram(const QString& body) {
        QDir().mkpath(home + "bin");
        QFile f(home + "bin/beispielkurse");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#!/bin/sh\ncd \"$(dirname \"$0\")/..\"\necho \"$@\" > args.txt\n" + body + "\n").toUtf8());
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    std::optional<double> priceOn(int day) {
        Store store({home, home, home + "Temp/", home});
        auto r = (*store.table("Aktien.db"))->findKey({siemens, day});
        if (!r || !r->has_value()) return std::nullopt;
        return (*r)->value("Kurs").toDouble();
    }
    int siemens = 0;
};

}  // namespace

TEST_F(SampleUpdateCli, StartsTheProgramWithTheLastPriceDayAndBooksWhatItWrote) {
    writeProgram("printf 'SIEMENS\\t51,00\\r\\n' > aktien.txt");
    auto run = cli({"--json", "sample-update"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile args(home + "args.txt");
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll(), "/K 09.03.2004\n");
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(o["source"].toString(), home + "aktien.txt");
    EXPECT_EQ(o["booked"].toInt(), 1);
    EXPECT_EQ(priceOn(38056), 51.0);  // 10.03.2004, the day of the run
    // The file is now the daily price file of later runs of "read".
    QFile conf(settingsFile);
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(conf.readAll()).contains(home + "aktien.txt"));
}

TEST_F(SampleUpdateCli, AMissingOrFailingProgramBooksNothing) {
    auto missing = cli({"sample-update"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("Das Programm beispielkurse fehlt im Verzeichnis " + home + "bin")) << missing.err.toStdString();

    writeProgram("printf 'SIEMENS\\t51,00\\r\\n' > aktien.txt\nexit 3");
    auto failing = cli({"sample-update"});
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_TRUE(failing.err.contains("endete mit dem Fehlercode 3")) << failing.err.toStdString();
    EXPECT_FALSE(priceOn(38056).has_value());
}

TEST(SampleUpdate, AnEmptyPriceTableAsksForTheWholeSpan) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/";
    Store store({dir, dir, dir, dir});
    ASSERT_TRUE(store.ensure("Aktien.db").isOk());
    auto last = lastPriceDate(store);
    ASSERT_TRUE(last.isOk()) << last.status().message().toStdString();
    EXPECT_FALSE(last->isValid());
    EXPECT_EQ(sampleArguments(*last), QStringList{"/K"});
    EXPECT_EQ(sampleArguments(QDate(2004, 3, 9)), (QStringList{"/K", "09.03.2004"}));
}
