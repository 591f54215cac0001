#include "store/data_lock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

// flock(2) locks belong to the open file, so two locks taken in one process
// exclude each other as two processes would.
TEST(DataLock, WritersShareTheDirectoryAndAReplacingJobWaitsThenFails) {
    QTemporaryDir dir;
    auto first = DataLock::acquire(dir.path(), LockMode::Shared, 0, {});
    auto second = DataLock::acquire(dir.path(), LockMode::Shared, 0, {});
    ASSERT_TRUE(first.isOk() && second.isOk());

    QStringList told;
    auto alone = DataLock::acquire(dir.path(), LockMode::Exclusive, 200, [&](const QString& m) { told << m; });
    EXPECT_EQ(alone.status().category(), Category::Busy);
    EXPECT_EQ(alone.status().message(), "Das Datenverzeichnis " + dir.path() + " ist von einem anderen Auftrag belegt");
    EXPECT_EQ(told, QStringList{"Das Datenverzeichnis " + dir.path() + " wird von einem anderen Auftrag benutzt; es wird bis zu 0 s gewartet"});

    // A restore holding it: a writer waits, then fails; once it is given up, the writer gets it.
    first->reset();
    second->reset();
    auto restore = DataLock::acquire(dir.path(), LockMode::Exclusive, 0, {});
    ASSERT_TRUE(restore.isOk());
    EXPECT_EQ(DataLock::acquire(dir.path(), LockMode::Shared, 100, {}).status().category(), Category::Busy);
    restore->reset();
    EXPECT_TRUE(DataLock::acquire(dir.path(), LockMode::Shared, 0, {}).isOk());
}

TEST(DataLock, AJobBecomesTheOnlyOneWhenTheOthersHaveLeft) {
    QTemporaryDir dir;
    auto job = DataLock::acquire(dir.path(), LockMode::Shared, 0, {});
    auto other = DataLock::acquire(dir.path(), LockMode::Shared, 0, {});
    ASSERT_TRUE(job.isOk() && other.isOk());
    EXPECT_EQ((*job)->makeExclusive(100, {}).category(), Category::Busy);
    EXPECT_EQ((*job)->mode(), LockMode::Shared);
    other->reset();
    EXPECT_TRUE((*job)->makeExclusive(0, {}).isOk());
    EXPECT_EQ(DataLock::acquire(dir.path(), LockMode::Shared, 0, {}).status().category(), Category::Busy);
}
