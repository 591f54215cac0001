#include "app/directories.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

void writeProgram(const QString& path, bool executable) {
    qtest::writeFile(path, "#!/bin/sh\n");
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) p |= QFile::ExeOwner;
    QFile::setPermissions(path, p);
}

}  // namespace

TEST(CompanionProgram, FoundInTheBinFolderWhateverTheLetterCase) {
    QTemporaryDir dir;
    const QString install = dir.path() + "/";
    EXPECT_TRUE(companionProgram(install, "analyse").isEmpty());  // no bin folder yet

    QDir(dir.path()).mkdir("BIN");
    EXPECT_TRUE(companionProgram(install, "analyse").isEmpty());  // an empty one

    writeProgram(dir.path() + "/BIN/Analyse", true);
    EXPECT_EQ(companionProgram(install, "analyse"), dir.path() + "/BIN/Analyse");
}

TEST(CompanionProgram, AFileThatCannotRunOrAFolderIsNoProgram) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("bin/analyse");
    EXPECT_TRUE(companionProgram(dir.path(), "analyse").isEmpty());

    QTemporaryDir other;
    QDir(other.path()).mkdir("bin");
    writeProgram(other.path() + "/bin/analyse", false);
    EXPECT_TRUE(companionProgram(other.path(), "analyse").isEmpty());
}
