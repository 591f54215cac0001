// Backup and restore when the disk is full: on a small file system of its own where
// the machine lets the test mount one, and under a file-size limit on the job
// (RLIMIT_FSIZE), which needs no rights. Either way the job fails with its message
// and the cause, the older copies and the live tables stay whole and as they were,
// and once there is room again the next start and backup succeed.

#include "crash/crash_support.h"

#include <QDate>
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

// A file system of 16 MB of its own, mounted for the life of the object.
class SmallFileSystem {
public:
    SmallFileSystem() {
        QProcess mount;
        mount.start("mount", {"-t", "tmpfs", "-o", "size=16m", "tmpfs", m_dir.path()});
        m_mounted = m_dir.isValid() && mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
        m_why = mount.readAllStandardError().trimmed().toStdString();
    }
    ~SmallFileSystem() {
        if (m_mounted) QProcess::execute("umount", {m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    const std::string& why() const { return m_why; }
    QString path() const { return m_dir.path(); }
    // Fills it up with one file until `leave` bytes are left; empty() removes the file.
    void fill(qint64 leave) const {
        struct statvfs fs {};
        ASSERT_EQ(::statvfs(QFile::encodeName(path()).constData(), &fs), 0);
        const qint64 free = static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
        QFile f(filler());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray block(1 << 16, 'x');
        for (qint64 written = 0; written < free - leave; written += block.size()) f.write(block);
    }
    void empty() const { QFile::remove(filler()); }

private:
    QString filler() const { return path() + "/Füllung"; }
    QTemporaryDir m_dir;
    bool m_mounted = false;
    std::string m_why;
};

}  // namespace

TEST(DiskFull, AFileSizeLimitStopsBackupAndRestoreWithoutHarm) {
    crash::Installation inst;
    ASSERT_TRUE(inst.ok());
    backupAndRestoreOnAFullDisk(inst, limitFileSize, [] {}, [] {});
}

TEST(DiskFull, ASmallFileSystemRunningFullStopsBackupAndRestoreWithoutHarm) {
    SmallFileSystem mountPoint;
    if (!mountPoint.mounted()) GTEST_SKIP() << "Kein eigenes kleines Dateisystem möglich (mount tmpfs braucht Root-Rechte): " << mountPoint.why();
    {
        crash::Installation inst(30, 10, mountPoint.path());
        ASSERT_TRUE(inst.ok());
        // Leaves one megabyte: room for the small tables' copies, not for the prices.
        backupAndRestoreOnAFullDisk(inst, {}, [&] { mountPoint.fill(1 << 20); }, [&] { mountPoint.empty(); });
    }
}

// An import that runs out of room: told as a full disk with the directory and the
// room left, no restore offered, nothing booked; the tables stay whole.
TEST(DiskFull, AnImportOnAFullDiskSaysSoAndChangesNothing) {
    SmallFileSystem mountPoint;
    if (!mountPoint.mounted()) GTEST_SKIP() << "Kein eigenes kleines Dateisystem möglich (mount tmpfs braucht Root-Rechte): " << mountPoint.why();
    {
        crash::Installation inst(30, 10, mountPoint.path());
        ASSERT_TRUE(inst.ok());
        ASSERT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"start"}), -1).exitCode, 0);
        const qint64 before = rows(inst.data() + "Aktien.db", "Aktien");
        // 30 securities on 2,000 new days: far more than the room left.
        const qtest::CliRun names = qtest::runSqlite3(inst.data() + "Firma.db", "SELECT ZDF FROM Firma WHERE Firma > 0;");
        QByteArray text;
        for (int d = 0; d < 2000; ++d) {
            text += QDate(2090, 1, 1).addDays(d).toString("dd.MM.yyyy").toLatin1() + "\r\n";
            for (const QString& name : names.out.split('\n', Qt::SkipEmptyParts)) text += name.toLatin1() + "\t12,50\t\t100\r\n";
        }
        const QString file = QDir::tempPath() + "/quintara-voll.txt";
        qtest::writeFile(file, text);
        mountPoint.fill(64 << 10);
        const crash::Run run = crash::runAndKill(crash::cliProgram(), inst.cli({"--yes", "--today", "31.12.2099", "import-text", file}), -1);
        QFile::remove(file);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("Der Datenträger ist voll: im Verzeichnis " + inst.data() + " sind noch ")) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("wiederhergestellt")) << run.err.toStdString();
        EXPECT_FALSE(run.out.contains("Wiederhergestellt")) << run.out.toStdString();
        mountPoint.empty();
        EXPECT_EQ(rows(inst.data() + "Aktien.db", "Aktien"), before);
        EXPECT_EQ(crash::damagedFiles(inst.home()), QStringList());
    }
}
