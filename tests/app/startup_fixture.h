// A home directory and a settings file in a temporary folder, and one call that
// runs a whole start and close as the program does.
#pragma once

#include "app/startup.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class StartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        home = m_tmp.path() + QStringLiteral("/home/");
        settingsFile = m_tmp.path() + QStringLiteral("/conf/Quintara.conf");
    }
    // Starts (and, when `close`, closes) once; returns the start's status.
    q::Status start(q::Session& s, q::Interaction& ui, bool close = true) {
        q::NoProgress progress;
        q::Status st = q::startUp(s, {QString(), home, settingsFile}, ui, progress);
        if (st.isOk() && close) {
            q::Status c = q::closeDown(s);
            EXPECT_TRUE(c.isOk()) << c.message().toStdString();
        }
        return st;
    }
    q::Status startOnce(bool close = true) {
        q::Session s;
        q::ScriptedInteraction ui;
        return start(s, ui, close);
    }
    QString tmp(const QString& name) const { return m_tmp.path() + QLatin1Char('/') + name; }

    QTemporaryDir m_tmp;
    QString home;
    QString settingsFile;
};
