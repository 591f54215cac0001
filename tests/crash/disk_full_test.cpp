// Backup and restore when the disk is full: on a small file system of its own where
// the machine lets the test mount one, and under a file-size limit on the job
// (RLIMIT_FSIZE), which needs no rights. Either way the job fails with its message
// and the cause, the older copies and the live tables stay whole and as they were,
// and once there is room again the next start and backup succeed.

#include "crash/crash_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

namespace {

using crash::rows;

// Limits every file the child writes to one megabyte: the price copy (2.4 MB) and
// a restore's journal run into the limit as into a full disk.
void limitFileSize(QProcess& p) {
    p.setChildProcessModifier([] {
        ::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of killing the job
        struct rlimit limit {1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
}

// The whole scenario on `inst`, the jobs prepared by `setup`.
void backupAndRestoreOnAFullDisk(const crash::Installation& inst, const std::function<void(QProcess&)>& setup,
                                 const std::function<void()>& fill, const std::function<void()>& makeRoom) {
    ASSERT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"backup"}), -1).exitCode, 0);
    const qint64 copied = rows(inst.data() + "Aktien.db~", "Aktien");
    ASSERT_EQ(qtest::runSqlite3(inst.data() + "Aktien.db", "DELETE FROM Aktien WHERE Firma <= 3;").exitCode, 0);
    const qint64 live = rows(inst.data() + "Aktien.db", "Aktien");
    ASSERT_LT(live, copied);
    const QByteArray olderCopy = qtest::readFile(inst.data() + "Aktien.db~");
    fill();

    const crash::Run backup = crash::runAndKill(crash::cliProgram(), inst.cli({"backup"}), -1, setup);
    EXPECT_EQ(backup.exitCode, 1);
    EXPECT_TRUE(backup.err.contains("Datenbank konnte nicht gesichert werden!\n")) << backup.err.toStdString();
    EXPECT_EQ(qtest::readFile(inst.data() + "Aktien.db~"), olderCopy);
    EXPECT_EQ(QDir(inst.data()).entryList({"*.neu"}, QDir::Files), QStringList());

    const crash::Run restore = crash::runAndKill(crash::cliProgram(), inst.cli({"--yes", "restore"}), -1, setup);
    EXPECT_EQ(restore.exitCode, 1);
    EXPECT_EQ(restore.err.count("Fehler beim Wiederherstellen der Datenbank"), 1) << restore.err.toStdString();
    EXPECT_EQ(rows(inst.data() + "Aktien.db", "Aktien"), live);
    EXPECT_EQ(crash::damagedFiles(inst.home()), QStringList());

    makeRoom();
    EXPECT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"start"}), -1).exitCode, 0);
    EXPECT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"backup"}), -1).exitCode, 0);
    EXPECT_EQ(rows(inst.data() + "Aktien.db~", "Aktien"), live);
}

}  // namespace

TEST(DiskFull, AFileSizeLimitStopsBackupAndRestoreWithoutHarm) {
    crash::Installation inst;
    ASSERT_TRUE(inst.ok());
    backupAndRestoreOnAFullDisk(inst, limitFileSize, [] {}, [] {});
}

TEST(DiskFull, ASmallFileSystemRunningFullStopsBackupAndRestoreWithoutHarm) {
    QTemporaryDir mountPoint;
    ASSERT_TRUE(mountPoint.isValid());
    QProcess mount;
    mount.start("mount", {"-t", "tmpfs", "-o", "size=16m", "tmpfs", mountPoint.path()});
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
        GTEST_SKIP() << "Kein eigenes kleines Dateisystem möglich (mount tmpfs braucht Root-Rechte): "
                     << mount.readAllStandardError().trimmed().toStdString();
    {
        crash::Installation inst(30, 10, mountPoint.path());
        ASSERT_TRUE(inst.ok());
        const QString filler = mountPoint.path() + "/Füllung";
        // Leaves one megabyte: room for the small tables' copies, not for the prices.
        const auto fill = [&] {
            struct statvfs fs {};
            ASSERT_EQ(::statvfs(QFile::encodeName(mountPoint.path()).constData(), &fs), 0);
            const qint64 free = static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
            QFile f(filler);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            const QByteArray block(1 << 16, 'x');
            for (qint64 written = 0; written < free - (1 << 20); written += block.size()) f.write(block);
        };
        backupAndRestoreOnAFullDisk(inst, {}, fill, [&] { QFile::remove(filler); });
    }
    QProcess::execute("umount", {mountPoint.path()});
}
