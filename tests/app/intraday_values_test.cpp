#include "app/intraday_values.h"

#include "base/formats.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

class IntradayValues : public ::testing::Test {
protected:
    void SetUp() override {
        const QString d = m_dir.path() + "/";
        m_store = Store({d, d, d, d});
        ASSERT_TRUE(m_store.ensure("Intraday.db").isOk());
        // 09:00 and 09:30 for security 7, 10:00 for security 8.
        ASSERT_TRUE(saveIntradayValues(m_store, 7, {{at(9, 30), 12.5, 300}, {at(9, 0), 12.0, std::nullopt}}).isOk());
        ASSERT_TRUE(saveIntradayValues(m_store, 8, {{at(10, 0), 99.0, 1}}).isOk());
    }
    static double at(int h, int m) { return timestampNumber(QDateTime(QDate(2026, 12, 2), QTime(h, m))); }

    QTemporaryDir m_dir;
    Store m_store;
};

}  // namespace

TEST_F(IntradayValues, ReadsOneSecurityOldestFirst) {
    auto values = intradayValues(m_store, 7);
    ASSERT_TRUE(values.isOk());
    ASSERT_EQ(values->size(), 2u);
    EXPECT_DOUBLE_EQ((*values)[0].Kurs, 12.0);
    EXPECT_FALSE((*values)[0].Volumen.has_value());
    EXPECT_EQ((*values)[1].Volumen, 300);
}

TEST_F(IntradayValues, SavingReplacesOnlyThatSecurity) {
    ASSERT_TRUE(saveIntradayValues(m_store, 7, {{at(11, 15), 13.25, std::nullopt}}).isOk());
    auto seven = intradayValues(m_store, 7);
    ASSERT_EQ(seven->size(), 1u);
    EXPECT_DOUBLE_EQ(seven->front().Kurs, 13.25);
    EXPECT_EQ(intradayValues(m_store, 8)->size(), 1u);
}

TEST_F(IntradayValues, RejectedListChangesNothing) {
    Status s = saveIntradayValues(m_store, 7, {{at(11, 0), 13.0, std::nullopt}, {at(11, 0), 14.0, std::nullopt}});
    EXPECT_EQ(s.category(), Category::Invalid);
    EXPECT_EQ(s.message(), "Der Zeitpunkt 02.12.2026 11:00 kommt doppelt vor");
    s = saveIntradayValues(m_store, 7, {{at(11, 5), 0.0, std::nullopt}});
    EXPECT_EQ(s.message(), QString::fromUtf8("Der Kurs um 11:05 muss größer als 0 sein"));
    EXPECT_EQ(intradayValues(m_store, 7)->size(), 2u);
}
