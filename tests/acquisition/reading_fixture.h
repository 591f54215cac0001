// An installation in a temporary folder with the catalogue's tables, securities
// with their station match texts, and files written as receivers write them.
#pragma once

#include "acquisition/reading_settings.h"
#include "store/store.h"
#include "support/test_support.h"

#include <QDate>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

class ReadingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A security named `name` whose match text on every station is `match`.
    int security(const QString& name, const QString& match, const QString& kennung = QString());
    void price(int firma, const QDate& day, double kurs);
    std::optional<double> priceOn(int firma, const QDate& day);
    std::optional<qint64> volumeOn(int firma, const QDate& day);
    qint64 rows(const QString& file);
    // Writes lines as a Windows-1252 file with CRLF.
    QString writeLines(const QString& path, const QStringList& lines);
    QStringList readLines(const QString& path);

    QTemporaryDir m_tmp;
    QString install;  // ends with "/"
    QString data;
    QString work;
    std::unique_ptr<q::Store> store;
    q::ReadingSettings settings;
    // The day the tests take as today.
    const QDate today{2004, 3, 10};
};
