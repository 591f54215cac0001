#include "acquisition/reading_fixture.h"

#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "store/firma_hooks.h"

#include <QDir>

using namespace q;

void ReadingTest::SetUp() {
    ASSERT_TRUE(m_tmp.isValid());
    setToday(today);
    install = m_tmp.path() + "/";
    data = install + "Daten/";
    work = install + "Temp/";
    QDir().mkpath(data);
    QDir().mkpath(work);
    store = std::make_unique<Store>(StoreDirs{data, data, work, install});
    for (const QString& f : startupTableOrder()) ASSERT_TRUE(store->ensure(f).isOk()) << f.toStdString();
    ASSERT_TRUE(store->ensure("Nachrichten.db").isOk());
    settings.vtDatei = install + "aktien.txt";
    settings.workDir = work;
    settings.installDir = install;
    settings.filterPath = install + "Filter/";
    settings.nachrichtenPath = install + "Nachrichten/";
    settings.bestaetigen = false;
}

void ReadingTest::TearDown() { setToday(QDate()); }

int ReadingTest::security(const QString& name, const QString& match, const QString& kennung) {
    Table& firma = **store->table("Firma.db");
    Record r = newSecurityRecord(firma, "EUR");
    r.set("FirmenName", name);
    r.set("Kennung", kennung);
    for (const char* c : {"ZDF", "N-TV", "SF1", "Sender4"}) r.set(QLatin1String(c), match);
    auto id = appendSecurity(firma, r);
    EXPECT_TRUE(id.isOk()) << id.status().message().toStdString();
    return id ? *id : 0;
}

void ReadingTest::price(int firma, const QDate& day, double kurs) {
    Table& aktien = **store->table("Aktien.db");
    Record r = aktien.newRecord();
    r.set("Firma", firma);
    r.set("Datum", dayNumber(day));
    r.set("Kurs", kurs);
    ASSERT_TRUE(aktien.append(r).isOk());
}

std::optional<double> ReadingTest::priceOn(int firma, const QDate& day) {
    auto r = (*store->table("Aktien.db"))->findKey({firma, dayNumber(day)});
    if (!r || !r->has_value()) return std::nullopt;
    return (*r)->value("Kurs").toDouble();
}

std::optional<qint64> ReadingTest::volumeOn(int firma, const QDate& day) {
    auto r = (*store->table("Volumen.db"))->findKey({firma, dayNumber(day)});
    if (!r || !r->has_value()) return std::nullopt;
    return (*r)->value("Volumen").toLongLong();
}

qint64 ReadingTest::rows(const QString& file) { return *(*store->table(file))->count(Query()); }

QString ReadingTest::writeLines(const QString& path, const QStringList& lines) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(writeTextLines(path, lines).isOk());
    return path;
}

QStringList ReadingTest::readLines(const QString& path) {
    auto lines = readTextLines(path);
    return lines ? *lines : QStringList();
}
