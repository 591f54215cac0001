#include "overview_fixture.h"

#include "base/formats.h"

using namespace q;

QDate day(const char* text) { return *parseDate(QString::fromLatin1(text)); }

int OverviewTest::security(const QString& name, double dividende, double gewinn, double cashflow, double aktienzahl) {
    return appendSecurity(name, QStringLiteral("EUR"),
                          {{"Dividende", dividende}, {"Gewinn", gewinn}, {"CashFlow", cashflow}, {"Aktienzahl", aktienzahl}});
}

void OverviewTest::setField(int firma, const QString& field, const QVariant& value) {
    Table& t = table(QStringLiteral("Firma.db"));
    auto found = t.findKey({firma});
    ASSERT_TRUE(found.isOk() && found->has_value());
    Record after = **found;
    after.set(field, value);
    ASSERT_TRUE(t.update(**found, after).isOk());
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
