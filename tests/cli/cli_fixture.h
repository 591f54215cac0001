// quintara-cli run on a fresh data directory, as a user drives it; today is
// `todayText`.
#pragma once

#include "app/startup_fixture.h"
#include "base/formats.h"
#include "store/firma_hooks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

class CliTest : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        auto r = run({"start"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        store = std::make_unique<q::Store>(q::StoreDirs{home, home, home + "Temp/", home});
    }
    qtest::CliRun run(QStringList args) {
        store.reset();  // the program writes; this connection only looks
        args = QStringList{"--home", home, "--settings", settingsFile, "--today", todayText} + args;
        auto r = qtest::runCli(args);
        store = std::make_unique<q::Store>(q::StoreDirs{home, home, home + "Temp/", home});
        return r;
    }
    // Runs with --json; expects success and returns the object.
    QJsonObject json(const QStringList& args) {
        auto r = run(QStringList{"--json"} + args);
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }
    int security(const QString& name, const QString& waehrung = "EUR") {
        auto firma = store->table("Firma.db");
        q::Record r = q::newSecurityRecord(**firma, waehrung);
        r.set("FirmenName", name);
        return *q::appendSecurity(**firma, r);
    }
    void price(int firma, const char* day, double kurs) {
        auto aktien = store->table("Aktien.db");
        q::Record r = (*aktien)->newRecord();
        r.set("Firma", firma);
        r.set("Datum", q::dayNumber(*q::parseDate(day)));
        r.set("Kurs", kurs);
        ASSERT_TRUE((*aktien)->append(r).isOk());
    }

    QString todayText = "28.06.2024";
    std::unique_ptr<q::Store> store;
};
