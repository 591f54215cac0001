#include "store/catalogue.h"
#include "store/file_system.h"
#include "store/store_fixture.h"
#include "store/table_copy.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

using namespace q;
using qtest::sqlNumber;

namespace {

class TableCopy : public StoreTest {
protected:
    QString prices(int rows) { return fillPrices(rows, 1000); }
    const Layout aktien = layoutForFile("Aktien.db");
};

// Commits a new price through a connection of its own at every step of the copy,
// as a busy intraday job would; counts the steps.
class BusyWriter final : public Progress {
public:
    explicit BusyWriter(const QString& path) { sqlite3_open(path.toUtf8().constData(), &m_db); }
    ~BusyWriter() override { sqlite3_close(m_db); }
    void step(const QString&, qint64, qint64) override {
        // A hundred commits at most, so that a copy that starts over still ends.
        if (++steps > 100) return;
        const QByteArray sql = QStringLiteral("INSERT INTO Aktien VALUES (999, %1, 1.0)").arg(50000 + steps).toUtf8();
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK) ++commits;
    }
    int steps = 0;
    int commits = 0;

private:
    sqlite3* m_db = nullptr;
};

class CancelAfterFirstStep final : public Progress {
public:
    void step(const QString&, qint64, qint64) override { ++steps; }
    bool cancelRequested() override { return steps > 0; }
    int steps = 0;
};

}  // namespace

TEST_F(TableCopy, ACopyHoldsOneMomentWhileAnotherConnectionKeepsCommitting) {
    const QString path = prices(100000);
    const qint64 pages = sqlNumber(path, "PRAGMA page_count");
    ASSERT_GT(pages, 256 * 2);  // several steps of 256 pages
    BusyWriter writer(path);
    ASSERT_TRUE(makeSafetyCopy(path, dir + "Aktien.db~", aktien, {}, &writer).isOk());
    // One step per 256 pages of the moment the copy began, and one to finish.
    EXPECT_LE(writer.steps, pages / 256 + 2);
    EXPECT_GE(writer.commits, 2);
    EXPECT_EQ(sqlNumber(dir + "Aktien.db~", "SELECT count(*) FROM Aktien"), 100000);
    EXPECT_EQ(sqlNumber(path, "SELECT count(*) FROM Aktien"), 100000 + writer.commits);
    // The copy is one file, in rollback-journal mode (header bytes 18 and 19 are 1).
    const QByteArray header = qtest::readFile(dir + "Aktien.db~").left(20);
    EXPECT_EQ(header[18], 1);
    EXPECT_FALSE(QFile::exists(dir + "Aktien.db~-wal"));
}

TEST_F(TableCopy, AStoppedOrRefusedCopyLeavesTheOlderCopyAsItWas) {
    const QString path = prices(60000);
    ASSERT_TRUE(makeSafetyCopy(path, dir + "Aktien.db~", aktien, {}).isOk());
    const QByteArray older = qtest::readFile(dir + "Aktien.db~");
    ASSERT_TRUE(sqlScript(path, "DELETE FROM Aktien WHERE Firma > 30"));

    CancelAfterFirstStep stop;
    EXPECT_EQ(makeSafetyCopy(path, dir + "Aktien.db~", aktien, {}, &stop).category(), Category::Cancelled);
    EXPECT_EQ(qtest::readFile(dir + "Aktien.db~"), older);

    // A damaged table fails its check and never becomes the copy.
    qtest::scramblePage(path, qtest::rootPage(path, "Aktien"));
    const Status damaged = makeSafetyCopy(path, dir + "Aktien.db~", aktien, {});
    EXPECT_EQ(damaged.category(), Category::Corrupt);
    EXPECT_TRUE(damaged.message().startsWith("Die Datenbank " + path + " ist beschädigt")) << damaged.message().toStdString();
    EXPECT_EQ(qtest::readFile(dir + "Aktien.db~"), older);
    EXPECT_EQ(QDir(dir).entryList({"*.neu*"}, QDir::Files), QStringList());
}

TEST_F(TableCopy, PuttingACopyBackReplacesEvenALiveFileThatIsNoDatabase) {
    const QString path = prices(2000);
    ASSERT_TRUE(makeSafetyCopy(path, dir + "Aktien.db~", aktien, {}).isOk());
    qtest::writeFile(path, "kein SQLite");
    QFile::remove(path + "-wal");
    QFile::remove(path + "-shm");
    ASSERT_TRUE(putCopyBack(dir + "Aktien.db~", path).isOk());
    EXPECT_EQ(sqlNumber(path, "SELECT count(*) FROM Aktien"), 2000);
    EXPECT_EQ(qtest::readFile(path).left(20)[18], 2);  // the live table is in WAL mode again
}

TEST_F(TableCopy, TablesOnANetworkShareUseTheRollbackJournal) {
    pretendNetworkFileSystem(dir, "nfs");
    store->closeAll();
    ASSERT_TRUE(store->ensure("Gruppen.db").isOk());
    ASSERT_TRUE(store->table("Gruppen.db").isOk());
    pretendNetworkFileSystem({}, {});
    EXPECT_EQ(sqlNumber(dir + "Gruppen.db", "SELECT count(*) FROM Gruppen"), 10);
    EXPECT_FALSE(QFile::exists(dir + "Gruppen.db-wal"));
    EXPECT_EQ(qtest::readFile(dir + "Gruppen.db").left(20)[18], 1);
    EXPECT_EQ(journalModeFor(dir + "Gruppen.db"), "WAL");
}
