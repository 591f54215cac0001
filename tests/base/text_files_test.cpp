#include "base/text_files.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

TEST(TextFiles, ReadsWindows1252WithAnyLineEnd) {
    QTemporaryDir dir;
    const QString path = dir.filePath("namen.txt");
    qtest::writeFile(path, QByteArray("B\xf6rse\r\nEuro \x80\nM\xe4rz\rletzte"));
    auto lines = readTextLines(path);
    ASSERT_TRUE(lines.isOk());
    EXPECT_EQ(*lines, (QStringList{QString::fromUtf8("Börse"), QString::fromUtf8("Euro €"), QString::fromUtf8("März"), "letzte"}));
}

TEST(TextFiles, WritesCrlfAndWindows1252) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    ASSERT_TRUE(writeTextLines(path, {QString::fromUtf8("Grüße €"), ""}).isOk());
    EXPECT_EQ(qtest::readFile(path), QByteArray("Gr\xfc\xdf" "e \x80\r\n\r\n"));
}

TEST(TextFiles, MissingFileIsNotFoundNamingTheFile) {
    auto lines = readTextLines("/nonexistent/x.txt");
    ASSERT_FALSE(lines.isOk());
    EXPECT_EQ(lines.status().category(), Category::NotFound);
    EXPECT_EQ(lines.status().message(), "Datei /nonexistent/x.txt nicht gefunden");
}

TEST(TextFiles, FindsFilesWhateverTheirCase) {
    QTemporaryDir dir;
    qtest::writeFile(dir.filePath("AKTIEN.DB"), "x");
    EXPECT_EQ(findFile(dir.path(), "aktien.db"), dir.filePath("AKTIEN.DB"));
    EXPECT_TRUE(fileExists(dir.path() + "/", "Aktien.db"));
    EXPECT_EQ(filePath(dir.path(), "Firma.db"), dir.filePath("Firma.db"));
}
