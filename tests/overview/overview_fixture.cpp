#include "overview_fixture.h"

#include "base/formats.h"
#include "store/firma_hooks.h"

#include <QDir>

using namespace q;

QDate day(const char* text) { return *parseDate(QString::fromLatin1(text)); }

void OverviewTest::SetUp() {
    ASSERT_TRUE(m_tmp.isValid());
    dir = m_tmp.path() + QStringLiteral("/");
    QDir().mkpath(dir + QStringLiteral("Temp"));
    store = std::make_unique<Store>(StoreDirs{dir, dir, dir + QStringLiteral("Temp/"), dir});
    for (const QString& f : startupTableOrder()) ASSERT_TRUE(store->ensure(f).isOk()) << f.toStdString();
}

Table& OverviewTest::table(const QString& file) {
    auto t = store->table(file);
    EXPECT_TRUE(t.isOk()) << t.status().message().toStdString();
    return **t;
}

int OverviewTest::security(const QString& name, double dividende, double gewinn, double cashflow, double aktienzahl) {
    Table& firma = table(QStringLiteral("Firma.db"));
    Record r = newSecurityRecord(firma, QStringLiteral("EUR"));
    r.set(QStringLiteral("FirmenName"), name);
    r.set(QStringLiteral("Dividende"), dividende);
    r.set(QStringLiteral("Gewinn"), gewinn);
    r.set(QStringLiteral("CashFlow"), cashflow);
    r.set(QStringLiteral("Aktienzahl"), aktienzahl);
    auto n = appendSecurity(firma, r);
    EXPECT_TRUE(n.isOk()) << n.status().message().toStdString();
    return n.isOk() ? *n : 0;
}

void OverviewTest::setField(int firma, const QString& field, const QVariant& value) {
    Table& t = table(QStringLiteral("Firma.db"));
    auto found = t.findKey({firma});
    ASSERT_TRUE(found.isOk() && found->has_value());
    Record after = **found;
    after.set(field, value);
    ASSERT_TRUE(t.update(**found, after).isOk());
}

void OverviewTest::price(int firma, const QDate& d, double kurs) {
    Table& aktien = table(QStringLiteral("Aktien.db"));
    Record r = aktien.newRecord();
    r.set(QStringLiteral("Firma"), firma);
    r.set(QStringLiteral("Datum"), dayNumber(d));
    r.set(QStringLiteral("Kurs"), kurs);
    ASSERT_TRUE(aktien.append(r).isOk());
}

void OverviewTest::volume(int firma, const QDate& d, qint64 volumen) {
    Table& t = table(QStringLiteral("Volumen.db"));
    Record r = t.newRecord();
    r.set(QStringLiteral("Firma"), firma);
    r.set(QStringLiteral("Datum"), dayNumber(d));
    r.set(QStringLiteral("Volumen"), volumen);
    ASSERT_TRUE(t.append(r).isOk());
}

void OverviewTest::lot(int firma, const QDate& bought, double anteile, double ankauf, const QDate& sold, double erloes,
                       const QString& text) {
    Lot l;
    l.Firma = firma;
    l.Datum = bought;
    l.Anteile = anteile;
    l.Ankauf = ankauf;
    l.Verkauf = sold;
    l.Erloes = erloes;
    l.FirmenName = text;
    ASSERT_TRUE(appendLot(*store, l).isOk());
}
