#include "support/data_dir_fixture.h"

#include "base/formats.h"
#include "store/firma_hooks.h"

#include <QDir>

using namespace q;

void DataDirTest::SetUp() {
    ASSERT_TRUE(m_tmp.isValid());
    dir = m_tmp.path() + QStringLiteral("/");
    QDir().mkpath(dir + QStringLiteral("Temp"));
    store = std::make_unique<Store>(StoreDirs{dir, dir, dir + QStringLiteral("Temp/"), dir});
    for (const QString& f : startupTableOrder()) ASSERT_TRUE(store->ensure(f).isOk()) << f.toStdString();
}

Table& DataDirTest::table(const QString& file) {
    auto t = store->table(file);
    EXPECT_TRUE(t.isOk()) << t.status().message().toStdString();
    return **t;
}

int DataDirTest::appendSecurity(const QString& name, const QString& waehrung,
                              std::initializer_list<std::pair<const char*, QVariant>> fields) {
    Table& firma = table(QStringLiteral("Firma.db"));
    Record r = newSecurityRecord(firma, waehrung);
    r.set(QStringLiteral("FirmenName"), name);
    for (const auto& [field, value] : fields) r.set(QLatin1String(field), value);
    auto n = q::appendSecurity(firma, r);
    EXPECT_TRUE(n.isOk()) << n.status().message().toStdString();
    return n.isOk() ? *n : 0;
}

void DataDirTest::price(int firma, const QDate& day, double kurs) {
    Table& aktien = table(QStringLiteral("Aktien.db"));
    Record r = aktien.newRecord();
    r.set(QStringLiteral("Firma"), firma);
    r.set(QStringLiteral("Datum"), dayNumber(day));
    r.set(QStringLiteral("Kurs"), kurs);
    ASSERT_TRUE(aktien.append(r).isOk());
}
