#include "base/fields.h"

#include <gtest/gtest.h>

using namespace q;

TEST(Fields, ASeparatorInsideQuotesStaysInItsField) {
    const QStringList f = splitFields("\"31.01.2000\",\"1.234,56\",,\"a \"\"b\"\"\",7", QLatin1Char(','));
    ASSERT_EQ(f.size(), 5);
    EXPECT_EQ(unquoted(f[0]), "31.01.2000");
    EXPECT_EQ(unquoted(f[1]), "1.234,56");
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(unquoted(f[4]), "7");
    EXPECT_EQ(splitFields("a;b;", QLatin1Char(';')), (QStringList{"a", "b", ""}));
}
