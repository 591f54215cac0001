// quintara-cli on an installation in a temporary folder, started once; today is
// 10.03.2004.
#pragma once

#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class InstallationCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        home = m_tmp.path() + "/home/";
        settingsFile = m_tmp.path() + "/conf/Quintara.conf";
        ASSERT_EQ(cli({"start"}).exitCode, 0);
    }
    qtest::CliRun cli(QStringList args) {
        return qtest::runCli(QStringList{"--home", home, "--settings", settingsFile, "--today", "10.03.2004"} + args);
    }
    QTemporaryDir m_tmp;
    QString home;
    QString settingsFile;
};
