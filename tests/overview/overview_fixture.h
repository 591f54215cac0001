// A data directory in a temporary folder with the catalogue's tables, and helpers to
// write securities, prices, volumes and lots as a user's tables hold them.
#pragma once

#include "base/clock.h"
#include "portfolio/lot.h"
#include "store/store.h"
#include "support/data_dir_fixture.h"
#include "support/test_support.h"

class OverviewTest : public DataDirTest {
protected:
    void TearDown() override { q::setToday(QDate()); }

    // Appends a security with its fundamentals and returns its number.
    int security(const QString& name, double dividende = 0, double gewinn = 0, double cashflow = 0, double aktienzahl = 0);
    // Sets fields of a security's record.
    void setField(int firma, const QString& field, const QVariant& value);
    void volume(int firma, const QDate& day, qint64 volumen);
    void lot(int firma, const QDate& bought, double anteile, double ankauf, const QDate& sold = QDate(), double erloes = 0,
             const QString& text = QString());
};

// The date of "dd.mm.yyyy".
QDate day(const char* text);
