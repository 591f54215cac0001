// A data directory in a temporary folder holding the catalogue's tables (the work
// directory is its Temp/), and helpers that write securities and prices as a user's
// tables hold them.
#pragma once

#include "store/store.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

class DataDirTest : public ::testing::Test {
protected:
    void SetUp() override;

    q::Table& table(const QString& file);
    // Appends a security named `name` with currency `waehrung` and these further
    // fields; returns its number (0 when it could not be appended).
    int appendSecurity(const QString& name, const QString& waehrung,
                       std::initializer_list<std::pair<const char*, QVariant>> fields = {});
    // Writes the price of the day.
    void price(int firma, const QDate& day, double kurs);

    QTemporaryDir m_tmp;
    QString dir;
    std::unique_ptr<q::Store> store;
};
